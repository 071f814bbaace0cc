#pragma once

#include <windows.h>

#include <functional>

namespace forms {

class Form;

// A timer of a form: while enabled and the form is loaded, Tick runs every `interval`
// milliseconds on the program's thread.
class Timer {
  public:
    Timer(Form& form, UINT interval, std::function<void()> tick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

  private:
    friend class Form;
    UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
    void Fire();
    void WindowGone() { enabled_ = false; }

    Form& form_;
    UINT interval_;
    std::function<void()> tick_;
    bool enabled_ = false;
};

}  // namespace forms
