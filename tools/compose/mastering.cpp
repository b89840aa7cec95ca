#include "mastering.h"

#include "score.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>

namespace {

struct sBiquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;
    double process(double x) {
        double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages for a sample rate: a high shelf of about +4 dB
// above 1.5 kHz and a high pass at 38 Hz.
void k_weighting(double rate, sBiquad& shelf, sBiquad& high_pass) {
    const double pi = 3.14159265358979323846;
    double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(pi * f0 / rate);
    double vh = std::pow(10.0, gain_db / 20.0);
    double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
             (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    f0 = 38.13547087602444;
    q = 0.5003270373238773;
    k = std::tan(pi * f0 / rate);
    a0 = 1.0 + k / q + k * k;
    high_pass = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

} // namespace

double cMastering::integrated_loudness(const sStereo& audio) {
    const std::size_t frames = audio.frames();
    const std::size_t hop = kSampleRate / 10; // 100 ms
    std::vector<double> hop_energy((frames + hop - 1) / hop, 0.0);
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<float>& x = channel ? audio.m_right : audio.m_left;
        sBiquad shelf{}, high_pass{};
        k_weighting(kSampleRate, shelf, high_pass);
        for (std::size_t i = 0; i < frames; ++i) {
            double y = high_pass.process(shelf.process(x[i]));
            hop_energy[i / hop] += y * y;
        }
    }
    std::vector<double> blocks; // mean square of each 400 ms block
    for (std::size_t h = 0; h + 4 <= hop_energy.size(); ++h)
        blocks.push_back(
            (hop_energy[h] + hop_energy[h + 1] + hop_energy[h + 2] + hop_energy[h + 3]) /
            (4.0 * hop));
    auto loudness = [](double mean_square) { return -0.691 + 10.0 * std::log10(mean_square); };
    auto gated_mean = [&](double threshold) {
        double sum = 0.0;
        int count = 0;
        for (double z : blocks)
            if (z > 0.0 && loudness(z) > threshold) {
                sum += z;
                ++count;
            }
        return count ? sum / count : 0.0;
    };
    double relative = gated_mean(-70.0);
    if (relative <= 0.0)
        return -HUGE_VAL;
    return loudness(gated_mean(loudness(relative) - 10.0));
}

double cMastering::sample_peak_db(const sStereo& audio) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < audio.frames(); ++i)
        peak = std::max({peak, std::fabs(audio.m_left[i]), std::fabs(audio.m_right[i])});
    return 20.0 * std::log10(std::max(peak, 1e-9f));
}

void cMastering::limit(sStereo& audio, double ceiling) {
    // Gain needed per frame, then the minimum over a 3 ms look-ahead, a
    // release of 80 ms and a moving average over the look-ahead: the average
    // of minima that all cover a frame stays below that frame's need, so no
    // sample passes the ceiling, and the gain has no steps.
    const std::size_t frames = audio.frames();
    const std::size_t window = kSampleRate * 3 / 1000;
    std::vector<float> need(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        float peak = std::max(std::fabs(audio.m_left[i]), std::fabs(audio.m_right[i]));
        need[i] = peak > ceiling ? static_cast<float>(ceiling / peak) : 1.0f;
    }
    std::vector<float> held(frames);
    std::deque<std::size_t> minima; // indices of increasing need over [i, i + window)
    std::size_t next = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        while (next < frames && next < i + window) {
            while (!minima.empty() && need[minima.back()] >= need[next])
                minima.pop_back();
            minima.push_back(next++);
        }
        while (minima.front() < i)
            minima.pop_front();
        held[i] = need[minima.front()];
    }
    const float release = 1.0f - std::exp(-1.0f / (0.08f * kSampleRate));
    float gain = 1.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        gain = std::min(held[i], gain + (1.0f - gain) * release);
        held[i] = gain;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        sum += held[i];
        if (i >= window)
            sum -= held[i - window];
        float g = static_cast<float>(sum / static_cast<double>(std::min(i + 1, window)));
        // The first frames average fewer minima; they only ever lie below 1.
        if (i + 1 < window)
            g = std::min(g, held[i]);
        audio.m_left[i] *= g;
        audio.m_right[i] *= g;
    }
}

double cMastering::master(sStereo& audio, double target_lufs, double ceiling_db) {
    const sStereo original = audio;
    const double ceiling = std::pow(10.0, ceiling_db / 20.0);
    double gain_db = target_lufs - integrated_loudness(audio);
    double reached = 0.0;
    for (int round = 0; round < 4; ++round) {
        audio = original;
        float gain = static_cast<float>(std::pow(10.0, gain_db / 20.0));
        for (std::size_t i = 0; i < audio.frames(); ++i) {
            audio.m_left[i] *= gain;
            audio.m_right[i] *= gain;
        }
        limit(audio, ceiling);
        reached = integrated_loudness(audio);
        if (std::fabs(reached - target_lufs) < 0.05)
            break;
        gain_db += target_lufs - reached;
    }
    return reached;
}

bool cMastering::write_wav(const sStereo& audio, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const uint32_t frames = static_cast<uint32_t>(audio.frames());
    const uint32_t data_bytes = frames * 4;
    auto u32 = [&](uint32_t v) {
        uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        std::fwrite(b, 1, 4, file);
    };
    auto u16 = [&](uint16_t v) {
        uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        std::fwrite(b, 1, 2, file);
    };
    std::fwrite("RIFF", 1, 4, file);
    u32(36 + data_bytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    u32(16);
    u16(1); // PCM
    u16(2);
    u32(kSampleRate);
    u32(kSampleRate * 4);
    u16(4);
    u16(16);
    std::fwrite("data", 1, 4, file);
    u32(data_bytes);
    uint32_t state = 22222;
    auto dither = [&]() {
        state = state * 1664525u + 1013904223u;
        float a = static_cast<float>(state >> 8) / 16777216.0f;
        state = state * 1664525u + 1013904223u;
        float b = static_cast<float>(state >> 8) / 16777216.0f;
        return a - b;
    };
    std::vector<int16_t> block;
    block.reserve(2 * 4096);
    for (uint32_t i = 0; i < frames; ++i) {
        for (float x : {audio.m_left[i], audio.m_right[i]}) {
            float s = std::round(x * 32767.0f + dither());
            block.push_back(static_cast<int16_t>(std::min(32767.0f, std::max(-32768.0f, s))));
        }
        if (block.size() >= 2 * 4096 || i + 1 == frames) {
            for (int16_t s : block)
                u16(static_cast<uint16_t>(s));
            block.clear();
        }
    }
    return std::fclose(file) == 0;
}
