#include "flame_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

TEST(FlameSession, EachModeAnswersItsKeysAndEndsOnItsEvents) {
    // The mode, whether it answers keys, whether it closes when it loses the focus.
    using Row = std::tuple<FlameMode, bool, bool>;
    for (const auto& [mode, answersKeys, closesOnFocusLoss] :
         {Row{FlameMode::FullScreen, true, true}, Row{FlameMode::Windowed, true, false},
          Row{FlameMode::Hosted, false, false}, Row{FlameMode::Still, false, false},
          Row{FlameMode::Benchmark, false, false}}) {
        const auto flame = std::make_unique<Flame>();
        StartFlame(*flame);
        const SessionRules rules = RulesFor(mode);
        const auto quits = [&](ShellEvent event, unsigned code = 0) {
            return HandleShellEvent(*flame, rules, event, code) == SessionStep::Quit;
        };
        const int at = static_cast<int>(mode);
        EXPECT_FALSE(quits(ShellEvent::Key, 13)) << at;  // Enter, Space and 0 flip their switch
        EXPECT_FALSE(quits(ShellEvent::Key, 32)) << at;
        EXPECT_FALSE(quits(ShellEvent::Key, 48)) << at;
        EXPECT_FALSE(quits(ShellEvent::Key, 'a')) << at;
        EXPECT_EQ(
            std::tuple(flame->scene.running, flame->scene.view.rotating, flame->scene.fineField),
            std::tuple(!answersKeys, !answersKeys, answersKeys))
            << at;
        EXPECT_EQ(quits(ShellEvent::Key, 27), answersKeys) << at;
        EXPECT_EQ(quits(ShellEvent::FocusLost), closesOnFocusLoss) << at;
        for (const ShellEvent event :
             {ShellEvent::CloseRequested, ShellEvent::WindowGone, ShellEvent::Terminated}) {
            EXPECT_TRUE(quits(event)) << at;
        }
    }
}

}  // namespace
