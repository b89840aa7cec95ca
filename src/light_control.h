// Flashes laptop case lights on the beat: every beat picks the next of 16
// colours at full level, and the level then steps down until the next beat.
#pragma once

#include "platform/light_device.h"

#include <cstdint>

class cLightControl {
public:
    static constexpr int kColours = 16;
    static constexpr int kFullLevel = 7;
    // The level drops one step per this many milliseconds after a beat.
    static constexpr int kFadeStepMs = 50;

    // The process-wide control, on the platform's device.
    static cLightControl* instance();

    // The device must outlive the control.
    explicit cLightControl(iLightDevice* device) : m_device(device) {}

    // The 44-byte request for a colour index and level.
    static void build_request(int colour, int level,
                              std::uint8_t (&request)[iLightDevice::kRequestSize]);

    // Sends one request with the current colour; does nothing once the device
    // was found missing.
    void set_light(int level);
    // Next colour, full level.
    void beat();
    // Once per frame, with the frame's length.
    void fade_step(int frame_ms);

    bool m_present = true;
    int m_colour = 0;
    int m_level = 0;
    int m_fade_budget = 0; // ms since the last level change

private:
    iLightDevice* m_device;
};
