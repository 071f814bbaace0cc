#pragma once

#include <array>

#include "random.h"
#include "vector.h"

// A periodic 8 x 4 x 8 lattice of flow vectors, relaxed as a spring network.
struct FlowNode {
    Vector4 flow{0, 0, 0, 0};
    Vector4 rate{0, 0, 0, 1};
};

inline constexpr int kLatticeX = 8;
inline constexpr int kLatticeY = 4;
inline constexpr int kLatticeZ = 8;
inline constexpr int kNodeCount = kLatticeX * kLatticeY * kLatticeZ;

struct FlowField {
    std::array<FlowNode, kNodeCount> nodes{};
    std::array<float, 256> flowWeights{};

    FlowNode& Node(int x, int y, int z) { return nodes[x + kLatticeX * (y + kLatticeY * z)]; }
    const FlowNode& Node(int x, int y, int z) const {
        return nodes[x + kLatticeX * (y + kLatticeY * z)];
    }
};

// Longest frame delta relaxed in a single explicit step; longer deltas are split into equal
// sub-steps no longer than this, because the spring integration diverges on long steps.
inline constexpr float kMaxRelaxStep = 0.1f;
// At most this much time is relaxed for one frame: after a long pause (the machine slept) the
// field simply resumes instead of replaying the whole gap.
inline constexpr float kMaxRelaxSpan = 60.0f;

void BuildFlowField(FlowField& field, RandomGenerator& generator);
void RelaxFlowField(FlowField& field, float dt);

// The index of one coordinate on the lattice's sampling grid, modulo 2048: 64 steps per unit
// (coarse), or 1024 per unit for c >= 0 and 2048 for c < 0 (fine), rounded half to even.
int CoarseIndex(float c);
int FineIndex(float c);

void AdvectCoarse(const FlowField& field, Vector4& point, float scale);
void AdvectFine(const FlowField& field, Vector4& point, float scale);
