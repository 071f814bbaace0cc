#include <gtest/gtest.h>

#include <memory>

#include "extension_list.h"
#include "flame_session.h"
#include "frame_clock.h"
#include "frame_pacing.h"
#include "monitor_placement.h"

namespace {

TEST(FlameSession, EachModeAnswersItsKeysAndEndsOnItsEvents) {
    // The mode, whether it answers keys, whether it closes when it loses the focus.
    const std::tuple<FlameMode, bool, bool> modes[] = {{FlameMode::FullScreen, true, true},
                                                       {FlameMode::Windowed, true, false},
                                                       {FlameMode::Hosted, false, false},
                                                       {FlameMode::Still, false, false},
                                                       {FlameMode::Benchmark, false, false}};
    for (const auto& [mode, keys, closesOnFocusLoss] : modes) {
        const auto flame = std::make_unique<Flame>();
        StartFlame(*flame);
        const auto quits = [&, rules = RulesFor(mode)](ShellEvent event, unsigned code = 0) {
            return HandleShellEvent(*flame, rules, event, code) == SessionStep::Quit;
        };
        // Enter, Space and 0 flip their switch; other keys do nothing.
        for (const unsigned code : {13u, 32u, 48u, 97u, 0u, 0x3042u})
            EXPECT_FALSE(quits(ShellEvent::Key, code));
        const Scene& s = flame->scene;
        EXPECT_EQ(std::tuple(s.running, s.view.rotating, s.fineField),
                  std::tuple(!keys, !keys, keys));
        EXPECT_EQ(quits(ShellEvent::Key, 27), keys);
        EXPECT_EQ(quits(ShellEvent::FocusLost), closesOnFocusLoss);
        EXPECT_TRUE(quits(ShellEvent::CloseRequested) && quits(ShellEvent::WindowGone) &&
                    quits(ShellEvent::Terminated));
    }
}

TEST(FrameTiming, DeltasRunFromStartPacingNeverCatchesUpAndTheRateIsReportedEachSecond) {
    FrameClock clock;
    clock.Start(1000, 500);
    const float ticks[][2] = {{750, 0.25f}, {760, 0.01f}, {760, 0}, {1500, 0.74f}};
    for (const auto& [now, delta] : ticks)
        EXPECT_FLOAT_EQ(clock.Tick(static_cast<std::int64_t>(now)), delta);
    clock.Start(0, 0);  // a frequency that is not positive does not trap
    EXPECT_FLOAT_EQ(clock.Tick(3), 3.0f);
    // Nanoseconds after two days: single-precision seconds would turn 60 Hz into 0 or 2/60.
    constexpr std::int64_t kPerSecond = 1'000'000'000, kTwoDays = 48LL * 3600 * kPerSecond;
    clock.Start(kPerSecond, 0);
    clock.Tick(kTwoDays);
    for (int frame = 1; frame <= 3; ++frame) {
        EXPECT_NEAR(clock.Tick(kTwoDays + frame * kPerSecond / 60), 1.0 / 60, 1e-6) << frame;
    }
    // The time a frame may start, then the sleep before it: a frame that ran 5 ms late starts
    // the next period at once, and no burst follows. No delay: no sleep.
    FramePacer pacer(10000), unpaced(0);
    const int starts[][2] = {{0, 0},         {1000, 9000}, {10500, 9500},
                             {20000, 10000}, {45000, 0},   {46000, 9000}};
    for (const auto& [now, sleep] : starts) {
        EXPECT_TRUE(pacer.SleepBeforeFrame(now) == sleep && unpaced.SleepBeforeFrame(now) == 0)
            << now;
    }
    // The rate is reported once a second: 60 frames a second from 5 s on, none before.
    FpsCounter fps;
    int updates = 0;
    for (int frame = 0; frame <= 180; ++frame) {
        const bool updated = fps.CountFrame(5'000'000 + frame * 1'000'000LL / 60);
        EXPECT_NEAR(fps.Rate(), frame < 60 ? 0 : 60, 0.01) << frame;
        updates += updated;
    }
    EXPECT_EQ(updates, 3);
    EXPECT_EQ(FpsText(59.94) + FpsText(1234.56), "FPS: 59.9FPS: 1234.6");
}

// The primary monitor's top-left corner is the origin of the virtual screen. The window's
// rectangle, then the flame's viewport, whose rows count from the window's bottom.
TEST(MonitorPlacement, CoversEveryMonitorAndDrawsOnThePrimary) {
    using Row = std::tuple<const char*, std::vector<Monitor>, std::array<int, 8>>;
    for (const auto& [layout, monitors, placed] :
         {Row{"one monitor", {{{0, 0, 1920, 1080}, true}}, {0, 0, 1920, 1080, 0, 0, 1920, 1080}},
          Row{"two side by side",
              {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}}},
              {0, 0, 3200, 1080, 0, 0, 1920, 1080}},
          Row{"a secondary at negative x, listed first",
              {{{-1280, 0, 0, 1024}}, {{0, 0, 1920, 1080}, true}},
              {-1280, 0, 1920, 1080, 1280, 0, 1920, 1080}},
          Row{"a taller secondary",
              {{{0, 0, 1600, 900}, true}, {{1600, -300, 2680, 1620}}},
              {0, -300, 2680, 1620, 0, 720, 1600, 900}},
          Row{"three monitors, none flagged: the one at the origin",
              {{{-1024, 100, 0, 868}}, {{0, 0, 1280, 1024}}, {{1280, -200, 2560, 824}}},
              {-1024, -200, 2560, 1024, 1024, 0, 1280, 1024}},
          Row{"none flagged, none at the origin: the first",
              {{{100, 50, 900, 650}}, {{0, 50, 800, 650}}, {{50, 0, 850, 600}}},
              {0, 0, 900, 650, 100, 0, 800, 600}},
          Row{"no monitor", {}, {}}}) {
        const auto [w, f] = PlaceFlame(monitors);
        EXPECT_EQ((std::array{w.left, w.top, w.right, w.bottom, f.x, f.y, f.width, f.height}),
                  placed)
            << layout;
    }
}

TEST(ExtensionList, NamesOnlyWholeEntries) {
    const char* kName = "WGL_EXT_swap_control";
    EXPECT_TRUE(HasExtension(kName, kName) &&
                HasExtension("WGL_ARB_pixel_format WGL_EXT_swap_control ", kName));
    for (const char* list :
         {"WGL_EXT_swap_control_tear WGL_ARB_pbuffer", "XWGL_EXT_swap_control", ""}) {
        EXPECT_FALSE(HasExtension(list, kName)) << list;
    }
}

}  // namespace
