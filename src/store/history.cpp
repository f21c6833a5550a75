#include "store/history.h"

#include "store/store.h"

HANDLE g_store = nullptr;

bool OpenHistory(HWND list) {
  HANDLE store = tdb_open(kBaseName, list);
  if (!store) return false;
  g_store = store;
  return true;
}

bool CloseHistory(HWND list) {
  if (tdb_close(g_store, kBaseName, list) != 0) return false;
  g_store = nullptr;
  return true;
}

bool ClearHistory(HWND list) {
  g_store = tdb_clear(g_store, kBaseName, list);
  return g_store != nullptr;
}

bool RestoreHistory(HWND list) {
  if (HANDLE restored = tdb_restore(g_store, kBaseName, list)) {
    g_store = restored;
    return true;
  }
  // The old working file is closed already unless the restore was
  // refused before it began.
  if (g_tdbError != kErrRestoreNoBackup && g_tdbError != kErrRestoreCopy) g_store = nullptr;
  return false;
}
