// The program as its users run it: the whole show, a capture stopped early
// and the makers' mode driven by keys.
#include "capture/frame_sink.h"
#include "event_queue_factory.h"
#include "show_support.h"
#include "test_support.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

namespace {
// The mean colour of a 1024 x 768 PNG frame, r, g, b; empty when it is
// unreadable or of another size.
std::vector<int> mean_colour(const std::string& path) {
    static bool ready = (ilInit(), true);
    (void)ready;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<int> mean;
    if (ilLoadImage(path.c_str()) && ilGetInteger(IL_IMAGE_WIDTH) == 1024 &&
        ilGetInteger(IL_IMAGE_HEIGHT) == 768) {
        ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
        const ILubyte* data = ilGetData();
        double sum[3] = {0, 0, 0};
        for (std::size_t i = 0; i < 1024u * 768u * 3u; ++i)
            sum[i % 3] += data[i];
        for (double s : sum)
            mean.push_back(int(s / (1024.0 * 768.0) + 0.5));
    }
    ilDeleteImages(1, &image);
    return mean;
}

// The program in the makers' mode, run in the background and driven by key
// presses sent to its window through the X server, as a person's arrive.
class cToolSession {
public:
    explicit cToolSession(const std::string& run_dir, const std::string& args = "")
        : m_run_dir(run_dir) {
        // The output files of an earlier session must not answer for this one.
        std::remove((run_dir + "/tool.out").c_str());
        std::remove((run_dir + "/tool.err").c_str());
        m_pid = start_command("cd " + run_dir +
                              " && exec " VANTREL_PROGRAM_PATH " --tool --windowed --letterbox " +
                              args + " >tool.out 2>tool.err");
        EXPECT_GT(m_pid, 0);
        EXPECT_TRUE(wait_for_output("# fmod starting playback")) << errors();
    }
    // The program ends with the test, also with one that failed or threw.
    ~cToolSession() { stop_command(m_pid, 10); }

    // Holds the key for a moment. The program takes every key-down from its
    // event queue, and a held key does not repeat, so a press that reaches
    // the window counts once however slow the frames are. False when the
    // window was not found or focused in time.
    bool key(const std::string& name) {
        // The program's own window: a test process that opened a GL context
        // has a window of the same name.
        if (xdotool("windowfocus --sync keydown " + name + " sleep 0.4 keyup " + name))
            return true;
        run_command("timeout 10 xdotool keyup " + name); // not left held down
        return false;
    }
    // Presses a key and waits for the program's answer, a line that contains
    // text. P and L toggle and the seeks move on from where they are, so a
    // slow answer is waited for, never pressed for again: only a key that did
    // not reach the window, or Home, whose target does not depend on where the
    // show is, goes again.
    std::string press(const std::string& name, const std::string& text) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const bool sent = key(name);
            const bool last = attempt == 2 || (sent && name != "Home");
            const std::string line = wait_line(text, last ? 1200 : sent ? 300 : 50, last);
            if (!line.empty() || last)
                return line;
        }
        return std::string();
    }
    // The next whole line of the error stream, after the last one waited
    // for, that contains text; empty when it does not come within tenths x 0.1 s.
    std::string wait_line(const std::string& text, int tenths = 1200, bool required = true) {
        for (int i = 0; i < tenths * 2; ++i) {
            const std::string err = errors();
            const std::size_t at = err.find(text, m_seen);
            const std::size_t end = at == std::string::npos ? at : err.find('\n', at);
            if (end != std::string::npos) {
                m_seen = end;
                const std::size_t start = err.rfind('\n', at);
                const std::size_t from = start == std::string::npos ? 0 : start + 1;
                return err.substr(from, end - from);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (required)
            ADD_FAILURE() << "no \"" << text << "\" in:\n" << errors().substr(m_seen);
        return std::string();
    }
    // Whether the standard output shows text within two minutes, or holds it
    // once the program has ended.
    bool wait_for_output(const std::string& text) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (running() && std::chrono::steady_clock::now() < until) {
            if (read_file_bytes(m_run_dir + "/tool.out").find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return read_file_bytes(m_run_dir + "/tool.out").find(text) != std::string::npos;
    }
    bool quit() {
        // A tap: a key still held when the window goes would stay down in
        // the X server for the next program started on it.
        xdotool("windowfocus --sync key q");
        return wait_for_output("requested exit");
    }
    // The window as the X server shows it, written to a PNG file.
    bool grab(const std::string& png) const {
        return run_command("eval $(xdotool search --all --pid " + std::to_string(m_pid) +
                           " --name '^vantrel OpenGL$' getwindowgeometry --shell) && timeout 60 "
                           "ffmpeg -nostdin -loglevel error -y -f x11grab -video_size "
                           "${WIDTH}x${HEIGHT} -i \"$DISPLAY+$X,$Y\" -frames:v 1 " +
                           png)
                   .exit_code == 0;
    }
    bool running() const { return command_running(m_pid); }
    std::string errors() const { return read_file_bytes(m_run_dir + "/tool.err"); }

private:
    // Runs xdotool's commands on the program's window, found and focused
    // within a minute.
    bool xdotool(const std::string& commands) const {
        return run_command("timeout -k 5 60 xdotool search --sync --all --pid " +
                           std::to_string(m_pid) + " --name '^vantrel OpenGL$' " + commands)
                   .exit_code == 0;
    }

    std::string m_run_dir;
    int m_pid = 0;
    std::size_t m_seen = 0;
};

// Milliseconds of the first timecode (00:01:05,030) after text in line.
int timecode_after(const std::string& line, const std::string& text) {
    const std::size_t at = line.find(text);
    int h = 0, m = 0, s = 0, ms = 0;
    if (at == std::string::npos ||
        std::sscanf(line.c_str() + at + text.size(), "%d:%d:%d,%d", &h, &m, &s, &ms) != 4)
        return -1;
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

} // namespace

TEST(ProgramTest, ToolModeKeysPauseSeekPageLoopAndGoHome) {
    // The end scene, the solar flare, the end scene again.
    sShow show =
        make_show("tool_keys", "s06 0:0:0,001\ns00 0:0:1,500\ns06 0:0:3,000\nquit 0:0:9,000\n");
    cToolSession tool(show.run_dir, "--at 0:0:2,000");

    // It starts at --at; the timeline stops at its end instead of quitting;
    // pause holds the timeline and the music, and both go on from there.
    tool.wait_line("# tool: landed at 00:00:02,000, scene 0 ");
    tool.wait_line("# tool: paused at the end, 00:00:09,000");
    tool.press("Home", "# tool: landed at 00:00:00,000");
    tool.press("p", "# tool: playing from ");
    const std::string paused = tool.press("p", "# tool: paused at ");
    const int paused_ms = timecode_after(paused, "paused at ");
    EXPECT_EQ(timecode_after(paused, "music at "), paused_ms) << paused;
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const std::string resumed = tool.press("p", "# tool: playing from ");
    EXPECT_EQ(timecode_after(resumed, "from "), paused_ms) << resumed;
    EXPECT_EQ(timecode_after(resumed, "music at "), paused_ms) << resumed;
    tool.press("p", "# tool: paused at ");

    // Seeks while paused land on their targets and stay paused, the music
    // with them (within its 5 s); they go on from the present or from the
    // nearest snapshot that live play and replays passed (at the switches,
    // 0:00 and every 4 s). Key, seek line, landing.
    const char* steps[][3] = {
        {"Home", " at 00:00:00,000, 0 steps", "00:00:00,000, scene -"},
        {"shift+Right", "from a snapshot at 00:00:00,016, 59 steps",
         "00:00:01,000, scene 6 endscene"},
        {"Next", "from a snapshot at 00:00:01,516, 0 steps", "00:00:01,516, scene 0 "},
        {"comma", "", "00:00:01,500, scene "},
        {"period", "", "00:00:01,516, scene 0 "},
        {"Prior", "from a snapshot at 00:00:00,016, 0 steps", "00:00:00,016, scene 6 endscene"},
        // From the snapshot live play kept at 0:04, or when it fell off the
        // steps on a loaded machine, from the one at the switch before.
        {"Right", "from a snapshot at 00:00:0", "00:00:05,016, scene 6 endscene"},
        {"Prior", "from a snapshot at 00:00:03,016, 0 steps", "00:00:03,016, scene 6 endscene"},
        {"Prior", "from a snapshot at 00:00:01,516, 0 steps",
         "00:00:01,516, scene 0 "}, // within a second: the scene before
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step[0]);
        const std::string seek = tool.press(step[0], "# tool: seek to ");
        EXPECT_NE(seek.find(step[1]), std::string::npos) << seek;
        const std::string landed = tool.wait_line("# tool: landed at ");
        EXPECT_NE(landed.find(step[2]), std::string::npos) << landed;
        const int landed_ms = timecode_after(landed, "landed at ");
        if (landed_ms < 4900) {
            EXPECT_EQ(timecode_after(landed, "music at "), landed_ms) << landed;
        }
    }

    // The loop plays the solar flare scene and goes back to its switch
    // instead of passing the next one.
    const std::string loop = tool.press("l", "# tool: loop on");
    EXPECT_NE(loop.find("from 00:00:01,500 to 00:00:03,000"), std::string::npos) << loop;
    tool.press("p", "# tool: playing from ");
    EXPECT_NE(tool.wait_line("# tool: landed at ").find("00:00:01,516, scene 0 "),
              std::string::npos);
    EXPECT_TRUE(tool.quit());
    EXPECT_EQ(tool.errors().find("ERROR"), std::string::npos) << tool.errors();
}

TEST(ProgramTest, CapturesAVideoWithTheSoundtrackToTheMusicsEndWithoutMarkers) {
    sShow show = make_show("show_video", nullptr);
    sCommandResult result = run_program(show, "--capture ../out/show.mp4 --fps 2");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    // Without a marker script the show ends with the music; the tone lasts
    // 5 s: frames at 0, 500, ..., 5000 ms.
    const std::string video = show.root + "/out/show.mp4";
    ASSERT_TRUE(exists(video));
    EXPECT_FALSE(exists(video + ".partial"));
    sCommandResult probe = run_command(
        "ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames,width "
        "-of csv=p=0 " +
        video);
    EXPECT_NE(probe.out.find("video,1024,11"), std::string::npos) << probe.out;
    EXPECT_NE(probe.out.find("audio"), std::string::npos) << probe.out;
}

TEST(ProgramTest, AVideoOfAShowThatOutlastsItsMusicGoesOnInSilence) {
    // The 5 s tone ends ten seconds before the show: frames at 0, 100, ...,
    // 15000 ms, and sound for all of them.
    sShow show = make_show("show_long", "s07 0:0:0,0\nquit 0:0:15,0\n");
    sCommandResult result = run_program(show, "--capture ../long.mp4 --fps 10");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    sCommandResult probe = run_command(
        "ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames,duration "
        "-of csv=p=0 " +
        show.root + "/long.mp4");
    EXPECT_NE(probe.out.find("video,15.1"), std::string::npos) << probe.out;
    EXPECT_NE(probe.out.find(",151\n"), std::string::npos) << probe.out;
    EXPECT_NE(probe.out.find("audio,15."), std::string::npos) << probe.out;
}

TEST(ProgramTest, StoppedOrEmptyCaptureFailsAndLeavesNothingUnderTheFinalName) {
    sShow show = make_show("show_stopped", "s07 0:0:0,0\nquit 0:10:0,0\n");
    // SDL turns a termination request into the window's quit event: the way
    // out that closing the window, Escape and q take as well. It comes once
    // the capture has written frames. A program still running a minute after
    // the request is a fault: its threads' stacks go to the error stream and
    // it is killed, so that the test fails instead of running for the ten
    // minutes of its show. Each run has an error stream of its own ($err),
    // gone before the run starts: an earlier run's lines must not pass for
    // this one's progress.
    auto interrupted = [&](const std::string& path, const std::string& written) {
        return run_command(
            "cd " + show.run_dir + " && err=" + path +
            ".err && rm -f $err && { " VANTREL_PROGRAM_PATH " --letterbox --capture " + path +
            " --fps 10 2>$err & pid=$!; for i in $(seq 1200); do " + written +
            " && break; sleep 0.1; done; kill -TERM $pid; for i in $(seq 600); do "
            "kill -0 $pid 2>/dev/null || break; sleep 0.1; done; if kill -0 $pid 2>/dev/null; "
            "then echo \"still running a minute after SIGTERM\" >>$err; grep -H '' "
            "/proc/$pid/task/*/comm /proc/$pid/task/*/wchan >>$err 2>&1; ! command -v gdb "
            ">/dev/null || timeout 60 gdb -p $pid -batch -ex 'thread apply all bt' >>$err "
            "2>&1; kill -KILL $pid; fi; "
            "wait $pid; s=$?; cat $err >&2; exit $s; }");
    };
    sCommandResult result =
        interrupted("../frames", "[ -e ../frames.partial/" + cFrameSink_png::frame_name(3) + " ]");
    EXPECT_EQ(result.exit_code, 1) << result.err;
    EXPECT_NE(result.err.find(", before its end at 00:10:00,000; "), std::string::npos)
        << result.err;
    EXPECT_FALSE(exists(show.root + "/frames"));
    EXPECT_TRUE(exists(show.root + "/frames.partial/" + cFrameSink_png::frame_name(3)));

    result = interrupted("../show.mp4", "grep -q 'frame [1-9][0-9]*/' $err");
    EXPECT_NE(result.err.find("kept in \"../show.mp4.partial\"\n"), std::string::npos)
        << result.err;
    EXPECT_FALSE(exists(show.root + "/show.mp4"));
    EXPECT_EQ(run_command("ffprobe -v error " + show.root + "/show.mp4.partial").exit_code, 0)
        << "the partial video plays";

    // A range after the show's end holds no frame: an error, and no folder
    // (the partial frames of the earlier run are not taken for this one's).
    result = run_program(show, "--letterbox --capture ../frames --fps 10 --from 0:11:0,0");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find("## ERROR: capture: no frame of the show lies between --from and "
                              "--to (the show ends at 00:10:00,000); 0 frames written, nothing "
                              "kept\n"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(exists(show.root + "/frames"));
    EXPECT_FALSE(exists(show.root + "/frames.partial"));
}

TEST(ProgramTest, TheInstalledProgramPlaysFromAnyFolderAndAloneNamesEveryPlaceItTried) {
    // Installed elsewhere than the build was configured for: the program
    // finds its tree from its own folder, started from a folder beside none.
    const std::string prefix = make_temp_dir("installed");
    sCommandResult result =
        run_command(VANTREL_CMAKE " --install " VANTREL_BINARY_DIR " --prefix " + prefix);
    ASSERT_EQ(result.exit_code, 0) << result.out << result.err;
    const std::string anywhere = make_temp_dir("anywhere");
    result = run_command("cd " + anywhere + " && " + prefix +
                         "/bin/vantrel --letterbox --fps 2 --from 1000 --to 2000 --capture f");
    ASSERT_EQ(result.exit_code, 0) << result.err.substr(0, 2000);
    EXPECT_TRUE(exists(anywhere + "/f/" + cFrameSink_png::frame_name(2)));

    // The program without its tree: one line, every folder tried, status 1.
    if (exists(VANTREL_INSTALLED_TREE "/data"))
        GTEST_SKIP() << "a tree is installed where the build was configured to install it";
    const std::string folder = run_command("cd " + anywhere + " && pwd -P | tr -d '\\n'").out;
    make_temp_dir("anywhere/bin");
    run_command("cp " + prefix + "/bin/vantrel " + anywhere + "/bin/");
    result = run_command("cd " + anywhere + " && bin/vantrel --letterbox");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "## ERROR: the assets (data/music/tonvik7.mp3, "
                          "src/shaders/blurtex.vert) are in none of these folders: " +
                              folder.substr(0, folder.rfind('/')) + ", " + folder + ", " + folder +
                              "/share/vantrel, " VANTREL_INSTALLED_TREE "\n");
}

TEST(ProgramTest, TheWholeShowRunsToQuitAndEverySceneShows) {
    // The shipped show, run from a folder beside the source tree's data/ and
    // src/ as from a checkout's build/, at two frames per second: loading,
    // every scene, the "quit" marker.
    const std::string frames = make_temp_dir("whole_show");
    sCommandResult result = run_command(std::string(VANTREL_PROGRAM_PATH) +
                                        " --letterbox --capture " + frames + " --fps 2");
    ASSERT_EQ(result.exit_code, 0) << result.err.substr(0, 2000);
    EXPECT_NE(result.out.find("requested exit\n"), std::string::npos);
    EXPECT_EQ(result.err.find("## ERROR"), std::string::npos) << result.err.substr(0, 2000);

    // One frame from the middle of each scene's stretch of the timeline.
    std::unique_ptr<cEventQueue> markers(
        cEventQueue_factory::loadFile(VANTREL_SOURCE_DIR "/data/script/markers.txt"));
    ASSERT_TRUE(markers);
    std::vector<std::pair<int, int>> stretches; // scene, middle ms
    int scene = -1, since = 0;
    for (std::size_t i = 0; i < markers->size(); ++i) {
        const cEvent* event = markers->at(i);
        if (event->m_type > 12 && event->m_type != 32)
            continue;
        if (scene >= 0)
            stretches.emplace_back(scene, (since + event->m_time) / 2);
        scene = event->m_type;
        since = event->m_time;
    }
    ASSERT_EQ(stretches.size(), 7u);
    std::vector<std::vector<int>> pictures;
    for (const auto& stretch : stretches) {
        const int frame = stretch.second / 500;
        pictures.push_back(mean_colour(frames + "/" + cFrameSink_png::frame_name(frame)));
        const std::vector<int>& mean = pictures.back();
        ASSERT_EQ(mean.size(), 3u) << "scene " << stretch.first;
        EXPECT_GT(mean[0] + mean[1] + mean[2], 15) << "scene " << stretch.first << " is black";
    }
    for (std::size_t a = 0; a < pictures.size(); ++a)
        for (std::size_t b = a + 1; b < pictures.size(); ++b)
            EXPECT_NE(pictures[a], pictures[b]) << "scenes " << stretches[a].first << " and "
                                                << stretches[b].first << " look the same";

    // Frames outside a capture's range are updated, not drawn: one frame of
    // each scene as a shot, and the last frames from --from, come out as the
    // same bytes as those frames of the whole capture.
    std::string shots;
    std::vector<int> shot_frames;
    for (const auto& stretch : stretches) {
        shot_frames.push_back(stretch.second / 500);
        shots += (shots.empty() ? "" : ",") + std::to_string(shot_frames.back() * 500);
    }
    const int from_ms = markers->find_next(EV_QUIT).m_time - 1000;
    const int from_frame = (from_ms * 2 + 999) / 1000;
    for (const bool late : {false, true}) {
        SCOPED_TRACE(late ? "--from" : "--shots");
        const std::string part = make_temp_dir(late ? "show_end" : "show_shots");
        result =
            run_command(std::string(VANTREL_PROGRAM_PATH) + " --letterbox --fps 2 --capture " +
                        part + (late ? " --from " + std::to_string(from_ms) : " --shots " + shots));
        ASSERT_EQ(result.exit_code, 0) << result.err.substr(0, 2000);
        const int count = late ? 2 : 7;
        for (int i = 0; i < count; ++i) {
            const int whole = late ? from_frame + i : shot_frames[std::size_t(i)];
            const std::string written = read_file_bytes(part + "/" + cFrameSink_png::frame_name(i));
            EXPECT_FALSE(written.empty()) << "frame " << whole;
            EXPECT_TRUE(written ==
                        read_file_bytes(frames + "/" + cFrameSink_png::frame_name(whole)))
                << "frame " << whole;
        }
        EXPECT_FALSE(exists(part + "/" + cFrameSink_png::frame_name(count)));
    }
    // The frames from --from are the whole capture's last two.
    EXPECT_FALSE(exists(frames + "/" + cFrameSink_png::frame_name(from_frame + 2)));
}

namespace {
// The pixels of a PNG of the given size, rgb, top row first; empty when it
// is unreadable or of another size.
std::vector<unsigned char> pixels_of(const std::string& path, int width = 1024, int height = 768) {
    static bool ready = (ilInit(), ilOriginFunc(IL_ORIGIN_UPPER_LEFT), ilEnable(IL_ORIGIN_SET));
    (void)ready;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<unsigned char> pixels;
    if (ilLoadImage(path.c_str()) && ilGetInteger(IL_IMAGE_WIDTH) == width &&
        ilGetInteger(IL_IMAGE_HEIGHT) == height && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE))
        pixels.assign(ilGetData(), ilGetData() + std::size_t(width) * std::size_t(height) * 3);
    ilDeleteImages(1, &image);
    return pixels;
}

// Pixels of the rows first..end-1 (of width pixels) where a channel of a and
// b differs by more than by.
int pixels_differing(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                     int first, int end, int by, std::size_t width = 1024) {
    int count = 0;
    for (std::size_t i = std::size_t(first) * width * 3; i < std::size_t(end) * width * 3; i += 3)
        for (std::size_t c = i; c < i + 3 && c < a.size() && c < b.size(); ++c)
            if (std::abs(int(a[c]) - int(b[c])) > by) {
                ++count;
                break;
            }
    return count;
}

// The root mean square of a sound file's samples (mono, 44.1 kHz, 16 bits)
// from second `from` to second `to`.
double loudness(const std::string& path, double from, double to) {
    const std::string raw = path + ".raw";
    run_command("ffmpeg -nostdin -loglevel error -y -i " + path + " -vn -ac 1 -ar 44100 -f s16le " +
                raw);
    const std::string bytes = read_file_bytes(raw);
    double sum = 0.0;
    const std::size_t first = std::size_t(from * 44100), end = std::size_t(to * 44100);
    for (std::size_t i = first; i < end && 2 * i + 1 < bytes.size(); ++i) {
        const double sample = std::int16_t(std::uint16_t(std::uint8_t(bytes[2 * i])) |
                                           std::uint16_t(std::uint8_t(bytes[2 * i + 1])) << 8);
        sum += sample * sample;
    }
    return std::sqrt(sum / double(end - first));
}
} // namespace

TEST(ProgramTest, ACaptureRangeStartsItsSoundAtFromAndEndsWithTheFrameAtTo) {
    // Music that swells from silence: its loudness tells the time.
    sShow show = make_show("show_range", "s06 0:0:0,0\nquit 0:0:4,0\n");
    const std::string music = show.root + "/data/music/tonvik7.mp3";
    ASSERT_EQ(run_command("ffmpeg -nostdin -loglevel error -y -f lavfi -i "
                          "'aevalsrc=0.9*t/5*sin(2*PI*440*t):s=44100:d=5' -ac 2 -b:a 128k " +
                          music)
                  .exit_code,
              0);
    // Frames at 2000, 2100, ..., 2500 ms: the one at --to is the last. On a
    // terminal the progress is one line that is rewritten.
    const std::string range = " --letterbox --fps 10 --from 0:0:2,0 --to 2500 --capture ../";
    sCommandResult frames = run_command("cd " + show.run_dir + " && timeout 120 script -qec '" +
                                        VANTREL_PROGRAM_PATH + range + "frames' /dev/null");
    ASSERT_EQ(frames.exit_code, 0) << frames.out;
    EXPECT_TRUE(exists(show.root + "/frames/" + cFrameSink_png::frame_name(5)));
    EXPECT_FALSE(exists(show.root + "/frames/" + cFrameSink_png::frame_name(6)));
    EXPECT_NE(frames.out.find("\r# capture: 100.0%, frame 6/6, 00:00:02,500"), std::string::npos)
        << frames.out;
    EXPECT_NE(frames.out.find("\033[K"), std::string::npos);

    // The same range as a video; in a log the progress comes as whole lines.
    sCommandResult video = run_program(show, range + "clip.mp4", "timeout 120");
    ASSERT_EQ(video.exit_code, 0) << video.err;
    EXPECT_EQ(video.err.find('\r'), std::string::npos) << video.err;
    EXPECT_NE(video.err.find("\n# capture: 100.0%, frame 6/6, 00:00:02,500"), std::string::npos)
        << video.err;
    // The header names the renderer and what the show makes of it.
    EXPECT_NE(video.err.find("\n# capture: renderer llvmpipe"), std::string::npos) << video.err;
    const std::string clip = show.root + "/clip.mp4";
    sCommandResult probe = run_command("ffprobe -v error -count_frames -select_streams v "
                                       "-show_entries stream=nb_read_frames -of csv=p=0 " +
                                       clip);
    EXPECT_EQ(probe.out, "6\n");

    // Its first frame is the PNG capture's first frame, within encoding error.
    run_command("ffmpeg -nostdin -loglevel error -y -i " + clip + " -frames:v 1 " + clip + ".png");
    const std::vector<unsigned char> png =
        pixels_of(show.root + "/frames/" + cFrameSink_png::frame_name(0));
    const std::vector<unsigned char> first = pixels_of(clip + ".png");
    ASSERT_FALSE(png.empty());
    ASSERT_FALSE(first.empty());
    EXPECT_LT(pixels_differing(png, first, 0, 768, 24), 1024 * 768 / 100);

    // Its sound is the music from 2 s on.
    const double heard = loudness(clip, 0.1, 0.5), played = loudness(music, 2.1, 2.5);
    EXPECT_GT(played, 5000.0);
    EXPECT_NEAR(heard / played, 1.0, 0.15) << heard << " " << played;
}

TEST(ProgramTest, AnUnattendedCaptureAnswersTheQuestionWithLetterboxOnTheErrorStream) {
    sShow show = make_show("show_unasked", "s06 0:0:0,0\nquit 0:0:3,0\n");
    sCommandResult result =
        run_program(show, "--capture ../frames --fps 10 --from 2000 --to 2000", "timeout 120");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.err.find("widescreen pleassure?: Stretch to widescreen? [No]\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.out.find("widescreen"), std::string::npos);
    // Black bars above and below the picture, and the picture between them.
    const std::vector<unsigned char> frame =
        pixels_of(show.root + "/frames/" + cFrameSink_png::frame_name(0));
    ASSERT_FALSE(frame.empty());
    const std::vector<unsigned char> black(frame.size(), 0);
    EXPECT_EQ(pixels_differing(frame, black, 0, 60, 0), 0);
    EXPECT_EQ(pixels_differing(frame, black, 708, 768, 0), 0);
    EXPECT_GT(pixels_differing(frame, black, 70, 700, 4), 1024 * 630 / 2);
}

TEST(ProgramTest, ToolModeReloadsWhatIsSavedAndItsStillsHoldOnlyThePicture) {
    sShow show = make_show("tool_reload", "s06 0:0:0,001\ns00 0:0:1,500\nquit 0:0:9,000\n");
    // Shader programs of its own, to be edited while it runs, and the
    // soundtrack's MIDI notes.
    run_command("rm " + show.root + "/src/shaders && cp -r " VANTREL_SOURCE_DIR "/src/shaders " +
                show.root + "/src && cp " VANTREL_SOURCE_DIR "/data/music/tonvik7.mid " +
                show.root + "/data/music/");
    // A kept value of the solar flare scene, and a line that cannot be read.
    write_temp_file("tool_reload/data/script/tweaks.txt", "0 gamma = 2.5\n0 gamma 3\n");
    cToolSession tool(show.run_dir);
    tool.press("p", "# tool: paused at ");
    tool.press("Home", "# tool: landed at 00:00:00,000");
    tool.press("shift+Right", "# tool: landed at 00:00:01,000");
    EXPECT_NE(tool.press("shift+Right", "# tool: landed at ").find("00:00:02,000, scene 0 "),
              std::string::npos);
    // The scene took its kept value when it was entered (Space prints them).
    EXPECT_NE(tool.errors().find("tweaks.txt:2: no '=' between the variable and its value\n"),
              std::string::npos);
    EXPECT_EQ(tool.press("space", "gamma "), "gamma 2.5");

    // F12: the still is the picture without the text line at its top (whose
    // dark band covers some 560 x 30 pixels) and without the panel (Tab).
    // Paused frames draw the same state again, so both stills are the same.
    auto still = [&] {
        const std::string line = tool.press("F12", "# tool: still ");
        return pixels_of(line.substr(line.find("still ") + 6));
    };
    const std::vector<unsigned char> plain = still();
    tool.key("Tab");
    const std::vector<unsigned char> shot = still();
    const std::string screen = show.root + "/screen.png";
    EXPECT_TRUE(tool.grab(screen));
    tool.key("Tab");
    const std::vector<unsigned char> shown = pixels_of(screen);
    ASSERT_FALSE(shot.empty());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(pixels_differing(shot, plain, 0, 768, 0), 0);
    EXPECT_GT(pixels_differing(shot, shown, 0, 200, 8), 5000);
    EXPECT_GT(pixels_differing(shot, shown, 400, 768, 8), 500);
    EXPECT_GT(pixels_differing(shot, std::vector<unsigned char>(shot.size(), 0), 384, 768, 8),
              1000);

    // A saved program that does not compile is reloaded by itself and keeps
    // its previous one; R with a changed stage that programs include shows
    // it in the paused picture at once.
    const std::string levels = show.root + "/src/shaders/post_levels.frag";
    const std::string source = read_file_bytes(levels);
    write_temp_file("tool_reload/src/shaders/post_levels.frag", "this does not compile\n");
    tool.wait_line("# tool: programs reloaded, 1 kept their previous program");
    write_temp_file("tool_reload/src/shaders/post_levels.frag", source);
    std::string inverted = read_file_bytes(show.root + "/src/shaders/post_levels.glsl");
    inverted.replace(inverted.find("return ("), 8, "return 1.0 - (");
    write_temp_file("tool_reload/src/shaders/post_levels.glsl", inverted);
    tool.press("r", "# tool: programs reloaded");
    std::this_thread::sleep_for(std::chrono::milliseconds(1000)); // the watch's reload too
    EXPECT_GT(pixels_differing(still(), plain, 0, 768, 8), 100000);

    // A saved marker script moves the switches and keeps the MIDI notes; the
    // show is replayed up to the present, and the loop follows.
    EXPECT_NE(tool.press("l", "# tool: loop on").find("from 00:00:01,500 to 00:00:09,000"),
              std::string::npos);
    write_temp_file("tool_reload/data/script/markers.txt",
                    "s06 0:0:0,001\ns00 0:0:2,500\nquit 0:0:9,000\n");
    const std::string reloaded = tool.wait_line("# tool: marker script reloaded, 3 markers and ");
    EXPECT_GT(std::atoi(reloaded.c_str() + reloaded.find(" and ") + 5), 100) << reloaded;
    EXPECT_NE(tool.wait_line("# tool: landed at ").find("00:00:02,000, scene 6 "),
              std::string::npos);
    tool.wait_line("# tool: loop from 00:00:00,001 to 00:00:02,500");

    // S writes the kept values beside the marker script.
    tool.press("s", "# tool: 1 tweak values written to ");
    EXPECT_EQ(read_file_bytes(show.root + "/data/script/tweaks.txt"), "0 gamma = 2.5\n");
    EXPECT_TRUE(tool.quit());
}

// A size the driver cannot hold stops the program before any frame; a size
// it can is captured off-screen where the display is smaller, the picture
// between bars; and the picture looks the same at every size.
TEST(ProgramTest, SizesKeepTheLookBetweenBarsUpToTheDriversLimit) {
    sShow show = make_show("show_sizes", nullptr);
    run_command("cp " VANTREL_SOURCE_DIR "/data/script/markers.txt " + show.root +
                "/data/script/markers.txt");
    sCommandResult over = run_program(show, "--size 32000x20000 --capture ../over", "timeout 60");
    EXPECT_EQ(over.exit_code, 2) << over.err;
    EXPECT_NE(over.err.find("the largest size it allows is "), std::string::npos) << over.err;
    EXPECT_FALSE(exists(show.root + "/over"));

    // 1200 x 1000 under the 1024 x 768 display: a 1200 x 750 picture with
    // bars of 125 rows above and below.
    sCommandResult tall = run_program(
        show, "--letterbox --size 1200x1000 --capture ../tall --fps 5 --shots 0:0:50,000",
        "timeout 120");
    ASSERT_EQ(tall.exit_code, 0) << tall.err;
    EXPECT_EQ(tall.err.find("## ERROR"), std::string::npos) << tall.err;
    const std::vector<unsigned char> frame =
        pixels_of(show.root + "/tall/" + cFrameSink_png::frame_name(0), 1200, 1000);
    ASSERT_FALSE(frame.empty());
    const std::vector<unsigned char> black(frame.size(), 0);
    EXPECT_EQ(pixels_differing(frame, black, 0, 125, 0, 1200), 0);
    EXPECT_EQ(pixels_differing(frame, black, 875, 1000, 0, 1200), 0);
    EXPECT_GT(pixels_differing(frame, black, 125, 875, 4, 1200), 1200 * 750 / 2);

    // Every scene, scaled to 1024 x 640 and 512 x 320 by area averaging,
    // against the same frame rendered at that size.
    run_command("ln -sfn " VANTREL_PROGRAM_PATH " " + show.run_dir + "/vantrel");
    sCommandResult look =
        run_command("FLOOR=28 " VANTREL_SOURCE_DIR "/scripts/compare_sizes.sh " + show.run_dir);
    EXPECT_EQ(look.exit_code, 0) << look.out << look.err;
    std::cout << look.out;
}
