#include "base/screen_fit.h"

namespace {

// One axis: the start and length of the window within [lo, hi).
void FitAxis(int* start, int* length, int lo, int hi) {
  if (*length > hi - lo) *length = hi - lo;
  if (*start + *length > hi) *start = hi - *length;
  if (*start < lo) *start = lo;
}

}  // namespace

ScreenRect FitWithin(ScreenRect window, ScreenRect area) {
  int x = window.left, w = window.right - window.left;
  int y = window.top, h = window.bottom - window.top;
  FitAxis(&x, &w, area.left, area.right);
  FitAxis(&y, &h, area.top, area.bottom);
  return {x, y, x + w, y + h};
}
