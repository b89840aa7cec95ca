// A GL context for tests: the program's own window start-up, once per process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Opens a 1024 x 768 window (not full screen) with the program's GL set-up.
void ensure_gl_context();

// The back buffer's pixel at (x, y), counted from the lower left: r, g, b.
std::vector<std::uint8_t> read_pixel(int x, int y);

class cShaderManager_GLSL;
// The shader manager, initialised (with the program files' folder searched)
// if it is new, as after a test destroyed it; the post passes then register
// their shaders again on first use.
cShaderManager_GLSL* ready_shader_manager();

// Writes w x h 8-bit RGB pixels, rows from the bottom, as an image file of
// the type its name ends in (.png, .jpg); returns the path.
std::string write_rgb_image(const std::string& path, int w, int h,
                            const std::vector<std::uint8_t>& rgb);

class iRenderTarget;
// Clears a rectangle of a target (all of it when w is 0) to an RGB colour.
void fill_target(iRenderTarget& rt, const std::vector<std::uint8_t>& rgb, int x = 0, int y = 0,
                 int w = 0, int h = 0);
// The w x h RGB pixels of a target from (x, y) on, rows from the bottom.
std::vector<std::uint8_t> read_target(iRenderTarget& rt, int w, int h, int x = 0, int y = 0);
// One integer of GL state (glGetIntegerv).
int gl_int(unsigned name);
