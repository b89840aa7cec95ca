#include "options.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {
bool parse(std::vector<const char*> args, sOptions* options, std::string* error = nullptr) {
    args.insert(args.begin(), "vantrel");
    std::string ignored;
    return parse_options(int(args.size()), args.data(), options, error ? error : &ignored);
}
} // namespace

TEST(OptionsTest, NoArgumentsAsksTheQuestionAndPlaysLive) {
    sOptions options;
    ASSERT_TRUE(parse({}, &options));
    EXPECT_EQ(options.screen, sOptions::ASK);
    EXPECT_FALSE(options.windowed);
    EXPECT_FALSE(options.capturing());
}

TEST(OptionsTest, CaptureTakesRateAndRangeInEitherTimeNotation) {
    sOptions options;
    ASSERT_TRUE(parse({"--letterbox", "--capture", "out/show.mp4", "--fps", "30", "--from",
                       "0:0:1,500", "--to", "4000"},
                      &options));
    EXPECT_EQ(options.screen, sOptions::LETTERBOX);
    EXPECT_EQ(options.capture_path, "out/show.mp4");
    EXPECT_EQ(options.fps, 30);
    EXPECT_TRUE(options.has_from);
    EXPECT_EQ(options.from_ms, 1500);
    EXPECT_EQ(options.to_ms, 4000);
}

TEST(OptionsTest, BadCommandLinesSayWhy) {
    // Each with the argument its message must name.
    const std::vector<std::pair<std::vector<const char*>, const char*>> bad = {
        {{"--nope"}, "--nope"},
        {{"--capture"}, "--capture"},
        {{"--capture", "x", "--fps", "0"}, "--fps"},
        {{"--capture", "x", "--fps", "ten"}, "ten"},
        {{"--capture", "x", "--from", "-5"}, "--from"},
        {{"--capture", "x", "--from", "0:0:1"}, "0:0:1"},
        {{"--capture", "x", "--to", "0:1:xyz,5junk"}, "--to"},
        {{"--capture", "x", "--from", "2000", "--to", "1000"}, "--to"},
        {{"--capture", "x", "--fps", "30", "--from", "10", "--to", "20"}, "--from"},
        {{"--fps", "30"}, "--fps"},
        {{"--to", "100"}, "--to"},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.second);
        sOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.first, &options, &error));
        EXPECT_NE(error.find(c.second), std::string::npos) << error;
    }
}
