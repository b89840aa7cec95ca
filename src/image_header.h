// Reads an image file's size from its header, before any image library
// decodes it, and checks it against sane limits and the file's own size. An
// image library trusts the header's width and height for the buffers it
// allocates; a file claiming more pixels than anything the show draws, or
// more than its bytes can hold, is refused here instead. The show's images
// are PNG and JPEG files, so those are the formats known.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class eImageFormat { PNG, JPEG };

struct sImageHeader {
    eImageFormat m_format = eImageFormat::PNG;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    int m_bits_per_pixel = 0; // as stored
};

// The largest side and pixel count an image may have.
constexpr uint32_t IMAGE_MAX_SIDE = 16384;
constexpr uint64_t IMAGE_MAX_PIXELS = uint64_t(8192) * 8192;
// The largest file, so that its size fits the image library's 32-bit sizes.
constexpr std::size_t IMAGE_MAX_FILE = std::size_t(1) << 30;

// False for a file that is no PNG or JPEG image or claims a size it cannot
// have; *what then says why, without the file's name.
bool check_image_header(const uint8_t* data, std::size_t size, sImageHeader* header,
                        std::string* what);
