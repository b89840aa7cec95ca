#include "capture/capture.h"
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

TEST(OptionsTest, CaptureTakesRateAndRangeInEitherTimeNotation) {
    sOptions options;
    ASSERT_TRUE(parse({"--letterbox", "--capture", "out/show.mp4", "--fps", "30", "--from",
                       "0:0:1,500", "--to", "4000", "--profile"},
                      &options));
    EXPECT_EQ(options.screen, sOptions::LETTERBOX);
    EXPECT_EQ(options.capture_path, "out/show.mp4");
    EXPECT_EQ(options.fps, 30);
    EXPECT_TRUE(options.has_from && options.from_ms == 1500 && options.to_ms == 4000);
    EXPECT_TRUE(options.profile);
    sOptions tool;
    ASSERT_TRUE(parse({"--tool", "--at", "0:1:05,030"}, &tool));
    EXPECT_TRUE(tool.has_at && tool.at_ms == 65030);
}

TEST(OptionsTest, BadCommandLinesSayWhy) {
    // Each with the argument its message must name.
    const std::vector<std::pair<std::vector<const char*>, const char*>> bad = {
        {{"--nope"}, "--nope"},
        {{"--capture", "x", "--fps", "ten"}, "ten"},
        {{"--capture", "x", "--from", "0:0:1"}, "0:0:1"},
        {{"--capture", "x", "--from", "2000", "--to", "1000"}, "--to"},
        {{"--capture", "x", "--fps", "30", "--from", "10", "--to", "20"}, "--from"},
        {{"--fps", "30"}, "--fps"},
        {{"--tool", "--capture", "x"}, "--tool"},
        {{"--tool", "--at", "1:2"}, "1:2"},
        {{"--at", "1000"}, "--at"},
        {{"--size", "1920X1080"}, "1920X1080"},
        {{"--size", "1921x1080"}, "1921x1080"},
        {{"--size", "01920x1080"}, "01920x1080"},
        {{"--size", "+1920x1080"}, "+1920x1080"},
        {{"--size", "1920x"}, "1920x"},
        {{"--size", "318x200"}, "318x200"},
        {{"--size", "4K"}, "4K"},
        {{"--size", "1920x1080x2"}, "1920x1080x2"},
        {{"--desktop", "--size", "720p"}, "--desktop"},
        {{"--desktop", "--capture", "x"}, "--desktop"}};
    for (const auto& c : bad) {
        SCOPED_TRACE(c.second);
        sOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.first, &options, &error));
        EXPECT_NE(error.find(c.second), std::string::npos) << error;
    }
}

TEST(OptionsTest, SizesAreWidthByHeightOrAName) {
    const std::vector<std::pair<const char*, std::pair<int, int>>> sizes = {
        {"720p", {1280, 720}}, {"1080p", {1920, 1080}},   {"1440p", {2560, 1440}},
        {"4k", {3840, 2160}},  {"1366x768", {1366, 768}}, {"320x200", {320, 200}}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.first);
        sOptions options;
        ASSERT_TRUE(parse({"--size", size.first}, &options));
        EXPECT_EQ(std::make_pair(options.width, options.height), size.second);
    }
}

TEST(OptionsTest, ShotsWriteTheFirstFrameAtOrAfterEachTimeInEitherNotation) {
    sOptions options;
    ASSERT_TRUE(parse({"--capture", "x", "--fps", "30", "--shots", "0:0:1,000,250,0:0:0:250,90"},
                      &options));
    EXPECT_EQ(options.shots_ms, (std::vector<int>{90, 250, 1000}));
    // Frames at 30 fps: 66, 100 (for 90), 233, 266 (for 250), ... 1000.
    std::vector<std::int64_t> written;
    std::size_t next = 0;
    for (std::int64_t k = 0; k <= 40; ++k) {
        const std::int64_t ms = cCapture::frame_time_ms(k, 30);
        if (cCapture::take_shot(options.shots_ms, &next, ms))
            written.push_back(ms);
    }
    EXPECT_EQ(written, (std::vector<std::int64_t>{100, 266, 1000}));
    // Two times within one frame get that one frame.
    next = 0;
    EXPECT_TRUE(cCapture::take_shot({10, 20, 500}, &next, 33));
    EXPECT_EQ(next, 2u);
    EXPECT_TRUE(cCapture::take_shot({}, &next, 0)) << "without --shots every frame is written";

    for (const char* bad : {"100,,200", "0:0:1"}) {
        sOptions o;
        EXPECT_FALSE(parse({"--capture", "x", "--shots", bad}, &o)) << bad;
    }
}
