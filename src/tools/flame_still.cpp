// flame-still: renders the flame without OpenGL into a PNG picture.
#include <cstdio>
#include <memory>

#include "options.h"
#include "png_file.h"
#include "raster.h"
#include "trace.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto parsed = ParseStillOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "flame-still: %s\n%s", parsed.error.c_str(), kStillUsage);
        return 2;
    }
    const StillOptions& options = *parsed.options;

    const auto flame = std::make_unique<Flame>();
    RunFrames(*flame, options.frames, options.dt, std::nullopt, {});

    Canvas canvas(options.width, options.height);
    RasterizeParticles(flame->scene, ProjectionFor(AspectOf(options.width, options.height)),
                       canvas);
    if (!WritePng(canvas, options.out)) {
        std::fprintf(stderr, "flame-still: cannot write %s\n", options.out.c_str());
        return 1;
    }
    return 0;
}
