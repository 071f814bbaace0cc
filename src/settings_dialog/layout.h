#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The settings dialog's window and controls as designed: positions and sizes in twips, relative
// to the client area of the container, in creation order (a later control is drawn over an
// earlier one).

inline constexpr int kDesignTwipsPerPixel = 15;  // at 96 dots per inch

inline constexpr int kDialogClientWidth = 7440;   // 496 pixels
inline constexpr int kDialogClientHeight = 3645;  // 243 pixels
inline constexpr std::uint32_t kDialogBackColour = 0x00C0C0C0;
inline constexpr std::uint32_t kPanelBackColour = 0x00E0E0E0;
inline constexpr std::uint32_t kBlack = 0x00000000;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;

enum class ControlKind { CustomButton, PictureBox, ComboBox, Shape, Label, Image };
enum class Container { Dialog, Panel };

enum class Control {
    CmdCan,
    CmdSet,
    PicC0,
    CmdFile0,
    BgmRepeat,
    Shape3,
    Lbl15,
    ImgBgm0,
    Lbl14,
    LblBgm1,
    LblBgm2,
    ImgBgm1,
    LblBgm0,
    ImgBgm2,
    LblFname0,
    Lbl7,
    LblUrl,
};

struct ControlLayout {
    Control id;
    std::string_view name;  // as the dialog's code names it, with its array index
    ControlKind kind;
    Container container;
    int left, top, width, height;  // twips
    int tabIndex;                  // -1: the control takes no place in the focus order
    std::wstring_view text;
    std::uint32_t textColour = kBlack;  // 0x00BBGGRR
    bool autoSize = false;              // the label is sized to its text
    bool centred = false;
    bool underline = false;
    bool sunkenBorder = false;
};

inline constexpr std::wstring_view kHomePage = L"https://github.com/lullvane/lullvane";
inline constexpr std::wstring_view kCreditLine = L"Lullvane \u00A9 2026 the Lullvane developers";

// clang-format off
inline constexpr std::array<ControlLayout, 17> kDialogControls{{
    {Control::CmdCan,    "Cmd_Can",      ControlKind::CustomButton, Container::Dialog, 6060, 3000, 1155, 375, 11, L"\uFF77\uFF6C\uFF9D\uFF7E\uFF99"},
    {Control::CmdSet,    "Cmd_Set",      ControlKind::CustomButton, Container::Dialog, 4860, 3000, 1155, 375, 10, L"\u8A2D\u5B9A"},
    {Control::PicC0,     "Pic_C(0)",     ControlKind::PictureBox,   Container::Dialog, 180, 240, 7035, 2475, 1, L""},
    {Control::CmdFile0,  "Cmd_File(0)",  ControlKind::CustomButton, Container::Panel, 420, 1740, 615, 315, 9, L"..."},
    {Control::BgmRepeat, "BGM_Repeat",   ControlKind::ComboBox,     Container::Panel, 1680, 780, 615, 300, 2, L""},
    {Control::Shape3,    "Shape3(3)",    ControlKind::Shape,        Container::Panel, 300, 300, 1695, 315, -1, L""},
    {Control::Lbl15,     "lbl(15)",      ControlKind::Label,        Container::Panel, 300, 360, 1665, 195, 8, L"BGM", kBlack, false, true},
    {Control::ImgBgm0,   "Img_BGM(0)",   ControlKind::Image,        Container::Panel, 420, 1140, 195, 195, -1, L""},
    {Control::Lbl14,     "lbl(14)",      ControlKind::Label,        Container::Panel, 2340, 840, 990, 195, 7, L"\u66F2\u76EE\u3092\uFF98\uFF8B\uFF9F\uFF70\uFF84", kBlack, true},
    {Control::LblBgm1,   "lbl_BGM(1)",   ControlKind::Label,        Container::Panel, 660, 840, 645, 195, 6, L"\u97F3\u697DCD", kBlack, true},
    {Control::LblBgm2,   "lbl_BGM(2)",   ControlKind::Label,        Container::Panel, 660, 1440, 900, 195, 5, L"MP3\u3001WAV", kBlack, true},
    {Control::ImgBgm1,   "Img_BGM(1)",   ControlKind::Image,        Container::Panel, 420, 840, 195, 195, -1, L""},
    {Control::LblBgm0,   "lbl_BGM(0)",   ControlKind::Label,        Container::Panel, 660, 1140, 330, 195, 4, L"\u306A\u3057", kBlack, true},
    {Control::ImgBgm2,   "Img_BGM(2)",   ControlKind::Image,        Container::Panel, 420, 1440, 195, 195, -1, L""},
    {Control::LblFname0, "lbl_Fname(0)", ControlKind::Label,        Container::Panel, 1080, 1740, 5595, 495, 3, L"", kBlack, false, false, false, true},
    {Control::Lbl7,      "lbl(7)",       ControlKind::Label,        Container::Dialog, 180, 2880, 3105, 195, 12, kCreditLine, kWhite, true},
    {Control::LblUrl,    "lbl_URL",      ControlKind::Label,        Container::Dialog, 180, 3120, 3105, 195, 13, kHomePage, kWhite, true, false, true},
}};
// clang-format on

constexpr bool RowsFollowTheControlOrder() {
    for (size_t i = 0; i < kDialogControls.size(); ++i) {
        if (static_cast<size_t>(kDialogControls[i].id) != i) return false;
    }
    return true;
}
static_assert(RowsFollowTheControlOrder(), "the table is indexed by Control");

constexpr const ControlLayout& LayoutOf(Control control) {
    return kDialogControls[static_cast<size_t>(control)];
}

// The music sources' indicators and captions, by source: 0 none, 1 audio CD, 2 music file.
inline constexpr std::array<Control, 3> kSourceIndicators = {Control::ImgBgm0, Control::ImgBgm1,
                                                             Control::ImgBgm2};
inline constexpr std::array<Control, 3> kSourceCaptions = {Control::LblBgm0, Control::LblBgm1,
                                                           Control::LblBgm2};

struct PixelFrame {
    int x, y, width, height;
    bool operator==(const PixelFrame&) const = default;
};

// Twips to pixels on a screen with the given twips per pixel across and down (15 and 15 at 96
// dots per inch, where every designed length is a whole number of pixels).
constexpr int PixelsOf(int twips, int twipsPerPixel) {
    return twips / twipsPerPixel;
}
constexpr PixelFrame PixelFrameOf(const ControlLayout& control, int twipsPerPixelX,
                                  int twipsPerPixelY) {
    return {PixelsOf(control.left, twipsPerPixelX), PixelsOf(control.top, twipsPerPixelY),
            PixelsOf(control.width, twipsPerPixelX), PixelsOf(control.height, twipsPerPixelY)};
}

// The font of every label and button: a Japanese proportional Gothic face, 9.75 points.
inline constexpr std::wstring_view kDialogFontFace = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";
inline constexpr double kDialogFontPoints = 9.75;
inline constexpr int kDialogFontWeight = 400;
inline constexpr int kDialogFontCharset = 128;
