// The size check that every image passes before the image library decodes it.
#include "image_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {
std::string be(uint32_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s += char(v >> (8 * i));
    return s;
}

// Signature, image header, data and end chunks (checksums not checked),
// `size` bytes in all.
std::string png(uint32_t w, uint32_t h, int depth, int colour_type, std::size_t size) {
    std::string s = "\x89PNG\r\n\x1A\n" + be(13, 4) + "IHDR" + be(w, 4) + be(h, 4) + char(depth) +
                    char(colour_type) + std::string(3, '\0') + be(0, 4);
    const std::size_t data = std::max(size, s.size() + 24) - s.size() - 24;
    return s + be(uint32_t(data), 4) + "IDAT" + std::string(data, '\0') + be(0, 4) + be(0, 4) +
           "IEND" + be(0, 4);
}

// Start of image, a JFIF segment, then the given frame or scan marker.
std::string jpeg(int marker, uint32_t w, uint32_t h, int components, std::size_t size) {
    std::string s = "\xFF\xD8\xFF\xE0" + be(16, 2) + "JFIF" + std::string(10, '\0') + "\xFF" +
                    char(marker) + be(8 + 3 * components, 2) + char(8) + be(h, 2) + be(w, 2) +
                    char(components) + std::string(3 * components, '\1');
    s.resize(std::max(size, s.size()), '\0');
    return s;
}
} // namespace

TEST(ImageHeader, SizesAreReadAndCheckedAgainstLimitsAndTheFileSize) {
    const struct {
        const char* what;
        std::string bytes;
        const char* refusal; // nullptr: accepted
        uint32_t w = 0, h = 0;
        int bits = 0;
    } cases[] = {
        {"RGBA PNG", png(4, 3, 8, 6, 64), nullptr, 4, 3, 32},
        {"16-bit grey PNG", png(5, 1, 16, 0, 64), nullptr, 5, 1, 16},
        {"baseline JPEG", jpeg(0xC0, 1024, 640, 3, 200), nullptr, 1024, 640, 24},
        {"progressive grey JPEG", jpeg(0xC2, 8, 8, 1, 0), nullptr, 8, 8, 8},
        {"2^16 pixels square", png(65536, 65536, 8, 6, 1024),
         "image of 65536 x 65536 pixels, outside"},
        {"no width", png(0, 5, 8, 2, 64), "image of 0 x 5 pixels, outside"},
        {"too many pixels", png(16384, 16384, 1, 0, 1 << 20),
         "image of 16384 x 16384 pixels, outside"},
        {"more than the file holds", png(4096, 4096, 8, 6, 1024),
         "image of 4096 x 4096 pixels in a file of only 1024 bytes"},
        {"JPEG beyond its file", jpeg(0xC1, 8192, 8192, 3, 0),
         "image of 8192 x 8192 pixels in a file of only"},
        {"no such colour type", png(4, 4, 8, 5, 64), "PNG file with colour type 5 and bit depth 8"},
        {"no such bit depth", png(4, 4, 3, 0, 64), "PNG file with colour type 0 and bit depth 3"},
        {"PNG cut in its header", png(4, 4, 8, 6, 0).substr(0, 20),
         "PNG file without its image header"},
        // The image library would read on past the end of the file.
        {"PNG without its end", png(4, 4, 8, 6, 64).substr(0, 52),
         "PNG file cut off after 52 bytes"},
        {"PNG cut in a chunk", png(4, 4, 8, 6, 64).substr(0, 50),
         "PNG file with a chunk of 7 bytes at byte 33, past its end"},
        {"JPEG with a scan before its frame", jpeg(0xDA, 8, 8, 1, 0),
         "JPEG file without a frame header"},
        {"JPEG frame of 5 components", jpeg(0xC0, 8, 8, 5, 0),
         "JPEG file with 5 colour components"},
        {"JPEG cut in its frame", jpeg(0xC0, 8, 8, 1, 0).substr(0, 26),
         "JPEG file with a cut-off frame header"},
        {"text", "this is not a PNG file", "not a PNG or JPEG image"},
        {"nothing", "", "not a PNG or JPEG image"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A buffer of exactly the file's size, so that the sanitizer build
        // catches a read past its end.
        const std::vector<uint8_t> bytes(c.bytes.begin(), c.bytes.end());
        sImageHeader header;
        std::string what;
        const bool ok = check_image_header(bytes.data(), bytes.size(), &header, &what);
        if (!c.refusal) {
            ASSERT_TRUE(ok) << what;
            EXPECT_EQ(header.m_width, c.w);
            EXPECT_EQ(header.m_height, c.h);
            EXPECT_EQ(header.m_bits_per_pixel, c.bits);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(what.rfind(c.refusal, 0), 0u) << what;
        }
    }
}
