#include "scenes/scene_end.h"

#include "render_fsq.h"

void cSceneEnd::load() {
    m_logo = cTextureManager::instance()->get_texture("vrklogo_full2.jpg", true, GL_CLAMP);
}

void cSceneEnd::draw() {
    render_fsq(m_logo);
}
