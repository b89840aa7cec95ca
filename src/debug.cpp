#include "debug.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Build systems pass absolute source paths; the file name is what a reader needs.
const char* base_name(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}
} // namespace

void vt_assert_fail(const char* expr, const char* message, const char* file, int line) {
    std::fflush(stdout);
    if (message && *message)
        std::fprintf(stderr, "Assertion failed: %s (%s), file %s, line %d\n", expr, message,
                     base_name(file), line);
    else
        std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expr, base_name(file),
                     line);
    std::fflush(stderr);
    std::abort();
}
