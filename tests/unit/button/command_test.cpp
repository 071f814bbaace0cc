#include "command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// clang-format off
std::string Narrow(const std::wstring& text) {  // what is not ASCII reads as '?'
    std::string narrow;
    for (const wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::string Describe(const PropertyValue& value) {  // a font by its face, size, weight and styles
    std::ostringstream out;
    if (const auto* number = std::get_if<std::int64_t>(&value)) out << *number;
    if (const auto* text = std::get_if<std::wstring>(&value)) out << Narrow(*text);
    if (const auto* f = std::get_if<CaptionFont>(&value)) out << Narrow(f->face) << " " << f->points << " " << f->weight << (f->italic ? " i" : "");
    return out.str();
}

// Records what the button asks its platform to do. A face drawn and then shown reads
// Image@state, with "^" when the shade is on top and the size when it is not 77 x 25.
class RecordingSurface final : public CommandSurface {
  public:
    void DrawFace(const FacePlan& plan) override {
        constexpr const char* kNames[] = {"Normal", "HighLight", "HighLightSelect", "Selected", "Pressed", "Disable"};
        Flush();
        drawn_ = std::string(kNames[static_cast<int>(plan.image)]) + "@" + std::to_string(static_cast<int>(button->State()));
        if (plan.gradient && (*plan.gradient)[0].red != 0xFF00) drawn_ += "^";
        if (plan.width != 77 || plan.height != 25) drawn_ += " " + std::to_string(plan.width) + "x" + std::to_string(plan.height);
    }
    void Present() override { Append(drawn_.empty() ? "present" : std::exchange(drawn_, {})); }
    void StartTracking(int intervalMs) override { Add("track " + std::to_string(intervalMs)); }
    void Add(const std::string& entry) { Flush(), Append(entry); }
    std::string Take() { return Flush(), std::exchange(log_, {}); }  // the calls since the last Take
    const Command* button = nullptr;

  private:
    void Append(const std::string& entry) { log_ += (log_.empty() ? "" : ", ") + entry; }
    void Flush() { if (!drawn_.empty()) Append(std::exchange(drawn_, {}) + " unshown"); }
    std::string drawn_, log_;
};
// clang-format on

const CaptionFont kAmbient{L"Ambient Gothic", 9, 400, 128};

// A button, its platform and its stored values, worked through scripts.
struct Bench {
    Bench() : button(surface, 1155, 375) {
        surface.button = &button;
        button.SetClickHandler([this] { surface.Add("click"); });
    }

    // Works the button through script's words and answers with the platform calls it made, the
    // clicks it raised and the values read on the way. bag:Key=Value stores a text (#: a number);
    // save lists the stored values (Key- for one left out).
    // clang-format off
    std::string Play(const std::string& script) {
        std::istringstream words(script);
        for (std::string word; words >> word;) {
            if (word == "load") button.ReadProperties(MemoryPropertyBag{}, kAmbient);
            if (word == "restore") button.ReadProperties(bag, kAmbient);
            if (word == "save") {
                button.WriteProperties(bag, kAmbient);
                std::string saved = "saved";
                for (const char* key : {"Enabled", "Caption", "FirstRun", "Font", "FontColour", "Visible"}) {
                    saved += " " + std::string(key) + (bag.Read(key) ? "=" + Describe(*bag.Read(key)) : "-");
                }
                surface.Add(saved);
            }
            if (word.starts_with("bag:")) {
                const size_t equals = word.find('=');
                const std::string value = word.substr(equals + 1);
                bag.Write(word.substr(4, equals - 4), value[0] == '#' ? PropertyValue(std::stoll(value.substr(1)))
                                                                      : PropertyValue(std::wstring(value.begin(), value.end())));
            }
            if (word.starts_with("caption:")) button.SetCaption({word.begin() + 8, word.end()});
            if (word == "font") button.SetFont(std::make_shared<CaptionFont>(kAmbient));
            if (word == "bold") button.SetFont(std::make_shared<CaptionFont>(CaptionFont{L"Other", 12, 700, 0, true, true, false}));
            if (word == "nofont") button.SetFont(nullptr);
            if (word == "red" || word == "white") button.SetFontColour(word == "red" ? 0xFF : 0xFFFFFF);
            if (word == "hide" || word == "show") button.SetVisible(word == "hide" ? 0 : 7);
            if (word == "enable" || word == "disable") button.SetEnabled(word == "enable");
            if (word == "resize") button.Resize(615, 315);
            if (word == "init") button.Initialize();
            if (word == "move") button.MouseMove();
            if (word == "down") button.MouseDown(kLeftButton);
            if (word == "rdown") button.MouseDown(kRightButton);
            if (word == "mdown") button.MouseDown(kMiddleButton);
            if (word == "up") button.MouseUp(kLeftButton);
            if (word == "rup") button.MouseUp(kRightButton);
            if (word == "mup") button.MouseUp(kMiddleButton);
            if (word == "in") button.FocusGained();
            if (word == "out") button.FocusLost();
            if (word == "over" || word == "away") button.TrackingTick(word == "over");
            if (word == "caption?") surface.Add("caption " + Narrow(button.Caption()));
            if (word == "font?") surface.Add("font " + Describe(*button.Font()));
            if (word == "visible?") surface.Add("visible " + std::to_string(button.Visible()));
            if (word == "colour?") surface.Add("colour " + std::to_string(button.FontColour()));
            if (word == "enabled?") surface.Add(button.Enabled() ? "enabled" : "disabled");
            if (word == "state?") {
                surface.Add("state " + std::to_string(static_cast<int>(button.State())) + " run " + std::to_string(button.FirstRun()) +
                            (button.ButtonHeld() ? " held" : ""));
            }
            if (word == "label?") {
                const CaptionLabel& label = button.Label();
                surface.Add("label " + std::to_string(label.topTwips) + " " + std::to_string(label.widthTwips) +
                            (label.enabledLook ? "" : " grey") + " colour " + std::to_string(label.colour));
            }
        }
        return surface.Take();
    }
    // clang-format on

    RecordingSurface surface;
    Command button;
    MemoryPropertyBag bag;
};

TEST(Command, AFreshButtonHasTheDesignValuesAndSharesItsFontByReference) {
    RecordingSurface surface;
    Command button(surface);
    EXPECT_EQ(
        std::tuple(button.Caption(), *button.Font(), button.WidthTwips(), button.HeightTwips(),
                   button.FaceShown(), button.Label().topTwips, button.Label().widthTwips),
        std::tuple(L"Command",
                   CaptionFont{L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", 9.75, 400, 128},
                   1755, 420, true, 102, 1755));
    auto font = std::make_shared<CaptionFont>(kAmbient);  // a null font is refused
    button.SetFont(font);
    font->italic = true;
    button.SetFont(nullptr);
    EXPECT_EQ(button.Font(), font);
}

// Where the rows start: a fresh button, one loaded with nothing stored (enabled, its first run
// over), and a loaded one initialised and brought into each face state through real events.
constexpr const char* kFresh = "";
constexpr const char* kLoaded = "load";
constexpr const char* kNormal = "load init";
constexpr const char* kHover = "load init move";
constexpr const char* kFocused = "load init in";
constexpr const char* kFocusedHover = "load init in move";
// Stored values that do not convert keep what the button has; a colour may be stored signed.
constexpr const char* kOdd =
    "red hide bag:ENABLED=True bag:caption=#12 bag:Font=none bag:FirstRun=209 "
    "bag:FontColour=blue bag:Visible=#70000 restore";

TEST(Command, WhatEachChangeInputAndStoredValueShowsOnScreen) {
    struct Row {
        const char *from, *script, *expected;
    };
    // clang-format off
    const Row rows[] = {
        // Fresh, it is disabled (nothing resets its colour, no input reaches it) until the first read
        // of Enabled turns it on; until its first run is over its caption blackens.
        {kFresh, "label? red hide down in move state? colour?", "label 80 1155 colour 0, present, present, state 0 run 0, colour 255"},
        {kFresh, "red enabled? state? colour? red label?", "present, Normal@0, enabled, state 0 run 1, Normal@0, colour 255, present, Normal@0, label 80 1155 colour 255"},
        {kFresh, "enable red label?", "Normal@0, present, Normal@0, label 80 1155 colour 0"}, {kFresh, "init state?", "track 100, state 1 run 0"},
        // Loaded: it shows each change; reads redraw the resting face, unless hidden or disabled.
        {kFresh, "load state? label?", "Normal@0, state 0 run 1, label 80 1155 colour 0"},
        {kLoaded, "caption:OK font nofont red hide", "present, present, present, Normal@0, present"},
        {kLoaded, "show visible? colour? enabled?", "Normal@0, present, Normal@0, visible 255, Normal@0, colour 0, Normal@0, enabled"},
        {kLoaded, "hide visible? disable colour? enabled? label?", "present, visible 0, Disable@0, colour 0, Disable@0, disabled, label 80 1155 grey colour 0"},
        {kLoaded, "resize label?", "Normal@0 41x21, label 50 615 colour 0"},  {kLoaded, "in", "Selected@3"}, {kLoaded, "out", "Normal@1"},
        // Hovering shows only from a resting state, and not while the left button is held.
        {kNormal, "move state?", "HighLight@2^, state 2 run 1"}, {kFocused, "move", "HighLightSelect@4"}, {kLoaded, "move state?", "state 0 run 1"},
        {kHover, "move state?", "state 2 run 1"}, {kFocusedHover, "move state?", "state 4 run 1"}, {kFocused, "down move state?", "Pressed@3, state 3 run 1 held"},
        // Any release clicks unless the mouse was found outside; a left one redraws and lets go.
        {kHover, "down up state?", "Pressed@2^, Normal@2^, click, state 2 run 1"}, {kFocusedHover, "down up", "Pressed@4, HighLightSelect@4, click"},
        {kNormal, "down up", "Pressed@1, click"}, {kLoaded, "down up", "Pressed@0, click"}, {kFocused, "down up state?", "Pressed@3, state 3 run 1"},
        {kHover, "down rup state?", "Pressed@2^, click, state 2 run 1 held"}, {kFocusedHover, "down mup state?", "Pressed@4, click, state 4 run 1 held"},
        {kFocused, "down rup", "Pressed@3"}, {kHover, "rdown rup", "click"},
        // The tracking timer notices the mouse leaving; the hover's gradient stays under the resting face till a state sets it upright.
        {kHover, "visible? away", "Normal@2^, visible 255, Normal@1"}, {kFocusedHover, "away", "Selected@3"}, {kNormal, "away state?", "state 1 run 1"}, {kFocused, "away state?", "state 3 run 1"},
        // A hovered button gains focus from the click that presses it.
        {kNormal, "move in down up", "HighLight@2^, Pressed@4^, Pressed@4^, HighLightSelect@4^, click"},
        // Dragged out: no click, and none when dragged back in until the next move.
        {kFocusedHover, "down move away move up state?", "Pressed@4, Selected@3, state 3 run 1"}, {kFocusedHover, "down away move over up move", "Pressed@4, Selected@3, HighLightSelect@4"},
        // After a left release in state 2 the hover face waits for the mouse to leave.
        {kHover, "down up move away move", "Pressed@2^, Normal@2^, click, Normal@1, HighLight@2^"},
        // Before Initialize there is no timer to notice the mouse leaving.
        {kLoaded, "away in move away out", "Selected@3, HighLightSelect@4, Normal@1"},
        // Focus: gained, it shows selected (pressed when hovered); lost, the button rests.
        {kFocusedHover, "in", "Selected@3"}, {kNormal, "out state?", "state 1 run 1"}, {kHover, "out", "Normal@1"},
        // The left button shows pressed in any state; the others press nothing.
        {kLoaded, "rdown mdown over down state?", "Pressed@0, state 0 run 1 held"}, {kHover, "rdown mdown over down state?", "Pressed@2^, state 2 run 1 held"},
        {kFocusedHover, "rdown mdown over down state?", "Pressed@4, state 4 run 1 held"},
        // Initialize works from any state; disabled, nothing else does, and the state is kept.
        {kFocusedHover, "init state?", "track 100, state 1 run 1"},
        {kFocusedHover, "down disable move down up rup in out away state?", "Pressed@4, Disable@4, state 4 run 1 held"},
        {kFocusedHover, "down disable enable up", "Pressed@4, Disable@4, Normal@4, HighLightSelect@4, click"},
        {kFocusedHover, "disable down out enable resize state? label?", "Disable@4, Normal@4, Normal@4 41x21, state 4 run 1, label 50 615 colour 0"},
        // Saving leaves out defaults ("Command" for writing, not for reading; any shown value is 1); loading restores the rest.
        {kFresh, "save", "saved Enabled=0 Caption- FirstRun=0 Font=?? ????? 9.75 400 FontColour- Visible-"},
        {kLoaded, "caption? font? caption:Command hide show save restore caption?", "caption Command1, font Ambient Gothic 9 400, present, present, Normal@0, present, Normal@0, saved Enabled- Caption- FirstRun- Font- FontColour- Visible-, Normal@0, caption Command1"},
        {kLoaded, "bold white disable hide caption:Command1 save caption:x font enable red show restore caption? font? state? visible? resize label?", "present, present, Normal@0, Disable@0, present, present, saved Enabled=0 Caption=Command1 FirstRun- Font=Other 12 700 i FontColour=16777215 Visible=0, present, present, Normal@0, present, Normal@0, Normal@0, present, caption Command1, font Other 12 700 i, state 0 run 1, visible 0, Disable@0 41x21, label 50 615 grey colour 16777215"},
        {kLoaded, "caption: save caption:x restore caption?", "present, Normal@0, saved Enabled- Caption= FirstRun- Font- FontColour- Visible-, present, Normal@0, caption "},
        {kFresh, kOdd, "present, present, Normal@0"},
        {kOdd, "caption? font? state? visible? label?", "caption 12, font ?? ????? 9.75 400, state 0 run 209, visible 0, label 80 1155 colour 255"},
        // A first run beyond a byte is refused, and a stored 0 counts (while 0 the resting face blackens the caption).
        {kOdd, "bag:FirstRun=#256 bag:FontColour=#-1 restore state? label?", "Normal@0, state 0 run 209, label 80 1155 colour 4294967295"},
        {kOdd, "bag:FirstRun=#0 restore state? label?", "Normal@0, state 0 run 0, label 80 1155 colour 0"},
    };
    // clang-format on
    for (const Row& row : rows) {
        Bench bench;
        bench.Play(row.from);
        EXPECT_EQ(bench.Play(row.script), row.expected) << row.from << " | " << row.script;
    }
}

}  // namespace
