#include "post_glow.h"

#include "debug.h"
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
#include "shaders/shd_glow_blur.h"
#include "shaders/shd_levels.h"
#include "shaders/shd_post_final.h"
#include "shaders/shd_post_spilladd.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->add_shader<cShdPostSpillAdd>("spill_shader");
    shaders->add_shader<cShdPostSpillLevels>("spill_levels_shader");
    shaders->add_shader<cShdPostSpillHsbLevels>("spill_hsb_levels_shader");
    shaders->add_shader<cShdBrightHalf>("bright_half_shader");
}

void setup_blur() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->add_shader<cShdBlurTex>("blur_shader");
    shaders->add_shader<cShdGlowBlur>("glow_blur_shader");
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

namespace {
// The full-size glow is three Gaussian blurs in a row (sigma 2 pixels,
// variance 12 pixels^2 in all) of the bright pass. It is computed at half
// size: the 2 x 2 mean and the stretch back over the picture blur a little
// themselves, so the half-size Gaussian has a variance of 2.6 texels^2
// (10.4 pixels^2), the value whose glow came closest to the full-size one in
// frames of the show. Its taps reach 6 texels (3.7 sigma) either side.
constexpr double kHalfVariance = 2.6;
constexpr int kReach = kBlurTaps / 2;
static_assert(cShdGlowBlur::kTaps == kBlurTaps, "the blur shader's taps");
// Lines closer to an edge than this see the edge's clamping; the others all
// get the same weights.
constexpr int kEdgeLines = kReach;

// The quad of the pixels [x0, x1) x [y0, y1) of a w x h viewport, with their
// pixel positions as texture coordinates (between glBegin(GL_QUADS) and glEnd).
void draw_pixels(float x0, float y0, float x1, float y1, float w, float h) {
    glTexCoord2f(x0, y0);
    glVertex3f(x0 / w, y0 / h, 0.0f);
    glTexCoord2f(x1, y0);
    glVertex3f(x1 / w, y0 / h, 0.0f);
    glTexCoord2f(x1, y1);
    glVertex3f(x1 / w, y1 / h, 0.0f);
    glTexCoord2f(x0, y1);
    glVertex3f(x0 / w, y1 / h, 0.0f);
}

// Whether the taps of a blur scaled by the picture's size land on texel
// centres: then each fetches its own texel, as at the show's own size.
bool taps_on_texels(float scale) {
    return scale == std::floor(scale);
}

// One direction of the blur, input into output of the same size. The taps
// are pixel_scale() texels apart, so that a larger picture's glow spreads as
// far across it as at 1024 x 640; a line's weights are those of its place on
// that coarser lattice of lines.
void blur_pass(iRenderTarget& input, iRenderTarget& output, bool vertical) {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    const float scale = cDisplaySettings::instance()->pixel_scale();
    output.bind();
    select_texture_unit(0);
    input.bind_texture();
    const bool texels = taps_on_texels(scale) && begin_texel_sampling(input);
    input.enable_texture();
    const float w = float(output.get_width()), h = float(output.get_height());
    float dir[2] = {vertical ? 0.0f : scale, vertical ? scale : 0.0f};
    cShaderParameter<float* const> dir_param(dir);
    shaders->set_parameter("glow_blur_shader", cShdGlowBlur::SP_SAMPLEDIR, &dir_param);
    shaders->bind("glow_blur_shader");
    const int extent = int(vertical ? output.get_height() : output.get_width());
    const int lattice = std::max(1, int(float(extent) / scale + 0.5f));
    auto index_of = [&](int line) {
        return std::min(lattice - 1, int((float(line) + 0.5f) / scale));
    };
    // Lines closer to an edge than kEdgeLines see its clamping; the others
    // all get the same weights, and are drawn as one quad. Each quad brings
    // its weights in texture coordinates 1 onwards: the whole pass is one
    // draw.
    auto inner = [&](int index) { return index >= kEdgeLines && index < lattice - kEdgeLines; };
    glPushAttrib(GL_CURRENT_BIT);
    glBegin(GL_QUADS);
    for (int from = 0; from < extent;) {
        const int index = index_of(from);
        int to = from + 1;
        while (to < extent && (index_of(to) == index || (inner(index) && inner(index_of(to)))))
            ++to;
        std::array<float, 4 * cShdGlowBlur::kWeightSets> weights{};
        const std::array<float, kBlurTaps> taps =
            blur_weights(inner(index) ? kEdgeLines : index, lattice);
        std::copy(taps.begin(), taps.end(), weights.begin());
        for (int set = 0; set < cShdGlowBlur::kWeightSets; ++set)
            ext::glMultiTexCoord4fvARB(GLenum(GL_TEXTURE1_ARB + set),
                                       &weights[std::size_t(4 * set)]);
        if (vertical)
            draw_pixels(0.0f, float(from), w, float(to), w, h);
        else
            draw_pixels(float(from), 0.0f, float(to), h, w, h);
        from = to;
    }
    glEnd();
    glPopAttrib();
    output.unbind();
    end_texel_sampling(input, texels);
    input.disable_texture();
    input.unbind_texture();
}
} // namespace

namespace {
// The glow composite into the bound framebuffer; returns the glow's light
// before the gain.
cRTProxy glow_composite(const sGlowSettings& settings, iRenderTarget& source,
                        cRenderTargetManager::eRTSize s) {
    cRTProxy light = glow_light(settings, source, s);
    // The gain lifts the blurred light before or as it spills over the
    // picture: for a full-size glow in the spill, saving a pass.
    if (s == cRenderTargetManager::RTT_FULL) {
        spill_add(*light, source, settings.gain);
        return light;
    }
    cRTProxy lifted = cRenderTargetManager::instance()->get_rt(s);
    sLevelsValues gain;
    gain.in_white = settings.gain;
    apply_levels_into(*lifted, *light, gain);
    spill_add(*lifted, source);
    return light;
}

// The bright pass of source (the threshold as levels' in black) into the
// output, half the source's size, each pixel the mean of a 2 x 2 block.
void bright_pass_half(float threshold, iRenderTarget& source, iRenderTarget& output) {
    cProfileScope scope("bright pass");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    float five[5] = {threshold, 255.0f, 1.0f, 0.0f, 255.0f};
    cShaderParameter<float* const> levels(five);
    shaders->set_parameter("bright_half_shader", cShdLevels::SP_IN_LEVELS, &levels);
    output.bind();
    begin_pass();
    shaders->push_shader();
    shaders->bind("bright_half_shader");
    select_texture_unit(0);
    source.bind_texture();
    // The taps sit on the centres of the source's texels (see the shader).
    const bool texels = begin_texel_sampling(source, 2);
    source.enable_texture();
    draw_target(source);
    end_texel_sampling(source, texels);
    source.unbind_texture();
    source.disable_texture();
    shaders->pop_shader();
    end_pass();
    output.unbind();
}
} // namespace

std::array<float, kBlurTaps> blur_weights(int index, int extent) {
    // Tap j fetches texel index + j; the light of taps beyond the line's
    // ends is gathered on the end texel's own tap, as clamping would fetch.
    // The weights sum to one: flat areas stay as they are.
    double row[kBlurTaps] = {};
    double all = 0.0;
    for (int k = -kReach; k <= kReach; ++k) {
        const double g = std::exp(-double(k * k) / (2.0 * kHalfVariance));
        const int texel = std::min(std::max(index + k, 0), extent - 1);
        row[texel - index + kReach] += g;
        all += g;
    }
    std::array<float, kBlurTaps> weights{};
    for (int j = 0; j < kBlurTaps; ++j)
        weights[std::size_t(j)] = float(row[j] / all);
    return weights;
}

void blur(iRenderTarget& input, iRenderTarget& output) {
    cProfileScope scope("blur");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    begin_pass();
    shaders->push_shader();
    cRTProxy temp = cRenderTargetManager::instance()->get_rt(blur_temp_size(output.get_width()));

    // Vertical pass, input to the temporary target. The taps are
    // pixel_scale() texels apart: the same blur on a picture of any size.
    const float scale = cDisplaySettings::instance()->pixel_scale();
    temp->bind();
    select_texture_unit(0);
    input.bind_texture();
    const bool input_texels = taps_on_texels(scale) && begin_texel_sampling(input);
    input.enable_texture();
    float vertical[2] = {0.0f, scale};
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
    const bool temp_texels = taps_on_texels(scale) && begin_texel_sampling(*temp);
    temp->enable_texture();
    float horizontal[2] = {scale, 0.0f};
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

void blur_glow(iRenderTarget& input, iRenderTarget& output) {
    cProfileScope scope("blur");
    VT_ASSERT(input.get_width() == output.get_width() && input.get_height() == output.get_height());
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    begin_pass();
    shaders->push_shader();
    cRTProxy temp = cRenderTargetManager::instance()->get_rt(blur_temp_size(output.get_width()));
    blur_pass(input, *temp, true);
    blur_pass(*temp, output, false);
    shaders->pop_shader();
    end_pass();
}

namespace {
// The base on unit 0 and the glow on unit 1, drawn over the bound
// framebuffer by the named shader, blending off.
void draw_glow_over(iRenderTarget& glow_target, iRenderTarget& base, const char* shader) {
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
    shaders->bind(shader);
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
} // namespace

void spill_add(iRenderTarget& glow_target, iRenderTarget& base, float gain) {
    cProfileScope scope("spill-add");
    cPostGlow::instance();
    // The gain's levels ("in white"), as a factor.
    cShaderParameter<float> lift(255.0f / std::max(gain, 0.001f));
    cShaderManager_GLSL::instance()->set_parameter("spill_shader", cShdPostSpillAdd::SP_LIFT,
                                                   &lift);
    draw_glow_over(glow_target, base, "spill_shader");
}

void spill_add_into(iRenderTarget& output, iRenderTarget& glow_target, iRenderTarget& base) {
    output.bind();
    spill_add(glow_target, base);
    output.unbind();
}

cRTProxy glow_light(const sGlowSettings& settings, iRenderTarget& source,
                    cRenderTargetManager::eRTSize s) {
    cPostGlow::instance();
    cRenderTargetManager* pool = cRenderTargetManager::instance();
    // A full-size glow is computed at half size, which costs a quarter of
    // the blur's taps per pixel; its wide, soft light loses nothing that
    // shows. Smaller glows cost little; they keep three blurs of their own
    // size, whose rounding their strong glows (low thresholds, graded
    // afterwards) show.
    if (s == cRenderTargetManager::RTT_FULL) {
        cRTProxy light = pool->get_rt(cRenderTargetManager::RTT_HALF);
        bright_pass_half(settings.threshold, source, *light);
        blur_glow(*light, *light);
        return light;
    }
    cRTProxy light = pool->get_rt(s);
    // Bright pass: only what is above the threshold survives.
    sLevelsValues bright;
    bright.in_black = settings.threshold;
    apply_levels_into(*light, source, bright);
    for (int i = 0; i < 3; ++i)
        blur(*light, *light);
    return light;
}

void glow_into(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& output,
               cRenderTargetManager::eRTSize s) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy light = glow_composite(settings, source, s);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    spill_add_into(output, *light, source);
    glPopAttrib();
    shaders->pop_shader();
}

void glow_final(const sGlowSettings& settings, iRenderTarget& source,
                cRenderTargetManager::eRTSize s, const Vec3f* hsb, sLevelsValues levels) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy light = glow_light(settings, source, s);

    cProfileScope fused(hsb ? "spill-add, hsb and levels" : "spill-add and levels");
    const char* const name = hsb ? "spill_hsb_levels_shader" : "spill_levels_shader";
    cShaderParameter<float> lift(1.0f);
    shaders->set_parameter(name, cShdPostFinal::SP_LIFT, &lift);
    float three[3] = {hsb ? hsb->x : 0.0f, hsb ? hsb->y : 0.0f, hsb ? hsb->z : 0.0f};
    cShaderParameter<float* const> hsb_values(three);
    shaders->set_parameter(name, cShdPostFinal::SP_IN_HSB, &hsb_values);
    float five[5] = {levels.in_black, levels.in_white, levels.gamma, levels.out_black,
                     levels.out_white};
    cShaderParameter<float* const> levels_values(five);
    shaders->set_parameter(name, cShdPostFinal::SP_IN_LEVELS, &levels_values);
    draw_glow_over(*light, source, name);
    shaders->pop_shader();
}

void glow_onto(const sGlowSettings& settings, iRenderTarget& source,
               cRenderTargetManager::eRTSize s) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    glow_composite(settings, source, s);
    shaders->pop_shader();
}

void add_cut_vars(sGlowSettings* settings, cGuiVarList* list) {
    list->add_float("pre-cut", &settings->threshold, 0.0f, 255.0f);
    list->add_float("post-cut", &settings->gain, 0.0f, 255.0f);
}
