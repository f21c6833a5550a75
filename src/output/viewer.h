// The simple edit dialog: shows and edits the full text of the entry at
// the list's cursor. Created once, hidden, and then only shown and hidden.
// While shown it follows the list's cursor; a changed text is stored as a
// new record for that row.
#pragma once

#include <windows.h>

extern HWND g_hViewer;      // null once destroyed
extern bool g_viewerShown;  // the dialog is meant to be on screen

// The most of a record the dialog shows; a longer one is shown cut, read
// only, so that it can never be stored back shortened.
constexpr int kViewerMaxBytes = 29999;

HWND CreateViewer();

// Shows the dialog for the cursor row, or hides it when it is shown.
// Mode 'e' leaves the keyboard focus in the list, 'E' puts it into the
// dialog's edit box. Nothing happens while no row has the cursor.
void ToggleViewer(char mode);

// Loads the row's text into the dialog (-1: nothing happens).
void LoadViewer(int row);

// Enables or disables the update button (更新).
void EnableViewerUpdate(int on);
