// The attractor and end scenes: the attractor's reaction to the beat ticks
// and its presets, and frames of both rendered on a real context.
#include "event.h"
#include "post_glow.h"
#include "scene_fixture.h"
#include "scenes/scene_attractor.h"
#include "scenes/scene_end.h"

namespace {
// Scenes driven directly, on a time block of their own.
class AttractorEndSceneTest : public SceneFixture {
protected:
    AttractorEndSceneTest() { m_keeps_matrices = m_keeps_colour = true; }
    // The attractor's start sets additive blending, depth writes off and the
    // glow's settings for the scenes after it; the tests after these get
    // what they found.
    void SetUp() override {
        SceneFixture::SetUp();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        m_glow = cPostGlow::instance()->m_settings;
    }
    void TearDown() override {
        cPostGlow::instance()->m_settings = m_glow;
        glPopAttrib();
        SceneFixture::TearDown();
    }
    void set_time(int ms) { m_time.previous = m_time.current = m_time.start + ms; }
    void advance(int ms) {
        m_time.previous = m_time.current;
        m_time.current = m_time.start + ms;
    }
    // The engine's frame: the scene updates, then draws.
    void step(cScene& scene, int ms) {
        advance(ms);
        scene.update();
        draw(scene, ms);
    }
    sTimeBlock m_time{1000, 1000, 1000};
    sGlowSettings m_glow;
};
} // namespace

TEST_F(AttractorEndSceneTest, AttractorPresetChangesSpeedUpWithTheBeatTicks) {
    cSceneAttractor scene(&m_time);
    std::vector<int> changes;
    for (int n = 1; n <= 64; ++n) {
        set_time(n * 500);
        cEvent tick(EV_MIDI_BEAT, n * 500 - 1);
        const int anim = scene.m_anim;
        scene.on_event(&tick);
        if (scene.m_anim != anim) {
            changes.push_back(n);
            EXPECT_EQ((anim + 1) % 5, scene.m_anim);
            EXPECT_EQ(n * 500, scene.m_anim_switch_ms);
        }
    }
    EXPECT_EQ((std::vector<int>{16, 32, 48, 52, 56, 57, 58, 59, 60, 61, 62, 63, 64}), changes);

    // A second instance continues the shared count.
    cSceneAttractor other(&m_time);
    cEvent tick(EV_MIDI_BEAT, 33000);
    other.on_event(&tick);
    EXPECT_EQ(65, cSceneAttractor::s_tick_count);
    EXPECT_EQ(2, other.m_anim);
}

TEST_F(AttractorEndSceneTest, AttractorFramesShowCloudsBurstAndGlow) {
    cSceneAttractor scene(&m_time);
    testing::internal::CaptureStderr();
    scene.load();
    testing::internal::GetCapturedStderr();
    scene.enter();

    // The show's ticks up to the first preset change, a few frames between.
    int t = 0;
    for (int n = 1; n <= 16; ++n) {
        t = n * 480;
        cEvent tick(EV_MIDI_BEAT, t - 5);
        set_time(t);
        scene.on_event(&tick);
        if (n % 8 == 0)
            step(scene, t);
    }
    ASSERT_EQ(2, scene.m_anim);
    ASSERT_EQ(t, scene.m_anim_switch_ms);
    step(scene, t + 1);
    const int later = t + 5000;
    // Drawn over the frames (the panel, the makers' text line): another
    // blending, which the clouds must not take over.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    auto picture = [&] {
        step(scene, later);
        return read_rgb();
    };
    const std::vector<std::uint8_t> relaxed = picture();
    EXPECT_GT(*std::max_element(relaxed.begin(), relaxed.end()), 60) << "the picture is black";

    // The same moment without the clouds; with them off the rings' progress
    // does not show, so the next frames differ only by the post passes.
    scene.m_color0_alpha = scene.m_color1_alpha = 0.0f;
    const std::vector<std::uint8_t> no_clouds = picture();
    EXPECT_GT(mean_difference(relaxed, no_clouds), 0.5) << "the point clouds add nothing";
    scene.m_anim_switch_ms = later;
    const std::vector<std::uint8_t> burst = picture();
    EXPECT_GT(mean_difference(burst, no_clouds), 5.0) << "the burst's levels change nothing";

    // A bright pass that nothing passes. Without the clouds only the
    // brightest parts of the background glow, so the change is small.
    cPostGlow::instance()->m_settings.threshold = 255.0f;
    const std::vector<std::uint8_t> no_glow = picture();
    EXPECT_GT(mean_difference(burst, no_glow), 0.03) << "the glow adds nothing";
}

TEST_F(AttractorEndSceneTest, EndSceneShowsTheLogoOverThePicture) {
    cSceneEnd scene(&m_time);
    testing::internal::CaptureStderr();
    scene.load();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(GLenum(GL_TEXTURE_RECTANGLE_ARB), scene.m_logo.get_textarget());
    scene.enter();
    cEvent beat(EV_MIDI_BEAT, 10);
    scene.on_event(&beat);
    scene.update();
    advance(1000);
    draw(scene, 1000);
    const std::vector<std::uint8_t> picture = read_rgb();
    EXPECT_GT(*std::max_element(picture.begin(), picture.end()), 60) << "the logo is missing";
    // The logo covers the picture band and nothing outside it.
    EXPECT_EQ(std::vector<std::uint8_t>({0, 0, 0}), read_pixel(512, kPicY - 10));
    EXPECT_EQ(std::vector<std::uint8_t>({0, 0, 0}), read_pixel(512, kPicY + kPicH + 10));
}
