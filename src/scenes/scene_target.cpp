#include "scenes/scene_target.h"

#include "gl_entry.h"
#include "profile_scope.h"
#include "render_target.h"

cRTProxy bind_cleared_scene_target(float r, float g, float b) {
    cRTProxy target = cRenderTargetManager::instance()->get_rt(cRenderTargetManager::RTT_FULL);
    cProfileScope scope("clear");
    target->bind();
    glDepthMask(GL_TRUE);
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return target;
}

void reset_scene_gl_state() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glEnable(GL_DEPTH_TEST);
}
