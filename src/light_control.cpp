#include "light_control.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <iostream>

cLightControl* cLightControl::instance() {
    static cLightDevice_linux device;
    static cLightControl control(&device);
    return &control;
}

void cLightControl::build_request(int colour, int level,
                                  std::uint8_t (&request)[iLightDevice::kRequestSize]) {
    std::memset(request, 0, sizeof request);
    request[0] = 4;
    request[1] = 0;
    request[2] = 6;
    request[3] = 0;
    request[4] = std::uint8_t(std::clamp(colour, 0, 15));
    request[5] = std::uint8_t(std::clamp(colour, 0, 16));
    request[6] = std::uint8_t(std::clamp(colour, 0, 16));
    request[7] = std::uint8_t(std::clamp(level, 0, 7));
    request[8] = 1;
}

void cLightControl::set_light(int level) {
    if (!m_present)
        return;
    std::uint8_t request[iLightDevice::kRequestSize];
    build_request(m_colour, level, request);
    unsigned long error_code = 0;
    switch (m_device->send(request, &error_code)) {
    case iLightDevice::NOT_PRESENT:
        std::cout << "xps not detected" << std::endl;
        m_present = false;
        break;
    case iLightDevice::FAILED:
        std::cout << "DeviceIoControl failed: 0x" << std::hex << error_code << std::dec << "\n";
        break;
    case iLightDevice::SENT:
        break;
    }
}

void cLightControl::beat() {
    m_colour = (m_colour + 1) % kColours;
    m_level = kFullLevel;
    m_fade_budget = 0;
    set_light(m_level);
}

void cLightControl::fade_step(int frame_ms) {
    if (m_level <= 0) {
        m_fade_budget = 0;
        return;
    }
    m_fade_budget += std::max(frame_ms, 0);
    if (m_fade_budget < kFadeStepMs)
        return;
    // One step at a time, however long the frame was.
    m_fade_budget -= kFadeStepMs;
    --m_level;
    set_light(m_level);
}
