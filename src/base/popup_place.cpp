#include "base/popup_place.h"

#include "base/dpi_scale.h"

namespace {

// How far the point lies outside the rectangle (0 inside), along one axis.
long long Outside(int v, int lo, int hi) {
  if (v < lo) return lo - v;
  if (v >= hi) return static_cast<long long>(v) - hi + 1;
  return 0;
}

// One axis: after the anchor's far edge, or, when that leaves the window
// over the area's end, before the anchor's near edge; then within the area.
int Along(int nearEdge, int farEdge, int* length, int lo, int hi) {
  if (*length > hi - lo) *length = hi - lo;
  int start = farEdge;
  if (start + *length > hi) start = nearEdge - *length;
  if (start + *length > hi) start = hi - *length;
  if (start < lo) start = lo;
  return start;
}

}  // namespace

std::size_t MonitorAt(int x, int y, const MonitorArea* monitors, std::size_t count) {
  std::size_t best = count;
  long long bestDistance = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const ScreenRect& m = monitors[i].monitor;
    const long long dx = Outside(x, m.left, m.right), dy = Outside(y, m.top, m.bottom);
    const long long d = dx * dx + dy * dy;
    if (best == count || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

ScreenRect PlacePopup(ScreenRect anchor, int w, int h, int sizeDpi, const MonitorArea* monitors,
                      std::size_t count) {
  const std::size_t i = MonitorAt(anchor.left, anchor.top, monitors, count);
  if (i == count) return {anchor.left, anchor.bottom, anchor.left + w, anchor.bottom + h};
  const ScreenRect& work = monitors[i].work;
  int width = ScaleForDpi(w, sizeDpi, monitors[i].dpi);
  int height = ScaleForDpi(h, sizeDpi, monitors[i].dpi);
  const int x = Along(anchor.left, anchor.left, &width, work.left, work.right);
  const int y = Along(anchor.top, anchor.bottom, &height, work.top, work.bottom);
  return {x, y, x + width, y + height};
}
