#include "listwin/list_switch.h"

#include <commctrl.h>

#include "base/dpi.h"
#include "base/win_text.h"
#include "listwin/find.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "listwin/view_sync.h"
#include "output/viewer.h"
#include "settings/settings.h"

namespace {

// The tab of each list, in the row's order.
constexpr const char* kTabTexts[] = {"履歴", "定型文"};

int TabOf(const ListRows& rows) { return &rows == &TheListWindow().phrases ? 1 : 0; }

struct KeyModeTitle {
  int key;
  const char* caption;
};
constexpr KeyModeTitle kTitles[] = {
    {kKeyVilike, "コピウェル :  j=↓  k=↑  p=貼付け  y=コピーのみ  d=削除  ESC=中止"},
    {kKeyVilike19, "コピウェル :  j=↓  k=↑  vv=貼付け  yy=コピーのみ  dd=削除  ESC=中止"},
    {kKeyNormal, "コピウェル :  ↓ ↑  RET=貼付け  CTRL+c=コピーのみ  DEL=削除  ESC=中止"},
};

}  // namespace

void SetListTitle(HWND hwnd, int key) {
  // The phrases' caption names them where the history's names the program.
  constexpr char kProgram[] = "コピウェル :";
  constexpr char kPhrases[] = "コピウェル 定型文 :";
  for (const KeyModeTitle& t : kTitles) {
    if (t.key == key) {
      std::string caption = t.caption;
      if (ShowingPhrases()) caption.replace(0, sizeof kProgram - 1, kPhrases);
      SetWindowTextUtf8(hwnd, caption.c_str());
      return;
    }
  }
}


void MakeListTabs(HWND listWnd) {
  ListWindow& list = TheListWindow();
  list.tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER, 0,
                              0, 0, 0, listWnd, nullptr, nullptr, nullptr);
  SendMessageW(list.tabs, WM_SETFONT, SendMessageW(listWnd, WM_GETFONT, 0, 0), FALSE);
  for (int i = 0; i < 2; ++i) {
    std::wstring text = Widen(kTabTexts[i]);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = &text[0];
    SendMessageW(list.tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(list.tabs, TCM_SETCURSEL, static_cast<WPARAM>(TabOf(*list.showing)), 0);
}

int ListTabsHeight() {
  HWND tabs = TheListWindow().tabs;
  if (!tabs) return 0;
  // The font may have changed with the density: the row is measured anew.
  SendMessageW(tabs, WM_SETFONT, SendMessageW(GetParent(tabs), WM_GETFONT, 0, 0), FALSE);
  RECT item = {};
  if (!SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return item.bottom + ForDpi(2, WindowDpi(tabs));
}

void PlaceListTabs(int left, int top, int width) {
  HWND tabs = TheListWindow().tabs;
  if (tabs) MoveWindow(tabs, left, top, width, ListTabsHeight(), TRUE);
}

void ShowRowsOf(ListRows& rows) {
  ListWindow& list = TheListWindow();
  if (list.showing == &rows || !list.view) return;
  CloseFindBar();
  ResetPendingKeys();
  {
    // The view's states are the lists' own: the tracking must not take
    // the ones dropped and set here for the user's moves.
    ScopedTrackingPause pause;
    KeepStates(list.view, *list.showing);
    list.showing = &rows;
    ShowStates(list.view, rows);
  }
  ViewerEdits(*rows.store);
  SendMessageW(list.tabs, TCM_SETCURSEL, static_cast<WPARAM>(TabOf(rows)), 0);
  SetListTitle(list.hwnd, g_set.key);
  InvalidateRect(list.view, nullptr, TRUE);
}

void ShowOtherList() {
  ListWindow& list = TheListWindow();
  ShowRowsOf(list.showing == &list.phrases ? list.history : list.phrases);
}

bool ShowingPhrases() {
  const ListWindow& list = TheListWindow();
  return list.showing == &list.phrases;
}

bool OnListTabsNotify(const NMHDR* header) {
  ListWindow& list = TheListWindow();
  if (!list.tabs || header->hwndFrom != list.tabs) return false;
  if (header->code == TCN_SELCHANGE) {
    const int tab = static_cast<int>(SendMessageW(list.tabs, TCM_GETCURSEL, 0, 0));
    ShowRowsOf(tab == 1 ? list.phrases : list.history);
    SetFocus(list.view);
  }
  return true;
}
