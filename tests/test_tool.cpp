// vantrel-tool as its users run it.
#include "test_support.h"

#include <gtest/gtest.h>

namespace {
sCommandResult tool(const std::string& args) {
    return run_command(std::string(VANTREL_TOOL_PATH) + " " + args);
}
} // namespace

TEST(ToolTest, MarkersListsEventsInTimelineOrder) {
    std::string path = write_temp_file("tool_markers.txt", "quit 0:0:5,0\n"
                                                           "Beat 0:0:1,0\n"
                                                           "s03 0:0:0,250\n");
    sCommandResult result = tool("markers " + path);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, "3 250\n32 5000\n");
    EXPECT_EQ(result.err,
              "# warning, unknown token Beat in cEventQueue_factory::eventtoken_parse\n");

    sCommandResult missing = tool("markers /nonexistent/markers.txt");
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(missing.out.find("Error reading file \"/nonexistent/markers.txt"), std::string::npos);
}

TEST(ToolTest, TimecodePrintsTheMarkerNotationAndBadArgumentsAreUsageErrors) {
    sCommandResult result = tool("timecode 65030");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, "00:01:05,030\n");
    EXPECT_EQ(tool("timecode 12x").exit_code, 2);
    // An unknown command or a missing argument is a usage error too.
    EXPECT_EQ(tool("frobnicate").exit_code, 2);
    EXPECT_EQ(tool("markers").exit_code, 2);
    EXPECT_EQ(tool("--help").exit_code, 0);
}
