#include "post_color_correction.h"

#include "debug.h"
#include "gl_entry.h"
#include "post_pass.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_correction.h"

cPostColorCorrection::cPostColorCorrection(const std::string& lookup_file) {
    cShaderManager_GLSL::instance()->add_shader<cShdCorrection>("color_correction_shader");
    m_lookup = cTextureManager::instance()->get_texture(lookup_file, false, GL_CLAMP_TO_EDGE);
}

void cPostColorCorrection::apply(iRenderTarget& input) {
    cProfileScope scope("colour correction");
    VT_ASSERT(m_lookup.isValid());
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    shaders->bind("color_correction_shader");
    select_texture_unit(1);
    m_lookup.enable();
    m_lookup.bind();
    render_fsq(input);
    select_texture_unit(1);
    m_lookup.unbind();
    m_lookup.disable();
    select_texture_unit(0);
    glPopAttrib();
    shaders->pop_shader();
}

void cPostColorCorrection::apply_into(iRenderTarget& in_fbo, iRenderTarget& out_fbo) {
    VT_ASSERT(&in_fbo != &out_fbo);
    out_fbo.bind();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    apply(in_fbo);
    out_fbo.unbind();
}
