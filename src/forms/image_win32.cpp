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

Picture::Picture(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
}

Picture::~Picture() {
    DeleteObject(bitmap_);
}

Image::Image(std::shared_ptr<const Picture> picture, bool stretch)
    : picture_(std::move(picture)), stretch_(stretch) {
    FitToPicture();
}

void Image::SetPicture(std::shared_ptr<const Picture> newPicture) {
    picture_ = std::move(newPicture);
    if (stretch_) {
        Invalidate();
    } else {
        FitToPicture();
    }
}

void Image::FitToPicture() {
    const RECT& frame = Frame();
    if (!stretch_ && picture_) Move(frame.left, frame.top, picture_->Width(), picture_->Height());
    Invalidate();
}

void Image::Paint(HDC dc) const {
    if (!picture_) return;
    HDC source = CreateCompatibleDC(dc);
    if (!source) return;
    const HGDIOBJ previous = SelectObject(source, picture_->Bitmap());
    const RECT& frame = Frame();
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (!stretch_ || (width == picture_->Width() && height == picture_->Height())) {
        BitBlt(dc, frame.left, frame.top, picture_->Width(), picture_->Height(), source, 0, 0,
               SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, frame.left, frame.top, width, height, source, 0, 0, picture_->Width(),
                   picture_->Height(), SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace forms
