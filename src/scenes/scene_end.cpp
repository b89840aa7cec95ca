#include "scenes/scene_end.h"

#include "gl_entry.h"
#include "render_fsq.h"

void cSceneEnd::load() {
    m_logo = cTextureManager::instance()->get_texture("vrklogo_full2.jpg", true, GL_CLAMP);
}

void cSceneEnd::draw() {
    // Opaque, whatever blending the scenes before left on.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    render_fsq(m_logo);
    glPopAttrib();
}
