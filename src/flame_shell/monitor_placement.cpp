#include "monitor_placement.h"

#include <algorithm>

namespace {

const Monitor& PrimaryOf(std::span<const Monitor> monitors) {
    const auto flagged = std::ranges::find_if(monitors, &Monitor::primary);
    if (flagged != monitors.end()) return *flagged;
    const auto atOrigin = std::ranges::find_if(monitors, [](const Monitor& monitor) {
        return monitor.rect.left == 0 && monitor.rect.top == 0;
    });
    return atOrigin != monitors.end() ? *atOrigin : monitors.front();
}

}  // namespace

FlamePlacement PlaceFlame(std::span<const Monitor> monitors) {
    if (monitors.empty()) return {};
    ScreenRect window = monitors.front().rect;
    for (const Monitor& monitor : monitors) {
        window.left = std::min(window.left, monitor.rect.left);
        window.top = std::min(window.top, monitor.rect.top);
        window.right = std::max(window.right, monitor.rect.right);
        window.bottom = std::max(window.bottom, monitor.rect.bottom);
    }
    const ScreenRect& primary = PrimaryOf(monitors).rect;
    return {.window = window,
            .flame = {.x = primary.left - window.left,
                      .y = window.bottom - primary.bottom,
                      .width = primary.right - primary.left,
                      .height = primary.bottom - primary.top}};
}
