#pragma once

#include <windows.h>

#include "command.h"
#include "stored_values.h"

// The Command push button as a Win32 child window of the class "Torvane2.Command". It draws its
// face from the skin resources of the program, follows the mouse with its own 100 ms timer once
// initialised, takes the focus on a left press and handles no keys. The window owns the object:
// it is deleted when the window is destroyed, also from inside a Click handler.
class CommandWindow final : private CommandSurface {
  public:
    // Creates a button at (x, y) in parent's client area, width x height pixels, loads its stored
    // values (ambient: the container's font) and shows it. Null when no window could be made.
    static CommandWindow* Create(HWND parent, int controlId, int x, int y, int width, int height,
                                 const PropertyBag& stored, const CaptionFont& ambient);
    // The button behind a window made by Create, or null for any other window.
    static CommandWindow* FromHandle(HWND window);

    HWND Handle() const { return window_; }
    // Properties, Initialize and the Click handler.
    Command& Button() { return button_; }

    CommandWindow(const CommandWindow&) = delete;
    CommandWindow& operator=(const CommandWindow&) = delete;

  private:
    CommandWindow(int width, int height);
    ~CommandWindow() override;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void MouseDown(int button);
    void MouseUp(int button, WPARAM heldButtons);
    void Tick();

    // CommandSurface
    void DrawFace(const FacePlan& plan) override;
    void Present() override;
    void StartTracking(int intervalMs) override;

    void Compose(HDC target);
    void DrawCaption(HDC target);
    HFONT CaptionFontHandle(HDC target);
    void ResizeFace(int width, int height);

    HWND window_ = nullptr;
    Command button_;
    bool loaded_ = false;  // sizes and paints wait for the stored values
    int dispatchDepth_ = 0;
    bool destroyed_ = false;
    HDC faceDc_ = nullptr;
    HBITMAP faceBitmap_ = nullptr;
    HGDIOBJ faceDcDefaultBitmap_ = nullptr;
    int faceWidth_ = 0;
    int faceHeight_ = 0;
    HFONT font_ = nullptr;
    CaptionFont fontMadeFrom_;
};
