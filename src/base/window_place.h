// The two pop-up windows (the history list and the simple edit dialog)
// keep their place in the settings record: left, top, width and height
// of the outer window.
#pragma once

#include <windows.h>

#include "base/screen_fit.h"

// Moves the window to x, y, w, h without activating it: above every
// window when `topmost`, otherwise in front of the normal windows, taken
// out of the topmost band if it was there before (HWND_TOP alone would
// leave it above everything after the settings changed). A place that
// lies on no monitor is replaced by the same size wholly on the nearest
// monitor's work area. The size is pixels at `dpi`: on a monitor of
// another density it is scaled by the ratio.
void PlaceWindow(HWND hwnd, int x, int y, int w, int h, int dpi, bool topmost);

// The same, but at the caret's rectangle or a point (base/popup_place.h):
// a place that is not the stored one, which KeepPosition and KeepSize
// leave alone until the user moves the window.
void PlaceWindowAt(HWND hwnd, ScreenRect anchor, int w, int h, int dpi, bool topmost);

// The window's outer position, and its outer size; left as they are
// while the window stands where PlaceWindow moved it off a stored place
// that was off the screen (the stored place is the user's, not ours).
void KeepPosition(HWND hwnd, int* x, int* y);

// Moves the window to the rectangle WM_DPICHANGED suggests, unless the
// change comes from placing it here: that place is already sized for the
// monitor, and the suggestion would scale it a second time.
void TakeSuggestedRect(HWND hwnd, LPARAM suggested);
// Also gives the density the size is pixels of; false when it left them.
bool KeepSize(HWND hwnd, int* w, int* h, int* dpi);
