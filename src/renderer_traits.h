// What the GL driver is good at, decided once at GL start-up: whether it is a
// software rasteriser. A software rasteriser spends far longer on every point
// it draws than the CPU takes to add the same point into an image, so there
// the round points are added on the CPU; elsewhere the GPU draws them.
#pragma once

#include <string>

class cRendererTraits {
public:
    static cRendererTraits* instance();

    // Decides from the driver's GL_RENDERER string, unless override_value
    // (the VANTREL_RASTERISER environment variable: "software" or "gpu")
    // names the choice. Any other override is reported and ignored.
    void decide(const char* renderer, const char* override_value);

    bool software_rasteriser() const { return m_software; }
    // One line for the capture's and the profile's headers, for example
    // "llvmpipe (LLVM 15.0.6, 256 bits): software rasteriser, points on the CPU".
    std::string summary() const;

private:
    std::string m_renderer = "unknown renderer";
    bool m_software = false;
    bool m_overridden = false;
};
