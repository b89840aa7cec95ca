#include "post_levels.h"

#include "gui/gui_var_list.h"
#include "post_pass.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_levels.h"

cPostLevels* cPostLevels::s_instance = nullptr;

cPostLevels* cPostLevels::instance() {
    if (!s_instance)
        s_instance = new cPostLevels();
    return s_instance;
}

void cPostLevels::destroy() {
    delete s_instance;
    s_instance = nullptr;
}

cPostLevels::cPostLevels() {
    cShaderManager_GLSL::instance()->add_shader<cShdLevels>("levels_shader");
}

void apply_levels(iRenderTarget& input, sLevelsValues values) {
    cProfileScope scope("levels");
    cPostLevels::instance();
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    begin_pass();
    shaders->push_shader();
    float five[5] = {values.in_black, values.in_white, values.gamma, values.out_black,
                     values.out_white};
    cShaderParameter<float* const> levels(five);
    shaders->set_parameter("levels_shader", cShdLevels::SP_IN_LEVELS, &levels);
    shaders->bind("levels_shader");
    select_texture_unit(0);
    input.bind_texture();
    const bool texels = begin_texel_sampling(input);
    input.enable_texture();
    draw_target(input);
    end_texel_sampling(input, texels);
    input.unbind_texture();
    input.disable_texture();
    shaders->pop_shader();
    end_pass();
}

void apply_levels_into(iRenderTarget& output, iRenderTarget& input, sLevelsValues values) {
    output.bind();
    apply_levels(input, values);
    output.unbind();
}

void add_levels_vars(cGuiVarList* list, sLevelsValues* values) {
    list->add_float("in black", &values->in_black, 0.0f, 255.0f);
    list->add_float("in white", &values->in_white, 0.0f, 255.0f);
    list->add_float("gamma", &values->gamma, 0.0f, 4.0f);
    list->add_float("out black", &values->out_black, 0.0f, 255.0f);
    list->add_float("out white", &values->out_white, 0.0f, 255.0f);
}
