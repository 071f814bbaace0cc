#include "timer_win32.h"

#include <algorithm>

#include "failure_trace_win32.h"
#include "form_win32.h"

namespace forms {

Timer::Timer(Form& form, UINT interval, std::function<void()> tick)
    : form(form), interval(interval), tick(std::move(tick)) {
    form.timers.push_back(this);
}

Timer::~Timer() {
    SetEnabled(false);
    auto& timers = form.timers;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetEnabled(bool on) {
    if (on == enabled || !form.window) return;
    enabled = on;
    if (on) {
        if (!SetTimer(form.window, Id(), interval, nullptr)) TraceFailure(L"SetTimer");
    } else {
        KillTimer(form.window, Id());
    }
}

void Timer::Fire() {
    if (enabled && tick) tick();
}

}  // namespace forms
