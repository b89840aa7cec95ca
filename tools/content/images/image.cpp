#include "image.h"

#include "debug.h"

#include <algorithm>
#include <cmath>

namespace imagegen {

sColor mix(const sColor& from, const sColor& to, float t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

cPlane::cPlane(int width, int height, float fill)
    : m_width(width), m_height(height), m_values(std::size_t(width) * std::size_t(height), fill) {
    VT_ASSERT(width > 0 && height > 0);
}

float cPlane::clamped(int x, int y) const {
    return at(std::clamp(x, 0, m_width - 1), std::clamp(y, 0, m_height - 1));
}

namespace {
// One box pass along a line of n values that lie stride apart; the border
// values repeat beyond the ends.
void box_pass(float* line, int n, int stride, int radius, std::vector<float>& scratch) {
    scratch.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        scratch[std::size_t(i)] = line[std::size_t(i) * std::size_t(stride)];
    auto value = [&](int i) { return scratch[std::size_t(std::clamp(i, 0, n - 1))]; };
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i)
        sum += value(i);
    const double scale = 1.0 / double(2 * radius + 1);
    for (int i = 0; i < n; ++i) {
        line[std::size_t(i) * std::size_t(stride)] = float(sum * scale);
        sum += value(i + radius + 1) - value(i - radius);
    }
}
} // namespace

void cPlane::blur(int radius) {
    if (radius <= 0)
        return;
    std::vector<float> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < m_height; ++y)
            box_pass(&at(0, y), m_width, 1, radius, scratch);
        for (int x = 0; x < m_width; ++x)
            box_pass(&at(x, 0), m_height, m_width, radius, scratch);
    }
}

float cPlane::max_value() const {
    return *std::max_element(m_values.begin(), m_values.end());
}

cImage::cImage(int width, int height, int channels)
    : m_width(width), m_height(height), m_channels(channels),
      m_pixels(std::size_t(width) * std::size_t(height), sColor{0.0f, 0.0f, 0.0f, 1.0f}) {
    VT_ASSERT(width > 0 && height > 0);
    VT_ASSERT(channels == 3 || channels == 4);
}

void cImage::blend(int x, int y, const sColor& colour, float coverage) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const float a = std::clamp(colour.a * coverage, 0.0f, 1.0f);
    if (a <= 0.0f)
        return;
    sColor& dst = at(x, y);
    // Straight (not premultiplied) colours: composite, then divide the
    // colour by the new alpha so that soft edges keep their hue.
    const float out_a = a + dst.a * (1.0f - a);
    auto channel = [&](float src, float under) {
        return (src * a + under * dst.a * (1.0f - a)) / out_a;
    };
    dst = {channel(colour.r, dst.r), channel(colour.g, dst.g), channel(colour.b, dst.b), out_a};
}

std::vector<std::uint8_t> cImage::to_bytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_pixels.size() * std::size_t(m_channels));
    auto byte = [](float v) {
        return std::uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    for (const sColor& p : m_pixels) {
        bytes.push_back(byte(p.r));
        bytes.push_back(byte(p.g));
        bytes.push_back(byte(p.b));
        if (m_channels == 4)
            bytes.push_back(byte(p.a));
    }
    return bytes;
}

} // namespace imagegen
