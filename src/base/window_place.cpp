#include "base/window_place.h"

void PlaceWindow(HWND hwnd, int x, int y, int w, int h, bool topmost) {
  HWND after = HWND_TOP;
  if (topmost)
    after = HWND_TOPMOST;
  else if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST)
    after = HWND_NOTOPMOST;
  SetWindowPos(hwnd, after, x, y, w, h, SWP_NOACTIVATE);
}

void KeepPosition(HWND hwnd, int* x, int* y) {
  RECT outer;
  GetWindowRect(hwnd, &outer);
  *x = outer.left;
  *y = outer.top;
}

void KeepSize(HWND hwnd, int* w, int* h) {
  RECT outer;
  GetWindowRect(hwnd, &outer);
  *w = outer.right - outer.left;
  *h = outer.bottom - outer.top;
}
