#include "post_glow.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "gui/gui_var_list.h"
#include "post_levels.h"
#include "post_pass.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_blurtex.h"
#include "shaders/shd_post_spilladd.h"

cPostGlow* cPostGlow::s_instance = nullptr;

cPostGlow* cPostGlow::instance() {
    if (!s_instance)
        s_instance = new cPostGlow();
    return s_instance;
}

void cPostGlow::destroy() {
    delete s_instance;
    s_instance = nullptr;
}

cPostGlow::cPostGlow() {
    setup_blur();
    cShaderManager_GLSL::instance()->add_shader<cShdPostSpillAdd>("spill_shader");
}

void setup_blur() {
    cShaderManager_GLSL::instance()->add_shader<cShdBlurTex>("blur_shader");
}

cRenderTargetManager::eRTSize blur_temp_size(unsigned output_width) {
    const double r = double(cDisplaySettings::instance()->m_render_width) / double(output_width);
    if (r - 1.0 < 0.01)
        return cRenderTargetManager::RTT_FULL;
    if (r - 2.0 < 0.01)
        return cRenderTargetManager::RTT_HALF;
    if (r - 4.0 < 0.01)
        return cRenderTargetManager::RTT_QUATER;
    // Narrower outputs than an eighth are never blurred; they share the
    // smallest temporary.
    return cRenderTargetManager::RTT_EIGHTH;
}

void blur(iRenderTarget& input, iRenderTarget& output) {
    cProfileScope scope("blur");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    begin_pass();
    shaders->push_shader();
    cRTProxy temp = cRenderTargetManager::instance()->get_rt(blur_temp_size(output.get_width()));

    // Vertical pass, input to the temporary target.
    temp->bind();
    select_texture_unit(0);
    input.bind_texture();
    const bool input_texels = begin_texel_sampling(input);
    input.enable_texture();
    float vertical[2] = {0.0f, 1.0f};
    cShaderParameter<float* const> down(vertical);
    shaders->set_parameter("blur_shader", cShdBlurTex::SP_SAMPLEDIR, &down);
    shaders->bind("blur_shader");
    draw_target(input);
    temp->unbind();
    end_texel_sampling(input, input_texels);
    input.disable_texture();
    input.unbind_texture();

    // Horizontal pass, temporary target to the output.
    output.bind();
    temp->bind_texture();
    const bool temp_texels = begin_texel_sampling(*temp);
    temp->enable_texture();
    float horizontal[2] = {1.0f, 0.0f};
    cShaderParameter<float* const> across(horizontal);
    shaders->set_parameter("blur_shader", cShdBlurTex::SP_SAMPLEDIR, &across);
    shaders->unbind();
    shaders->bind("blur_shader");
    draw_target(*temp);
    output.unbind();
    end_texel_sampling(*temp, temp_texels);
    temp->disable_texture();
    temp->unbind_texture();

    shaders->pop_shader();
    end_pass();
}

void spill_add(iRenderTarget& glow_target, iRenderTarget& base) {
    cProfileScope scope("spill-add");
    cPostGlow::instance();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    select_texture_unit(0);
    base.bind_texture();
    const bool base_texels = begin_texel_sampling(base);
    base.enable_texture();
    select_texture_unit(1);
    glow_target.bind_texture();
    // A glow smaller than the base is stretched over it: linear filtering.
    const bool glow_texels = begin_texel_sampling(glow_target);
    glow_target.enable_texture();

    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->bind("spill_shader");
    render_fsq_dual(base, glow_target);
    shaders->pop_shader();

    select_texture_unit(1);
    end_texel_sampling(glow_target, glow_texels);
    glow_target.unbind_texture();
    glow_target.disable_texture();
    select_texture_unit(0);
    end_texel_sampling(base, base_texels);
    base.unbind_texture();
    base.disable_texture();
    glPopAttrib();
}

void spill_add_into(iRenderTarget& output, iRenderTarget& glow_target, iRenderTarget& base) {
    output.bind();
    spill_add(glow_target, base);
    output.unbind();
}

void glow(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& work,
          cRenderTargetManager::eRTSize s) {
    glow_bright_pass(settings, source, work);
    // The gain lifts the blurred light before it spills over the picture.
    cRTProxy lifted = cRenderTargetManager::instance()->get_rt(s);
    sLevelsValues gain;
    gain.in_white = settings.gain;
    apply_levels_into(*lifted, work, gain);
    spill_add(*lifted, source);
}

void glow_bright_pass(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& work) {
    cPostGlow::instance();
    // Bright pass: only what is above the threshold survives.
    sLevelsValues bright;
    bright.in_black = settings.threshold;
    apply_levels_into(work, source, bright);
    for (int i = 0; i < 3; ++i)
        blur(work, work);
}

void glow_into(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& output,
               cRenderTargetManager::eRTSize s, eGlowWindow window) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy work = cRenderTargetManager::instance()->get_rt(s);
    if (window == GLOW_WINDOW_COMPOSITE)
        glow(settings, source, *work, s);
    else
        glow_bright_pass(settings, source, *work);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    spill_add_into(output, *work, source);
    glPopAttrib();
    shaders->pop_shader();
}

void glow_onto(const sGlowSettings& settings, iRenderTarget& source,
               cRenderTargetManager::eRTSize s) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy work = cRenderTargetManager::instance()->get_rt(s);
    glow(settings, source, *work, s);
    shaders->pop_shader();
}

void add_cut_vars(sGlowSettings* settings, cGuiVarList* list) {
    list->add_float("pre-cut", &settings->threshold, 0.0f, 255.0f);
    list->add_float("post-cut", &settings->gain, 0.0f, 255.0f);
}
