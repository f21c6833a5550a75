// Bringing a window whose stored place is off the screen back onto it.
#include <gtest/gtest.h>

#include "base/screen_fit.h"

TEST(ScreenFit, KeepsTheSizeAndMovesTheWindowWhollyIntoTheArea) {
  const ScreenRect area = {0, 0, 1280, 994};  // a work area above a taskbar
  const struct {
    ScreenRect window, expected;
  } cases[] = {
      {{3000, 2600, 3500, 3000}, {780, 594, 1280, 994}},   // off to the right and below
      {{-900, -700, -400, -300}, {0, 0, 500, 400}},        // off to the left and above
      {{100, 900, 600, 1300}, {100, 594, 600, 994}},       // partly under the taskbar
      {{100, 100, 600, 500}, {100, 100, 600, 500}},        // already inside: unchanged
      {{-50, 10, 2000, 1200}, {0, 0, 1280, 994}},          // larger than the area
  };
  for (const auto& c : cases) {
    const ScreenRect got = FitWithin(c.window, area);
    EXPECT_TRUE(got == c.expected) << c.window.left << "," << c.window.top << " -> " << got.left
                                   << "," << got.top << " " << got.right << "," << got.bottom;
  }
}
