#pragma once

// The 2-D drawing area for a window's aspect ratio: it always holds the rectangle from -4/3 to
// 4/3 across and -1 to 1 up; a wider window sees more to the sides, a narrower one more above
// and below.
struct ProjectionBounds {
    double left, right, bottom, top;
};

ProjectionBounds ProjectionFor(float aspect);

// Width over height; a zero side (a minimised window) counts as one pixel so that the ratio
// stays finite.
float AspectOf(int width, int height);
