#include "trace.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Trace, TheResetAloneGivesTheInitialSummary) {
    const auto flame = std::make_unique<Flame>();
    RunFrames(*flame, 0, 0.015625f, std::nullopt, {});
    EXPECT_EQ(SummaryRecord(*flame),
              "summary frames=0 sceneTime=0 emissionClock=0 particleCount=0 birthCount=0 running=1 "
              "rotating=1 fineField=0 viewAngle=0 framesSinceToggle=0\n");
    EXPECT_EQ(ParticleRecords(flame->scene), "");
}

TEST(Trace, KeysArriveBeforeTheirFrameInTheOrderGiven) {
    const auto flame = std::make_unique<Flame>();
    // Frame 2: Enter twice (back to running) then Space; frame 9 is never reached. The time is
    // 0.5 + 0.25 + 0.25.
    RunFrames(*flame, 3, 0.25f, 0.5f, {{2, 13}, {2, 32}, {2, 13}, {3, 48}, {9, 13}, {1, 27}});
    EXPECT_NE(SummaryRecord(*flame).find(" frames=3 sceneTime=1 "), std::string::npos);
    EXPECT_NE(SummaryRecord(*flame).find(" running=1 rotating=0 fineField=1 "), std::string::npos);
    // The view turned only in frame 1.
    EXPECT_FLOAT_EQ(flame->scene.view.viewAngle, 0.62831855f * 0.5f);
}

TEST(Trace, PrintsOneRecordPerParticleAndNodeInStorageOrder) {
    const auto flame = std::make_unique<Flame>();
    RunFrames(*flame, 4, 0.015625f, std::nullopt, {});
    const auto particles = Lines(ParticleRecords(flame->scene));
    ASSERT_EQ(particles.size(), 64u);
    EXPECT_EQ(particles[0].rfind("particle slot=0 x=", 0), 0u);
    EXPECT_EQ(particles[63].rfind("particle slot=63 x=", 0), 0u);
    EXPECT_NE(particles[5].find(" radiusY="), std::string::npos);

    const auto nodes = Lines(FieldRecords(flame->scene.field));
    ASSERT_EQ(nodes.size(), 256u);
    for (const auto& [line, start] :
         {std::pair(1, "node x=1 y=0 z=0 fx="), std::pair(8, "node x=0 y=1 z=0 fx="),
          std::pair(32, "node x=0 y=0 z=1 fx="), std::pair(255, "node x=7 y=3 z=7 fx=")}) {
        EXPECT_EQ(nodes[line].rfind(start, 0), 0u) << nodes[line];
    }
    char expected[64];
    std::snprintf(expected, sizeof expected, " fx=%.9g ",
                  double{flame->scene.field.Node(1, 0, 0).flow.x});
    EXPECT_NE(nodes[1].find(expected), std::string::npos) << nodes[1];
}

}  // namespace
