#include "listwin/list_state.h"

#include <commctrl.h>

#include "store/history.h"

HWND g_hListWnd = nullptr;
HWND g_hListView = nullptr;
bool g_listShown = false;
int g_lastCursorRow = -1;
int g_multiSel = 0;
int g_lastSelCount = 1;
int g_rowsPerPage = 0;
int g_halfPage = 0;
int g_listError = 0;
PendingKeys g_pending;

Store& ListStore() { return History(); }

void MeasurePage() {
  g_rowsPerPage = static_cast<int>(SendMessageW(g_hListView, LVM_GETCOUNTPERPAGE, 0, 0));
  g_halfPage = g_rowsPerPage / 2;
}

void ResetPendingKeys() { g_pending.Clear(); }
