#include "settings_dialog_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "application_win32.h"
#include "cp932.h"
#include "dialog_font.h"
#include "font_win32.h"
#include "host_paths.h"
#include "message_box_win32.h"
#include "mouse_pointer_win32.h"
#include "prepare_buttons_win32.h"
#include "skin.h"
#include "startup.h"

namespace {

constexpr int kFirstControlId = 100;
constexpr int kTrackListRows = 8;

COLORREF ColourOf(std::uint32_t bgr) {
    return static_cast<COLORREF>(bgr & 0x00FFFFFF);
}

forms::FontDesign FontDesignOf(const CaptionFont& font, bool underline) {
    return {font.face, font.points, font.weight, font.charset, font.italic, underline};
}

int ControlIdOf(Control control) {
    return kFirstControlId + static_cast<int>(control);
}

// The skin's lines into a surface's persistent background image, across its whole width.
void PaintSkin(forms::Surface& surface, SkinSurface kind) {
    const std::vector<Rgb> lines = SkinLines(kind, surface.Height());
    for (size_t y = 0; y < lines.size(); ++y) {
        const int row = static_cast<int>(y);
        surface.DrawLine(0, row, surface.Width(), row, RGB(lines[y].r, lines[y].g, lines[y].b));
    }
    surface.Refresh();
}

}  // namespace

SettingsDialog::SettingsDialog(SettingsVariables& settings, std::wstring folder,
                               ProfileStore& store)
    : model_(settings),
      programFolder_(std::move(folder)),
      store_(store),
      font_(DialogFont(forms::FaceInstalled)),
      twipsPerPixelX_(forms::TwipsPerPixelX()),
      twipsPerPixelY_(forms::TwipsPerPixelY()),
      // The caption is also what a second start of the program looks for.
      form_({.caption = std::wstring(kSettingsDialogCaption.begin(), kSettingsDialogCaption.end()),
             .backColour = ColourOf(kDialogBackColour),
             .width = PixelsOf(kDialogClientWidth, twipsPerPixelX_),
             .height = PixelsOf(kDialogClientHeight, twipsPerPixelY_),
             .border = forms::BorderStyle::FixedSingle,
             .icon = L"LULLVANE",
             .persistentImage = true}),
      Pic_C0(ColourOf(kPanelBackColour)),
      Shape3(RGB(0, 0, 0)),
      Img_Ra{forms::Picture::FromResource(L"INDICATOR_UNSELECTED"),
             forms::Picture::FromResource(L"INDICATOR_SELECTED")},
      linkPointer_(LoadCursorW(GetModuleHandleW(nullptr), L"LINK_POINTER")) {
    form_.Loaded = [this] {
        CreateControls();
        Form_Load();
    };
    form_.Resized = [this] { Form_Resize(); };
    form_.Unloaded = [this] { Form_Unload(); };
}

void SettingsDialog::ShowModal() {
    form_.Load();
    form_.ShowModal();
}

PixelFrame SettingsDialog::FrameOf(const ControlLayout& layout) const {
    return PixelFrameOf(layout, twipsPerPixelX_, twipsPerPixelY_);
}

CommandWindow* SettingsDialog::ButtonOf(Control control) const {
    const auto button = buttons_.find(control);
    return button == buttons_.end() ? nullptr : CommandWindow::FromHandle(button->second);
}

// Windowless controls go onto their container in the table's order, so that later ones are
// drawn over earlier ones; windowed controls are made in focus order, which is the order Tab
// visits them in.
void SettingsDialog::CreateControls() {
    for (const ControlLayout& layout : kDialogControls) {
        forms::Surface& container =
            layout.container == Container::Panel ? Pic_C0.Surface() : form_.Surface();
        const PixelFrame frame = FrameOf(layout);
        switch (layout.kind) {
            case ControlKind::Label: {
                auto label = std::make_unique<forms::Label>(
                    forms::LabelDesign{.caption = std::wstring(layout.text),
                                       .font = FontDesignOf(font_, layout.underline),
                                       .foreColour = ColourOf(layout.textColour),
                                       .transparent = true,
                                       .centred = layout.centred,
                                       .autoSize = layout.autoSize,
                                       .sunkenBorder = layout.sunkenBorder});
                label->Place(frame.x, frame.y, frame.width, frame.height);
                container.Add(*label);
                labels_[layout.id] = std::move(label);
                break;
            }
            case ControlKind::Image: {
                auto image = std::make_unique<forms::Image>();
                image->Move(frame.x, frame.y, frame.width, frame.height);
                container.Add(*image);
                images_[layout.id] = std::move(image);
                break;
            }
            case ControlKind::Shape:
                Shape3.Move(frame.x, frame.y, frame.width, frame.height);
                container.Add(Shape3);
                break;
            default:
                break;
        }
    }
    std::vector<const ControlLayout*> windowed;
    for (const ControlLayout& layout : kDialogControls) {
        if (layout.tabIndex >= 0 && layout.kind != ControlKind::Label) windowed.push_back(&layout);
    }
    std::sort(windowed.begin(), windowed.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    for (const ControlLayout* layout : windowed) CreateWindowed(*layout);

    for (int source = 0; source < kMusicSourceCount; ++source) {
        const auto choose = [this, source](int) { ChooseSource(source); };
        ImageOf(kSourceIndicators[source]).MouseDown = choose;
        LabelOf(kSourceCaptions[source]).MouseDown = choose;
    }
    forms::Label& link = LabelOf(Control::LblUrl);
    link.SetPointer(linkPointer_);
    link.Click = [this] { OpenHomePage(); };
}

void SettingsDialog::CreateWindowed(const ControlLayout& layout) {
    const PixelFrame frame = FrameOf(layout);
    const HWND parent = layout.container == Container::Panel ? Pic_C0.Handle() : form_.Handle();
    const int id = ControlIdOf(layout.id);
    switch (layout.kind) {
        case ControlKind::PictureBox:
            Pic_C0.Create(parent, id, frame.x, frame.y, frame.width, frame.height);
            break;
        case ControlKind::ComboBox:
            BGM_Repeat.Create(parent, id, frame.x, frame.y, frame.width, frame.height,
                              kTrackListRows);
            break;
        case ControlKind::CustomButton: {
            // What the dialog's design stores for each of its buttons: a caption and a font.
            MemoryPropertyBag stored;
            stored.Write("Caption", std::wstring(layout.text));
            stored.Write("Font", font_);
            CommandWindow* button = CommandWindow::Create(parent, id, frame.x, frame.y, frame.width,
                                                          frame.height, stored, font_);
            if (!button) break;
            buttons_[layout.id] = button->Handle();
            if (layout.id == Control::CmdFile0) {
                button->Button().SetClickHandler([this] { ChooseFile(0); });
            } else if (layout.id == Control::CmdSet) {
                button->Button().SetClickHandler([this] { Store(); });
            } else if (layout.id == Control::CmdCan) {
                button->Button().SetClickHandler([this] { form_.Unload(); });
            }
            break;
        }
        default:
            break;
    }
}

void SettingsDialog::Form_Load() {
    const HWND window = form_.Handle();
    RECT outer{};
    if (GetWindowRect(window, &outer)) {
        const Point place = DialogPlacement(GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX_,
                                            GetSystemMetrics(SM_CYSCREEN) * twipsPerPixelY_,
                                            (outer.right - outer.left) * twipsPerPixelX_,
                                            (outer.bottom - outer.top) * twipsPerPixelY_);
        SetWindowPos(window, nullptr, place.x / twipsPerPixelX_, place.y / twipsPerPixelY_, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PrepareButtons(window, true, true);
    ShowSource();
    BGM_Repeat.SetText(model_.InitialTrackText());
    for (const std::wstring& entry : TrackEntries()) BGM_Repeat.AddItem(entry);
    LabelOf(Control::LblFname0).SetCaption(model_.FileText());
    POINT cursor;
    zoomPoint_ = ZoomPointFrom(GetCursorPos(&cursor) ? std::optional<Point>({cursor.x, cursor.y})
                                                     : std::nullopt);
    ZoomFromPoint();
    forms::SetMousePointer(forms::MousePointer::Default);
}

void SettingsDialog::Form_Resize() {
    PaintSkin(form_.Surface(), SkinSurface::Dialog);
    PaintSkin(Pic_C0.Surface(), SkinSurface::Panel);
}

void SettingsDialog::Form_Unload() {
    ZoomToPoint();
}

void SettingsDialog::ChooseSource(int source) {
    model_.ChooseSource(source);
    ShowSource();
}

// The indicators, the track box and the file button as the current source has them.
void SettingsDialog::ShowSource() {
    const SourceView view = model_.View();
    CommandWindow* fileButton = ButtonOf(Control::CmdFile0);
    if (fileButton) fileButton->Button().SetEnabled(false);
    BGM_Repeat.SetEnabled(false);
    for (int source = 0; source < kMusicSourceCount; ++source) {
        ImageOf(kSourceIndicators[source])
            .SetPicture(Img_Ra[view.indicatorSelected[source] ? 1 : 0]);
    }
    if (view.trackBoxEnabled) BGM_Repeat.SetEnabled(true);
    if (view.fileButtonEnabled && fileButton) fileButton->Button().SetEnabled(true);
}

void SettingsDialog::ChooseFile(int index) {
    const std::string filter = ToCp932(FileFilter());
    const std::string title = ToCp932(kFileChooserTitle);
    const std::string folder = ToCp932(model_.FileFolder());
    std::string file(kFileBufferSize, '\0');
    std::string fileTitle(kFileBufferSize, '\0');
    OPENFILENAMEA request{};
    // The size of the request as the dialog has always known it; the fields added later stay
    // unused.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = form_.Handle();
    request.hInstance = GetModuleHandleW(nullptr);
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = kFileBufferSize;
    request.lpstrFileTitle = fileTitle.data();
    request.nMaxFileTitle = kFileBufferSize;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = title.c_str();
    request.Flags = 0;
    if (!GetOpenFileNameA(&request)) return;
    const std::wstring path = FromCp932(file.c_str());
    model_.ChooseFile(path);
    if (index == 0) LabelOf(Control::LblFname0).SetCaption(path);
}

void SettingsDialog::Store() {
    if (!model_.Store(store_, programFolder_, BGM_Repeat.Text())) {
        // Not kept, and the user is told so; the dialog stays open for Cancel.
        forms::ShowMessage(SaveFailedMessage(SettingsFilePath(programFolder_)),
                           std::wstring(kApplicationTitle), form_.Handle());
        return;
    }
    form_.Unload();
}

void SettingsDialog::OpenHomePage() {
    forms::SetMousePointer(forms::MousePointer::Hourglass);
    ShellExecuteA(form_.Handle(), "open", ToCp932(LabelOf(Control::LblUrl).Caption()).c_str(), "",
                  "", SW_SHOWNORMAL);
    forms::SetMousePointer(forms::MousePointer::Default);
}

void SettingsDialog::ZoomFromPoint() {
    const HWND window = form_.Handle();
    const RECT from{zoomPoint_.x, zoomPoint_.y, zoomPoint_.x, zoomPoint_.y};
    RECT to{};
    if (!GetWindowRect(window, &to)) to = {};
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void SettingsDialog::ZoomToPoint() {
    const HWND window = form_.Handle();
    RECT from{};
    if (!GetWindowRect(window, &from)) from = {};
    const RECT to{zoomPoint_.x, zoomPoint_.y, zoomPoint_.x, zoomPoint_.y};
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}
