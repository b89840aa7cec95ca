// The program as its users run it: headless captures of a small show.
#include "event_queue_factory.h"
#include "frame_sink.h"
#include "test_support.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {
// A show folder beside which the program runs: run/, its own data/script and
// data/music, and the source tree's models, textures and shader programs.
struct sShow {
    std::string root;
    std::string run_dir;
};

const std::string& test_music() {
    static std::string path = [] {
        std::string mp3 = make_temp_dir("music") + "/tone.mp3";
        sCommandResult made = run_command("ffmpeg -nostdin -loglevel error -y -f lavfi -i "
                                          "sine=frequency=440:duration=5 -ac 2 -ar 44100 "
                                          "-b:a 128k " +
                                          mp3);
        EXPECT_EQ(made.exit_code, 0) << made.err;
        return mp3;
    }();
    return path;
}

sShow make_show(const std::string& name, const char* markers) {
    sShow show;
    show.root = make_temp_dir(name);
    show.run_dir = make_temp_dir(name + "/run");
    make_temp_dir(name + "/data");
    make_temp_dir(name + "/data/script");
    make_temp_dir(name + "/data/music");
    if (markers)
        write_temp_file(name + "/data/script/markers.txt", markers);
    run_command("cp " + test_music() + " " + show.root + "/data/music/tonvik7.mp3");
    // The scenes' own assets and shader programs come from the source tree.
    make_temp_dir(name + "/src");
    run_command("ln -sfn " VANTREL_SOURCE_DIR "/src/shaders " + show.root + "/src/shaders");
    run_command("ln -sfn " VANTREL_SOURCE_DIR "/data/models " + show.root + "/data/models");
    run_command("ln -sfn " VANTREL_SOURCE_DIR "/data/textures " + show.root + "/data/textures");
    return show;
}

sCommandResult run_program(const sShow& show, const std::string& args,
                           const std::string& env = "") {
    return run_command("cd " + show.run_dir + " && " + env + " " VANTREL_PROGRAM_PATH " " + args);
}

// The whole text of a file (empty when it cannot be read).
std::string file_text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// The pixels of a PNG file as RGB bytes (empty when unreadable).
std::vector<unsigned char> rgb_bytes(const std::string& path) {
    static bool ready = (ilInit(), true);
    (void)ready;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<unsigned char> bytes;
    if (ilLoadImage(path.c_str())) {
        ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
        const ILubyte* data = ilGetData();
        bytes.assign(data, data + std::size_t(ilGetInteger(IL_IMAGE_WIDTH)) *
                                      std::size_t(ilGetInteger(IL_IMAGE_HEIGHT)) * 3);
    }
    ilDeleteImages(1, &image);
    return bytes;
}

// The centre pixel and the mean colour of a 1024 x 768 PNG frame, r, g, b
// each; empty when it is unreadable or of another size.
struct sFrameColours {
    std::vector<int> centre, mean;
};
sFrameColours frame_colours(const std::string& path) {
    const std::vector<unsigned char> bytes = rgb_bytes(path);
    sFrameColours colours;
    if (bytes.size() != 1024u * 768u * 3u)
        return colours;
    double sum[3] = {0, 0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        sum[i % 3] += bytes[i];
    for (std::size_t c = 0; c < 3; ++c) {
        colours.centre.push_back(bytes[(384u * 1024u + 512u) * 3u + c]);
        colours.mean.push_back(int(sum[c] / (1024.0 * 768.0) + 0.5));
    }
    return colours;
}

// The program in the makers' mode, run in the background and driven by key
// presses sent to its window through the X server, as a person's arrive.
// Each key is held for a moment so that a slow frame still sees it down.
class cToolSession {
public:
    explicit cToolSession(const std::string& run_dir) : m_run_dir(run_dir) {
        sCommandResult started =
            run_command("cd " + run_dir +
                        " && { " VANTREL_PROGRAM_PATH
                        " --tool --windowed --letterbox >tool.out 2>tool.err & echo $! ; }");
        m_pid = std::atoi(started.out.c_str());
        EXPECT_GT(m_pid, 0);
        EXPECT_TRUE(wait_for_output("tool.out", "# fmod starting playback")) << errors();
    }
    ~cToolSession() {
        if (m_pid > 0 && running())
            run_command("kill " + std::to_string(m_pid));
    }

    void key(const std::string& name) {
        run_command("xdotool search --sync --name '^vantrel OpenGL$' windowfocus --sync keydown " +
                    name + " sleep 0.4 keyup " + name);
    }
    // Presses a key until the program answers with a line that contains
    // text (on a loaded machine a short press may fall between two frames).
    std::string press(const std::string& name, const std::string& text) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            key(name);
            const std::string line = wait_line(text, 300, attempt == 2);
            if (!line.empty())
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
    bool wait_for_output(const std::string& file, const std::string& text) {
        for (int i = 0; i < 1200 && running(); ++i) {
            if (file_text(m_run_dir + "/" + file).find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    bool quit() {
        for (int attempt = 0; attempt < 3; ++attempt) {
            key("q");
            if (wait_for_output("tool.out", "requested exit"))
                return true;
        }
        return false;
    }
    bool running() const { return run_command("kill -0 " + std::to_string(m_pid)).exit_code == 0; }
    std::string errors() const { return file_text(m_run_dir + "/tool.err"); }

private:
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

// A small show for the makers' mode: the end scene, the solar flare, the end
// scene again, with program files of its own that a test may edit.
sShow make_tool_show(const std::string& name) {
    sShow show = make_show(name, "s06 0:0:0,001\ns00 0:0:1,500\ns06 0:0:3,000\nquit 0:0:9,000\n");
    run_command("rm " + show.root + "/src/shaders && cp -r " VANTREL_SOURCE_DIR "/src/shaders " +
                show.root + "/src/shaders");
    return show;
}
} // namespace

TEST(ProgramTest, ToolModeKeysPauseSeekPageLoopAndGoHome) {
    sShow show = make_tool_show("tool_keys");
    cToolSession tool(show.run_dir);

    // The timeline stops at its end instead of quitting; a seek back to the
    // start puts the music there too.
    tool.wait_line("# tool: paused at the end, 00:00:09,000");
    tool.press("Home", "# tool: landed at 00:00:00,000");
    EXPECT_NE(tool.press("p", "# tool: playing from ").find("00:00:00,000, music at 00:00:00,000"),
              std::string::npos);

    // Pause holds the timeline and the music, and both go on from there.
    const std::string paused = tool.press("p", "# tool: paused at ");
    const int paused_ms = timecode_after(paused, "paused at ");
    const int music_ms = timecode_after(paused, "music at ");
    EXPECT_EQ(music_ms, paused_ms) << paused;
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    tool.press("space", "-");
    EXPECT_EQ(timecode_after(tool.wait_line(":"), ""), paused_ms);
    const std::string resumed = tool.press("p", "# tool: playing from ");
    EXPECT_EQ(timecode_after(resumed, "from "), paused_ms) << resumed;
    EXPECT_EQ(timecode_after(resumed, "music at "), music_ms) << resumed;

    // Seeks while paused land on their targets and stay paused; forward ones
    // from a replayed present go on from it.
    struct sStep {
        const char* key;
        const char* landing; // "landed at" line
        const char* how;     // in the seek line
    };
    const sStep steps[] = {
        {"p", nullptr, nullptr},
        {"Home", "00:00:00,000, scene -", "replayed from the start, 0 steps"},
        {"shift+Right", "00:00:01,000, scene 6 endscene", "from 00:00:00,000, 59 steps"},
        {"Next", "00:00:01,516, scene 0 ", "from 00:00:01,000, 30 steps"},
        {"Prior", "00:00:00,016, scene 6 endscene", "replayed from the start, 1 steps"},
        {"Right", "00:00:05,016, scene 6 endscene", "from 00:00:00,016, 299 steps"},
        {"shift+Left", "00:00:04,016, scene 6 endscene", "replayed from the start"},
        {"Prior", "00:00:03,016, scene 6 endscene", "replayed from the start"},
        {"Prior", "00:00:01,516, scene 0 ", "replayed from the start"},
    };
    for (const sStep& step : steps) {
        SCOPED_TRACE(step.key);
        if (!step.landing) {
            tool.press(step.key, "# tool: paused at ");
            continue;
        }
        EXPECT_NE(tool.press(step.key, "# tool: seek to ").find(step.how), std::string::npos);
        EXPECT_NE(tool.wait_line("# tool: landed at ").find(step.landing), std::string::npos);
    }

    // The loop plays the solar flare scene and goes back to its switch
    // instead of passing the next one.
    const std::string loop = tool.press("l", "# tool: loop on");
    EXPECT_NE(loop.find("from 00:00:01,500 to 00:00:03,000"), std::string::npos) << loop << "\n"
                                                                                 << tool.errors();
    tool.press("p", "# tool: playing from ");
    EXPECT_NE(tool.wait_line("# tool: landed at ").find("00:00:01,516, scene 0 "),
              std::string::npos);
    tool.press("p", "# tool: paused at ");
    tool.press("l", "# tool: loop off");
    EXPECT_NE(tool.press("Home", "# tool: landed at ").find("00:00:00,000, scene -"),
              std::string::npos);
    EXPECT_TRUE(tool.quit());
    EXPECT_EQ(tool.errors().find("ERROR"), std::string::npos) << tool.errors();
}

TEST(ProgramTest, ToolModeQuitsDuringAReplay) {
    // Two hundred seconds of the attractor before the first switch: Page Down
    // replays them, and q ends the program meanwhile as in any frame.
    sShow show = make_show("tool_quit", "s03 0:0:0,001\ns06 0:3:20,000\nquit 0:3:30,000\n");
    cToolSession tool(show.run_dir);
    tool.press("p", "# tool: paused at ");
    tool.press("Home", "# tool: landed at 00:00:00,000");
    tool.press("Next", "# tool: landed at 00:00:00,016");
    tool.key("Next");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_TRUE(tool.quit());
    EXPECT_EQ(tool.errors().find("# tool: seek to 00:03:20"), std::string::npos) << tool.errors();
}

TEST(ProgramTest, ToolModeSeekPicturesStillsReloadAndDraggedValues) {
    sShow show = make_tool_show("tool_pictures");
    cToolSession tool(show.run_dir);
    auto still = [&] {
        const std::string line = tool.press("F12", "# tool: still ");
        return line.substr(line.find("still ") + 6);
    };
    tool.press("p", "# tool: paused at ");
    tool.press("Home", "# tool: landed at ");
    tool.press("Next", "# tool: landed at "); // 16 ms, the first switch
    // 1516 ms, the solar flare, stepped on from the start
    tool.press("Next", "# tool: landed at ");
    const std::string stepped = still();
    tool.press("Next", "# tool: landed at "); // 3016 ms, then back: a replay from the start
    tool.press("Prior", "# tool: landed at ");
    const std::string replayed = still();
    EXPECT_NE(stepped.find("/shots/00-00-01,516.png"), std::string::npos) << stepped;

    // The seek's picture is the capture's frame of that time at 60 frames
    // per second, without the text line.
    sCommandResult capture =
        run_program(show, "--letterbox --capture ../frames --fps 60 --from 1516 --to 1516");
    ASSERT_EQ(capture.exit_code, 0) << capture.err;
    const std::vector<unsigned char> frame =
        rgb_bytes(show.root + "/frames/" + cFrameSink_png::frame_name(0));
    ASSERT_FALSE(frame.empty());
    EXPECT_TRUE(rgb_bytes(stepped) == frame);
    EXPECT_TRUE(rgb_bytes(replayed) == frame);

    // R with a changed program changes the picture; with a broken one it
    // says why, keeps the program it had and goes on.
    write_temp_file("tool_pictures/src/shaders/post_levels.frag",
                    "void main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n");
    tool.press("r", "# tool: programs reloaded");
    tool.wait_line("# tool: landed at ");
    const std::string changed = still();
    EXPECT_FALSE(rgb_bytes(changed) == frame);
    write_temp_file("tool_pictures/src/shaders/post_levels.frag", "void main() { oops }\n");
    EXPECT_NE(tool.press("r", "post_levels.frag:").find("post_levels.frag"), std::string::npos);
    tool.wait_line("\"levels_shader\" keeps its previous program");
    tool.wait_line("# tool: programs reloaded, 1 kept their previous program");
    tool.wait_line("# tool: landed at ");
    EXPECT_TRUE(rgb_bytes(still()) == rgb_bytes(changed));

    // The panel's first row, the solar flare's "in black" (0 to 255), is
    // dragged from its left end to the middle of its slider: the slider
    // spans 0.25 to 0.9 of the picture's width at 0.67 to 0.695 of its
    // height, which is 640 of the window's 768 rows, centred (letterboxed).
    const int y = 768 - (64 + int(0.6825 * 640));
    tool.key("Tab");
    run_command("xdotool search --sync --name '^vantrel OpenGL$' windowfocus --sync "
                "mousemove --window %1 " +
                std::to_string(int(0.26 * 1024)) + " " + std::to_string(y) +
                " sleep 0.5 mousedown 1 sleep 0.5 mousemove --window %1 " +
                std::to_string(int(0.575 * 1024)) + " " + std::to_string(y) +
                " sleep 0.5 mouseup 1");
    tool.press("space", "-");
    const std::string dragged = tool.wait_line("in black ");
    EXPECT_NE(dragged, "in black 0") << tool.errors();
    // On to the next switch and back: a replay from the start, with new
    // scenes, keeps the dragged value.
    tool.press("Next", "# tool: landed at ");
    EXPECT_NE(tool.press("Prior", "# tool: seek to ").find("replayed from the start"),
              std::string::npos);
    tool.wait_line("# tool: landed at 00:00:01,516");
    tool.press("space", "-");
    EXPECT_EQ(tool.wait_line("in black "), dragged);
    EXPECT_TRUE(tool.quit());
}

TEST(ProgramTest, CapturesTheTimelineFrameByFrameUntilQuit) {
    sShow show = make_show("show_quit", "s07 0:0:1,0\nquit 0:0:3,0\n");
    sCommandResult result = run_program(show, "--letterbox --capture ../frames --fps 10 --profile");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("requested exit\n"), std::string::npos) << result.out;
    // The profile charges each whole frame to the scene that drew it; the
    // frame that takes the quit is cut short and left out.
    EXPECT_NE(result.err.find("# profile: scene \"(none)\": 11 frames"), std::string::npos);
    const std::size_t dummy = result.err.find("# profile: scene \"dummy\": 20 frames");
    ASSERT_NE(dummy, std::string::npos) << result.err;
    EXPECT_NE(result.err.find("# profile:   read-back ", dummy), std::string::npos);
    EXPECT_NE(result.err.find("## ERROR: tried to switch to scene7, but it's not added."),
              std::string::npos);
    EXPECT_EQ(result.err.find("## ERROR: OpenGL"), std::string::npos) << result.err;

    // Start-up order: the music is opened, the scenes load under the load
    // screen (its viewport line), the MIDI file is read after them, then the
    // music starts; the exit handler speaks last.
    auto at = [](const std::string& text, const char* line) {
        std::size_t pos = text.find(line);
        EXPECT_NE(pos, std::string::npos) << line;
        return pos;
    };
    EXPECT_LT(at(result.out, "# fmod loaded stream"), at(result.out, "# fmod starting playback"));
    EXPECT_LT(at(result.out, "# fmod starting playback"), at(result.out, "requested exit"));
    const std::size_t init_gl_viewport = at(result.err, "64 1024 640\n");
    const std::size_t load_screen_viewport = result.err.find("64 1024 640\n", init_gl_viewport + 1);
    EXPECT_NE(load_screen_viewport, std::string::npos);
    EXPECT_LT(load_screen_viewport,
              at(result.err, "Unable to open file '../data/music/tonvik7.mid'"));

    // Frames at 0, 100, ..., 3000 ms; the frame at 3100 ms takes the quit.
    EXPECT_NE(result.err.find("# capture: 31 frames, 00:00:00,000 to 00:00:03,000 at 10 "
                              "frames/s\n"),
              std::string::npos);
    const std::string frames = show.root + "/frames/";
    EXPECT_TRUE(exists(frames + cFrameSink_png::frame_name(30)));
    EXPECT_FALSE(exists(frames + cFrameSink_png::frame_name(31)));
    for (int k = 0; k <= 30; ++k) {
        std::vector<int> pixel = frame_colours(frames + cFrameSink_png::frame_name(k)).centre;
        ASSERT_EQ(pixel.size(), 3u) << k;
        if (k <= 10)
            EXPECT_EQ(pixel[0], 0) << "frame " << k << " before any scene is black";
        else
            EXPECT_NEAR(pixel[0], 128, 1) << "frame " << k << " shows the grey dummy scene";
    }
}

TEST(ProgramTest, CapturesAVideoWithTheSoundtrackToTheMusicsEndWithoutMarkers) {
    sShow show = make_show("show_video", nullptr);
    sCommandResult result = run_program(show, "--capture ../out/show.mp4 --fps 2");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    // Nobody answers a question during a capture: it takes the default.
    EXPECT_NE(result.err.find("widescreen pleassure?: Stretch to widescreen? [No]\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("Error reading file \"../data/script/markers.txt"),
              std::string::npos);
    // Without a marker script the show ends with the music; the tone lasts
    // 5 s: frames at 0, 500, ..., 5000 ms.
    EXPECT_NE(result.err.find("# capture: 11 frames, 00:00:00,000 to 00:00:05,000"),
              std::string::npos);
    const std::string video = show.root + "/out/show.mp4";
    ASSERT_TRUE(exists(video));
    EXPECT_FALSE(exists(video + ".partial"));
    sCommandResult probe = run_command(
        "ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames,width "
        "-of csv=p=0 " +
        video);
    EXPECT_EQ(probe.exit_code, 0);
    EXPECT_NE(probe.out.find("video,1024,11"), std::string::npos) << probe.out;
    EXPECT_NE(probe.out.find("audio"), std::string::npos) << probe.out;
}

TEST(ProgramTest, StoppedOrEmptyCaptureFailsAndLeavesNothingUnderTheFinalName) {
    sShow show = make_show("show_stopped", "s07 0:0:0,0\nquit 0:10:0,0\n");
    // SDL turns a termination request into the window's quit event: the way
    // out that closing the window, Escape and q take as well. It comes once
    // the capture has written frames.
    auto interrupted = [&](const std::string& path, const std::string& written) {
        return run_command("cd " + show.run_dir +
                           " && { " VANTREL_PROGRAM_PATH " --letterbox --capture " + path +
                           " --fps 10 2>../err & pid=$!; for i in $(seq 1200); do " + written +
                           " && break; sleep 0.1; done; kill -TERM $pid; wait $pid; s=$?; "
                           "cat ../err >&2; exit $s; }");
    };
    sCommandResult result =
        interrupted("../frames", "[ -e ../frames.partial/" + cFrameSink_png::frame_name(3) + " ]");
    EXPECT_EQ(result.exit_code, 1) << result.err;
    EXPECT_NE(result.err.find("## ERROR: capture: the capture stopped at 00:00:00,"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(", before its end at 00:10:00,000; "), std::string::npos);
    EXPECT_NE(result.err.find(" frames written, kept in \"../frames.partial\"\n"),
              std::string::npos);
    EXPECT_FALSE(exists(show.root + "/frames"));
    EXPECT_TRUE(exists(show.root + "/frames.partial/" + cFrameSink_png::frame_name(3)));

    result = interrupted("../show.mp4", "grep -q 'frame [1-9][0-9]*/' ../err");
    EXPECT_EQ(result.exit_code, 1) << result.err;
    EXPECT_NE(result.err.find("kept in \"../show.mp4.partial\"\n"), std::string::npos)
        << result.err;
    EXPECT_FALSE(exists(show.root + "/show.mp4"));
    sCommandResult probe = run_command("ffprobe -v error -show_entries stream=codec_type -of "
                                       "csv=p=0 " +
                                       show.root + "/show.mp4.partial");
    EXPECT_EQ(probe.exit_code, 0) << "the partial video plays";
    EXPECT_NE(probe.out.find("video"), std::string::npos);

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

TEST(ProgramTest, CommandLineAndCaptureErrorsStopBeforeAnyWork) {
    sShow show = make_show("show_cli", "quit 0:0:1,0\n");
    EXPECT_EQ(run_program(show, "--bogus").exit_code, 2);
    EXPECT_EQ(run_program(show, "--fps 30").exit_code, 2); // only with --capture
    sCommandResult result = run_program(show, "--capture ../frames --to 0:1:xyz,5");
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_NE(result.err.find("--to"), std::string::npos) << result.err;
    EXPECT_FALSE(exists(show.root + "/frames"));
    result = run_program(show, "--help");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_NE(result.out.find("--capture PATH"), std::string::npos);
    EXPECT_EQ(run_program(show, "--version").exit_code, 0);

    write_temp_file("show_cli/blocker", "a file, not a folder");
    result = run_program(show, "--capture ../blocker/frames");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find("## ERROR: capture: cannot create the folder"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out.find("requested exit"), std::string::npos);
    result = run_program(show, "--capture ../video.mp4", "PATH=/nonexistent");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find("ffmpeg is needed"), std::string::npos) << result.err;
    EXPECT_FALSE(exists(show.root + "/video.mp4"));
    EXPECT_FALSE(exists(show.root + "/video.mp4.partial"));
}

TEST(ProgramTest, TheWholeShowRunsToQuitAndEverySceneShows) {
    // The shipped show, run from the build folder as the run script does, at
    // two frames per second: loading, every scene, the "quit" marker.
    const std::string frames = make_temp_dir("whole_show");
    sCommandResult result = run_command(std::string(VANTREL_PROGRAM_PATH) +
                                        " --letterbox --capture " + frames + " --fps 2");
    ASSERT_EQ(result.exit_code, 0) << result.err.substr(0, 2000);
    EXPECT_NE(result.out.find("requested exit\n"), std::string::npos);
    EXPECT_NE(result.out.find("# rrt-manager: number of tmp-rt allocated: "), std::string::npos);
    EXPECT_NE(result.out.find("# rtt-manager: maximum concurrently allocated RTs: "),
              std::string::npos);
    EXPECT_EQ(result.err.find("## ERROR"), std::string::npos) << result.err.substr(0, 2000);
    EXPECT_EQ(result.out.find("## ERROR"), std::string::npos);

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
        pictures.push_back(frame_colours(frames + "/" + cFrameSink_png::frame_name(frame)).mean);
        const std::vector<int>& mean = pictures.back();
        ASSERT_EQ(mean.size(), 3u) << "scene " << stretch.first;
        EXPECT_GT(mean[0] + mean[1] + mean[2], 15) << "scene " << stretch.first << " is black";
    }
    for (std::size_t a = 0; a < pictures.size(); ++a)
        for (std::size_t b = a + 1; b < pictures.size(); ++b)
            EXPECT_NE(pictures[a], pictures[b]) << "scenes " << stretches[a].first << " and "
                                                << stretches[b].first << " look the same";
}
