// The state of the history list that its parts share: the window and
// its list view, whether it is meant to be on screen, the mode of the
// selection and the paging of the view.
#pragma once

#include <windows.h>

#include "listwin/command_table.h"
#include "output/copy.h"

class Store;

// The store whose rows the list shows.
Store& ListStore();

extern HWND g_hListWnd;   // the dialog; null once destroyed
extern HWND g_hListView;  // its list view, which shows ListStore()'s rows
extern bool g_listShown;  // the window is meant to be on screen
extern int g_lastCursorRow;  // the cursor row at the last item change, -1 none
extern int g_multiSel;       // 1 while operations act on all selected rows
extern int g_lastSelCount;   // the selected count the tracking remembers
extern int g_rowsPerPage;    // rows the list view shows at once
extern int g_halfPage;       // the step of Ctrl+D and Ctrl+U
// Sets both from the list view's present height (the half page step
// starts again from half a page).
void MeasurePage();

// Why the last copy or deletion of rows failed: a ListError (output/copy.h).
extern int g_listError;

// The characters of a vi-like command typed so far.
extern PendingKeys g_pending;
// Drops them.
void ResetPendingKeys();
