#include "scenes/scene_target.h"

#include "gl_entry.h"
#include "render_target.h"

cRTProxy bind_cleared_scene_target(float r, float g, float b) {
    cRTProxy target = cRenderTargetManager::instance()->get_rt(cRenderTargetManager::RTT_FULL);
    target->bind();
    glDepthMask(GL_TRUE);
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return target;
}
