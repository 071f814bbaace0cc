#include "command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Records what the button asks its platform to do, one entry per call.
class RecordingSurface final : public CommandSurface {
  public:
    void DrawFace(const FacePlan& plan) override {
        constexpr const char* kNames[] = {"Normal",   "HighLight", "HighLightSelect",
                                          "Selected", "Pressed",   "Disable"};
        const bool flipped = plan.gradient && (*plan.gradient)[0].red != 0xFF00;
        Add(std::string(kNames[static_cast<int>(plan.image)]) + (flipped ? " flipped " : " ") +
            std::to_string(plan.width) + "x" + std::to_string(plan.height));
    }
    void Present() override { Add("present"); }
    void StartTracking(int intervalMs) override { Add("track " + std::to_string(intervalMs)); }
    void Add(const std::string& entry) { log += (log.empty() ? "" : ", ") + entry; }

    std::string log;
};

const CaptionFont kAmbient{L"Ambient Gothic", 9, 400, 128};

// Works the button through script's words and answers with the platform calls it made, the
// clicks it raised and the values read on the way.
std::string Play(Command& button, RecordingSurface& surface, const std::string& script) {
    surface.log.clear();
    button.SetClickHandler([&] { surface.Add("click"); });
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        if (word == "load") button.ReadProperties(MemoryPropertyBag{}, kAmbient);
        if (word == "caption") button.SetCaption(L"OK");
        if (word == "font") button.SetFont(std::make_shared<CaptionFont>(kAmbient));
        if (word == "nofont") button.SetFont(nullptr);
        if (word == "red") button.SetFontColour(0xFF);
        if (word == "white") button.SetFontColour(0xFFFFFF);
        if (word == "hide") button.SetVisible(0);
        if (word == "show") button.SetVisible(7);
        if (word == "enable" || word == "disable") button.SetEnabled(word == "enable");
        if (word == "resize") button.Resize(615, 315);
        if (word == "init") button.Initialize();
        if (word == "move") button.MouseMove();
        if (word == "down") button.MouseDown(kLeftButton);
        if (word == "up") button.MouseUp(kLeftButton);
        if (word == "in") button.FocusGained();
        if (word == "out") button.FocusLost();
        if (word == "away") button.TrackingTick(false);
        if (word == "visible?") surface.Add("visible " + std::to_string(button.Visible()));
        if (word == "colour?") surface.Add("colour " + std::to_string(button.FontColour()));
        if (word == "enabled?") surface.Add(button.Enabled() ? "enabled" : "disabled");
        if (word == "state?") {
            surface.Add("state " + std::to_string(int(button.State())) + " run " +
                        std::to_string(button.FirstRun()));
        }
        if (word == "label?") {
            const CaptionLabel& label = button.Label();
            surface.Add("label " + std::to_string(label.topTwips) + " " +
                        std::to_string(label.widthTwips) + (label.enabledLook ? "" : " grey") +
                        " colour " + std::to_string(label.colour));
        }
    }
    return surface.log;
}

// A bag that also remembers the order of the writes.
class RecordingBag final : public PropertyBag {
  public:
    std::optional<PropertyValue> Read(std::string_view key) const override { return bag.Read(key); }
    void Write(std::string_view key, const std::optional<PropertyValue>& value) override {
        writes += std::string(key) + (value ? " " : "- ");
        bag.Write(key, value);
    }
    MemoryPropertyBag bag;
    std::string writes;
};

TEST(Command, AFreshButtonHasTheDesignValues) {
    RecordingSurface surface;
    Command button(surface);
    EXPECT_EQ(button.Caption(), L"Command");
    EXPECT_EQ(*button.Font(), (CaptionFont{L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", 9.75,
                                           400, 128, false, false, false}));
    EXPECT_EQ(button.WidthTwips(), 1755);
    EXPECT_EQ(button.HeightTwips(), 420);
    EXPECT_TRUE(button.FaceShown());
    // Placed anew and saved: disabled, in its first run, in a font other than the form's.
    RecordingBag stored;
    button.WriteProperties(stored, kAmbient);
    EXPECT_EQ(stored.writes, "Enabled Caption- FirstRun Font FontColour- Visible- ");
    EXPECT_EQ(surface.log, "");
    EXPECT_EQ(Play(button, surface, "label? down in move state?"),
              "label 102 1755 colour 0, state 0 run 0");

    // Its font is shared by reference; a null one is refused.
    auto font = std::make_shared<CaptionFont>(kAmbient);
    button.SetFont(font);
    font->italic = true;
    button.SetFont(nullptr);
    EXPECT_EQ(button.Font(), font);
}

TEST(Command, WhatEachChangeAndInputShowsOnScreen) {
    struct Row {
        const char* script;  // on a fresh 1155 x 375 button
        const char* expected;
    };
    // clang-format off
    const Row rows[] = {
        // A fresh button is disabled: nothing resets its colour and no input reaches it, until
        // the first read of Enabled turns it on. Until its first run is over its caption blackens.
        {"red hide down in colour?", "present, present, colour 255"},
        {"red enabled? state? colour? red label?", "present, Normal 77x25, present, enabled, state 0 run 1, Normal 77x25, present, colour 255, present, Normal 77x25, present, label 80 1155 colour 255"},
        {"enable red label?", "Normal 77x25, present, present, Normal 77x25, present, label 80 1155 colour 0"},
        // Loaded with nothing stored: enabled, drawn, the first run over.
        {"load state? label?", "Normal 77x25, present, state 0 run 1, label 80 1155 colour 0"},
        {"load caption font nofont red hide", "Normal 77x25, present, present, present, present, Normal 77x25, present, present"},
        {"load show visible? colour? enabled?", "Normal 77x25, present, Normal 77x25, present, present, Normal 77x25, present, visible 255, Normal 77x25, present, colour 0, Normal 77x25, present, enabled"},
        // Hidden or disabled, reads do not redraw the resting face.
        {"load hide visible? disable colour? label?", "Normal 77x25, present, present, visible 0, Disable 77x25, present, colour 0, label 80 1155 grey colour 0"},
        {"load disable enabled?", "Normal 77x25, present, Disable 77x25, present, Disable 77x25, present, disabled"},
        // A click: the release face comes first; the hovered gradient stays under a resting face.
        {"load init move in down up", "Normal 77x25, present, track 100, HighLight flipped 77x25, present, Pressed flipped 77x25, present, Pressed flipped 77x25, present, HighLightSelect flipped 77x25, present, click"},
        {"load init move visible? away", "Normal 77x25, present, track 100, HighLight flipped 77x25, present, Normal flipped 77x25, present, visible 255, Normal 77x25, present"},
        // Enabling redraws but leaves the state alone; a resize redraws and moves the caption.
        {"load init in move disable down out enable resize state? label?", "Normal 77x25, present, track 100, Selected 77x25, present, HighLightSelect 77x25, present, Disable 77x25, present, Normal 77x25, present, Normal 41x21, present, state 4 run 1, label 50 615 colour 0"},
    };
    // clang-format on
    for (const Row& row : rows) {
        RecordingSurface surface;
        Command button(surface, 1155, 375);
        EXPECT_EQ(Play(button, surface, row.script), row.expected) << row.script;
    }
}

TEST(Command, SavingLeavesOutDefaultsAndLoadingRestoresTheRest) {
    RecordingSurface surface;
    Command button(surface, 615, 315);
    Play(button, surface, "load");
    EXPECT_EQ(button.Caption(), L"Command1");
    EXPECT_EQ(*button.Font(), kAmbient);
    // "Command" is the default for writing but not for reading.
    button.SetCaption(L"Command");
    RecordingBag stored;
    button.WriteProperties(stored, kAmbient);
    EXPECT_EQ(stored.writes, "Enabled- Caption- FirstRun- Font- FontColour- Visible- ");
    EXPECT_EQ(surface.log, "Normal 41x21, present, present, Normal 41x21, present");
    Command loaded(surface);
    loaded.ReadProperties(stored.bag, kAmbient);
    EXPECT_EQ(loaded.Caption(), L"Command1");

    const CaptionFont bold{L"Other", 12, 700, 0, true, true, false};
    button.SetFont(std::make_shared<CaptionFont>(bold));
    Play(button, surface, "white disable hide");
    for (const wchar_t* caption : {L"Command1", L"\u8a2d\u5b9a", L""}) {
        button.SetCaption(caption);
        MemoryPropertyBag bag;
        button.WriteProperties(bag, kAmbient);
        EXPECT_EQ(bag.Read("enabled"), PropertyValue(std::int64_t{0}));
        EXPECT_EQ(bag.Read("FontColour"), PropertyValue(std::int64_t{0xFFFFFF}));
        EXPECT_EQ(bag.Read("Visible"), PropertyValue(std::int64_t{0}));
        Command again(surface, 615, 315);
        again.ReadProperties(bag, kAmbient);
        EXPECT_EQ(again.Caption(), caption);
        EXPECT_EQ(*again.Font(), bold);
        EXPECT_NE(again.Font(), button.Font());
        // Disabled, it loads without a face; the first size change draws it.
        EXPECT_EQ(
            Play(again, surface, "state? visible? resize label?"),
            "state 0 run 1, visible 0, Disable 41x21, present, label 50 615 grey colour 16777215");
    }
}

TEST(Command, LoadingKeepsWhatItHasForValuesThatDoNotConvert) {
    RecordingSurface surface;
    Command button(surface, 1155, 375);
    Play(button, surface, "red hide");  // still disabled, so nothing resets these two
    MemoryPropertyBag bag;
    bag.Write("ENABLED", std::wstring(L"True"));
    bag.Write("caption", std::int64_t{12});
    bag.Write("Font", std::wstring(L"no font"));
    bag.Write("FirstRun", std::wstring(L"209"));
    bag.Write("FontColour", std::wstring(L"blue"));
    bag.Write("Visible", std::int64_t{70000});
    button.ReadProperties(bag, kAmbient);
    EXPECT_EQ(button.Caption(), L"12");
    EXPECT_EQ(button.Font()->points, 9.75);
    EXPECT_EQ(Play(button, surface, "state? visible? label?"),
              "state 0 run 209, visible 0, label 80 1155 colour 255");

    // A colour may be stored signed; a first run beyond a byte is refused, and a stored 0 counts
    // (while it is 0 the resting face blackens the caption).
    MemoryPropertyBag odd;
    odd.Write("FirstRun", std::int64_t{256});
    odd.Write("FontColour", std::int64_t{-1});
    const auto LoadOdd = [&] {
        button.ReadProperties(odd, kAmbient);
        return Play(button, surface, "state? label?");
    };
    EXPECT_EQ(LoadOdd(), "state 0 run 209, label 80 1155 colour 4294967295");
    odd.Write("FirstRun", std::int64_t{0});
    EXPECT_EQ(LoadOdd(), "state 0 run 0, label 80 1155 colour 0");
}

}  // namespace
