#include "windowless_win32.h"

#include "surface_win32.h"

namespace forms {

WindowlessControl::~WindowlessControl() {
    if (surface) surface->Remove(*this);
}

void WindowlessControl::Move(int x, int y, int width, int height) {
    SetFrame({x, y, x + width, y + height});
}

void WindowlessControl::SetFrame(const RECT& newFrame) {
    Invalidate();
    frame = newFrame;
    Invalidate();
}

void WindowlessControl::Invalidate() const {
    if (surface) surface->Invalidate(frame);
}

}  // namespace forms
