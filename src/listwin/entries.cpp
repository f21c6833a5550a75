#include "listwin/entries.h"

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "base/report.h"
#include "listwin/list_state.h"
#include "listwin/put_buffer.h"
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
  Store& store = ListStore();
  std::vector<std::int32_t> records;
  try {
    records.reserve(rows.size());
  } catch (const std::bad_alloc&) {
    return kDeleteNoMemory;
  }
  for (int row : rows) records.push_back(tdb_rowoffset(store, row));
  int result;
  {
    ScopedBulkChange bulk;
    result = tdb_delrows(store, rows);
  }
  if (result != 0) return store.Error() == kErrNoMemory ? kDeleteNoMemory : -1;
  ThePutBuffer().Fill(store, std::move(records));
  return 0;
}

int InsertInto(Store& store, int row, const std::string& text) {
  if (tdb_insnewrow(store, text.size(), row) != 0) return kInsertNoRow;
  if (tdb_append(store, text.data(), text.size()) != 0) {
    // The row's record was never written. Taking back a row just made
    // cannot fail, so the append's error code stands.
    const int error = store.Error();
    tdb_delrow(store, row);
    store.Fail(error);
    return kInsertNoRecord;
  }
  return 0;
}

// Tells the user of a failure the user can mend; false for any other.
bool ReportPlainFailure(int error) {
  switch (error) {
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

}  // namespace

int InsertClip(int row, const std::string& text) { return InsertInto(ListStore(), row, text); }

bool ReportPlainInsertFailure() { return ReportPlainFailure(ListStore().Error()); }

bool InsertClipOrFail(int row, const std::string& text) {
  const int result = InsertClip(row, text);
  if (result == 0) return true;
  if (!ReportPlainInsertFailure())
    Tell(result == kInsertNoRow ? kMsgInsertNoRow : kMsgInsertFailed);
  return false;
}

bool AddClip(const std::string& text) {
  Store& history = History();
  const int row = g_set.data == kDataNew ? 0 : tdb_rowcount(history);
  int result;
  {
    // The states move down with their rows in one go: the edit dialog,
    // which follows the cursor, must see the cursor only where it ends
    // up, on the entry it was on.
    ScopedTrackingPause pause;
    result = InsertInto(history, row, text);
  }
  if (result == 0) return true;
  // A history at its 2 GB limit refuses every later copy: the user must
  // hear of it, or copies vanish without a word; as must a failure of
  // any other kind (no history open, say), which may refuse them all too.
  if (!ReportPlainFailure(history.Error())) ReportCaptureFailure(history.Error());
  return false;
}

int DeleteClip(int first, int last) {
  if (last < first) std::swap(first, last);
  if (first < 0 || last >= GetRowCount()) return -1;  // a row the history does not have
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(last - first + 1));
  for (int row = first; row <= last; ++row) rows.push_back(row);
  return DeleteRows(rows);
}

int DeleteSelClip() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    TheListWindow().listError = kListErrDeleteNoSelection;
    return -1;
  }
  return DeleteRows(rows);
}
