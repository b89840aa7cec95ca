// The pool of render targets. Creating a framebuffer object costs a stall, so
// targets are made once (most of them at start-up) and lent to passes through
// cRTProxy handles that give them back when they go out of scope.
#pragma once

#include "render_target.h"

#include <list>
#include <string>
#include <utility>

class cRTProxy;

class cRenderTargetManager {
public:
    // Size classes; the value divides the render size.
    enum eRTSize {
        RTT_NONE = 0, // a released proxy
        RTT_FULL = 1,
        RTT_HALF = 2,
        RTT_QUATER = 4,
        RTT_EIGHTH = 8,
        RTT_DOUBLE = -1, // twice the render size
    };

    // Makes a target of the given size; the pool calls its init().
    using tTargetFactory = iRenderTarget* (*)(unsigned width, unsigned height);

    // The one pool of framebuffer-object targets, created and warmed up on
    // first use; needs the GL context and the framebuffer entry points.
    static cRenderTargetManager* instance();
    // Deletes the pool (printing its statistics); the exit handler calls it.
    // Harmless when there is none.
    static void destroy();

    // A pool of targets from any factory, warmed up at once. The program
    // uses instance(); tests pool stand-in targets.
    explicit cRenderTargetManager(tTargetFactory factory);
    ~cRenderTargetManager();
    cRenderTargetManager(const cRenderTargetManager&) = delete;
    cRenderTargetManager& operator=(const cRenderTargetManager&) = delete;

    // A target of size class s: the first pooled one of that class, or a new
    // one (with a performance warning after the warm-up).
    cRTProxy get_rt(eRTSize s);
    // Gives the proxy's target back to the pool and clears the proxy; does
    // nothing for a proxy that holds no target.
    void release(cRTProxy& in_proxy);

    // Printed name of a size class ("OOOPS" for anything else).
    static const char* size_name(int s);
    // Pixel size of a size class for a render size of w x h.
    static void target_size(eRTSize s, unsigned w, unsigned h, unsigned& width, unsigned& height);

    // Pool accounting.
    unsigned pooled() const { return unsigned(m_free.size()); }
    unsigned pooled(eRTSize s) const;
    unsigned in_use() const { return dbg_remaining_rt; }
    unsigned max_allocated() const { return m_max_allocated; }

private:
    tTargetFactory m_factory;
    // Targets not in use, in the order they came back.
    std::list<std::pair<eRTSize, iRenderTarget*>> m_free;
    unsigned dbg_remaining_rt = 0;
    unsigned m_max_allocated = 0;
    bool m_warn_runtime = false;
};

// The owning handle of a pooled target. Move-only: moving or assigning
// transfers the target and leaves the source released. Destroying it gives
// the target back to the pool.
class cRTProxy {
public:
    cRTProxy() = default; // released
    cRTProxy(cRenderTargetManager::eRTSize size, cRenderTargetManager* rtm, iRenderTarget* rt)
        : m_size(size), m_rtm(rtm), m_rt(rt) {}
    cRTProxy(cRTProxy&& b) noexcept;
    cRTProxy& operator=(cRTProxy&& b);
    cRTProxy(const cRTProxy&) = delete;
    cRTProxy& operator=(const cRTProxy&) = delete;
    ~cRTProxy();

    iRenderTarget* operator->();
    const iRenderTarget* operator->() const;
    iRenderTarget& operator*() { return *operator->(); }
    const iRenderTarget& operator*() const { return *operator->(); }

    bool holds_target() const { return m_rt != nullptr; }
    cRenderTargetManager::eRTSize get_size() const { return m_size; }

private:
    friend class cRenderTargetManager;

    cRenderTargetManager::eRTSize m_size = cRenderTargetManager::RTT_NONE;
    cRenderTargetManager* m_rtm = nullptr;
    iRenderTarget* m_rt = nullptr;
};
