// The history list window: a modeless dialog whose list view holds the
// rows of the history, one per entry, in history order. It is called up
// by ShowList and dismissed by HideAndPaste (show_list.h).
#pragma once

#include <windows.h>

#include "listwin/list_state.h"


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
  // Not the list's own: handed to the main window, which also runs it
  // from the tray menu (capture is the main window's).
  kMenuSkipNextCopy = 1160,
};

// The list's context menu, at the place ListMenuAnchor gives
// (context_menu.cpp), and its commands; false for an id that is none of
// them.
void ShowListMenu(HWND listWnd, LPARAM messagePoint);
// The menu for a row, or for the space below the rows.
HMENU BuildListMenu(bool onRow, bool viewerShown);
bool OnListMenuCommand(int id);
