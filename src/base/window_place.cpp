#include "base/window_place.h"

#include <vector>

#include "base/dpi.h"
#include "base/popup_place.h"
#include "base/screen_fit.h"

namespace {

// Windows placed elsewhere than their stored place because that place
// was off every screen, and where they were put: until the user moves
// such a window, its stored place stays as it was.
struct Fitted {
  HWND hwnd;
  RECT place;
};
std::vector<Fitted> g_fitted;
// While PlaceWindow or PlaceWindowAt moves a window.
bool g_placing = false;

void Forget(HWND hwnd) {
  for (auto it = g_fitted.begin(); it != g_fitted.end(); ++it) {
    if (it->hwnd == hwnd) {
      g_fitted.erase(it);
      return;
    }
  }
}

bool StillWhereFitted(HWND hwnd) {
  RECT now;
  if (!GetWindowRect(hwnd, &now)) return false;
  for (const Fitted& f : g_fitted)
    if (f.hwnd == hwnd) return EqualRect(&now, &f.place) != FALSE;
  return false;
}

// The stored rectangle, its size scaled to the density of the monitor
// it lies on, or, when it lies on no monitor, the same size wholly within
// the work area of the monitor nearest to it.
RECT OnScreen(int x, int y, int w, int h, int dpi) {
  RECT r = {x, y, x + w, y + h};
  const int there = MonitorDpi(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
  r.right = x + ScaleForDpi(w, dpi, there);
  r.bottom = y + ScaleForDpi(h, dpi, there);
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return r;
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return r;
  const RECT& work = info.rcWork;
  const ScreenRect fit = FitWithin({r.left, r.top, r.right, r.bottom},
                                   {work.left, work.top, work.right, work.bottom});
  return {fit.left, fit.top, fit.right, fit.bottom};
}

HWND ZOrder(HWND hwnd, bool topmost) {
  if (topmost) return HWND_TOPMOST;
  if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) return HWND_NOTOPMOST;
  return HWND_TOP;
}

void MoveTo(HWND hwnd, const RECT& place, bool stored, bool topmost) {
  Forget(hwnd);
  if (!stored) g_fitted.push_back({hwnd, place});
  g_placing = true;
  SetWindowPos(hwnd, ZOrder(hwnd, topmost), place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOACTIVATE);
  g_placing = false;
}

}  // namespace

void PlaceWindow(HWND hwnd, int x, int y, int w, int h, int dpi, bool topmost) {
  const RECT place = OnScreen(x, y, w, h, dpi);
  MoveTo(hwnd, place,
         place.left == x && place.top == y && place.right - place.left == w &&
             place.bottom - place.top == h,
         topmost);
}

void PlaceWindowAt(HWND hwnd, ScreenRect anchor, int w, int h, int dpi, bool topmost) {
  const std::vector<MonitorArea> monitors = Monitors();
  const ScreenRect r = PlacePopup(anchor, w, h, dpi, monitors.data(), monitors.size());
  MoveTo(hwnd, {r.left, r.top, r.right, r.bottom}, false, topmost);
}

void KeepPosition(HWND hwnd, int* x, int* y) {
  if (StillWhereFitted(hwnd)) return;
  Forget(hwnd);
  RECT outer;
  GetWindowRect(hwnd, &outer);
  *x = outer.left;
  *y = outer.top;
}

bool KeepSize(HWND hwnd, int* w, int* h, int* dpi) {
  if (StillWhereFitted(hwnd)) return false;
  Forget(hwnd);
  RECT outer;
  GetWindowRect(hwnd, &outer);
  *w = outer.right - outer.left;
  *h = outer.bottom - outer.top;
  *dpi = WindowDpi(hwnd);
  return true;
}

void TakeSuggestedRect(HWND hwnd, LPARAM suggested) {
  if (g_placing) return;
  const RECT* r = reinterpret_cast<const RECT*>(suggested);
  SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}
