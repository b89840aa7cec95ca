// Marks a pass of the frame for the per-pass profile: the time from its
// construction to its destruction is charged to the named pass. Costs one
// test when no profile is taken.
#pragma once

#include "pass_profiler.h"

class cProfileScope {
public:
    explicit cProfileScope(const char* pass) : m_profiler(cPassProfiler::instance()) {
        if (m_profiler)
            m_profiler->begin(pass);
    }
    ~cProfileScope() {
        if (m_profiler)
            m_profiler->end();
    }
    cProfileScope(const cProfileScope&) = delete;
    cProfileScope& operator=(const cProfileScope&) = delete;

private:
    cPassProfiler* m_profiler;
};
