// A show folder beside which the program runs, for the tests that run the
// program itself: run/, its own data/script and data/music, and the source
// tree's models, textures and shader programs.
#pragma once

#include "test_support.h"

#include <string>

struct sShow {
    std::string root;
    std::string run_dir;
};

// A 5 s tone as an MP3 file, made once.
const std::string& test_music();
// The show folder under the scratch folder; markers is its marker script
// (none when null: the show ends with the music).
sShow make_show(const std::string& name, const char* markers);
// The program run in the show's run/ folder; env goes before its command.
sCommandResult run_program(const sShow& show, const std::string& args, const std::string& env = "");
bool exists(const std::string& path);
