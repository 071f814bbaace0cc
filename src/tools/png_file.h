#pragma once

#include <string>

#include "raster.h"

// Writes the canvas as an 8-bit RGB PNG; false when the file cannot be written.
bool WritePng(const Canvas& canvas, const std::string& path);
