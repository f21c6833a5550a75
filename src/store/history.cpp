#include "store/history.h"

#include "app/errorbox.h"
#include "app/mainwnd.h"
#include "listwin/listwin.h"
#include "store/store.h"

HANDLE g_store = nullptr;

void InsertClip(int row, const char* text) {
  if (tdb_insrow(text, 0, row, g_store, g_hListView, kRowNew) != 0) {
    ErrorBox("InsertClip:リストに追加中にエラー発生", kErrorFatal);
    return;
  }
  if (tdb_append(g_store, text) != 0) {
    tdb_delrow(row, g_hListView);  // the row's record was never written
    ErrorBox("InsertClip:エラーが発生しました", kErrorFatal);
  }
}

void RestoreClip() {
  HANDLE restored = tdb_restore(g_store, kBaseName, g_hListView);
  if (restored) {
    g_store = restored;
    g_lastCursorRow = -1;
    ReportDamagedHistory();
    return;
  }
  if (g_tdbError == kErrRestoreNoBackup) {
    ErrorBox("バックアップファイルがありません", kErrorPlain);
    return;
  }
  // The old working file is closed already: nothing is left to save.
  g_store = nullptr;
  ErrorBox("WndProc:restore にてエラー発生", kErrorFatal);
}

int ClearClip() {
  g_store = tdb_clear(g_store, kBaseName, g_hListView);
  if (!g_store) {
    ErrorBox("ClearClip : 履歴クリアでエラー発生", kErrorFatal);
    return -1;
  }
  g_lastCursorRow = -1;
  return 0;
}
