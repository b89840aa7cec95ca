// Plays the show's music once: the MP3 is decoded whole into memory and an
// SDL2 audio device plays it from the first sample, to the end, then silence.
// The timeline clock starts when `play` returns, so playback must begin at
// once and never pause or loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class cMp3Decoder;

class cSoundModule_sdl {
public:
    static constexpr const char* kMusicFile = "../data/music/tonvik7.mp3";
    // Oldest SDL2 release we accept: from 2.0.7 on, SDL converts 44 100 Hz
    // cleanly for devices that run at other rates.
    static constexpr int kMinSdlMajor = 2;
    static constexpr int kMinSdlMinor = 0;
    static constexpr int kMinSdlPatch = 7;
    // Sample frames per device buffer: about 23 ms, the delay between `play`
    // and the first sample reaching the device.
    static constexpr int kDeviceBufferFrames = 1024;

    enum eKind { KIND_STREAM = 0, KIND_MODULE = 1 };

    cSoundModule_sdl() = default;
    ~cSoundModule_sdl();
    cSoundModule_sdl(const cSoundModule_sdl&) = delete;
    cSoundModule_sdl& operator=(const cSoundModule_sdl&) = delete;

    // Without output, `init` checks the version but opens no device and `play`
    // starts nothing; loading works as usual (offline capture). Set before
    // `init`.
    void set_output_enabled(bool enabled) { m_output_enabled = enabled; }

    // Checks the SDL version and opens the audio device (paused); ends the
    // process with exit code 1 on failure. Does nothing when already done.
    void init();
    // Decodes the music file completely; ends the process with exit code 1
    // when the file is missing or is not MP3 audio.
    void load(const std::string& filename = kMusicFile);
    // Starts the music from its first sample.
    void play();
    // The makers' mode only: halts or resumes the output where it is, and
    // moves the playing position (clamped to the music). The show itself
    // never pauses or repositions the music.
    void set_paused(bool paused);
    void seek_ms(int ms);
    // Where playback is, in whole milliseconds of the music.
    int position_ms() const;
    // Stops the device and frees everything; harmless when nothing is open.
    void close();

    // Length of the loaded music in whole milliseconds; 0 before `load`.
    int length_ms() const;
    // The decoded music, 44 100 Hz interleaved stereo; empty before `load`.
    const std::vector<std::int16_t>& pcm() const;
    // Sample rate of the open device; 0 when none is open.
    int output_rate() const { return m_output_rate; }

    // Ends the process with the version message and exit code 1 when the
    // given SDL version is older than the minimum.
    static void check_version(int major, int minor, int patch);

    cMp3Decoder* m_music_stream = nullptr; // the decoded music, none until loaded
    void* m_module = nullptr;              // tracker songs: not supported here, stays none
    int m_stream_channel = 0;              // the device playing the stream, once started
    int m_kind = KIND_STREAM;

private:
    static void fill_callback(void* self, std::uint8_t* out, int bytes);
    void fill(std::uint8_t* out, std::size_t bytes);

    bool m_output_enabled = true;
    bool m_audio_started = false; // SDL's audio subsystem, started by `init`
    std::uint32_t m_device = 0;   // SDL audio device id, 0 when none
    int m_output_rate = 0;
    // Next sample to play; written by `play` and by the audio thread, which
    // runs the callback under the device lock.
    std::size_t m_position = 0;
};
