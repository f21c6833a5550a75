// The history list window: a modeless dialog whose list view holds the
// rows of the history, one per entry, in history order. It is called up
// by ShowList and dismissed by HideAndPaste (output/paste.h).
#pragma once

#include <windows.h>

extern HWND g_hListWnd;   // the dialog; null once destroyed
extern HWND g_hListView;  // its list view, the store's index
extern bool g_listShown;  // the window is meant to be on screen
extern int g_lastCursorRow;  // the cursor row at the last item change, -1 none
extern int g_multiSel;       // 1 while operations act on all selected rows
extern int g_lastSelCount;   // the selected count the tracking remembers
extern int g_rowsPerPage;    // rows the list view shows at once
extern int g_halfPage;       // the step of Ctrl+D and Ctrl+U

// Creates the window hidden, from its template.
HWND CreateListWindow();

// Sets the caption to the one-line key help of the key mode.
void SetListTitle(HWND hwnd, int key);

// Turns the order of the rows around (newest first <-> oldest first).
void ReverseHistoryOrder(HWND list);

// Where the list's context menu opens, in screen coordinates, for a
// WM_CONTEXTMENU whose point is `messagePoint`: the click point; for a
// request from the keyboard (Shift+F10, the menu key), which carries no
// point, the cursor row, or the list's top-left corner when no row has
// the cursor. `row` receives the row at that place, -1 for none.
POINT ListMenuAnchor(HWND list, LPARAM messagePoint, int* row);

// The list view's replacement window procedure (list_keys.cpp).
LRESULT CALLBACK ListKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
extern WNDPROC g_defaultListProc;
