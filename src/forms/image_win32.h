#pragma once

#include <windows.h>

#include <memory>

#include "windowless_win32.h"

namespace forms {

// A bitmap from the program's resources, shared by the images that show it.
class Picture {
  public:
    // Null when the program has no such bitmap.
    static std::shared_ptr<const Picture> FromResource(const wchar_t* name);
    static std::shared_ptr<const Picture> FromResource(int id) {
        return FromResource(MAKEINTRESOURCEW(id));
    }
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HBITMAP Bitmap() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    explicit Picture(HBITMAP bitmap);
    HBITMAP bitmap_;
    int width_ = 0;
    int height_ = 0;
};

// A windowless picture drawn by its container. A stretched image fills its frame with the
// picture; otherwise the image takes the picture's own size at its frame's top-left corner.
class Image final : public WindowlessControl {
  public:
    explicit Image(std::shared_ptr<const Picture> picture = nullptr, bool stretch = false);

    const std::shared_ptr<const Picture>& GetPicture() const { return picture_; }
    void SetPicture(std::shared_ptr<const Picture> newPicture);

    void Paint(HDC dc) const override;

  private:
    void FitToPicture();

    std::shared_ptr<const Picture> picture_;
    bool stretch_;
};

}  // namespace forms
