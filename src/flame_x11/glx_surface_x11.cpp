#include "glx_surface_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

int lastXError = 0;

// Errors of single requests (a window that vanished, say) are recorded and answered by the
// caller instead of ending the process as Xlib's default handler would.
int RecordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

[[noreturn]] int ExitOnLostDisplay(Display*) {
    std::fputs("lullvane-flame: lost the connection to the X display\n", stderr);
    _exit(1);
}

std::string Hex(unsigned long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", value);
    return text;
}

bool DrawableVisual(Display* display, XVisualInfo* visual) {
    int useGl = 0, rgba = 0, doubleBuffer = 0;
    return glXGetConfig(display, visual, GLX_USE_GL, &useGl) == 0 && useGl &&
           glXGetConfig(display, visual, GLX_RGBA, &rgba) == 0 && rgba &&
           glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer) == 0 && doubleBuffer;
}

// The visual of a window we were given, if OpenGL can draw double-buffered RGBA into it.
XVisualInfo* HostVisual(Display* display, Window window, std::string& error) {
    XWindowAttributes attributes;
    TakeXError();
    if (!XGetWindowAttributes(display, window, &attributes) || TakeXError() != 0) {
        error = "there is no window " + Hex(window) + " on the display";
        return nullptr;
    }
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (visual && DrawableVisual(display, visual)) return visual;
    if (visual) XFree(visual);
    error = "window " + Hex(window) + " has no double-buffered RGBA OpenGL visual";
    return nullptr;
}

void SetAtomsProperty(Display* display, Window window, const char* property,
                      std::initializer_list<const char*> names) {
    Atom atoms[4];
    int count = 0;
    for (const char* name : names) atoms[count++] = XInternAtom(display, name, False);
    XChangeProperty(display, window, XInternAtom(display, property, False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(atoms), count);
}

// Borderless, full screen and above the others, as window managers that follow the usual hints
// understand it; without a window manager the geometry alone does it.
void MakeFullScreen(Display* display, Window window) {
    SetAtomsProperty(display, window, "_NET_WM_STATE",
                     {"_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_ABOVE"});
    const long noDecorations[5] = {2, 0, 0, 0, 0};  // flags: decorations; decorations: none
    const Atom motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, window, motifHints, motifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(noDecorations), 5);
}

void HideCursor(Display* display, Window window) {
    static const char blank[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display, window, blank, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XDefineCursor(display, window, cursor);
    XFreeCursor(display, cursor);
    XFreePixmap(display, pixmap);
}

Window CreateOwnWindow(Display* display, XVisualInfo* visual, int width, int height,
                       bool fullScreen) {
    const Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(display, visual->screen);
    attributes.border_pixel = 0;
    attributes.event_mask = KeyPressMask | FocusChangeMask | StructureNotifyMask;
    const Window window =
        XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, visual->depth, InputOutput, visual->visual,
                      CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    XStoreName(display, window, "lullvane-flame");
    XClassHint classHint{const_cast<char*>("lullvane-flame"), const_cast<char*>("Lullvane")};
    XSetClassHint(display, window, &classHint);
    if (fullScreen) {
        MakeFullScreen(display, window);
        HideCursor(display, window);
    } else {
        XSizeHints hints{};
        hints.flags = PPosition | PSize;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(display, window, &hints);
    }
    return window;
}

}  // namespace

int TakeXError() {
    const int error = lastXError;
    lastXError = 0;
    return error;
}

bool OpenGlxSurface(const FlameOptions& options, GlxSurface& surface, std::string& error) {
    const char* displayName = options.display.empty() ? nullptr : options.display.c_str();
    surface.display = XOpenDisplay(displayName);
    if (!surface.display) {
        error = std::string("cannot open the X display \"") + XDisplayName(displayName) + "\"";
        return false;
    }
    XSetErrorHandler(RecordXError);
    XSetIOErrorHandler(ExitOnLostDisplay);
    Display* display = surface.display;

    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(display, &errorBase, &eventBase)) {
        error =
            std::string("the X display \"") + DisplayString(display) + "\" has no GLX extension";
        CloseGlxSurface(surface);
        return false;
    }

    XVisualInfo* visual = nullptr;
    if (options.mode == FlameMode::Hosted) {
        surface.window = options.hostWindow ? *options.hostWindow : DefaultRootWindow(display);
        visual = HostVisual(display, surface.window, error);
        if (!visual) {
            CloseGlxSurface(surface);
            return false;
        }
        // Follow the window's size and notice when it goes.
        XSelectInput(display, surface.window, StructureNotifyMask);
        XWindowAttributes attributes;
        XGetWindowAttributes(display, surface.window, &attributes);
        surface.width = attributes.width;
        surface.height = attributes.height;
    } else {
        int attributes[] = {
            GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
        visual = glXChooseVisual(display, DefaultScreen(display), attributes);
        if (!visual) {
            error = "the X display has no double-buffered RGBA OpenGL visual";
            CloseGlxSurface(surface);
            return false;
        }
        const bool wholeScreen = options.width == 0;
        surface.width = wholeScreen ? DisplayWidth(display, visual->screen) : options.width;
        surface.height = wholeScreen ? DisplayHeight(display, visual->screen) : options.height;
        surface.window = CreateOwnWindow(display, visual, surface.width, surface.height,
                                         options.mode == FlameMode::FullScreen);
        surface.ownWindow = true;
        surface.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, surface.window, &surface.deleteWindow, 1);
    }

    surface.context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (!surface.context || !glXMakeCurrent(display, surface.window, surface.context)) {
        error = "cannot make an OpenGL context for the window";
        CloseGlxSurface(surface);
        return false;
    }
    if (surface.ownWindow) XMapRaised(display, surface.window);
    XSync(display, False);
    return true;
}

void CloseGlxSurface(GlxSurface& surface) {
    if (!surface.display) return;
    if (surface.context) {
        glXMakeCurrent(surface.display, None, nullptr);
        glXDestroyContext(surface.display, surface.context);
    }
    if (surface.ownWindow) XDestroyWindow(surface.display, surface.window);
    XCloseDisplay(surface.display);
    surface = GlxSurface{};
}
