"""A plain X window of the test's own, made through Xlib with ctypes: something for
lullvane-flame to draw into, to resize, to give the focus to and to destroy."""

import ctypes
import ctypes.util

_xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xlib.XOpenDisplay.restype = ctypes.c_void_p
_xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
_xlib.XDefaultRootWindow.restype = ctypes.c_ulong
_xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
_xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                      ctypes.c_ulong]
for _name, _args in {"XMapWindow": [ctypes.c_ulong], "XDestroyWindow": [ctypes.c_ulong],
                     "XResizeWindow": [ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint],
                     "XSetInputFocus": [ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong],
                     "XSync": [ctypes.c_int], "XCloseDisplay": []}.items():
    getattr(_xlib, _name).argtypes = [ctypes.c_void_p, *_args]

REVERT_TO_PARENT = 2
CURRENT_TIME = 0


class XWindow:
    """A black top-level window at the top-left corner of the display, mapped."""

    def __init__(self, display, width, height):
        self._display = _xlib.XOpenDisplay(display.encode())
        if not self._display:
            raise RuntimeError(f"cannot open display {display}")
        root = _xlib.XDefaultRootWindow(self._display)
        self.id = _xlib.XCreateSimpleWindow(self._display, root, 0, 0, width, height, 0, 0, 0)
        _xlib.XMapWindow(self._display, self.id)
        _xlib.XSync(self._display, 0)

    def resize(self, width, height):
        _xlib.XResizeWindow(self._display, self.id, width, height)
        _xlib.XSync(self._display, 0)

    def focus(self):
        _xlib.XSetInputFocus(self._display, self.id, REVERT_TO_PARENT, CURRENT_TIME)
        _xlib.XSync(self._display, 0)

    def destroy(self):
        if self.id:
            _xlib.XDestroyWindow(self._display, self.id)
            _xlib.XSync(self._display, 0)
            self.id = 0

    def close(self):
        self.destroy()
        if self._display:
            _xlib.XCloseDisplay(self._display)
            self._display = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
