#include "store/delete.h"

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "store/history.h"
#include "store/store.h"

namespace {

void PutOffset(int row) {
  std::int32_t length = 0, offset = 0;
  tdb_gethead(g_store, g_hListView, row, &length, &offset);
  tdb_bufadd(offset);
}

int SelectedCount() {
  return static_cast<int>(SendMessageW(g_hListView, LVM_GETSELECTEDCOUNT, 0, 0));
}

}  // namespace

// Many rows go with redrawing off: each deleted row would otherwise be
// repainted on its own.
int DeleteClip(int first, int last) {
  if (last < first) std::swap(first, last);
  const int n = last - first + 1;
  tdb_buffree();
  tdb_bufalloc(n);
  for (int row = first; row <= last; ++row) PutOffset(row);
  {
    ScopedBulkChange bulk;
    for (int i = 0; i < n; ++i) tdb_delrow(first, g_hListView);
  }
  g_marks.RowsDeleted(first, last);
  return 0;
}

// Each selected row is found from where the last one was deleted: the
// rows below it have moved up by one, and a search from the top would
// pass every row above again.
int DeleteSelClip() {
  const int k = SelectedCount();
  if (k == 0) {
    g_listError = kListErrDeleteNoSelection;
    return -1;
  }
  tdb_buffree();
  tdb_bufalloc(k);
  ScopedBulkChange bulk;
  int from = -1;
  for (int i = 0; i < k; ++i) {
    const int row = static_cast<int>(
        SendMessageW(g_hListView, LVM_GETNEXTITEM, static_cast<WPARAM>(from), LVNI_SELECTED));
    if (row < 0) {
      g_listError = kListErrDeleteNoSelection;
      return -1;
    }
    PutOffset(row);
    tdb_delrow(row, g_hListView);
    g_marks.RowDeleted(row);
    from = row - 1;
  }
  return 0;
}
