// The simple edit dialog: shows and edits the full text of the entry at
// the row it is given. Created once, hidden, and then only shown and
// hidden. While shown, the list tells it each row its cursor moves to; a
// changed text is stored as a new record for that row.
#pragma once

#include <windows.h>

class Store;

extern HWND g_hViewer;      // null once destroyed
extern bool g_viewerShown;  // the dialog is meant to be on screen

// The most of a record the dialog shows; a longer one is shown cut, read
// only, so that it can never be stored back shortened.
constexpr int kViewerMaxBytes = 29999;

// `returnTo` gets the keyboard back when the dialog closes; `rows` holds
// the entries it edits.
HWND CreateViewer(HWND returnTo, Store& rows);

// Shows the dialog for the row (the list's cursor row), or hides it when
// it is shown. Mode 'e' leaves the keyboard focus in the list, 'E' puts it
// into the dialog's edit box. Nothing happens for row -1.
void ToggleViewer(char mode, int row);

// Takes the dialog off the screen until it is shown for a row again.
void HideViewer();

// The dialog edits the entries of another store from now on (the list
// shows other rows); it is hidden, and shows no entry until loaded again.
void ViewerEdits(Store& rows);

// Loads the row's text into the dialog (-1: nothing happens).
void LoadViewer(int row);
