// Keys, characters and double-clicks in the history list. The list view's
// own window procedure is replaced by ListKeyProc, which takes what the
// list's commands need and passes everything else on.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "base/report.h"
#include "listwin/command_table.h"
#include "listwin/commands.h"
#include "listwin/find.h"
#include "listwin/list_keys.h"
#include "listwin/list_state.h"
#include "listwin/list_switch.h"
#include "listwin/phrase_add.h"
#include "listwin/show_list.h"
#include "settings/settings.h"

namespace {

// The list view's own procedure, which gets everything this one passes on.
WNDPROC g_listViewProc = nullptr;

constexpr char kCtrlC = 3;

// Shift, Ctrl and Alt: remembered, so that the output can be quoted
// while Shift is held and the keys can be let go before the paste.
bool* HeldFlag(WPARAM key) {
  HeldModifiers& held = TheListWindow().held;
  switch (key) {
    case VK_SHIFT:
      return &held.shift;
    case VK_CONTROL:
      return &held.ctrl;
    case VK_MENU:
      return &held.alt;
  }
  return nullptr;
}

// Key-ups given while another window had the focus (a message box, say)
// never reach the list, so the flags are taken afresh from the keyboard
// state whenever the list gets the focus back; otherwise a Shift released
// over a message box would quote every later output.
void RefreshHeldModifiers() {
  HeldModifiers& held = TheListWindow().held;
  held.shift = GetKeyState(VK_SHIFT) < 0;
  held.ctrl = GetKeyState(VK_CONTROL) < 0;
  held.alt = GetKeyState(VK_MENU) < 0;
}

void Run(const char* version, const char* sequence) {
  if (DoKeySeq(version, sequence) != 1) MessageBeep(0);
}

// Delete deletes like dd in every key mode; a waiting sequence is dropped.
void OnDelete() {
  ResetPendingKeys();
  Run(kVersion19, "dd");
}

// Ctrl+C copies the cursor row (or the selection), quoted with Shift,
// and closes the list, whether the copy was refused or not.
void OnCtrlC() {
  ResetPendingKeys();
  Run(kVersion19, TheListWindow().held.shift ? "YY" : "yy");
  DismissList();
}

// A character of a vi-like mode (a UTF-16 unit): collected until it
// makes a command.
void OnCommandChar(unsigned unit) {
  PendingKeys& pending = TheListWindow().pending;
  switch (pending.Add(unit, g_keyVersion)) {
    case PendingKeys::kWaiting:
      return;
    case PendingKeys::kRejected:
      MessageBeep(0);
      return;
    case PendingKeys::kComplete: {
      // The command may show a message box; the keys typed meanwhile
      // must not join this sequence.
      char sequence[PendingKeys::kCapacity + 1];
      lstrcpynA(sequence, pending.Text(), sizeof sequence);
      pending.Clear();
      Run(g_keyVersion, sequence);
      return;
    }
  }
}

// The standard mode's find keys: Ctrl+F opens the find bar, F3 and
// Shift+F3 find the next and the previous match.
bool OnStandardFindKey(WPARAM key) {
  const HeldModifiers& held = TheListWindow().held;
  if (key == 'F' && held.ctrl && !held.alt) {
    OpenFindBar(true);
    return true;
  }
  if (key != VK_F3) return false;
  if (!FindAgain(held.shift, 0)) MessageBeep(0);
  return true;
}

// A double-click on a row pastes it, as Enter would.
void OnDoubleClick(HWND list, LPARAM lParam) {
  LVHITTESTINFO hit = {};
  hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) return;
  ConfirmPaste();
}

LRESULT KeyWork(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (bool* held = HeldFlag(wParam)) {
        *held = message == WM_KEYDOWN;
        return 1;
      }
      if (message == WM_KEYDOWN && wParam == VK_DELETE) {
        OnDelete();
        return 1;
      }
      // Ctrl+Tab and Ctrl+Shift+Tab: the other of the two lists.
      if (message == WM_KEYDOWN && wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        ShowOtherList();
        return 1;
      }
      if (message == WM_KEYDOWN && g_set.key == kKeyNormal && OnStandardFindKey(wParam)) return 1;
      if (message == WM_KEYDOWN && g_set.key == kKeyNormal && wParam == VK_INSERT) {
        TheListWindow().pending.Clear();
        Run(kVersion19, "aa");
        return 1;
      }
      break;
    // Alt arrives as a system key; the system still gets it.
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      if (wParam == VK_MENU) TheListWindow().held.alt = message == WM_SYSKEYDOWN;
      // Alt+Up and Alt+Down move the chosen rows in every key mode.
      if (message == WM_SYSKEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        TheListWindow().pending.Clear();
        if (!MoveChosenRows(wParam == VK_UP ? -1 : 1)) MessageBeep(0);
        return 1;
      }
      break;
    // The dialog would take Tab for moving the focus; with Ctrl it is the
    // list's.
    case WM_GETDLGCODE:
      if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lParam)->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0)
        return DLGC_WANTMESSAGE | CallWindowProcW(g_listViewProc, hwnd, message, wParam, lParam);
      break;
    case WM_CHAR:
      if (wParam == '\t') return 1;  // Ctrl+Tab, taken as a key already
      if (wParam == kCtrlC) {
        OnCtrlC();
        return 1;
      }
      // The standard mode leaves characters to the list view's own
      // search over the row labels.
      if (g_set.key == kKeyNormal) {
        if (wParam == 0x06) return 1;  // Ctrl+F, taken as a key already
        break;
      }
      OnCommandChar(static_cast<unsigned>(wParam));
      return 1;
    case WM_SETFOCUS:
      RefreshHeldModifiers();
      break;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(hwnd, lParam);
      break;
  }
  return CallWindowProcW(g_listViewProc, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ListKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardMemory([&] { return KeyWork(hwnd, message, wParam, lParam); }, 1);
}

}  // namespace

void SubclassListView(HWND view) {
  g_listViewProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListKeyProc)));
}
