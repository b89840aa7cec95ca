// Captures that fail: a frame or a video that cannot be written, a folder
// written twice, an interrupt from the terminal and an encoder that takes no
// frames. Each says why with status 1, leaves nothing under the final name
// and keeps what it wrote under the partial one. A file size limit stands in
// for a full disk.
#include "capture/frame_sink.h"
#include "show_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {
// The program capturing in a session of its own, sent SIGINT at its whole
// process group as a terminal does, `interrupts` times a second apart once
// `ready` (a shell test) holds. Still running 30 s later is a fault: it is
// killed, so that the test fails instead of hanging.
sCommandResult interrupted(const sShow& show, const std::string& args, const std::string& ready,
                           int interrupts, const std::string& env = "") {
    return run_command(
        "cd " + show.run_dir + " && { " + env +
        // A shell's background command ignores SIGINT; a terminal's does not.
        " env --default-signal=INT setsid " VANTREL_PROGRAM_PATH " --letterbox " + args +
        " 2>../err & pid=$!; for i in $(seq 1200); do " + ready +
        " && break; sleep 0.1; done; for n in $(seq " + std::to_string(interrupts) +
        "); do kill -INT -$pid; sleep 1; done; for i in $(seq 300); do kill -0 $pid "
        "2>/dev/null || break; sleep 0.1; done; if kill -0 $pid 2>/dev/null; then echo \"still "
        "running 30 s after the interrupts\" >>../err; kill -KILL -$pid; fi; wait $pid; s=$?; "
        "cat ../err >&2; exit $s; }");
}

int count_files(const std::string& folder) {
    return std::atoi(run_command("ls " + folder + " | wc -l").out.c_str());
}

// N in "...; N frames written, ..."; -1 without it.
int frames_written(const std::string& line) {
    const std::size_t at = line.rfind("; ", line.find(" frames written"));
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + 2);
}
} // namespace

TEST(CaptureFailures, AFrameOrVideoThatCannotBeWrittenEndsTheCaptureWithItsReason) {
    // Two small frames of no scene, then large ones of the attractor's. The
    // limit lets the small ones through; the video's limit, about 4/5 of its
    // size, fails the rewrite that moves its index to the front.
    sShow show = make_show("capture_full", "s07 0:0:0,0\ns03 0:0:1,0\nquit 0:0:3,0\n");
    struct sCase {
        std::string path, limit_bytes, message;
    } cases[] = {
        {"frames", "102400", "## ERROR: capture: cannot write \"../frames.partial/frame_"},
        {"show.mp4", "409600", "## ERROR: capture: ffmpeg cannot write \"../show.mp4.partial\": "},
    };
    for (const sCase& c : cases) {
        SCOPED_TRACE(c.path);
        sCommandResult result = run_program(show, "--letterbox --capture ../" + c.path + " --fps 2",
                                            "prlimit --fsize=" + c.limit_bytes);
        EXPECT_EQ(result.exit_code, 1) << result.err;
        const std::size_t at = result.err.find(c.message);
        ASSERT_NE(at, std::string::npos) << result.err;
        const std::string line = result.err.substr(at, result.err.find('\n', at) - at);
        EXPECT_NE(line.find(": File too large; "), std::string::npos) << line;
        EXPECT_NE(line.find(" frames written, kept in \"../" + c.path + ".partial\""),
                  std::string::npos)
            << line;
        EXPECT_FALSE(exists(show.root + "/" + c.path));
        EXPECT_TRUE(exists(show.root + "/" + c.path + ".partial"));
    }
    // Only whole frames stay: the one cut short is gone.
    sCommandResult last =
        run_program(show, "--letterbox --capture ../frames --fps 2", "prlimit --fsize=102400");
    EXPECT_EQ(frames_written(last.err), count_files(show.root + "/frames.partial")) << last.err;
}

TEST(CaptureFailures, ACaptureIntoAFolderReplacesItWholeAndNeverAUsersFiles) {
    sShow show = make_show("capture_again", "s07 0:0:0,0\nquit 0:0:1,500\n");
    // 7 frames, then 4 frames into the same folder.
    for (const char* fps : {"4", "2"}) {
        sCommandResult result =
            run_program(show, "--letterbox --capture ../frames --fps " + std::string(fps));
        EXPECT_EQ(result.exit_code, 0) << result.err;
    }
    EXPECT_EQ(count_files(show.root + "/frames"), 4);
    EXPECT_FALSE(exists(show.root + "/frames.partial"));

    // A folder that holds anything else is refused before a frame is drawn.
    write_temp_file("capture_again/frames/notes.txt", "mine");
    sCommandResult refused = run_program(show, "--letterbox --capture ../frames --fps 2");
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_NE(refused.err.find("## ERROR: capture: the folder \"../frames\" holds \"notes.txt\", "
                               "which is no captured frame"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(count_files(show.root + "/frames"), 5);
}

TEST(CaptureFailures, AnInterruptFromTheTerminalKeepsAPlayableVideo) {
    // The encoder runs in a process group of its own: the terminal's SIGINT
    // reaches the program alone, which lets the encoder complete the file.
    sShow show = make_show("capture_interrupt", "s07 0:0:0,0\nquit 0:10:0,0\n");
    sCommandResult result = interrupted(show, "--capture ../show.mp4 --fps 10",
                                        "grep -q 'frame [1-9][0-9]*/' ../err", 1);
    EXPECT_EQ(result.exit_code, 1) << result.err;
    const std::size_t at = result.err.find("## ERROR: capture: the capture stopped at ");
    EXPECT_NE(at, std::string::npos) << result.err;
    EXPECT_NE(result.err.find(" frames written, kept in \"../show.mp4.partial\"\n", at),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(exists(show.root + "/show.mp4"));
    EXPECT_EQ(run_command("ffprobe -v error " + show.root + "/show.mp4.partial").exit_code, 0)
        << "the partial video plays";
}

TEST(CaptureFailures, AnEncoderThatTakesNoFramesEndsTheCaptureAtASecondInterruptOrInTime) {
    // A stand-in ffmpeg that reads nothing, found first on the search path.
    sShow show = make_show("capture_stalled", "s07 0:0:0,0\nquit 0:10:0,0\n");
    make_temp_dir("capture_stalled/bin");
    const std::string encoder = write_temp_file(
        "capture_stalled/bin/ffmpeg", "#!/bin/sh\necho $$ >>../encoder.pid\nexec sleep 120\n");
    run_command("chmod +x " + encoder);
    const std::string path = "PATH=" + show.root + "/bin:$PATH ";
    const std::string started = "grep -q '# capture: [0-9]* frames' ../err";
    sCommandResult twice = interrupted(show, "--capture ../show.mp4 --fps 10", started, 2, path);
    // Without an interrupt the encoder gets its time, here 3 s.
    sCommandResult stalled = interrupted(show, "--capture ../show.mp4 --fps 10", started, 0,
                                         path + "VANTREL_ENCODER_TIMEOUT=3 ");
    for (const sCommandResult& result : {twice, stalled}) {
        EXPECT_EQ(result.exit_code, 1) << result.err;
        EXPECT_EQ(result.err.find("still running"), std::string::npos) << result.err;
        EXPECT_FALSE(exists(show.root + "/show.mp4"));
    }
    EXPECT_NE(twice.err.find("interrupted again while "), std::string::npos) << twice.err;
    EXPECT_NE(stalled.err.find("## ERROR: capture: ffmpeg stopped taking frames for "
                               "\"../show.mp4.partial\": it took no data for 3 s; "),
              std::string::npos)
        << stalled.err;
    // The encoders are ended too.
    std::string pids = read_file_bytes(show.root + "/encoder.pid");
    std::replace(pids.begin(), pids.end(), '\n', ' ');
    EXPECT_EQ(run_command("for p in " + pids + "; do ! kill -0 $p || exit 1; done").exit_code, 0)
        << pids;
    run_command("kill -KILL " + pids);
}
