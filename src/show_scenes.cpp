#include "show_scenes.h"

#include "post_glow.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "scenes/scene_attractor.h"
#include "scenes/scene_credits.h"
#include "scenes/scene_credits_sol.h"
#include "scenes/scene_end.h"
#include "scenes/scene_scrub.h"
#include "scenes/scene_solar_flare.h"
#include "scenes/scene_sprutte.h"

void push_show_searchpaths() {
    cResourcePath* paths = cResourcePath::instance();
    paths->push_searchpath("../src/shaders");
    paths->push_searchpath("../data");
    paths->push_searchpath("../data/models");
    paths->push_searchpath("../data/music");
    paths->push_searchpath("../data/textures");
}

void add_show_scenes(cSceneManager* manager) {
    // The order fixes the scene numbers that the marker script's s00 to s06
    // switch to.
    const sTimeBlock* time = &manager->m_time;
    manager->add_scene(new cSceneSolarFlare(time));
    manager->add_scene(new cSceneSprutte(time));
    manager->add_scene(new cSceneCreditsSol(time));
    manager->add_scene(new cSceneAttractor(time));
    manager->add_scene(new cSceneScrub(time));
    manager->add_scene(new cSceneCredits(time));
    manager->add_scene(new cSceneEnd(time));
}

void reset_show_scene_state() {
    cSceneSolarFlare::reset_first_draw();
    cSceneSprutte::reset_shared_state();
    cSceneCreditsSol::reset_shared_state();
    cSceneAttractor::reset_shared_state();
    cSceneScrub::reset_travel();
    cSceneCredits::reset_shared_state();
    cPostGlow::instance()->m_settings = sGlowSettings();
}
