// Calling up the history list for the window the user is working in, and
// taking the choice back there: ShowList remembers the control that has
// the keyboard focus, HideAndPaste hides the list and pastes into that
// control (output/paste.h).
#pragma once

#include <windows.h>

#include "output/paste.h"

// What the next OK command of the list does after copying.
constexpr int kOutputNone = 0;  // not chosen yet: the OK command pastes
constexpr int kOutputCopy = 1;
constexpr int kOutputPaste = 2;

// HideAndPaste modes.
constexpr int kPasteMode = 1;  // paste if the output action is kOutputPaste
constexpr int kHideOnly = 2;   // never paste

// The control that had the keyboard focus when the list was called up;
// null once the user has switched to another program.
extern HWND g_targetFocus;
extern int g_outputAction;
// Set by a command that has already put its text on the clipboard, so
// that the OK command does not copy again.
extern bool g_clipReady;
// Shift, Ctrl and Alt as the list view last saw them.
extern HeldModifiers g_held;

// Shows the list (or, when it is shown, brings it to the front again).
void ShowList();
// The same, on the fixed phrases.
void ShowPhraseList();

// Hides the list and, in kPasteMode with the output action kOutputPaste,
// pastes the clipboard into the remembered control. With `actv_hide` set
// to stay, a paste shows the list again afterwards.
void HideAndPaste(HWND listWnd, int mode);

// Takes the list and the edit dialog off the screen for the rest of the
// run (a fatal error). They are hidden, not destroyed: the save at
// shutdown still reads the history's rows.
void PutListAway();
