// Always-on assertions.
//
// The program's assertions are part of its behaviour: a broken invariant ends
// the show at once with the expression, the source file and the line, in every
// build type. <cassert> disappears under NDEBUG, so the project uses its own.
// It is a macro because only a macro can capture the expression's text and the
// place where it was written.
#pragma once

[[noreturn]] void vt_assert_fail(const char* expr, const char* message, const char* file, int line);

#define VT_ASSERT(expr)                                                                            \
    ((expr) ? static_cast<void>(0) : vt_assert_fail(#expr, nullptr, __FILE__, __LINE__))

#define VT_ASSERT_MSG(expr, message)                                                               \
    ((expr) ? static_cast<void>(0) : vt_assert_fail(#expr, (message), __FILE__, __LINE__))
