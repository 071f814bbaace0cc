#include "flow_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

TEST(NextRandom, FreshGeneratorDrawsTheFixedSequence) {
    RandomGenerator generator;
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(NextRandom(generator), value);
    for (int i = 0; i < 100000; ++i) {
        const int value = NextRandom(generator);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

// The angle of one family at a node, from its closed form.
double FamilyAngle(const int draws[4], int x, int y, int z) {
    const double start = static_cast<float>(draws[0]) * 1.9175345e-4f;
    const double xStep = 0.16f + static_cast<float>(draws[1]) * 4.8829615e-6f;
    const double yStep = 0.16f + static_cast<float>(draws[2]) * 4.8829615e-6f;
    const double zStep = 0.16f + static_cast<float>(draws[3]) * 4.8829615e-6f;
    return start + z * zStep + y * yStep + (x + 1) * xStep;
}

TEST(FlowField, BuildsTheLatticeFromSixteenDraws) {
    auto field = std::make_unique<FlowField>();
    RandomGenerator generator;
    BuildFlowField(*field, generator);

    RandomGenerator replay;
    int draws[16];
    for (int& d : draws) d = NextRandom(replay);
    EXPECT_EQ(generator.state, replay.state) << "the build draws exactly 16 values";

    for (int i = 0; i < 256; ++i) EXPECT_EQ(field->flowWeights[i], i / 256.0f);

    for (int z = 0; z < 8; ++z) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                const double a = FamilyAngle(draws + 0, x, y, z);
                const double b = FamilyAngle(draws + 4, x, y, z);
                const double c = FamilyAngle(draws + 8, x, y, z);
                const double d = FamilyAngle(draws + 12, x, y, z);
                const double j = y, k = x;
                const FlowNode& node = field->Node(x, y, z);
                const double tolerance = 2e-4;  // the build adds its angles up in single precision
                EXPECT_NEAR(
                    node.flow.x,
                    2.5 * (std::cos(c + j) + std::sin(a - j) + std::sin(c - k) - std::cos(a + k)),
                    tolerance);
                EXPECT_NEAR(
                    node.flow.y,
                    2.5 * (std::sin(b - k) + std::sin(d - j) + std::cos(d + j) - std::cos(b + k)),
                    tolerance);
                EXPECT_NEAR(
                    node.flow.z,
                    2.5 * (std::sin(a - k) + std::sin(a - j) + std::cos(c + j) - std::cos(c + k)),
                    tolerance);
                EXPECT_EQ(node.flow.w, 0.0f);
                EXPECT_EQ(node.rate.x, 0.0f);
                EXPECT_EQ(node.rate.w, 1.0f);
            }
        }
    }

    auto again = std::make_unique<FlowField>();
    RandomGenerator fresh;
    BuildFlowField(*again, fresh);
    for (int i = 0; i < kNodeCount; ++i) {
        EXPECT_EQ(again->nodes[i].flow.x, field->nodes[i].flow.x);
        EXPECT_EQ(again->nodes[i].flow.z, field->nodes[i].flow.z);
    }
}

// The closed forms of the index rules, modulo 2048.
int ClosedCoarse(float c) {
    const long long n = std::llrint(64.0 * c);  // default rounding: half to even
    return static_cast<int>(((n % 2048) + 2048) % 2048);
}
int ClosedFine(float c) {
    const long long n = std::llrint((c >= 0 ? 1024.0 : 2048.0) * c);
    return static_cast<int>(((n % 2048) + 2048) % 2048);
}

TEST(FlowField, IndexRulesAgreeWithTheirClosedFormsIncludingNegativesAndTies) {
    for (int i = -2000000; i <= 2000000; i += 7) {
        const float c = static_cast<float>(i) / 4096.0f;  // covers -488..488 with exact ties
        ASSERT_EQ(CoarseIndex(c), ClosedCoarse(c)) << c;
        ASSERT_EQ(FineIndex(c), ClosedFine(c)) << c;
    }
    // Ties go to the even integer.
    EXPECT_EQ(CoarseIndex(1.0f / 128), 0);     // 0.5 -> 0
    EXPECT_EQ(CoarseIndex(3.0f / 128), 2);     // 1.5 -> 2
    EXPECT_EQ(CoarseIndex(-1.0f / 128), 0);    // -0.5 -> 0
    EXPECT_EQ(FineIndex(1.0f / 2048), 0);      // 0.5 -> 0
    EXPECT_EQ(FineIndex(-3.0f / 4096), 2046);  // -1.5 -> -2
    EXPECT_EQ(CoarseIndex(1000.25f), ClosedCoarse(1000.25f));
    EXPECT_EQ(FineIndex(-4096.0f), ClosedFine(-4096.0f));
    EXPECT_EQ(FineIndex(8191.5f), ClosedFine(8191.5f));
}

// A lattice whose flow at (x, y, z) is (x, y, z) + (100 y, 0, 10 z) apart, so a sample tells which
// nodes it was taken from.
std::unique_ptr<FlowField> LabelledField() {
    auto field = std::make_unique<FlowField>();
    for (int i = 0; i < 256; ++i) field->flowWeights[i] = i / 256.0f;
    for (int z = 0; z < 8; ++z)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                field->Node(x, y, z).flow = Vector4(x + 100.0f * y, 10.0f * z, 1000.0f * y, 0);
    return field;
}

// Expected sample, from cells and weights.
Vector4 Expected(const FlowField& f, int ix, int iy, int iz, float wx, float wz) {
    const Vector4 a = f.Node(ix, iy, iz).flow * (1 - wx) + f.Node((ix + 1) % 8, iy, iz).flow * wx;
    const Vector4 b = f.Node(ix, iy, (iz + 1) % 8).flow * (1 - wx) +
                      f.Node((ix + 1) % 8, iy, (iz + 1) % 8).flow * wx;
    return a * (1 - wz) + b * wz;
}

void ExpectMoved(const Vector4& start, const Vector4& after, const Vector4& by) {
    EXPECT_FLOAT_EQ(after.x - start.x, by.x);
    EXPECT_FLOAT_EQ(after.y - start.y, by.y);
    EXPECT_FLOAT_EQ(after.z - start.z, by.z);
    EXPECT_EQ(after.w, start.w);
}

TEST(FlowField, SamplingPicksTheDocumentedCellsAndWeights) {
    const auto field = LabelledField();

    Vector4 origin(0, 0, 0);
    AdvectCoarse(*field, origin, 0.5f);
    EXPECT_EQ(origin.x, field->Node(4, 2, 0).flow.x * 0.5f);
    EXPECT_EQ(origin.y, field->Node(4, 2, 0).flow.y * 0.5f);
    EXPECT_EQ(origin.z, field->Node(4, 2, 0).flow.z * 0.5f);

    Vector4 p(0.5f, 0.5f, 0.5f);  // coarse n = 32: x cell 4 weight 0.125, y cell 2, z cell 0
    AdvectCoarse(*field, p, 1);
    ExpectMoved({0.5f, 0.5f, 0.5f}, p, Expected(*field, 4, 2, 0, 0.125f, 0.125f));

    p = Vector4(-0.5f, -0.5f, -0.5f);  // n = -32: x cell 3, y cell 1, z cell 7, weights 0.875
    AdvectCoarse(*field, p, 1);
    ExpectMoved({-0.5f, -0.5f, -0.5f}, p, Expected(*field, 3, 1, 7, 0.875f, 0.875f));

    p = Vector4(4, 4, 4);  // n = 256: x cell 5, y cell 3, z cell 1, weights 0
    AdvectCoarse(*field, p, 1);
    ExpectMoved({4, 4, 4}, p, Expected(*field, 5, 3, 1, 0, 0));

    p = Vector4(0.5f, 0.5f, 0.5f);  // fine n = 512: x cell 6, y cell 0, z cell 2
    AdvectFine(*field, p, 1);
    ExpectMoved({0.5f, 0.5f, 0.5f}, p, Expected(*field, 6, 0, 2, 0, 0));

    p = Vector4(-0.5f, -0.5f, -0.5f);  // fine n = -1024: x cell 0, y cell 2, z cell 4
    AdvectFine(*field, p, 1);
    ExpectMoved({-0.5f, -0.5f, -0.5f}, p, Expected(*field, 0, 2, 4, 0, 0));

    // x cell 7 interpolates towards x cell 0 of the same row and plane: c = 14 gives n = 896.
    p = Vector4(14, 0, 0);
    AdvectCoarse(*field, p, 1);
    ExpectMoved({14, 0, 0}, p, Expected(*field, 7, 2, 0, 0.5f, 0));
    EXPECT_FLOAT_EQ(p.x - 14, 0.5f * (7 + 200) + 0.5f * (0 + 200));

    // The lattice tiles space: 32 units further in x and z, 16 in y, the same sample.
    Vector4 near(1.3f, 2.7f, -0.9f), far(1.3f + 32, 2.7f + 16, -0.9f - 32);
    AdvectCoarse(*field, near, 1);
    AdvectCoarse(*field, far, 1);
    EXPECT_FLOAT_EQ(near.x - 1.3f, far.x - (1.3f + 32));
    EXPECT_FLOAT_EQ(near.z + 0.9f, far.z + (0.9f + 32));
}

std::unique_ptr<FlowField> BuiltField() {
    auto field = std::make_unique<FlowField>();
    RandomGenerator generator;
    BuildFlowField(*field, generator);
    return field;
}

TEST(FlowField, RelaxingByZeroChangesNothingAndARestingLatticeStaysAtRest) {
    auto field = BuiltField();
    RelaxFlowField(*field, 0.25f);  // give the rates some value first
    const FlowField before = *field;
    RelaxFlowField(*field, 0);
    for (int i = 0; i < kNodeCount; ++i) {
        EXPECT_EQ(field->nodes[i].flow.x, before.nodes[i].flow.x);
        EXPECT_EQ(field->nodes[i].flow.z, before.nodes[i].flow.z);
        EXPECT_EQ(field->nodes[i].rate.x, before.nodes[i].rate.x);
        EXPECT_EQ(field->nodes[i].rate.y, before.nodes[i].rate.y);
    }

    auto rest = std::make_unique<FlowField>();  // every flow zero: all springs at rest length
    RelaxFlowField(*rest, 0.5f);
    for (const FlowNode& node : rest->nodes) {
        EXPECT_EQ(node.rate.Dot(node.rate), 0.0f);
        EXPECT_EQ(node.flow.Dot(node.flow), 0.0f);
    }
}

TEST(FlowField, SpringsPushCloseNeighboursAwayAndPullFarOnesBack) {
    auto field = std::make_unique<FlowField>();
    field->Node(0, 0, 0).flow = Vector4(0.1f, 0, 0, 0);  // moved towards (1,0,0), away from (7,0,0)
    const float dt = 0.1f;                               // the longest delta relaxed in one step
    RelaxFlowField(*field, dt);

    const float damping = static_cast<float>(std::pow(0.998, double{dt}));
    const float k = 0.01f * dt;
    // (1,0,0): D = 0.4 along x, rest 0.5, so f = k * 0.1 and the rate is f * 0.4 to the right.
    EXPECT_NEAR(field->Node(1, 0, 0).rate.x, k * 0.1f * 0.4f * damping, 1e-9);
    EXPECT_GT(field->Node(1, 0, 0).rate.x, 0);
    // (7,0,0) is pulled towards the moved node, also to the right.
    EXPECT_NEAR(field->Node(7, 0, 0).rate.x, k * 0.1f * 0.6f * damping, 1e-9);
    // The moved node itself is pushed and pulled back to the left.
    EXPECT_LT(field->Node(0, 0, 0).rate.x, 0);
    // Its flow changes by dt times its new rate, in the same frame.
    EXPECT_NEAR(field->Node(0, 0, 0).flow.x, 0.1f + dt * field->Node(0, 0, 0).rate.x / damping,
                1e-7);
}

TEST(FlowField, OverLongVectorStopsMovingButKeepsItsFlow) {
    auto field = std::make_unique<FlowField>();
    field->Node(3, 1, 2).flow = Vector4(8, 6.5f, 0, 0);  // length > 10
    field->Node(3, 1, 2).rate = Vector4(1, 1, 1);
    RelaxFlowField(*field, 0.01f);
    const FlowNode& node = field->Node(3, 1, 2);
    EXPECT_EQ(node.rate.x, 0.0f);
    EXPECT_EQ(node.rate.y, 0.0f);
    EXPECT_EQ(node.rate.z, 0.0f);
    EXPECT_EQ(node.rate.w, 1.0f);
    EXPECT_GT(node.flow.Dot(node.flow), 100.0f);
    EXPECT_NEAR(node.flow.x, 8.0f + 0.01f * 0.8f, 3e-3);  // moved by dt times its rate, then held
    // The springs pull it back from the next frame on.
    const float held = node.flow.x;
    RelaxFlowField(*field, 0.01f);
    EXPECT_LT(field->Node(3, 1, 2).flow.x, held);
}

TEST(FlowField, LongDeltasRelaxInBoundedSubStepsAndStayFinite) {
    auto once = BuiltField();
    auto stepped = BuiltField();
    RelaxFlowField(*once, 0.35f);
    for (int i = 0; i < 4; ++i) RelaxFlowField(*stepped, 0.35f / 4);
    for (int i = 0; i < kNodeCount; ++i) {
        EXPECT_EQ(once->nodes[i].flow.x, stepped->nodes[i].flow.x);
        EXPECT_EQ(once->nodes[i].rate.y, stepped->nodes[i].rate.y);
    }

    // One long pause, and a steady half-second frame rate: both drove the field to infinity when
    // relaxed in one explicit step.
    auto paused = BuiltField();
    RelaxFlowField(*paused, 29.0f);
    RelaxFlowField(*paused, 3600.0f);
    auto slow = BuiltField();
    for (int i = 0; i < 2000; ++i) RelaxFlowField(*slow, 0.5f);
    for (const auto* field : {paused.get(), slow.get()}) {
        for (const FlowNode& node : field->nodes) {
            ASSERT_TRUE(std::isfinite(node.flow.Dot(node.flow)));
            ASSERT_LT(node.flow.Dot(node.flow), 400.0f);
        }
    }
}

}  // namespace
