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
// Sets both from the list view's present height (the half page step
// starts again from half a page).
void MeasurePage();

// Why the last copy or deletion of rows failed (g_listError).
enum ListError : int {
  kListErrNoSelection = -100,    // multi-selection mode with no row selected
  kListErrSelNoRoom = -101,      // the wrap column leaves no room (selected rows)
  kListErrNoRow = -102,          // a row of the range does not exist
  kListErrNoRoom = -200,         // the wrap column leaves no room (a row range)
  kListErrDeleteNoSelection = -300,  // deleting selected rows with none selected
  kListErrClipboardBusy = -400,  // another program held the clipboard
  kListErrNoMemory = -401,       // the output does not fit in memory
};
extern int g_listError;

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
// Drops the characters of a vi-like command typed so far.
void ResetPendingKeys();

// The commands of the list's context menu, as WM_COMMAND ids of the list
// window.
enum ListMenuCommand : int {
  kMenuQuotedPaste = 1100,
  kMenuQuotedCopy = 1101,
  kMenuPaste = 1102,
  kMenuCopy = 1103,
  kMenuDelete = 1104,
  kMenuPutBelow = 1105,
  kMenuPutAbove = 1106,
  kMenuEdit = 1107,
  kMenuView = 1108,
  kMenuSelectAll = 1150,
};

// The list's context menu, at the place ListMenuAnchor gives
// (context_menu.cpp), and its commands; false for an id that is none of
// them.
void ShowListMenu(HWND listWnd, LPARAM messagePoint);
// The menu for a row, or for the space below the rows.
HMENU BuildListMenu(bool onRow, bool viewerShown);
bool OnListMenuCommand(int id);
