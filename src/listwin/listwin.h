// The history list window: a modeless dialog whose list view holds the
// rows of the history, one per entry, in history order. It is called up
// by ShowList and dismissed by HideAndPaste or DismissList (show_list.h).
#pragma once

#include <windows.h>

#include "listwin/list_state.h"

// Creates the window hidden, from its template.
HWND CreateListWindow();

// The window, null when there is none, and whether it is meant to be on
// screen (an appearance runs from ShowList to the HideAndPaste or
// DismissList that leaves it hidden).
HWND ListWindowHandle();
bool ListShown();

// Turns the order of the rows around (newest first <-> oldest first).
void ReverseHistoryOrder();
