#include "platform/light_device.h"

iLightDevice::eResult cLightDevice_linux::send(const std::uint8_t (&)[kRequestSize],
                                               unsigned long*) {
    // The vendor's lighting driver exists only on the laptops' own system.
    return NOT_PRESENT;
}
