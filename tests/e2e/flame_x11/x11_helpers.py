"""What the lullvane-flame tests share: commands run to their end, a look at the screen for the
flame, and a plain X window of the test's own to draw into, resize, focus and destroy."""

import ctypes
import ctypes.util
import subprocess

from harness import capture_screen, check, wait_for


def run(command, timeout=120, **options):
    return subprocess.run([str(part) for part in command], capture_output=True, text=True,
                          timeout=timeout, **options)


def area(pixels, width, x, y, w, h):
    """The RGB bytes of a rectangle of a picture, row after row."""
    return b"".join(pixels[3 * (width * row + x):3 * (width * row + x + w)]
                    for row in range(y, y + h))


def looks_like_flame(rgb):
    """A good part lit, no blue anywhere, red at least green everywhere."""
    reds, greens, blues = rgb[0::3], rgb[1::3], rgb[2::3]
    return (not any(blues) and all(r >= g for r, g in zip(reds, greens))
            and sum(1 for r in reds if r) > len(reds) // 20)


def wait_for_flame(display, path, what, x=0, y=0, w=None, h=None):
    """Waits until the screen, or the part of that rectangle on it, shows the flame."""
    def shown():
        width, height, pixels = capture_screen(display, path)
        return looks_like_flame(area(pixels, width, x, y, min(w or width, width - x),
                                     min(h or height, height - y)))
    wait_for(shown, 30, 0.5, f"the flame: {what}")


_X = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_X.XOpenDisplay.restype = ctypes.c_void_p
_X.XDefaultRootWindow.restype = _X.XCreateSimpleWindow.restype = ctypes.c_ulong


class XWindow:
    """A black top-level window at the top-left corner, mapped, made through Xlib; closing the
    connection at the end destroys it."""

    def __init__(self, display, width, height):
        self._display = ctypes.c_void_p(_X.XOpenDisplay(display.encode()))
        check(self._display.value, f"cannot open the display {display}")
        root = ctypes.c_ulong(_X.XDefaultRootWindow(self._display))
        self.id = _X.XCreateSimpleWindow(self._display, root, 0, 0, width, height, 0,
                                         ctypes.c_ulong(0), ctypes.c_ulong(0))
        self._request("XMapWindow")

    def _request(self, name, *arguments):
        getattr(_X, name)(self._display, ctypes.c_ulong(self.id), *arguments)
        _X.XSync(self._display, 0)

    def resize(self, width, height):
        self._request("XResizeWindow", width, height)

    def focus(self):
        self._request("XSetInputFocus", 2, ctypes.c_ulong(0))  # RevertToParent, CurrentTime

    def destroy(self):
        self._request("XDestroyWindow")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        _X.XCloseDisplay(self._display)
