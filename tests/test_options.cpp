#include "options.h"

#include <gtest/gtest.h>

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
    const std::vector<std::vector<const char*>> bad = {
        {"--nope"},
        {"--capture"},
        {"--capture", "x", "--fps", "0"},
        {"--capture", "x", "--fps", "ten"},
        {"--capture", "x", "--from", "-5"},
        {"--capture", "x", "--from", "0:0:1"},
        {"--capture", "x", "--from", "2000", "--to", "1000"},
        {"--fps", "30"},
        {"--to", "100"},
        {"--tool", "--capture", "x"},
    };
    for (const auto& args : bad) {
        sOptions options;
        std::string error;
        EXPECT_FALSE(parse(args, &options, &error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}
