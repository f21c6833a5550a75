#include "listwin/listwin.h"

#include <windows.h>
#include <commctrl.h>

#include "app/mainwnd.h"
#include "base/win_text.h"
#include "resource.h"
#include "settings/settings.h"

HWND g_hListWnd = nullptr;
HWND g_hListView = nullptr;
bool g_listShown = false;
int g_lastCursorRow = -1;
int g_multiSel = 0;

namespace {

constexpr int kColumnWidth = 468;

struct KeyModeTitle {
  int key;
  const char* caption;
};
constexpr KeyModeTitle kTitles[] = {
    {kKeyVilike, "コピウェル :  j=↓  k=↑  p=貼付け  y=コピーのみ  d=削除  ESC=中止"},
    {kKeyVilike19, "コピウェル :  j=↓  k=↑  vv=貼付け  yy=コピーのみ  dd=削除  ESC=中止"},
    {kKeyNormal, "コピウェル :  ↓ ↑  RET=貼付け  CTRL+c=コピーのみ  DEL=削除  ESC=中止"},
};

BOOL ListOnInitDialog(HWND hwnd) {
  g_hListWnd = hwnd;
  g_hListView = GetDlgItem(hwnd, IDC_LISTVIEW);
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH;
  column.fmt = LVCFMT_LEFT;
  column.cx = kColumnWidth;
  SendMessageW(g_hListView, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  SetListTitle(hwnd, g_set.key);
  return TRUE;
}

void ListOnDestroy() {
  g_hListWnd = nullptr;
  g_hListView = nullptr;
  g_listShown = false;
}

// Emptying the list (clearing, restoring, reversing the history) would
// otherwise be told to the window once per row, which costs seconds for
// a large history; the rows carry nothing that needs freeing.
BOOL ListOnNotify(HWND hwnd, const NMHDR* header) {
  if (header->code != LVN_DELETEALLITEMS) return FALSE;
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

INT_PTR CALLBACK ListDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return ListOnInitDialog(hwnd);
    case WM_NOTIFY:
      return ListOnNotify(hwnd, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DESTROY:
      ListOnDestroy();
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateListWindow() {
  return CreateDialogParamW(g_hInst, MAKEINTRESOURCEW(IDD_LIST), nullptr, ListDlgProc, 0);
}

void SetListTitle(HWND hwnd, int key) {
  for (const KeyModeTitle& t : kTitles) {
    if (t.key == key) {
      SetWindowTextUtf8(hwnd, t.caption);
      return;
    }
  }
}
