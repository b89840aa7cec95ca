#include "capture.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "pass_profiler.h"
#include "platform/process.h"
#include "profile_scope.h"
#include "scene_manager.h"
#include "timecode.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <iostream>

cCapture* cCapture::s_instance = nullptr;

namespace {
bool is_video_path(const std::string& path) {
    auto ends = [&](const char* end) {
        std::string e(end);
        return path.size() > e.size() && path.compare(path.size() - e.size(), e.size(), e) == 0;
    };
    return ends(".mp4") || ends(".mkv");
}
} // namespace

cCapture::cCapture(const sOptions& options) : m_options(options) {}

bool cCapture::start(const sOptions& options, const std::string& music_path, std::string* error) {
    if (s_instance)
        return true;
    cCapture* capture = new cCapture(options);
    const cDisplaySettings* settings = cDisplaySettings::instance();
    if (is_video_path(options.capture_path))
        capture->m_sink.reset(new cFrameSink_ffmpeg(
            options.capture_path, options.fps, settings->m_screen_width, settings->m_screen_height,
            music_path, options.has_from ? options.from_ms : 0));
    else
        capture->m_sink.reset(new cFrameSink_png(options.capture_path));
    if (!capture->m_sink->open(error)) {
        delete capture;
        return false;
    }
    capture->m_started_at = capture->m_last_report = platform::wall_seconds();
    s_instance = capture;
    return true;
}

bool cCapture::finish(std::string* error) {
    if (!s_instance)
        return true;
    s_instance->report_progress(true);
    s_instance->report_scene_times();
    if (cPassProfiler* profiler = cPassProfiler::instance()) {
        // The frame under way when the capture ends is not complete: the
        // report has the frames up to the one before.
        profiler->report(std::cerr);
        cPassProfiler::destroy();
    }
    // A failed capture is not completed: deleting the sink removes what it
    // had half written.
    bool ok = !s_instance->m_failed && s_instance->m_sink->finish(error);
    if (s_instance->m_failed)
        *error = "the capture is incomplete";
    delete s_instance;
    s_instance = nullptr;
    return ok;
}

bool cCapture::in_range(std::int64_t ms) const {
    if (m_options.has_from && ms < m_options.from_ms)
        return false;
    if (m_options.has_to && ms > m_options.to_ms)
        return false;
    return true;
}

std::string cCapture::scene_name() const {
    cScene* scene = cSceneManager::instance()->m_current;
    return scene ? scene->get_name() : "(none)";
}

void cCapture::begin_frame() {
    // The scene switches in the update that follows: the frame before this
    // one was drawn by the current scene.
    if (cPassProfiler* profiler = cPassProfiler::instance())
        profiler->frame_boundary(scene_name());
    ++m_frame;
    const std::int64_t t = frame_time_ms(m_frame, m_options.fps);
    // Past the requested range, or past the end of the music when the
    // timeline has no "quit": the capture is complete.
    if ((m_options.has_to && t > m_options.to_ms) || (has_end() && t > m_end_ms))
        std::exit(0);
    m_clock.set_ms(t);
    m_frame_started = platform::wall_seconds();
}

void cCapture::end_frame() {
    // The frame's update and drawing, before the read-back: the baseline of
    // how long each scene takes on this machine.
    glFinish();
    const double drawn_ms = (platform::wall_seconds() - m_frame_started) * 1000.0;
    if (cScene* scene = cSceneManager::instance()->m_current) {
        sSceneTimes& times = m_scene_times[scene->get_name()];
        ++times.frames;
        times.total_ms += drawn_ms;
        times.worst_ms = std::max(times.worst_ms, drawn_ms);
    }
    const std::int64_t t = frame_time_ms(m_frame, m_options.fps);
    if (!in_range(t))
        return;
    const cDisplaySettings* settings = cDisplaySettings::instance();
    int width = settings->m_screen_width;
    int height = settings->m_screen_height;
    if (settings->m_window)
        SDL_GL_GetDrawableSize(settings->m_window, &width, &height);
    m_pixels.resize(std::size_t(width) * std::size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    {
        cProfileScope scope("read-back");
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, m_pixels.data());
    }
    std::string error;
    cProfileScope scope("write");
    if (!m_sink->write_frame(m_pixels.data(), width, height, &error)) {
        std::cerr << "## ERROR: capture: " << error << std::endl;
        m_failed = true;
        std::exit(1);
    }
    ++m_written;
    report_progress(false);
}

void cCapture::report_scene_times() {
    for (const auto& entry : m_scene_times) {
        const sSceneTimes& times = entry.second;
        std::cerr << "# capture: scene \"" << entry.first << "\": " << times.frames
                  << " frames, average " << times.total_ms / times.frames << " ms, worst "
                  << times.worst_ms << " ms" << std::endl;
    }
}

void cCapture::report_progress(bool force) {
    const double now = platform::wall_seconds();
    if (!force && now - m_last_report < 0.5)
        return;
    m_last_report = now;
    const double elapsed = now - m_started_at;
    const std::int64_t t = frame_time_ms(m_frame < 0 ? 0 : m_frame, m_options.fps);
    std::cerr << "# capture: frame " << m_frame << ", " << format_timecode(t) << ", " << m_written
              << " written, " << (elapsed > 0.0 ? double(m_frame + 1) / elapsed : 0.0)
              << " frames/s" << std::endl;
}
