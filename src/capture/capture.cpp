#include "capture/capture.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "pass_profiler.h"
#include "platform/process.h"
#include "profile_scope.h"
#include "renderer_traits.h"
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

cCapture::cCapture(const sOptions& options)
    : m_options(options), m_draw_every_frame(std::getenv("VANTREL_DRAW_EVERY_FRAME") != nullptr) {}

bool cCapture::start(const sOptions& options, const std::string& music_path, std::string* error) {
    if (s_instance)
        return true;
    cCapture* capture = new cCapture(options);
    const cDisplaySettings* settings = cDisplaySettings::instance();
    if (is_video_path(options.capture_path))
        capture->m_sink.reset(new cFrameSink_ffmpeg(
            options.capture_path, options.fps, settings->m_frame_width, settings->m_frame_height,
            music_path, options.has_from ? options.from_ms : 0));
    else
        capture->m_sink.reset(new cFrameSink_png(options.capture_path));
    if (!capture->m_sink->open(error)) {
        delete capture;
        return false;
    }
    s_instance = capture;
    static const bool registered = std::atexit(&cCapture::finish_at_early_exit) == 0;
    (void)registered;
    return true;
}

void cCapture::finish_at_early_exit() {
    // Exit handlers run in reverse order: once the program's own handler is
    // registered it runs first and has finished the capture already.
    std::string error;
    if (finish(&error))
        return;
    std::cerr << "## ERROR: capture: " << error << std::endl;
    std::cout.flush();
    std::_Exit(1);
}

bool cCapture::finish(std::string* error) {
    if (!s_instance)
        return true;
    cCapture* capture = s_instance;
    std::string failure = capture->m_error;
    // The frames in flight are written, unless the writing failed already.
    if (!capture->m_failed && !capture->complete_writing(&failure))
        capture->m_failed = true;
    // Ends the writer's thread: after a failure the frames waiting are lost.
    capture->m_writer.reset();
    iFrameSink* sink = capture->m_sink.get();
    bool ok = false;
    if (!capture->m_failed && capture->m_reached_end && sink->frames_written() > 0)
        ok = sink->finish(&failure);
    if (!ok) {
        // Stopped early (Escape, q, the window closed, an interrupt), failed,
        // or a range that holds no frame of the show: no result under the
        // final name; the frames written stay under the partial one.
        *error = (failure.empty() ? "" : failure + "; ") + capture->stop_text();
        const std::string kept = sink->keep_partial();
        *error += kept.empty() ? ", nothing kept" : ", kept in \"" + kept + "\"";
    }
    if (capture->m_frame >= 0) {
        capture->report_progress(true);
        capture->report_scene_times();
    }
    if (cPassProfiler* profiler = cPassProfiler::instance()) {
        // The frame under way when the capture ends is not complete: the
        // report has the frames up to the one before.
        profiler->report(std::cerr);
        cPassProfiler::destroy();
    }
    delete capture;
    s_instance = nullptr;
    return ok;
}

std::int64_t cCapture::last_ms() const {
    std::int64_t last = -1;
    if (has_end())
        last = m_end_ms;
    if (m_options.has_to && (last < 0 || m_options.to_ms < last))
        last = m_options.to_ms;
    return last;
}

std::string cCapture::stop_text() const {
    const int written = m_sink->frames_written();
    std::string text;
    const std::int64_t last = last_ms();
    if (m_reached_end && written == 0) {
        text = "no frame of the show lies between --from and --to";
        if (last >= 0)
            text += " (the show ends at " + format_timecode(last) + ")";
    } else if (m_frame < 0) {
        text = "the capture stopped before its first frame";
    } else if (!m_reached_end) {
        text = "the capture stopped at " + format_timecode(frame_time_ms(m_frame, m_options.fps));
        if (last >= 0)
            text += ", before its end at " + format_timecode(last);
    }
    return text + (text.empty() ? "" : "; ") + std::to_string(written) + " frames written";
}

bool cCapture::in_range(std::int64_t ms) const {
    if (m_options.has_from && ms < m_options.from_ms)
        return false;
    if (m_options.has_to && ms > m_options.to_ms)
        return false;
    return true;
}

bool cCapture::take_shot(const std::vector<int>& shots, std::size_t* next, std::int64_t ms) {
    if (shots.empty())
        return true;
    if (*next >= shots.size() || ms < shots[*next])
        return false;
    // One frame stands for every shot time since the previous frame.
    while (*next < shots.size() && shots[*next] <= ms)
        ++*next;
    return true;
}

std::string cCapture::scene_name() const {
    cScene* scene = cSceneManager::instance()->m_current;
    return scene ? scene->get_name() : "(none)";
}

void cCapture::begin_frame() {
    const double now = platform::wall_seconds();
    time_drawn_frame(now);
    // The scene switches in the update that follows: the frame before this
    // one was drawn by the current scene.
    if (cPassProfiler* profiler = cPassProfiler::instance())
        profiler->frame_boundary(scene_name(), m_draw);
    ++m_frame;
    const std::int64_t t = frame_time_ms(m_frame, m_options.fps);
    // Past the requested range or the end of the show, a range that starts
    // after the show ends, or every shot taken: the capture is complete.
    const std::int64_t last = last_ms();
    const bool shots_taken =
        !m_options.shots_ms.empty() && m_next_shot >= m_options.shots_ms.size();
    if (shots_taken ||
        (last >= 0 && (t > last || (m_options.has_from && m_options.from_ms > last)))) {
        m_reached_end = true;
        // The frames in flight are read back now, while the GL driver runs in
        // full: Mesa's own exit handlers may run before the program's and
        // stop the software rasteriser's threads, which then crashes when a
        // framebuffer is read. A frame lost ends the capture as a failure.
        if (!m_failed && !read_back_in_flight(&m_error))
            m_failed = true;
        std::exit(m_failed ? 1 : 0);
    }
    m_clock.set_ms(t);
    // Every frame passes the shot times it reaches, in the range or not.
    const bool shot = take_shot(m_options.shots_ms, &m_next_shot, t);
    m_write = in_range(t) && shot;
    m_draw = m_write || m_draw_every_frame;
    // A frame waiting to be read keeps its off-screen frame; one drawn but
    // not written leaves it to the next.
    if (m_draw && m_frame_in_flight) {
        cDisplaySettings::instance()->next_offscreen_frame();
        m_frame_in_flight = false;
    }
    m_frame_started = now;
    if (m_frame == 0)
        start_progress();
}

void cCapture::time_drawn_frame(double now) {
    if (m_drawn_scene.empty())
        return;
    const double ms = (now - m_frame_started) * 1000.0;
    sSceneTimes& times = m_scene_times[m_drawn_scene];
    ++times.frames;
    times.total_ms += ms;
    times.worst_ms = std::max(times.worst_ms, ms);
    m_drawn_scene.clear();
}

void cCapture::end_frame() {
    if (m_draw) {
        // The profile charges each pass with the GL work it queued; a
        // capture does not wait for the driver otherwise, so that the
        // read-back stays asynchronous.
        if (cPassProfiler::instance())
            glFinish();
        if (cScene* scene = cSceneManager::instance()->m_current)
            m_drawn_scene = scene->get_name();
    }
    if (m_write) {
        const cDisplaySettings* settings = cDisplaySettings::instance();
        int width = settings->m_screen_width;
        int height = settings->m_screen_height;
        if (settings->m_window && !settings->m_offscreen)
            SDL_GL_GetDrawableSize(settings->m_window, &width, &height);
        // A frame lost ends the capture at once; the exit handler says why.
        if (!write_frame(width, height, &m_error)) {
            m_failed = true;
            std::exit(1);
        }
        ++m_written;
    }
    report_progress(false);
}

bool cCapture::presents_frame() {
    const double now = platform::wall_seconds();
    if (m_presented_at >= 0.0 && now - m_presented_at < 0.25)
        return false;
    m_presented_at = now;
    return true;
}

bool cCapture::write_frame(int width, int height, std::string* error) {
    cDisplaySettings* settings = cDisplaySettings::instance();
    if (!m_writer) {
        // Three frames in flight leave the driver time to finish each copy;
        // two waiting for the writer smooth out slow encoder moments. Frames
        // drawn off-screen in turn stay in their framebuffers until read:
        // all but the one being drawn can be in flight.
        const int turns = settings->offscreen_frames();
        m_readback.reset(turns > 1 ? new cFrameReadback(turns - 1, cFrameReadback::FRAMEBUFFERS)
                                   : new cFrameReadback(3));
        m_writer.reset(new cFrameWriter(m_sink.get(), 2));
    }
    if (m_readback->full()) {
        sCapturedFrame frame;
        frame.rgb = m_writer->spare_buffer();
        {
            cProfileScope scope("read-back");
            if (!m_readback->take_oldest(&frame)) {
                *error = "a frame could not be read back";
                return false;
            }
        }
        // Waits only when the writer is two frames behind.
        cProfileScope scope("write");
        if (!m_writer->submit(std::move(frame), error))
            return false;
    }
    cProfileScope scope("read-back");
    // An off-screen frame is read from its own colour buffer, set at start.
    if (!settings->m_offscreen)
        glReadBuffer(GL_BACK);
    m_readback->read(width, height);
    // The next frame drawn goes into the next off-screen frame in turn.
    m_frame_in_flight = true;
    return true;
}

bool cCapture::complete_writing(std::string* error) {
    return read_back_in_flight(error) && (!m_writer || m_writer->finish(error));
}

bool cCapture::read_back_in_flight(std::string* error) {
    if (!m_writer)
        return true;
    while (!m_readback->empty()) {
        sCapturedFrame frame;
        frame.rgb = m_writer->spare_buffer();
        if (!m_readback->take_oldest(&frame)) {
            *error = "a frame could not be read back";
            return false;
        }
        if (!m_writer->submit(std::move(frame), error))
            return false;
    }
    return true;
}

std::int64_t cCapture::progress_end_ms() const {
    // With shots the capture ends after the last one.
    std::int64_t last = last_ms();
    if (!m_options.shots_ms.empty() && (last < 0 || m_options.shots_ms.back() < last))
        last = m_options.shots_ms.back();
    return last;
}

void cCapture::start_progress() {
    const int fps = m_options.fps;
    m_progress.reset(new cCaptureProgress(
        fps, cCaptureProgress::first_frame(m_options.has_from ? m_options.from_ms : 0, fps),
        cCaptureProgress::last_frame(progress_end_ms(), fps), platform::stderr_is_terminal()));
    m_started_at = platform::wall_seconds();
    std::cerr << m_progress->start_line() << "\n# capture: renderer "
              << cRendererTraits::instance()->summary() << std::endl;
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
