#include "frame_clock.h"

void FrameClock::Start(std::int64_t ticksPerSecond, std::int64_t startTicks) {
    ticksPerSecond_ = ticksPerSecond > 0 ? ticksPerSecond : 1;
    startTicks_ = startTicks;
    seconds_ = 0;
}

float FrameClock::Tick(std::int64_t nowTicks) {
    const double elapsed =
        static_cast<double>(nowTicks - startTicks_) / static_cast<double>(ticksPerSecond_);
    const float delta = static_cast<float>(elapsed - seconds_);
    seconds_ = elapsed;
    return delta;
}
