// The windows at the screen's density: the list at its first-run size,
// the find bar and the tray icon. The test runs as the test run finds the
// screen (96 DPI), and once more in a child run at 144 DPI (150 %), set
// where Wine reads it when a program starts.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/tray.h"
#include "base/dpi.h"
#include "base/window_place.h"
#include "listwin/find.h"
#include "resource.h"
#include "settings/settings.h"
#include "win32/list_support.h"

namespace {

constexpr char kLayoutTest[] = "DpiLayout.TheListTheFindBarAndTheTrayIconFitTheDensity";

class DpiLayout : public ListTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ListTest::SetUp());
    saved_ = g_set;
    g_set.size = kNo;
  }
  void TearDown() override {
    CloseFindBar();
    g_set = saved_;
    ListTest::TearDown();
  }

  // The whole rows the list shows at its first-run place and size.
  int WholeRows() {
    const WindowPlace place = PlaceToShow(KeptWindow::kList);
    PlaceWindow(g_hListWnd, place.x, place.y, place.w, place.h, place.dpi, false);
    return static_cast<int>(SendMessageW(g_hListView, LVM_GETCOUNTPERPAGE, 0, 0));
  }

  Settings saved_;
};

// The density a program started now gets, set for the lifetime of the
// object and put back as it was.
class SystemDpiSetting {
 public:
  explicit SystemDpiSetting(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof old_;
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                            reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
  }
  ~SystemDpiSetting() {
    if (had_)
      RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                     sizeof old_);
    else
      RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }
  SystemDpiSetting(const SystemDpiSetting&) = delete;
  SystemDpiSetting& operator=(const SystemDpiSetting&) = delete;

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool had_ = false;
};

}  // namespace

TEST_F(DpiLayout, TheListTheFindBarAndTheTrayIconFitTheDensity) {
  const int dpi = WindowDpi(g_hListWnd);
  if (const char* expected = std::getenv("KW_EXPECT_DPI")) {
    ASSERT_EQ(std::atoi(expected), dpi);
  }
  LOAD_ROWS(40);
  const int rows = WholeRows();
  if (const char* at96 = std::getenv("KW_ROWS_AT_96")) {
    EXPECT_GE(rows, std::atoi(at96));
  }

  OpenFindBar(true);
  HWND edit = FindWindowExW(g_hListWnd, nullptr, L"Edit", nullptr);
  ASSERT_NE(nullptr, edit);
  RECT text, bar, client;
  GetClientRect(edit, &text);
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  EXPECT_GE(text.bottom, metrics.tmHeight) << "the edit box cuts its own text";
  GetWindowRect(edit, &bar);
  MapWindowPoints(nullptr, g_hListWnd, reinterpret_cast<POINT*>(&bar), 2);
  GetClientRect(g_hListWnd, &client);
  EXPECT_LE(bar.bottom, client.bottom) << "the bar goes below the window";

  TrayAdd();
  EXPECT_EQ(SmallIconPixels(dpi), TrayIconPixels());
  if (dpi == 144) {
    EXPECT_EQ(24, TrayIconPixels());
  }
  TrayDelete();
}

TEST_F(DpiLayout, AtOneHundredFiftyPercentTheListShowsNoFewerRows) {
  ASSERT_EQ(96, WindowDpi(g_hListWnd)) << "the test run's screen";
  LOAD_ROWS(40);
  const std::string rows = std::to_string(WholeRows());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=";
  command += std::wstring(kLayoutTest, kLayoutTest + sizeof kLayoutTest - 1);
  DWORD code = 1;
  {
    SystemDpiSetting at144(144);
    SetEnvironmentVariableW(L"KW_EXPECT_DPI", L"144");
    SetEnvironmentVariableA("KW_ROWS_AT_96", rows.c_str());
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &start, &child);
    SetEnvironmentVariableW(L"KW_EXPECT_DPI", nullptr);
    SetEnvironmentVariableW(L"KW_ROWS_AT_96", nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 60000));
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  EXPECT_EQ(0u, code) << "the run at 144 DPI failed";
}

// Each icon holds its own picture for every small-icon size up to 300 %.
TEST(TrayIcons, HoldAPictureForEachSmallIconSize) {
  for (int id : {IDI_KOPIWELL, IDI_PAUSED}) {
    HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(nullptr, group);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
    for (int size : {16, 20, 24, 32, 48}) {
      const int icon = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
      HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(icon), MAKEINTRESOURCEW(3));  // RT_ICON
      ASSERT_NE(nullptr, image) << id << " " << size;
      const auto* header =
          static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, image)));
      EXPECT_EQ(size, header->biWidth) << "icon " << id << " has no " << size << "-pixel picture";
    }
  }
}
