// The show's camera flights as .pth texts: nine around the sprutte creature
// and twelve through the credits room.
//
// Every file holds PATH_KEYS keys, spaced evenly over 0 <= t < 0.98 of the
// flight. The loader appends one more key, the last one turned a second
// time from the file's Z-up axes (a quarter turn about x), and holds it over
// the last part of the range; the credits scenes start their backward runs
// at t = 0.98, so with this count they start exactly on the last real key.
// The sprutte scene holds its first path past its end through the creature's
// whole intro: that path's last key is chosen so that the turned copy is the
// intro's framing.
#pragma once
#include "geom.h"

#include <string>
#include <vector>

constexpr int PATH_KEYS = 99;

struct sPathFile {
    std::string m_folder; // below data/models
    std::string m_name;
    std::string m_text;
};

struct sPathKey {
    sV3 eye, target, up; // renderer axes (y up)
};

// The text of a .pth file for keys in renderer axes.
std::string path_text(const std::vector<sPathKey>& keys);

std::vector<sPathFile> build_paths();
