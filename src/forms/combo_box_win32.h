#pragma once

#include <windows.h>

#include <string>

namespace forms {

// A combo box with an editable text and a drop-down list, in the system's default font.
class ComboBox {
  public:
    ComboBox() = default;
    ComboBox(const ComboBox&) = delete;
    ComboBox& operator=(const ComboBox&) = delete;

    // Makes the window at (x, y) in parent's client area, width x height pixels when closed; the
    // open list shows listRows entries at a time.
    bool Create(HWND parent, int controlId, int x, int y, int width, int height, int listRows);

    HWND Handle() const { return window_; }
    void SetEnabled(bool enabled);
    bool Enabled() const;
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void AddItem(const std::wstring& item);

  private:
    HWND window_ = nullptr;
};

}  // namespace forms
