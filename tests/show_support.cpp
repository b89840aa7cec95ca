#include "show_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

sCommandResult run_program(const sShow& show, const std::string& args, const std::string& env) {
    return run_command("cd " + show.run_dir + " && " + env + " " VANTREL_PROGRAM_PATH " " + args);
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}
