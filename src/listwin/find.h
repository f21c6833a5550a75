// Finding entries by their text: the find bar at the bottom of the list
// window (opened by / and ? in the vi-like modes, Ctrl+F in the standard
// mode), and the search again (n and N, F3 and Shift+F3). The last
// pattern stays until the program ends. Searching changes no entry.
#pragma once

#include <windows.h>

// Opens the bar for a search down (forward) or up the list.
void OpenFindBar(bool forward);
bool FindBarOpen();
// Closes it as Escape does.
void CloseFindBar();
// The bar's strip at the bottom of the list window's client area, when
// the window lays out its list view: the view ends where the bar begins.
int FindBarHeight();
void PlaceFindBar(const RECT& listView);

// The last pattern again from the row after the cursor (before it when
// `reverse`), `count` times (0: once). False, the cursor staying, when
// there is no pattern yet or no row holds it.
bool FindAgain(bool reverse, long long count);
