// The two pop-up windows (the history list and the simple edit dialog)
// keep their place in the settings record: left, top, width and height
// of the outer window.
#pragma once

#include <windows.h>

// Moves the window to x, y, w, h without activating it: above every
// window when `topmost`, otherwise in front of the normal windows, taken
// out of the topmost band if it was there before (HWND_TOP alone would
// leave it above everything after the settings changed).
void PlaceWindow(HWND hwnd, int x, int y, int w, int h, bool topmost);

// The window's outer position, and its outer size.
void KeepPosition(HWND hwnd, int* x, int* y);
void KeepSize(HWND hwnd, int* w, int* h);
