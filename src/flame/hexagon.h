#pragma once

#include <array>

// One particle's shape: a triangle fan around its centre, with seven rim points (the last
// repeats the first to close the fan). Shared by the OpenGL drawing and the still renderer so
// both draw the same triangles.
struct Point2 {
    float x, y;
};

inline constexpr int kHexagonRimPoints = 7;

inline std::array<Point2, kHexagonRimPoints> HexagonRim(float x, float y, float rx, float ry) {
    const float h = ry * 0.8660254f;
    return {{{x - rx, y},
             {x - rx / 2, y + h},
             {x + rx / 2, y + h},
             {x + rx, y},
             {x + rx / 2, y - h},
             {x - rx / 2, y - h},
             {x - rx, y}}};
}
