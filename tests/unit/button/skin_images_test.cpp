#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The committed skin images: their format and the colour scheme of each ring.

namespace {

struct Bitmap {
    std::vector<unsigned char> bytes;

    std::uint32_t U32(std::size_t at) const {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
               std::uint32_t{bytes[at + 3]} << 24;
    }
    std::uint16_t U16(std::size_t at) const {
        return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    }
    // RRGGBB of the pixel at x, y counted from the top.
    std::uint32_t Pixel(int x, int y) const {
        const std::size_t at = U32(10) + static_cast<std::size_t>(24 - y) * 192 + x * 3;
        return bytes[at + 2] << 16 | bytes[at + 1] << 8 | bytes[at];
    }
};

Bitmap Load(const std::string& name) {
    std::ifstream file(std::string(LULLVANE_ASSETS_DIR) + "/" + name, std::ios::binary);
    return {std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {})};
}

const char* const kNames[] = {"button_normal.bmp",           "button_highlight.bmp",
                              "button_highlight_select.bmp", "button_selected.bmp",
                              "button_pressed.bmp",          "button_disable.bmp"};

TEST(SkinImages, AreUncompressed24BitBitmapsOf64By25) {
    for (const char* name : kNames) {
        const Bitmap image = Load(name);
        ASSERT_EQ(image.bytes.size(), 54u + 192u * 25u) << name;
        EXPECT_EQ(image.bytes[0], 'B');
        EXPECT_EQ(image.bytes[1], 'M');
        EXPECT_EQ(image.U32(2), image.bytes.size());
        EXPECT_EQ(image.U32(14), 40u);  // BITMAPINFOHEADER
        EXPECT_EQ(image.U32(18), 64u);  // width
        EXPECT_EQ(image.U32(22), 25u);  // height, bottom-up
        EXPECT_EQ(image.U16(28), 24u);  // bits per pixel
        EXPECT_EQ(image.U32(30), 0u);   // BI_RGB: uncompressed
    }
}

// The middle of the top, bottom and left edge of each ring, from the outside in.
struct RingColours {
    const char* name;
    std::uint32_t top[4];
    std::uint32_t bottom[4];
};

TEST(SkinImages, RingsFollowTheColourScheme) {
    const RingColours expected[] = {
        {"button_normal.bmp",
         {0xDCD6C2, 0x003C74, 0xF3F3EE, 0xF3F3EE},
         {0xF3F1E8, 0x003C74, 0xD6D0C5, 0xE2DFD6}},
        {"button_highlight.bmp",
         {0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
         {0xF3F1E8, 0x003C74, 0xE59700, 0xF8B330}},
        {"button_selected.bmp",
         {0xDCD6C2, 0x003C74, 0xCEE7FF, 0xCEE7FF},
         {0xF3F1E8, 0x003C74, 0x6982EE, 0x6982EE}},
        {"button_pressed.bmp",
         {0xECE9D8, 0xDCD6C2, 0x003C74, 0xD1CCC1},
         {0xECE9D8, 0xF3F1E8, 0x003C74, 0xF2F1EE}},
        {"button_disable.bmp",
         {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
         {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA}},
    };
    for (const RingColours& rings : expected) {
        const Bitmap image = Load(rings.name);
        ASSERT_FALSE(image.bytes.empty()) << rings.name;
        for (int ring = 0; ring < 4; ++ring) {
            EXPECT_EQ(image.Pixel(31, ring), rings.top[ring]) << rings.name << " ring " << ring;
            EXPECT_EQ(image.Pixel(31, 24 - ring), rings.bottom[ring])
                << rings.name << " ring " << ring;
        }
    }
    // The sides of Normal's inner band fade from near white to a grey that is darker on the right.
    const Bitmap normal = Load("button_normal.bmp");
    EXPECT_GT(normal.Pixel(2, 20) & 0xFF, normal.Pixel(61, 20) & 0xFF);
    EXPECT_GT(normal.Pixel(2, 4) & 0xFF, normal.Pixel(2, 20) & 0xFF);
}

TEST(SkinImages, HighLightSelectIsHighLightPixelForPixel) {
    EXPECT_EQ(Load("button_highlight.bmp").bytes, Load("button_highlight_select.bmp").bytes);
}

TEST(SkinImages, CornersAreRoundedWithBlendedPixels) {
    for (const char* name : kNames) {
        const Bitmap image = Load(name);
        // The corner pixel lies mostly outside the curve; the outline's corner is a blend.
        EXPECT_NE(image.Pixel(1, 1), image.Pixel(31, 1)) << name;
        EXPECT_NE(image.Pixel(62, 23), image.Pixel(31, 23)) << name;
    }
}

}  // namespace
