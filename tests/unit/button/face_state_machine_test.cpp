#include "face_state_machine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using enum FaceState;

const char* Name(SkinImage face) {
    constexpr const char* kNames[] = {"Normal",   "HighLight", "HighLightSelect",
                                      "Selected", "Pressed",   "Disable"};
    return kNames[static_cast<int>(face)];
}

// Runs the events, words of script, and answers with what the button did: each drawn face and
// click with the state it came in, e.g. "Pressed@2 Normal@2 click@2".
std::string Play(FaceStateMachine& button, const std::string& script) {
    std::istringstream words(script);
    std::string word, seen;
    while (words >> word) {
        ButtonReactions reactions;
        if (word == "init") button.Initialize();
        if (word == "off" || word == "on") button.SetEnabled(word == "on");
        if (word == "move") reactions = button.MouseMove();
        if (word == "down") reactions = button.MouseDown(kLeftButton);
        if (word == "rdown") reactions = button.MouseDown(kRightButton);
        if (word == "mdown") reactions = button.MouseDown(kMiddleButton);
        if (word == "up") reactions = button.MouseUp(kLeftButton);
        if (word == "rup") reactions = button.MouseUp(kRightButton);
        if (word == "mup") reactions = button.MouseUp(kMiddleButton);
        if (word == "in") reactions = button.FocusGained();
        if (word == "out") reactions = button.FocusLost();
        if (word == "over") reactions = button.TrackingTick(true);
        if (word == "away") reactions = button.TrackingTick(false);
        for (const ButtonReaction& r : reactions) {
            const bool click = r.kind == ButtonReaction::Kind::RaiseClick;
            seen += std::string(seen.empty() ? "" : " ") + (click ? "click" : Name(r.face)) + "@" +
                    std::to_string(static_cast<int>(r.stateWhenDrawn));
        }
    }
    return seen;
}

// An enabled button in the given state, reached through real events.
FaceStateMachine ButtonIn(FaceState state) {
    FaceStateMachine button;
    button.SetEnabled(true);
    const char* const kPaths[] = {"", "init", "init move", "init in", "init in move"};
    Play(button, kPaths[static_cast<int>(state)]);
    return button;
}

TEST(FaceStateMachine, EventsDrawFacesAndRaiseClicksInOrder) {
    struct Row {
        FaceState from;
        const char* events;
        const char* expected;
        FaceState to;
        bool held = false;
    };
    // clang-format off
    const Row rows[] = {
        // Hovering shows only from a resting state, and not while the left button is held.
        {Normal, "move", "HighLight@2", HighLight},
        {Selected, "move", "HighLightSelect@4", HighLightSelect},
        {Uninitialised, "move", "", Uninitialised},
        {HighLight, "move", "", HighLight},
        {HighLightSelect, "move", "", HighLightSelect},
        {Selected, "down move", "Pressed@3", Selected, true},
        // Any release clicks unless the mouse was found outside; a left one redraws and lets go.
        {HighLight, "down up", "Pressed@2 Normal@2 click@2", HighLight},
        {HighLightSelect, "down up", "Pressed@4 HighLightSelect@4 click@4", HighLightSelect},
        {Normal, "down up", "Pressed@1 click@1", Normal},
        {Uninitialised, "down up", "Pressed@0 click@0", Uninitialised},
        {Selected, "down up", "Pressed@3", Selected},
        {HighLight, "down rup", "Pressed@2 click@2", HighLight, true},
        {HighLightSelect, "down mup", "Pressed@4 click@4", HighLightSelect, true},
        {Selected, "down rup", "Pressed@3", Selected, true},
        {HighLight, "rdown rup", "click@2", HighLight},
        // The tracking timer notices the mouse leaving.
        {HighLight, "away", "Normal@1", Normal},
        {HighLightSelect, "away", "Selected@3", Selected},
        {Normal, "away", "", Normal},
        {Selected, "away", "", Selected},
        // A hovered button gains focus from the click that presses it.
        {Normal, "move in down up", "HighLight@2 Pressed@4 Pressed@4 HighLightSelect@4 click@4", HighLightSelect},
        // Dragged out: no click, and none when dragged back in until the next move.
        {HighLightSelect, "down move away move up", "Pressed@4 Selected@3", Selected},
        {HighLightSelect, "down away move over up move", "Pressed@4 Selected@3 HighLightSelect@4", HighLightSelect},
        // After a left release in state 2 the hover face waits for the mouse to leave.
        {HighLight, "down up move away move", "Pressed@2 Normal@2 click@2 Normal@1 HighLight@2", HighLight},
        // Before Initialize there is no timer to notice the mouse leaving.
        {Uninitialised, "away in move away out", "Selected@3 HighLightSelect@4 Normal@1", Normal},
        // Initialize works while disabled and from any state; disabled, nothing else does.
        {Uninitialised, "off init move", "", Normal},
        {HighLightSelect, "init", "", Normal},
        {HighLightSelect, "down off move down up rup in out away", "Pressed@4", HighLightSelect, true},
        {HighLightSelect, "down off on up", "Pressed@4 HighLightSelect@4 click@4", HighLightSelect},
    };
    // clang-format on
    for (const Row& row : rows) {
        FaceStateMachine button = ButtonIn(row.from);
        EXPECT_EQ(Play(button, row.events), row.expected) << row.events;
        EXPECT_EQ(button.State(), row.to) << row.events;
        EXPECT_EQ(button.ButtonHeld(), row.held) << row.events;
    }
}

TEST(FaceStateMachine, RulesThatHoldInEveryState) {
    FaceStateMachine fresh;
    EXPECT_FALSE(fresh.Enabled());
    EXPECT_FALSE(fresh.Tracking());
    for (int n = 0; n <= 4; ++n) {
        const auto state = static_cast<FaceState>(n);
        const std::string at = "@" + std::to_string(n);
        auto button = ButtonIn(state);
        EXPECT_EQ(button.State(), state);
        EXPECT_EQ(button.Tracking(), state != Uninitialised);
        EXPECT_EQ(Play(button, "rdown mdown over"), "");
        EXPECT_FALSE(button.ButtonHeld());
        EXPECT_EQ(Play(button, "down"), "Pressed" + at);
        EXPECT_TRUE(button.ButtonHeld());
        EXPECT_EQ(button.State(), state);

        auto gaining = ButtonIn(state);
        EXPECT_EQ(Play(gaining, "in"), state == HighLight ? "Pressed@4" : "Selected@3");
        EXPECT_EQ(gaining.State(), state == HighLight ? HighLightSelect : Selected);
        auto losing = ButtonIn(state);
        EXPECT_EQ(Play(losing, "out"), state == Normal ? "" : "Normal@1");
        EXPECT_EQ(losing.State(), Normal);
    }
}

}  // namespace
