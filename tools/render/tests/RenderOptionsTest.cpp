// The export tool's command line: accepted forms and every refusal.
#include <gtest/gtest.h>

#include <vector>

#include "tools/render/RenderOptions.h"

namespace {
struct Parsed {
    bool ok;
    render::RenderOptions options;
    std::string error;
};

Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zrbtracker-render");
    Parsed parsed;
    parsed.ok = render::ParseRenderArguments(static_cast<int>(args.size()), args.data(), parsed.options, parsed.error);
    return parsed;
}

TEST(RenderOptions, DefaultsWithTwoFiles) {
    const Parsed p = Parse({"song", "out.wav"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.songPath, "song");
    EXPECT_EQ(p.options.outputPath, "out.wav");
    EXPECT_EQ(p.options.loops, 1);
    EXPECT_EQ(p.options.sampleRate, 44100);
    EXPECT_FALSE(p.options.quiet);
    EXPECT_FALSE(p.options.help);
}

TEST(RenderOptions, OptionsInAnyPlaceAndBothValueForms) {
    const Parsed p = Parse({"--loops", "3", "song", "--rate=48000", "out.flac", "--quiet"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.loops, 3);
    EXPECT_EQ(p.options.sampleRate, 48000);
    EXPECT_TRUE(p.options.quiet);
    EXPECT_EQ(p.options.songPath, "song");
    EXPECT_EQ(p.options.outputPath, "out.flac");
}

TEST(RenderOptions, HelpNeedsNoFiles) {
    const Parsed p = Parse({"--help"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.options.help);
    EXPECT_NE(render::RenderUsage().find("--loops N"), std::string::npos);
}

TEST(RenderOptions, DoubleDashLetsFileNamesStartWithADash) {
    const Parsed p = Parse({"--", "-song", "-out.wav"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.songPath, "-song");
    EXPECT_EQ(p.options.outputPath, "-out.wav");
}

TEST(RenderOptions, LoopCountMustBeAWholeNumberInRange) {
    for (const char* bad : {"0", "101", "-1", "2x", "", "1.5", "99999999999"}) {
        const Parsed p = Parse({"song", "out.wav", "--loops", bad});
        EXPECT_FALSE(p.ok) << bad;
        EXPECT_NE(p.error.find("--loops"), std::string::npos) << bad;
    }
    EXPECT_TRUE(Parse({"song", "out.wav", "--loops", "100"}).ok);
    EXPECT_FALSE(Parse({"song", "out.wav", "--loops"}).ok);
}

TEST(RenderOptions, SampleRateMustBeInRange) {
    EXPECT_FALSE(Parse({"song", "out.wav", "--rate", "7999"}).ok);
    EXPECT_FALSE(Parse({"song", "out.wav", "--rate", "192001"}).ok);
    EXPECT_FALSE(Parse({"song", "out.wav", "--rate", "44.1k"}).ok);
    EXPECT_TRUE(Parse({"song", "out.wav", "--rate", "8000"}).ok);
    EXPECT_TRUE(Parse({"song", "out.wav", "--rate", "192000"}).ok);
}

TEST(RenderOptions, WrongFileCountAndUnknownOptionsAreRefused) {
    EXPECT_FALSE(Parse({}).ok);
    EXPECT_FALSE(Parse({"song"}).ok);
    const Parsed extra = Parse({"song", "out.wav", "more.wav"});
    EXPECT_FALSE(extra.ok);
    EXPECT_NE(extra.error.find("more.wav"), std::string::npos);
    const Parsed unknown = Parse({"song", "out.wav", "--speed"});
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.error.find("--speed"), std::string::npos);
}
TEST(RenderOptions, StemNamesGoBeforeTheExtensionOfTheFileNameOnly) {
    const Parsed p = Parse({"--stems", "song", "--normalize", "mix.wav"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.options.stems && p.options.normalize);
    EXPECT_EQ(render::StemPath("out/mix.wav", 1), "out/mix-1.wav");
    EXPECT_EQ(render::StemPath("takes.v2/mix.FLAC", 4), "takes.v2/mix-4.FLAC");
    EXPECT_EQ(render::StemPath("takes.v2/mix", 2), "takes.v2/mix-2");
}
}  // namespace
