// Finding entries by their text: the find bar at the bottom of the list
// window (opened by / and ? in the vi-like modes, Ctrl+F in the standard
// mode), and the search again (n and N, F3 and Shift+F3). The last
// pattern stays until the program ends. Searching changes no entry.
#pragma once

#include <windows.h>

#include <string>

// Opens the bar for a search down (forward) or up the list.
void OpenFindBar(bool forward);
bool FindBarOpen();
// Closes it as Escape does.
void CloseFindBar();
// Says the text in the bar's line for a few seconds, while the bar is
// not open (opening it ends the notice).
void ShowListNotice(const std::wstring& text);
// The bar's strip at the bottom of the list window's client area, when
// the window lays out its list view: the view ends where the bar begins.
int FindBarHeight();
void PlaceFindBar(const RECT& listView);
// The bar takes the list's font again (the density changed).
void FitFindBarFont();
// Runs the search (or the count of its matches) that a key typed
// meanwhile made the bar give up, once the keys are through: to be
// called by the message loop whenever the thread's queue is empty. True
// when there was one to run (it may have been given up again).
bool RunOwedSearch();

// The last pattern again from the row after the cursor (before it when
// `reverse`), `count` times (0: once). False, the cursor staying, when
// there is no pattern yet or no row holds it. It takes one pass over the
// rows at most, and with a count a key typed meanwhile ends it.
bool FindAgain(bool reverse, long long count);
