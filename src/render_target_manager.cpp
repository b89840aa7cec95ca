#include "render_target_manager.h"

#include "debug.h"
#include "display_settings.h"
#include "render_target_fbo.h"

#include <iostream>
#include <vector>

namespace {
cRenderTargetManager* g_instance = nullptr;

iRenderTarget* make_fbo_target(unsigned width, unsigned height) {
    return new cRenderTarget_fbo(width, height);
}
} // namespace

cRenderTargetManager* cRenderTargetManager::instance() {
    if (!g_instance)
        g_instance = new cRenderTargetManager(make_fbo_target);
    return g_instance;
}

void cRenderTargetManager::destroy() {
    delete g_instance;
    g_instance = nullptr;
}

cRenderTargetManager::cRenderTargetManager(tTargetFactory factory) : m_factory(factory) {
    // What the passes of one frame hold at most at the same time; requests
    // beyond it create targets while the show runs and say so.
    static const eRTSize kWarmUp[] = {RTT_FULL,   RTT_FULL,   RTT_FULL,   RTT_HALF,
                                      RTT_HALF,   RTT_HALF,   RTT_QUATER, RTT_QUATER,
                                      RTT_QUATER, RTT_QUATER, RTT_EIGHTH, RTT_EIGHTH};
    std::vector<cRTProxy> proxies;
    proxies.reserve(sizeof(kWarmUp) / sizeof(kWarmUp[0]));
    for (eRTSize s : kWarmUp)
        proxies.push_back(get_rt(s));
    m_warn_runtime = true;
    for (auto proxy = proxies.rbegin(); proxy != proxies.rend(); ++proxy)
        release(*proxy);
}

cRenderTargetManager::~cRenderTargetManager() {
    VT_ASSERT(!dbg_remaining_rt);
    std::cout << "# rrt-manager: number of tmp-rt allocated: " << m_free.size() << std::endl;
    std::cout << "# rtt-manager: maximum concurrently allocated RTs: " << m_max_allocated
              << std::endl;
    for (auto tmp_i = m_free.begin(); tmp_i != m_free.end(); ++tmp_i) {
        VT_ASSERT(tmp_i->second);
        delete tmp_i->second;
        tmp_i->second = nullptr;
    }
    m_free.clear();
}

const char* cRenderTargetManager::size_name(int s) {
    switch (s) {
    case RTT_NONE:
        return "RTT_NONE";
    case RTT_FULL:
        return "RTT_FULL";
    case RTT_HALF:
        return "RTT_HALF";
    case RTT_QUATER:
        return "RTT_QUATER";
    case RTT_EIGHTH:
        return "RTT_EIGHTH";
    case RTT_DOUBLE:
        return "RTT_DOUBLE";
    default:
        return "OOOPS";
    }
}

void cRenderTargetManager::target_size(eRTSize s, unsigned w, unsigned h, unsigned& width,
                                       unsigned& height) {
    if (s == RTT_DOUBLE) {
        width = 2 * w;
        height = 2 * h;
    } else {
        width = w / unsigned(s);
        height = h / unsigned(s);
    }
}

unsigned cRenderTargetManager::pooled(eRTSize s) const {
    unsigned count = 0;
    for (const auto& entry : m_free)
        count += entry.first == s;
    return count;
}

cRTProxy cRenderTargetManager::get_rt(eRTSize s) {
    // A released proxy's class names no size; dividing by it would crash.
    VT_ASSERT(s != RTT_NONE);
    ++dbg_remaining_rt;
    if (dbg_remaining_rt > m_max_allocated)
        m_max_allocated = dbg_remaining_rt;

    const unsigned w = unsigned(cDisplaySettings::instance()->m_render_width);
    const unsigned h = unsigned(cDisplaySettings::instance()->m_render_height);
    // clang-format off
    VT_ASSERT(!(w%4) && !(h%4));
    // clang-format on

    for (auto entry = m_free.begin(); entry != m_free.end(); ++entry) {
        if (entry->first == s) {
            iRenderTarget* rt = entry->second;
            m_free.erase(entry);
            return cRTProxy(s, this, rt);
        }
    }

    if (m_warn_runtime)
        std::cout << "# performance-warning: allocated rendertarget runtime: " << size_name(s)
                  << std::endl;
    unsigned width = 0;
    unsigned height = 0;
    target_size(s, w, h, width, height);
    iRenderTarget* rt = m_factory(width, height);
    rt->init();
    return cRTProxy(s, this, rt);
}

void cRenderTargetManager::release(cRTProxy& in_proxy) {
    if (!in_proxy.m_rt) {
        VT_ASSERT(!in_proxy.m_rtm);
        return;
    }
    --dbg_remaining_rt;
    m_free.emplace_back(in_proxy.m_size, in_proxy.m_rt);
    in_proxy.m_size = RTT_NONE;
    in_proxy.m_rtm = nullptr;
    in_proxy.m_rt = nullptr;
}

cRTProxy::cRTProxy(cRTProxy&& b) noexcept : m_size(b.m_size), m_rtm(b.m_rtm), m_rt(b.m_rt) {
    b.m_size = cRenderTargetManager::RTT_NONE;
    b.m_rtm = nullptr;
    b.m_rt = nullptr;
}

cRTProxy& cRTProxy::operator=(cRTProxy&& b) {
    VT_ASSERT_MSG(b.m_rt && b.m_rtm, "trying to assign released rendertarget");
    // Assigning a proxy to itself keeps its target.
    if (&b == this)
        return *this;
    if (m_rt) {
        VT_ASSERT(m_rtm);
        m_rtm->release(*this);
    }
    m_size = b.m_size;
    m_rtm = b.m_rtm;
    m_rt = b.m_rt;
    b.m_size = cRenderTargetManager::RTT_NONE;
    b.m_rtm = nullptr;
    b.m_rt = nullptr;
    return *this;
}

cRTProxy::~cRTProxy() {
    // A released proxy has no manager to go through and nothing to return.
    if (m_rtm)
        m_rtm->release(*this);
    VT_ASSERT(m_size == cRenderTargetManager::RTT_NONE);
    VT_ASSERT_MSG(!m_rt, "rt-release failed?!");
    VT_ASSERT_MSG(!m_rtm, "rt-release failed?!");
}

iRenderTarget* cRTProxy::operator->() {
    VT_ASSERT_MSG(m_rt && m_rtm, "rendertarget invalidated");
    return m_rt;
}

const iRenderTarget* cRTProxy::operator->() const {
    VT_ASSERT_MSG(m_rt && m_rtm, "rendertarget invalidated");
    return m_rt;
}
