#include "image_header.h"

#include <cstring>

namespace {
uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint16_t be16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}

bool refuse(std::string* what, const std::string& text) {
    *what = text;
    return false;
}

// PNG: the signature, then the IHDR chunk with width, height, bit depth and
// colour type.
bool read_png(const uint8_t* data, std::size_t size, sImageHeader* header, std::string* what) {
    if (size < 8 + 8 + 13 + 4 || be32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return refuse(what, "PNG file without its image header");
    header->m_width = be32(data + 16);
    header->m_height = be32(data + 20);
    const int depth = data[24];
    const int colour_type = data[25];
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4}; // by colour type; 0: none such
    if (colour_type > 6 || kChannels[colour_type] == 0 ||
        (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16))
        return refuse(what, "PNG file with colour type " + std::to_string(colour_type) +
                                " and bit depth " + std::to_string(depth));
    header->m_bits_per_pixel = kChannels[colour_type] * depth;
    // Every chunk must lie inside the file, up to the end chunk: the image
    // library's reader does not report the end of the file, so a chunk cut
    // off there would be read on and on.
    for (std::size_t pos = 8;;) {
        if (size - pos < 12)
            return refuse(what, "PNG file cut off after " + std::to_string(pos) + " bytes");
        const uint32_t length = be32(data + pos);
        if (length > 0x7FFFFFFFu || length > size - pos - 12)
            return refuse(what, "PNG file with a chunk of " + std::to_string(length) +
                                    " bytes at byte " + std::to_string(pos) + ", past its end");
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0)
            return true;
        pos += 12 + length;
    }
}

// JPEG: the segments after the start-of-image marker up to the first frame
// header (SOF0 to SOF15 but DHT, JPG and DAC), which holds height and width.
bool read_jpeg(const uint8_t* data, std::size_t size, sImageHeader* header, std::string* what) {
    std::size_t pos = 2;
    for (;;) {
        while (pos + 1 < size && data[pos] == 0xFF && data[pos + 1] == 0xFF)
            ++pos; // fill bytes
        if (pos + 4 > size || data[pos] != 0xFF)
            return refuse(what, "JPEG file without a frame header");
        const uint8_t marker = data[pos + 1];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2; // markers without a segment
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return refuse(what, "JPEG file without a frame header");
        const std::size_t length = be16(data + pos + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8 || pos + 2 + 8 > size)
                return refuse(what, "JPEG file with a cut-off frame header");
            header->m_height = be16(data + pos + 5);
            header->m_width = be16(data + pos + 7);
            const int components = data[pos + 9];
            if (components < 1 || components > 4)
                return refuse(what, "JPEG file with " + std::to_string(components) +
                                        " colour components");
            header->m_bits_per_pixel = 8 * components;
            return true;
        }
        if (length < 2)
            return refuse(what, "JPEG file with a segment of length " + std::to_string(length));
        pos += 2 + length;
    }
}
} // namespace

bool check_image_header(const uint8_t* data, std::size_t size, sImageHeader* header,
                        std::string* what) {
    *header = sImageHeader();
    if (size > IMAGE_MAX_FILE)
        return refuse(what, "file of " + std::to_string(size) + " bytes, over " +
                                std::to_string(IMAGE_MAX_FILE));
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 8 && std::memcmp(data, kPng, 8) == 0) {
        header->m_format = eImageFormat::PNG;
        if (!read_png(data, size, header, what))
            return false;
    } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        header->m_format = eImageFormat::JPEG;
        if (!read_jpeg(data, size, header, what))
            return false;
    } else {
        return refuse(what, "not a PNG or JPEG image");
    }

    const uint32_t w = header->m_width, h = header->m_height;
    const std::string dimensions = std::to_string(w) + " x " + std::to_string(h) + " pixels";
    if (w == 0 || h == 0 || w > IMAGE_MAX_SIDE || h > IMAGE_MAX_SIDE ||
        uint64_t(w) * h > IMAGE_MAX_PIXELS)
        return refuse(what, "image of " + dimensions + ", outside 1 to " +
                                std::to_string(IMAGE_MAX_SIDE) + " on a side or over " +
                                std::to_string(IMAGE_MAX_PIXELS) + " pixels");
    // What the file's bytes can hold at most: deflate packs at most 1032
    // bytes of rows into one; Huffman-coded JPEG spends at least a bit on
    // every 8 x 8 block, and arithmetic coding is allowed eight times less.
    const uint64_t pixels = uint64_t(w) * h, bits = uint64_t(size) * 8;
    if (header->m_format == eImageFormat::PNG ? pixels * header->m_bits_per_pixel > bits * 1032
                                              : pixels > bits * 64 * 8)
        return refuse(what, "image of " + dimensions + " in a file of only " +
                                std::to_string(size) + " bytes");
    return true;
}
