#include "flow_field.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr float kAngleUnit = 1.9175345e-4f;  // 2 pi / 32767
constexpr float kStepUnit = 4.8829615e-6f;   // 0.16 / 32767
constexpr float kStepBase = 0.16f;
constexpr float kFlowAmplitude = 2.5f;
constexpr float kSpringConstant = 0.01f;
constexpr double kDampingPerSecond = 0.998;
constexpr float kMaxFlowSquared = 100.0f;

// One family of running angles of the lattice build.
struct AngleFamily {
    float start, xStep, yStep, zStep;
    float plane, row, node;
};

AngleFamily DrawFamily(RandomGenerator& generator) {
    AngleFamily family{};
    family.start = static_cast<float>(NextRandom(generator)) * kAngleUnit;
    family.xStep = kStepBase + static_cast<float>(NextRandom(generator)) * kStepUnit;
    family.yStep = kStepBase + static_cast<float>(NextRandom(generator)) * kStepUnit;
    family.zStep = kStepBase + static_cast<float>(NextRandom(generator)) * kStepUnit;
    family.plane = family.start;
    return family;
}

float RestLength(int dx, int dy, int dz) {
    static constexpr float kByDifferingAxes[4] = {0.0f, 0.5f, 0.70710677f, 0.8660254f};
    return kByDifferingAxes[(dx != 0) + (dy != 0) + (dz != 0)];
}

void RelaxStep(FlowField& field, float dt) {
    const float k = kSpringConstant * dt;
    for (int z = 0; z < kLatticeZ; ++z) {
        for (int y = 0; y < kLatticeY; ++y) {
            for (int x = 0; x < kLatticeX; ++x) {
                const Vector4 self = field.Node(x, y, z).flow;
                for (int dz = -1; dz <= 1; ++dz) {
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            if (dx == 0 && dy == 0 && dz == 0) continue;
                            FlowNode& neighbour =
                                field.Node((x + dx) & (kLatticeX - 1), (y + dy) & (kLatticeY - 1),
                                           (z + dz) & (kLatticeZ - 1));
                            Vector4 d = neighbour.flow - self;
                            d += Vector4(0.5f * static_cast<float>(dx),
                                         0.5f * static_cast<float>(dy),
                                         0.5f * static_cast<float>(dz));
                            const float length = std::sqrt(d.Dot(d));
                            const float f = k * (RestLength(dx, dy, dz) - length);
                            neighbour.rate += d * f;
                        }
                    }
                }
            }
        }
    }

    const float damping = static_cast<float>(std::pow(kDampingPerSecond, static_cast<double>(dt)));
    for (FlowNode& node : field.nodes) {
        node.flow += node.rate * dt;
        if (node.flow.Dot(node.flow) > kMaxFlowSquared) {
            node.rate = Vector4(0, 0, 0, 1);
        } else {
            node.rate *= damping;
        }
    }
}

// The encoding of 128 c + magic, rounded once to single precision: its low 11 bits are the
// sampling index modulo 2048. Defined for every input, unlike a float-to-integer conversion.
int GridIndex(float c, float magic) {
    const float sum = 128.0f * c + magic;
    std::uint32_t bits;
    std::memcpy(&bits, &sum, sizeof bits);
    return static_cast<int>(bits & 0x7FFu);
}

template <int (*Index)(float)>
void Advect(const FlowField& field, Vector4& point, float scale) {
    const int nx = Index(point.x);
    const int ny = Index(point.y);
    const int nz = Index(point.z);

    const int ix = ((nx >> 8) + 4) & (kLatticeX - 1);
    const int iy = ((ny >> 8) + 2) & (kLatticeY - 1);
    const int iz = (nz >> 8) & (kLatticeZ - 1);
    const int ix1 = (ix + 1) & (kLatticeX - 1);
    const int iz1 = (iz + 1) & (kLatticeZ - 1);
    const float wx = field.flowWeights[nx & 0xFF];
    const float wz = field.flowWeights[nz & 0xFF];

    const Vector4 a = field.Node(ix, iy, iz).flow * (1 - wx) + field.Node(ix1, iy, iz).flow * wx;
    const Vector4 b = field.Node(ix, iy, iz1).flow * (1 - wx) + field.Node(ix1, iy, iz1).flow * wx;
    point += (a * (1 - wz) + b * wz) * scale;
}

}  // namespace

void BuildFlowField(FlowField& field, RandomGenerator& generator) {
    for (int i = 0; i < 256; ++i) field.flowWeights[i] = static_cast<float>(i) * (1.0f / 256.0f);

    AngleFamily a = DrawFamily(generator);
    AngleFamily b = DrawFamily(generator);
    AngleFamily c = DrawFamily(generator);
    AngleFamily d = DrawFamily(generator);
    AngleFamily* families[] = {&a, &b, &c, &d};

    for (int z = 0; z < kLatticeZ; ++z) {
        for (AngleFamily* f : families) {
            f->row = f->plane;
            f->plane += f->zStep;
        }
        for (int y = 0; y < kLatticeY; ++y) {
            for (AngleFamily* f : families) {
                f->node = f->row;
                f->row += f->yStep;
            }
            for (int x = 0; x < kLatticeX; ++x) {
                for (AngleFamily* f : families) f->node += f->xStep;
                const double j = y;
                const double k = x;
                const double an = a.node, bn = b.node, cn = c.node, dn = d.node;
                FlowNode& node = field.Node(x, y, z);
                node.flow = Vector4(
                    static_cast<float>(kFlowAmplitude * (std::cos(cn + j) + std::sin(an - j) +
                                                         std::sin(cn - k) - std::cos(an + k))),
                    static_cast<float>(kFlowAmplitude * (std::sin(bn - k) + std::sin(dn - j) +
                                                         std::cos(dn + j) - std::cos(bn + k))),
                    static_cast<float>(kFlowAmplitude * (std::sin(an - k) + std::sin(an - j) +
                                                         std::cos(cn + j) - std::cos(cn + k))),
                    0.0f);
                node.rate = Vector4(0, 0, 0, 1);
            }
        }
    }
}

void RelaxFlowField(FlowField& field, float dt) {
    if (!(dt > kMaxRelaxStep)) {
        RelaxStep(field, dt);
        return;
    }
    const float span = std::min(dt, kMaxRelaxSpan);
    const int steps = static_cast<int>(std::ceil(span / kMaxRelaxStep));
    const float step = span / static_cast<float>(steps);
    for (int i = 0; i < steps; ++i) RelaxStep(field, step);
}

int CoarseIndex(float c) {
    return GridIndex(c, 25165824.0f);
}
int FineIndex(float c) {
    return GridIndex(c, 1048576.0f);
}

void AdvectCoarse(const FlowField& field, Vector4& point, float scale) {
    Advect<CoarseIndex>(field, point, scale);
}
void AdvectFine(const FlowField& field, Vector4& point, float scale) {
    Advect<FineIndex>(field, point, scale);
}
