#include "command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the button asks its platform to do, as one line per call.
class RecordingSurface final : public CommandSurface {
  public:
    void DrawFace(const FacePlan& plan) override {
        const bool shadeOnTop = plan.gradient && (*plan.gradient)[0].red != 0xFF00;
        log.push_back("draw " + Name(plan.image) + (shadeOnTop ? " flipped " : " upright ") +
                      std::to_string(plan.width) + "x" + std::to_string(plan.height));
    }
    void Present() override { log.push_back("present"); }
    void StartTracking(int intervalMs) override {
        log.push_back("track " + std::to_string(intervalMs));
    }

    // The drawn faces only.
    std::vector<std::string> Faces() const {
        std::vector<std::string> faces;
        for (const auto& line : log) {
            if (line.rfind("draw ", 0) == 0) faces.push_back(line.substr(5));
        }
        return faces;
    }

    std::vector<std::string> log;

  private:
    static std::string Name(SkinImage image) {
        switch (image) {
            case SkinImage::Normal:
                return "Normal";
            case SkinImage::HighLight:
                return "HighLight";
            case SkinImage::HighLightSelect:
                return "HighLightSelect";
            case SkinImage::Selected:
                return "Selected";
            case SkinImage::Pressed:
                return "Pressed";
            case SkinImage::Disable:
                return "Disable";
        }
        return "?";
    }
};

// A bag that also remembers the order of the writes.
class RecordingBag final : public PropertyBag {
  public:
    std::optional<PropertyValue> Read(std::string_view key) const override { return bag.Read(key); }
    void Write(std::string_view key, const std::optional<PropertyValue>& value) override {
        writes.emplace_back(std::string(key) + (value ? "" : " (left out)"));
        bag.Write(key, value);
    }
    MemoryPropertyBag bag;
    std::vector<std::string> writes;
};

const CaptionFont kAmbient{L"Ambient Gothic", 9, 400, 128, false, false, false};

using Faces = std::vector<std::string>;

TEST(Command, FreshInstanceHasTheDesignValues) {
    RecordingSurface surface;
    Command button(surface);
    EXPECT_EQ(button.Caption(), L"Command");
    EXPECT_EQ(*button.Font(), DesignFont());
    EXPECT_EQ(button.Font()->face, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(button.Label().colour, 0u);
    EXPECT_EQ(button.WidthTwips(), 1755);
    EXPECT_EQ(button.HeightTwips(), 420);
    EXPECT_EQ(button.FirstRun(), 0);
    EXPECT_TRUE(button.FaceShown());
    EXPECT_EQ(button.State(), FaceState::Uninitialised);
    EXPECT_TRUE(surface.log.empty());
}

TEST(Command, LoadingNothingGivesAnEnabledButtonDrawnNormal) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    EXPECT_EQ(button.Caption(), L"Command1");
    EXPECT_EQ(*button.Font(), kAmbient);
    EXPECT_EQ(button.Label().colour, 0u);
    EXPECT_EQ(button.FirstRun(), 1);
    EXPECT_TRUE(button.FaceShown());
    EXPECT_EQ(surface.Faces(), Faces{"Normal upright 77x25"});
    EXPECT_EQ(surface.log.back(), "present");
    EXPECT_EQ(button.Label().topTwips, 80);
    EXPECT_EQ(button.Label().widthTwips, 1155);
    EXPECT_EQ(button.State(), FaceState::Uninitialised);
    EXPECT_TRUE(button.Enabled());
}

TEST(Command, SavingWritesInOrderLeavingOutDefaultsAndLoadsBack) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    button.SetCaption(L"Command");
    surface.log.clear();

    RecordingBag stored;
    button.WriteProperties(stored, kAmbient);
    EXPECT_EQ(stored.writes,
              (std::vector<std::string>{"Enabled (left out)", "Caption (left out)",
                                        "FirstRun (left out)", "Font (left out)",
                                        "FontColour (left out)", "Visible (left out)"}));
    EXPECT_EQ(stored.bag.Size(), 0u);
    EXPECT_EQ(surface.Faces(), Faces{"Normal upright 77x25"});

    // "Command" is the writing default but not the reading one.
    RecordingSurface otherSurface;
    Command loaded(otherSurface, 1155, 375);
    loaded.ReadProperties(stored.bag, kAmbient);
    EXPECT_EQ(loaded.Caption(), L"Command1");

    // Anything else survives a save and a load, "Command1" included.
    for (const wchar_t* caption : {L"Command1", L"\u8a2d\u5b9a", L""}) {
        button.SetCaption(caption);
        MemoryPropertyBag bag;
        button.WriteProperties(bag, kAmbient);
        Command again(otherSurface);
        again.ReadProperties(bag, kAmbient);
        EXPECT_EQ(again.Caption(), caption);
    }
}

TEST(Command, NonDefaultValuesAreStoredAndRestored) {
    RecordingSurface surface;
    Command button(surface, 615, 315);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    const CaptionFont bold{L"Other", 12, 700, 0, true, true, false};
    button.SetFont(std::make_shared<CaptionFont>(bold));
    button.SetFontColour(0x00FFFFFF);
    button.SetEnabled(false);
    button.SetVisible(0);

    MemoryPropertyBag bag;
    button.WriteProperties(bag, kAmbient);
    EXPECT_EQ(bag.Read("enabled"), PropertyValue(std::int64_t{0}));
    EXPECT_EQ(bag.Read("Font"), PropertyValue(bold));
    EXPECT_EQ(bag.Read("FontColour"), PropertyValue(std::int64_t{0xFFFFFF}));
    EXPECT_EQ(bag.Read("Visible"), PropertyValue(std::int64_t{0}));
    EXPECT_EQ(bag.Read("FirstRun"), std::nullopt);

    RecordingSurface loadedSurface;
    Command loaded(loadedSurface, 615, 315);
    loaded.ReadProperties(bag, kAmbient);
    EXPECT_EQ(*loaded.Font(), bold);
    EXPECT_NE(loaded.Font(), button.Font());
    EXPECT_EQ(loaded.Label().colour, 0x00FFFFFFu);
    EXPECT_FALSE(loaded.FaceShown());
    // Loading a disabled button draws nothing; its face comes with the first size change.
    EXPECT_TRUE(loadedSurface.Faces().empty());
    loaded.Resize(615, 315);
    EXPECT_EQ(loadedSurface.Faces(), Faces{"Disable upright 41x21"});
    EXPECT_FALSE(loaded.Label().enabledLook);
    EXPECT_EQ(loaded.Label().topTwips, 50);
}

TEST(Command, LoadingSkipsValuesThatDoNotConvertAndKeepsTheRest) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.SetFontColour(0x0000FF);  // still disabled, so nothing resets these two
    button.SetVisible(0);
    MemoryPropertyBag bag;
    bag.Write("ENABLED", std::wstring(L"True"));
    bag.Write("caption", std::wstring(L"OK"));
    bag.Write("Font", std::wstring(L"no font"));
    bag.Write("FirstRun", std::wstring(L"1"));
    bag.Write("FontColour", std::wstring(L"red"));
    bag.Write("Visible", std::int64_t{70000});
    button.ReadProperties(bag, kAmbient);
    EXPECT_EQ(button.Caption(), L"OK");
    EXPECT_EQ(*button.Font(), DesignFont());
    EXPECT_EQ(button.FirstRun(), 1);
    EXPECT_EQ(button.Label().colour, 0x0000FFu);
    EXPECT_FALSE(button.FaceShown());
    EXPECT_EQ(surface.Faces(), Faces{"Normal upright 77x25"});

    MemoryPropertyBag outOfRange;
    outOfRange.Write("FirstRun", std::int64_t{300});
    Command fresh(surface, 1155, 375);
    fresh.SetFontColour(0x0000FF);
    fresh.ReadProperties(outOfRange, kAmbient);
    EXPECT_EQ(fresh.FirstRun(), 0);
    EXPECT_EQ(fresh.Label().colour, 0u);  // FirstRun still 0: restoring blackens the caption
}

TEST(Command, VisibleReadsBack255OrZero) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    EXPECT_EQ(button.Visible(), 255);
    button.SetVisible(7);
    EXPECT_EQ(button.Visible(), 255);
    MemoryPropertyBag bag;
    button.WriteProperties(bag, kAmbient);
    EXPECT_EQ(bag.Read("Visible"), std::nullopt);  // stored as 1, the default
    surface.log.clear();
    button.SetVisible(0);
    EXPECT_EQ(surface.log, std::vector<std::string>{"present"});
    EXPECT_FALSE(button.FaceShown());
    EXPECT_EQ(button.Visible(), 0);
    EXPECT_EQ(surface.log, std::vector<std::string>{"present"});  // a hidden face is not redrawn
}

TEST(Command, PropertyReadsRedrawTheRestingFace) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    button.Initialize();
    button.MouseMove();
    surface.log.clear();
    EXPECT_EQ(button.FontColour(), 0u);
    EXPECT_EQ(button.Visible(), 255);
    EXPECT_TRUE(button.Enabled());
    // The hovered state keeps its upside-down gradient under the resting face.
    EXPECT_EQ(surface.Faces(),
              (Faces{"Normal flipped 77x25", "Normal flipped 77x25", "Normal flipped 77x25"}));
    EXPECT_EQ(button.State(), FaceState::HighLight);

    button.SetEnabled(false);
    surface.log.clear();
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(button.FontColour(), 0u);  // a disabled button is not restored
    EXPECT_EQ(surface.Faces(), Faces{"Disable flipped 77x25"});
}

TEST(Command, FirstReadOfEnabledTurnsAFreshButtonOnAndBlackensItsCaption) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.SetFontColour(0x0000FF);  // disabled: not restored, the colour stays
    EXPECT_EQ(button.Label().colour, 0x0000FFu);
    EXPECT_TRUE(surface.Faces().empty());
    EXPECT_TRUE(button.Enabled());
    EXPECT_EQ(button.FirstRun(), 1);
    EXPECT_EQ(surface.Faces(), Faces{"Normal upright 77x25"});
    EXPECT_EQ(button.Label().colour, 0x0000FFu);  // restored only after FirstRun became 1

    RecordingSurface otherSurface;
    Command other(otherSurface, 1155, 375);
    other.SetEnabled(true);  // FirstRun still 0: every restore blackens the caption
    other.SetFontColour(0x0000FF);
    EXPECT_EQ(other.Label().colour, 0u);
}

TEST(Command, EnabledChangesRedrawWithoutTouchingTheState) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    button.Initialize();
    button.FocusGained();
    button.MouseMove();
    surface.log.clear();
    button.SetEnabled(false);
    EXPECT_EQ(surface.Faces(), Faces{"Disable upright 77x25"});
    EXPECT_FALSE(button.Label().enabledLook);
    button.MouseDown(kLeftButton);
    button.FocusLost();
    EXPECT_EQ(button.State(), FaceState::HighLightSelect);
    button.SetEnabled(true);
    EXPECT_EQ(surface.Faces(), (Faces{"Disable upright 77x25", "Normal upright 77x25"}));
    EXPECT_TRUE(button.Label().enabledLook);
    EXPECT_EQ(button.State(), FaceState::HighLightSelect);
}

TEST(Command, InputDrawsFacesAndTheClickComesAfterTheReleaseFace) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    int clicks = 0;
    button.SetClickHandler([&] {
        ++clicks;
        surface.log.push_back("click");
    });
    button.Initialize();
    EXPECT_EQ(surface.log.back(), "track 100");
    surface.log.clear();

    button.MouseMove();
    button.FocusGained();
    button.MouseDown(kLeftButton);
    button.MouseUp(kLeftButton);
    EXPECT_EQ(surface.log,
              (std::vector<std::string>{"draw HighLight flipped 77x25", "present",
                                        "draw Pressed flipped 77x25", "present",
                                        "draw Pressed flipped 77x25", "present",
                                        "draw HighLightSelect flipped 77x25", "present", "click"}));
    button.TrackingTick(false);
    button.MouseMove();
    EXPECT_EQ(surface.Faces().back(), "HighLightSelect upright 77x25");
    EXPECT_EQ(clicks, 1);
}

TEST(Command, ResizeRedrawsTheRestingFaceAndMovesTheCaption) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    button.ReadProperties(MemoryPropertyBag{}, kAmbient);
    button.Initialize();
    button.FocusGained();
    surface.log.clear();
    button.Resize(615, 315);
    EXPECT_EQ(surface.Faces(), Faces{"Normal upright 41x21"});
    EXPECT_EQ(button.State(), FaceState::Selected);
    EXPECT_EQ(button.Label().topTwips, 50);
    EXPECT_EQ(button.Label().widthTwips, 615);
}

TEST(Command, FontIsSharedByReferenceAndANullFontIsRefused) {
    RecordingSurface surface;
    Command button(surface);
    auto font = std::make_shared<CaptionFont>(kAmbient);
    button.SetFont(font);
    font->italic = true;
    EXPECT_TRUE(button.Font()->italic);
    button.SetFont(nullptr);
    EXPECT_EQ(button.Font(), font);
}

}  // namespace
