// GL start-up: required extensions, entry points, the fixed pipeline state,
// the image library, and the error reporters used after every frame.
#pragma once

#include <mutex>
#include <string>

// True if name is a whole blank-separated word of the extension string.
bool has_extension(const char* name);
bool has_extension_in(const char* extensions, const char* name);

// Checks the extensions, loads the entry points, sets the fixed GL state and
// the viewport. Ends the process when a required extension is missing.
void init_gl();
// The same against a given extension string (tests imitate other drivers).
void init_gl_with(const char* extensions);

// Starts DevIL with ILU and ILUT on OpenGL; ends the process on failure.
void init_images();
// The image library has one current image and one error stack for the
// whole process; captured frames are encoded on a thread of their own, so
// every use of the library after start-up holds this lock.
std::recursive_mutex& image_library_lock();
// True when the image library's version numbers are all recent enough.
bool image_library_versions_ok(int il, int ilu, int ilut);

// Reports one pending GL error; true if there was one.
bool report_gl_error(std::string location);
// Reports every pending image-library error; true if there was one.
bool report_il_error();
