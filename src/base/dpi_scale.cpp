#include "base/dpi_scale.h"

namespace {

int Positive(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

}  // namespace

int ScaleForDpi(int value, int fromDpi, int toDpi) {
  const long long from = Positive(fromDpi), to = Positive(toDpi);
  const long long v = value;
  const long long scaled = v >= 0 ? (v * to + from / 2) / from : -((-v * to + from / 2) / from);
  return static_cast<int>(scaled);
}

ScreenRect ScaleSize(ScreenRect rect, int fromDpi, int toDpi) {
  return {rect.left, rect.top, rect.left + ScaleForDpi(rect.right - rect.left, fromDpi, toDpi),
          rect.top + ScaleForDpi(rect.bottom - rect.top, fromDpi, toDpi)};
}
