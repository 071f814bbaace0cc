#include "flow_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<FlowField> BuiltField() {
    auto field = std::make_unique<FlowField>();
    RandomGenerator generator;
    BuildFlowField(*field, generator);
    return field;
}

TEST(FlowField, IsBuiltFromTheFirstSixteenDrawsOfAFreshGenerator) {
    RandomGenerator replay;
    int draws[16];
    for (int& d : draws) d = NextRandom(replay);
    EXPECT_EQ(std::vector(draws, draws + 5), (std::vector{41, 18467, 6334, 26500, 19169}));

    auto field = std::make_unique<FlowField>();  // a used one: the build replaces everything
    field->nodes.fill({.flow = {9, 9, 9, 9}, .rate = {9, 9, 9, 9}});
    field->flowWeights.fill(9);
    RandomGenerator generator;
    BuildFlowField(*field, generator);
    EXPECT_EQ(generator.state, replay.state);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(field->flowWeights[i], i / 256.0f);

    // Each of the four families of angles in closed form at a node; the build adds them up in
    // single precision.
    const auto angle = [&](int family, int x, int y, int z) {
        const int* d = draws + 4 * family;
        const auto step = [](int draw) -> double { return 0.16f + draw * 4.8829615e-6f; };
        return d[0] * 1.9175345e-4f + z * step(d[3]) + y * step(d[2]) + (x + 1) * step(d[1]);
    };
    for (int i = 0; i < kNodeCount; ++i) {
        const int x = i % 8, y = i / 8 % 4, z = i / 32;
        const double a = angle(0, x, y, z), b = angle(1, x, y, z), c = angle(2, x, y, z),
                     d = angle(3, x, y, z), j = y, k = x;
        const FlowNode& node = field->Node(x, y, z);
        using std::cos, std::sin;
        EXPECT_NEAR(node.flow.x, 2.5 * (cos(c + j) + sin(a - j) + sin(c - k) - cos(a + k)), 2e-4);
        EXPECT_NEAR(node.flow.y, 2.5 * (sin(b - k) + sin(d - j) + cos(d + j) - cos(b + k)), 2e-4);
        EXPECT_NEAR(node.flow.z, 2.5 * (sin(a - k) + sin(a - j) + cos(c + j) - cos(c + k)), 2e-4);
        EXPECT_TRUE(node.flow.w == 0 && node.rate.Dot(node.rate) == 0 && node.rate.w == 1);
    }
}

// The index rules in closed form, modulo 2048: 64 steps per unit, or 1024 (c >= 0) and 2048
// (c < 0) for the fine one, rounded half to even (llrint's default).
int ClosedIndex(float c, double perUnit) {
    return static_cast<int>(((std::llrint(perUnit * c) % 2048) + 2048) % 2048);
}

TEST(FlowField, IndexRulesAgreeWithTheirClosedFormsIncludingNegativesAndTies) {
    std::vector<float> points = {1000.25f, -4096.0f, 8191.5f};
    for (int i = -2000000; i <= 2000000; i += 7) points.push_back(i / 4096.0f);  // exact ties
    for (const float c : points) {
        ASSERT_EQ(CoarseIndex(c), ClosedIndex(c, 64)) << c;
        ASSERT_EQ(FineIndex(c), ClosedIndex(c, c >= 0 ? 1024 : 2048)) << c;
    }
}

TEST(FlowField, SamplingBlendsTheDocumentedCellsWithTheirWeights) {
    auto field = std::make_unique<FlowField>();
    for (int i = 0; i < 256; ++i) field->flowWeights[i] = i / 256.0f;
    for (int i = 0; i < kNodeCount; ++i) {  // each flow tells where its node is
        field->nodes[i].flow = Vector4(i % 8 + 100.0f * (i / 8 % 4), 10.0f * (i / 32), 0, 0);
    }
    const struct {
        float c;  // the point (c, c, c)
        bool fine;
        int ix, iy, iz;
        float wx, wz;
    } cases[] = {
        {0, false, 4, 2, 0, 0, 0},
        {0.5f, false, 4, 2, 0, 0.125f, 0.125f},   // n = 32
        {-0.5f, false, 3, 1, 7, 0.875f, 0.875f},  // n = -32
        {4, false, 5, 3, 1, 0, 0},                // n = 256
        {14, false, 7, 1, 3, 0.5f, 0.5f},         // n = 896: cell 7 blends towards cell 0
        {0.5f, true, 6, 0, 2, 0, 0},              // n = 512
        {-0.5f, true, 0, 2, 4, 0, 0},             // n = -1024
    };
    for (const auto& c : cases) {
        const auto node = [&](int dx, int dz) {
            return field->Node((c.ix + dx) % 8, c.iy, (c.iz + dz) % 8).flow;
        };
        const Vector4 a = node(0, 0) * (1 - c.wx) + node(1, 0) * c.wx;
        const Vector4 b = node(0, 1) * (1 - c.wx) + node(1, 1) * c.wx;
        const Vector4 by = (a * (1 - c.wz) + b * c.wz) * 0.5f;
        Vector4 p(c.c, c.c, c.c, 7);
        (c.fine ? AdvectFine : AdvectCoarse)(*field, p, 0.5f);
        EXPECT_FLOAT_EQ(p.x, c.c + by.x) << c.c << c.fine;
        EXPECT_FLOAT_EQ(p.y, c.c + by.y) << c.c << c.fine;
        EXPECT_EQ(p.w, 7);
    }
}

TEST(FlowField, SpringsPushCloseNeighboursAwayAndPullFarOnesBack) {
    // One node moved off a lattice at rest: each of its 26 neighbours (the lattice wraps) is
    // pushed or pulled along the spring between them by how far that is from its rest length,
    // half the distance of their places. No other node moves.
    auto field = std::make_unique<FlowField>();
    const Vector4 moved(0.1f, -0.05f, 0.02f, 0);
    field->Node(0, 0, 0).flow = moved;
    const float dt = 0.1f;  // the longest delta relaxed in one step
    RelaxFlowField(*field, dt);
    const double damping = std::pow(0.998, double{dt}), k = 0.01 * dt * damping;
    int neighbours = 0;
    for (int i = 1; i < kNodeCount; ++i) {
        const int x = i % 8, y = i / 8 % 4, z = i / 32;
        const int dx = x == 7 ? -1 : x, dy = y == 3 ? -1 : y, dz = z == 7 ? -1 : z;
        const Vector4 rate = field->nodes[i].rate;
        if (dx * dx > 1 || dy * dy > 1 || dz * dz > 1) {
            ASSERT_EQ(rate.Dot(rate), 0.0f) << x << y << z;
            continue;
        }
        ++neighbours;
        const Vector4 d = Vector4(0.5f * dx, 0.5f * dy, 0.5f * dz) - moved;
        const double f = k * (0.5 * std::sqrt(dx * dx + dy * dy + dz * dz) - std::sqrt(d.Dot(d)));
        EXPECT_NEAR(rate.x, d.x * f, 1e-9) << x << y << z;
        EXPECT_NEAR(rate.y, d.y * f, 1e-9) << x << y << z;
        EXPECT_NEAR(rate.z, d.z * f, 1e-9) << x << y << z;
    }
    EXPECT_EQ(neighbours, 26);
    // The moved node is drawn back, its flow by dt times its new rate in the same frame.
    const FlowNode& self = field->Node(0, 0, 0);
    EXPECT_LT(self.rate.Dot(moved), 0);
    EXPECT_NEAR(self.flow.x, moved.x + dt * self.rate.x / damping, 1e-7);
}

TEST(FlowField, AVectorLongerThanTenStopsMovingButKeepsItsFlow) {
    auto field = std::make_unique<FlowField>();
    FlowNode& node = field->Node(3, 1, 2);
    node.flow = Vector4(8, 6.01f, 0, 0);  // just beyond 10 long
    node.rate = Vector4(1, 1, 1);
    RelaxFlowField(*field, 0.01f);
    EXPECT_TRUE(node.rate.Dot(node.rate) == 0 && node.rate.w == 1);
    // Moved by dt times its rate first, and still short of 10.03.
    EXPECT_GT(node.flow.x, 8.0f);
    EXPECT_TRUE(node.flow.Dot(node.flow) > 100 && node.flow.Dot(node.flow) < 100.5f);
    // The springs pull it back from the next frame on.
    const float held = node.flow.x;
    RelaxFlowField(*field, 0.01f);
    EXPECT_LT(node.flow.x, held);
}

TEST(FlowField, LongDeltasRelaxInBoundedSubStepsAndStayFinite) {
    // Just over the longest single step: two half steps.
    auto once = BuiltField(), stepped = BuiltField();
    RelaxFlowField(*once, 0.1005f);
    for (int i = 0; i < 2; ++i) RelaxFlowField(*stepped, 0.1005f / 2);
    for (int i = 0; i < kNodeCount; ++i) {
        ASSERT_EQ(once->nodes[i].flow.x, stepped->nodes[i].flow.x) << i;
        ASSERT_EQ(once->nodes[i].rate.y, stepped->nodes[i].rate.y) << i;
    }
    // A long pause drove the field to infinity when relaxed in one explicit step.
    auto paused = BuiltField();
    RelaxFlowField(*paused, 29.0f);
    RelaxFlowField(*paused, 3600.0f);
    for (const FlowNode& node : paused->nodes) ASSERT_LT(node.flow.Dot(node.flow), 400.0f);
}

}  // namespace
