// The simple edit dialog in the program's own process: its layout when
// resized, and a changed text the store cannot take.
#include <windows.h>

#include "app/capture.h"
#include "listwin/entries.h"
#include "output/viewer.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/file_io.h"
#include "store/unicode_record.h"
#include "win32/dialog_answerer.h"
#include "win32/list_support.h"

namespace {

class ViewerTest : public ListTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ListTest::SetUp());
    saved_ = g_set;
    ASSERT_NE(nullptr, CreateViewer(TheListWindow().hwnd, History()));
  }
  void TearDown() override {
    if (g_hViewer) DestroyWindow(g_hViewer);
    g_set = saved_;
    ListTest::TearDown();
  }

  RECT ControlRect(int id) {
    RECT r;
    GetWindowRect(GetDlgItem(g_hViewer, id), &r);
    MapWindowPoints(nullptr, g_hViewer, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  static std::string TextOf(HWND edit) {
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
  }

  Settings saved_;
};

}  // namespace

TEST_F(ViewerTest, ResizingLaysOutTheEditBoxAndTheButtons) {
  RECT outer = {0, 0, 300, 200};
  AdjustWindowRectEx(&outer, GetWindowLongW(g_hViewer, GWL_STYLE), FALSE,
                     GetWindowLongW(g_hViewer, GWL_EXSTYLE));
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  g_viewerShown = true;
  SetWindowPos(g_hViewer, nullptr, 20, 30, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT edit = ControlRect(IDC_VIEWER_EDIT);
  EXPECT_EQ(275, edit.right - edit.left);
  EXPECT_EQ(143, edit.bottom - edit.top);
  EXPECT_EQ(60, ControlRect(IDOK).left);
  EXPECT_EQ(135, ControlRect(IDCANCEL).left);
  EXPECT_EQ(210, ControlRect(IDC_VIEWER_UPDATE).left);
  EXPECT_EQ(166, ControlRect(IDC_VIEWER_UPDATE).top);
  EXPECT_EQ(width, g_set.size_vw) << "the outer size is kept";
  EXPECT_EQ(20, g_set.size_vx);
  g_viewerShown = false;
}

// A failed write of the changed text leaves the row on its old record and
// the working file as it was, and says so; the dialog keeps the text.
TEST_F(ViewerTest, AChangeTheStoreCannotWriteLeavesTheRowAndSaysSo) {
  LOAD({"old"});
  MoveCursor(-1, 0);
  ToggleViewer('e', GetCursorRow());
  ASSERT_TRUE(g_viewerShown) << "the dialog is " << (IsWindowVisible(g_hViewer) ? "" : "not ")
                            << "on the screen";
  const std::string work = WorkBytes(store_);
  HWND edit = GetDlgItem(g_hViewer, IDC_VIEWER_EDIT);
  SetWindowTextA(edit, "new");
  SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
  store_io::FailWriteForTesting(1);
  {
    DialogAnswerer answer("コピウェル - エラー", IDOK);
    SendMessageW(g_hViewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(answer.Answered());
    ASSERT_FALSE(answer.Labels().empty());
    EXPECT_NE(std::string::npos, answer.Labels().back().find("書き込めなかった"));
  }
  store_io::FailWriteForTesting(0);
  EXPECT_EQ(Hex(work), Hex(WorkBytes(store_)));
  EXPECT_EQ(4, RowOffset(list_, 0));
  EXPECT_EQ("old", RowLabel(list_, 0));
  EXPECT_TRUE(g_viewerShown) << "the dialog stays with the text";
  EXPECT_EQ("new", TextOf(edit));
}

// A capture above the entry shown moves it down a row; typing not yet
// stored stays and is stored into that entry.
TEST_F(ViewerTest, ACaptureAboveKeepsTheTypingAndItsEntry) {
  g_set.data = kDataNew;
  LOAD({"a", "b"});
  MoveCursor(-1, 0);
  ToggleViewer('E', GetCursorRow());
  HWND edit = GetDlgItem(g_hViewer, IDC_VIEWER_EDIT);
  SetWindowTextA(edit, "zzza");
  SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
  ASSERT_TRUE(AddClip("copied"));
  EXPECT_EQ(1, GetCursorRow());
  EXPECT_EQ("zzza", TextOf(edit));
  SendMessageW(g_hViewer, WM_COMMAND, IDOK, 0);
  EXPECT_EQ("copied", RowLabel(list_, 0));
  EXPECT_EQ("zzza", RowLabel(list_, 1));
  EXPECT_EQ("b", RowLabel(list_, 2));
}

// An entry kept in Unicode is shown and edited in Unicode; a stored text
// keeps a Unicode copy only when the code page cannot hold it.
TEST_F(ViewerTest, AUnicodeEntryIsEditedWholeAndStoredAsTheCodePageAllows) {
  LOAD({unicode_record::Encode("caf?", "caf\xc3\xa9"), "plain"});
  MoveCursor(-1, 0);
  ToggleViewer('e', GetCursorRow());
  HWND edit = GetDlgItem(g_hViewer, IDC_VIEWER_EDIT);
  wchar_t shown[64] = {};
  GetWindowTextW(edit, shown, 64);
  EXPECT_EQ(std::wstring(L"caf\u00e9"), shown);
  auto storeAndRead = [&](const wchar_t* text) {
    SetWindowTextW(edit, text);
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    SendMessageW(g_hViewer, WM_COMMAND, IDC_VIEWER_UPDATE, 0);
    std::int32_t length = 0, offset = 0;
    tdb_gethead(store_, 0, &length, &offset);
    std::string record(static_cast<size_t>(length) + 1, '\0');
    tdb_read(store_, &record[0], length);
    record.resize(static_cast<size_t>(length));
    return record;
  };
  const std::string kept = storeAndRead(L"na\u00efve \u2713");
  EXPECT_EQ(std::string("\0UTF8na\xc3\xafve \xe2\x9c\x93", 15),
            kept.substr(kept.find('\0'))) << Hex(kept);
  EXPECT_EQ("\x93\xfa\x96\x7b", storeAndRead(L"\u65e5\u672c")) << "held by the code page: plain";
}
