#include "post_hsb.h"

#include "gl_entry.h"
#include "gui/gui_var_list.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_post_hsb.h"

cPostHSB* cPostHSB::s_instance = nullptr;

cPostHSB* cPostHSB::instance() {
    if (!s_instance)
        s_instance = new cPostHSB();
    return s_instance;
}

void cPostHSB::destroy() {
    delete s_instance;
    s_instance = nullptr;
}

cPostHSB::cPostHSB() {
    cShaderManager_GLSL::instance()->add_shader<cShdPostHSB>("hsb_shader");
}

void apply_hsb(Vec3f values, iRenderTarget& input) {
    cProfileScope scope("hsb");
    cPostHSB::instance();
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    float three[3] = {values.x, values.y, values.z};
    cShaderParameter<float* const> hsb(three);
    shaders->set_parameter("hsb_shader", cShdPostHSB::SP_IN_HSB, &hsb);
    shaders->bind("hsb_shader");
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    render_fsq(input);
    glPopAttrib();
    shaders->pop_shader();
}

void apply_hsb_into(iRenderTarget& output, Vec3f values, iRenderTarget& input) {
    output.bind();
    apply_hsb(values, input);
    output.unbind();
}

void add_hsb_vars(cGuiVarList* list, Vec3f* values) {
    list->add_float("hue", &values->x, -180.0f, 180.0f);
    list->add_float("saturation", &values->y, -100.0f, 100.0f);
    list->add_float("brightness", &values->z, -100.0f, 100.0f);
}
