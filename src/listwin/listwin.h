// The history list window: a modeless dialog whose list view holds the
// rows of the history, one per entry, in history order.
#pragma once

#include <windows.h>

extern HWND g_hListWnd;   // the dialog; null once destroyed
extern HWND g_hListView;  // its list view, the store's index
extern bool g_listShown;  // the window is meant to be on screen
extern int g_lastCursorRow;
extern int g_multiSel;    // 1 while operations act on all selected rows

// Creates the window hidden, from its template.
HWND CreateListWindow();

// Sets the caption to the one-line key help of the key mode.
void SetListTitle(HWND hwnd, int key);

// Turns the order of the rows around (newest first <-> oldest first).
void ReverseHistoryOrder(HWND list);
