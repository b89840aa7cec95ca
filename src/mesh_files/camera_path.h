// Camera flights: a list of keys (eye, target, up) read from a .pth text file
// and interpolated piecewise linearly over a parameter t from 0 to 1.
//
// A .pth file is a sequence of keys, each three vector groups (eye, target,
// up); a group is a separator character, a number, a separator, a number, a
// separator, a number, a separator, with any white space between items, for
// example "[1.5, 2, -3]". The files are Z-up; keys are stored Y-up as
// (x, z, -y).
#pragma once

#include "math/vec3.h"

#include <cstddef>
#include <string>
#include <vector>

struct sCameraKey {
    Vec3f eye;
    Vec3f target;
    Vec3f up;
};

class cCameraPath {
public:
    // Appends the keys of a file (it does not clear the path first). False
    // when the file cannot be opened; the path is then unchanged.
    bool load(const std::string& file_name);
    // The same for the text of a file already in memory.
    void load_text(const char* text, std::size_t size);

    // The interpolated members at t, clamped to [0, 1). Keys are evenly
    // spaced: key k is reached at t = k / N, and the last key holds from
    // (N-1) / N on. An empty path gives the origin, and up (0, 1, 0).
    Vec3f eye_at(float t) const;
    Vec3f target_at(float t) const;
    Vec3f up_at(float t) const;

    const std::vector<sCameraKey>& keys() const { return m_keys; }
    std::size_t size() const { return m_keys.size(); }

private:
    Vec3f interpolate(Vec3f sCameraKey::*member, float t) const;

    std::vector<sCameraKey> m_keys;
};
