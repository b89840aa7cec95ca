#include "event_queue_factory.h"
#include "timecode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
struct sParsed {
    std::vector<std::pair<int, int>> events; // type, time in queue order
    std::string err;
};

sParsed parse_script(const std::string& text) {
    testing::internal::CaptureStderr();
    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::loadText(text.data(), text.size()));
    sParsed parsed;
    parsed.err = testing::internal::GetCapturedStderr();
    for (std::size_t i = 0; i < queue->size(); ++i)
        parsed.events.emplace_back(queue->at(i)->m_type, queue->at(i)->m_time);
    return parsed;
}

std::pair<int, int> parse_line(const std::string& line) {
    std::string copy = line;
    std::unique_ptr<cEvent> event(cEventQueue_factory::line_parse(copy.data()));
    return {event->m_type, event->m_time};
}
} // namespace

TEST(MarkerScriptTest, LinesGiveTypeAndTimeWithColonOrCommaInAnyMix) {
    const struct {
        const char* line;
        int type, ms;
    } cases[] = {
        {"s05 0:1:30,500", 5, 90500},
        {"s05 0,1,30:500", 5, 90500},
        {"beat 0:61:0,1500", 16, 61 * 60000 + 1500}, // fields are not range-checked
        {"quit\t1:00:00,000 the end", 32, 3600000},  // tabs and trailing text
        {"s00 0:0:0,100\r", 0, 100},                 // CR line ends
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse_line(c.line), std::make_pair(c.type, c.ms)) << c.line;
    // Huge times wrap like the 32-bit sum, without undefined behaviour.
    EXPECT_EQ(parse_line("beat 999999:99999999999:-5,2147483647").first, 16);
    // The notation the space key prints reads back unchanged.
    for (long long ms : {0LL, 999LL, 65030LL, 3599999LL, 3600000LL, 7265123LL}) {
        std::string line = "s01 " + format_timecode(ms);
        EXPECT_EQ(parse_line(line).second, ms) << line;
    }
}

TEST(MarkerScriptTest, StrictTimesTakeOnlyDigitsInFieldsInRange) {
    const std::pair<const char*, int> accepted[] = {{"30", 30},
                                                    {"2147483647", 2147483647},
                                                    {"0,1,30:500", 90500},
                                                    {"596:31:23,647", 2147483647}};
    for (const auto& c : accepted) {
        int ms = -7;
        EXPECT_TRUE(cEventQueue_factory::strict_time_parse(c.first, &ms)) << c.first;
        EXPECT_EQ(ms, c.second) << c.first;
    }
    // What the lenient reader of the script accepts, a user's time must not.
    for (const char* text : {"2147483648", "596:31:23,648", "0:60:0,0", "0:0:60,0", "0:0:0,1000",
                             "0:0:1,5junk", "-30", " 30", "", "0:0:1", "0:0:0:1:0", "0::1,0"}) {
        int ms = -7;
        EXPECT_FALSE(cEventQueue_factory::strict_time_parse(text, &ms)) << text;
        EXPECT_EQ(ms, -7) << text;
    }
}

TEST(MarkerScriptTest, KeywordsMatchWholeTokensCaseSensitively) {
    const std::pair<const char*, int> others[] = {{"beat", 16}, {"sinus_in", 28}, {"s12", 12},
                                                  {"s100", 13}, {"quit", 32},     {"12", 15}};
    for (const auto& other : others)
        EXPECT_EQ(cEventQueue_factory::eventtoken_parse(other.first), other.second) << other.first;

    testing::internal::CaptureStderr();
    for (const char* unknown : {"s13", "Beat", "technofx3"})
        EXPECT_EQ(cEventQueue_factory::eventtoken_parse(unknown), -1) << unknown;
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "# warning, unknown token Beat in cEventQueue_factory::eventtoken_parse\n"),
              std::string::npos);
}

TEST(MarkerScriptTest, ScriptIsSortedAndSkipsCommentsAndLinesWithoutAFullTime) {
    sParsed parsed = parse_script("# comment\n#beat 0:0:1:0\n12 0:0:1:0\n\n"
                                  " beat 0:0:1:0\n" // indented: the blank makes it unknown
                                  "quit 0:2:0,0\n"
                                  "s03 0:0:42,000\n"
                                  "beat\n"
                                  "snare   \n"
                                  "s01 0:1:30\n"
                                  "s02 1500\n"
                                  "beat 0:0:1,0\n"
                                  "beat 0:0:1,0\n" // equal times are all kept
                                  "s00 0:0:0,0");
    EXPECT_EQ(parsed.events, (std::vector<std::pair<int, int>>{
                                 {0, 0}, {16, 1000}, {16, 1000}, {3, 42000}, {32, 120000}}));
    for (const char* warning : {"unknown token  beat", "missing time after snare",
                                "bad time 0:1:30 after s01", "bad time 1500 after s02"})
        EXPECT_NE(parsed.err.find(warning), std::string::npos) << warning;
}

TEST(MarkerScriptTest, OverlongLineEndsReading) {
    std::string fits(511, 'x');
    fits.replace(0, 14, "beat 0:0:2,0  ");
    std::string too_long(512, 'y');
    too_long.replace(0, 14, "beat 0:0:3,0  ");
    sParsed parsed = parse_script("beat 0:0:1,0\n" + fits + "\n" + too_long + "\nbeat 0:0:4,0\n");
    ASSERT_EQ(parsed.events.size(), 2u);
    EXPECT_EQ(parsed.events[1].second, 2000);
    EXPECT_NE(parsed.err.find("line 3 longer than 511 characters"), std::string::npos);
}
