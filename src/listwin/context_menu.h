// The list's context menu: for a row, its commands (paste, copy, delete,
// put, view, edit, quoted paste and copy); below the rows, select all;
// below either, "don't record the next copy".
#pragma once

#include <windows.h>

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
  kMenuAddPhrase = 1109,
  kMenuSelectAll = 1150,
  kMenuNewPhrase = 1151,
  // Not the list's own: handed to the main window, which also runs it
  // from the tray menu (capture is the main window's).
  kMenuSkipNextCopy = 1160,
};

// The menu at the place ListMenuAnchor gives, and its commands; false
// for an id that is none of them.
void ShowListMenu(HWND listWnd, LPARAM messagePoint);
// The menu for a row, or for the space below the rows.
HMENU BuildListMenu(bool onRow, bool viewerShown);
bool OnListMenuCommand(int id);

// Where the list's context menu opens, in screen coordinates, for a
// WM_CONTEXTMENU whose point is `messagePoint`: the click point; for a
// request from the keyboard (Shift+F10, the menu key), which carries no
// point, the cursor row, or the list's top-left corner when no row has
// the cursor. `row` receives the row at that place, -1 for none.
POINT ListMenuAnchor(HWND list, LPARAM messagePoint, int* row);
