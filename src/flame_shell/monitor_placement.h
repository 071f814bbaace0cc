#pragma once

#include <span>

// A rectangle of the virtual screen as the system reports a monitor: right and bottom exclusive.
// A secondary monitor left of or above the primary has negative coordinates.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Monitor {
    ScreenRect rect;
    bool primary = false;
};

// Part of a window as glViewport takes it: from the window's bottom-left corner, rows upwards.
struct Viewport {
    int x = 0, y = 0, width = 0, height = 0;
};

// A screen saver's window covers every monitor, so that none keeps showing the desktop; the
// flame is drawn on the primary monitor alone, in that monitor's aspect, and the rest is black.
struct FlamePlacement {
    ScreenRect window;  // the bounding box of all monitors: the virtual screen
    Viewport flame;     // the primary monitor within the window
};

// The primary is the monitor flagged so, else the one at the origin (where the system puts the
// primary), else the first. With a single monitor the window is that monitor and the flame fills
// it. No monitor gives an empty placement.
FlamePlacement PlaceFlame(std::span<const Monitor> monitors);
