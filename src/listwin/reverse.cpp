// Reversing the order of the history list, when the user switches
// between newest first and oldest first. Only the index changes: each row
// keeps its record, so the next save writes the records in the new order.
#include <windows.h>

#include "listwin/list_switch.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "store/history.h"

// The rows come out without selection or cursor, as moved rows would.
// The marks stay on their entries.
void ReverseHistoryOrder() {
  // The history kept aside while the phrases are shown forgets its own.
  if (!ShowingPhrases()) DropSelectionAndCursor();
  tdb_reverse(History());
}
