// The laptop case-light driver. Linux has no such driver, so the device is
// never present here; the interface lets tests stand in for a real one.
#pragma once

#include <cstddef>
#include <cstdint>

class iLightDevice {
public:
    static constexpr std::size_t kRequestSize = 44;
    enum eResult { SENT, NOT_PRESENT, FAILED };

    virtual ~iLightDevice() = default;
    // Opens the device, sends one request, closes it. On FAILED, *error_code
    // holds the system's error number.
    virtual eResult send(const std::uint8_t (&request)[kRequestSize],
                         unsigned long* error_code) = 0;
};

class cLightDevice_linux : public iLightDevice {
public:
    eResult send(const std::uint8_t (&request)[kRequestSize], unsigned long* error_code) override;
};
