#include <gtest/gtest.h>

#include "frame_clock.h"
#include "frame_pacing.h"

namespace {

TEST(FrameClock, FirstDeltaRunsFromStartAndLaterOnesFromThePreviousFrame) {
    FrameClock clock;
    clock.Start(1000, 500);
    EXPECT_FLOAT_EQ(clock.Tick(750), 0.25f);
    EXPECT_FLOAT_EQ(clock.Tick(760), 0.01f);
    EXPECT_FLOAT_EQ(clock.Tick(760), 0.0f);
    EXPECT_FLOAT_EQ(clock.Tick(1500), 0.74f);
}

TEST(FrameClock, KeepsMillisecondDeltasAfterTwoDaysOfRunning) {
    // A nanosecond counter: at 48 h a single-precision second count has a resolution of
    // about 16 ms, which would turn 60 Hz frames into deltas of 0 or twice the truth.
    constexpr std::int64_t kPerSecond = 1'000'000'000;
    FrameClock clock;
    clock.Start(kPerSecond, 0);
    const std::int64_t twoDays = 48LL * 3600 * kPerSecond;
    clock.Tick(twoDays);
    for (int frame = 1; frame <= 5; ++frame) {
        EXPECT_NEAR(clock.Tick(twoDays + frame * kPerSecond / 60), 1.0 / 60, 1e-6) << frame;
    }
}

TEST(FrameClock, ANonPositiveFrequencyDoesNotTrap) {
    FrameClock clock;
    clock.Start(0, 0);
    EXPECT_FLOAT_EQ(clock.Tick(3), 3.0f);
}

TEST(FramePacer, KeepsOneFramePerDelayWithoutCatchingUp) {
    FramePacer pacer(10000);
    EXPECT_EQ(pacer.SleepBeforeFrame(0), 0);         // the first frame starts at once
    EXPECT_EQ(pacer.SleepBeforeFrame(1000), 9000);   // its frame took 1 ms: wait for 10 ms
    EXPECT_EQ(pacer.SleepBeforeFrame(10500), 9500);  // woke at 10 ms, drew for 0.5 ms
    EXPECT_EQ(pacer.SleepBeforeFrame(20000), 10000);
    // A frame that ran 5 ms late starts the next period at once; no burst follows.
    EXPECT_EQ(pacer.SleepBeforeFrame(45000), 0);
    EXPECT_EQ(pacer.SleepBeforeFrame(46000), 9000);
}

TEST(FramePacer, NoDelayMeansNoSleep) {
    FramePacer pacer(0);
    for (std::int64_t now : {0, 1, 2, 1000000}) EXPECT_EQ(pacer.SleepBeforeFrame(now), 0);
}

TEST(FpsCounter, ReportsTheRateOncePerSecond) {
    FpsCounter fps;
    int updates = 0;
    for (int frame = 0; frame <= 180; ++frame) {
        if (fps.CountFrame(frame * 1'000'000LL / 60)) ++updates;
    }
    EXPECT_EQ(updates, 3);
    EXPECT_NEAR(fps.Rate(), 60.0, 0.01);
    EXPECT_EQ(FpsText(59.94), "FPS: 59.9");
    EXPECT_EQ(FpsText(1234.56), "FPS: 1234.6");
}

}  // namespace
