#include "synth.h"

#include "score.h"

#include "math/clamp01.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kRate = static_cast<float>(kSampleRate);

// Deterministic white noise, one generator per note.
class cNoise {
public:
    explicit cNoise(uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
    float next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) * (2.0f / 16777216.0f) - 1.0f;
    }

private:
    uint32_t m_state;
};

// Band-limited sawtooth (polyBLEP) with phase in [0, 1).
class cSaw {
public:
    explicit cSaw(double phase = 0.0) : m_phase(phase) {}
    float next(double freq) {
        double dt = freq / kSampleRate;
        double t = m_phase;
        double v = 2.0 * t - 1.0 - blep(t, dt);
        m_phase += dt;
        if (m_phase >= 1.0)
            m_phase -= 1.0;
        return static_cast<float>(v);
    }
    // A square wave from two saws half a period apart.
    float next_square(double freq) {
        double dt = freq / kSampleRate;
        double t2 = m_phase + 0.5;
        if (t2 >= 1.0)
            t2 -= 1.0;
        double other = 2.0 * t2 - 1.0 - blep(t2, dt);
        return next(freq) - static_cast<float>(other);
    }

private:
    static double blep(double t, double dt) {
        if (t < dt) {
            t /= dt;
            return t + t - t * t - 1.0;
        }
        if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }
    double m_phase;
};

// State-variable filter (topology-preserving transform): low, band and high
// pass outputs from one structure, stable under fast cutoff changes.
class cSvf {
public:
    void set(float cutoff, float q) {
        cutoff = std::min(std::max(cutoff, 20.0f), kRate * 0.45f);
        m_g = std::tan(static_cast<float>(kPi) * cutoff / kRate);
        m_k = 1.0f / q;
        m_a1 = 1.0f / (1.0f + m_g * (m_g + m_k));
        m_a2 = m_g * m_a1;
        m_a3 = m_g * m_a2;
    }
    void process(float in) {
        float v3 = in - m_ic2;
        float v1 = m_a1 * m_ic1 + m_a2 * v3;
        float v2 = m_ic2 + m_a2 * m_ic1 + m_a3 * v3;
        m_ic1 = 2.0f * v1 - m_ic1;
        m_ic2 = 2.0f * v2 - m_ic2;
        low = v2;
        band = v1;
        high = in - m_k * v1 - v2;
    }
    float low = 0, band = 0, high = 0;

private:
    float m_ic1 = 0, m_ic2 = 0, m_g = 0, m_k = 1, m_a1 = 0, m_a2 = 0, m_a3 = 0;
};

double note_freq(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// Linear attack, hold while the note is down, exponential release after it.
float gate_env(float t, float length, float attack, float release) {
    float a = attack > 0 ? clamp01(t / attack) : 1.0f;
    return t < length ? a : a * std::exp(-(t - length) / release);
}

// One note rendered on its own, before its part's level, pan and sends.
struct sVoice {
    std::vector<float> m_left, m_right;
    bool m_stereo = false;
};

// How each part sits in the mix.
struct sPartMix {
    float m_gain;
    float m_pan;   // -1 left .. 1 right
    bool m_pumped; // ducked by the kick
    float m_delay;
    float m_reverb;
};

const sPartMix kMix[TRACK_COUNT] = {
    {0, 0, false, 0, 0},                 // tempo
    {0.46f, 0, false, 0, 0.02f},         // kick
    {0.61f, 0, true, 0, 0},              // bass
    {0.30f, 0.3f, false, 0.05f, 0.06f},  // hats
    {0.28f, -0.1f, true, 0.3f, 0.2f},    // stabs
    {0.157f, 0, true, 0, 0.35f},         // pads
    {0.55f, 0, false, 0, 0.3f},          // drop
    {0.30f, 0, false, 0, 0.4f},          // white burst
    {0.20f, -0.35f, true, 0.45f, 0.15f}, // arpeggio
    {0.25f, 0.05f, false, 0.3f, 0.25f},  // lead
    {0.53f, 0.05f, false, 0.05f, 0.22f}, // clap, snare
    {0.15f, 0, false, 0, 0.3f},          // fx
    {0.19f, 0.25f, false, 0.3f, 0.5f},   // bells
};

void render_voice(const sScoreNote& n, uint32_t seed, sVoice& voice) {
    const float d = static_cast<float>(cScore::tick_to_seconds(n.m_length));
    const float v = n.m_velocity / 127.0f;
    const double f = note_freq(n.m_pitch);
    cNoise noise(seed);
    cNoise noise2(seed ^ 0x9E3779B9u);
    cSvf f1, f2;
    float tail = 0.2f;
    switch (n.m_track) {
    case TRACK_KICK:
        tail = 0.6f;
        break;
    case TRACK_BASS:
        tail = d + 0.08f;
        break;
    case TRACK_HATS:
        tail = n.m_pitch == PITCH_HAT_OPEN ? 0.5f : 0.12f;
        break;
    case TRACK_STAB:
        tail = d + 0.4f;
        break;
    case TRACK_PAD:
        tail = d + 1.5f;
        break;
    case TRACK_DROP:
        tail = d + 1.0f;
        break;
    case TRACK_WHITE:
        tail = 2.5f;
        break;
    case TRACK_ARP:
        tail = 0.4f;
        break;
    case TRACK_LEAD:
        tail = d + 0.5f;
        break;
    case TRACK_CLAP:
        tail = 0.45f;
        break;
    case TRACK_FX:
        tail = n.m_pitch == PITCH_CRASH ? 3.0f : d + 0.02f;
        break;
    case TRACK_BELL:
        tail = 2.5f;
        break;
    }
    const int frames = static_cast<int>(tail * kRate);
    voice.m_left.assign(frames, 0.0f);
    voice.m_right.assign(frames, 0.0f);
    voice.m_stereo = false;
    cSaw s1(0.0), s2(0.31), s3(0.67), s4(0.13);
    double phase = 0.0;

    for (int i = 0; i < frames; ++i) {
        const float t = i / kRate;
        const bool control = (i & 15) == 0; // filter cutoffs change every 16 samples
        float l = 0.0f, r = 0.0f;
        switch (n.m_track) {
        case TRACK_KICK: {
            double freq = 46.0 + 150.0 * std::exp(-t / 0.025) + 30.0 * std::exp(-t / 0.12);
            phase += freq / kSampleRate;
            float amp = clamp01(t / 0.0015f) * std::exp(-t * 5.0f);
            float body = std::tanh(1.8f * static_cast<float>(std::sin(2.0 * kPi * phase)));
            l = v * (body * amp + 0.3f * noise.next() * std::exp(-t * 350.0f));
            break;
        }
        case TRACK_BASS: {
            float cutoff;
            float q = 1.1f;
            if (n.m_variant == VARIANT_WOBBLE) {
                // Eighth-note wobble: the "bwab" of the breakdown.
                double lfo = 0.5 - 0.5 * std::cos(2.0 * kPi * t * (1000.0 / 240.0));
                cutoff = 150.0f + 1700.0f * static_cast<float>(lfo);
                q = 3.0f;
            } else {
                cutoff = 140.0f + 1200.0f * v * std::exp(-t * 11.0f);
            }
            if (control)
                f1.set(cutoff, q);
            float osc = 0.6f * s1.next(f) + 0.55f * static_cast<float>(std::sin(2.0 * kPi * phase));
            phase += f / kSampleRate;
            f1.process(osc);
            l = v * std::tanh(1.6f * f1.low) * gate_env(t, d, 0.003f, 0.015f);
            break;
        }
        case TRACK_HATS: {
            if (i == 0) {
                f1.set(7000.0f, 0.7f);
                f2.set(9000.0f, 0.7f);
            }
            f1.process(noise.next());
            f2.process(f1.high);
            float decay = n.m_pitch == PITCH_HAT_OPEN ? 7.0f : 45.0f;
            l = v * f2.high * std::exp(-t * decay) * clamp01(t / 0.0008f);
            break;
        }
        case TRACK_STAB: {
            if (control)
                f1.set(450.0f + 4200.0f * std::exp(-t * 13.0f), 1.6f);
            float osc = s1.next(f * 0.996) + s2.next(f * 1.004) + 0.5f * s3.next_square(f * 0.5);
            f1.process(0.4f * osc);
            l = v * f1.low * std::exp(-t * 6.0f) * gate_env(t, d + 0.05f, 0.002f, 0.03f);
            break;
        }
        case TRACK_PAD: {
            voice.m_stereo = true;
            if (control) {
                float cutoff = 900.0f + 900.0f * v + 250.0f * static_cast<float>(std::sin(0.9 * t));
                f1.set(cutoff, 0.8f);
                f2.set(cutoff, 0.8f);
            }
            f1.process(0.5f * (s1.next(f * 0.996) + s2.next(f * 1.0015)));
            f2.process(0.5f * (s3.next(f * 1.004) + s4.next(f * 0.9985)));
            float amp = v * gate_env(t, d, 0.35f, 0.45f);
            l = f1.low * amp;
            r = f2.low * amp;
            break;
        }
        case TRACK_DROP: {
            // Downlifter: a falling noise sweep over a sub that drops away,
            // with a low rumble underneath.
            if (control) {
                f1.set(6000.0f * std::exp(-t * 2.0f) + 150.0f, 2.0f);
                f2.set(110.0f, 0.7f);
            }
            f1.process(noise.next());
            f2.process(noise2.next());
            double freq = 28.0 + 70.0 * std::exp(-t * 1.3);
            phase += freq / kSampleRate;
            float sub = static_cast<float>(std::sin(2.0 * kPi * phase)) * std::exp(-t * 1.0f);
            l = v *
                (0.5f * f1.band * std::exp(-t * 0.9f) + 0.8f * sub +
                 0.6f * f2.low * std::exp(-t * 0.8f)) *
                clamp01(t / 0.005f) * gate_env(t, d, 0.0f, 0.3f);
            break;
        }
        case TRACK_WHITE: {
            // A bright burst of noise with a rising whistle.
            voice.m_stereo = true;
            if (i == 0) {
                f1.set(1500.0f, 0.7f);
                f2.set(1500.0f, 0.7f);
            }
            f1.process(noise.next());
            f2.process(noise2.next());
            phase += (2000.0 + 6000.0 * t / 2.5) / kSampleRate;
            float whistle = 0.15f * static_cast<float>(std::sin(2.0 * kPi * phase));
            float amp = v * clamp01(t / 0.003f) * std::exp(-t * 2.2f);
            l = (f1.high + whistle) * amp;
            r = (f2.high + whistle) * amp;
            break;
        }
        case TRACK_ARP: {
            if (control)
                f1.set(300.0f + 5000.0f * v * v * std::exp(-t * 12.0f), 1.3f);
            f1.process(0.5f * s1.next_square(f));
            l = v * f1.low * std::exp(-t * 9.0f) * gate_env(t, std::min(d, 0.12f), 0.001f, 0.05f);
            break;
        }
        case TRACK_LEAD: {
            float depth = clamp01((t - 0.15f) / 0.2f) * 0.004f;
            double vib = 1.0 + depth * std::sin(2.0 * kPi * 5.5 * t);
            if (control)
                f1.set(1600.0f + 2800.0f * std::exp(-t * 5.0f), 1.2f);
            float osc = s1.next(f * 0.9965 * vib) + s2.next(f * 1.0035 * vib) +
                        0.4f * s3.next_square(f * 0.5 * vib);
            f1.process(0.4f * osc);
            l = v * f1.low * gate_env(t, d, 0.008f, 0.12f);
            break;
        }
        case TRACK_CLAP: {
            if (n.m_pitch == PITCH_SNARE) {
                if (i == 0)
                    f1.set(1800.0f, 0.7f);
                f1.process(noise.next());
                float tone = static_cast<float>(std::sin(2.0 * kPi * 190.0 * t));
                l = v *
                    (0.45f * tone * std::exp(-t * 28.0f) + 0.8f * f1.high * std::exp(-t * 16.0f));
            } else {
                if (i == 0)
                    f1.set(1150.0f, 1.1f);
                f1.process(noise.next());
                float env = 0.0f;
                for (int k = 0; k < 3; ++k) {
                    float tk = t - 0.0095f * k;
                    if (tk >= 0)
                        env += 0.6f * std::exp(-tk * 230.0f);
                }
                if (t > 0.019f)
                    env += 0.8f * std::exp(-(t - 0.019f) * 13.0f);
                l = v * 1.6f * f1.band * env;
            }
            break;
        }
        case TRACK_FX: {
            voice.m_stereo = true;
            if (n.m_pitch == PITCH_CRASH) {
                if (i == 0) {
                    f1.set(4500.0f, 0.7f);
                    f2.set(4500.0f, 0.7f);
                }
                f1.process(noise.next());
                f2.process(noise2.next());
                float amp = v * clamp01(t / 0.002f) * std::exp(-t * 1.5f);
                l = f1.high * amp;
                r = f2.high * amp;
            } else {
                // Riser: a band of noise climbing 300 Hz -> 9 kHz as it swells.
                float x = clamp01(t / d);
                if (control) {
                    f1.set(300.0f * std::pow(30.0f, x), 2.5f);
                    f2.set(310.0f * std::pow(30.0f, x), 2.5f);
                }
                f1.process(noise.next());
                f2.process(noise2.next());
                float amp = v * x * x * gate_env(t, d, 0.0f, 0.005f);
                l = f1.band * amp;
                r = f2.band * amp;
            }
            break;
        }
        case TRACK_BELL: {
            double mod = 1.4 * std::exp(-t * 3.0) * std::sin(2.0 * kPi * 3.5 * f * t);
            float tone = static_cast<float>(std::sin(2.0 * kPi * f * t + mod));
            float partial = 0.25f * static_cast<float>(std::sin(2.0 * kPi * 2.0 * f * t));
            l = v * (tone * std::exp(-t * 2.0f) + partial * std::exp(-t * 4.0f)) *
                clamp01(t / 0.002f);
            break;
        }
        }
        voice.m_left[i] = l;
        voice.m_right[i] = voice.m_stereo ? r : l;
    }
}

// Freeverb-style reverb: eight damped combs and four allpasses per side.
class cReverb {
public:
    cReverb() {
        static const int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static const int allpasses[4] = {556, 441, 341, 225};
        for (int side = 0; side < 2; ++side) {
            int spread = side * 23;
            for (int k = 0; k < 8; ++k)
                m_comb[side][k].assign(combs[k] + spread, 0.0f);
            for (int k = 0; k < 4; ++k)
                m_allpass[side][k].assign(allpasses[k] + spread, 0.0f);
        }
    }
    void process(float in, float& out_left, float& out_right) {
        float input = in * 0.015f;
        float* outs[2] = {&out_left, &out_right};
        for (int side = 0; side < 2; ++side) {
            float sum = 0.0f;
            for (int k = 0; k < 8; ++k) {
                std::vector<float>& buf = m_comb[side][k];
                std::size_t& pos = m_comb_pos[side][k];
                float out = buf[pos];
                m_store[side][k] = out * (1.0f - kDamp) + m_store[side][k] * kDamp;
                buf[pos] = input + m_store[side][k] * kRoom;
                pos = pos + 1 == buf.size() ? 0 : pos + 1;
                sum += out;
            }
            for (int k = 0; k < 4; ++k) {
                std::vector<float>& buf = m_allpass[side][k];
                std::size_t& pos = m_allpass_pos[side][k];
                float delayed = buf[pos];
                float out = delayed - sum;
                buf[pos] = sum + delayed * 0.5f;
                pos = pos + 1 == buf.size() ? 0 : pos + 1;
                sum = out;
            }
            *outs[side] = sum;
        }
    }

private:
    static constexpr float kRoom = 0.86f;
    static constexpr float kDamp = 0.35f;
    std::vector<float> m_comb[2][8];
    std::vector<float> m_allpass[2][4];
    std::size_t m_comb_pos[2][8] = {};
    std::size_t m_allpass_pos[2][4] = {};
    float m_store[2][8] = {};
};

} // namespace

sStereo cSynth::render(const cScore& score, int solo_track) {
    const std::size_t frames = static_cast<std::size_t>(score.audio_frames());
    std::vector<float> dry_l(frames), dry_r(frames), pump_l(frames), pump_r(frames);
    std::vector<float> delay_send(frames), reverb_l(frames), reverb_r(frames);
    std::vector<float> pump(frames, 1.0f);

    auto start_frame = [](uint32_t tick) {
        return static_cast<std::size_t>(std::llround(cScore::tick_to_seconds(tick) * kSampleRate));
    };

    // The pump: pumped parts dip under every kick and swell back.
    for (const sScoreNote& n : score.notes()) {
        if (n.m_track != TRACK_KICK)
            continue;
        std::size_t s0 = start_frame(n.m_tick);
        for (std::size_t i = 0; i < static_cast<std::size_t>(0.45f * kRate) && s0 + i < frames;
             ++i) {
            float t = i / kRate;
            float shape = t < 0.004f ? t / 0.004f : std::exp(-(t - 0.004f) / 0.11f);
            pump[s0 + i] = std::min(pump[s0 + i], 1.0f - 0.5f * shape);
        }
    }

    sVoice voice;
    uint32_t seed = 1;
    for (const sScoreNote& n : score.notes()) {
        ++seed;
        if (solo_track > 0 && n.m_track != solo_track)
            continue;
        render_voice(n, seed, voice);
        const sPartMix& mix = kMix[n.m_track];
        float gain_l = mix.m_gain * std::sqrt(0.5f * (1.0f - mix.m_pan)) * 1.41421356f;
        float gain_r = mix.m_gain * std::sqrt(0.5f * (1.0f + mix.m_pan)) * 1.41421356f;
        std::vector<float>& out_l = mix.m_pumped ? pump_l : dry_l;
        std::vector<float>& out_r = mix.m_pumped ? pump_r : dry_r;
        std::size_t s0 = start_frame(n.m_tick);
        for (std::size_t i = 0; i < voice.m_left.size() && s0 + i < frames; ++i) {
            float l = voice.m_left[i] * gain_l;
            float r = voice.m_right[i] * gain_r;
            out_l[s0 + i] += l;
            out_r[s0 + i] += r;
            delay_send[s0 + i] += mix.m_delay * 0.5f * (l + r);
            reverb_l[s0 + i] += mix.m_reverb * l;
            reverb_r[s0 + i] += mix.m_reverb * r;
        }
    }

    // Ping-pong delay of a dotted eighth, darker on every repeat.
    const std::size_t delay = static_cast<std::size_t>(
        std::llround(cScore::tick_to_seconds(3 * kTicksPer16th) * kSampleRate));
    std::vector<float> echo_l(frames), echo_r(frames);
    float lp_l = 0.0f, lp_r = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        float back_l = i >= delay ? echo_l[i - delay] : 0.0f;
        float back_r = i >= delay ? echo_r[i - delay] : 0.0f;
        lp_l += 0.45f * (back_r - lp_l);
        lp_r += 0.45f * (back_l - lp_r);
        echo_l[i] = delay_send[i] + 0.38f * lp_l;
        echo_r[i] = 0.38f * lp_r;
    }

    sStereo out;
    out.m_left.resize(frames);
    out.m_right.resize(frames);
    cReverb reverb;
    for (std::size_t i = 0; i < frames; ++i) {
        float echo_out_l = i >= delay ? echo_l[i - delay] : 0.0f;
        float echo_out_r = i >= delay ? echo_r[i - delay] : 0.0f;
        float wet_l, wet_r;
        reverb.process(reverb_l[i] + reverb_r[i] + 0.3f * (echo_out_l + echo_out_r), wet_l, wet_r);
        out.m_left[i] = dry_l[i] + pump[i] * pump_l[i] + 0.6f * echo_out_l + wet_l;
        out.m_right[i] = dry_r[i] + pump[i] * pump_r[i] + 0.6f * echo_out_r + wet_r;
    }
    return out;
}
