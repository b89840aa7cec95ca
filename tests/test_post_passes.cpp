// The post-processing passes on pixels: small pictures are written into
// pooled targets, run through the passes as the scenes run them and read
// back; and the state the passes leave for whatever draws next.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "post_color_correction.h"
#include "post_glow.h"
#include "post_hsb.h"
#include "post_levels.h"
#include "post_pass.h"
#include "post_resample.h"
#include "render_fsq.h"
#include "render_target_manager.h"
#include "scene_fixture.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_notex.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

namespace {
using M = cRenderTargetManager;
using tPixels = std::vector<std::uint8_t>; // RGB, rows from the bottom

// A black target with w x h given pixels in its lower left corner.
void put(iRenderTarget& rt, int w, int h, const tPixels& rgb) {
    fill_target(rt, {0, 0, 0});
    select_texture_unit(0);
    rt.bind_texture();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, 0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    rt.unbind_texture();
}

void expect_near_pixels(const tPixels& actual, const tPixels& expected, int tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "pixel " << i / 3 << " channel " << i % 3;
}

// A 256 x 1 lookup image, the identity or its inverse.
std::string write_lookup(const std::string& name, bool invert) {
    tPixels rgb;
    for (int i = 0; i < 256; ++i)
        rgb.insert(rgb.end(), 3, std::uint8_t(invert ? 255 - i : i));
    return write_rgb_image(make_temp_dir("lookups") + "/" + name, 256, 1, rgb);
}

class PostPassTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        m_shaders = ready_shader_manager();
        if (!m_shaders->find_shader("notex_shader"))
            m_shaders->add_shader<cShdNotex>("notex_shader");
        m_pool = M::instance();
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
    cShaderManager_GLSL* m_shaders = nullptr;
    M* m_pool = nullptr;
};
} // namespace

TEST_F(PostPassTest, LevelsFollowThePhotoEditorFormulaOnARamp) {
    cRTProxy in = m_pool->get_rt(M::RTT_FULL), out = m_pool->get_rt(M::RTT_FULL);
    tPixels ramp, expected;
    const sLevelsValues v{30, 220, 1.6f, 10, 240};
    for (int i = 0; i < 256; ++i) {
        ramp.insert(ramp.end(), 3, std::uint8_t(i));
        double level = std::min(std::max((i - 30) / 190.0, 0.0), 1.0);
        expected.insert(expected.end(), 3,
                        std::uint8_t(std::lround(10 + std::pow(level, 1 / 1.6) * 230)));
    }
    put(*in, 256, 1, ramp);
    apply_levels_into(*out, *in, v);
    expect_near_pixels(read_target(*out, 256, 1), expected, 1);
}

TEST_F(PostPassTest, HsbTurnsHueScalesSaturationAndShiftsBrightness) {
    cRTProxy in = m_pool->get_rt(M::RTT_EIGHTH), out = m_pool->get_rt(M::RTT_EIGHTH);
    fill_target(*in, {255, 0, 0});
    const std::pair<Vec3f, tPixels> cases[] = {{Vec3f(120, 0, 0), {0, 255, 0}},
                                               {Vec3f(-120, 0, 0), {0, 0, 255}},
                                               {Vec3f(0, -50, 0), {255, 128, 128}},
                                               {Vec3f(0, 0, -50), {128, 0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first.x << " " << c.first.y << " " << c.first.z);
        apply_hsb_into(*out, c.first, *in);
        expect_near_pixels(read_target(*out, 1, 1, 5, 5), c.second, 1);
    }
}

TEST_F(PostPassTest, ColourCorrectionLooksEachChannelUp) {
    cRTProxy in = m_pool->get_rt(M::RTT_FULL), out = m_pool->get_rt(M::RTT_FULL);
    tPixels picture, inverted;
    for (int i = 0; i < 256; ++i)
        picture.insert(picture.end(),
                       {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7)});
    for (std::uint8_t value : picture)
        inverted.push_back(std::uint8_t(255 - value));
    put(*in, 256, 1, picture);
    cPostColorCorrection(write_lookup("invert.png", true)).apply_into(*in, *out);
    expect_near_pixels(read_target(*out, 256, 1), inverted, 0);
}

// Three blurs in a row are three Gaussians (sigma 2, 11 taps), each pass
// clamping at the edges: checked against those passes on the CPU for a
// spot, a bar along the left edge and a corner pixel, then for light kept
// and symmetry. A full-size glow, computed at half size, must spill nearly
// the same light: the CPU's three blurs of a bright square, a bar along the
// edge, a spot and a thin line, all at odd places of the 2 x 2 blocks.
TEST_F(PostPassTest, BlurIsThreeGaussiansInARowAndTheFullSizeGlowMatchesIt) {
    setup_blur();
    const double g[6] = {0.200565, 0.176998, 0.121649, 0.065114, 0.027144, 0.008812};
    // The light of lit rectangles {x, y, w, h} of a w x h picture, blurred
    // three times on the CPU.
    auto three_blurs = [&](int w, int h, const std::vector<std::vector<int>>& lit) {
        std::vector<double> light(std::size_t(w) * h, 0.0);
        for (const std::vector<int>& r : lit)
            for (int y = r[1]; y < r[1] + r[3]; ++y)
                for (int x = r[0]; x < r[0] + r[2]; ++x)
                    light[std::size_t(y) * w + x] = 255.0;
        for (int pass = 0; pass < 6; ++pass) {
            const bool across = pass % 2 == 0;
            std::vector<double> next(light.size(), 0.0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int k = -5; k <= 5; ++k) {
                        const int sx = across ? std::min(std::max(x + k, 0), w - 1) : x;
                        const int sy = across ? y : std::min(std::max(y + k, 0), h - 1);
                        next[std::size_t(y) * w + x] +=
                            g[std::abs(k)] * light[std::size_t(sy) * w + sx];
                    }
            light.swap(next);
        }
        return light;
    };

    cRTProxy t = m_pool->get_rt(M::RTT_QUATER);
    const int w = int(t->get_width()), h = int(t->get_height()), cx = 100, cy = 80;
    const std::vector<std::vector<int>> lit = {{cx, cy, 1, 1}, {0, 30, 2, 20}, {w - 1, 0, 1, 1}};
    fill_target(*t, {0, 0, 0});
    for (const std::vector<int>& r : lit)
        fill_target(*t, {255, 255, 255}, r[0], r[1], r[2], r[3]);
    for (int i = 0; i < 3; ++i)
        blur(*t, *t);
    std::vector<double> light = three_blurs(w, h, lit);
    const tPixels rgb = read_target(*t, w, h);
    auto at = [&](int x, int y) { return rgb[(std::size_t(y) * w + x) * 3]; };
    long spot = 0; // the spot's light, all of it within 20 texels
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            ASSERT_NEAR(at(x, y), light[std::size_t(y) * w + x], 2.0) << x << ", " << y;
            if (std::abs(x - cx) <= 20 && std::abs(y - cy) <= 20)
                spot += at(x, y);
        }
    // Three 8-bit roundings lose some of the faint tails.
    EXPECT_NEAR(double(spot), 255.0, 50.0);
    EXPECT_GT(at(cx + 3, cy + 3), 0);
    EXPECT_EQ(at(cx - 3, cy), at(cx + 3, cy));
    EXPECT_EQ(at(cx, cy - 3), at(cx, cy + 3));
    EXPECT_EQ(at(cx + 3, cy), at(cx, cy + 3));

    // With the threshold at 0 and the gain at 255 the glow spills the three
    // blurs of the whole picture over it, a screen.
    cRTProxy source = m_pool->get_rt(M::RTT_FULL), output = m_pool->get_rt(M::RTT_FULL);
    const int fw = int(source->get_width()), fh = int(source->get_height());
    const std::vector<std::vector<int>> shapes = {
        {301, 201, 9, 7}, {0, 101, 3, 40}, {601, 403, 1, 1}, {801, 51, 1, 60}};
    fill_target(*source, {0, 0, 0});
    for (const std::vector<int>& r : shapes)
        fill_target(*source, {255, 255, 255}, r[0], r[1], r[2], r[3]);
    sGlowSettings settings;
    settings.threshold = 0.0f;
    settings.gain = 255.0f;
    glow_into(settings, *source, *output, M::RTT_FULL);
    light = three_blurs(fw, fh, shapes);
    const tPixels lit_rgb = read_target(*source, fw, fh), glow = read_target(*output, fw, fh);
    double error = 0.0, largest = 0.0;
    for (std::size_t i = 0; i < light.size(); ++i) {
        const double base = lit_rgb[i * 3];
        const double expected = 255.0 - (255.0 - base) * (255.0 - light[i]) / 255.0;
        const double d = std::abs(glow[i * 3] - expected);
        error += d * d;
        largest = std::max(largest, d);
    }
    // Off by a few levels at most, next to the shapes' sharp ends, whose
    // 2 x 2 blocks are half lit.
    EXPECT_LE(largest, 6.0);
    EXPECT_GE(10.0 * std::log10(255.0 * 255.0 / (error / double(light.size()))), 60.0)
        << "PSNR of the glow";
}

TEST_F(PostPassTest, SpillAddScreensTheGlowOverTheBase) {
    cRTProxy base = m_pool->get_rt(M::RTT_EIGHTH), glow = m_pool->get_rt(M::RTT_EIGHTH),
             out = m_pool->get_rt(M::RTT_EIGHTH);
    const tPixels stripes[4] = {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}, {200, 0, 0}};
    for (int i = 0; i < 4; ++i)
        fill_target(*base, stripes[i], 32 * i, 0, 32, 80);
    fill_target(*glow, {128, 128, 0});
    spill_add_into(*out, *glow, *base);
    const tPixels screened[4] = {{128, 128, 0}, {192, 192, 128}, {255, 255, 255}, {227, 128, 0}};
    for (int i = 0; i < 4; ++i)
        expect_near_pixels(read_target(*out, 1, 1, 32 * i + 16, 40), screened[i], 1);
}

TEST_F(PostPassTest, HalfResampleAveragesEachTwoByTwoBlock) {
    setup_resample_half();
    cRTProxy in = m_pool->get_rt(M::RTT_FULL), out = m_pool->get_rt(M::RTT_HALF);
    tPixels input; // 4 x 4: red rises by 16 along a row and 64 a row up, blue falls
    for (int i = 0; i < 16; ++i) {
        const int v = 16 * (i % 4) + 64 * (i / 4);
        input.insert(input.end(), {std::uint8_t(v), 0, std::uint8_t(255 - v)});
    }
    put(*in, 4, 4, input);
    resample_half(*in, *out);
    expect_near_pixels(read_target(*out, 2, 2), {40, 0, 215, 72, 0, 183, 168, 0, 87, 200, 0, 55},
                       1);
}

TEST_F(PostPassTest, GlowGrowsAHaloAroundBrightLightAndTheGainLiftsTheScreensOnly) {
    cRTProxy source = m_pool->get_rt(M::RTT_FULL), output = m_pool->get_rt(M::RTT_FULL);
    sGlowSettings settings; // threshold 200, gain 128
    fill_target(*source, {100, 100, 100});
    glow_onto(settings, *source, M::RTT_QUATER);
    // Below the threshold nothing glows: the picture arrives unchanged.
    EXPECT_NEAR(int(read_pixel(512, 64 + 320)[0]), 100, 1);

    fill_target(*source, {0, 0, 0});
    fill_target(*source, {255, 255, 255}, 500, 300, 24, 24);
    glow_onto(settings, *source, M::RTT_QUATER);
    EXPECT_GE(int(read_pixel(512, 64 + 312)[0]), 250); // the spot itself
    EXPECT_GT(int(read_pixel(540, 64 + 312)[0]), 0);   // its halo
    EXPECT_EQ(int(read_pixel(700, 64 + 500)[0]), 0);   // far away: black

    // glow_into routes two composites: its output gets the blurred bright
    // pass as it is, the screen the glow raised by the gain. With the gain at
    // 255 both are the same; a lower gain brightens the screen's halo only.
    auto halo = [&](float gain, int x) {
        sGlowSettings s;
        s.gain = gain;
        fill_target(*output, {0, 0, 255});
        glow_into(s, *source, *output, M::RTT_HALF);
        const tPixels out = read_target(*output, 1, 1, x, 312);
        EXPECT_EQ(out[0], out[2]); // the output's blue is replaced, not added to
        return std::make_pair(int(read_pixel(x, 64 + 312)[0]), int(out[0]));
    };
    int x = 530;
    while (x < 600 && halo(255.0f, x).second > 60)
        ++x;
    const std::pair<int, int> plain = halo(255.0f, x);
    ASSERT_GT(plain.second, 5) << "a faint halo pixel at x " << x;
    EXPECT_NEAR(plain.first, plain.second, 1);
    const std::pair<int, int> raised = halo(64.0f, x);
    EXPECT_NEAR(raised.second, plain.second, 1) << "the output's glow ignores the gain";
    EXPECT_GT(raised.first, plain.first + 10) << "the screen's glow is raised by the gain";
}

// Fused passes run as one program: glow_final (with and without the HSB
// stage) and levels before colour correction. Each stage's result must be
// kept as an 8-bit target keeps it between separate passes (rounded, a tie
// to even), or pixels here and there differ by one: checked on noise and on
// ramps through every level.
TEST_F(PostPassTest, FusedPassesGiveTheSeparatePassesPictureToTheByte) {
    cRTProxy source = m_pool->get_rt(M::RTT_FULL), t = m_pool->get_rt(M::RTT_FULL),
             u = m_pool->get_rt(M::RTT_FULL);
    const int w = int(source->get_width()), h = int(source->get_height());
    tPixels picture(std::size_t(w) * h * 3);
    std::uint32_t seed = 7;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const std::size_t pixel = i / 3, x = pixel % w, y = pixel / w;
        picture[i] = y < std::size_t(h / 2) ? std::uint8_t(seed >> 24)
                                            : std::uint8_t(x + 3 * y + 85 * (i % 3));
    }
    put(*source, w, h, picture);
    auto window = [&] {
        tPixels rgb(std::size_t(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 64, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    sGlowSettings settings;
    settings.threshold = 120.0f;
    const sLevelsValues levels{20, 230, 1.4f, 8, 250};
    const Vec3f hsb(-147.0f, -40.0f, 12.0f);
    for (const Vec3f* shift : {&hsb, static_cast<const Vec3f*>(nullptr)}) {
        SCOPED_TRACE(shift ? "with HSB" : "without HSB");
        glow_into(settings, *source, *t, M::RTT_HALF);
        if (shift)
            apply_hsb_into(*u, *shift, *t);
        apply_levels(shift ? *u : *t, levels);
        const tPixels separate = window();
        glow_final(settings, *source, M::RTT_HALF, shift, levels);
        const tPixels fused = window();
        std::size_t differ = 0;
        for (std::size_t i = 0; i < fused.size(); ++i)
            differ += fused[i] != separate[i];
        EXPECT_EQ(differ, 0u) << "of " << fused.size() << " channels";
    }

    cPostColorCorrection correction(write_lookup("invert.png", true));
    apply_levels_into(*t, *source, levels);
    correction.apply_into(*t, *u);
    const tPixels separate = read_target(*u, w, h);
    correction.apply_into(*source, *t, &levels);
    EXPECT_TRUE(read_target(*t, w, h) == separate) << "levels and colour correction";
}

// Every pass (and the plain quad draw under them) gives back the state a
// scene's frame must hand back (the shader, the enables, the depth mask, the
// framebuffer, the viewport, the matrices), and after the first frame takes
// no new targets.
TEST_F(PostPassTest, PassesRestoreTheStateAndCreateNothingFrameAfterFrame) {
    cRTProxy a = m_pool->get_rt(M::RTT_HALF), b = m_pool->get_rt(M::RTT_HALF),
             full = m_pool->get_rt(M::RTT_FULL);
    cPostColorCorrection correction(write_lookup("identity.png", false));
    setup_resample_half();
    const std::vector<std::function<void()>> passes = {
        [&] { render_fsq(*a); },
        [&] { apply_levels_into(*b, *a, sLevelsValues()); },
        [&] { apply_hsb_into(*b, Vec3f(10, 0, 0), *a); },
        [&] { blur(*a, *b); },
        [&] { spill_add_into(*b, *a, *full); },
        [&] { glow_onto(sGlowSettings(), *full, M::RTT_EIGHTH); },
        [&] { glow_into(sGlowSettings(), *full, *b, M::RTT_QUATER); },
        [&] { glow_final(sGlowSettings(), *full, M::RTT_HALF, nullptr, sLevelsValues()); },
        [&] { correction.apply_into(*a, *b); },
        [&] {
            const sLevelsValues levels;
            correction.apply_into(*a, *b, &levels);
        },
        [&] { resample_half(*full, *a); },
    };
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, -3.0f);
    m_shaders->bind("notex_shader");
    const std::vector<double> before = gl_frame_state(true, true, true);
    unsigned allocated = 0;
    for (int frame = 0; frame < 2; ++frame) {
        for (std::size_t index = 0; index < passes.size(); ++index) {
            passes[index]();
            EXPECT_EQ(gl_frame_state(true, true, true), before)
                << "frame " << frame << " pass " << index;
        }
        if (frame == 0)
            allocated = m_pool->max_allocated();
        EXPECT_EQ(m_pool->max_allocated(), allocated);
    }
    m_shaders->bind("null_shader");
    glPopAttrib();
    glLoadIdentity();
}
