#include "face_state_machine.h"

void FaceStateMachine::Initialize() {
    state_ = FaceState::Normal;
    tracking_ = true;
}

ButtonReaction FaceStateMachine::Draw(SkinImage face) const {
    return {.kind = ButtonReaction::Kind::DrawFace, .face = face, .stateWhenDrawn = state_};
}

ButtonReactions FaceStateMachine::MouseMove() {
    if (!enabled_) return {};
    if (state_ == FaceState::Normal) {
        state_ = FaceState::HighLight;
        return {Draw(SkinImage::HighLight)};
    }
    // While the left button is held the hover face is not shown: the button looks pressed or,
    // once dragged out, merely focused.
    if (state_ == FaceState::Selected && !buttonHeld_) {
        state_ = FaceState::HighLightSelect;
        return {Draw(SkinImage::HighLightSelect)};
    }
    return {};
}

ButtonReactions FaceStateMachine::MouseDown(int button) {
    if (!enabled_ || button != kLeftButton) return {};
    buttonHeld_ = true;
    return {Draw(SkinImage::Pressed)};
}

ButtonReactions FaceStateMachine::MouseUp(int button) {
    if (!enabled_) return {};
    ButtonReactions reactions;
    if (button == kLeftButton) {
        buttonHeld_ = false;
        if (state_ == FaceState::HighLight) {
            reactions.push_back(Draw(SkinImage::Normal));
        } else if (state_ == FaceState::HighLightSelect) {
            reactions.push_back(Draw(SkinImage::HighLightSelect));
        }
    }
    // Any button counts: a release over the button clicks unless the mouse was found outside.
    if (state_ != FaceState::Selected) {
        reactions.push_back({.kind = ButtonReaction::Kind::RaiseClick, .stateWhenDrawn = state_});
    }
    return reactions;
}

ButtonReactions FaceStateMachine::FocusGained() {
    if (!enabled_) return {};
    // A hovered button gains focus from the click that is about to press it: show it pressed.
    if (state_ == FaceState::HighLight) {
        state_ = FaceState::HighLightSelect;
        return {Draw(SkinImage::Pressed)};
    }
    state_ = FaceState::Selected;
    return {Draw(SkinImage::Selected)};
}

ButtonReactions FaceStateMachine::FocusLost() {
    if (!enabled_ || state_ == FaceState::Normal) return {};
    state_ = FaceState::Normal;
    return {Draw(SkinImage::Normal)};
}

ButtonReactions FaceStateMachine::TrackingTick(bool cursorOverOwnWindow) {
    // Before Initialize there is no timer, so the mouse leaving goes unnoticed.
    if (!enabled_ || !tracking_ || cursorOverOwnWindow) return {};
    return MouseLeft();
}

ButtonReactions FaceStateMachine::MouseLeft() {
    if (state_ == FaceState::HighLight) {
        state_ = FaceState::Normal;
        return {Draw(SkinImage::Normal)};
    }
    if (state_ == FaceState::HighLightSelect) {
        state_ = FaceState::Selected;
        return {Draw(SkinImage::Selected)};
    }
    return {};
}
