#include "app/history_actions.h"

#include "app/errorbox.h"
#include "app/mainwnd.h"
#include "listwin/listwin.h"
#include "store/history.h"
#include "store/store.h"

void InsertClipOrFail(int row, const char* text) {
  switch (InsertClip(row, text)) {
    case kInsertNoRow:
      ErrorBox("InsertClip:リストに追加中にエラー発生", kErrorFatal);
      return;
    case kInsertNoRecord:
      ErrorBox("InsertClip:エラーが発生しました", kErrorFatal);
      return;
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
