// The two pop-up windows (the history list and the simple edit dialog)
// keep their place in the settings record: left, top, width and height
// of the outer window.
#pragma once

#include <windows.h>

// Moves the window to x, y, w, h without activating it: above every
// window when `topmost`, otherwise in front of the normal windows, taken
// out of the topmost band if it was there before (HWND_TOP alone would
// leave it above everything after the settings changed). A place that
// lies on no monitor is replaced by the same size wholly on the nearest
// monitor's work area.
void PlaceWindow(HWND hwnd, int x, int y, int w, int h, bool topmost);

// The window's outer position, and its outer size; left as they are
// while the window stands where PlaceWindow moved it off a stored place
// that was off the screen (the stored place is the user's, not ours).
void KeepPosition(HWND hwnd, int* x, int* y);
void KeepSize(HWND hwnd, int* w, int* h);
