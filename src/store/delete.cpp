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
// its own.
void DeleteRows(const std::vector<int>& rows) {
  tdb_buffree();
  tdb_bufalloc(static_cast<int>(rows.size()));
  for (int row : rows) tdb_bufadd(tdb_rowoffset(row));
  ScopedBulkChange bulk;
  tdb_delrows(rows, g_hListView);
}

}  // namespace

int DeleteClip(int first, int last) {
  if (last < first) std::swap(first, last);
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(last - first + 1));
  for (int row = first; row <= last; ++row) rows.push_back(row);
  DeleteRows(rows);
  g_marks.RowsDeleted(first, last);
  return 0;
}

int DeleteSelClip() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    g_listError = kListErrDeleteNoSelection;
    return -1;
  }
  DeleteRows(rows);
  // From the bottom up, each row is still where it was when selected.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) g_marks.RowDeleted(*row);
  return 0;
}
