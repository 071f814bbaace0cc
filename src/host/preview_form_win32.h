#pragma once

#include <windows.h>

#include "form_win32.h"
#include "image_win32.h"
#include "timer_win32.h"

// The preview form "Preview Window": a still picture of the flame shown as a child of the window
// the system hands over with /p. It goes when that window goes, and the program with it.
class PreviewForm {
  public:
    PreviewForm();

    // Loads the form into `parent`, sized to it, and shows it; false when its window could not
    // be made.
    bool Embed(HWND parent);

  private:
    forms::Form form_;
    forms::Image Img_Prev;  // the designer's name for the preview picture
    // Child windows of another process's window do not always hear of its end; this makes sure.
    forms::Timer parentWatch_;
    HWND parent_ = nullptr;
};
