#include "listwin/entries.h"

#include <utility>
#include <vector>

#include "base/report.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "output/messages.h"
#include "settings/settings.h"
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
      tdb_buffree();  // g_tdbError kErrNoMemory: the buffer got no room
      return -1;
    }
  }
  ScopedBulkChange bulk;
  return tdb_delrows(rows, g_hListView);
}

}  // namespace

int InsertClip(int row, const std::string& text) {
  if (tdb_insnewrow(text.size(), row, g_store, g_hListView) != 0) return kInsertNoRow;
  if (tdb_append(g_store, text.data(), text.size()) != 0) {
    // The row's record was never written. Taking back a row just made
    // cannot fail, so the append's error code stands.
    tdb_delrow(row, g_hListView);
    return kInsertNoRecord;
  }
  return 0;
}

bool ReportPlainInsertFailure() {
  switch (g_tdbError) {
    case kErrWorkingFileFull:
      ReportWorkingFileFull();
      return true;
    case kErrNoMemory:
      ReportNoMemory();
      return true;
    case kErrAppendWrite:
      ReportWriteFailure();
      return true;
  }
  return false;
}

bool InsertClipOrFail(int row, const std::string& text) {
  const int result = InsertClip(row, text);
  if (result == 0) return true;
  if (!ReportPlainInsertFailure())
    Tell(result == kInsertNoRow ? kMsgInsertNoRow : kMsgInsertFailed);
  return false;
}

bool AddClip(const std::string& text) {
  const int row = g_set.data == kDataNew ? 0 : GetRowCount();
  int result;
  {
    // The states move down with their rows in one go: the edit dialog,
    // which follows the cursor, must see the cursor only where it ends
    // up, on the entry it was on.
    ScopedTrackingPause pause;
    result = InsertClip(row, text);
  }
  if (result == 0) return true;
  // A history at its 2 GB limit refuses every later copy: the user must
  // hear of it, or copies vanish without a word; as must a failure of
  // any other kind (no history open, say), which may refuse them all too.
  if (!ReportPlainInsertFailure()) ReportCaptureFailure(g_tdbError);
  return false;
}

int DeleteClip(int first, int last) {
  if (last < first) std::swap(first, last);
  if (first < 0 || last >= GetRowCount()) return -1;  // a row the history does not have
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(last - first + 1));
  for (int row = first; row <= last; ++row) rows.push_back(row);
  return DeleteRows(rows) != 0 ? -1 : 0;
}

int DeleteSelClip() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    g_listError = kListErrDeleteNoSelection;
    return -1;
  }
  return DeleteRows(rows) != 0 ? -1 : 0;
}
