// Reversing the order of the history list, when the user switches
// between newest first and oldest first. Only the index changes: each
// row keeps its label and its record, so the next save writes the
// records in the new order.
#include <windows.h>
#include <commctrl.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "base/scoped_win.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"

namespace {

struct Row {
  char label[256];
  LPARAM record;
};

}  // namespace

// Moving rows one by one to their new places would shift the rest of the
// list at every move, and emptying the list to insert them anew costs as
// much under Wine, whose list view deletes in quadratic time. The rows
// stay where they are and exchange their contents instead: linear time.
// They come out without selection or focus, as moved rows would.
bool ReverseHistoryOrder(HWND list) {
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (count < 2) return true;
  // All rows are read before any is rewritten: without the memory for
  // that, the history stays as it is.
  std::vector<Row> rows;
  try {
    rows.resize(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  for (int i = 0; i < count; ++i) {
    Row& row = rows[static_cast<size_t>(i)];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = row.label;
    item.cchTextMax = sizeof row.label;
    row.label[0] = '\0';
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    row.record = item.lParam;
  }

  ScopedRedrawOff bulk(list);
  ScopedTrackingPause tracking;
  LVITEMA cleared = {};
  cleared.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&cleared));
  for (int i = 0; i < count; ++i) {
    Row& row = rows[static_cast<size_t>(count - 1 - i)];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = row.label;
    item.lParam = row.record;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  return true;
}
