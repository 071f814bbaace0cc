#pragma once

#include <functional>
#include <string_view>

#include "stored_values.h"

// The font of the dialog's labels and buttons: the designed Japanese proportional Gothic face
// where the system has it, else the first such face the system has (a system without the
// designed face would otherwise pick a face of its own, often a fixed-pitch one).
CaptionFont DialogFont(const std::function<bool(std::wstring_view face)>& installed);
