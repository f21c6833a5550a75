// The list's context menu: for a row, its commands (paste, copy, delete,
// put, view, edit, quoted paste and copy); below the rows, select all.
// Every item runs a fixed command sequence of the 1.9 table, whatever the
// key mode, and never beeps.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "base/program.h"
#include "base/scoped_win.h"
#include "base/skip_next.h"
#include "base/win_text.h"
#include "listwin/command_table.h"
#include "listwin/commands.h"
#include "listwin/context_menu.h"
#include "listwin/list_state.h"
#include "listwin/list_switch.h"
#include "output/viewer.h"

namespace {

struct MenuItem {
  int id;               // 0: separator; -1: a submenu of the items after it
  const char* text;
  const char* sequence;
  int submenuItems;     // for a submenu: how many items follow in it
  bool viewerItem;      // left out while the edit dialog is shown
};

constexpr MenuItem kRowMenu[] = {
    {kMenuPaste, "貼付", "vv", 0, false},
    {kMenuCopy, "コピー", "yy", 0, false},
    {kMenuDelete, "削除", "dd", 0, false},
    {-1, "一覧に貼付", nullptr, 2, false},
    {kMenuPutAbove, "この上へ", "P", 0, false},
    {kMenuPutBelow, "この下へ", "p", 0, false},
    {kMenuAddPhrase, "定型文に登録", "aa", 0, false},
    {kMenuView, "表示", "e", 0, true},
    {kMenuEdit, "編集", "E", 0, true},
    {0, nullptr, nullptr, 0, false},
    {-1, "引用", nullptr, 2, false},
    {kMenuQuotedPaste, "貼付", "VV", 0, false},
    {kMenuQuotedCopy, "コピー", "YY", 0, false},
};
constexpr MenuItem kSelectAllMenu[] = {
    {kMenuSelectAll, "全て選択", "sa", 0, false},
};
constexpr char kSkipNextText[] = "次のコピーを記録しない";
// In the phrase list only: a new empty phrase, below the cursor row.
constexpr MenuItem kNewPhrase = {kMenuNewPhrase, "新しい定型文", "o", 0, false};

template <size_t N>
HMENU Build(const MenuItem (&items)[N], bool viewerShown) {
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < N; ++i) {
    const MenuItem& item = items[i];
    if (item.viewerItem && viewerShown) continue;
    if (item.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (item.id < 0) {
      HMENU sub = CreatePopupMenu();
      for (int j = 1; j <= item.submenuItems; ++j)
        AppendMenuW(sub, MF_STRING, static_cast<UINT_PTR>(items[i + j].id),
                    Widen(items[i + j].text).c_str());
      AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Widen(item.text).c_str());
      i += static_cast<size_t>(item.submenuItems);
    } else {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), Widen(item.text).c_str());
    }
  }
  return menu;
}

template <size_t N>
const char* SequenceOf(const MenuItem (&items)[N], int id) {
  for (const MenuItem& item : items)
    if (item.id == id) return item.sequence;
  return nullptr;
}

}  // namespace

// Below either, for a user who opens the list before copying a secret.
HMENU BuildListMenu(bool onRow, bool viewerShown) {
  HMENU menu = onRow ? Build(kRowMenu, viewerShown) : Build(kSelectAllMenu, viewerShown);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  if (ShowingPhrases())
    AppendMenuW(menu, MF_STRING, kMenuNewPhrase, Widen(kNewPhrase.text).c_str());
  AppendMenuW(menu, MF_STRING | (SkipNextArmed(GetTickCount64()) ? MF_CHECKED : 0),
              kMenuSkipNextCopy, Widen(kSkipNextText).c_str());
  return menu;
}

void ShowListMenu(HWND listWnd, LPARAM messagePoint) {
  int row = -1;
  const POINT at = ListMenuAnchor(TheListWindow().view, messagePoint, &row);
  const ScopedMenu menu(BuildListMenu(row >= 0, g_viewerShown));
  TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, listWnd, nullptr);
}

bool OnListMenuCommand(int id) {
  if (id == kMenuSkipNextCopy) {
    PostMessageW(MainWindow(), WM_COMMAND, kMenuSkipNextCopy, 0);
    return true;
  }
  const char* sequence = SequenceOf(kRowMenu, id);
  if (!sequence) sequence = SequenceOf(kSelectAllMenu, id);
  if (!sequence && id == kMenuNewPhrase) sequence = kNewPhrase.sequence;
  if (!sequence) return false;
  DoKeySeq(kVersion19, sequence);  // a refusal says nothing here
  return true;
}

POINT ListMenuAnchor(HWND list, LPARAM messagePoint, int* row) {
  POINT at = {GET_X_LPARAM(messagePoint), GET_Y_LPARAM(messagePoint)};
  if (at.x != -1 || at.y != -1) {
    LVHITTESTINFO hit = {};
    hit.pt = at;
    ScreenToClient(list, &hit.pt);
    *row = static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return at;
  }
  // From the keyboard: the point in the message is no place at all.
  *row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       LVNI_FOCUSED));
  at = {0, 0};
  if (*row >= 0) {
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(*row), FALSE);
    RECT r = {};
    r.left = LVIR_LABEL;
    if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(*row), reinterpret_cast<LPARAM>(&r)))
      at = {r.left, r.bottom};
  }
  ClientToScreen(list, &at);
  return at;
}
