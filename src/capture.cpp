#include "capture.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "platform/process.h"
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
    s_instance = capture;
    return true;
}

bool cCapture::finish(std::string* error) {
    if (!s_instance)
        return true;
    // A failed capture is not completed: deleting the sink removes what it
    // had half written.
    bool ok = !s_instance->m_failed && s_instance->complete_writing(error) &&
              s_instance->m_sink->finish(error);
    if (s_instance->m_failed)
        *error = "the capture is incomplete";
    s_instance->report_progress(true);
    s_instance->report_scene_times();
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

void cCapture::begin_frame() {
    ++m_frame;
    const std::int64_t t = frame_time_ms(m_frame, m_options.fps);
    // Past the requested range, or past the end of the music when the
    // timeline has no "quit": the capture is complete.
    if ((m_options.has_to && t > m_options.to_ms) || (has_end() && t > m_end_ms))
        std::exit(0);
    m_clock.set_ms(t);
    m_frame_started = platform::wall_seconds();
    if (m_frame == 0)
        start_progress();
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
    if (in_range(frame_time_ms(m_frame, m_options.fps))) {
        const cDisplaySettings* settings = cDisplaySettings::instance();
        int width = settings->m_screen_width;
        int height = settings->m_screen_height;
        if (settings->m_window)
            SDL_GL_GetDrawableSize(settings->m_window, &width, &height);
        std::string error;
        if (!write_frame(width, height, &error)) {
            std::cerr << "## ERROR: capture: " << error << std::endl;
            m_failed = true;
            std::exit(1);
        }
        ++m_written;
    }
    report_progress(false);
}

bool cCapture::write_frame(int width, int height, std::string* error) {
    if (!m_writer) {
        // Three frames in flight leave the driver time to finish each copy;
        // two waiting for the writer smooth out slow encoder moments.
        m_readback.reset(new cFrameReadback(3));
        m_writer.reset(new cFrameWriter(m_sink.get(), 2));
    }
    if (m_readback->full()) {
        sCapturedFrame frame;
        if (!m_readback->take_oldest(&frame)) {
            *error = "a frame could not be read back";
            return false;
        }
        if (!m_writer->submit(std::move(frame), error))
            return false;
    }
    glReadBuffer(GL_BACK);
    m_readback->read(width, height);
    return true;
}

bool cCapture::complete_writing(std::string* error) {
    if (!m_writer)
        return true;
    while (!m_readback->empty()) {
        sCapturedFrame frame;
        if (!m_readback->take_oldest(&frame)) {
            *error = "a frame could not be read back";
            return false;
        }
        if (!m_writer->submit(std::move(frame), error))
            return false;
    }
    return m_writer->finish(error);
}

void cCapture::start_progress() {
    // The range ends at --to, the "quit" marker or the end of the music,
    // whichever comes first.
    std::int64_t last_ms = -1;
    for (int end : {m_options.has_to ? m_options.to_ms : -1, m_quit_ms, m_end_ms})
        if (end >= 0 && (last_ms < 0 || end < last_ms))
            last_ms = end;
    const int fps = m_options.fps;
    m_progress.reset(new cCaptureProgress(
        fps, cCaptureProgress::first_frame(m_options.has_from ? m_options.from_ms : 0, fps),
        cCaptureProgress::last_frame(last_ms, fps), platform::stderr_is_terminal()));
    m_started_at = platform::wall_seconds();
    std::cerr << m_progress->start_line() << std::endl;
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
    if (!m_progress)
        return;
    const std::string text =
        m_progress->update(m_frame, m_written, platform::wall_seconds() - m_started_at, force);
    if (!text.empty())
        std::cerr << text << std::flush;
}
