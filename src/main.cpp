// vantrel: plays the music and renders the show in step with it.
#include "capture/capture.h"
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "gui/gui_painter_gl.h"
#include "options.h"
#include "pass_profiler.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "show_scenes.h"
#include "skarbol.h"
#include "sound_module_sdl.h"
#include "texture_manager.h"
#include "tool/tool_mode.h"
#include "tweaks.h"

#include <SDL.h>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {
// Releases the process-wide managers in a fixed order; every end of the
// program after start-up goes through exit() and so through here.
void on_exit() {
    std::string capture_error;
    const bool capture_ok = cCapture::finish(&capture_error);
    if (!capture_ok)
        std::cerr << "## ERROR: capture: " << capture_error << std::endl;
    cToolMode::finish();
    cSceneManager::destroy();
    cTweaks::destroy();
    cShaderManager_GLSL::destroy();
    cTextureManager::destroy();
    cRenderTargetManager::destroy(); // prints the pool statistics
    cResourcePath::destroy();
    // The last frame may still be drawing on the driver's threads. Mesa's
    // software rasteriser can deadlock when the display closes under a frame
    // in flight (seen under load, at the end of a capture), so the drawing
    // is finished first.
    if (SDL_GL_GetCurrentContext())
        glFinish();
    SDL_Quit();
    cDisplaySettings::destroy();
    std::cout << "requested exit" << std::endl;
    if (!capture_ok) {
        // The run did not produce what was asked for: say so in the status.
        std::cout.flush();
        std::_Exit(1);
    }
}

// The show's assets are looked for beside the working directory, as they
// always were; then beside the program (its build folder in a checkout);
// then in the installed tree beside the program's own folder (bin/../share,
// also when the installed tree was moved), and in the one the build was
// configured for.
bool find_show_assets(std::string* error) {
    std::vector<std::string> starts = {""};
    int path_error = 0;
    const std::string program = platform::executable_path(path_error);
    std::string program_folder;
    if (path_error == 0)
        program_folder = platform::canonical_path(program + "/..", path_error);
    if (!program_folder.empty()) {
        starts.push_back(program_folder);
        starts.push_back(program_folder + "/" VANTREL_INSTALLED_TREE_FROM_BIN "/data");
    }
    starts.push_back(VANTREL_INSTALLED_TREE "/data");
    return cResourcePath::instance()->choose_start_directory(
        starts, {cSoundModule_sdl::kMusicFile, "../src/shaders/blurtex.vert"}, error);
}

} // namespace

int main(int argc, char** argv) {
    platform::keep_freed_memory();
    platform::report_failed_writes();
    sOptions options;
    std::string error;
    if (!parse_options(argc, argv, &options, &error)) {
        std::cerr << "vantrel: " << error << "\n" << usage_text();
        return 2;
    }
    if (options.help) {
        std::cout << usage_text();
        return 0;
    }
    if (options.version) {
        std::cout << "vantrel " VANTREL_VERSION "\n";
        return 0;
    }
    if (!find_show_assets(&error)) {
        std::cerr << "## ERROR: " << error << std::endl;
        return 1;
    }

    cDisplaySettings* settings = cDisplaySettings::instance();
    // A capture renders offscreen in effect: a window, not the full screen.
    settings->m_fullscreen = !options.windowed && !options.capturing();
    if (options.has_size())
        settings->set_frame_size(options.width, options.height);
    if (options.desktop)
        settings->use_desktop_size();
    settings->m_may_offscreen = options.capturing();
    // A size beyond the driver's limits ends the program here, before a
    // capture creates its destination.
    if (options.has_size() || options.desktop)
        settings->fit_frame();
    if (options.capturing()) {
        if (!cCapture::start(options,
                             cResourcePath::instance()->located(cSoundModule_sdl::kMusicFile),
                             &error)) {
            std::cerr << "## ERROR: capture: " << error << std::endl;
            return 1;
        }
        cSceneManager::instance()->set_clock(cCapture::instance()->clock());
        cSceneManager::instance()->m_music.set_output_enabled(false);
        if (options.profile)
            cPassProfiler::enable(platform::wall_seconds, [] { glFinish(); });
    }

    // Nobody answers boxes during a capture: the question and the missing
    // extension boxes go to the error stream with their default answers.
    platform::set_unattended(options.capturing());
    if (options.tool) {
        cToolMode* tool = cToolMode::start();
        cSceneManager::instance()->set_clock(tool->clock());
        if (options.has_at)
            tool->start_at(options.at_ms);
    }

    bool widescreen = options.screen == sOptions::WIDESCREEN;
    if (options.screen == sOptions::ASK && !options.tool)
        widescreen = platform::message_box("Stretch to widescreen?", "widescreen pleassure?",
                                           platform::MESSAGE_YES_NO);
    if (widescreen)
        settings->set_widescreen();

    settings->init_sdl();
    // A capture stopped by an interrupt keeps its frames; a second one ends
    // the waits for an encoder that takes none.
    if (options.capturing())
        platform::count_termination_requests();
    glClearColor(0.15f, 0.15f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    settings->swap_buffers();
    init_gl();
    init_images();
    push_show_searchpaths();
    cShaderManager_GLSL::instance()->init();
    static cGuiPainter_GL gui_painter;
    set_gui_painter(&gui_painter);
    report_gl_error("SDL_main");
    report_il_error();
    std::atexit(on_exit);

    cSkarbol engine;
    engine.set_hooks(cToolMode::instance()); // none without --tool
    engine.init();
    if (cCapture* capture = cCapture::instance()) {
        // The capture ends where the show does: at the "quit" marker, or
        // without one with the music.
        cEventQueue* queue = cSceneManager::instance()->m_eventqueue;
        const cEvent quit = queue ? queue->find_next(EV_QUIT) : cEvent(EV_NONE, -1);
        capture->set_end_ms(
            quit.m_type == EV_QUIT ? quit.m_time : cSceneManager::instance()->m_music.length_ms());
    }
    engine.run();
}
