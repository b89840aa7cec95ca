#include "mp3_decoder.h"
#include "sound_module_sdl.h"
#include "test_support.h"
#include "timecode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr double kPi = 3.14159265358979323846;
// Frames of the main test tone: 1233.99 ms, so its length must round down.
constexpr int kToneFrames = 54419;

// A sine of `hz` at half scale on the first channel and one of 1.5 x `hz` on
// the second, so that swapped or shifted channels show.
std::vector<std::int16_t> make_tone(int rate, int channels, int frames, double hz) {
    std::vector<std::int16_t> pcm;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            pcm.push_back(std::int16_t(
                std::lround(16384.0 * std::sin(2.0 * kPi * hz * (1.0 + 0.5 * c) * i / rate))));
    return pcm;
}

void put_le(std::string* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out->push_back(char((value >> (8 * i)) & 0xFF));
}

std::string wav_bytes(const std::vector<std::int16_t>& pcm, int rate, int channels) {
    const std::uint32_t data_bytes = std::uint32_t(pcm.size() * 2);
    std::string wav = "RIFF";
    put_le(&wav, 36 + data_bytes, 4);
    wav += "WAVEfmt ";
    // Header size, integer PCM, channels, rate, bytes a second and a frame, 16 bits; each
    // with its width in bytes.
    const std::uint32_t ch = std::uint32_t(channels), hz = std::uint32_t(rate);
    const std::uint32_t fields[][2] = {{16, 4},          {1, 2},      {ch, 2}, {hz, 4},
                                       {hz * ch * 2, 4}, {ch * 2, 2}, {16, 2}};
    for (const auto& f : fields)
        put_le(&wav, f[0], int(f[1]));
    wav += "data";
    put_le(&wav, data_bytes, 4);
    for (std::int16_t sample : pcm)
        put_le(&wav, std::uint16_t(sample), 2);
    return wav;
}

// Encodes with lame, which records its delay and padding in an info frame.
std::string make_mp3(const std::string& name, const std::vector<std::int16_t>& pcm, int rate,
                     int channels, int kbps) {
    const std::string wav = write_temp_file(name + ".wav", wav_bytes(pcm, rate, channels));
    const std::string mp3 = write_temp_file(name + ".mp3", "");
    sCommandResult result =
        run_command("lame --quiet -b " + std::to_string(kbps) + " '" + wav + "' '" + mp3 + "'");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    return mp3;
}

struct sTestFiles {
    std::vector<std::int16_t> tone; // what tone44 was encoded from
    std::string tone44;             // 44 100 Hz stereo, kToneFrames frames
    std::string text;               // not audio
    std::string empty;
};

const sTestFiles& files() {
    static const sTestFiles made = [] {
        sTestFiles f;
        f.tone = make_tone(44100, 2, kToneFrames, 440.0);
        f.tone44 = make_mp3("tone44", f.tone, 44100, 2, 192);
        f.text = write_temp_file("not_music.mp3", "these are words, not MPEG audio frames\n");
        f.empty = write_temp_file("empty.mp3", "");
        return f;
    }();
    return made;
}

double rms_difference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += double(a[i] - b[i]) * double(a[i] - b[i]);
    return std::sqrt(sum / double(a.size()));
}
} // namespace

TEST(Mp3DecoderTest, GaplessDecodingGivesTheEncodedSamplesExactly) {
    cMp3Decoder decoder;
    ASSERT_EQ(decoder.decode_file(files().tone44), cMp3Decoder::DECODED) << decoder.error_detail();
    // Encoder delay and padding removed: the very frames that were encoded.
    EXPECT_EQ(decoder.frames(), std::size_t(kToneFrames));
    EXPECT_EQ(decoder.length_ms(), 1233);
    // Sample for sample in line with the input: coding noise is about 350,
    // a shift by one sample already makes about 1000, swapped channels far more.
    ASSERT_EQ(decoder.samples().size(), files().tone.size());
    EXPECT_LT(rms_difference(decoder.samples(), files().tone), 600.0);
}

TEST(Mp3DecoderTest, MissingAndUndecodableFilesAreToldApart) {
    cMp3Decoder decoder;
    ASSERT_EQ(decoder.decode_file(files().tone44), cMp3Decoder::DECODED);
    EXPECT_EQ(decoder.decode_file("/nonexistent/tonvik7.mp3"), cMp3Decoder::FILE_NOT_FOUND);
    // A failure keeps nothing of the file decoded before.
    EXPECT_TRUE(decoder.frames() == 0 && decoder.length_ms() == 0);
    EXPECT_EQ(decoder.decode_file(files().text), cMp3Decoder::NOT_DECODABLE);
    EXPECT_EQ(decoder.decode_file(files().empty), cMp3Decoder::NOT_DECODABLE);
}

TEST(Mp3DecoderTest, CutOffOrDamagedFileKeepsTheMusicBeforeTheDamageAndSaysWhereItEnds) {
    const std::string whole = read_file_bytes(files().tone44);
    std::string garbled = whole;
    garbled.replace(whole.size() / 2, 3000, 3000, '\x55');
    cMp3Decoder full;
    ASSERT_EQ(full.decode_file(files().tone44), cMp3Decoder::DECODED);
    cSoundModule_sdl module;
    module.set_output_enabled(false);
    // Cut at a frame boundary the file decodes to its end without an error;
    // garbled, the decoder loses the stream.
    for (const std::string& damaged :
         {write_temp_file("cut.mp3", whole.substr(0, whole.size() / 2)),
          write_temp_file("garbled.mp3", garbled)}) {
        SCOPED_TRACE(damaged);
        cMp3Decoder part;
        ASSERT_EQ(part.decode_file(damaged), cMp3Decoder::DECODED) << part.error_detail();
        ASSERT_TRUE(part.frames() > 0 && part.frames() < full.frames() * 3 / 4);
        EXPECT_TRUE(part.ended_early());
        // The part decoded is the start of the whole, not garbage.
        EXPECT_EQ(std::memcmp(part.samples().data(), full.samples().data(), part.samples().size()),
                  0);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        module.load(damaged);
        const std::string warning = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(warning.rfind("# warning, damaged music file " + damaged +
                                    ": the music ends at " + format_timecode(part.length_ms()) +
                                    " (",
                                0),
                  0u)
            << warning;
        EXPECT_EQ(module.length_ms(), part.length_ms());
    }
    // An info frame claiming 2^32 - 1 frames: the count is a hint only, so
    // the real audio decodes and the claim shows as damage.
    std::string huge = whole;
    const std::size_t info = huge.find("Info");
    ASSERT_NE(info, std::string::npos);
    ASSERT_TRUE(huge[info + 7] & 1); // the frame count is present
    huge.replace(info + 8, 4, 4, '\xFF');
    cMp3Decoder lied;
    ASSERT_EQ(lied.decode_memory(reinterpret_cast<const std::uint8_t*>(huge.data()), huge.size()),
              cMp3Decoder::DECODED);
    EXPECT_TRUE(lied.ended_early());
    EXPECT_GE(lied.frames(), full.frames());
}

// Runs without sound hardware; single tests pick another driver.
class SoundModuleTest : public testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }

    // Loads or plays with standard output captured; returns it.
    static std::string quietly(const std::function<void()>& step) {
        testing::internal::CaptureStdout();
        step();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(SoundModuleTest, WithoutOutputLoadsAndKnowsTheLengthButOpensNothing) {
    cSoundModule_sdl module;
    module.set_output_enabled(false);
    module.init();
    EXPECT_EQ(module.output_rate(), 0);
    EXPECT_EQ(quietly([&] { module.load(files().tone44); }),
              "# fmod loaded stream \"" + files().tone44 + "\" [length: 1233ms]\n");
    EXPECT_EQ(module.pcm().size(), std::size_t(kToneFrames) * 2);
    quietly([&] { module.play(); });
    EXPECT_EQ(module.m_stream_channel, 0);
    module.close();
    EXPECT_TRUE(module.length_ms() == 0 && module.pcm().empty());
}

TEST_F(SoundModuleTest, CloseIsHarmlessBeforeInitAndTwiceAndAllowsANewStart) {
    cSoundModule_sdl module;
    module.close();
    module.init();
    quietly([&] { module.load(files().tone44), module.play(); });
    EXPECT_NE(module.m_stream_channel, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // let the device run
    module.close();
    module.close();
    EXPECT_EQ(module.output_rate(), 0);
    module.init();
    EXPECT_EQ(module.output_rate(), 44100);
    quietly([&] { module.load(files().tone44); }); // the destructor closes it all
}

using SoundModuleDeathTest = SoundModuleTest;

TEST_F(SoundModuleDeathTest, MissingMusicOldVersionsNoOutputOrPlayWithoutMusicEndTheProcess) {
    cSoundModule_sdl module;
    module.set_output_enabled(false);
    EXPECT_EXIT(module.load("/nonexistent/tonvik7.mp3"), testing::ExitedWithCode(1),
                "^## ERROR: File not found: /nonexistent/tonvik7\\.mp3\n$");
    EXPECT_EXIT(module.load(files().text), testing::ExitedWithCode(1),
                "^## ERROR: Unknown file format: " + files().text + " \\(.+\\)\n$");
    cSoundModule_sdl::check_version(2, 0, 7);
    EXPECT_EXIT(cSoundModule_sdl::check_version(2, 0, 6), testing::ExitedWithCode(1),
                "^Error : You are using the wrong DLL version! You should be using FMOD 3\\.75\n$");
    EXPECT_DEATH(module.play(), "Assertion failed: m_module \\|\\| m_music_stream");
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
            module.set_output_enabled(true);
            module.init();
        },
        testing::ExitedWithCode(1), "^Error initializing output device\\.$");
}
