// Calling up the history list for the window the user is working in, and
// taking the choice back there: ShowList remembers the control that has
// the keyboard focus, HideAndPaste hides the list and pastes into that
// control (output/paste.h).
#pragma once

#include <windows.h>

#include "listwin/list_state.h"
#include "output/paste.h"

// HideAndPaste modes.
constexpr int kPasteMode = 1;  // paste if the output action is kOutputPaste
constexpr int kHideOnly = 2;   // never paste

// Shows the list (or, when it is shown, brings it to the front again).
void ShowList();

// Hides the list and, in kPasteMode with the output action kOutputPaste,
// pastes the clipboard into the remembered control. With `actv_hide` set
// to stay, a paste shows the list again afterwards.
void HideAndPaste(HWND listWnd, int mode);

// Takes the list and the edit dialog off the screen for the rest of the
// run (a fatal error). They are hidden, not destroyed: the save at
// shutdown still reads the history's rows.
void PutListAway();
