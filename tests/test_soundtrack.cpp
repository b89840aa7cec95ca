// The shipped soundtrack files: the MIDI sync file, the marker script and the
// MP3, checked against what the scenes rely on and against each other (the
// rebuild pins their bytes; the layout is the generator's business).
#include "../tools/compose/score.h"
#include "event_queue.h"
#include "event_queue_factory.h"
#include "midi_event.h"
#include "midi_loader.h"
#include "mp3_decoder.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kMidi = std::string(VANTREL_SOURCE_DIR) + "/data/music/tonvik7.mid";
const std::string kMarkers = std::string(VANTREL_SOURCE_DIR) + "/data/script/markers.txt";
const std::string kMp3 = std::string(VANTREL_SOURCE_DIR) + "/data/music/tonvik7.mp3";

enum { SOLAR_FLARE, SPRUTTE, CREDITS_SUN, ATTRACTOR, SCRUB, CREDITS, END };

// The timeline as the show hands it out: the marker script and the MIDI
// events in one sorted queue, each event counted for the scene that is
// current when it comes due.
struct sTimeline {
    std::vector<int> m_scene_order;
    std::map<int, int> m_switch_ms;               // first switch to each scene
    std::map<int, int> m_ticks;                   // beat ticks per scene
    std::map<std::pair<int, int>, int> m_notes;   // note-ons per scene and track
    std::map<int, std::vector<int>> m_note_times; // note-on times per track
    int m_quit_ms = -1;

    int notes_on(int scene, int track) { return m_notes[{scene, track}]; }
};

sTimeline play_timeline() {
    sTimeline timeline;
    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::loadFile(kMarkers));
    if (!queue)
        return timeline;
    testing::internal::CaptureStdout(); // the loader's summary
    bool loaded = cMidiLoader().load(queue.get(), kMidi);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(loaded);
    int scene = -1;
    for (std::size_t i = 0; i < queue->size(); ++i) {
        const cEvent* event = queue->at(i);
        const cMETrigger* note = dynamic_cast<const cMETrigger*>(event);
        if (event->m_type >= EV_SCENE_FIRST && event->m_type <= EV_SCENE_LAST) {
            scene = event->m_type;
            timeline.m_scene_order.push_back(scene);
            timeline.m_switch_ms.emplace(scene, event->m_time);
        } else if (event->m_type == EV_QUIT && timeline.m_quit_ms < 0) {
            timeline.m_quit_ms = event->m_time;
        } else if (event->m_type == EV_MIDI_BEAT) {
            ++timeline.m_ticks[scene];
        } else if (note && note->m_kind == iMidiEvent::KIND_NOTE_ON) {
            timeline.m_note_times[note->m_track].push_back(event->m_time);
            ++timeline.m_notes[{scene, note->m_track}];
        }
    }
    return timeline;
}

// The decoded MP3, shared by the tests that listen to it.
const cMp3Decoder& music() {
    static cMp3Decoder decoder;
    static bool decoded = decoder.decode_file(kMp3) == cMp3Decoder::DECODED;
    EXPECT_TRUE(decoded) << decoder.error_detail();
    return decoder;
}

} // namespace

TEST(SoundtrackTest, RebuildWritesTheShippedMidiAndMarkersByteForByte) {
    std::string tool = std::string(VANTREL_TOOL_PATH);
    std::string compose = tool.substr(0, tool.rfind('/') + 1) + "vantrel-compose";
    std::string dir = make_temp_dir("soundtrack_rebuild");
    sCommandResult result =
        run_command(compose + " --midi " + dir + "/tonvik7.mid --markers " + dir + "/markers.txt");
    ASSERT_EQ(result.exit_code, 0)
        << "vantrel-compose is built beside vantrel-tool: " << result.err;
    ASSERT_FALSE(read_file_bytes(kMidi).empty());
    EXPECT_TRUE(read_file_bytes(dir + "/tonvik7.mid") == read_file_bytes(kMidi));
    EXPECT_EQ(read_file_bytes(dir + "/markers.txt"), read_file_bytes(kMarkers));
}

TEST(SoundtrackTest, ScenesComeInOrderAndGetTheNotesAndTicksTheyReactTo) {
    sTimeline timeline = play_timeline();
    // Attractor (intro), solar flare right before sprutte (the sun grows up
    // to that switch), scrub right before the first credits (its growth runs
    // up to that switch), credits with the sun, the end.
    EXPECT_EQ(timeline.m_scene_order, (std::vector<int>{ATTRACTOR, SOLAR_FLARE, SPRUTTE, SCRUB,
                                                        CREDITS, CREDITS_SUN, END}));
    EXPECT_LE(timeline.m_switch_ms[ATTRACTOR], 1);
    ASSERT_TRUE(music().frames() > 0);
    EXPECT_GT(timeline.m_quit_ms, music().length_ms()) << "quit comes after the music has ended";

    // The attractor's presets change on ticks 16, 32, 48, 52, 56, then on
    // every tick; sprutte changes camera paths from its 38th kick; the sun
    // credits run their paths backwards from the 24th.
    EXPECT_GE(timeline.m_ticks[ATTRACTOR], 60);
    EXPECT_GE(timeline.notes_on(SPRUTTE, TRACK_KICK), 40);
    EXPECT_GE(timeline.notes_on(CREDITS_SUN, TRACK_KICK), 24);
    EXPECT_GT(timeline.notes_on(SCRUB, TRACK_KICK), 0);
    EXPECT_GE(timeline.notes_on(CREDITS, TRACK_CLAP), 3);

    // One fade to black, then one wash to white, both while the sun shows,
    // the white one late enough to reach full white before the switch.
    auto& times = timeline.m_note_times;
    ASSERT_EQ(times[TRACK_DROP].size(), 1u);
    ASSERT_EQ(times[TRACK_WHITE].size(), 1u);
    const int black = times[TRACK_DROP][0], white = times[TRACK_WHITE][0];
    EXPECT_EQ(timeline.notes_on(SOLAR_FLARE, TRACK_DROP) +
                  timeline.notes_on(SOLAR_FLARE, TRACK_WHITE),
              2);
    EXPECT_LT(black, white);
    EXPECT_LE(white + 300, timeline.m_switch_ms[SPRUTTE]);
}

TEST(SoundtrackTest, MusicMeetsTheLoudnessTarget) {
    sCommandResult result = run_command("ffmpeg -nostdin -hide_banner -nostats -i " + kMp3 +
                                        " -filter_complex ebur128=peak=true -f null - 2>&1");
    ASSERT_EQ(result.exit_code, 0) << result.out;
    std::string summary = result.out.substr(result.out.rfind("Summary:"));
    std::size_t integrated = summary.find("I:");
    std::size_t peak = summary.find("Peak:");
    ASSERT_NE(integrated, std::string::npos) << summary;
    ASSERT_NE(peak, std::string::npos) << summary;
    EXPECT_NEAR(std::atof(summary.c_str() + integrated + 2), -14.0, 1.0) << summary;
    EXPECT_LE(std::atof(summary.c_str() + peak + 5), -1.0) << summary;
}

TEST(SoundtrackTest, AudioIsTheRenderedLengthAndDoesNotClip) {
    const cMp3Decoder& audio = music();
    // The encoder's delay and padding are gone: exactly the rendered length.
    EXPECT_EQ(static_cast<int64_t>(audio.frames()), cScore::compose().audio_frames());
    int16_t peak = 0;
    for (int16_t s : audio.samples())
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
    EXPECT_LT(peak, 32767) << "clipped";
}
