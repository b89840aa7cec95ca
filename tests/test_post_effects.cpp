// The post-processing passes on a real context: pictures go through levels,
// HSB, colour correction, blur and glow, and the pixels are read back.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/gui_var_list.h"
#include "post_color_correction.h"
#include "post_glow.h"
#include "post_hsb.h"
#include "post_levels.h"
#include "post_pass.h"
#include "post_resample.h"
#include "render_fsq.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_notex.h"
#include "test_support.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

namespace {
using M = cRenderTargetManager;
using tRGB = std::array<int, 3>;

tRGB target_pixel(iRenderTarget& rt, int x, int y) {
    rt.bind();
    std::uint8_t rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    rt.unbind();
    return {rgb[0], rgb[1], rgb[2]};
}

// Red channel of a whole target.
std::vector<int> target_red(iRenderTarget& rt) {
    const int w = int(rt.get_width()), h = int(rt.get_height());
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    rt.bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    rt.unbind();
    std::vector<int> red(std::size_t(w) * h);
    for (std::size_t i = 0; i < red.size(); ++i)
        red[i] = rgb[i * 3];
    return red;
}

// Fills a rectangle of a target (everything when w is 0).
void fill(iRenderTarget& rt, const tRGB& c, int x = 0, int y = 0, int w = 0, int h = 0) {
    rt.bind();
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w ? w : int(rt.get_width()), h ? h : int(rt.get_height()));
    glClearColor(c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    rt.unbind();
}

// A 256 x 1 lookup image written with the image library.
std::string write_lookup(const std::string& name, bool invert) {
    std::vector<std::uint8_t> rgb(256 * 3);
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            rgb[std::size_t(i) * 3 + c] = std::uint8_t(invert ? 255 - i : i);
    const std::string dir = make_temp_dir("lookups");
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(256, 1, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb.data());
    ilEnable(IL_FILE_OVERWRITE);
    ilSave(IL_PNG, (dir + "/" + name).c_str());
    ilDeleteImages(1, &image);
    return dir + "/" + name;
}

class PostEffectsTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        static bool once = [] {
            testing::internal::CaptureStdout();
            cResourcePath::instance()->push_searchpath(VANTREL_SOURCE_DIR "/src/shaders");
            cShaderManager_GLSL::instance()->init();
            cShaderManager_GLSL::instance()->add_shader<cShdNotex>("notex_shader");
            cRenderTargetManager::instance();
            testing::internal::GetCapturedStdout();
            return true;
        }();
        (void)once;
        m_pool = cRenderTargetManager::instance();
    }
    cRenderTargetManager* m_pool = nullptr;
};
} // namespace

TEST_F(PostEffectsTest, LevelsFollowTheFormula) {
    cRTProxy in = m_pool->get_rt(M::RTT_EIGHTH);
    cRTProxy out = m_pool->get_rt(M::RTT_EIGHTH);
    for (int grey : {30, 100, 180, 250}) {
        fill(*in, {grey, grey, grey});
        sLevelsValues values;
        values.in_black = 50.0f;
        values.in_white = 200.0f;
        values.gamma = 2.0f;
        values.out_black = 10.0f;
        values.out_white = 240.0f;
        apply_levels_into(*out, *in, values);
        double level = std::min(std::max((grey - 50.0) / 150.0, 0.0), 1.0);
        double expected = 10.0 + 230.0 * std::pow(level, 1.0 / 2.0);
        EXPECT_NEAR(target_pixel(*out, 5, 5)[0], expected, 1.0) << "grey " << grey;
    }
}

TEST_F(PostEffectsTest, HsbRotatesHueAndRemovesSaturation) {
    cRTProxy in = m_pool->get_rt(M::RTT_EIGHTH);
    cRTProxy out = m_pool->get_rt(M::RTT_EIGHTH);
    fill(*in, {255, 0, 0});
    apply_hsb_into(*out, Vec3f(120.0f, 0.0f, 0.0f), *in);
    tRGB green = target_pixel(*out, 3, 3);
    EXPECT_LE(green[0], 1);
    EXPECT_GE(green[1], 254);
    EXPECT_LE(green[2], 1);
    apply_hsb_into(*out, Vec3f(0.0f, -100.0f, 0.0f), *in);
    tRGB grey = target_pixel(*out, 3, 3);
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
}

TEST_F(PostEffectsTest, ColourCorrectionLooksEveryChannelUp) {
    cRTProxy in = m_pool->get_rt(M::RTT_EIGHTH);
    cRTProxy out = m_pool->get_rt(M::RTT_EIGHTH);
    fill(*in, {10, 128, 240});
    cPostColorCorrection invert(write_lookup("invert.png", true));
    invert.apply_into(*in, *out);
    tRGB inverted = target_pixel(*out, 2, 2);
    EXPECT_NEAR(inverted[0], 245, 1);
    EXPECT_NEAR(inverted[1], 127, 1);
    EXPECT_NEAR(inverted[2], 15, 1);
    cPostColorCorrection identity(write_lookup("identity.png", false));
    identity.apply_into(*in, *out);
    tRGB same = target_pixel(*out, 2, 2);
    EXPECT_NEAR(same[0], 10, 1);
    EXPECT_NEAR(same[2], 240, 1);
}

TEST_F(PostEffectsTest, BlurSpreadsAPointSymmetricallyAndKeepsItsEnergy) {
    setup_blur();
    cRTProxy t = m_pool->get_rt(M::RTT_QUATER);
    fill(*t, {0, 0, 0});
    const int w = int(t->get_width()), cx = 100, cy = 80;
    fill(*t, {255, 255, 255}, cx, cy, 1, 1);
    blur(*t, *t); // in place
    std::vector<int> red = target_red(*t);
    auto at = [&](int x, int y) { return red[std::size_t(y) * w + x]; };
    long total = 0;
    for (int v : red)
        total += v;
    EXPECT_NEAR(double(total), 255.0, 40.0);
    EXPECT_LT(at(cx, cy), 255);
    EXPECT_GT(at(cx + 2, cy + 2), 0);
    EXPECT_EQ(at(cx - 2, cy), at(cx + 2, cy));
    EXPECT_EQ(at(cx, cy - 2), at(cx, cy + 2));
    EXPECT_EQ(blur_temp_size(256), M::RTT_QUATER);
    EXPECT_EQ(blur_temp_size(1024), M::RTT_FULL);
    EXPECT_EQ(blur_temp_size(2048), M::RTT_FULL);
    EXPECT_EQ(blur_temp_size(128), M::RTT_EIGHTH);
}

TEST_F(PostEffectsTest, GlowGrowsAHaloOnlyAroundBrightLight) {
    cRTProxy source = m_pool->get_rt(M::RTT_FULL);
    sGlowSettings settings; // threshold 200, gain 128
    fill(*source, {100, 100, 100});
    glow_onto(settings, *source, M::RTT_QUATER);
    // Below the threshold nothing glows: the picture arrives unchanged.
    EXPECT_NEAR(int(read_pixel(512, 64 + 320)[0]), 100, 1);

    fill(*source, {0, 0, 0});
    fill(*source, {255, 255, 255}, 500, 300, 24, 24);
    glow_onto(settings, *source, M::RTT_QUATER);
    EXPECT_GE(int(read_pixel(512, 64 + 312)[0]), 250); // the spot itself
    EXPECT_GT(int(read_pixel(540, 64 + 312)[0]), 0);   // its halo
    EXPECT_EQ(int(read_pixel(700, 64 + 500)[0]), 0);   // far away: black

    cRTProxy output = m_pool->get_rt(M::RTT_FULL);
    fill(*output, {0, 0, 255});
    glow_into(settings, *source, *output, M::RTT_HALF);
    EXPECT_GT(target_pixel(*output, 540, 312)[0], 0);
    EXPECT_EQ(target_pixel(*output, 540, 312)[2], target_pixel(*output, 540, 312)[0]);

    // glow_into routes two composites: its output gets the blurred bright
    // pass as it is, the screen the glow raised by the gain. With the gain at
    // 255 both are the same; a lower gain brightens the screen's halo only.
    auto halo = [&](float gain, int x) {
        sGlowSettings s;
        s.gain = gain;
        glow_into(s, *source, *output, M::RTT_HALF);
        return std::make_pair(int(read_pixel(x, 64 + 312)[0]), target_pixel(*output, x, 312)[0]);
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
    // Leaving the window alone changes nothing in the output, and the window
    // keeps what it had.
    const std::vector<int> composited = target_red(*output);
    fill(*output, {0, 0, 255});
    glClearColor(0.0f, 0.2f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glow_into(settings, *source, *output, M::RTT_HALF, GLOW_WINDOW_UNTOUCHED);
    EXPECT_EQ(target_red(*output), composited);
    EXPECT_EQ(read_pixel(512, 64 + 312), (std::vector<std::uint8_t>{0, 51, 0}));
}

TEST_F(PostEffectsTest, NearestSamplingOnlyWhereTexelsMeetPixels) {
    cRTProxy full = m_pool->get_rt(M::RTT_FULL);
    cRTProxy quarter = m_pool->get_rt(M::RTT_QUATER);
    struct sCase {
        const char* what;
        iRenderTarget* target;
        int viewport_w, viewport_h;
        unsigned scale;
        bool nearest;
    } cases[] = {
        {"same size", &*full, 1024, 640, 1, true},
        {"widescreen stretch", &*full, 1024, 768, 1, false},
        {"downsampling", &*full, 512, 320, 1, false},
        {"half resample", &*full, 512, 320, 2, true},
        {"upsampled glow", &*quarter, 1024, 640, 1, false},
    };
    for (const sCase& c : cases) {
        SCOPED_TRACE(c.what);
        glViewport(0, 0, c.viewport_w, c.viewport_h);
        select_texture_unit(0);
        c.target->bind_texture();
        const bool switched = begin_texel_sampling(*c.target, c.scale);
        EXPECT_EQ(switched, c.nearest);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, c.nearest ? GL_NEAREST : GL_LINEAR);
        c.target->unbind_texture();
        end_texel_sampling(*c.target, switched);
        glGetTexParameteriv(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR);
        c.target->unbind_texture();
    }
    glViewport(0, 64, 1024, 640);
}

TEST_F(PostEffectsTest, PassesRestoreShaderStateFramebufferAndViewport) {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    cRTProxy a = m_pool->get_rt(M::RTT_HALF);
    cRTProxy b = m_pool->get_rt(M::RTT_HALF);
    cRTProxy full = m_pool->get_rt(M::RTT_FULL);
    cPostColorCorrection correction(write_lookup("identity2.png", false));
    setup_resample_half();
    const std::vector<std::function<void()>> passes = {
        [&] { apply_levels_into(*b, *a, sLevelsValues()); },
        [&] { apply_hsb_into(*b, Vec3f(10, 0, 0), *a); },
        [&] { blur(*a, *b); },
        [&] { spill_add_into(*b, *a, *full); },
        [&] { glow_onto(sGlowSettings(), *full, M::RTT_EIGHTH); },
        [&] { glow_into(sGlowSettings(), *full, *b, M::RTT_QUATER); },
        [&] { glow_into(sGlowSettings(), *full, *b, M::RTT_HALF, GLOW_WINDOW_UNTOUCHED); },
        [&] { correction.apply_into(*a, *b); },
        [&] { resample_half(*full, *a); },
    };
    int index = 0;
    for (const auto& pass : passes) {
        shaders->bind("notex_shader");
        glEnable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glDepthMask(GL_TRUE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -2, 2);
        glMatrixMode(GL_MODELVIEW);
        pass();
        EXPECT_EQ(shaders->current_shader(), "notex_shader") << "pass " << index;
        EXPECT_TRUE(glIsEnabled(GL_BLEND)) << index;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << index;
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << index;
        GLboolean mask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        EXPECT_TRUE(mask) << index;
        GLint fbo = -1, viewport[4] = {};
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &fbo);
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(fbo, 0) << index;
        EXPECT_EQ(viewport[1], 64) << index;
        GLfloat projection[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        EXPECT_FLOAT_EQ(projection[0], 0.5f) << index;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << index;
        // Targets keep linear filtering between passes: a later pass may
        // stretch them.
        for (iRenderTarget* target : {&*a, &*b, &*full}) {
            GLint filter = 0;
            target->bind_texture();
            glGetTexParameteriv(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, &filter);
            target->unbind_texture();
            EXPECT_EQ(filter, GL_LINEAR) << index;
        }
        ++index;
    }
    shaders->bind("null_shader");
    glDisable(GL_LIGHTING);
}

TEST_F(PostEffectsTest, SteadyStateGlowChainsCreateNoTargets) {
    cRTProxy source = m_pool->get_rt(M::RTT_FULL);
    glow_onto(sGlowSettings(), *source, M::RTT_QUATER);
    const unsigned allocated = m_pool->max_allocated();
    for (int frame = 0; frame < 100; ++frame)
        glow_onto(sGlowSettings(), *source, M::RTT_QUATER);
    EXPECT_EQ(m_pool->max_allocated(), allocated);
    EXPECT_EQ(m_pool->in_use(), 1u);
}

TEST(PostVarsTest, RegistrationsNameRangesInOrder) {
    cGuiVarList list;
    sLevelsValues levels;
    Vec3f hsb(0, 0, 0);
    sGlowSettings glow_settings;
    add_levels_vars(&list, &levels);
    add_hsb_vars(&list, &hsb);
    add_cut_vars(&glow_settings, &list);
    std::ostringstream printed;
    list.print(printed);
    EXPECT_EQ(printed.str(), "in black 0\nin white 255\ngamma 1\nout black 0\nout white 255\n"
                             "hue 0\nsaturation 0\nbrightness 0\npre-cut 200\npost-cut 128\n");
    glow_settings.threshold = 150.0f; // the next glow reads the changed value
    std::ostringstream changed;
    list.print(changed);
    EXPECT_NE(changed.str().find("pre-cut 150\n"), std::string::npos);
}
