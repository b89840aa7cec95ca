#include "post_color_correction.h"

#include "debug.h"
#include "gl_entry.h"
#include "post_pass.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_correction.h"
#include "shaders/shd_post_final.h"

cPostColorCorrection::cPostColorCorrection(const std::string& lookup_file) {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->add_shader<cShdCorrection>("color_correction_shader");
    shaders->add_shader<cShdPostLevelsCorrection>("levels_correction_shader");
    m_lookup = cTextureManager::instance()->get_texture(lookup_file, false, GL_CLAMP_TO_EDGE);
}

void cPostColorCorrection::apply(iRenderTarget& input, const sLevelsValues* levels) {
    cProfileScope scope(levels ? "levels and colour correction" : "colour correction");
    VT_ASSERT(m_lookup.isValid());
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    if (levels) {
        float five[5] = {levels->in_black, levels->in_white, levels->gamma, levels->out_black,
                         levels->out_white};
        cShaderParameter<float* const> values(five);
        shaders->set_parameter("levels_correction_shader", cShdPostFinal::SP_IN_LEVELS, &values);
        shaders->bind("levels_correction_shader");
    } else {
        shaders->bind("color_correction_shader");
    }
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

void cPostColorCorrection::apply_into(iRenderTarget& in_fbo, iRenderTarget& out_fbo,
                                      const sLevelsValues* levels) {
    VT_ASSERT(&in_fbo != &out_fbo);
    out_fbo.bind();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    apply(in_fbo, levels);
    out_fbo.unbind();
}
