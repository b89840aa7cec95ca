#include "effects/point_splat.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>

namespace {
// A value in 0 to 1 as an 8-bit channel: rounded, clamped.
unsigned to_unorm8(float value) {
    return unsigned(std::lrint(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// a * b / 255 for two 8-bit channels, rounded as 8-bit blending does.
unsigned multiply_unorm8(unsigned a, unsigned b) {
    const unsigned ab = a * b;
    return (ab + (ab >> 8) + 128u) >> 8;
}

bool depth_passes(sSplatDepthTest::eFunc func, std::uint32_t point, std::uint32_t stored) {
    switch (func) {
    case sSplatDepthTest::NEVER:
        return false;
    case sSplatDepthTest::LESS:
        return point < stored;
    case sSplatDepthTest::EQUAL:
        return point == stored;
    case sSplatDepthTest::LEQUAL:
        return point <= stored;
    case sSplatDepthTest::GREATER:
        return point > stored;
    case sSplatDepthTest::NOTEQUAL:
        return point != stored;
    case sSplatDepthTest::GEQUAL:
        return point >= stored;
    case sSplatDepthTest::ALWAYS:
        break;
    }
    return true;
}
} // namespace

void multiply_matrices(const float a[16], const float b[16], float out[16]) {
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            out[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] +
                                 a[8 + row] * b[col * 4 + 2] + a[12 + row] * b[col * 4 + 3];
}

void cPointSplat::reset(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height) {
        // Only what the last adds touched is cleared.
        const sRect& t = m_touched;
        for (int y = t.y0; y < t.y1; ++y)
            std::fill_n(m_pixels.begin() + (std::ptrdiff_t(y) * m_width + t.x0) * 4,
                        std::ptrdiff_t(t.x1 - t.x0) * 4, std::uint8_t(0));
    } else {
        m_width = width;
        m_height = height;
        m_pixels.assign(std::size_t(m_width) * std::size_t(m_height) * 4, 0);
        m_counts.assign(std::size_t(m_width) * std::size_t(m_height), 0);
        m_more_counts.assign(m_counts.size(), 0);
    }
    m_touched = {m_width, m_height, 0, 0};
}

template <typename Visit>
cPointSplat::sRect cPointSplat::for_each_covered(const float* xyz, std::size_t count,
                                                 const float m[16], float radius,
                                                 const sSplatDepthTest* depth, Visit visit) const {
    sRect bounds = {m_width, m_height, 0, 0};
    const float inv_radius2 = 1.0f / (radius * radius);
    const float half_w = 0.5f * float(m_width), half_h = 0.5f * float(m_height);
    for (std::size_t i = 0; i < count; ++i) {
        const float x = xyz[i * 3], y = xyz[i * 3 + 1], z = xyz[i * 3 + 2];
        const float cw = m[3] * x + m[7] * y + m[11] * z + m[15];
        const float cx = m[0] * x + m[4] * y + m[8] * z + m[12];
        const float cy = m[1] * x + m[5] * y + m[9] * z + m[13];
        const float cz = m[2] * x + m[6] * y + m[10] * z + m[14];
        // A point whose centre is outside the view is not drawn at all.
        if (!(cw > 0.0f) || std::fabs(cx) > cw || std::fabs(cy) > cw || std::fabs(cz) > cw)
            continue;
        const float wx = cx / cw * half_w + half_w;
        const float wy = cy / cw * half_h + half_h;
        // The point's window depth at the buffer's precision, compared with
        // the buffer's values shifted down to the same bits.
        std::uint32_t point_depth = 0;
        if (depth) {
            const double max_depth = double((std::uint64_t(1) << depth->bits) - 1);
            const double z =
                double(depth->range_near) + (double(depth->range_far) - double(depth->range_near)) *
                                                (0.5 * double(cz / cw) + 0.5);
            point_depth = std::uint32_t(std::llrint(std::clamp(z, 0.0, 1.0) * max_depth));
        }
        // Pixels whose centres lie in the point's square.
        const int x0 = std::max(int(std::ceil(wx - radius - 0.5f)), 0);
        const int x1 = std::min(int(std::ceil(wx + radius - 0.5f)), m_width);
        const int y0 = std::max(int(std::ceil(wy - radius - 0.5f)), 0);
        const int y1 = std::min(int(std::ceil(wy + radius - 0.5f)), m_height);
        if (x0 < x1 && y0 < y1)
            bounds = {std::min(bounds.x0, x0), std::min(bounds.y0, y0), std::max(bounds.x1, x1),
                      std::max(bounds.y1, y1)};
        for (int py = y0; py < y1; ++py) {
            const float dy = float(py) + 0.5f - wy;
            const std::size_t row = std::size_t(py) * std::size_t(m_width);
            for (int px = x0; px < x1; ++px) {
                const float dx = float(px) + 0.5f - wx;
                const float d = (dx * dx + dy * dy) * inv_radius2;
                const std::size_t at = row + std::size_t(px);
                // Whether a pixel centre is covered is close to a coin toss:
                // the visitor gets the answer rather than a branch on it.
                bool covered = !(d > 1.0f);
                if (depth)
                    covered &= depth_passes(depth->func, point_depth,
                                            depth->values[at] >> (32 - depth->bits));
                visit(at, d, covered);
            }
        }
    }
    return bounds;
}

void cPointSplat::add(const float* xyz, std::size_t count, const float clip_from_object[16],
                      float size, const float rgba[4], const sSplatDepthTest* depth) {
    // What one fragment adds for each 8-bit alpha it can have.
    const unsigned r = to_unorm8(rgba[0]), g = to_unorm8(rgba[1]), b = to_unorm8(rgba[2]);
    std::uint8_t added[256][4];
    for (unsigned a = 0; a < 256; ++a) {
        added[a][0] = std::uint8_t(multiply_unorm8(r, a));
        added[a][1] = std::uint8_t(multiply_unorm8(g, a));
        added[a][2] = std::uint8_t(multiply_unorm8(b, a));
        added[a][3] = std::uint8_t(multiply_unorm8(a, a));
    }
    auto add_onto = [](std::uint8_t* pixel, const std::uint8_t* add, unsigned times) {
        for (int c = 0; c < 4; ++c)
            pixel[c] = std::uint8_t(std::min(unsigned(pixel[c]) + add[c] * times, 255u));
    };

    // Coverage from the squared distance d to the centre in units of the
    // radius: none outside the disc, full in the ring one pixel wide inside
    // its edge, rising to 1 / (1 - inner) towards the centre.
    const float radius = 0.5f * std::max(size, 2.0f);
    float inner = 1.0f / radius;
    inner = 1.0f - 2.0f * inner + inner * inner;

    if (inner <= 0.0f) {
        // Two-pixel points: every covered pixel gets the full colour, so the
        // points are counted first (a quarter of the memory the image takes,
        // which the scattered writes mostly find in the cache) and the counts
        // then added in one pass. A count stops at 255, where any non-zero
        // contribution saturates anyway. Many points are counted by two
        // threads, half each, into two sets of counts: their sum, stopped at
        // 255, is what one thread counting them all would give.
        auto count_into = [&](std::uint8_t* counts, std::size_t first, std::size_t n) {
            return for_each_covered(xyz + first * 3, n, clip_from_object, radius, depth,
                                    [counts](std::size_t at, float, bool covered) {
                                        counts[at] = std::uint8_t(counts[at] +
                                                                  (covered & (counts[at] != 255)));
                                    });
        };
        const std::size_t half = count >= kSplitCount ? count / 2 : count;
        sRect b = {m_width, m_height, 0, 0};
        if (half < count) {
            try {
                std::thread helper(
                    [&] { b = count_into(m_more_counts.data(), half, count - half); });
                const sRect mine = count_into(m_counts.data(), 0, half);
                helper.join();
                b = {std::min(b.x0, mine.x0), std::min(b.y0, mine.y0), std::max(b.x1, mine.x1),
                     std::max(b.y1, mine.y1)};
            } catch (const std::system_error&) {
                // No thread to be had: the rest is counted here.
                b = count_into(m_counts.data(), 0, count);
            }
        } else {
            b = count_into(m_counts.data(), 0, count);
        }
        // Only the points' rectangle holds counts; they go back to zero.
        std::uint8_t* counts = m_counts.data();
        std::uint8_t* more = m_more_counts.data();
        const std::uint8_t* add = added[to_unorm8(rgba[3])];
        for (int y = b.y0; y < b.y1; ++y) {
            const std::size_t row = std::size_t(y) * std::size_t(m_width);
            for (std::size_t at = row + std::size_t(b.x0); at < row + std::size_t(b.x1); ++at)
                if (counts[at] | more[at]) {
                    add_onto(m_pixels.data() + at * 4, add,
                             std::min(unsigned(counts[at]) + more[at], 255u));
                    counts[at] = 0;
                    more[at] = 0;
                }
        }
        touch(b);
        return;
    }
    const float core_scale = 1.0f / (1.0f - inner);
    std::uint8_t* pixels = m_pixels.data();
    touch(for_each_covered(xyz, count, clip_from_object, radius, depth,
                           [&](std::size_t at, float d, bool covered) {
                               if (!covered)
                                   return;
                               const float coverage = d <= inner ? (1.0f - d) * core_scale : 1.0f;
                               add_onto(pixels + at * 4, added[to_unorm8(rgba[3] * coverage)], 1);
                           }));
}

void cPointSplat::touch(const sRect& r) {
    if (r.x0 >= r.x1 || r.y0 >= r.y1)
        return;
    m_touched = {std::min(m_touched.x0, r.x0), std::min(m_touched.y0, r.y0),
                 std::max(m_touched.x1, r.x1), std::max(m_touched.y1, r.y1)};
}
