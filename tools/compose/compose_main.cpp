// vantrel-compose: writes the soundtrack's files from the score.
//
//   vantrel-compose --midi data/music/tonvik7.mid --markers data/script/markers.txt
//   vantrel-compose --wav /tmp/tonvik7.wav          # render and master the audio
//   vantrel-compose --render-midi /tmp/tonvik7_gm.mid   # the notes for a GM player
//   vantrel-compose --wav /tmp/bass.wav --solo 2     # one part alone, unmastered
#include "marker_writer.h"
#include "mastering.h"
#include "score.h"
#include "smf_writer.h"
#include "synth.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr double kTargetLufs = -14.0;
// Sample peaks stay 3 dB below full scale, which leaves room for the peaks
// between samples and for the MP3 encoder's overshoot under the -1 dBTP limit.
constexpr double kCeilingDb = -3.0;

bool write_file(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "vantrel-compose: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("wrote %s\n", path.c_str());
    return true;
}

int usage() {
    std::fprintf(stderr, "usage: vantrel-compose [--midi FILE] [--markers FILE] "
                         "[--render-midi FILE] [--wav FILE [--solo TRACK]]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string midi_path, markers_path, render_midi_path, wav_path;
    int solo = 0;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc)
            return usage();
        std::string value = argv[++i];
        if (option == "--midi")
            midi_path = value;
        else if (option == "--markers")
            markers_path = value;
        else if (option == "--render-midi")
            render_midi_path = value;
        else if (option == "--wav")
            wav_path = value;
        else if (option == "--solo")
            solo = std::atoi(value.c_str());
        else
            return usage();
    }
    if (midi_path.empty() && markers_path.empty() && render_midi_path.empty() && wav_path.empty())
        return usage();

    const cScore score = cScore::compose();
    if (!midi_path.empty()) {
        std::vector<uint8_t> bytes = write_sync_midi(score);
        if (!write_file(midi_path, bytes.data(), bytes.size()))
            return 1;
    }
    if (!render_midi_path.empty()) {
        std::vector<uint8_t> bytes = write_render_midi(score);
        if (!write_file(render_midi_path, bytes.data(), bytes.size()))
            return 1;
    }
    if (!markers_path.empty()) {
        std::string text = write_marker_script(score);
        if (!write_file(markers_path, text.data(), text.size()))
            return 1;
    }
    if (!wav_path.empty()) {
        sStereo audio = cSynth::render(score, solo);
        std::printf("mix: %.2f LUFS, sample peak %.2f dBFS\n",
                    cMastering::integrated_loudness(audio), cMastering::sample_peak_db(audio));
        if (solo == 0) {
            double reached = cMastering::master(audio, kTargetLufs, kCeilingDb);
            std::printf("mastered: %.2f LUFS, sample peak %.2f dBFS, %zu frames\n", reached,
                        cMastering::sample_peak_db(audio), audio.frames());
        }
        if (!cMastering::write_wav(audio, wav_path)) {
            std::fprintf(stderr, "vantrel-compose: cannot write %s\n", wav_path.c_str());
            return 1;
        }
        std::printf("wrote %s\n", wav_path.c_str());
    }
    return 0;
}
