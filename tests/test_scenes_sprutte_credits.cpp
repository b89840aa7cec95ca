// The sprutte and greetings scenes driven through the scene manager: notes
// as the show delivers them, frames drawn at chosen timeline times and the
// pictures read back.
#include "scene_fixture.h"
#include "scenes/scene_credits.h"
#include "scenes/scene_credits_sol.h"
#include "scenes/scene_sprutte.h"

namespace {
std::vector<cEvent*> notes_every(int count, int first_ms, int step_ms, int track) {
    std::vector<cEvent*> notes;
    for (int k = 0; k < count; ++k)
        notes.push_back(midi_note(first_ms + step_ms * k, track));
    return notes;
}

double picture_brightness() {
    return brightness(mean_rgb(read_rgb()));
}

// The rooms set the switches they draw with and leave them so.
class SprutteCreditsSceneTest : public SceneFixture {
protected:
    SprutteCreditsSceneTest() { m_keeps_enables = false; }
};
} // namespace

TEST_F(SprutteCreditsSceneTest, SprutteDrumNotesSwitchPathsFromNote38On) {
    std::vector<cEvent*> notes = notes_every(49, 100, 10, 1);
    notes.push_back(midi_note(50, 2)); // other tracks only pass by
    auto* scene = start<cSceneSprutte>("s00 0:0:0,001\n", notes, 0, false);
    scene->m_intro_scale = true; // as its load leaves it

    frame(10, false);
    int path = 0;
    for (int n = 1; n <= 49; ++n) {
        const int t = 100 + 10 * (n - 1);
        frame(t + 1, false);
        ASSERT_EQ(cSceneSprutte::note_count(), n);
        if (n < cSceneSprutte::kFirstActiveNote) {
            EXPECT_EQ(scene->m_path_index, 0);
            EXPECT_TRUE(scene->m_intro_scale);
            continue;
        }
        EXPECT_FALSE(scene->m_intro_scale);
        // Notes are stamped with the frame's time, not their own.
        EXPECT_EQ(n % 2 ? scene->m_beat_a_ms : scene->m_beat_b_ms, t + 1);
        if (n % 4 != 0) {
            path = (path + 1) % cSceneSprutte::kPaths;
            EXPECT_EQ(scene->m_path_start_ms, t + 1);
        }
        EXPECT_EQ(scene->m_path_index, path) << "note " << n;
    }
}

TEST_F(SprutteCreditsSceneTest, CreditsFlashesOnEveryThirdTrackTenNote) {
    auto* scene = start<cSceneCredits>("s00 0:0:0,001\n", notes_every(6, 100, 100, 10), 0, false);

    frame(10, false);
    int flash_ms = scene->m_flash_ms;
    for (int k = 0; k < 6; ++k) {
        frame(101 + 100 * k, false);
        if ((k + 1) % 3 == 0)
            flash_ms = 101 + 100 * k;
        EXPECT_EQ(scene->m_flash_ms, flash_ms) << "track-10 note " << k + 1;
    }
    EXPECT_EQ(cSceneCredits::flash_note_count(), 6);
}

TEST_F(SprutteCreditsSceneTest, CreditsOpensFromWhiteAndFlashesGrey) {
    // The third track-10 note flashes.
    std::vector<cEvent*> notes = notes_every(3, 3000, 1, 10);
    notes.push_back(midi_note(5000, 4));
    start<cSceneCredits>("s00 0:0:0,001\n", notes);

    frame(2);
    const double opening = picture_brightness();
    frame(2600);
    const double settled = picture_brightness();
    EXPECT_GT(opening, settled);
    EXPECT_GT(settled, 5.0);

    // Right after the flash the colour is gone: saturation -100.
    frame(3010);
    const std::array<double, 3> flash = mean_rgb(read_rgb());
    EXPECT_NEAR(flash[0], flash[2], 2.0);
    EXPECT_NEAR(flash[1], flash[2], 2.0);

    // The light note lights the sphere and the room.
    frame(4990);
    const double dark = picture_brightness();
    frame(5010);
    frame(5020);
    EXPECT_GT(picture_brightness(), dark);
}

TEST_F(SprutteCreditsSceneTest, CreditsSolPathsRunBackwardsFromThe24thNote) {
    auto* scene = start<cSceneCreditsSol>("s00 0:0:0,001\n", notes_every(31, 100, 50, 1));
    frame(10);
    int path = scene->m_path_index;
    bool reverse = false;
    for (int n = 1; n <= 31; ++n) {
        const int t = 100 + 50 * (n - 1);
        frame(t + 1, false);
        ASSERT_EQ(cSceneCreditsSol::path_note_count(), n);
        if (n % 4 == 0) {
            path = (path + 1) % cSceneCreditsSol::kPaths;
            reverse = reverse || n > 20;
            EXPECT_EQ(scene->m_path_start_ms, t + 1);
        }
        EXPECT_EQ(scene->m_path_index, path);
        EXPECT_EQ(scene->m_reverse, reverse) << "note " << n;
    }
    EXPECT_TRUE(reverse);
    frame(100 + 50 * 31 + 20);
    EXPECT_GT(picture_brightness(), 5.0);
}
