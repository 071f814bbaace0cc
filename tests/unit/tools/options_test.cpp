#include "options.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string_view>;

TEST(TraceOptions, DefaultsAndEveryOption) {
    const auto none = ParseTraceOptions({});
    ASSERT_TRUE(none.options);
    EXPECT_EQ(none.options->frames, 1);
    EXPECT_EQ(none.options->dt, 0.015625f);
    EXPECT_FALSE(none.options->firstDt);
    EXPECT_EQ(none.options->print, TracePrint::Summary);

    const auto all = ParseTraceOptions(Args{"--frames", "0", "--dt", "0.5", "--first-dt", "3600",
                                            "--key", "3:13", "--key", "1:48", "--print", "all"});
    ASSERT_TRUE(all.options) << all.error;
    EXPECT_EQ(all.options->frames, 0);
    EXPECT_EQ(all.options->dt, 0.5f);
    EXPECT_EQ(*all.options->firstDt, 3600.0f);
    ASSERT_EQ(all.options->keys.size(), 2u);
    EXPECT_EQ(all.options->keys[0].frame, 3);
    EXPECT_EQ(all.options->keys[0].code, 13u);
    EXPECT_EQ(all.options->keys[1].frame, 1);
    EXPECT_EQ(all.options->print, TracePrint::All);
    EXPECT_EQ(ParseTraceOptions(Args{"--print", "field"}).options->print, TracePrint::Field);
    EXPECT_EQ(ParseTraceOptions(Args{"--print", "particles"}).options->print,
              TracePrint::Particles);
}

TEST(TraceOptions, BadArgumentsAreNamedInTheError) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--frames", "-1"}, "--frames"},
        {{"--frames", "12x"}, "--frames"},
        {{"--frames"}, "--frames"},
        {{"--dt", "nan"}, "--dt"},
        {{"--dt", "-0.1"}, "--dt"},
        {{"--first-dt", ""}, "--first-dt"},
        {{"--key", "0:13"}, "--key"},
        {{"--key", "5"}, "--key"},
        {{"--key", "2:x"}, "--key"},
        {{"--print", "everything"}, "--print"},
        {{"--speed", "2"}, "--speed"},
        {{"frames", "2"}, "frames"},
        {{"--dt", "1e39"}, "--dt"},
        {{"--dt", "1e-50"}, "--dt"},
        {{"--first-dt", "1e-46"}, "--first-dt"},
    };
    for (const auto& [args, named] : cases) {
        const auto result = ParseTraceOptions(args);
        EXPECT_FALSE(result.options) << named;
        EXPECT_NE(result.error.find(named), std::string::npos) << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
    }
}

TEST(StillOptions, RequiresAnOutputAndSensibleSizes) {
    const auto ok = ParseStillOptions(Args{"--width", "152", "--height", "112", "--out", "p.png"});
    ASSERT_TRUE(ok.options) << ok.error;
    EXPECT_EQ(ok.options->width, 152);
    EXPECT_EQ(ok.options->height, 112);
    EXPECT_EQ(ok.options->frames, 300);
    EXPECT_EQ(ok.options->out, "p.png");

    EXPECT_NE(ParseStillOptions({}).error.find("--out"), std::string::npos);
    EXPECT_NE(ParseStillOptions(Args{"--width", "0", "--out", "a.png"}).error.find("--width"),
              std::string::npos);
    EXPECT_NE(ParseStillOptions(Args{"--height", "99999", "--out", "a.png"}).error.find("--height"),
              std::string::npos);
    EXPECT_NE(ParseStillOptions(Args{"--dt", "1e-50", "--out", "a.png"}).error.find("--dt"),
              std::string::npos);
}

}  // namespace
