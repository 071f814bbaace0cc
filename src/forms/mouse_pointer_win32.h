#pragma once

#include <windows.h>

namespace forms {

// The application-wide mouse pointer: while it is not Default it shows over every window of the
// program, whatever the window or control would show itself.
enum class MousePointer { Default, Hourglass };

void SetMousePointer(MousePointer pointer);

// The pointer that overrides every other one, or null while the pointer is Default.
HCURSOR PointerOverride();

}  // namespace forms
