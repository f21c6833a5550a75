// The two lists one window shows, the history and the fixed phrases: the
// tab row that names the list shown, and the switch between them, which
// keeps each list's cursor, selection and marks for when it comes back.
#pragma once

#include <windows.h>

struct ListRows;

// Makes the tab row 「履歴」「定型文」 at the top of the list window.
void MakeListTabs(HWND listWnd);
// The height the tab row takes above the list view.
int ListTabsHeight();
// Places it across the top, as wide as the view below it.
void PlaceListTabs(int left, int top, int width);

// Shows the list's rows in the window (nothing happens when it shows them
// already): the find bar closes, a command typed half way is dropped, and
// the edit dialog, which follows the rows, is hidden.
void ShowRowsOf(ListRows& rows);
// The other list (Ctrl+Tab, Ctrl+Shift+Tab, a click on its tab).
void ShowOtherList();
bool ShowingPhrases();

// Sets the caption to the one-line key help of the key mode, naming the
// list shown.
void SetListTitle(HWND hwnd, int key);

// A notification from the tab row; false for any other.
bool OnListTabsNotify(const NMHDR* header);
