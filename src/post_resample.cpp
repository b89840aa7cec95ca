#include "post_resample.h"

#include "gl_entry.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_resample_half.h"

void setup_resample_half() {
    cShaderManager_GLSL::instance()->add_shader<cShdResampleHalf>("half_resample_shader");
}

void resample_half(iRenderTarget& input, iRenderTarget& output) {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    // render_fsq below saves and sets its own quad state, so this pass keeps
    // its depth mask in a local rather than through begin_pass.
    GLint depth_mask = GL_TRUE;
    glGetIntegerv(GL_DEPTH_WRITEMASK, &depth_mask);
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    shaders->push_shader();
    shaders->bind("half_resample_shader");
    output.bind();
    input.bind_texture();
    input.enable_texture();
    render_fsq(input);
    input.disable_texture();
    input.unbind_texture();
    output.unbind();
    shaders->pop_shader();
    glPopAttrib();
    glDepthMask(GLboolean(depth_mask));
}
