#pragma once

#include <cstdint>
#include <string>

#include "raster.h"

// Writes width x height 8-bit RGB pixels, top row first, as a PNG; false when the file cannot
// be written.
bool WritePng(int width, int height, const std::uint8_t* rgb, const std::string& path);

// Writes the canvas as an 8-bit RGB PNG; false when the file cannot be written.
bool WritePng(const Canvas& canvas, const std::string& path);
