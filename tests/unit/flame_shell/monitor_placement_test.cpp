#include "monitor_placement.h"

#include <gtest/gtest.h>

#include <vector>

#include "extension_list.h"

namespace {

struct Case {
    const char* layout;
    std::vector<Monitor> monitors;
    ScreenRect window;
    Viewport flame;
};

// Windows' convention: the primary monitor's top-left corner is the origin of the virtual screen.
TEST(MonitorPlacement, CoversEveryMonitorAndDrawsOnThePrimary) {
    const Case cases[] = {
        {"one monitor: the window and the flame are the screen",
         {{{0, 0, 1920, 1080}, true}},
         {0, 0, 1920, 1080},
         {0, 0, 1920, 1080}},
        {"a secondary right of the primary",
         {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}}},
         {0, 0, 3200, 1080},
         {0, 0, 1920, 1080}},
        {"a secondary left of the primary, at negative x, listed first",
         {{{-1280, 0, 0, 1024}}, {{0, 0, 1920, 1080}, true}},
         {-1280, 0, 1920, 1080},
         {1280, 0, 1920, 1080}},
        {"a taller secondary reaching above the primary: rows count from the bottom",
         {{{0, 0, 1600, 900}, true}, {{1600, -300, 2680, 1620}}},
         {0, -300, 2680, 1620},
         {0, 720, 1600, 900}},
        {"three monitors, the primary in the middle and no flag: the one at the origin",
         {{{-1024, 100, 0, 868}}, {{0, 0, 1280, 1024}}, {{1280, -200, 2560, 824}}},
         {-1024, -200, 2560, 1024},
         {1024, 0, 1280, 1024}},
        {"no primary flagged, none at the origin: the first",
         {{{100, 50, 900, 650}}, {{900, 50, 1700, 650}}},
         {100, 50, 1700, 650},
         {0, 0, 800, 600}},
    };
    for (const Case& c : cases) {
        const FlamePlacement placement = PlaceFlame(c.monitors);
        const ScreenRect& w = placement.window;
        const Viewport& f = placement.flame;
        EXPECT_EQ((std::vector{w.left, w.top, w.right, w.bottom}),
                  (std::vector{c.window.left, c.window.top, c.window.right, c.window.bottom}))
            << c.layout;
        EXPECT_EQ((std::vector{f.x, f.y, f.width, f.height}),
                  (std::vector{c.flame.x, c.flame.y, c.flame.width, c.flame.height}))
            << c.layout;
    }
    const FlamePlacement none = PlaceFlame({});
    EXPECT_EQ(none.window.right - none.window.left, 0);
    EXPECT_EQ(none.flame.width, 0);
}

TEST(ExtensionList, NamesOnlyWholeEntries) {
    EXPECT_TRUE(HasExtension("WGL_EXT_swap_control", "WGL_EXT_swap_control"));
    EXPECT_TRUE(HasExtension("WGL_ARB_pixel_format WGL_EXT_swap_control ", "WGL_EXT_swap_control"));
    EXPECT_FALSE(HasExtension("WGL_EXT_swap_control_tear WGL_ARB_pbuffer", "WGL_EXT_swap_control"));
    EXPECT_FALSE(HasExtension("XWGL_EXT_swap_control", "WGL_EXT_swap_control"));
    EXPECT_FALSE(HasExtension("", "WGL_EXT_swap_control"));
}

}  // namespace
