// The cursor, the selection and the marks of the history list. Commands
// and the list window change the list view's item states only through
// these operations. Row numbers start at 0; -1 means no row.
#pragma once

#include <windows.h>

#include <vector>

#include "base/scoped_win.h"
#include "listwin/marks.h"

int GetCursorRow();  // the row with the focus state, -1 for none
int GetTopRow();     // the first visible row
int GetRowCount();
int SelectedCount();
std::vector<int> SelectedRows();  // in ascending order
std::vector<int> SelectedRowsOf(HWND view);  // the same, of any list view

// Target rows of the motions for the typed count (0: none); -1 when the
// motion has no target. See target_rows.h for the rules.
int RowDown(long long count);
int RowUp(long long count);
int RowGo(long long count);
int RowCountEnd(long long count);

// Moves the cursor to cursorRow, first scrolling so that scrollRow is the
// top row (-1: no scrolling). In single mode the selection moves with the
// cursor; in multi-selection mode it stays. Returns 0.
int MoveCursor(int scrollRow, int cursorRow);

// Selects rows a to b (either order), or in multi-selection mode flips
// their selection; multi-selection mode is on afterwards. Returns 0.
int SelectRange(int a, int b);

// Selects exactly the rows (ascending), in multi-selection mode, with the
// cursor on the first; -1, changing nothing, for none.
int SelectRows(const std::vector<int>& rows);

// Unselects every row and returns to single mode, with the cursor row
// selected again. -1, changing nothing, when no row was selected.
int ClearSelect();

// Selects every row and turns multi-selection mode on; -1 for an empty list.
int SelectAll();

// Takes the selection and the cursor from every row (the order of the
// rows is about to change under them).
void DropSelectionAndCursor();

// The marks of the list shown.
int GetMark(char name);
int SetMark(char name, int row);  // -1 for a character that names no mark

// The history's rows were replaced from the file: no cursor row is remembered
// (ForgetCursorRow), and every mark is unset too (ForgetRowPlaces).
void ForgetCursorRow();
void ForgetRowPlaces();
// As at start: single mode, no cursor row remembered, no mark set.
void ResetSelectionState();

// The list window's answer to every item change: follows the selected
// count into multi-selection mode and remembers the cursor row.
void TrackSelection();

// Holds back the tracking while many rows change state at once: each row
// would otherwise cost a tracking pass of its own. One pass runs at the
// end if anything changed. That leaves the state a pass per row would
// have left whenever the changes all go one way (only selecting, only
// unselecting) or the caller sets the mode itself afterwards: the
// tracking's result then depends on the final selected count alone.
class ScopedTrackingPause {
 public:
  ScopedTrackingPause();
  ~ScopedTrackingPause();
  ScopedTrackingPause(const ScopedTrackingPause&) = delete;
  ScopedTrackingPause& operator=(const ScopedTrackingPause&) = delete;
};

// Called for every item change: true when the tracking is held back (the
// change is counted instead).
bool TrackingPaused();

// Changes of many rows (their states, inserting or deleting them) are
// made with redrawing off: otherwise each changed row is repainted on its
// own (under Wine each such repaint costs a round trip to the server,
// about 0.2 ms), and the tracking runs once at the end instead of once
// per row.
class ScopedBulkChange {
 public:
  ScopedBulkChange();

 private:
  ScopedRedrawOff redraw_;
  ScopedTrackingPause tracking_;
};
