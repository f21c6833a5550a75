#include "app/history_actions.h"

#include "app/errorbox.h"
#include "app/mainwnd.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "store/history.h"
#include "store/store.h"

void RestoreClip() {
  HANDLE restored = tdb_restore(g_store, kBaseName, g_hListView);
  if (restored) {
    g_store = restored;
    g_lastCursorRow = -1;
    g_marks.Clear();  // they named rows of the history that went
    ReportDamagedHistory();
    return;
  }
  if (g_tdbError == kErrRestoreNoBackup) {
    ErrorBox("バックアップファイルがありません", kErrorPlain);
    return;
  }
  if (g_tdbError == kErrRestoreCopy) {
    ErrorBox("バックアップファイル (clipdat.bak) を読み込めなかったため、復元できませんでした。\n"
             "今の履歴はそのまま残っています。",
             kErrorPlain);
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
  g_marks.Clear();
  return 0;
}
