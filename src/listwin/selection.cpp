#include "listwin/selection.h"

#include <windows.h>
#include <commctrl.h>

#include "base/scoped_win.h"
#include "listwin/list_state.h"
#include "listwin/target_rows.h"
#include "output/viewer.h"

namespace {

int g_pauseDepth = 0;
bool g_changedWhilePaused = false;

LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(TheListWindow().view, message, wParam, lParam);
}

// Sets the states in mask to those in state, for one row or (row -1) all.
void SetRowState(int row, UINT state, UINT mask) {
  LVITEMW item = {};
  item.state = state;
  item.stateMask = mask;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

UINT RowState(int row, UINT mask) {
  return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
}

// Takes the states in mask from every selected row. Row by row, because a
// list view that is told "all rows" visits every row of the list, which
// for a large history costs far more than visiting the few selected ones.
void UnselectEveryRow(UINT mask) {
  const int count = SelectedCount();
  if (count == 0) return;
  ScopedBulkChange bulk;
  // With most rows selected, one pass over all of them is cheaper.
  if (count > GetRowCount() / 4) {
    SetRowState(-1, 0, mask);
    return;
  }
  for (int row : SelectedRows()) SetRowState(row, 0, mask);
}

// The height of one row, from row 0; 0 for an empty list, which has
// nothing to scroll.
int RowHeight() {
  RECT r = {};
  r.left = LVIR_LABEL;
  if (!Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) return 0;
  return r.bottom - r.top;
}

}  // namespace

int SelectedCount() { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }

// The search stops at the last selected row: looking past it would visit
// every remaining row of the list.
std::vector<int> SelectedRowsOf(HWND view) {
  std::vector<int> rows;
  const int count = static_cast<int>(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0));
  rows.reserve(static_cast<size_t>(count));
  // The search stops at the last selected row: looking past it would
  // visit every remaining row.
  for (int i = 0, row = -1; i < count; ++i) {
    row = static_cast<int>(
        SendMessageW(view, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) break;
    rows.push_back(row);
  }
  return rows;
}

std::vector<int> SelectedRows() { return SelectedRowsOf(TheListWindow().view); }

int GetCursorRow() {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

int GetTopRow() { return static_cast<int>(Send(LVM_GETTOPINDEX)); }

int GetRowCount() { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int RowDown(long long count) { return TargetRowDown(count, GetCursorRow(), GetRowCount()); }
int RowUp(long long count) { return TargetRowUp(count, GetCursorRow(), GetRowCount()); }
int RowGo(long long count) { return TargetRowGo(count, GetRowCount()); }
int RowCountEnd(long long count) {
  return TargetRowCountEnd(count, GetCursorRow(), GetRowCount());
}

int MoveCursor(int scrollRow, int cursorRow) {
  // Read afresh each time: the tracking may change it as states change.
  const ListRows& list = ShownList();
  if (!list.multiSel) {
    const int cursor = GetCursorRow();
    if (cursor >= 0) {
      SetRowState(cursor, 0, LVIS_FOCUSED | LVIS_SELECTED);
    } else {
      UnselectEveryRow(LVIS_SELECTED);  // no row has the focus to lose
    }
  }
  if (scrollRow >= 0) {
    const int dy = (scrollRow - GetTopRow()) * RowHeight();
    Send(LVM_SCROLL, 0, dy);
  }
  if (cursorRow >= 0) {
    Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(cursorRow), FALSE);
    const UINT selected = list.multiSel ? RowState(cursorRow, LVIS_SELECTED) : LVIS_SELECTED;
    SetRowState(cursorRow, LVIS_FOCUSED | selected, LVIS_FOCUSED | LVIS_SELECTED);
    // Shift with the arrow keys then extends the selection from here, as
    // after a click on the row.
    if (!list.multiSel) Send(LVM_SETSELECTIONMARK, 0, cursorRow);
  }
  return 0;
}

int SelectRange(int a, int b) {
  ListRows& list = ShownList();
  const int lo = a < b ? a : b;
  const int hi = a < b ? b : a;
  {
    ScopedBulkChange bulk;
    for (int row = lo; row <= hi; ++row) {
      const UINT state =
          list.multiSel ? RowState(row, LVIS_SELECTED) ^ LVIS_SELECTED : LVIS_SELECTED;
      SetRowState(row, state, LVIS_SELECTED);
    }
  }
  list.multiSel = 1;
  return 0;
}

int SelectRows(const std::vector<int>& rows) {
  if (rows.empty()) return -1;
  {
    ScopedBulkChange bulk;
    UnselectEveryRow(LVIS_SELECTED);
    for (int row : rows) SetRowState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  ShownList().multiSel = 1;
  MoveCursor(-1, rows.front());
  return 0;
}

int ClearSelect() {
  if (SelectedCount() == 0) return -1;
  UnselectEveryRow(LVIS_SELECTED);
  ShownList().multiSel = 0;
  MoveCursor(-1, GetCursorRow());
  return 0;
}

int SelectAll() {
  if (GetRowCount() == 0) return -1;
  {
    ScopedBulkChange bulk;
    SetRowState(-1, LVIS_SELECTED, LVIS_SELECTED);
  }
  ShownList().multiSel = 1;
  return 0;
}

void DropSelectionAndCursor() {
  UnselectEveryRow(LVIS_SELECTED);
  const int cursor = GetCursorRow();
  if (cursor >= 0) SetRowState(cursor, 0, LVIS_FOCUSED | LVIS_SELECTED);
}

int GetMark(char name) { return ShownList().marks.Get(name, GetRowCount()); }

int SetMark(char name, int row) { return ShownList().marks.Set(name, row) ? 0 : -1; }

void TrackSelection() {
  // An open edit dialog always shows the row under the cursor.
  if (g_viewerShown) LoadViewer(GetCursorRow());
  ListRows& list = ShownList();
  const int n = SelectedCount();
  if (n > 1) {
    list.multiSel = 1;
    list.lastSelCount = n;
  } else if (n < list.lastSelCount) {
    list.multiSel = 0;
    list.lastSelCount = 1;
  }
  list.lastCursorRow = GetCursorRow();
}

// A hidden list view draws nothing anyway (its redrawing is off until it
// is shown), and must not have it turned on by a change.
ScopedBulkChange::ScopedBulkChange()
    : redraw_(IsWindowVisible(TheListWindow().view) ? TheListWindow().view : nullptr) {}

ScopedTrackingPause::ScopedTrackingPause() { ++g_pauseDepth; }

ScopedTrackingPause::~ScopedTrackingPause() {
  if (--g_pauseDepth > 0 || !g_changedWhilePaused) return;
  g_changedWhilePaused = false;
  TrackSelection();
}

bool TrackingPaused() {
  if (g_pauseDepth == 0) return false;
  g_changedWhilePaused = true;
  return true;
}

void ForgetCursorRow() { TheListWindow().history.lastCursorRow = -1; }

void ForgetRowPlaces() {
  ForgetCursorRow();
  TheListWindow().history.marks.Clear();
}

void ResetSelectionState() {
  ForgetRowPlaces();
  ListRows& list = ShownList();
  list.multiSel = 0;
  list.lastSelCount = 1;
}
