#include "projection.h"

ProjectionBounds ProjectionFor(float aspect) {
    constexpr double kFourThirds = 4.0 / 3.0;
    const double a = aspect;
    if (a > kFourThirds) return {-a, a, -1.0, 1.0};
    return {-kFourThirds, kFourThirds, -kFourThirds / a, kFourThirds / a};
}

float AspectOf(int width, int height) {
    return static_cast<float>(width > 0 ? width : 1) / static_cast<float>(height > 0 ? height : 1);
}
