// The soundtrack's synthesizer: renders the score to stereo samples at
// 44 100 Hz. Every sound is made here (oscillators, filters, envelopes,
// noise drums), mixed with a kick-keyed pump, a ping-pong delay and a reverb.
// Rendering is deterministic: the same score gives the same samples.
#pragma once

#include <vector>

class cScore;

struct sStereo {
    std::vector<float> m_left;
    std::vector<float> m_right;
    std::size_t frames() const { return m_left.size(); }
};

class cSynth {
public:
    // The mix before mastering, score.audio_frames() long. When solo_track is
    // above 0 only that part is rendered (with its effect returns).
    static sStereo render(const cScore& score, int solo_track = 0);
};
