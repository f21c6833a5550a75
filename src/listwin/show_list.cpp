#include "listwin/show_list.h"

#include <windows.h>

#include "base/report.h"
#include "base/window_place.h"
#include "listwin/find.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "output/messages.h"
#include "output/paste.h"
#include "output/viewer.h"
#include "settings/settings.h"

HWND g_targetFocus = nullptr;
int g_outputAction = kOutputNone;
bool g_clipReady = false;
HeldModifiers g_held;

namespace {

// The text caret of the window the user was typing in, on the screen;
// false where that window's thread shows none.
bool CaretOnScreen(ScreenRect* caret) {
  HWND owner = g_targetFocus ? g_targetFocus : GetForegroundWindow();
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!owner || !GetGUIThreadInfo(GetWindowThreadProcessId(owner, nullptr), &info) ||
      !info.hwndCaret)
    return false;
  RECT r = info.rcCaret;
  if (r.bottom <= r.top) return false;
  MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&r), 2);
  *caret = {r.left, r.top, r.right, r.bottom};
  return true;
}

// Shows the list at its kept place (or, when places are not kept, where
// a first run puts it), or below the caret or at the mouse as the
// settings say, with the kept size.
void PlaceList() {
  const WindowPlace place = PlaceToShow(KeptWindow::kList);
  const bool topmost = g_set.actv_hide == kHide || g_set.topmost == kYes;
  ScreenRect anchor = {};
  if (g_set.place == kPlaceLast) {
    PlaceWindow(g_hListWnd, place.x, place.y, place.w, place.h, place.dpi, topmost);
  } else {
    if (g_set.place != kPlaceCaret || !CaretOnScreen(&anchor)) {
      POINT mouse = {};
      GetCursorPos(&mouse);
      anchor = {mouse.x, mouse.y, mouse.x, mouse.y};
    }
    PlaceWindowAt(g_hListWnd, anchor, place.w, place.h, place.dpi, topmost);
  }
  ShowWindow(g_hListWnd, SW_SHOWNORMAL);
}

void SetInitialCursor() {
  if (g_set.cursor == kCursorTop) {
    ClearSelect();
    MoveCursor(0, 0);
  } else if (GetCursorRow() < 0 && GetRowCount() > 0) {
    MoveCursor(0, 0);
  }
}

void BringListForward() {
  if (g_viewerShown && g_hViewer) SetForegroundWindow(g_hViewer);
  SetForegroundWindow(g_hListWnd);
}

}  // namespace

void ShowList() {
  if (!g_hListWnd) return;
  if (!g_listShown) {
    g_held = HeldModifiers();
    g_targetFocus = ForegroundFocus();
    g_clipReady = false;
    ResetPendingKeys();
    CloseFindBar();
    MeasurePage();
    g_listShown = true;
    PlaceList();
    SetInitialCursor();
  }
  BringListForward();
}

void ShowPhraseList() {
  // Shows the list on the phrases once the list window can switch.
  ShowList();
}

void HideAndPaste(HWND listWnd, int mode) {
  // Hiding the list deactivates the program, which forgets the target
  // (and with actv_hide 1 dismisses the list from within this call): the
  // paste uses this copy.
  HWND target = g_targetFocus;
  if (g_viewerShown && g_hViewer) ShowWindow(g_hViewer, SW_HIDE);
  ShowWindow(listWnd, SW_HIDE);
  if (mode == kPasteMode) g_clipReady = false;
  ReleaseHeldModifiers(g_held);

  PasteOutcome outcome = PasteOutcome::kTyped;
  const bool returns = g_set.actv_hide != kHide && mode != kHideOnly;
  if (mode == kPasteMode && g_outputAction == kOutputPaste) {
    outcome = PasteInto(target, returns);
    if (target) g_targetFocus = target;
  }

  if (!returns) {
    if (g_lastCursorRow == -1) g_lastCursorRow = 0;
    RememberWorkWindow(nullptr);
    g_listShown = false;
    HideViewer();
  } else {
    if (g_viewerShown && g_hViewer) ShowWindow(g_hViewer, SW_RESTORE);
    ShowWindow(listWnd, SW_RESTORE);
    BringListForward();
  }
  // Said after the list has its final state, which the box keeps. The
  // text is on the clipboard either way, for the user's own Ctrl+V.
  if (outcome == PasteOutcome::kTargetGone) Tell(kMsgNotPasted);
  if (outcome == PasteOutcome::kTargetElevated) Tell(kMsgNotPastedElevated);
}

void PutListAway() {
  HideViewer();
  if (g_hListWnd && g_listShown) ShowWindow(g_hListWnd, SW_HIDE);
  g_listShown = false;
}
