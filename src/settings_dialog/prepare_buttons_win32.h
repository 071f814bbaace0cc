#pragma once

#include <windows.h>

// Walks every control of the form, however deeply placed, and for each Command button calls
// Initialize when `initialise` is set, else sets Enabled to `enable`. Other controls are passed
// over.
void PrepareButtons(HWND form, bool initialise, bool enable);
