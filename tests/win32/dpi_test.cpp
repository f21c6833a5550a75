// The windows at the screen's density: the list at its first-run size,
// the find bar and the tray icon. The test runs at the test run's 96 DPI,
// and once more in a child run at 144 DPI (150 %), set where Wine reads
// it when a program starts.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/tray.h"
#include "base/dpi.h"
#include "base/win_text.h"
#include "base/window_place.h"
#include "common/last_error.h"
#include "listwin/find.h"
#include "settings/settings.h"
#include "win32/list_support.h"

namespace {

class DpiLayout : public ListTest {
 protected:
  void TearDown() override {
    CloseFindBar();
    g_set = saved_;
    ListTest::TearDown();
  }

  // The whole rows the list shows at its first-run place and size.
  int WholeRows(const char* file, int line) {
    LoadRows(file, line, 40);
    g_set.size = kNo;
    const WindowPlace place = PlaceToShow(KeptWindow::kList);
    PlaceWindow(TheListWindow().hwnd, place.x, place.y, place.w, place.h, place.dpi, false);
    return static_cast<int>(SendMessageW(TheListWindow().view, LVM_GETCOUNTPERPAGE, 0, 0));
  }

  Settings saved_ = g_set;
};

}  // namespace

TEST_F(DpiLayout, TheListTheFindBarAndTheTrayIconFitTheDensity) {
  const int dpi = WindowDpi(TheListWindow().hwnd);
  const char* expected = std::getenv("KW_EXPECT_DPI");
  ASSERT_EQ(expected ? std::atoi(expected) : 96, dpi);
  const int rows = WholeRows(__FILE__, __LINE__);
  const char* at96 = std::getenv("KW_ROWS_AT_96");
  EXPECT_GE(rows, at96 ? std::atoi(at96) : 1);

  OpenFindBar(true);
  HWND edit = FindWindowExW(TheListWindow().hwnd, nullptr, L"Edit", nullptr);
  ASSERT_NE(nullptr, edit);
  RECT text, bar, client;
  GetClientRect(edit, &text);
  EXPECT_GE(text.bottom, FontHeight(edit)) << "the edit box cuts its own text";
  GetWindowRect(edit, &bar);
  MapWindowPoints(nullptr, TheListWindow().hwnd, reinterpret_cast<POINT*>(&bar), 2);
  GetClientRect(TheListWindow().hwnd, &client);
  EXPECT_LE(bar.bottom, client.bottom) << "the bar goes below the window";

  TrayAdd();
  EXPECT_EQ(dpi == 144 ? 24 : SmallIconPixels(dpi), TrayIconPixels());
  TrayDelete();
}

TEST_F(DpiLayout, AtOneHundredFiftyPercentTheListShowsNoFewerRows) {
  ASSERT_EQ(96, WindowDpi(TheListWindow().hwnd)) << "the test run's screen, with no LogPixels set";
  const std::string rows = std::to_string(WholeRows(__FILE__, __LINE__));
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) +
                         L"\" --gtest_filter=DpiLayout.TheListTheFindBarAndTheTrayIconFitTheDensity";
  HKEY desktop = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &desktop, nullptr);
  const DWORD dpi = 144;
  RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                 sizeof dpi);
  SetEnvironmentVariableW(L"KW_EXPECT_DPI", L"144");
  SetEnvironmentVariableA("KW_ROWS_AT_96", rows.c_str());
  STARTUPINFOW start = {};
  start.cb = sizeof start;
  PROCESS_INFORMATION child = {};
  const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &start, &child);
  const DWORD startError = GetLastError();
  DWORD code = 1;
  if (started) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 60000));
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  SetEnvironmentVariableW(L"KW_EXPECT_DPI", nullptr);
  SetEnvironmentVariableW(L"KW_ROWS_AT_96", nullptr);
  RegDeleteValueW(desktop, L"LogPixels");
  RegCloseKey(desktop);
  ASSERT_TRUE(started) << ErrorText(startError) << " starting " << Narrow(command);
  EXPECT_EQ(0u, code) << "the run at 144 DPI failed";
}
