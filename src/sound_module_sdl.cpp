#include "sound_module_sdl.h"

#include "debug.h"
#include "fmod_error.h"
#include "mp3_decoder.h"
#include "timecode.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {
// The version the message names is that of the sound library the show was
// first made with; the text stays as users know it.
constexpr float kNamedVersion = 3.75f;

// One line naming the file and why it cannot be played.
[[noreturn]] void fail(int code, const std::string& filename, const std::string& detail = "") {
    std::cerr << "## ERROR: " << FMOD_ErrorString(code) << ": " << filename;
    if (!detail.empty())
        std::cerr << " (" << detail << ")";
    std::cerr << std::endl;
    std::exit(1);
}

void report_unhandled(int line) {
    std::cerr << "## ERROR, unhandled case in "
              << "cSoundModule_sdl"
              << ", line: " << line << std::endl;
}
} // namespace

cSoundModule_sdl::~cSoundModule_sdl() {
    close();
}

void cSoundModule_sdl::check_version(int major, int minor, int patch) {
    const int version = SDL_VERSIONNUM(major, minor, patch);
    if (version >= SDL_VERSIONNUM(kMinSdlMajor, kMinSdlMinor, kMinSdlPatch))
        return;
    std::cerr << "Error : You are using the wrong DLL version! You should be using FMOD "
              << kNamedVersion << std::endl;
    std::exit(1);
}

void cSoundModule_sdl::init() {
    SDL_version linked;
    SDL_GetVersion(&linked);
    check_version(linked.major, linked.minor, linked.patch);
    if (!m_output_enabled || m_device)
        return;

    auto no_output = [] {
        std::cerr << FMOD_ErrorString(FMOD_ERR_INIT) << std::flush;
        std::exit(1);
    };
    if (!m_audio_started) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            no_output();
        m_audio_started = true;
    }
    // The whole piece is decoded into memory before it plays, so there is no
    // stream buffer to size; the device buffer stays short so that sound
    // starts right after `play`. SDL converts for devices that want another
    // format; output keeps running whatever window has the focus.
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = cMp3Decoder::kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = cMp3Decoder::kChannels;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = &cSoundModule_sdl::fill_callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    SDL_zero(obtained);
    // Devices open paused: nothing is heard until `play`.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!m_device)
        no_output();
    m_output_rate = obtained.freq;
}

void cSoundModule_sdl::load(const std::string& filename) {
    switch (m_kind) {
    case KIND_STREAM: {
        cMp3Decoder* stream = new cMp3Decoder;
        const cMp3Decoder::eResult result = stream->decode_file(filename);
        if (result != cMp3Decoder::DECODED) {
            const std::string detail = stream->error_detail();
            delete stream;
            if (result == cMp3Decoder::FILE_NOT_FOUND)
                fail(FMOD_ERR_FILE_NOTFOUND, filename);
            fail(FMOD_ERR_FILE_FORMAT, filename, detail);
        }
        cMp3Decoder* previous = m_music_stream;
        if (m_device)
            SDL_LockAudioDevice(m_device);
        m_music_stream = stream;
        m_position = 0;
        if (m_device)
            SDL_UnlockAudioDevice(m_device);
        delete previous;
        std::cout << "# fmod loaded stream \"" << filename << "\" [length: " << stream->length_ms()
                  << "ms]" << std::endl;
        // The show still runs on what could be decoded, but silence from
        // here on is no part of the music: say where it ends.
        if (stream->ended_early())
            std::cerr << "# warning, damaged music file " << filename << ": the music ends at "
                      << format_timecode(stream->length_ms()) << " (" << stream->error_detail()
                      << ") in cSoundModule_sdl::load" << std::endl;
        return;
    }
    case KIND_MODULE:
        // No tracker song format is supported: a file that exists is one of
        // an unknown format.
        fail(std::ifstream(filename).good() ? FMOD_ERR_FILE_FORMAT : FMOD_ERR_FILE_NOTFOUND,
             filename);
    default:
        report_unhandled(__LINE__);
        return;
    }
}

void cSoundModule_sdl::play() {
    VT_ASSERT(m_module || m_music_stream);
    switch (m_kind) {
    case KIND_STREAM:
        if (m_device) {
            SDL_LockAudioDevice(m_device);
            m_position = 0;
            SDL_UnlockAudioDevice(m_device);
            // The next device buffer starts with the first sample.
            SDL_PauseAudioDevice(m_device, 0);
            m_stream_channel = int(m_device);
        }
        break;
    case KIND_MODULE:
        break; // never loaded: `load` ends the process for this kind
    default:
        report_unhandled(__LINE__);
        break;
    }
    std::cout << "# fmod starting playback..." << std::endl;
}

void cSoundModule_sdl::set_paused(bool paused) {
    if (m_device)
        SDL_PauseAudioDevice(m_device, paused ? 1 : 0);
}

void cSoundModule_sdl::seek_ms(int ms) {
    const std::size_t total = pcm().size();
    const std::size_t frame = std::size_t(ms < 0 ? 0 : ms) * cMp3Decoder::kRate / 1000;
    const std::size_t position = std::min(frame * cMp3Decoder::kChannels, total);
    if (m_device)
        SDL_LockAudioDevice(m_device);
    m_position = position;
    if (m_device)
        SDL_UnlockAudioDevice(m_device);
}

int cSoundModule_sdl::position_ms() const {
    if (m_device)
        SDL_LockAudioDevice(m_device);
    const std::size_t position = m_position;
    if (m_device)
        SDL_UnlockAudioDevice(m_device);
    // To the nearest millisecond, so that a position set by seek_ms reads back
    // as it was given.
    const std::size_t frames = position / cMp3Decoder::kChannels;
    return int((frames * 1000 + cMp3Decoder::kRate / 2) / cMp3Decoder::kRate);
}

void cSoundModule_sdl::close() {
    if (m_device) {
        // Waits for a running callback to return; none runs afterwards.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_audio_started) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audio_started = false;
    }
    delete m_music_stream;
    m_music_stream = nullptr;
    m_module = nullptr;
    m_stream_channel = 0;
    m_output_rate = 0;
    m_position = 0;
}

int cSoundModule_sdl::length_ms() const {
    return m_music_stream ? m_music_stream->length_ms() : 0;
}

const std::vector<std::int16_t>& cSoundModule_sdl::pcm() const {
    static const std::vector<std::int16_t> none;
    return m_music_stream ? m_music_stream->samples() : none;
}

void cSoundModule_sdl::fill_callback(void* self, std::uint8_t* out, int bytes) {
    static_cast<cSoundModule_sdl*>(self)->fill(out, std::size_t(bytes));
}

void cSoundModule_sdl::fill(std::uint8_t* out, std::size_t bytes) {
    const std::vector<std::int16_t>& samples = pcm();
    const std::size_t wanted = bytes / sizeof(std::int16_t);
    const std::size_t left = m_position < samples.size() ? samples.size() - m_position : 0;
    const std::size_t count = std::min(wanted, left);
    if (count)
        std::memcpy(out, samples.data() + m_position, count * sizeof(std::int16_t));
    m_position += count;
    // After the end: silence (zero for signed 16-bit), never a repeat.
    std::memset(out + count * sizeof(std::int16_t), 0, bytes - count * sizeof(std::int16_t));
}
