#include "store/delete.h"

#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "store/history.h"
#include "store/store.h"

namespace {

// The rows' records go to the put buffer, in row order, and the rows
// leave the list with redrawing off: each would otherwise be repainted on
// its own. Without room for the put buffer nothing is deleted: the rows
// could not be put back.
int DeleteRows(const std::vector<int>& rows) {
  tdb_buffree();
  tdb_bufalloc(static_cast<int>(rows.size()));
  for (int row : rows) {
    if (tdb_bufadd(tdb_rowoffset(row)) != 0) {
      tdb_buffree();
      g_tdbError = kErrNoMemory;
      return -1;
    }
  }
  ScopedBulkChange bulk;
  return tdb_delrows(rows, g_hListView);
}

}  // namespace

int DeleteClip(int first, int last) {
  if (last < first) std::swap(first, last);
  if (first < 0 || last >= GetRowCount()) return -1;  // a row the history does not have
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(last - first + 1));
  for (int row = first; row <= last; ++row) rows.push_back(row);
  if (DeleteRows(rows) != 0) return -1;
  g_marks.RowsDeleted(first, last);
  return 0;
}

int DeleteSelClip() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    g_listError = kListErrDeleteNoSelection;
    return -1;
  }
  if (DeleteRows(rows) != 0) return -1;
  // From the bottom up, each row is still where it was when selected.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) g_marks.RowDeleted(*row);
  return 0;
}
