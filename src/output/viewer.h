// The simple edit dialog: shows and edits the full text of the entry at
// the list's cursor. Created once, hidden, and then only shown and hidden.
#pragma once

#include <windows.h>

extern HWND g_hViewer;      // null once destroyed
extern bool g_viewerShown;  // the dialog is meant to be on screen

HWND CreateViewer();
