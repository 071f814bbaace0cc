#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

#include "flame_options.h"

// The X display, the window the flame draws into (its own, or one it was given) and the GLX
// context made current for it.
struct GlxSurface {
    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false;
    GLXContext context = nullptr;
    Atom deleteWindow = 0;  // WM_DELETE_WINDOW
    int width = 0, height = 0;
};

// Opens the display and makes the surface the options ask for. On failure the surface holds
// nothing and `error` says why in one line.
bool OpenGlxSurface(const FlameOptions& options, GlxSurface& surface, std::string& error);

// Releases the context, our own window and the display.
void CloseGlxSurface(GlxSurface& surface);

// The X error code of the last failed request since the previous call, or 0.
int TakeXError();
