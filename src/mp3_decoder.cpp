#include "mp3_decoder.h"

#include "read_file.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {
// Samples asked for per read: about 0.74 s of stereo.
constexpr std::size_t kChunkSamples = 65536;

struct sHandleDeleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using tHandle = std::unique_ptr<mpg123_handle, sHandleDeleter>;

void init_library() {
    // Needed before the first handle by older libmpg123 versions; a no-op in
    // newer ones. A function-local static runs it once, also across threads.
    static const int once = mpg123_init();
    (void)once;
}

// The file's bytes, handed to the decoder through its reader callbacks,
// which behave like POSIX read and lseek.
struct sMemoryReader {
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos;

    static mpg123_ssize_t read(void* self, void* out, std::size_t bytes) {
        sMemoryReader& r = *static_cast<sMemoryReader*>(self);
        const std::size_t count = std::min(bytes, r.m_size - r.m_pos);
        if (count)
            std::memcpy(out, r.m_data + r.m_pos, count);
        r.m_pos += count;
        return mpg123_ssize_t(count);
    }
    static off_t seek(void* self, off_t offset, int whence) {
        sMemoryReader& r = *static_cast<sMemoryReader*>(self);
        const off_t base = whence == SEEK_SET   ? 0
                           : whence == SEEK_CUR ? off_t(r.m_pos)
                           : whence == SEEK_END ? off_t(r.m_size)
                                                : -1;
        if (base < 0 || offset < -base || offset > off_t(r.m_size) - base)
            return -1;
        r.m_pos = std::size_t(base + offset);
        return off_t(r.m_pos);
    }
};

// Decoded frames per byte of file at the lowest standard bit rate (8 kbit/s,
// resampled to 44 100 Hz) with room to spare: the most that a file's size
// makes plausible.
constexpr std::size_t kFramesPerByte = 64;
} // namespace

cMp3Decoder::eResult cMp3Decoder::decode_file(const std::string& path) {
    std::vector<std::int16_t>().swap(m_samples);
    m_error_detail.clear();
    m_ended_early = false;
    std::vector<unsigned char> bytes;
    std::error_code error;
    // A folder or a pipe opens, but it is no music file.
    if (!std::filesystem::is_regular_file(path, error) || !read_file(path, &bytes)) {
        m_error_detail = "cannot open " + path;
        return FILE_NOT_FOUND;
    }
    return decode_memory(bytes.data(), bytes.size());
}

cMp3Decoder::eResult cMp3Decoder::decode_memory(const std::uint8_t* data, std::size_t size) {
    std::vector<std::int16_t>().swap(m_samples);
    m_error_detail.clear();
    m_ended_early = false;
    init_library();
    int error = MPG123_OK;
    tHandle handle(mpg123_new(nullptr, &error));
    if (!handle) {
        m_error_detail = mpg123_plain_strerror(error);
        return NOT_DECODABLE;
    }
    mpg123_handle* mh = handle.get();
    auto fail = [&](const char* what) {
        m_error_detail = std::string(what) + ": " + mpg123_strerror(mh);
        std::vector<std::int16_t>().swap(m_samples);
        return NOT_DECODABLE;
    };

    // Gapless: drop the encoder delay and padding that the encoder recorded in
    // its info frame. Quiet: the library must not print into our diagnostics.
    // Auto-resample: files at other rates come out at 44 100 Hz, so they
    // play at the right speed.
    if (mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_AUTO_RESAMPLE,
                     0.0) != MPG123_OK)
        return fail("setting up the decoder");
    // One output format only: mono is duplicated, other rates are converted.
    if (mpg123_format_none(mh) != MPG123_OK ||
        mpg123_format(mh, kRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK)
        return fail("setting the output format");
    sMemoryReader reader{data, size, 0};
    if (mpg123_replace_reader_handle(mh, &sMemoryReader::read, &sMemoryReader::seek, nullptr) !=
            MPG123_OK ||
        mpg123_open_handle(mh, &reader) != MPG123_OK)
        return fail("opening");

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK)
        return fail("reading the format");
    if (rate != kRate || channels != kChannels || encoding != MPG123_ENC_SIGNED_16)
        return fail("converting the format");

    // The expected length (exact when the file has an info frame) saves
    // growing the buffer while decoding; a wrong guess only costs time. The
    // info frame's count is the file's say-so, so no more is reserved than
    // the file's size can hold.
    const off_t expected = mpg123_length(mh);
    if (expected > 0)
        m_samples.reserve(std::min({std::size_t(expected), size * kFramesPerByte, kMaxFrames}) *
                              kChannels +
                          kChunkSamples);

    for (;;) {
        const std::size_t used = m_samples.size();
        if (used >= kMaxFrames * kChannels) {
            m_samples.resize(kMaxFrames * kChannels);
            m_error_detail = "cut at " + std::to_string(kMaxFrames / kRate / 60) +
                             " minutes, the longest piece played";
            m_ended_early = true;
            break;
        }
        m_samples.resize(used + kChunkSamples);
        std::size_t bytes = 0;
        const int result =
            mpg123_read(mh, reinterpret_cast<unsigned char*>(m_samples.data() + used),
                        kChunkSamples * sizeof(std::int16_t), &bytes);
        // Whole frames only, so left and right never swap.
        const std::size_t frame_bytes = kChannels * sizeof(std::int16_t);
        m_samples.resize(used + bytes / frame_bytes * kChannels);
        if (result == MPG123_DONE)
            break;
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT)
            continue;
        // A damaged stream: keep the music decoded so far rather than
        // losing the whole piece to a bad tail.
        if (m_samples.empty())
            return fail("decoding");
        m_error_detail = std::string("decoding stopped early: ") + mpg123_strerror(mh);
        m_ended_early = true;
        break;
    }
    if (m_samples.empty())
        return fail("decoding (no audio)");
    // A file cut off at a frame boundary decodes to its end without an error;
    // only the length in its info frame shows what is missing. Without an
    // info frame the expected length is an estimate from the file size, good
    // to a frame or two for constant bit rates, so small shortfalls are
    // no damage.
    if (!m_ended_early && expected > 0 && off_t(frames()) + kRate / 10 < expected) {
        m_error_detail = "the file holds " + std::to_string(std::int64_t(expected) * 1000 / kRate) +
                         " ms of music, but its audio ends after " + std::to_string(length_ms()) +
                         " ms";
        m_ended_early = true;
    }
    return DECODED;
}

int cMp3Decoder::length_ms() const {
    return int(std::int64_t(frames()) * 1000 / kRate);
}
