#include "flame_session.h"

#include <gtest/gtest.h>

namespace {

struct SessionTest : ::testing::Test {
    Flame flame;
    void SetUp() override { StartFlame(flame); }
};

TEST_F(SessionTest, FullScreenAnswersTheFourKeysAndClosesOnEscOrFocusLoss) {
    const SessionRules rules = RulesFor(FlameMode::FullScreen);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 13), SessionStep::Continue);
    EXPECT_FALSE(flame.scene.running);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 32), SessionStep::Continue);
    EXPECT_FALSE(flame.scene.view.rotating);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 48), SessionStep::Continue);
    EXPECT_TRUE(flame.scene.fineField);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 'a'), SessionStep::Continue);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 27), SessionStep::Quit);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::FocusLost), SessionStep::Quit);
}

TEST_F(SessionTest, AWindowAnswersKeysButOutlivesFocusLoss) {
    const SessionRules rules = RulesFor(FlameMode::Windowed);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::FocusLost), SessionStep::Continue);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 13), SessionStep::Continue);
    EXPECT_FALSE(flame.scene.running);
    EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, 27), SessionStep::Quit);
}

TEST_F(SessionTest, HackStillAndBenchmarkIgnoreKeysAndFocus) {
    for (const FlameMode mode : {FlameMode::Hosted, FlameMode::Still, FlameMode::Benchmark}) {
        const SessionRules rules = RulesFor(mode);
        for (const unsigned code : {13u, 27u, 32u, 48u}) {
            EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::Key, code), SessionStep::Continue);
        }
        EXPECT_EQ(HandleShellEvent(flame, rules, ShellEvent::FocusLost), SessionStep::Continue);
    }
    EXPECT_TRUE(flame.scene.running);
    EXPECT_TRUE(flame.scene.view.rotating);
    EXPECT_FALSE(flame.scene.fineField);
}

TEST_F(SessionTest, CloseRequestsVanishedWindowsAndSignalsEndEveryMode) {
    for (const FlameMode mode : {FlameMode::FullScreen, FlameMode::Windowed, FlameMode::Hosted,
                                 FlameMode::Still, FlameMode::Benchmark}) {
        const SessionRules rules = RulesFor(mode);
        for (const ShellEvent event :
             {ShellEvent::CloseRequested, ShellEvent::WindowGone, ShellEvent::Terminated}) {
            EXPECT_EQ(HandleShellEvent(flame, rules, event), SessionStep::Quit);
        }
    }
}

}  // namespace
