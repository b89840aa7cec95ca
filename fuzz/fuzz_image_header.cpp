// libFuzzer target for the image header check that runs before the image
// library sees a file.
#include "image_header.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sImageHeader header;
    std::string what;
    if (check_image_header(data, size, &header, &what)) {
        // What passes is within the limits the texture code relies on.
        if (header.m_width == 0 || header.m_height == 0 || header.m_width > IMAGE_MAX_SIDE ||
            header.m_height > IMAGE_MAX_SIDE ||
            uint64_t(header.m_width) * header.m_height > IMAGE_MAX_PIXELS)
            std::abort();
    } else if (what.empty()) {
        std::abort(); // every refusal says why
    }
    return 0;
}
