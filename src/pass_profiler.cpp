#include "pass_profiler.h"

#include "renderer_traits.h"

#include <cstdio>

cPassProfiler* cPassProfiler::s_instance = nullptr;

void cPassProfiler::enable(std::function<double()> now, std::function<void()> sync) {
    destroy();
    s_instance = new cPassProfiler(std::move(now), std::move(sync));
}

void cPassProfiler::destroy() {
    delete s_instance;
    s_instance = nullptr;
}

cPassProfiler::cPassProfiler(std::function<double()> now, std::function<void()> sync)
    : m_now(std::move(now)), m_sync(std::move(sync)) {}

double cPassProfiler::now_synced(double* submitted) {
    if (submitted)
        *submitted = m_now();
    m_sync();
    return m_now();
}

void cPassProfiler::charge(const std::string& path, double since, double submitted, double t) {
    sPassTimes& times = find(m_frame, path);
    times.ms += (t - since) * 1000.0;
    times.submit_ms += (submitted - since) * 1000.0;
}

cPassProfiler::sPassTimes& cPassProfiler::find(tPasses& passes, const std::string& path) {
    for (auto& entry : passes)
        if (entry.first == path)
            return entry.second;
    passes.emplace_back(path, sPassTimes());
    return passes.back().second;
}

void cPassProfiler::frame_boundary(const std::string& scene, bool drawn) {
    const double t = now_synced();
    if (m_frame_start >= 0.0 && drawn) {
        auto found = m_scenes.find(scene);
        if (found == m_scenes.end()) {
            m_scene_order.push_back(scene);
            found = m_scenes.emplace(scene, sSceneTimes()).first;
        }
        sSceneTimes& times = found->second;
        ++times.frames;
        times.ms += (t - m_frame_start) * 1000.0;
        for (const auto& pass : m_frame) {
            sPassTimes& total = find(times.passes, pass.first);
            total.ms += pass.second.ms;
            total.submit_ms += pass.second.submit_ms;
            total.calls += pass.second.calls;
        }
    }
    m_frame.clear();
    m_open.clear(); // a pass left open across frames is not charged
    m_frame_start = t;
}

void cPassProfiler::begin(const char* pass) {
    double submitted = 0.0;
    const double t = now_synced(&submitted);
    std::string path = pass;
    if (!m_open.empty()) {
        // The enclosing pass stops its clock while this one runs.
        charge(m_open.back().path, m_open.back().since, submitted, t);
        path = m_open.back().path + " > " + pass;
    }
    m_open.push_back({path, t});
}

void cPassProfiler::end() {
    if (m_open.empty())
        return;
    double submitted = 0.0;
    const double t = now_synced(&submitted);
    charge(m_open.back().path, m_open.back().since, submitted, t);
    ++find(m_frame, m_open.back().path).calls;
    m_open.pop_back();
    if (!m_open.empty())
        m_open.back().since = t;
}

void cPassProfiler::report(std::ostream& out) const {
    char line[256];
    out << "# profile: renderer " << cRendererTraits::instance()->summary() << "\n";
    for (const std::string& name : m_scene_order) {
        const sSceneTimes& scene = m_scenes.at(name);
        const double frames = double(scene.frames);
        const double frame_ms = scene.ms / frames;
        std::snprintf(line, sizeof line, "# profile: scene \"%s\": %ld frames, %.2f ms a frame",
                      name.c_str(), scene.frames, frame_ms);
        out << line << "\n";
        double covered = 0.0;
        auto row = [&](const std::string& pass, double ms, double calls) {
            std::snprintf(line, sizeof line, "# profile:   %-36s %9.2f ms %5.1f%% %7.1f calls",
                          pass.c_str(), ms, frame_ms > 0.0 ? 100.0 * ms / frame_ms : 0.0, calls);
            out << line;
        };
        for (const auto& pass : scene.passes) {
            covered += pass.second.ms;
            const double ms = pass.second.ms / frames;
            const double submit_ms = pass.second.submit_ms / frames;
            row(pass.first, ms, double(pass.second.calls) / frames);
            std::snprintf(line, sizeof line, " (submit %.2f, finish %.2f)", submit_ms,
                          ms - submit_ms);
            out << line << "\n";
        }
        row("(rest)", (scene.ms - covered) / frames, 0.0);
        out << "\n";
    }
    out.flush();
}
