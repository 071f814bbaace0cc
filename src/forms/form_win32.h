#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "surface_win32.h"

namespace forms {

class Timer;

enum class BorderStyle {
    None,         // no border, no title bar
    FixedSingle,  // a thin frame the user cannot drag, a title bar with a close box
};

struct FormDesign {
    std::wstring caption;
    COLORREF backColour = RGB(0, 0, 0);
    int width = 0;  // client area, pixels
    int height = 0;
    BorderStyle border = BorderStyle::None;
    const wchar_t* icon = nullptr;  // the window's icon from the program's resources, if any
    bool persistentImage = false;   // keeps a persistent background image (Surface)
};

// A form: a top-level window drawn in its back colour (or its persistent background image) with
// the windowless controls it contains, carrying timers. Loading creates the window hidden;
// unloading (asked for, closed by the user or the system, or destroyed together with a parent
// window) runs QueryUnload, then Unloaded while the window is still on the screen, then destroys
// it. The program's message loop ends when the last loaded form has gone.
class Form {
  public:
    explicit Form(FormDesign design);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::function<void()> Loaded;
    // When the window has been given its size: first when it is shown, then on every change.
    std::function<void()> Resized;
    std::function<void()> QueryUnload;
    std::function<void()> Unloaded;

    void Load();
    void Show();
    // Shows the form and returns once it has been unloaded; the keyboard moves the focus
    // through its controls with Tab in the order they were created.
    void ShowModal();
    void Unload();

    HWND Handle() const { return window_; }
    // Position and size of the whole window in pixels, in the parent's client area (or on the
    // screen).
    void Move(int x, int y, int width, int height);
    void Add(WindowlessControl& control) { surface_.Add(control); }
    forms::Surface& Surface() { return surface_; }

  private:
    friend class Timer;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RunUnloadEvents();

    FormDesign design_;
    forms::Surface surface_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    bool shown_ = false;
    bool unloading_ = false;
    std::vector<Timer*> timers_;
};

}  // namespace forms
