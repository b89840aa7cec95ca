// Start-up cost of the music: decoding a whole 4-minute 44.1 kHz stereo MP3
// at 192 kbit/s into memory, as the music module does while the show loads.
#include "mp3_decoder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
// Removes the generated file when the program ends.
struct sTempFile {
    ~sTempFile() {
        if (!m_path.empty())
            std::remove(m_path.c_str());
    }
    std::string m_path;
};

// Made on first use with ffmpeg: a tone on the left and pink noise on the
// right, so that the decoder has real spectral content to unpack. Empty when
// ffmpeg fails.
const std::string& music_file() {
    static sTempFile file;
    static bool made = false;
    if (!made) {
        made = true;
        const char* base = std::getenv("TMPDIR");
        const std::string path = std::string(base && *base ? base : "/tmp") +
                                 "/vantrel-bench-music-" + std::to_string(getpid()) + ".mp3";
        const std::string command =
            "ffmpeg -nostdin -v error -y"
            " -f lavfi -i sine=frequency=220:sample_rate=44100:duration=240"
            " -f lavfi -i anoisesrc=color=pink:sample_rate=44100:duration=240:amplitude=0.3"
            " -filter_complex '[0:a][1:a]amerge=inputs=2[a]' -map '[a]'"
            " -c:a libmp3lame -b:a 192k '" +
            path + "'";
        const bool ok = std::system(command.c_str()) == 0;
        file.m_path = path;
        if (!ok) {
            std::remove(path.c_str());
            file.m_path.clear();
        }
    }
    return file.m_path;
}
} // namespace

static void BM_DecodeFourMinuteMp3(benchmark::State& state) {
    if (music_file().empty()) {
        state.SkipWithError("could not make the test MP3 with ffmpeg");
        return;
    }
    cMp3Decoder decoder;
    for (auto _ : state) {
        if (decoder.decode_file(music_file()) != cMp3Decoder::DECODED) {
            state.SkipWithError(decoder.error_detail().c_str());
            break;
        }
        benchmark::DoNotOptimize(decoder.samples().data());
    }
    state.counters["length_ms"] = decoder.length_ms();
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(decoder.samples().size() * sizeof(std::int16_t)));
}
BENCHMARK(BM_DecodeFourMinuteMp3)->Unit(benchmark::kMillisecond)->MinTime(2.0);
