// The state of the history list window, in one record that the window
// owns: the window itself (its handles, whether it is on screen, its
// paging, the keys and the output on their way, the control it pastes
// into) and, apart from it, the list it shows (the store, its marks, its
// cursor row and selection mode).
#pragma once

#include <windows.h>

#include <vector>

#include "listwin/command_table.h"
#include "listwin/marks.h"
#include "output/copy.h"
#include "output/paste.h"

class Store;

// What the next OK command of the list does after copying.
constexpr int kOutputNone = 0;  // not chosen yet: the OK command pastes
constexpr int kOutputCopy = 1;
constexpr int kOutputPaste = 2;

// One list the window can show: the store whose rows it is and where the
// user is in it. Each list keeps these while the window shows another.
struct ListRows {
  explicit ListRows(Store& of) : store(&of) {}

  Store* store;
  MarkTable marks;         // they name rows of this store
  int lastCursorRow = -1;  // the cursor row at the last item change, -1 none
  int multiSel = 0;        // 1 while operations act on all selected rows
  int lastSelCount = 1;    // the selected count the tracking remembers
  // While another list is shown: where the user was in this one (the
  // selected rows, ascending, the cursor row and the top row), kept in
  // step with its rows.
  std::vector<int> selected;
  int focus = -1;
  int top = 0;
};

// What a command chose for the OK command that finishes it (a copy-only
// command, then Enter). Changed only through ChooseOutput and
// SetClipReady.
struct PendingOutput {
  // kOutputCopy or kOutputPaste once chosen; it stays chosen for later OK
  // commands, whatever appearance of the list they come in.
  int action = kOutputNone;
  // The text is on the clipboard already: the OK command does not copy.
  bool clipReady = false;
};

// The list window. There is one, and its parts reach it through
// TheListWindow() instead of being handed it: they run below procedures
// that the system calls with a window handle at most (the dialog's, the
// list view's replacement, the find bar's) and below the store's row
// observer, and every command and row operation in between would carry a
// parameter that can only ever name this record. What will differ from
// one moment to the next is the list shown, which is one pointer here.
struct ListWindow {
  ListWindow();
  ListWindow(const ListWindow&) = delete;
  ListWindow& operator=(const ListWindow&) = delete;

  HWND hwnd = nullptr;  // the dialog; null once destroyed
  HWND view = nullptr;  // its list view, which shows the rows of *showing
  bool shown = false;   // the window is meant to be on screen
  int rowsPerPage = 0;  // rows the list view shows at once
  int halfPage = 0;     // the step of Ctrl+D and Ctrl+U
  PendingKeys pending;  // the characters of a vi-like command typed so far
  // The control that had the keyboard focus when the list was called up;
  // null once the user has switched to another program.
  HWND targetFocus = nullptr;
  HeldModifiers held;  // Shift, Ctrl and Alt as the list view last saw them
  PendingOutput output;
  // Why the last copy or deletion of rows failed: a ListError (output/copy.h).
  int listError = 0;

  HWND tabs = nullptr;  // the tab row that names the list shown

  ListRows history;   // the history's rows
  ListRows phrases;   // the fixed phrases' rows
  ListRows* showing;  // the list the window shows
};

ListWindow& TheListWindow();
// The list the window shows, and its store.
ListRows& ShownList();
Store& ListStore();

// Sets the paging from the list view's present height (the half page step
// starts again from half a page).
void MeasurePage();

// Drops the characters of a command typed so far.
void ResetPendingKeys();

// The pending output: what the next OK command does after copying (a
// copy command chooses it even when it is then refused), and whether a
// command has put its text on the clipboard for that OK command already.
void ChooseOutput(int action);
void SetClipReady(bool ready);
