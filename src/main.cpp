// vantrel: plays the music and renders the show in step with it.
//
// This build runs the timeline without a window yet: it loads the marker
// script and the MIDI sync data, runs the millisecond clock and hands every
// event to the current scene (stand-in scenes that print what they receive)
// until the "quit" marker ends the show.
#include "display_settings.h"
#include "midi_loader.h"
#include "platform/clock_posix.h"
#include "resource_path.h"
#include "scene_dummy.h"
#include "scene_manager.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {
const int kSceneCount = 7;

// Releases the process-wide managers in a fixed order; every end of the
// program goes through exit() and so through here.
void on_exit() {
    cSceneManager::destroy();
    cResourcePath::destroy();
    cDisplaySettings::destroy();
    std::cout << "requested exit" << std::endl;
}

void push_searchpaths() {
    cResourcePath* paths = cResourcePath::instance();
    paths->push_searchpath("../src/shaders");
    paths->push_searchpath("../data");
    paths->push_searchpath("../data/models");
    paths->push_searchpath("../data/music");
    paths->push_searchpath("../data/textures");
}
} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << "usage: vantrel [--help] [--version]\n"
                         "Runs the show from a folder beside data/ (the build folder).\n";
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "vantrel " VANTREL_VERSION "\n";
            return 0;
        }
        std::cerr << "vantrel: unknown option " << argv[i] << " (try --help)\n";
        return 2;
    }

    push_searchpaths();
    std::atexit(on_exit);

    cSceneManager* manager = cSceneManager::instance();
    manager->load();
    for (int i = 0; i < kSceneCount; ++i)
        manager->add_scene(new cSceneDummy(&manager->m_time));
    manager->load_scenes(nullptr);
    cMidiLoader().load(manager->m_eventqueue);
    if (manager->m_eventqueue)
        manager->m_eventqueue->rewind();

    manager->restart_clock();
    for (;;) {
        manager->update();
        // Nothing is drawn yet, so there is no reason to spin the processor.
        platform_sleep_ms(1);
    }
}
