#include "post_resample.h"

#include "gl_entry.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_resample_half.h"

void setup_resample_half() {
    cShaderManager_GLSL::instance()->add_shader<cShdResampleHalf>("half_resample_shader");
}

void resample_half(iRenderTarget& input, iRenderTarget& output) {
    cProfileScope scope("resample");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    // render_fsq below saves and sets its own quad state, so this pass keeps
    // its depth mask in a local rather than through begin_pass.
    GLint depth_mask = GL_TRUE;
    glGetIntegerv(GL_DEPTH_WRITEMASK, &depth_mask);
    // The quad's white colour comes from render_fsq, which saves and
    // restores the current colour itself: Mesa does not restore a colour
    // saved by an outer glPushAttrib once a nested one changed it.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDepthMask(GL_FALSE);
    shaders->push_shader();
    shaders->bind("half_resample_shader");
    output.bind();
    input.bind_texture();
    // The taps sit on the centres of the input's texels (see the shader).
    const bool texels = begin_texel_sampling(input, 2);
    input.enable_texture();
    render_fsq(input);
    end_texel_sampling(input, texels);
    input.disable_texture();
    input.unbind_texture();
    output.unbind();
    shaders->pop_shader();
    glPopAttrib();
    glDepthMask(GLboolean(depth_mask));
}
