#pragma once

#include <windows.h>

#include <functional>

namespace forms {

class Surface;

// Mouse buttons as the mouse events name them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// A control without a window of its own (label, image, shape): its container draws it over the
// container's background, in the order the controls were added, and hands it the mouse.
class WindowlessControl {
  public:
    WindowlessControl() = default;
    virtual ~WindowlessControl();
    WindowlessControl(const WindowlessControl&) = delete;
    WindowlessControl& operator=(const WindowlessControl&) = delete;

    // A mouse button went down over the control (kLeftButton, kRightButton, kMiddleButton).
    std::function<void(int button)> MouseDown;
    // The left button went down and came up over the control.
    std::function<void()> Click;

    // Frame in pixels, in the container's client area.
    void Move(int x, int y, int width, int height);
    const RECT& Frame() const { return frame_; }

    // The mouse pointer over the control; null for the container's own.
    void SetPointer(HCURSOR pointer) { this->pointer_ = pointer; }
    HCURSOR Pointer() const { return pointer_; }

    // Whether the control takes mouse input at all (a shape does not).
    virtual bool TakesMouse() const { return true; }
    virtual void Paint(HDC dc) const = 0;

  protected:
    // Redraws the control's frame on its container.
    void Invalidate() const;
    void SetFrame(const RECT& newFrame);

  private:
    friend class Surface;
    Surface* surface_ = nullptr;
    RECT frame_{};
    HCURSOR pointer_ = nullptr;
};

}  // namespace forms
