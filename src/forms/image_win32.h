#pragma once

#include <windows.h>

namespace forms {

// A windowless picture drawn by its form: a bitmap from the program's resources, stretched to
// the frame it is given.
class Image {
  public:
    explicit Image(int bitmapResource);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Frame in pixels, in the form's client area.
    void Move(int x, int y, int width, int height);
    void Paint(HDC dc) const;

  private:
    HBITMAP bitmap = nullptr;
    int bitmapWidth = 0;
    int bitmapHeight = 0;
    RECT frame{};
};

}  // namespace forms
