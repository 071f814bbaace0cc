#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "face_painting.h"
#include "face_state_machine.h"
#include "stored_values.h"

// The caption label: a windowless, centred, transparent text band across the whole button.
struct CaptionLabel {
    std::wstring text;
    std::shared_ptr<CaptionFont> font;
    std::uint32_t colour = 0;  // 0x00BBGGRR
    bool enabledLook = true;   // false: the platform's greyed look
    int topTwips = 0;
    int widthTwips = 0;
};

// What the platform widget does for the portable button.
class CommandSurface {
  public:
    virtual ~CommandSurface() = default;
    // Clears the face, fills plan's gradient and draws its frame pieces; the face is kept for
    // later repaints. Shown on screen by the Present that follows.
    virtual void DrawFace(const FacePlan& plan) = 0;
    // Shows the kept face (or the cleared surface while the face is hidden) with the caption
    // label on top, at once.
    virtual void Present() = 0;
    // Starts, or restarts, the mouse-tracking timer.
    virtual void StartTracking(int intervalMs) = 0;
};

// The design font of a fresh button.
CaptionFont DesignFont();

// The Command push button without its platform: face states, painting decisions, properties and
// stored values. The platform widget feeds it input and draws what it asks for.
class Command {
  public:
    // A fresh instance, as placed anew: 1755 x 420 twips unless told otherwise, disabled,
    // caption "Command" in the design font, black, face shown.
    explicit Command(CommandSurface& surface, int widthTwips = 1755, int heightTwips = 420);

    // Methods and events.
    void Initialize();
    void SetClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

    // Properties. Reading some of them redraws the resting face, as the button always has.
    std::uint8_t Visible();
    void SetVisible(std::uint8_t visible);
    std::uint32_t FontColour();
    void SetFontColour(std::uint32_t colour);
    bool Enabled();
    void SetEnabled(bool enabled);
    const std::wstring& Caption() const { return label_.text; }
    void SetCaption(std::wstring caption);
    // The caption's font object itself: changes to it show at the next paint.
    std::shared_ptr<CaptionFont> Font() const { return label_.font; }
    void SetFont(std::shared_ptr<CaptionFont> font);

    // Stored values; ambient is the containing form's font.
    void ReadProperties(const PropertyBag& bag, const CaptionFont& ambient);
    void WriteProperties(PropertyBag& bag, const CaptionFont& ambient);

    // Input from the platform.
    void MouseMove() { Perform(machine_.MouseMove()); }
    void MouseDown(int button) { Perform(machine_.MouseDown(button)); }
    void MouseUp(int button) { Perform(machine_.MouseUp(button)); }
    void FocusGained() { Perform(machine_.FocusGained()); }
    void FocusLost() { Perform(machine_.FocusLost()); }
    void TrackingTick(bool cursorOverOwnWindow) {
        Perform(machine_.TrackingTick(cursorOverOwnWindow));
    }
    // A size change redraws the resting face.
    void Resize(int widthTwips, int heightTwips);

    // What the platform draws and tests look at.
    const CaptionLabel& Label() const { return label_; }
    bool FaceShown() const { return faceShown_ != 0; }
    FaceState State() const { return machine_.State(); }
    bool ButtonHeld() const { return machine_.ButtonHeld(); }
    bool ShadeFlipped() const { return shadeFlipped_; }
    std::uint8_t FirstRun() const { return firstRun_; }
    int WidthTwips() const { return widthTwips_; }
    int HeightTwips() const { return heightTwips_; }

  private:
    void Perform(const ButtonReactions& reactions);
    void PaintFace(SkinImage image, FaceState state);
    void ApplyEnabled();
    void RestoreNormal();

    CommandSurface& surface_;
    FaceStateMachine machine_;
    CaptionLabel label_;
    std::function<void()> clickHandler_;
    std::uint8_t firstRun_ = 0;
    std::int16_t faceShown_ = 1;
    bool shadeFlipped_ = false;
    int widthTwips_;
    int heightTwips_;
};
