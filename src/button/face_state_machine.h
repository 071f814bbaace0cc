#pragma once

#include <cstdint>
#include <vector>

// The button's face states; the numbers are the values the state field holds.
enum class FaceState : std::uint8_t {
    Uninitialised = 0,    // a fresh instance: the mouse leaving is not noticed yet
    Normal = 1,           // no focus, mouse outside
    HighLight = 2,        // no focus, mouse over
    Selected = 3,         // focus, mouse outside
    HighLightSelect = 4,  // focus, mouse over
};

// The six skin images a face is drawn with.
enum class SkinImage { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

// Mouse button codes as the input events carry them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// How often the mouse-tracking timer ticks once the button is initialised.
inline constexpr int kTrackingIntervalMs = 100;

// One thing an event makes the button do, in the order it has to be done.
struct ButtonReaction {
    enum class Kind { DrawFace, RaiseClick };
    Kind kind = Kind::DrawFace;
    SkinImage face = SkinImage::Normal;                   // the image to draw (DrawFace only)
    FaceState stateWhenDrawn = FaceState::Uninitialised;  // decides the gradient's direction

    bool operator==(const ButtonReaction&) const = default;
};
using ButtonReactions = std::vector<ButtonReaction>;

// The face state machine of the push button: it is told of input events and answers with the faces
// to draw and the clicks to raise, in order. While disabled, every event but Initialize is ignored.
class FaceStateMachine {
  public:
    // Starts the mouse tracking; draws nothing. Works also while disabled.
    void Initialize();

    ButtonReactions MouseMove();
    ButtonReactions MouseDown(int button);
    ButtonReactions MouseUp(int button);
    ButtonReactions FocusGained();
    ButtonReactions FocusLost();
    // A tick of the tracking timer: cursorOverOwnWindow tells whether the window under the cursor
    // is the button's own one (the caption has no window of its own, so it counts as the button).
    ButtonReactions TrackingTick(bool cursorOverOwnWindow);

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }
    FaceState State() const { return state_; }
    bool ButtonHeld() const { return buttonHeld_; }
    bool Tracking() const { return tracking_; }

  private:
    ButtonReactions MouseLeft();
    ButtonReaction Draw(SkinImage face) const;

    FaceState state_ = FaceState::Uninitialised;
    bool buttonHeld_ = false;
    bool enabled_ = false;
    bool tracking_ = false;
};
