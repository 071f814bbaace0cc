#include "command.h"

#include <limits>

namespace {

constexpr std::int64_t kFalse = 0;
constexpr std::int64_t kTrue = -1;

}  // namespace

CaptionFont DesignFont() {
    return {.face = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", .points = 9.75, .charset = 128};
}

Command::Command(CommandSurface& surface, int widthTwips, int heightTwips)
    : surface_(surface), widthTwips_(widthTwips), heightTwips_(heightTwips) {
    label_.text = L"Command";
    label_.font = std::make_shared<CaptionFont>(DesignFont());
    label_.topTwips = CaptionTopTwips(heightTwips);
    label_.widthTwips = widthTwips;
}

void Command::Initialize() {
    machine_.Initialize();
    surface_.StartTracking(kTrackingIntervalMs);
}

void Command::Perform(const ButtonReactions& reactions) {
    for (const ButtonReaction& reaction : reactions) {
        if (reaction.kind == ButtonReaction::Kind::DrawFace) {
            PaintFace(reaction.face, reaction.stateWhenDrawn);
        } else if (clickHandler_) {
            // The click is always the last reaction: its handler may even destroy the button.
            clickHandler_();
        }
    }
}

void Command::PaintFace(SkinImage image, FaceState state) {
    shadeFlipped_ = ShadeFlippedAfter(state, shadeFlipped_);
    surface_.DrawFace(
        PlanFace(image, TwipsToPixels(widthTwips_), TwipsToPixels(heightTwips_), shadeFlipped_));
    label_.topTwips = CaptionTopTwips(heightTwips_);
    label_.widthTwips = widthTwips_;
    surface_.Present();
}

void Command::ApplyEnabled() {
    const bool enabled = machine_.Enabled();
    label_.enabledLook = enabled;
    PaintFace(enabled ? SkinImage::Normal : SkinImage::Disable, machine_.State());
}

void Command::RestoreNormal() {
    if (!machine_.Enabled()) return;
    label_.enabledLook = true;
    if (firstRun_ == 0) label_.colour = 0;
    PaintFace(SkinImage::Normal, machine_.State());
}

void Command::Resize(int widthTwips, int heightTwips) {
    widthTwips_ = widthTwips;
    heightTwips_ = heightTwips;
    ApplyEnabled();
}

std::uint8_t Command::Visible() {
    if (faceShown_ == 0) return 0;
    RestoreNormal();
    return 255;
}

void Command::SetVisible(std::uint8_t visible) {
    if (visible != 0) {
        faceShown_ = 1;
        RestoreNormal();
    } else {
        faceShown_ = 0;
    }
    surface_.Present();
}

std::uint32_t Command::FontColour() {
    const std::uint32_t colour = label_.colour;
    RestoreNormal();
    return colour;
}

void Command::SetFontColour(std::uint32_t colour) {
    label_.colour = colour;
    surface_.Present();
    RestoreNormal();
}

bool Command::Enabled() {
    if (firstRun_ == 0) {
        RestoreNormal();
        firstRun_ = 1;
        machine_.SetEnabled(true);
    }
    ApplyEnabled();
    return machine_.Enabled();
}

void Command::SetEnabled(bool enabled) {
    machine_.SetEnabled(enabled);
    ApplyEnabled();
}

void Command::SetCaption(std::wstring caption) {
    label_.text = std::move(caption);
    surface_.Present();
}

void Command::SetFont(std::shared_ptr<CaptionFont> font) {
    if (!font) return;
    label_.font = std::move(font);
    surface_.Present();
}

void Command::ReadProperties(const PropertyBag& bag, const CaptionFont& ambient) {
    constexpr auto kMin64 = std::numeric_limits<std::int64_t>::min();
    constexpr auto kMax64 = std::numeric_limits<std::int64_t>::max();
    if (const auto enabled = ReadInteger(bag, "Enabled", kTrue, kMin64, kMax64)) {
        machine_.SetEnabled(*enabled != 0);
    }
    if (auto caption = ReadText(bag, "Caption", L"Command1")) label_.text = std::move(*caption);
    if (const auto font = ReadFont(bag, "Font", ambient)) {
        label_.font = std::make_shared<CaptionFont>(*font);
    }
    if (const auto firstRun = ReadInteger(bag, "FirstRun", 1, 0, 255)) {
        firstRun_ = static_cast<std::uint8_t>(*firstRun);
    }
    // A colour may be stored signed or unsigned; both give the same 32 bits.
    if (const auto colour =
            ReadInteger(bag, "FontColour", 0, std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::uint32_t>::max())) {
        label_.colour = static_cast<std::uint32_t>(*colour);
    }
    if (const auto shown = ReadInteger(bag, "Visible", 1, std::numeric_limits<std::int16_t>::min(),
                                       std::numeric_limits<std::int16_t>::max())) {
        faceShown_ = static_cast<std::int16_t>(*shown);
    }
    RestoreNormal();
}

void Command::WriteProperties(PropertyBag& bag, const CaptionFont& ambient) {
    WriteValue(bag, "Enabled", machine_.Enabled() ? kTrue : kFalse, kTrue);
    WriteValue(bag, "Caption", label_.text, std::wstring(L"Command"));
    WriteValue(bag, "FirstRun", std::int64_t{firstRun_}, std::int64_t{1});
    WriteValue(bag, "Font", *label_.font, ambient);
    WriteValue(bag, "FontColour", std::int64_t{label_.colour}, std::int64_t{0});
    WriteValue(bag, "Visible", std::int64_t{faceShown_}, std::int64_t{1});
    RestoreNormal();
}
