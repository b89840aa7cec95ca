// "endscene": the full logo over the whole picture until the show ends.
#pragma once

#include "scene.h"
#include "texture_manager.h"

class cSceneEnd : public cScene {
public:
    using cScene::cScene;

    std::string get_name() override { return "endscene"; }
    // The logo must come out as a rectangle texture (any size that is not
    // a power of two); drawing asserts it.
    void load() override;
    void enter() override {}
    void leave() override {}
    // Straight into the window, the logo over the whole viewport: no
    // target, no post pass.
    void draw() override;
    bool covers_viewport() const override { return true; }
    void on_event(cEvent*) override {}
    void update() override {}

    cTexProxy m_logo;
};
