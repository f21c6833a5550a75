// Sizes between densities, and where a list called up at the caret or
// the mouse goes.
#include <gtest/gtest.h>

#include "base/dpi_scale.h"
#include "base/popup_place.h"

TEST(DpiScale, ScalesSizesAndRoundsToTheNearestPixel) {
  const struct {
    int value, from, to, expected;
  } cases[] = {
      {334, 96, 144, 501}, {233, 96, 144, 350},  // 349.5 rounds up
      {501, 144, 96, 334}, {24, 96, 120, 30},   {16, 96, 144, 24},
      {-25, 96, 144, -38}, {334, 0, 144, 501},  // no DPI stored: 96
      {100, 192, 0, 50},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScaleForDpi(c.value, c.from, c.to), c.expected)
        << c.value << " " << c.from << "->" << c.to;
  const ScreenRect r = ScaleSize({-100, 50, 234, 283}, 96, 144);
  EXPECT_TRUE(r == (ScreenRect{-100, 50, 401, 400}))
      << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
}

TEST(PopupPlace, LiesWhollyInTheWorkAreaOfTheMonitorAtTheAnchor) {
  // A 96-DPI monitor with a taskbar below, and a 144-DPI one to its right.
  const MonitorArea monitors[] = {{{0, 0, 1280, 1024}, {0, 0, 1280, 984}, 96},
                                  {{1280, 0, 3200, 1200}, {1280, 0, 3200, 1200}, 144}};
  const struct {
    const char* what;
    ScreenRect anchor;
    int w, h, dpi;
    ScreenRect expected;
  } cases[] = {
      {"below the caret", {100, 200, 102, 216}, 334, 233, 96, {100, 216, 434, 449}},
      {"at the pointer", {100, 200, 100, 200}, 334, 233, 96, {100, 200, 434, 433}},
      {"above a caret near the taskbar", {100, 900, 102, 916}, 334, 233, 96, {100, 667, 434, 900}},
      {"left of a pointer at the right edge", {1200, 10, 1200, 10}, 334, 233, 96,
       {866, 10, 1200, 243}},
      {"kept off the left and top edges", {-40, -30, -40, -30}, 334, 233, 96, {0, 0, 334, 233}},
      {"never across onto the other monitor", {1270, 500, 1272, 516}, 334, 233, 96,
       {936, 516, 1270, 749}},
      {"scaled on the denser monitor", {1300, 100, 1300, 100}, 334, 233, 96,
       {1300, 100, 1801, 450}},
      {"a size stored at 144 on the 96 monitor", {10, 10, 10, 10}, 501, 350, 144,
       {10, 10, 344, 243}},
      {"larger than the area", {50, 50, 50, 50}, 2000, 1100, 96, {0, 0, 1280, 984}},
      {"off every monitor: the nearest", {5000, 300, 5000, 300}, 334, 233, 96,
       {2699, 300, 3200, 650}},
  };
  for (const auto& c : cases) {
    const ScreenRect got = PlacePopup(c.anchor, c.w, c.h, c.dpi, monitors, 2);
    EXPECT_TRUE(got == c.expected) << c.what << ": " << got.left << "," << got.top << " "
                                   << got.right << "," << got.bottom;
  }
}
