#include "listwin/show_list.h"

#include <windows.h>

#include "base/report.h"
#include "base/window_place.h"
#include "listwin/copy_chosen.h"
#include "listwin/find.h"
#include "listwin/list_state.h"
#include "listwin/list_switch.h"
#include "listwin/selection.h"
#include "output/messages.h"
#include "output/paste.h"
#include "output/viewer.h"
#include "settings/settings.h"

namespace {

// The text caret of the window the user was typing in, on the screen;
// false where that window's thread shows none.
bool CaretOnScreen(ScreenRect* caret) {
  const HWND target = TheListWindow().targetFocus;
  HWND owner = target ? target : GetForegroundWindow();
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
void PlaceList(HWND listWnd) {
  const WindowPlace place = PlaceToShow(KeptWindow::kList);
  const bool topmost = g_set.actv_hide == kHide || g_set.topmost == kYes;
  ScreenRect anchor = {};
  if (g_set.place == kPlaceLast) {
    PlaceWindow(listWnd, place.x, place.y, place.w, place.h, place.dpi, topmost);
  } else {
    if (g_set.place != kPlaceCaret || !CaretOnScreen(&anchor)) {
      POINT mouse = {};
      GetCursorPos(&mouse);
      anchor = {mouse.x, mouse.y, mouse.x, mouse.y};
    }
    PlaceWindowAt(listWnd, anchor, place.w, place.h, place.dpi, topmost);
  }
  ShowWindow(listWnd, SW_SHOWNORMAL);
}

void SetInitialCursor() {
  if (g_set.cursor == kCursorTop) {
    ClearSelect();
    MoveCursor(0, 0);
  } else if (GetCursorRow() < 0 && GetRowCount() > 0) {
    MoveCursor(0, 0);
  }
}

void BringListForward(HWND listWnd) {
  if (g_viewerShown && g_hViewer) SetForegroundWindow(g_hViewer);
  SetForegroundWindow(listWnd);
}

// Hides the list and lets go of the keys held in it; types the paste
// when asked; then shows the list again, or ends this appearance of it.
void HideThenPaste(bool paste, bool stays) {
  ListWindow& list = TheListWindow();
  // Hiding the list deactivates the program, which forgets the target
  // (and with actv_hide 1 dismisses the list from within this call): the
  // paste uses this copy.
  HWND target = list.targetFocus;
  if (g_viewerShown && g_hViewer) ShowWindow(g_hViewer, SW_HIDE);
  ShowWindow(list.hwnd, SW_HIDE);
  ReleaseHeldModifiers(list.held);

  PasteOutcome outcome = PasteOutcome::kTyped;
  if (paste) {
    outcome = PasteInto(target, stays);
    if (target) list.targetFocus = target;
  }

  if (!stays) {
    ListRows& rows = ShownList();
    if (rows.lastCursorRow == -1) rows.lastCursorRow = 0;
    RememberWorkWindow(nullptr);
    list.shown = false;
    HideViewer();
  } else {
    if (g_viewerShown && g_hViewer) ShowWindow(g_hViewer, SW_RESTORE);
    ShowWindow(list.hwnd, SW_RESTORE);
    BringListForward(list.hwnd);
  }
  // Said after the list has its final state, which the box keeps. The
  // text is on the clipboard either way, for the user's own Ctrl+V.
  if (outcome == PasteOutcome::kTargetGone) Tell(kMsgNotPasted);
  if (outcome == PasteOutcome::kTargetElevated) Tell(kMsgNotPastedElevated);
}

}  // namespace

OutputRequest Confirmation(const OutputText& text, int action) {
  OutputRequest request;
  request.text = text;
  request.paste = action == kOutputPaste;
  request.stays = g_set.actv_hide != kHide;
  return request;
}

namespace {

void ShowListOn(ListRows& rows) {
  ListWindow& list = TheListWindow();
  if (!list.hwnd) return;
  ShowRowsOf(rows);
  if (!list.shown) {
    list.held = HeldModifiers();
    list.targetFocus = ForegroundFocus();
    SetClipReady(false);
    ResetPendingKeys();
    CloseFindBar();
    MeasurePage();
    list.shown = true;
    PlaceList(list.hwnd);
    SetInitialCursor();
  }
  BringListForward(list.hwnd);
}

}  // namespace

void ShowList() { ShowListOn(TheListWindow().history); }

void ShowPhraseList() { ShowListOn(TheListWindow().phrases); }

bool HideAndPaste(const OutputRequest& request) {
  if (!CopyChosen(request.text)) return false;
  SetClipReady(false);
  HideThenPaste(request.paste, request.stays);
  return true;
}

void DismissList() { HideThenPaste(false, false); }

// The row is the one highlighted: an owner-data list view may move its
// focus without a notification (Windows does on an insert), so the row
// the tracking saw last is only the fallback.
void ConfirmOutput() {
  ListWindow& list = TheListWindow();
  if (list.output.action == kOutputNone) ChooseOutput(kOutputPaste);
  OutputText text;  // on the clipboard already
  if (!list.output.clipReady) {
    const ListRows& rows = ShownList();
    const int cursor = GetCursorRow();
    const int row = cursor >= 0 ? cursor : rows.lastCursorRow;
    // No row to copy: pasting now would insert whatever the clipboard
    // happens to hold.
    if (!rows.multiSel && (row < 0 || row >= GetRowCount())) {
      MessageBeep(0);
      return;
    }
    text = ChosenRows(row, row, list.held.shift);
  }
  HideAndPaste(Confirmation(text, list.output.action));
}

void ConfirmPaste() {
  ChooseOutput(kOutputPaste);
  SetClipReady(false);
  ConfirmOutput();
}

void PutListAway() {
  ListWindow& list = TheListWindow();
  HideViewer();
  if (list.hwnd && list.shown) ShowWindow(list.hwnd, SW_HIDE);
  list.shown = false;
}
