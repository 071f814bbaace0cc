#include "command_win32.h"

#include <cmath>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"Torvane2.Command";
constexpr UINT_PTR kTrackingTimer = 1;

// The skins belong to the class, not to a button: loaded once, kept for the program's life.
HBITMAP SkinBitmap(SkinImage image) {
    static HBITMAP skins[6] = {};
    static bool loaded = false;
    if (!loaded) {
        const wchar_t* const names[6] = {L"COMMAND_NORMAL",          L"COMMAND_HIGHLIGHT",
                                         L"COMMAND_HIGHLIGHTSELECT", L"COMMAND_SELECTED",
                                         L"COMMAND_PRESSED",         L"COMMAND_DISABLE"};
        for (int i = 0; i < 6; ++i) {
            skins[i] = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), names[i],
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        }
        loaded = true;
    }
    return skins[static_cast<int>(image)];
}

// Caption colours may name a system colour: high bit set, the colour's index in the low byte.
COLORREF ColourRef(std::uint32_t colour) {
    if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0x00FFFFFF;
}

}  // namespace

CommandWindow::CommandWindow(int width, int height)
    : button_(*this, width * kTwipsPerPixel, height * kTwipsPerPixel),
      faceDc_(CreateCompatibleDC(nullptr)) {}

CommandWindow::~CommandWindow() {
    if (faceDc_) {
        if (faceDcDefaultBitmap_) SelectObject(faceDc_, faceDcDefaultBitmap_);
        DeleteDC(faceDc_);
    }
    if (faceBitmap_) DeleteObject(faceBitmap_);
    if (font_) DeleteObject(font_);
}

CommandWindow* CommandWindow::Create(HWND parent, int controlId, int x, int y, int width,
                                     int height, const PropertyBag& stored,
                                     const CaptionFont& ambient) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, kClassName, &windowClass)) {
        // No CS_DBLCLKS: a quick second click is a second press, not a double-click.
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassExW(&windowClass)) return nullptr;
    }
    auto* self = new CommandWindow(width, height);
    ++self->dispatchDepth_;  // a creation that fails half-way destroys the window, not the object
    const HWND window = CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, x, y, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, self);
    --self->dispatchDepth_;
    if (!window) {
        delete self;
        return nullptr;
    }
    self->button_.ReadProperties(stored, ambient);
    self->loaded_ = true;
    RECT client{};
    GetClientRect(window, &client);
    self->button_.Resize(client.right * kTwipsPerPixel, client.bottom * kTwipsPerPixel);
    ShowWindow(window, SW_SHOWNA);
    return self;
}

CommandWindow* CommandWindow::FromHandle(HWND window) {
    wchar_t name[64] = {};
    if (!window || !GetClassNameW(window, name, 64) || std::wcscmp(name, kClassName) != 0) {
        return nullptr;
    }
    return reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK CommandWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CommandWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    // A handler (a Click above all) may destroy the window: delete only once the outermost
    // message is done with the object.
    ++self->dispatchDepth_;
    const LRESULT result = self->Dispatch(message, wParam, lParam);
    if (--self->dispatchDepth_ == 0 && self->destroyed_) delete self;
    return result;
}

LRESULT CommandWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
        case WM_SIZE:
            if (loaded_) {
                button_.Resize(LOWORD(lParam) * kTwipsPerPixel, HIWORD(lParam) * kTwipsPerPixel);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (const HDC dc = BeginPaint(window, &paint)) {
                Compose(dc);
                EndPaint(window, &paint);
            }
            return 0;
        }
        case WM_SETFOCUS:
            button_.FocusGained();
            return 0;
        case WM_KILLFOCUS:
            button_.FocusLost();
            return 0;
        case WM_MOUSEMOVE:
            button_.MouseMove();
            return 0;
        case WM_LBUTTONDOWN:
            MouseDown(kLeftButton);
            return 0;
        case WM_RBUTTONDOWN:
            MouseDown(kRightButton);
            return 0;
        case WM_MBUTTONDOWN:
            MouseDown(kMiddleButton);
            return 0;
        case WM_LBUTTONUP:
            MouseUp(kLeftButton, wParam);
            return 0;
        case WM_RBUTTONUP:
            MouseUp(kRightButton, wParam);
            return 0;
        case WM_MBUTTONUP:
            MouseUp(kMiddleButton, wParam);
            return 0;
        case WM_TIMER:
            if (wParam == kTrackingTimer) Tick();
            return 0;
        case WM_NCDESTROY:
            KillTimer(window, kTrackingTimer);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            destroyed_ = true;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CommandWindow::MouseDown(int button) {
    // The click that gives the focus delivers it before its press, as for the platform's buttons.
    if (button == kLeftButton && GetFocus() != window_) SetFocus(window_);
    if (!window_) return;
    SetCapture(window_);
    button_.MouseDown(button);
}

void CommandWindow::MouseUp(int button, WPARAM heldButtons) {
    if ((heldButtons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) {
        ReleaseCapture();
    }
    if (window_) button_.MouseUp(button);
}

void CommandWindow::Tick() {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;  // no position, no verdict on where the mouse is
    // The caption has no window of its own, so over the caption is over the button.
    button_.TrackingTick(WindowFromPoint(cursor) == window_);
}

void CommandWindow::StartTracking(int intervalMs) {
    if (window_) SetTimer(window_, kTrackingTimer, static_cast<UINT>(intervalMs), nullptr);
}

void CommandWindow::ResizeFace(int width, int height) {
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (screen) ReleaseDC(nullptr, screen);
    if (!bitmap) return;
    const HGDIOBJ previous = SelectObject(faceDc_, bitmap);
    if (!faceDcDefaultBitmap_) faceDcDefaultBitmap_ = previous;
    if (faceBitmap_) DeleteObject(faceBitmap_);
    faceBitmap_ = bitmap;
    faceWidth_ = width;
    faceHeight_ = height;
}

void CommandWindow::DrawFace(const FacePlan& plan) {
    if (!faceDc_ || plan.width <= 0 || plan.height <= 0) return;
    if (plan.width != faceWidth_ || plan.height != faceHeight_) ResizeFace(plan.width, plan.height);
    if (!faceBitmap_) return;
    RECT whole{0, 0, faceWidth_, faceHeight_};
    FillRect(faceDc_, &whole, GetSysColorBrush(COLOR_BTNFACE));
    if (plan.gradient) {
        TRIVERTEX vertices[2];
        for (int i = 0; i < 2; ++i) {
            const GradientVertex& vertex = (*plan.gradient)[i];
            vertices[i] = {vertex.x, vertex.y, vertex.red, vertex.green, vertex.blue, vertex.alpha};
        }
        GRADIENT_RECT rectangle{0, 1};
        GradientFill(faceDc_, vertices, 2, &rectangle, 1, GRADIENT_FILL_RECT_V);
    }
    const HBITMAP skin = SkinBitmap(plan.image);
    const HDC skinDc = skin ? CreateCompatibleDC(faceDc_) : nullptr;
    if (!skinDc) return;
    const HGDIOBJ previous = SelectObject(skinDc, skin);
    SetStretchBltMode(faceDc_, COLORONCOLOR);
    for (const FramePiece& piece : plan.frame) {
        const PixelRect& to = piece.destination;
        const PixelRect& from = piece.source;
        if (to.width <= 0 || to.height <= 0) continue;
        StretchBlt(faceDc_, to.x, to.y, to.width, to.height, skinDc, from.x, from.y, from.width,
                   from.height, SRCCOPY);
    }
    SelectObject(skinDc, previous);
    DeleteDC(skinDc);
}

void CommandWindow::Present() {
    if (!window_ || !loaded_) return;
    if (const HDC dc = GetDC(window_)) {
        Compose(dc);
        ReleaseDC(window_, dc);
    }
}

// The face (or the cleared surface while it is hidden) with the caption on top, drawn off screen
// and copied in one piece so that nothing flickers.
void CommandWindow::Compose(HDC target) {
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    const HDC buffer = CreateCompatibleDC(target);
    const HBITMAP bitmap =
        buffer ? CreateCompatibleBitmap(target, client.right, client.bottom) : nullptr;
    if (!bitmap) {
        if (buffer) DeleteDC(buffer);
        return;
    }
    const HGDIOBJ previous = SelectObject(buffer, bitmap);
    FillRect(buffer, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (button_.FaceShown() && faceBitmap_) {
        BitBlt(buffer, 0, 0, faceWidth_, faceHeight_, faceDc_, 0, 0, SRCCOPY);
    }
    DrawCaption(buffer);
    BitBlt(target, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, previous);
    DeleteObject(bitmap);
    DeleteDC(buffer);
}

void CommandWindow::DrawCaption(HDC target) {
    const CaptionLabel& label = button_.Label();
    const int top = TwipsToPixels(label.topTwips);
    RECT band{0, top, TwipsToPixels(label.widthTwips), top + TwipsToPixels(kCaptionHeightTwips)};
    const HFONT font = CaptionFontHandle(target);
    const HGDIOBJ previous = font ? SelectObject(target, font) : nullptr;
    SetBkMode(target, TRANSPARENT);
    const UINT format = DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    const int length = static_cast<int>(label.text.size());
    if (label.enabledLook) {
        SetTextColor(target, ColourRef(label.colour));
        DrawTextW(target, label.text.c_str(), length, &band, format);
    } else {
        // The platform's disabled text: embossed grey with a light shadow below and right.
        RECT shadow = band;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(target, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(target, label.text.c_str(), length, &shadow, format);
        SetTextColor(target, GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(target, label.text.c_str(), length, &band, format);
    }
    if (previous) SelectObject(target, previous);
}

HFONT CommandWindow::CaptionFontHandle(HDC target) {
    const CaptionFont& wanted = *button_.Label().font;
    if (font_ && wanted == fontMadeFrom_) return font_;
    LOGFONTW description{};
    description.lfHeight = -MulDiv(static_cast<int>(std::lround(wanted.points * 100)),
                                   GetDeviceCaps(target, LOGPIXELSY), 7200);
    description.lfWeight = wanted.weight;
    description.lfItalic = wanted.italic;
    description.lfUnderline = wanted.underline;
    description.lfStrikeOut = wanted.strikethrough;
    description.lfCharSet = static_cast<BYTE>(wanted.charset);
    description.lfQuality = DEFAULT_QUALITY;
    std::wcsncpy(description.lfFaceName, wanted.face.c_str(), LF_FACESIZE - 1);
    if (font_) DeleteObject(font_);
    font_ = CreateFontIndirectW(&description);
    fontMadeFrom_ = wanted;
    return font_;
}
