// Sizes between screens of different pixel density, without any window
// system. Sizes the program chooses are given for 96 DPI (100 %); a size
// the user made is kept in pixels together with the DPI it was made at.
#pragma once

#include "base/screen_fit.h"

constexpr int kBaseDpi = 96;

// `value` pixels at `fromDpi` as pixels at `toDpi`, rounded to the
// nearest pixel (halves away from zero). A DPI that is not positive (an
// old settings file without one, a failed query) counts as 96.
int ScaleForDpi(int value, int fromDpi, int toDpi);

// A 96-DPI length for a screen of `dpi`.
inline int ForDpi(int value96, int dpi) { return ScaleForDpi(value96, kBaseDpi, dpi); }

// The rectangle's size at `toDpi`, its top-left corner kept.
ScreenRect ScaleSize(ScreenRect rect, int fromDpi, int toDpi);
