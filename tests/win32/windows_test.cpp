// The two modeless windows are built from the program's templates: hidden,
// with the controls the rest of the program and other programs rely on.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <string>

#include "common/text.h"
#include "listwin/list_switch.h"
#include "listwin/listwin.h"
#include "output/viewer.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/history.h"

namespace {

std::wstring Caption(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

}  // namespace

TEST(ListWindow, IsAHiddenToolWindowWithAOneColumnReportList) {
  const int savedKey = g_set.key;
  g_set.key = kKeyVilike19;
  HWND window = CreateListWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(window, TheListWindow().hwnd);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(WS_EX_TOOLWINDOW, GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(Widen("コピウェル :  j=↓  k=↑  vv=貼付け  yy=コピーのみ  dd=削除  ESC=中止"),
            Caption(window));

  HWND list = GetDlgItem(window, IDC_LISTVIEW);
  ASSERT_EQ(list, TheListWindow().view);
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
  EXPECT_EQ(LVS_SHOWSELALWAYS, style & LVS_SHOWSELALWAYS);
  EXPECT_EQ(LVS_NOCOLUMNHEADER, style & LVS_NOCOLUMNHEADER);
  EXPECT_FALSE(style & LVS_SINGLESEL) << "several rows must be selectable";
  EXPECT_EQ(468, SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  ShowWindow(window, SW_SHOWNOACTIVATE);
  EXPECT_EQ(nullptr, ImmGetContext(list)) << "the list takes commands, not text";
  ShowWindow(window, SW_HIDE);
  HWND other = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr,
                               nullptr);
  HIMC text = ImmGetContext(other);
  EXPECT_NE(nullptr, text) << "text fields keep their input method";
  ImmReleaseContext(other, text);
  DestroyWindow(other);

  SetListTitle(window, kKeyNormal);
  EXPECT_EQ(Widen("コピウェル :  ↓ ↑  RET=貼付け  CTRL+c=コピーのみ  DEL=削除  ESC=中止"),
            Caption(window));
  SetListTitle(window, kKeyVilike);
  EXPECT_EQ(Widen("コピウェル :  j=↓  k=↑  p=貼付け  y=コピーのみ  d=削除  ESC=中止"),
            Caption(window));
  SetListTitle(window, 7);
  EXPECT_EQ(Widen("コピウェル :  j=↓  k=↑  p=貼付け  y=コピーのみ  d=削除  ESC=中止"),
            Caption(window))
      << "an unknown key mode leaves the caption";

  DestroyWindow(window);
  EXPECT_EQ(nullptr, TheListWindow().hwnd);
  EXPECT_EQ(nullptr, TheListWindow().view);
  g_set.key = savedKey;
}

TEST(Viewer, IsAHiddenDialogWithItsButtonsAndAMultiLineEdit) {
  HWND viewer = CreateViewer(TheListWindow().hwnd, History());
  ASSERT_NE(nullptr, viewer);
  EXPECT_EQ(viewer, g_hViewer);
  EXPECT_FALSE(IsWindowVisible(viewer));
  EXPECT_EQ(Widen("コピウェル - 簡易編集"), Caption(viewer));
  EXPECT_EQ(Widen("確定"), Caption(GetDlgItem(viewer, IDOK)));
  EXPECT_EQ(Widen("取消"), Caption(GetDlgItem(viewer, IDCANCEL)));
  EXPECT_EQ(Widen("更新"), Caption(GetDlgItem(viewer, IDC_VIEWER_UPDATE)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(viewer, IDC_VIEWER_UPDATE)));
  HWND edit = GetDlgItem(viewer, IDC_VIEWER_EDIT);
  ASSERT_NE(nullptr, edit);
  const LONG style = GetWindowLongW(edit, GWL_STYLE);
  EXPECT_EQ(ES_MULTILINE, style & ES_MULTILINE);
  EXPECT_EQ(ES_WANTRETURN, style & ES_WANTRETURN);
  DestroyWindow(viewer);
  EXPECT_EQ(nullptr, g_hViewer);
}
