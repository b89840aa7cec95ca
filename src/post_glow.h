// Glow: a bright pass, blurred three times, levelled by a gain and spilled
// over the picture. Also the blur and spill-add passes it is made of. A
// full-size glow is computed at half size, its blurs as one pass pair of 13
// taps, with the gain in the spill.
#pragma once

#include "math/vec3.h"
#include "post_levels.h"
#include "render_target_manager.h"

#include <array>

class cGuiVarList;
class iRenderTarget;

struct sGlowSettings {
    float threshold = 200.0f; // the bright pass's "in black"
    float gain = 128.0f;      // the "in white" applied to the blurred bright pass
};

// Registers the blur and spill-add shaders once; holds the settings that
// the scenes set before they run a glow.
class cPostGlow {
public:
    static cPostGlow* instance();
    static void destroy();

    sGlowSettings m_settings;

private:
    cPostGlow();
    static cPostGlow* s_instance;
};

// Registers the blur shader for scenes that blur without a glow.
void setup_blur();
// Separable Gaussian blur (sigma 2 texels, 11 taps) of input into output
// (the same target blurs in place).
void blur(iRenderTarget& input, iRenderTarget& output);
// The half-size glow's blur, one vertical and one horizontal pass, clamping
// at the edges; input and output of the same size (the same target blurs in
// place).
void blur_glow(iRenderTarget& input, iRenderTarget& output);
// blur_glow's weights for texel index of a line of extent texels: taps -6 to
// 6 fetch the texels index - 6 to index + 6 (none beyond the ends).
constexpr int kBlurTaps = 13;
std::array<float, kBlurTaps> blur_weights(int index, int extent);
// The size class of a blur's temporary target for an output width.
cRenderTargetManager::eRTSize blur_temp_size(unsigned output_width);
// The glow spilled over the base, into the bound framebuffer, raised by the
// levels "in white" gain on the way (255 leaves it).
void spill_add(iRenderTarget& glow, iRenderTarget& base, float gain = 255.0f);
void spill_add_into(iRenderTarget& output, iRenderTarget& glow, iRenderTarget& base);
// The glow's light: the bright pass of source, blurred, in a pooled target
// of size class s, or of half size for a full-size glow (the spill stretches
// it over the picture).
cRTProxy glow_light(const sGlowSettings& settings, iRenderTarget& source,
                    cRenderTargetManager::eRTSize s);
// The output gets the source with the blurred bright pass spilled over it;
// the default framebuffer gets the full glow composite.
void glow_into(const sGlowSettings& settings, iRenderTarget& source, iRenderTarget& output,
               cRenderTargetManager::eRTSize s);
// What glow_into(settings, source, t, s) draws into t, then the
// hue, saturation and brightness shift hsb (none when null) of t into u,
// then levels of u into the bound framebuffer draw there, to the byte, in
// one pass after the glow's bright pass: the picture's last passes.
void glow_final(const sGlowSettings& settings, iRenderTarget& source,
                cRenderTargetManager::eRTSize s, const Vec3f* hsb, sLevelsValues levels);
// The glow composite into the default framebuffer.
void glow_onto(const sGlowSettings& settings, iRenderTarget& source,
               cRenderTargetManager::eRTSize s);
// "pre-cut" (threshold) and "post-cut" (gain), both [0, 255].
void add_cut_vars(sGlowSettings* settings, cGuiVarList* list);
