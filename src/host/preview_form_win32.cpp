#include "preview_form_win32.h"

#include "application_win32.h"
#include "host_resources.h"
#include "preview_frame.h"

namespace {

constexpr int kDesignWidth = 152;
constexpr int kDesignHeight = 112;
constexpr UINT kParentWatchInterval = 250;

}  // namespace

PreviewForm::PreviewForm()
    : form_({.caption = L"Preview Window", .width = kDesignWidth, .height = kDesignHeight}),
      Img_Prev(forms::Picture::FromResource(IDB_PREVIEW_STILL), true),
      parentWatch_(form_, kParentWatchInterval, [this] {
          if (!IsWindow(parent_)) form_.Unload();
      }) {
    form_.Add(Img_Prev);
    form_.Unloaded = [this] {
        const HWND owner = GetWindow(form_.Handle(), GW_OWNER);
        if (owner) PostMessageA(owner, WM_CLOSE, 0, 0);
    };
}

bool PreviewForm::Embed(HWND host) {
    parent_ = host;
    RECT area{};
    GetWindowRect(host, &area);
    form_.Load();
    const HWND window = form_.Handle();
    if (!window) return false;
    // A window cannot be a child and a pop-up at once; it becomes a plain child.
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, (style | WS_CHILD) & ~WS_POPUP);
    SetParent(window, host);
    const auto frame = PreviewFrameFor(area.right - area.left, area.bottom - area.top,
                                       forms::TwipsPerPixelX(), forms::TwipsPerPixelY());
    if (frame) {
        form_.Move(0, 0, frame->width, frame->height);
        Img_Prev.Move(0, 0, frame->width, frame->height);
    }
    form_.Show();
    parentWatch_.SetEnabled(true);
    return true;
}
