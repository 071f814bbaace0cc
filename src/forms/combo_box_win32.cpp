#include "combo_box_win32.h"

#include "failure_trace_win32.h"

namespace forms {

bool ComboBox::Create(HWND parent, int controlId, int x, int y, int width, int height,
                      int listRows) {
    if (window_) return false;
    const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    if (const HDC screen = GetDC(nullptr)) {
        const HGDIOBJ previous = SelectObject(screen, font);
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
    }
    // The height given to a drop-down combo box is that of the box with its list open.
    const int openHeight = (metrics.tmHeight + 2) * (listRows + 2);
    window_ = CreateWindowExW(0, L"COMBOBOX", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS |
                                  CBS_DROPDOWN | CBS_AUTOHSCROLL,
                              x, y, width, openHeight, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        TraceFailure(L"CreateWindowExW");
        return false;
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // The closed box is as high as its selection field and frame: the field takes up the
    // difference. Systems differ in how the field's height maps to the box's, so measure again.
    LRESULT field = SendMessageW(window_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3 && field > 0 && field != CB_ERR; ++attempt) {
        SendMessageW(window_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        RECT closed{};
        GetWindowRect(window_, &closed);
        if (closed.bottom - closed.top == height) break;
        field += height - (closed.bottom - closed.top);
    }
    return true;
}

void ComboBox::SetEnabled(bool enabled) {
    if (window_) EnableWindow(window_, enabled ? TRUE : FALSE);
}

bool ComboBox::Enabled() const {
    return window_ && IsWindowEnabled(window_);
}

std::wstring ComboBox::Text() const {
    if (!window_) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ComboBox::SetText(const std::wstring& text) {
    if (window_) SetWindowTextW(window_, text.c_str());
}

void ComboBox::AddItem(const std::wstring& item) {
    if (window_) SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

}  // namespace forms
