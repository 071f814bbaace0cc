#include "monitor_placement.h"

#include <gtest/gtest.h>

#include <vector>

#include "extension_list.h"

namespace {

std::string Described(const FlamePlacement& p) {
    const ScreenRect& w = p.window;
    return "window " + std::to_string(w.left) + " " + std::to_string(w.top) + " " +
           std::to_string(w.right) + " " + std::to_string(w.bottom) + ", flame " +
           std::to_string(p.flame.x) + " " + std::to_string(p.flame.y) + " " +
           std::to_string(p.flame.width) + " " + std::to_string(p.flame.height);
}

// The primary monitor's top-left corner is the origin of the virtual screen.
TEST(MonitorPlacement, CoversEveryMonitorAndDrawsOnThePrimary) {
    struct Case {
        const char* layout;
        std::vector<Monitor> monitors;
        const char* placement;  // the window's rectangle, the flame's viewport
    };
    for (const Case& c :
         {Case{"one monitor: the window and the flame are the screen",
               {{{0, 0, 1920, 1080}, true}},
               "window 0 0 1920 1080, flame 0 0 1920 1080"},
          Case{"a secondary right of the primary",
               {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}}},
               "window 0 0 3200 1080, flame 0 0 1920 1080"},
          Case{"a secondary left of the primary, at negative x, listed first",
               {{{-1280, 0, 0, 1024}}, {{0, 0, 1920, 1080}, true}},
               "window -1280 0 1920 1080, flame 1280 0 1920 1080"},
          Case{"a taller secondary reaching above the primary: rows count from the bottom",
               {{{0, 0, 1600, 900}, true}, {{1600, -300, 2680, 1620}}},
               "window 0 -300 2680 1620, flame 0 720 1600 900"},
          Case{"three monitors, the primary in the middle and no flag: the one at the origin",
               {{{-1024, 100, 0, 868}}, {{0, 0, 1280, 1024}}, {{1280, -200, 2560, 824}}},
               "window -1024 -200 2560 1024, flame 1024 0 1280 1024"},
          Case{"no primary flagged, none at the origin: the first",
               {{{100, 50, 900, 650}}, {{0, 50, 800, 650}}, {{50, 0, 850, 600}}},
               "window 0 0 900 650, flame 100 0 800 600"},
          Case{"no monitor", {}, "window 0 0 0 0, flame 0 0 0 0"}}) {
        EXPECT_EQ(Described(PlaceFlame(c.monitors)), c.placement) << c.layout;
    }
}

TEST(ExtensionList, NamesOnlyWholeEntries) {
    for (const auto& [list, named] :
         {std::pair("WGL_EXT_swap_control", true),
          std::pair("WGL_ARB_pixel_format WGL_EXT_swap_control ", true),
          std::pair("WGL_EXT_swap_control_tear WGL_ARB_pbuffer", false),
          std::pair("XWGL_EXT_swap_control", false), std::pair("", false)}) {
        EXPECT_EQ(HasExtension(list, "WGL_EXT_swap_control"), named) << list;
    }
}

}  // namespace
