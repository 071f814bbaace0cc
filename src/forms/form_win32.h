#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Image;
class Timer;

struct FormDesign {
    std::wstring caption;
    COLORREF backColour = RGB(0, 0, 0);
    int width = 0;  // pixels
    int height = 0;
};

// A form: a window without border or title bar, drawn in its back colour with the windowless
// images it contains, carrying timers. Loading creates the window hidden; unloading (asked for,
// closed by the system, or destroyed together with a parent window) runs QueryUnload, then
// Unloaded while the window still exists, then destroys it. The program's message loop ends when
// the last loaded form has gone.
class Form {
  public:
    explicit Form(FormDesign design);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::function<void()> Loaded;
    std::function<void()> QueryUnload;
    std::function<void()> Unloaded;

    void Load();
    void Show();
    void Unload();

    HWND Handle() const { return window; }
    // Position and size in pixels, in the parent's client area (or on the screen).
    void Move(int x, int y, int width, int height);
    void Add(Image& image);

  private:
    friend class Timer;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void RunUnloadEvents();

    FormDesign design;
    HWND window = nullptr;
    HBRUSH background = nullptr;
    bool unloading = false;
    std::vector<Image*> images;
    std::vector<Timer*> timers;
};

}  // namespace forms
