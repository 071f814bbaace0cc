#include <gtest/gtest.h>

#include "frame_clock.h"
#include "frame_pacing.h"

namespace {

TEST(FrameClock, TheFirstDeltaRunsFromStartAndEachOtherFromThePreviousFrame) {
    FrameClock clock;
    clock.Start(1000, 500);
    for (const auto& [now, delta] : {std::pair(750, 0.25f), std::pair(760, 0.01f),
                                     std::pair(760, 0.0f), std::pair(1500, 0.74f)}) {
        EXPECT_FLOAT_EQ(clock.Tick(now), delta) << now;
    }
    clock.Start(0, 0);  // a frequency that is not positive does not trap
    EXPECT_FLOAT_EQ(clock.Tick(3), 3.0f);

    // A nanosecond counter after two days: a single-precision second count would have a
    // resolution of about 16 ms there, turning 60 Hz frames into deltas of 0 or twice the truth.
    constexpr std::int64_t kPerSecond = 1'000'000'000, kTwoDays = 48LL * 3600 * kPerSecond;
    clock.Start(kPerSecond, 0);
    clock.Tick(kTwoDays);
    for (int frame = 1; frame <= 5; ++frame) {
        EXPECT_NEAR(clock.Tick(kTwoDays + frame * kPerSecond / 60), 1.0 / 60, 1e-6) << frame;
    }
}

TEST(FramePacer, KeepsOneFramePerDelayWithoutCatchingUp) {
    FramePacer pacer(10000);
    // The time a frame may start, then the sleep before it: a frame that ran 5 ms late starts
    // the next period at once, and no burst follows.
    for (const auto& [now, sleep] :
         {std::pair(0, 0), std::pair(1000, 9000), std::pair(10500, 9500), std::pair(20000, 10000),
          std::pair(45000, 0), std::pair(46000, 9000)}) {
        EXPECT_EQ(pacer.SleepBeforeFrame(now), sleep) << now;
    }
    FramePacer unpaced(0);
    for (const std::int64_t now : {0, 1, 2}) EXPECT_EQ(unpaced.SleepBeforeFrame(now), 0);
}

TEST(FpsCounter, ReportsTheRateOncePerSecond) {
    FpsCounter fps;
    EXPECT_EQ(fps.Rate(), 0.0);  // until the first second has passed
    int updates = 0;
    for (int frame = 0; frame <= 180; ++frame) {  // 60 frames a second, from 5 s on
        if (fps.CountFrame(5'000'000 + frame * 1'000'000LL / 60)) {
            EXPECT_NEAR(fps.Rate(), 60.0, 0.01) << frame;
            ++updates;
        }
    }
    EXPECT_EQ(updates, 3);
    EXPECT_EQ(FpsText(59.94), "FPS: 59.9");
    EXPECT_EQ(FpsText(1234.56), "FPS: 1234.6");
}

}  // namespace
