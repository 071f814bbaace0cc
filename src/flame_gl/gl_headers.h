#pragma once

// OpenGL 1.1 and GLU. MinGW-w64's GL header brings in windows.h itself; keep its macros tame.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#endif
#include <GL/gl.h>
#include <GL/glu.h>
