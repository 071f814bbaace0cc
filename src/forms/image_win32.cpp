#include "image_win32.h"

#include "failure_trace_win32.h"

namespace forms {

std::shared_ptr<const Picture> Picture::FromResource(const wchar_t* name) {
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) {
        TraceFailure(L"LoadImageW");
        return nullptr;
    }
    return std::shared_ptr<const Picture>(new Picture(bitmap));
}

Picture::Picture(HBITMAP bitmap) : bitmap(bitmap) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
}

Picture::~Picture() {
    DeleteObject(bitmap);
}

Image::Image(std::shared_ptr<const Picture> picture, bool stretch)
    : picture(std::move(picture)), stretch(stretch) {
    FitToPicture();
}

void Image::SetPicture(std::shared_ptr<const Picture> newPicture) {
    picture = std::move(newPicture);
    if (stretch) {
        Invalidate();
    } else {
        FitToPicture();
    }
}

void Image::FitToPicture() {
    const RECT& frame = Frame();
    if (!stretch && picture) Move(frame.left, frame.top, picture->Width(), picture->Height());
    Invalidate();
}

void Image::Paint(HDC dc) const {
    if (!picture) return;
    HDC source = CreateCompatibleDC(dc);
    if (!source) return;
    const HGDIOBJ previous = SelectObject(source, picture->Bitmap());
    const RECT& frame = Frame();
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (!stretch || (width == picture->Width() && height == picture->Height())) {
        BitBlt(dc, frame.left, frame.top, picture->Width(), picture->Height(), source, 0, 0,
               SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, frame.left, frame.top, width, height, source, 0, 0, picture->Width(),
                   picture->Height(), SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace forms
