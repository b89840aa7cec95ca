// A GL context for tests: the program's own window start-up, once per process.
#pragma once

#include <cstdint>
#include <vector>

// Opens a 1024 x 768 window (not full screen) with the program's GL set-up.
void ensure_gl_context();

// The back buffer's pixel at (x, y), counted from the lower left: r, g, b.
std::vector<std::uint8_t> read_pixel(int x, int y);
