#include "app/history_actions.h"

#include "app/errorbox.h"
#include "app/mainwnd.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "store/history.h"
#include "store/store.h"

void RestoreClip() {
  if (RestoreHistory(g_hListView)) {
    ForgetRowPlaces();  // they named rows of the history that went
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
  ErrorBox("WndProc:restore にてエラー発生", kErrorFatal);
}

int ClearClip() {
  if (!ClearHistory(g_hListView)) {
    ErrorBox("ClearClip : 履歴クリアでエラー発生", kErrorFatal);
    return -1;
  }
  ForgetRowPlaces();
  return 0;
}
