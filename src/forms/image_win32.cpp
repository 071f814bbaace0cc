#include "image_win32.h"

namespace forms {

Image::Image(int bitmapResource) {
    bitmap =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapResource),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        bitmapWidth = info.bmWidth;
        bitmapHeight = info.bmHeight;
    }
    frame = {0, 0, bitmapWidth, bitmapHeight};
}

Image::~Image() {
    if (bitmap) DeleteObject(bitmap);
}

void Image::Move(int x, int y, int width, int height) {
    frame = {x, y, x + width, y + height};
}

void Image::Paint(HDC dc) const {
    if (!bitmap) return;
    HDC source = CreateCompatibleDC(dc);
    if (!source) return;
    const HGDIOBJ previous = SelectObject(source, bitmap);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width == bitmapWidth && height == bitmapHeight) {
        BitBlt(dc, frame.left, frame.top, width, height, source, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, frame.left, frame.top, width, height, source, 0, 0, bitmapWidth,
                   bitmapHeight, SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace forms
