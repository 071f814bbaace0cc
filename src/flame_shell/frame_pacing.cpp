#include "frame_pacing.h"

#include <cstdio>

std::int64_t FramePacer::SleepBeforeFrame(std::int64_t nowMicroseconds) {
    if (delay_ <= 0) return 0;
    if (!started_ || nowMicroseconds >= nextStart_) {
        started_ = true;
        nextStart_ = nowMicroseconds + delay_;
        return 0;
    }
    const std::int64_t sleep = nextStart_ - nowMicroseconds;
    nextStart_ += delay_;
    return sleep;
}

bool FpsCounter::CountFrame(std::int64_t nowMicroseconds) {
    constexpr std::int64_t kWindow = 1'000'000;
    if (!started_) {
        started_ = true;
        windowStart_ = nowMicroseconds;
        framesInWindow_ = 0;
        return false;
    }
    ++framesInWindow_;
    const std::int64_t elapsed = nowMicroseconds - windowStart_;
    if (elapsed < kWindow) return false;
    rate_ = framesInWindow_ * 1e6 / static_cast<double>(elapsed);
    windowStart_ = nowMicroseconds;
    framesInWindow_ = 0;
    return true;
}

std::string FpsText(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS: %.1f", rate);
    return text;
}
