#include "app/history_actions.h"

#include "app/errorbox.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "output/messages.h"
#include "store/history.h"
#include "store/store.h"

void RestoreClip() {
  if (RestoreHistory(g_hListView)) {
    ForgetRowPlaces();  // they named rows of the history that went
    ReportDamagedHistory();
    return;
  }
  if (g_tdbError == kErrRestoreNoBackup) {
    Tell(kMsgNoBackup);
    return;
  }
  if (g_tdbError == kErrRestoreCopy) {
    Tell(kMsgBackupUnreadable);
    return;
  }
  // The old working file is closed already: nothing is left to save.
  Tell(kMsgRestoreFailed);
}

int ClearClip() {
  if (!ClearHistory(g_hListView)) {
    Tell(kMsgClearFailed);
    return -1;
  }
  ForgetRowPlaces();
  return 0;
}

void ReportDamagedHistory() {
  if (!g_loadDamage.damaged) return;
  const LoadDamage damage = TakeLoadDamage();  // told once
  if (damage.copy.empty())
    Tell(kMsgDamagedNoCopy);
  else
    Tell(kMsgDamagedCopyKept, {damage.copy});
}
