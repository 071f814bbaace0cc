#pragma once

#include <cstdint>
#include <optional>

// The preview form's size inside the window the system gives it. The form's size is set in
// twips held as 16-bit integers, so an area wider or taller than 32767 twips cannot be set and
// the form keeps its design size.
struct PreviewFrame {
    int width = 0;   // pixels
    int height = 0;  // pixels
};

std::optional<PreviewFrame> PreviewFrameFor(int widthPixels, int heightPixels, int twipsPerPixelX,
                                            int twipsPerPixelY);
