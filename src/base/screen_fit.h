// Bringing a window back onto the screen, without any window system: a
// place remembered from a monitor that is gone, or from another
// resolution, must not show the window where nobody can see it.
#pragma once

struct ScreenRect {
  int left, top, right, bottom;
  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The window moved to lie wholly within `area` (a monitor's work area),
// keeping its size; only a window larger than the area is made smaller.
ScreenRect FitWithin(ScreenRect window, ScreenRect area);
