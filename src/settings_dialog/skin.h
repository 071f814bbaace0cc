#pragma once

#include <cstdint>
#include <vector>

// The dialog's painted background: horizontal one-pixel lines whose brightness follows half a
// sine wave from the top edge to the bottom edge.
struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

enum class SkinSurface {
    Dialog,  // dark blue at the edges, pale lavender in the middle
    Panel,   // near black at the edges, near white in the middle
};

// The colours of lines y = 0..height (height + 1 lines; the last lies just outside the surface).
// A surface of zero height gets no lines.
std::vector<Rgb> SkinLines(SkinSurface surface, int height);
