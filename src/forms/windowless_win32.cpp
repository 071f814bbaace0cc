#include "windowless_win32.h"

#include "surface_win32.h"

namespace forms {

WindowlessControl::~WindowlessControl() {
    if (surface_) surface_->Remove(*this);
}

void WindowlessControl::Move(int x, int y, int width, int height) {
    SetFrame({x, y, x + width, y + height});
}

void WindowlessControl::SetFrame(const RECT& newFrame) {
    Invalidate();
    frame_ = newFrame;
    Invalidate();
}

void WindowlessControl::Invalidate() const {
    if (surface_) surface_->Invalidate(frame_);
}

}  // namespace forms
