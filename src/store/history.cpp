#include "store/history.h"

#include "listwin/listwin.h"
#include "store/store.h"

HANDLE g_store = nullptr;

int InsertClip(int row, const char* text) {
  if (tdb_insrow(text, 0, row, g_store, g_hListView, kRowNew) != 0) return kInsertNoRow;
  if (tdb_append(g_store, text) != 0) {
    const int code = g_tdbError;
    tdb_delrow(row, g_hListView);  // the row's record was never written
    g_tdbError = code;
    return kInsertNoRecord;
  }
  return 0;
}
