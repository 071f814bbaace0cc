#include "timer_win32.h"

#include <algorithm>

#include "failure_trace_win32.h"
#include "form_win32.h"

namespace forms {

Timer::Timer(Form& form, UINT interval, std::function<void()> tick)
    : form_(form), interval_(interval), tick_(std::move(tick)) {
    form.timers_.push_back(this);
}

Timer::~Timer() {
    SetEnabled(false);
    auto& timers = form_.timers_;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetEnabled(bool on) {
    if (on == enabled_ || !form_.window_) return;
    enabled_ = on;
    if (on) {
        if (!SetTimer(form_.window_, Id(), interval_, nullptr)) TraceFailure(L"SetTimer");
    } else {
        KillTimer(form_.window_, Id());
    }
}

void Timer::Fire() {
    if (enabled_ && tick_) tick_();
}

}  // namespace forms
