// Round points added into an image on the CPU (cPointSplat), which is added
// onto the target once at end(). A software rasteriser spends about a third
// of a microsecond on every point it draws; this is many times faster and
// gives the sprites' picture. With the depth test on, the target's depth
// buffer is read back once, at the first draw, and every covered pixel is
// tested against it; the points never write depth.
//
// Only the state the points are drawn with is implemented: blending on with
// source alpha and one, added; no scissor, stencil, logic operation, colour
// mask or alpha test other than "always"; depth writes off under the depth
// test. begin() asserts that the caller's state is such.
#pragma once

#include "effects/point_splat.h"
#include "effects/round_points.h"
#include "gl_entry.h"

#include <cstdint>
#include <vector>

class cRoundPoints_cpu : public iRoundPoints {
public:
    cRoundPoints_cpu() = default;
    ~cRoundPoints_cpu() override;
    cRoundPoints_cpu(const cRoundPoints_cpu&) = delete;
    cRoundPoints_cpu& operator=(const cRoundPoints_cpu&) = delete;

    void begin() override;
    void set_size(float size) override;
    void draw(iPointSource& points) override;
    void end() override;

private:
    void start_image();
    void add_image_onto_target();

    float m_size = 1.0f;
    cPointSplat m_splat;
    bool m_drawn = false;
    // The depth test of this begin/end, if on, and the buffer it reads.
    bool m_depth_test = false;
    sSplatDepthTest m_depth;
    std::vector<std::uint32_t> m_depth_values;
    // The texture that carries the image to the target.
    GLuint m_texture = 0;
    int m_texture_width = 0;
    int m_texture_height = 0;
};
