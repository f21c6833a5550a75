#include "app/history_actions.h"

#include "app/errorbox.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "output/messages.h"
#include "store/history.h"
#include "store/store.h"

void RestoreClip() {
  Store& history = History();
  if (tdb_restore(history)) {
    ForgetRowPlaces();  // they named rows of the history that went
    ReportDamagedHistory();
    return;
  }
  if (history.Error() == kErrRestoreNoBackup) {
    Tell(kMsgNoBackup);
    return;
  }
  if (history.Error() == kErrRestoreCopy) {
    Tell(kMsgBackupUnreadable);
    return;
  }
  // The old working file is closed already: nothing is left to save.
  Tell(kMsgRestoreFailed);
}

int ClearClip() {
  if (!tdb_clear(History())) {
    Tell(kMsgClearFailed);
    return -1;
  }
  ForgetRowPlaces();
  return 0;
}

void ReportDamagedHistory() {
  const LoadDamage damage = History().TakeLoadDamage();  // told once
  if (!damage.damaged) return;
  if (damage.copy.empty())
    Tell(kMsgDamagedNoCopy);
  else
    Tell(kMsgDamagedCopyKept, {damage.copy});
}
