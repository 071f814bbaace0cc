#include "command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const CaptionFont kAmbient{L"Ambient Gothic", 9, 400, 128};
const CaptionFont kBold{L"Other", 12, 700, 0, true, true, false};

// clang-format off
std::string Narrow(const std::wstring& text) {  // what is not ASCII reads as '?'
    std::string narrow;
    for (const wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::string Describe(const PropertyValue& value) {  // a font by its face, size, weight, charset and italic
    std::ostringstream out;
    if (const auto* number = std::get_if<std::int64_t>(&value)) out << *number;
    if (const auto* text = std::get_if<std::wstring>(&value)) out << Narrow(*text);
    if (const auto* f = std::get_if<CaptionFont>(&value))
        out << Narrow(f->face) << " " << f->points << " " << f->weight << " " << f->charset << (f->italic ? " i" : "");
    return out.str();
}

// A fresh button of the design size on a platform that records what it is asked to do: a face drawn
// and then shown reads Image@state, "^" when the shade is on top, and its size unless 117 x 28.
struct Bench final : CommandSurface {
    Bench() { button.SetClickHandler([this] { Add("click"); }); }
    void DrawFace(const FacePlan& plan) override {
        constexpr const char* kNames[] = {"Normal", "HighLight", "HighLightSelect", "Selected", "Pressed", "Disable"};
        Flush();
        drawn = std::string(kNames[static_cast<int>(plan.image)]) + "@" + std::to_string(static_cast<int>(button.State()));
        if (plan.gradient && (*plan.gradient)[0].red != 0xFF00) drawn += "^";
        if (plan.width != 117 || plan.height != 28) drawn += " " + std::to_string(plan.width) + "x" + std::to_string(plan.height);
    }
    void Present() override { Append(drawn.empty() ? "present" : std::exchange(drawn, {})); }
    void StartTracking(int intervalMs) override { Add("track " + std::to_string(intervalMs)); }
    void Add(const std::string& entry) { Flush(), Append(entry); }
    void Append(const std::string& entry) { log += (log.empty() ? "" : ", ") + entry; }
    void Flush() { if (!drawn.empty()) Append(std::exchange(drawn, {}) + " unshown"); }

    // Works the button through script's words and answers with the platform calls it made, the
    // clicks it raised and the values read on the way. bag:Key=Value stores a text (#: a number);
    // save lists the stored values (Key- for one left out); italic changes the font "font" set.
    std::string Play(const std::string& script) {
        std::istringstream words(script);
        for (std::string w; words >> w;) {
            if (w == "load" || w == "restore") button.ReadProperties(w == "load" ? MemoryPropertyBag{} : bag, kAmbient);
            if (w == "save") {
                button.WriteProperties(bag, kAmbient);
                std::string saved = "saved";
                for (const char* key : {"Enabled", "Caption", "FirstRun", "Font", "FontColour", "Visible"})
                    saved += " " + std::string(key) + (bag.Read(key) ? "=" + Describe(*bag.Read(key)) : "-");
                Add(saved);
            }
            if (w.starts_with("bag:")) {
                const size_t equals = w.find('=');
                const std::string value = w.substr(equals + 1);
                bag.Write(w.substr(4, equals - 4), value[0] == '#' ? PropertyValue(std::stoll(value.substr(1)))
                                                                   : PropertyValue(std::wstring(value.begin(), value.end())));
            }
            if (w.starts_with("caption:")) button.SetCaption({w.begin() + 8, w.end()});
            if (w == "font" || w == "bold" || w == "nofont") button.SetFont(w == "font" ? font : w == "bold" ? std::make_shared<CaptionFont>(kBold) : nullptr);
            if (w == "italic") font->italic = true;
            if (w == "red" || w == "white") button.SetFontColour(w == "red" ? 0xFF : 0xFFFFFF);
            if (w == "hide" || w == "show") button.SetVisible(w == "hide" ? 0 : 7);
            if (w == "enable" || w == "disable") button.SetEnabled(w == "enable");
            if (w == "resize") button.Resize(615, 315);
            if (w == "init") button.Initialize();
            if (w == "move") button.MouseMove();
            const int mouse = w[0] == 'r' ? kRightButton : w[0] == 'm' ? kMiddleButton : kLeftButton;  // down, rdown, mup...
            if (w.ends_with("down")) button.MouseDown(mouse);
            if (w.ends_with("up")) button.MouseUp(mouse);
            if (w == "in" || w == "out") w == "in" ? button.FocusGained() : button.FocusLost();
            if (w == "over" || w == "away") button.TrackingTick(w == "over");
            if (w == "caption?") Add("caption " + Narrow(button.Caption()));
            if (w == "font?") Add("font " + Describe(*button.Font()));
            if (w == "visible?") Add("visible " + std::to_string(button.Visible()));
            if (w == "colour?") Add("colour " + std::to_string(button.FontColour()));
            if (w == "enabled?") Add(button.Enabled() ? "enabled" : "disabled");
            if (w == "state?") Add("state " + std::to_string(static_cast<int>(button.State())) + " run " + std::to_string(button.FirstRun()) + (button.ButtonHeld() ? " held" : ""));
            const CaptionLabel& label = button.Label();
            if (w == "label?") Add("label " + std::to_string(label.topTwips) + " " + std::to_string(label.widthTwips) +
                                   (label.enabledLook ? "" : " grey") + " colour " + std::to_string(label.colour));
        }
        return Flush(), std::exchange(log, {});
    }

    Command button{*this};
    MemoryPropertyBag bag;
    std::shared_ptr<CaptionFont> font = std::make_shared<CaptionFont>(kAmbient);
    std::string drawn, log;
};

// Where the rows start: a fresh button, one loaded with nothing stored (enabled, its first run
// over), and a loaded one initialised and brought into each face state through real events.
constexpr const char *kFresh = "", *kLoaded = "load", *kNormal = "load init", *kHover = "load init move",
                     *kFocused = "load init in", *kFocusedHover = "load init in move";
// Stored values that do not convert keep what the button has; a colour may be stored signed.
constexpr const char* kOdd =
    "red hide bag:ENABLED=True bag:caption=#12 bag:Font=none bag:FirstRun=209 bag:FontColour=blue bag:Visible=#70000 restore";

TEST(Command, WhatEachChangeInputAndStoredValueShowsOnScreen) {
    const Bench fresh;  // the design font's face (the rest shows when saved), its size, its face shown
    EXPECT_EQ(std::tuple(fresh.button.Font()->face, fresh.button.WidthTwips(), fresh.button.HeightTwips(), fresh.button.FaceShown()),
              std::tuple(L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", 1755, 420, true));
    struct Row {
        const char *from, *script, *expected;
    };
    const Row rows[] = {
        // Fresh, it is disabled (nothing resets its colour, no input reaches it) until the first read
        // of Enabled turns it on; until its first run is over its caption blackens.
        {kFresh, "label? red hide down in move state? init state? colour?", "label 102 1755 colour 0, present, present, state 0 run 0, track 100, state 1 run 0, colour 255"},
        {kFresh, "red enabled? state? colour? red label?", "present, Normal@0, enabled, state 0 run 1, Normal@0, colour 255, present, Normal@0, label 102 1755 colour 255"},
        {kFresh, "enable red label?", "Normal@0, present, Normal@0, label 102 1755 colour 0"},
        // Loaded: it shows each change; reads redraw the resting face, unless hidden or disabled. A
        // font set is shared, not copied; none is refused.
        {kFresh, "load state? label?", "Normal@0, state 0 run 1, label 102 1755 colour 0"},
        {kLoaded, "caption:OK font italic nofont font? red hide", "present, present, font Ambient Gothic 9 400 128 i, present, Normal@0, present"},
        {kLoaded, "show visible? colour? enabled? resize label?", "Normal@0, present, Normal@0, visible 255, Normal@0, colour 0, Normal@0, enabled, Normal@0 41x21, label 50 615 colour 0"},
        {kLoaded, "hide visible? disable colour? enabled? label?", "present, visible 0, Disable@0, colour 0, Disable@0, disabled, label 102 1755 grey colour 0"},
        // Hovering shows only from a resting state, and not while the left button is held; the
        // left button shows pressed in any state, the others press nothing.
        {kLoaded, "move rdown mdown over down state? up", "Pressed@0, state 0 run 1 held, click"},
        {kFocused, "away down move state? rup up state? move", "Pressed@3, state 3 run 1 held, state 3 run 1, HighLightSelect@4"},
        // Any release clicks unless the mouse was found outside; a left one redraws and lets go. A
        // hovered button gains focus from the click that presses it, so it shows pressed at once.
        {kNormal, "away out state? down up move state? in down up", "state 1 run 1, Pressed@1, click, HighLight@2^, state 2 run 1, Pressed@4^, Pressed@4^, HighLightSelect@4^, click"},
        {kHover, "move rdown rup mdown over down mup state? up state? move away move", "click, Pressed@2^, click, state 2 run 1 held, Normal@2^, click, state 2 run 1, Normal@1, HighLight@2^"},
        {kFocusedHover, "move down mup state? up", "Pressed@4, click, state 4 run 1 held, HighLightSelect@4, click"},
        // The tracking timer notices the mouse leaving; the hover's gradient stays under the resting face till a state sets it upright.
        {kHover, "visible? away move out", "Normal@2^, visible 255, Normal@1, HighLight@2^, Normal@1"},
        // Dragged out: no click, and none when dragged back in until the next move.
        {kFocusedHover, "down away move over up state? move", "Pressed@4, Selected@3, state 3 run 1, HighLightSelect@4"},
        // Focus: gained, it shows selected; lost, the button rests. Before Initialize there is no timer to notice the mouse leaving.
        {kLoaded, "out away in move away out", "Normal@1, Selected@3, HighLightSelect@4, Normal@1"},
        // Initialize works from any state; disabled, nothing else does, and the state is kept.
        {kFocusedHover, "in init state?", "Selected@3, track 100, state 1 run 1"},
        {kFocusedHover, "down disable move down up rup in out away state? enable up", "Pressed@4, Disable@4, state 4 run 1 held, Normal@4, HighLightSelect@4, click"},
        {kFocusedHover, "disable down out enable resize state? label?", "Disable@4, Normal@4, Normal@4 41x21, state 4 run 1, label 50 615 colour 0"},
        // Saving leaves out defaults ("Command" for writing, not for reading; any shown value is 1); loading restores the rest.
        {kFresh, "save", "saved Enabled=0 Caption- FirstRun=0 Font=?? ????? 9.75 400 128 FontColour- Visible-"},
        {kLoaded, "caption? font? caption:Command hide show save restore caption?", "caption Command1, font Ambient Gothic 9 400 128, present, present, Normal@0, present, Normal@0, saved Enabled- Caption- FirstRun- Font- FontColour- Visible-, Normal@0, caption Command1"},
        {kLoaded, "bold white disable hide caption:Command1 save caption:x font enable red show restore caption? font? state? visible? resize label?", "present, present, Normal@0, Disable@0, present, present, saved Enabled=0 Caption=Command1 FirstRun- Font=Other 12 700 0 i FontColour=16777215 Visible=0, present, present, Normal@0, present, Normal@0, Normal@0, present, caption Command1, font Other 12 700 0 i, state 0 run 1, visible 0, Disable@0 41x21, label 50 615 grey colour 16777215"},
        {kLoaded, "caption: save caption:x restore caption?", "present, Normal@0, saved Enabled- Caption= FirstRun- Font- FontColour- Visible-, present, Normal@0, caption "},
        {kFresh, kOdd, "present, present, Normal@0"},
        {kOdd, "caption? font? state? visible? label?", "caption 12, font ?? ????? 9.75 400 128, state 0 run 209, visible 0, label 102 1755 colour 255"},
        // A first run beyond a byte is refused, and a stored 0 counts (while 0 the resting face blackens the caption).
        {kOdd, "bag:FirstRun=#256 bag:FontColour=#-1 restore state? label?", "Normal@0, state 0 run 209, label 102 1755 colour 4294967295"},
        {kOdd, "bag:FirstRun=#0 restore state? label?", "Normal@0, state 0 run 0, label 102 1755 colour 0"},
    };
    // clang-format on
    for (const Row& row : rows) {
        Bench bench;
        bench.Play(row.from);
        EXPECT_EQ(bench.Play(row.script), row.expected) << row.from << " | " << row.script;
    }
}

}  // namespace
