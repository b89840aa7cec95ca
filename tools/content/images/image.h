// Images as the generators paint them: floating-point RGBA in 0..1, with row
// 0 at the bottom, the way the program sees every image once DevIL has
// loaded it with its origin at the lower left. A generator can therefore
// think in texture coordinates: x to the right, y up.
#pragma once

#include <cstdint>
#include <vector>

namespace imagegen {

struct sColor {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

// Linear interpolation of two colours, alpha included.
sColor mix(const sColor& from, const sColor& to, float t);

// One channel of floats, used for masks, densities and blurs.
class cPlane {
public:
    cPlane(int width, int height, float fill = 0.0f);

    int width() const { return m_width; }
    int height() const { return m_height; }
    float& at(int x, int y) { return m_values[std::size_t(y) * std::size_t(m_width) + x]; }
    float at(int x, int y) const { return m_values[std::size_t(y) * std::size_t(m_width) + x]; }
    // The value at (x, y), with coordinates outside clamped to the border.
    float clamped(int x, int y) const;

    // Three box passes of this radius in each direction: close to a Gaussian
    // of standard deviation radius, and cheap at any radius.
    void blur(int radius);
    float max_value() const;

private:
    int m_width;
    int m_height;
    std::vector<float> m_values;
};

class cImage {
public:
    // channels is what the file will hold: 3 (RGB) or 4 (RGBA).
    cImage(int width, int height, int channels);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int channels() const { return m_channels; }

    sColor& at(int x, int y) { return m_pixels[std::size_t(y) * std::size_t(m_width) + x]; }
    const sColor& at(int x, int y) const {
        return m_pixels[std::size_t(y) * std::size_t(m_width) + x];
    }

    // Paints colour over the pixel with the given coverage (0..1), blending
    // by the colour's alpha times the coverage ("over" compositing).
    void blend(int x, int y, const sColor& colour, float coverage);

    // 8-bit channels, rows from the bottom up, each value rounded and clamped.
    std::vector<std::uint8_t> to_bytes() const;

private:
    int m_width;
    int m_height;
    int m_channels;
    std::vector<sColor> m_pixels;
};

} // namespace imagegen
