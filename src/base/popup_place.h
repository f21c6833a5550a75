// Where a pop-up window goes when it is called up at the text caret or
// at the mouse pointer, without any window system: the rule alone, fed
// with the monitors' rectangles and densities.
#pragma once

#include <cstddef>

#include "base/screen_fit.h"

struct MonitorArea {
  ScreenRect monitor;  // the whole monitor
  ScreenRect work;     // what the taskbar and docked bars leave of it
  int dpi;
};

// The window's outer rectangle. `anchor` is the caret's rectangle (the
// window goes below it, or above it when there is no room below), or a
// point given as an empty rectangle (the window's top-left corner goes
// there). Across, the window starts at the anchor's left edge, or ends
// there when there is no room to the right. The
// window is `w` by `h` pixels at `sizeDpi`, scaled to the density of the
// monitor that holds the anchor's top-left corner (or the nearest one),
// and lies wholly in that monitor's work area, made smaller only where
// it is larger than the area. With no monitor at all, the window stays
// at the anchor.
ScreenRect PlacePopup(ScreenRect anchor, int w, int h, int sizeDpi, const MonitorArea* monitors,
                      std::size_t count);

// The index of the monitor holding the point, else of the nearest one;
// count when there is none.
std::size_t MonitorAt(int x, int y, const MonitorArea* monitors, std::size_t count);
