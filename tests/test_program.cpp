// The program as its users run it: headless captures of a small show.
#include "event_queue_factory.h"
#include "frame_sink.h"
#include "test_support.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>

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
    run_command("ln -s " VANTREL_SOURCE_DIR "/src/shaders " + show.root + "/src/shaders");
    run_command("ln -s " VANTREL_SOURCE_DIR "/data/models " + show.root + "/data/models");
    run_command("ln -s " VANTREL_SOURCE_DIR "/data/textures " + show.root + "/data/textures");
    return show;
}

sCommandResult run_program(const sShow& show, const std::string& args,
                           const std::string& env = "") {
    return run_command("cd " + show.run_dir + " && " + env + " " VANTREL_PROGRAM_PATH " " + args);
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// The centre pixel of a PNG frame: r, g, b.
std::vector<int> centre_pixel(const std::string& path) {
    static bool ready = (ilInit(), true);
    (void)ready;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<int> rgb;
    if (ilLoadImage(path.c_str())) {
        ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
        const int w = ilGetInteger(IL_IMAGE_WIDTH), h = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        const ILubyte* p = data + (std::size_t(h / 2) * w + w / 2) * 3;
        rgb = {p[0], p[1], p[2], w, h};
    }
    ilDeleteImages(1, &image);
    return rgb;
}

// The mean colour of a PNG frame, r, g, b.
std::vector<int> mean_rgb(const std::string& path) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<int> mean;
    if (ilLoadImage(path.c_str())) {
        ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
        const std::size_t pixels =
            std::size_t(ilGetInteger(IL_IMAGE_WIDTH)) * ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        double sum[3] = {0, 0, 0};
        for (std::size_t i = 0; i < pixels; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += data[i * 3 + c];
        for (double s : sum)
            mean.push_back(int(s / double(pixels) + 0.5));
    }
    ilDeleteImages(1, &image);
    return mean;
}
} // namespace

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
        std::vector<int> pixel = centre_pixel(frames + cFrameSink_png::frame_name(k));
        ASSERT_EQ(pixel.size(), 5u) << k;
        EXPECT_EQ(pixel[3], 1024);
        EXPECT_EQ(pixel[4], 768);
        if (k <= 10)
            EXPECT_EQ(pixel[0], 0) << "frame " << k << " before any scene is black";
        else
            EXPECT_NEAR(pixel[0], 128, 1) << "frame " << k << " shows the grey dummy scene";
    }
}

TEST(ProgramTest, CaptureWithoutMarkerScriptEndsWithTheMusic) {
    sShow show = make_show("show_nomarkers", nullptr);
    sCommandResult result = run_program(show, "--capture ../frames --fps 2");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    // Nobody answers a question during a capture: it takes the default.
    EXPECT_NE(result.err.find("widescreen pleassure?: Stretch to widescreen? [No]\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("Error reading file \"../data/script/markers.txt"),
              std::string::npos);
    // The tone lasts 5 s: frames at 0, 500, ..., 5000 ms.
    EXPECT_NE(result.err.find("# capture: 11 frames, 00:00:00,000 to 00:00:05,000"),
              std::string::npos);
    EXPECT_TRUE(exists(show.root + "/frames/" + cFrameSink_png::frame_name(10)));
    EXPECT_FALSE(exists(show.root + "/frames/" + cFrameSink_png::frame_name(11)));
}

TEST(ProgramTest, CapturesAVideoWithTheSoundtrack) {
    sShow show = make_show("show_video", "s00 0:0:0,0\nquit 0:0:2,0\n");
    sCommandResult result =
        run_program(show, "--letterbox --capture ../out/show.mp4 --fps 10 --from 500 --to 1500");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.err.find("# capture: 11 frames, 00:00:00,500 to 00:00:01,500"),
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

TEST(ProgramTest, UnwritableCaptureIsAnErrorBeforeAnyWork) {
    sShow show = make_show("show_bad_capture", "quit 0:0:1,0\n");
    write_temp_file("show_bad_capture/blocker", "a file, not a folder");
    sCommandResult result = run_program(show, "--capture ../blocker/frames");
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

TEST(ProgramTest, CommandLineErrorsAndInformation) {
    sShow show = make_show("show_cli", "quit 0:0:1,0\n");
    EXPECT_EQ(run_program(show, "--bogus").exit_code, 2);
    EXPECT_EQ(run_program(show, "--fps 30").exit_code, 2); // only with --capture
    // A mistyped time stops the program before anything is opened or written.
    sCommandResult bad_time = run_program(show, "--capture ../frames --to 0:1:xyz,5");
    EXPECT_EQ(bad_time.exit_code, 2);
    EXPECT_NE(bad_time.err.find("--to"), std::string::npos) << bad_time.err;
    EXPECT_FALSE(exists(show.root + "/frames"));
    sCommandResult help = run_program(show, "--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("--capture PATH"), std::string::npos);
    EXPECT_EQ(run_program(show, "--version").exit_code, 0);
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
        std::vector<int> pixel = centre_pixel(frames + "/" + cFrameSink_png::frame_name(frame));
        ASSERT_EQ(pixel.size(), 5u) << "scene " << stretch.first;
        pictures.push_back(mean_rgb(frames + "/" + cFrameSink_png::frame_name(frame)));
        const std::vector<int>& mean = pictures.back();
        EXPECT_GT(mean[0] + mean[1] + mean[2], 15) << "scene " << stretch.first << " is black";
    }
    for (std::size_t a = 0; a < pictures.size(); ++a)
        for (std::size_t b = a + 1; b < pictures.size(); ++b)
            EXPECT_NE(pictures[a], pictures[b]) << "scenes " << stretches[a].first << " and "
                                                << stretches[b].first << " look the same";
}
