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
#include "shaders/shd_blur3tex.h"
#include "shaders/shd_blurtex.h"
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
}

void setup_blur() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->add_shader<cShdBlurTex>("blur_shader");
    shaders->add_shader<cShdBlur3Tex>("blur3_shader");
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
// The Gaussian that the glow applies three times in a row: sigma 2 texels,
// 11 taps, the centre's weight first.
const double kGaussian[6] = {0.200565, 0.176998, 0.121649, 0.065114, 0.027144, 0.008812};
constexpr int kReach = 15; // three times the Gaussian's 5
static_assert(cShdBlur3Tex::kTaps == kBlurTaps, "the blur shader's taps");
// Lines closer to an edge than this see the clamping of the blurs; the
// others all get the same weights.
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
    shaders->set_parameter("blur3_shader", cShdBlur3Tex::SP_SAMPLEDIR, &dir_param);
    shaders->bind("blur3_shader");
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
        std::array<float, 4 * cShdBlur3Tex::kWeightSets> weights{};
        const std::array<float, kBlurTaps> taps =
            blur_weights(inner(index) ? kEdgeLines : index, lattice);
        std::copy(taps.begin(), taps.end(), weights.begin());
        for (int set = 0; set < cShdBlur3Tex::kWeightSets; ++set)
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
// The glow composite into the bound framebuffer, with a caller's work target.
void glow_composite(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& work,
                    cRenderTargetManager::eRTSize s) {
    glow_bright_pass(settings, source, work, s);
    // The gain lifts the blurred light before or as it spills over the
    // picture: at full size in the spill, saving a full-size pass.
    if (s == cRenderTargetManager::RTT_FULL) {
        spill_add(work, source, settings.gain);
        return;
    }
    cRTProxy lifted = cRenderTargetManager::instance()->get_rt(s);
    sLevelsValues gain;
    gain.in_white = settings.gain;
    apply_levels_into(*lifted, work, gain);
    spill_add(*lifted, source);
}
} // namespace

std::array<float, kBlurTaps> blur_weights(int index, int extent) {
    // Row index of the three blurs as matrices, each clamping at the line's
    // ends: the light that the output texel gathers from each input texel,
    // on a window of kReach texels either side.
    constexpr int kWindow = 2 * kReach + 1;
    auto clamped = [&](int texel) { return std::min(std::max(texel, 0), extent - 1); };
    double row[kWindow] = {};
    row[kReach] = 1.0;
    for (int blur = 0; blur < 3; ++blur) {
        double next[kWindow] = {};
        for (int at = 0; at < kWindow; ++at) {
            if (row[at] == 0.0)
                continue;
            for (int k = -5; k <= 5; ++k)
                next[clamped(index + at - kReach + k) - index + kReach] +=
                    row[at] * kGaussian[std::abs(k)];
        }
        std::copy(next, next + kWindow, row);
    }
    // Tap j fetches texel index + j; those beyond the ends get nothing, their
    // light gathered on the end texel's own tap. The taps beyond the reach
    // would add less than a 250th; their share goes to the others, so that
    // flat areas stay as they are.
    constexpr int kReachKept = kBlurTaps / 2;
    double all = 0.0, kept = 0.0;
    for (int at = 0; at < kWindow; ++at) {
        all += row[at];
        if (std::abs(at - kReach) <= kReachKept)
            kept += row[at];
    }
    std::array<float, kBlurTaps> weights{};
    for (int j = -kReachKept; j <= kReachKept; ++j)
        weights[std::size_t(j + kReachKept)] = float(row[j + kReach] * all / kept);
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

void blur_three_times(iRenderTarget& input, iRenderTarget& output) {
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

void glow_bright_pass(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& work,
                      cRenderTargetManager::eRTSize s) {
    cPostGlow::instance();
    // Bright pass: only what is above the threshold survives.
    sLevelsValues bright;
    bright.in_black = settings.threshold;
    apply_levels_into(work, source, bright);
    // At full size the three blurs run as one wider kernel, which saves two
    // of three full-size pass pairs. Smaller glows cost little; they keep
    // the three passes, whose rounding their strong glows (low thresholds,
    // graded afterwards) show.
    if (s == cRenderTargetManager::RTT_FULL) {
        blur_three_times(work, work);
        return;
    }
    for (int i = 0; i < 3; ++i)
        blur(work, work);
}

void glow_into(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& output,
               cRenderTargetManager::eRTSize s) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy work = cRenderTargetManager::instance()->get_rt(s);
    glow_composite(settings, source, *work, s);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    spill_add_into(output, *work, source);
    glPopAttrib();
    shaders->pop_shader();
}

void glow_final(const sGlowSettings& settings, iRenderTarget& source,
                cRenderTargetManager::eRTSize s, const Vec3f* hsb, sLevelsValues levels) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy work = cRenderTargetManager::instance()->get_rt(s);
    glow_bright_pass(settings, source, *work, s);

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
    draw_glow_over(*work, source, name);
    shaders->pop_shader();
}

void glow_onto(const sGlowSettings& settings, iRenderTarget& source,
               cRenderTargetManager::eRTSize s) {
    cProfileScope scope("glow");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cRTProxy work = cRenderTargetManager::instance()->get_rt(s);
    glow_composite(settings, source, *work, s);
    shaders->pop_shader();
}

void add_cut_vars(sGlowSettings* settings, cGuiVarList* list) {
    list->add_float("pre-cut", &settings->threshold, 0.0f, 255.0f);
    list->add_float("post-cut", &settings->gain, 0.0f, 255.0f);
}
