// The GLSL level the shader programs are written for, and whether a driver's
// shading-language version offers it. Kept free of GL so that the choice can
// be checked against any driver's version text.
#pragma once

// The shading levels the shader manager can pick, named by their GLSL
// version number. Our program files are written for 1.20 with the
// compatibility built-ins (ftransform, gl_TexCoord, gl_FrontMaterial).
enum eGlslProfile {
    GLSL_PROFILE_NONE = 0,
    GLSL_PROFILE_120 = 120,
};

// The language level of a GL_SHADING_LANGUAGE_VERSION string as major * 100
// + minor ("1.20" -> 120, "4.60 - build 1" -> 460); 0 for a missing or
// unreadable text and for OpenGL ES, whose language lacks the compatibility
// built-ins.
int glsl_language_level(const char* version_text);

// The profile to use for a stage: GLSL_PROFILE_120 when the driver's level is
// at least 1.20 and the shader entry points were found, otherwise none.
eGlslProfile choose_glsl_profile(int language_level, bool have_entry_points);

// The token printed for a profile: "GLSL_120"; "GLSL_NONE" for none.
const char* glsl_profile_name(eGlslProfile profile);
