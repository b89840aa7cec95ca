// Decodes a whole MP3 file into memory: 44 100 Hz interleaved stereo 16-bit
// PCM, whatever the file's own rate and channel count (libmpg123 converts).
// Encoder delay and padding recorded by the encoder are removed, so the
// samples start with the first sample that was encoded and the length is
// exact. Nothing here touches an audio device, so decoding can be done (and
// tested, and timed) on its own or moved to another thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class cMp3Decoder {
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    enum eResult {
        DECODED,
        FILE_NOT_FOUND, // cannot be opened for reading
        NOT_DECODABLE,  // opened, but holds no MPEG audio that decodes
    };

    // The longest piece kept: decoding stops there (ended_early() then says
    // so), so that no file can make the decoder take all memory.
    static constexpr std::size_t kMaxFrames = std::size_t(kRate) * 60 * 60;

    // Replaces what was decoded before. On failure nothing is kept.
    eResult decode_file(const std::string& path);
    // The same for a whole file's bytes (never FILE_NOT_FOUND).
    eResult decode_memory(const std::uint8_t* data, std::size_t size);

    // Interleaved left/right samples.
    const std::vector<std::int16_t>& samples() const { return m_samples; }
    // Sample frames (one left and one right sample each).
    std::size_t frames() const { return m_samples.size() / kChannels; }
    // Whole milliseconds, rounded down.
    int length_ms() const;
    // The decoding library's reason for the last failure, for diagnostics.
    const std::string& error_detail() const { return m_error_detail; }
    // True when the file was decoded but its audio stopped before the end
    // that the file itself gives (a damaged or cut-off file): what came
    // before is kept, and error_detail() says what happened.
    bool ended_early() const { return m_ended_early; }

private:
    std::vector<std::int16_t> m_samples;
    std::string m_error_detail;
    bool m_ended_early = false;
};
