#include "trace.h"

#include <cstdarg>
#include <cstdio>

namespace {

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length > 0)
        out.append(buffer, std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1));
}

}  // namespace

void RunFrames(Flame& flame, long long frames, float dt, std::optional<float> firstDt,
               const std::vector<KeyPress>& keys) {
    StartFlame(flame);
    for (long long frame = 1; frame <= frames; ++frame) {
        for (const KeyPress& key : keys) {
            if (key.frame == frame) OnChar(flame, key.code);
        }
        StepFlame(flame, frame == 1 && firstDt ? *firstDt : dt);
    }
}

std::string SummaryRecord(const Flame& flame) {
    const Scene& scene = flame.scene;
    std::string out;
    Append(out,
           "summary frames=%lld sceneTime=%.9g emissionClock=%.9g particleCount=%d birthCount=%u "
           "running=%d rotating=%d fineField=%d viewAngle=%.9g framesSinceToggle=%d\n",
           flame.frameCount, flame.sceneTime, scene.emissionClock, scene.particleCount,
           scene.birthCount, scene.running ? 1 : 0, scene.view.rotating ? 1 : 0,
           scene.fineField ? 1 : 0, static_cast<double>(scene.view.viewAngle),
           flame.framesSinceToggle);
    return out;
}

std::string ParticleRecords(const Scene& scene) {
    std::string out;
    for (int i = 0; i < scene.particleCount; ++i) {
        const Particle& p = scene.particles[i];
        Append(out,
               "particle slot=%d x=%.9g y=%.9g z=%.9g size=%.9g alpha=%.9g life=%.9g screenX=%.9g "
               "screenY=%.9g radiusX=%.9g radiusY=%.9g\n",
               i, double{p.position.x}, double{p.position.y}, double{p.position.z},
               double{p.size.x}, double{p.alpha}, double{p.life}, double{p.screenX},
               double{p.screenY}, double{p.radiusX}, double{p.radiusY});
    }
    return out;
}

std::string FieldRecords(const FlowField& field) {
    std::string out;
    for (int z = 0; z < kLatticeZ; ++z) {
        for (int y = 0; y < kLatticeY; ++y) {
            for (int x = 0; x < kLatticeX; ++x) {
                const FlowNode& n = field.Node(x, y, z);
                Append(out, "node x=%d y=%d z=%d fx=%.9g fy=%.9g fz=%.9g rx=%.9g ry=%.9g rz=%.9g\n",
                       x, y, z, double{n.flow.x}, double{n.flow.y}, double{n.flow.z},
                       double{n.rate.x}, double{n.rate.y}, double{n.rate.z});
            }
        }
    }
    return out;
}
