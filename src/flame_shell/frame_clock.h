#pragma once

#include <cstdint>

// Turns a high-resolution counter into frame deltas. The first delta runs from Start to the first
// frame, so it includes whatever set-up happened in between.
class FrameClock {
  public:
    void Start(std::int64_t ticksPerSecond, std::int64_t startTicks);

    // Seconds since the previous frame (or since Start, for the first frame).
    float Tick(std::int64_t nowTicks);

  private:
    std::int64_t ticksPerSecond_ = 1;
    std::int64_t startTicks_ = 0;
    // Seconds since Start, kept in double: in single precision a frame delta of a few
    // milliseconds is lost in rounding after a night of running.
    double seconds_ = 0;
};
