// Mastering of the rendered mix: loudness measurement after ITU-R BS.1770
// (the measure of ffmpeg's ebur128 filter), a look-ahead peak limiter, and
// 16-bit WAV output.
#pragma once

#include "synth.h"

#include <string>

class cMastering {
public:
    // Integrated loudness in LUFS (K-weighting, 400 ms blocks with 75 %
    // overlap, absolute gate at -70 LUFS, relative gate 10 LU below).
    static double integrated_loudness(const sStereo& audio);
    // Highest absolute sample value, in dB full scale.
    static double sample_peak_db(const sStereo& audio);
    // Scales the mix to the target loudness while the limiter keeps every
    // sample at or below the ceiling; a few rounds, since limiting costs a
    // little loudness. Returns the loudness reached.
    static double master(sStereo& audio, double target_lufs, double ceiling_db);
    // 16-bit PCM WAV with triangular dither; false when the file cannot be written.
    static bool write_wav(const sStereo& audio, const std::string& path);

private:
    static void limit(sStereo& audio, double ceiling);
};
