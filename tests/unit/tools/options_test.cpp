#include "options.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Args = std::vector<std::string_view>;

TEST(ToolOptions, DefaultsAndEveryOption) {
    const TraceOptions none = ParseTraceOptions({}).options.value();
    EXPECT_EQ(std::tuple(none.frames, none.dt, none.firstDt, none.keys.size(), none.print),
              std::tuple(1, 0.015625f, std::nullopt, 0u, TracePrint::Summary));
    const TraceOptions all =
        ParseTraceOptions(Args{"--frames", "0", "--dt", "0.5", "--first-dt", "3600", "--key",
                               "3:13", "--key", "1:65535", "--print", "all"})
            .options.value();
    EXPECT_EQ(std::tuple(all.frames, all.dt, all.firstDt, all.print),
              std::tuple(0, 0.5f, 3600.0f, TracePrint::All));
    ASSERT_EQ(all.keys.size(), 2u);
    EXPECT_EQ(std::tuple(all.keys[0].frame, all.keys[0].code, all.keys[1].frame, all.keys[1].code),
              std::tuple(3, 13u, 1, 65535u));
    for (const auto& [name, print] :
         {std::pair("summary", TracePrint::Summary), std::pair("particles", TracePrint::Particles),
          std::pair("field", TracePrint::Field)}) {
        EXPECT_EQ(ParseTraceOptions(Args{"--print", name}).options.value().print, print);
    }

    const StillOptions still = ParseStillOptions(Args{"--out", "p.png"}).options.value();
    EXPECT_EQ(std::tie(still.frames, still.dt, still.width, still.height, still.out),
              std::tuple(300, 0.015625f, 640, 480, "p.png"));
    const StillOptions sized =
        ParseStillOptions(Args{"--width", "16384", "--height", "1", "--frames", "0", "--dt", "0",
                               "--out", "q.png"})
            .options.value();
    EXPECT_EQ(std::tie(sized.frames, sized.dt, sized.width, sized.height, sized.out),
              std::tuple(0, 0.0f, 16384, 1, "q.png"));
}

TEST(ToolOptions, BadArgumentsAreNamedInOneLine) {
    using P = std::pair<const char*, const char*>;
    for (const auto& [name, value] :
         {P{"--frames", "-1"}, P{"--frames", "12x"}, P{"--dt", "nan"}, P{"--dt", "-0.1"},
          P{"--dt", "1e39"}, P{"--dt", "1e-50"}, P{"--first-dt", ""}, P{"--first-dt", "1e-46"},
          P{"--key", "0:13"}, P{"--key", "5"}, P{"--key", "2:x"}, P{"--key", "2:65536"},
          P{"--print", "everything"}}) {
        const auto result = ParseTraceOptions(Args{name, value});
        EXPECT_EQ(result.error, std::string("bad value for ") + name + ": " + value);
        EXPECT_FALSE(result.options);
    }
    for (const auto& [name, value] : {P{"--width", "0"}, P{"--height", "16385"}, P{"--dt", "1e-50"},
                                      P{"--frames", "-1"}, P{"--out", ""}}) {
        const auto result = ParseStillOptions(Args{"--out", "a.png", name, value});
        EXPECT_EQ(result.error, std::string("bad value for ") + name + ": " + value);
        EXPECT_FALSE(result.options);
    }
    EXPECT_EQ(ParseTraceOptions(Args{"--frames"}).error, "--frames: missing value");
    EXPECT_EQ(ParseTraceOptions(Args{"frames", "2"}).error, "unknown argument: frames");
    EXPECT_EQ(ParseStillOptions(Args{"--speed", "2"}).error, "unknown argument: --speed");
    EXPECT_EQ(ParseStillOptions(Args{"--out", "a", "--dt"}).error, "--dt: missing value");
    EXPECT_EQ(ParseStillOptions({}).error, "--out: missing (the PNG file to write)");
    EXPECT_FALSE(ParseStillOptions({}).options);
}

}  // namespace
