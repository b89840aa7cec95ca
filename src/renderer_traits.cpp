#include "renderer_traits.h"

#include <cstring>
#include <iostream>

cRendererTraits* cRendererTraits::instance() {
    static cRendererTraits traits;
    return &traits;
}

void cRendererTraits::decide(const char* renderer, const char* override_value) {
    m_renderer = renderer && *renderer ? renderer : "unknown renderer";
    m_software = false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (renderer && std::strstr(renderer, name))
            m_software = true;
    m_overridden = false;
    if (override_value && *override_value) {
        if (std::strcmp(override_value, "software") == 0 ||
            std::strcmp(override_value, "gpu") == 0) {
            m_software = std::strcmp(override_value, "software") == 0;
            m_overridden = true;
        } else {
            std::cerr << "# WARNING: VANTREL_RASTERISER=" << override_value
                      << " is neither \"software\" nor \"gpu\"; ignored" << std::endl;
        }
    }
}

std::string cRendererTraits::summary() const {
    return m_renderer +
           (m_software ? ": software rasteriser, points on the CPU" : ": GPU, points as sprites") +
           (m_overridden ? " (VANTREL_RASTERISER)" : "");
}
