#pragma once

#include <cstdint>
#include <string>

// Frame pacing as screen-saver hacks do it: at most one frame per `delay` microseconds, so that
// a hack does not keep a core busy. A frame that ran late starts the next period at once
// without trying to catch up.
class FramePacer {
  public:
    explicit FramePacer(std::int64_t delayMicroseconds) : delay_(delayMicroseconds) {}

    // How long to sleep, given the time now, before the next frame may start.
    std::int64_t SleepBeforeFrame(std::int64_t nowMicroseconds);

  private:
    std::int64_t delay_;
    std::int64_t nextStart_ = 0;
    bool started_ = false;
};

// Frames per second over windows of about one second, for the on-screen counter.
class FpsCounter {
  public:
    // Counts one frame shown at `nowMicroseconds`; true when the rate was just updated.
    bool CountFrame(std::int64_t nowMicroseconds);

    double Rate() const { return rate_; }

  private:
    std::int64_t windowStart_ = 0;
    int framesInWindow_ = 0;
    bool started_ = false;
    double rate_ = 0;
};

// The overlay's text, e.g. "FPS: 59.9".
std::string FpsText(double rate);
