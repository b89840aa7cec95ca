// The post-processing programs on pixels: small textures made with plain GL
// calls, drawn 1:1 through one shader into the lower left corner of the
// window and read back.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "render_fsq.h"
#include "resource_path.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_blurtex.h"
#include "shaders/shd_correction.h"
#include "shaders/shd_levels.h"
#include "shaders/shd_lightmap.h"
#include "shaders/shd_post_hsb.h"
#include "shaders/shd_post_spilladd.h"
#include "shaders/shd_resample_half.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {
using tPixels = std::vector<std::uint8_t>; // RGB, row by row from the bottom

// A w x h RGBA texture of the given RGB pixels (alpha 255).
GLuint make_texture(GLenum target, int w, int h, const tPixels& rgb) {
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(target, texture);
    // Linear filtering as the render targets use: the programs must sample
    // texel centres to be exact.
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (target == GL_TEXTURE_1D)
        glTexImage1D(target, 0, GL_RGBA, w, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    else
        glTexImage2D(target, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(target, 0);
    return texture;
}

tPixels solid(int count, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    tPixels pixels;
    for (int i = 0; i < count; ++i)
        pixels.insert(pixels.end(), {r, g, b});
    return pixels;
}

tPixels read_pixels(int w, int h) {
    tPixels pixels(std::size_t(w * h * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Binds the textures (unit 0 a rectangle texture, unit 1 optional of any
// target) and fills a w x h viewport with one quad whose coordinates are
// pixel coordinates of each unit's texture; returns what was drawn.
tPixels draw_pass(int w, int h, GLuint tex0, int tex0_w, int tex0_h, GLenum target1 = 0,
                  GLuint tex1 = 0, float tex1_s = 1.0f, float tex1_t = 1.0f) {
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    glViewport(0, 0, w, h);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    if (tex1)
        glBindTexture(target1, tex1);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, tex0);
    begin_fsq();
    const float s = float(tex0_w), t = float(tex0_h);
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, c[0] * s, c[1] * t);
        ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, c[0] * tex1_s, c[1] * tex1_t);
        glVertex3f(c[0], c[1], 0.0f);
    }
    glEnd();
    end_fsq();
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
    if (tex1) {
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(target1, 0);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glPopAttrib();
    return read_pixels(w, h);
}

void expect_near_pixels(const tPixels& actual, const tPixels& expected, int tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "pixel " << i / 3 << " channel " << i % 3;
}

class ShaderPassTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        cResourcePath* paths = cResourcePath::instance();
        if (paths->get_fullpath("blurtex.vert").empty())
            paths->push_searchpath(std::string(VANTREL_SOURCE_DIR) + "/src/shaders");
        testing::internal::CaptureStdout();
        manager()->init();
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        for (GLuint texture : m_textures)
            glDeleteTextures(1, &texture);
        cShaderManager_GLSL::destroy();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    static cShaderManager_GLSL* manager() { return cShaderManager_GLSL::instance(); }
    GLuint texture(GLenum target, int w, int h, const tPixels& rgb) {
        m_textures.push_back(make_texture(target, w, h, rgb));
        return m_textures.back();
    }
    // One pass through a shader as the post effects run it: push, set the
    // values, bind, draw, pop.
    tPixels shaded(const std::string& shader, int parm_name, std::vector<float> values,
                   GLuint input, int w, int h) {
        manager()->push_shader();
        if (!values.empty()) {
            cShaderParameter<float* const> carrier(values.data());
            manager()->set_parameter(shader, parm_name, &carrier);
        }
        manager()->bind(shader);
        tPixels drawn = draw_pass(w, h, input, w, h);
        manager()->pop_shader();
        return drawn;
    }

    std::vector<GLuint> m_textures;
};
} // namespace

TEST_F(ShaderPassTest, HsbTurnsHueScalesSaturationAndShiftsBrightness) {
    manager()->add_shader<cShdPostHSB>("hsb_shader");
    const GLuint red = texture(GL_TEXTURE_RECTANGLE_ARB, 2, 2, solid(4, 255, 0, 0));
    auto pass = [&](float h, float s, float b) {
        return shaded("hsb_shader", cShdPostHSB::SP_IN_HSB, {h, s, b}, red, 2, 2);
    };
    expect_near_pixels(pass(0, 0, 0), solid(4, 255, 0, 0), 1);
    expect_near_pixels(pass(120, 0, 0), solid(4, 0, 255, 0), 1);
    expect_near_pixels(pass(-120, 0, 0), solid(4, 0, 0, 255), 1);
    expect_near_pixels(pass(60, 0, 0), solid(4, 255, 255, 0), 1);
    expect_near_pixels(pass(0, -50, 0), solid(4, 255, 128, 128), 1);
    expect_near_pixels(pass(0, 0, -50), solid(4, 128, 0, 0), 1);
    // No saturation left: grey, here at the full brightness of pure red.
    expect_near_pixels(pass(0, -100, 0), solid(4, 255, 255, 255), 1);

    const GLuint dark = texture(GL_TEXTURE_RECTANGLE_ARB, 1, 1, solid(1, 40, 80, 120));
    const tPixels grey = shaded("hsb_shader", cShdPostHSB::SP_IN_HSB, {0, -100, 0}, dark, 1, 1);
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
    EXPECT_EQ(manager()->current_shader(), "null_shader");
}

TEST_F(ShaderPassTest, LevelsFollowThePhotoEditorFormulaOnARamp) {
    manager()->add_shader<cShdLevels>("levels_shader");
    tPixels ramp;
    for (int i = 0; i < 256; ++i)
        ramp.insert(ramp.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
    const GLuint input = texture(GL_TEXTURE_RECTANGLE_ARB, 256, 1, ramp);

    auto expected = [](float in_black, float in_white, float gamma, float out_black,
                       float out_white) {
        tPixels out;
        for (int i = 0; i < 256; ++i) {
            double v = (i - in_black) / (in_white - in_black);
            v = std::pow(std::min(std::max(v, 0.0), 1.0), 1.0 / gamma);
            const auto value = std::uint8_t(std::lround(out_black + v * (out_white - out_black)));
            out.insert(out.end(), {value, value, value});
        }
        return out;
    };
    // A freshly registered shader: the bright pass at 200.
    manager()->push_shader();
    manager()->bind("levels_shader");
    expect_near_pixels(draw_pass(256, 1, input, 256, 1), expected(200, 255, 1, 0, 255), 1);
    manager()->pop_shader();

    expect_near_pixels(
        shaded("levels_shader", cShdLevels::SP_IN_LEVELS, {0, 255, 1, 0, 255}, input, 256, 1), ramp,
        1);
    expect_near_pixels(
        shaded("levels_shader", cShdLevels::SP_IN_LEVELS, {30, 220, 1.6f, 10, 240}, input, 256, 1),
        expected(30, 220, 1.6f, 10, 240), 1);
    expect_near_pixels(
        shaded("levels_shader", cShdLevels::SP_IN_LEVELS, {0, 128, 0.5f, 0, 255}, input, 256, 1),
        expected(0, 128, 0.5f, 0, 255), 1);
}

TEST_F(ShaderPassTest, ColourCorrectionLooksEachChannelUp) {
    manager()->add_shader<cShdCorrection>("color_correction_shader");
    tPixels picture, identity, inverse, inverted_picture;
    for (int i = 0; i < 256; ++i) {
        const auto v = std::uint8_t(i);
        picture.insert(picture.end(), {v, std::uint8_t(255 - i), std::uint8_t(i * 7)});
        identity.insert(identity.end(), {v, v, v});
        inverse.insert(inverse.end(),
                       {std::uint8_t(255 - i), std::uint8_t(255 - i), std::uint8_t(255 - i)});
    }
    for (std::uint8_t value : picture)
        inverted_picture.push_back(std::uint8_t(255 - value));
    const GLuint input = texture(GL_TEXTURE_RECTANGLE_ARB, 256, 1, picture);

    for (const auto& lookup :
         {std::make_pair(identity, picture), std::make_pair(inverse, inverted_picture)}) {
        const GLuint table = texture(GL_TEXTURE_1D, 256, 1, lookup.first);
        manager()->push_shader();
        manager()->bind("color_correction_shader");
        const tPixels drawn = draw_pass(256, 1, input, 256, 1, GL_TEXTURE_1D, table);
        manager()->pop_shader();
        expect_near_pixels(drawn, lookup.second, 0);
    }
}

TEST_F(ShaderPassTest, BlurSpreadsAPixelSymmetricallyAlongItsDirection) {
    manager()->add_shader<cShdBlurTex>("blur_shader");
    const int n = 21, centre = 10;
    tPixels dot = solid(n, 0, 0, 0);
    dot[centre * 3] = dot[centre * 3 + 1] = dot[centre * 3 + 2] = 255;
    const GLuint row = texture(GL_TEXTURE_RECTANGLE_ARB, n, 1, dot);

    const tPixels blurred = shaded("blur_shader", cShdBlurTex::SP_SAMPLEDIR, {1, 0}, row, n, 1);
    int total = 0;
    for (int x = 0; x < n; ++x) {
        total += blurred[x * 3];
        EXPECT_EQ(blurred[x * 3], blurred[x * 3 + 2]) << x;
        EXPECT_NEAR(blurred[x * 3], blurred[(2 * centre - x) * 3], 1) << x;
        if (x > 0 && x <= centre) {
            EXPECT_LE(blurred[(x - 1) * 3], blurred[x * 3]) << x;
        }
    }
    EXPECT_NEAR(blurred[centre * 3], 51, 1);
    EXPECT_GT(blurred[(centre + 5) * 3], 0);
    EXPECT_EQ(blurred[(centre + 6) * 3], 0);
    EXPECT_NEAR(total, 255, 6); // the light is moved, not gained or lost

    // Across the row there is nothing to spread into: unchanged.
    expect_near_pixels(shaded("blur_shader", cShdBlurTex::SP_SAMPLEDIR, {0, 1}, row, n, 1), dot, 0);
}

TEST_F(ShaderPassTest, SpillAddScreensTheGlowOverTheBase) {
    manager()->add_shader<cShdPostSpillAdd>("spill_shader");
    const tPixels base_pixels = {0, 0, 0, 128, 128, 128, 255, 255, 255, 200, 0, 0};
    const GLuint base = texture(GL_TEXTURE_RECTANGLE_ARB, 4, 1, base_pixels);
    // The glow is smaller than the base and read at its own pixel size.
    const GLuint glow = texture(GL_TEXTURE_RECTANGLE_ARB, 1, 1, solid(1, 128, 128, 0));
    manager()->push_shader();
    manager()->bind("spill_shader");
    const tPixels drawn = draw_pass(4, 1, base, 4, 1, GL_TEXTURE_RECTANGLE_ARB, glow, 1.0f, 1.0f);
    manager()->pop_shader();
    expect_near_pixels(drawn, {128, 128, 0, 192, 192, 128, 255, 255, 255, 227, 128, 0}, 1);
}

TEST_F(ShaderPassTest, HalfResampleAveragesEachTwoByTwoBlock) {
    manager()->add_shader<cShdResampleHalf>("half_resample_shader");
    tPixels input;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const auto v = std::uint8_t(16 * x + 64 * y);
            input.insert(input.end(), {v, std::uint8_t(255 - v), std::uint8_t(x == y ? 200 : 0)});
        }
    const GLuint source = texture(GL_TEXTURE_RECTANGLE_ARB, 4, 4, input);
    manager()->push_shader();
    manager()->bind("half_resample_shader");
    const tPixels drawn = draw_pass(2, 2, source, 4, 4);
    manager()->pop_shader();

    tPixels expected;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        sum += input[((2 * y + dy) * 4 + 2 * x + dx) * 3 + c];
                expected.push_back(std::uint8_t(sum / 4));
            }
    expect_near_pixels(drawn, expected, 1);
}

TEST_F(ShaderPassTest, LightmapMixesTheTwoBakesByBlend) {
    manager()->add_shader<cShdLightmap>("lightmap_shader");
    const GLuint light_off = texture(GL_TEXTURE_2D, 1, 1, solid(1, 0, 40, 200));
    const GLuint light_on = texture(GL_TEXTURE_2D, 1, 1, solid(1, 200, 40, 0));
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, light_off);
    manager()->push_shader();
    cShaderParameter<float> blend(0.25f);
    manager()->set_parameter("lightmap_shader", cShdLightmap::SP_BLEND, &blend);
    manager()->bind("lightmap_shader");
    const tPixels drawn = draw_pass(2, 2, 0, 1, 1, GL_TEXTURE_2D, light_on);
    manager()->pop_shader();
    glBindTexture(GL_TEXTURE_2D, 0);
    expect_near_pixels(drawn, solid(4, 50, 40, 150), 1);
}
