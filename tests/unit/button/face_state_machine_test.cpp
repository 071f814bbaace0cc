#include "face_state_machine.h"

#include <gtest/gtest.h>

namespace {

using Kind = ButtonReaction::Kind;

ButtonReaction Drawn(SkinImage face, FaceState state) {
    return {Kind::DrawFace, face, state};
}
ButtonReaction Click(FaceState state) {
    return {Kind::RaiseClick, SkinImage::Normal, state};
}

// An enabled, initialised button in the given state, reached through real events.
FaceStateMachine ButtonIn(FaceState state) {
    FaceStateMachine button;
    button.SetEnabled(true);
    if (state != FaceState::Uninitialised) button.Initialize();
    if (state == FaceState::HighLight) button.MouseMove();
    if (state == FaceState::Selected || state == FaceState::HighLightSelect) button.FocusGained();
    if (state == FaceState::HighLightSelect) button.MouseMove();
    EXPECT_EQ(button.State(), state);
    return button;
}

constexpr FaceState kAllStates[] = {FaceState::Uninitialised, FaceState::Normal,
                                    FaceState::HighLight, FaceState::Selected,
                                    FaceState::HighLightSelect};

TEST(FaceStateMachine, InitializeStartsTrackingInStateOneEvenWhenDisabled) {
    FaceStateMachine button;
    EXPECT_EQ(button.State(), FaceState::Uninitialised);
    EXPECT_FALSE(button.Tracking());
    EXPECT_FALSE(button.Enabled());
    button.Initialize();
    EXPECT_EQ(button.State(), FaceState::Normal);
    EXPECT_TRUE(button.Tracking());

    FaceStateMachine focused = ButtonIn(FaceState::HighLightSelect);
    focused.Initialize();
    EXPECT_EQ(focused.State(), FaceState::Normal);
}

TEST(FaceStateMachine, MouseMoveRows) {
    auto normal = ButtonIn(FaceState::Normal);
    EXPECT_EQ(normal.MouseMove(),
              ButtonReactions{Drawn(SkinImage::HighLight, FaceState::HighLight)});
    EXPECT_EQ(normal.State(), FaceState::HighLight);

    auto selected = ButtonIn(FaceState::Selected);
    EXPECT_EQ(selected.MouseMove(),
              ButtonReactions{Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect)});
    EXPECT_EQ(selected.State(), FaceState::HighLightSelect);

    // Any other case: states 0, 2 and 4, and state 3 while the left button is held.
    for (FaceState state :
         {FaceState::Uninitialised, FaceState::HighLight, FaceState::HighLightSelect}) {
        auto button = ButtonIn(state);
        EXPECT_TRUE(button.MouseMove().empty());
        EXPECT_EQ(button.State(), state);
    }
    auto held = ButtonIn(FaceState::Selected);
    held.MouseDown(kLeftButton);
    EXPECT_TRUE(held.MouseMove().empty());
    EXPECT_EQ(held.State(), FaceState::Selected);
}

TEST(FaceStateMachine, LeftMouseDownDrawsPressedInEveryStateOtherButtonsNothing) {
    for (FaceState state : kAllStates) {
        auto button = ButtonIn(state);
        EXPECT_EQ(button.MouseDown(kLeftButton), ButtonReactions{Drawn(SkinImage::Pressed, state)});
        EXPECT_TRUE(button.ButtonHeld());
        EXPECT_EQ(button.State(), state);

        auto other = ButtonIn(state);
        EXPECT_TRUE(other.MouseDown(kRightButton).empty());
        EXPECT_TRUE(other.MouseDown(kMiddleButton).empty());
        EXPECT_FALSE(other.ButtonHeld());
    }
}

TEST(FaceStateMachine, MouseUpRows) {
    struct Row {
        FaceState state;
        int button;
        ButtonReactions expected;
    };
    const Row rows[] = {
        {FaceState::HighLight,
         kLeftButton,
         {Drawn(SkinImage::Normal, FaceState::HighLight), Click(FaceState::HighLight)}},
        {FaceState::HighLightSelect,
         kLeftButton,
         {Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect),
          Click(FaceState::HighLightSelect)}},
        {FaceState::Normal, kLeftButton, {Click(FaceState::Normal)}},
        {FaceState::Uninitialised, kLeftButton, {Click(FaceState::Uninitialised)}},
        {FaceState::Selected, kLeftButton, {}},
        {FaceState::HighLight, kRightButton, {Click(FaceState::HighLight)}},
        {FaceState::HighLightSelect, kMiddleButton, {Click(FaceState::HighLightSelect)}},
        {FaceState::Selected, kRightButton, {}},
    };
    for (const Row& row : rows) {
        auto button = ButtonIn(row.state);
        button.MouseDown(kLeftButton);
        EXPECT_EQ(button.MouseUp(row.button), row.expected)
            << "state " << int(row.state) << " button " << row.button;
        EXPECT_EQ(button.State(), row.state);
        // Only a left release lets go of the held button.
        EXPECT_EQ(button.ButtonHeld(), row.button != kLeftButton);
    }
}

TEST(FaceStateMachine, FocusRows) {
    for (FaceState state : kAllStates) {
        auto button = ButtonIn(state);
        if (state == FaceState::HighLight) {
            EXPECT_EQ(button.FocusGained(),
                      ButtonReactions{Drawn(SkinImage::Pressed, FaceState::HighLightSelect)});
            EXPECT_EQ(button.State(), FaceState::HighLightSelect);
        } else {
            EXPECT_EQ(button.FocusGained(),
                      ButtonReactions{Drawn(SkinImage::Selected, FaceState::Selected)});
            EXPECT_EQ(button.State(), FaceState::Selected);
        }

        auto losing = ButtonIn(state);
        if (state == FaceState::Normal) {
            EXPECT_TRUE(losing.FocusLost().empty());
        } else {
            EXPECT_EQ(losing.FocusLost(),
                      ButtonReactions{Drawn(SkinImage::Normal, FaceState::Normal)});
        }
        EXPECT_EQ(losing.State(), FaceState::Normal);
    }
}

TEST(FaceStateMachine, TrackingTickRunsMouseLeftOnlyWhenTheCursorIsElsewhere) {
    for (FaceState state : kAllStates) {
        auto over = ButtonIn(state);
        EXPECT_TRUE(over.TrackingTick(true).empty());
        EXPECT_EQ(over.State(), state);
    }
    auto hovered = ButtonIn(FaceState::HighLight);
    EXPECT_EQ(hovered.TrackingTick(false),
              ButtonReactions{Drawn(SkinImage::Normal, FaceState::Normal)});
    EXPECT_EQ(hovered.State(), FaceState::Normal);

    auto focusedHovered = ButtonIn(FaceState::HighLightSelect);
    EXPECT_EQ(focusedHovered.TrackingTick(false),
              ButtonReactions{Drawn(SkinImage::Selected, FaceState::Selected)});
    EXPECT_EQ(focusedHovered.State(), FaceState::Selected);

    for (FaceState state : {FaceState::Normal, FaceState::Selected}) {
        auto button = ButtonIn(state);
        EXPECT_TRUE(button.TrackingTick(false).empty());
        EXPECT_EQ(button.State(), state);
    }
}

TEST(FaceStateMachine, ClickOnAnUnfocusedHoveredButton) {
    auto button = ButtonIn(FaceState::Normal);
    ButtonReactions seen = button.MouseMove();
    for (const auto& reactions :
         {button.FocusGained(), button.MouseDown(kLeftButton), button.MouseUp(kLeftButton)}) {
        seen.insert(seen.end(), reactions.begin(), reactions.end());
    }
    const ButtonReactions expected = {
        Drawn(SkinImage::HighLight, FaceState::HighLight),
        Drawn(SkinImage::Pressed, FaceState::HighLightSelect),
        Drawn(SkinImage::Pressed, FaceState::HighLightSelect),
        Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect),
        Click(FaceState::HighLightSelect),
    };
    EXPECT_EQ(seen, expected);
}

TEST(FaceStateMachine, ClickOnTheFocusedHoveredButton) {
    auto button = ButtonIn(FaceState::HighLightSelect);
    EXPECT_EQ(button.MouseDown(kLeftButton),
              ButtonReactions{Drawn(SkinImage::Pressed, FaceState::HighLightSelect)});
    EXPECT_EQ(button.MouseUp(kLeftButton),
              (ButtonReactions{Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect),
                               Click(FaceState::HighLightSelect)}));
}

TEST(FaceStateMachine, DragOutAndReleaseOutsideRaisesNoClick) {
    auto button = ButtonIn(FaceState::HighLightSelect);
    button.MouseDown(kLeftButton);
    EXPECT_TRUE(button.MouseMove().empty());  // the captured mouse, still inside
    EXPECT_EQ(button.TrackingTick(false),
              ButtonReactions{Drawn(SkinImage::Selected, FaceState::Selected)});
    EXPECT_TRUE(button.MouseMove().empty());  // outside, still captured
    EXPECT_TRUE(button.MouseUp(kLeftButton).empty());
    EXPECT_FALSE(button.ButtonHeld());
    EXPECT_EQ(button.State(), FaceState::Selected);
}

TEST(FaceStateMachine, DragOutAndBackThenReleaseRaisesNoClickUntilTheNextMove) {
    auto button = ButtonIn(FaceState::HighLightSelect);
    button.MouseDown(kLeftButton);
    button.TrackingTick(false);
    EXPECT_TRUE(button.MouseMove().empty());  // back inside with the button held
    EXPECT_TRUE(button.TrackingTick(true).empty());
    EXPECT_EQ(button.State(), FaceState::Selected);
    EXPECT_TRUE(button.MouseUp(kLeftButton).empty());
    EXPECT_EQ(button.MouseMove(),
              ButtonReactions{Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect)});
}

TEST(FaceStateMachine, RightButtonPressDrawsNothingButItsReleaseClicksAHoveredButton) {
    auto hovered = ButtonIn(FaceState::HighLight);
    EXPECT_TRUE(hovered.MouseDown(kRightButton).empty());
    EXPECT_EQ(hovered.MouseUp(kRightButton), ButtonReactions{Click(FaceState::HighLight)});
    EXPECT_EQ(hovered.State(), FaceState::HighLight);

    auto focusedHovered = ButtonIn(FaceState::HighLightSelect);
    EXPECT_TRUE(focusedHovered.MouseDown(kMiddleButton).empty());
    EXPECT_EQ(focusedHovered.MouseUp(kMiddleButton),
              ButtonReactions{Click(FaceState::HighLightSelect)});
}

TEST(FaceStateMachine, LeftReleaseInStateTwoKeepsTheHoverFaceAwayUntilTheMouseLeaves) {
    auto button = ButtonIn(FaceState::HighLight);
    button.MouseDown(kLeftButton);
    EXPECT_EQ(button.MouseUp(kLeftButton),
              (ButtonReactions{Drawn(SkinImage::Normal, FaceState::HighLight),
                               Click(FaceState::HighLight)}));
    EXPECT_EQ(button.State(), FaceState::HighLight);
    EXPECT_TRUE(button.MouseMove().empty());
    EXPECT_EQ(button.TrackingTick(false),
              ButtonReactions{Drawn(SkinImage::Normal, FaceState::Normal)});
    EXPECT_EQ(button.MouseMove(),
              ButtonReactions{Drawn(SkinImage::HighLight, FaceState::HighLight)});
}

TEST(FaceStateMachine, BeforeInitialize) {
    FaceStateMachine button;
    button.SetEnabled(true);
    EXPECT_TRUE(button.MouseMove().empty());
    EXPECT_TRUE(button.TrackingTick(false).empty());
    EXPECT_EQ(button.FocusGained(),
              ButtonReactions{Drawn(SkinImage::Selected, FaceState::Selected)});
    // The hover face, once drawn, stays: there is no timer to notice the mouse leaving.
    EXPECT_EQ(button.MouseMove(),
              ButtonReactions{Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect)});
    EXPECT_TRUE(button.TrackingTick(false).empty());
    EXPECT_EQ(button.State(), FaceState::HighLightSelect);
    EXPECT_EQ(button.FocusLost(), ButtonReactions{Drawn(SkinImage::Normal, FaceState::Normal)});
    EXPECT_EQ(button.State(), FaceState::Normal);
}

TEST(FaceStateMachine, DisabledButtonIgnoresEverythingButInitializeAndResumesWhereItWas) {
    auto button = ButtonIn(FaceState::HighLightSelect);
    button.MouseDown(kLeftButton);
    button.SetEnabled(false);
    EXPECT_TRUE(button.MouseMove().empty());
    EXPECT_TRUE(button.MouseDown(kLeftButton).empty());
    EXPECT_TRUE(button.MouseUp(kLeftButton).empty());
    EXPECT_TRUE(button.MouseUp(kRightButton).empty());
    EXPECT_TRUE(button.FocusGained().empty());
    EXPECT_TRUE(button.FocusLost().empty());
    EXPECT_TRUE(button.TrackingTick(false).empty());
    EXPECT_EQ(button.State(), FaceState::HighLightSelect);
    EXPECT_TRUE(button.ButtonHeld());

    button.SetEnabled(true);
    EXPECT_EQ(button.MouseUp(kLeftButton),
              (ButtonReactions{Drawn(SkinImage::HighLightSelect, FaceState::HighLightSelect),
                               Click(FaceState::HighLightSelect)}));

    FaceStateMachine fresh;
    fresh.Initialize();
    EXPECT_EQ(fresh.State(), FaceState::Normal);
    EXPECT_TRUE(fresh.MouseMove().empty());
    EXPECT_EQ(fresh.State(), FaceState::Normal);
}

}  // namespace
