// The stand-in scene: grey screen, prints every event it receives.
#pragma once

#include "scene.h"

class cSceneDummy : public cScene {
public:
    using cScene::cScene;
    std::string get_name() override { return "dummy"; }
    void load() override {}
    void enter() override {}
    void leave() override {}
    void draw() override;
    void on_event(cEvent* event) override;
    void update() override {}
};
