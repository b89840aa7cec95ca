// Post-processing costs on the machine's GL driver: one full-size glow chain
// and one levels pass at the render size. Needs a display (the test wrapper
// tests/with_display.sh provides one).
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "post_glow.h"
#include "post_levels.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "shader_manager_glsl.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <sstream>

namespace {
void ensure_context() {
    static bool ready = [] {
        std::ostringstream quiet;
        std::streambuf* saved_err = std::cerr.rdbuf(quiet.rdbuf());
        std::streambuf* saved_out = std::cout.rdbuf(quiet.rdbuf());
        cDisplaySettings* settings = cDisplaySettings::instance();
        settings->m_fullscreen = false;
        settings->init_sdl();
        init_gl();
        init_images();
        cResourcePath::instance()->push_searchpath(VANTREL_SOURCE_DIR "/src/shaders");
        cShaderManager_GLSL::instance()->init();
        cRenderTargetManager::instance();
        std::cerr.rdbuf(saved_err);
        std::cout.rdbuf(saved_out);
        return true;
    }();
    (void)ready;
}
} // namespace

static void BM_GlowOntoFull(benchmark::State& state) {
    ensure_context();
    cRTProxy source = cRenderTargetManager::instance()->get_rt(cRenderTargetManager::RTT_FULL);
    for (auto _ : state) {
        glow_onto(sGlowSettings(), *source, cRenderTargetManager::RTT_FULL);
        glFinish();
    }
}
BENCHMARK(BM_GlowOntoFull)->Unit(benchmark::kMillisecond);

static void BM_LevelsFull(benchmark::State& state) {
    ensure_context();
    cRTProxy in = cRenderTargetManager::instance()->get_rt(cRenderTargetManager::RTT_FULL);
    cRTProxy out = cRenderTargetManager::instance()->get_rt(cRenderTargetManager::RTT_FULL);
    for (auto _ : state) {
        apply_levels_into(*out, *in, sLevelsValues());
        glFinish();
    }
}
BENCHMARK(BM_LevelsFull)->Unit(benchmark::kMillisecond);
