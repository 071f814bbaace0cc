// flame-trace: runs the flame's simulation without a window and prints its state.
#include <cstdio>
#include <memory>

#include "trace.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto parsed = ParseTraceOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "flame-trace: %s\n%s", parsed.error.c_str(), kTraceUsage);
        return 2;
    }
    const TraceOptions& options = *parsed.options;

    const auto flame = std::make_unique<Flame>();
    RunFrames(*flame, options.frames, options.dt, options.firstDt, options.keys);

    std::string out;
    const bool all = options.print == TracePrint::All;
    if (all || options.print == TracePrint::Summary) out += SummaryRecord(*flame);
    if (all || options.print == TracePrint::Particles) out += ParticleRecords(flame->scene);
    if (all || options.print == TracePrint::Field) out += FieldRecords(flame->scene.field);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
