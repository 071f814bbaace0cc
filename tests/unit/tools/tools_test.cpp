#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "options.h"
#include "trace.h"

namespace {

TEST(ToolOptions, DefaultsEveryOptionAndBadArgumentsNamedInOneLine) {
    using enum TracePrint;
    const TraceOptions none = ParseTraceOptions({}).options.value();
    EXPECT_EQ(std::tuple(none.frames, none.dt, none.firstDt, none.keys.size(), none.print),
              std::tuple(1, 0.015625f, std::nullopt, 0u, Summary));
    const TraceOptions all =
        ParseTraceOptions({"--frames", "0", "--dt", "0.5", "--first-dt", "3600", "--key", "3:13",
                           "--key", "1:65535", "--print", "all"})
            .options.value();
    ASSERT_EQ(all.keys.size(), 2u);
    EXPECT_EQ(std::tuple(all.frames, all.dt, all.firstDt, all.print, all.keys[0].frame,
                         all.keys[0].code, all.keys[1].frame, all.keys[1].code),
              std::tuple(0, 0.5f, 3600.0f, All, 3, 13u, 1, 65535u));
    for (const auto& [name, print] :
         {std::pair{"summary", Summary}, {"particles", Particles}, {"field", Field}}) {
        EXPECT_EQ(ParseTraceOptions({"--print", name}).options.value().print, print);
    }
    const StillOptions still = ParseStillOptions({"--out", "p.png"}).options.value();
    const StillOptions sized = ParseStillOptions({"--width", "16384", "--height", "1", "--frames",
                                                  "0", "--dt", "0", "--out", "q.png"})
                                   .options.value();
    EXPECT_EQ(std::tie(still.frames, still.dt, still.width, still.height, still.out, sized.frames,
                       sized.dt, sized.width, sized.height, sized.out),
              std::tuple(300, 0.015625f, 640, 480, "p.png", 0, 0.0f, 16384, 1, "q.png"));
    // A name, a blank and a value. Seconds narrowed to single precision must stay above zero
    // where given. The still tool's rows, from "--width" on, follow "--out".
    int row = 0;
    for (const std::string text :
         {"--frames -1", "--dt -0.1", "--dt 1e-50", "--first-dt ", "--first-dt 1e-46", "--key 0:13",
          "--key 5", "--key 2:x", "--key 2:65536", "--print everything", "--width 0",
          "--height 16385", "--dt 1e-50", "--frames -1", "--out "}) {
        const std::string name = text.substr(0, text.find(' ')),
                          value = text.substr(name.size() + 1);
        EXPECT_EQ(row++ < 10 ? ParseTraceOptions({name, value}).error
                             : ParseStillOptions({"--out", "a.png", name, value}).error,
                  "bad value for " + name + ": " + value);
    }
    EXPECT_EQ(ParseTraceOptions({"--frames"}).error + ParseTraceOptions({"frames", "2"}).error,
              "--frames: missing valueunknown argument: frames");
    EXPECT_EQ(
        ParseStillOptions({"--speed", "2"}).error + ParseStillOptions({"--out", "a", "--dt"}).error,
        "unknown argument: --speed--dt: missing value");
    EXPECT_TRUE(!ParseStillOptions({}).options &&
                ParseStillOptions({}).error == "--out: missing (the PNG file to write)");
}

TEST(Trace, KeysArriveBeforeTheirFrameAndRecordsFollowStorageOrder) {
    const auto flame = std::make_unique<Flame>();
    RunFrames(*flame, 0, 0.015625f, std::nullopt, {});
    EXPECT_EQ(SummaryRecord(*flame) + ParticleRecords(flame->scene),
              "summary frames=0 sceneTime=0 emissionClock=0 particleCount=0 birthCount=0 running=1 "
              "rotating=1 fineField=0 viewAngle=0 framesSinceToggle=0\n");
    // Frame 2: Enter twice (back to running) then Space; frame 9 is never reached. The time is
    // 0.5 + 0.25 + 0.25, and the view turned only in frame 1.
    RunFrames(*flame, 3, 0.25f, 0.5f, {{2, 13}, {2, 32}, {2, 13}, {3, 48}, {9, 13}, {1, 27}});
    EXPECT_NE(SummaryRecord(*flame).find(" frames=3 sceneTime=1 emissionClock=1 particleCount=1024 "
                                         "birthCount=1024 running=1 rotating=0 fineField=1 "),
              std::string::npos);
    EXPECT_FLOAT_EQ(flame->scene.view.viewAngle, 0.62831855f * 0.5f);
    std::vector<std::string> lines;
    std::istringstream in(ParticleRecords(flame->scene) + FieldRecords(flame->scene.field));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1024u + 256);
    for (const auto& [index, start] : {std::pair{1023, "particle slot=1023 x="},
                                       {1025, "node x=1 y=0 z=0 fx="},
                                       {1032, "node x=0 y=1 z=0 "},
                                       {1056, "node x=0 y=0 z=1 "},
                                       {1279, "node x=7 y=3 z=7 "}}) {
        EXPECT_TRUE(lines[index].starts_with(start)) << lines[index];
    }
}

}  // namespace
