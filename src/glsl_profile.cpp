#include "glsl_profile.h"

#include <cctype>
#include <cstring>

int glsl_language_level(const char* version_text) {
    if (!version_text)
        return 0;
    if (std::strncmp(version_text, "OpenGL ES", 9) == 0)
        return 0;
    const char* p = version_text;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return 0;
    int major = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        major = major * 10 + (*p - '0');
    if (*p != '.' || !std::isdigit(static_cast<unsigned char>(p[1])))
        return 0;
    ++p;
    // The minor number has two digits by convention ("1.20"); a driver that
    // writes one ("1.2") still means twenty.
    int minor = *p++ - '0';
    if (std::isdigit(static_cast<unsigned char>(*p)))
        minor = minor * 10 + (*p - '0');
    else
        minor *= 10;
    if (major > 99)
        return 0;
    return major * 100 + minor;
}

eGlslProfile choose_glsl_profile(int language_level, bool have_entry_points) {
    if (have_entry_points && language_level >= 120)
        return GLSL_PROFILE_120;
    return GLSL_PROFILE_NONE;
}

const char* glsl_profile_name(eGlslProfile profile) {
    switch (profile) {
    case GLSL_PROFILE_120:
        return "GLSL_120";
    case GLSL_PROFILE_NONE:
        break;
    }
    return "GLSL_NONE";
}
