#include "frame_sink.h"

#include "platform/process.h"

#include <cstdio>

struct cFrameSink_ffmpeg::sPipeHolder {
    platform::cPipe pipe;
};

namespace {
// Single quotes for the shell.
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

cFrameSink_ffmpeg::cFrameSink_ffmpeg(std::string path, int fps, int width, int height,
                                     std::string audio_path, int audio_offset_ms)
    : m_path(std::move(path)), m_partial_path(m_path + ".partial"), m_fps(fps), m_width(width),
      m_height(height), m_audio_path(std::move(audio_path)), m_audio_offset_ms(audio_offset_ms) {}

cFrameSink_ffmpeg::~cFrameSink_ffmpeg() {
    if (m_pipe) {
        // Never finished: the partial file must not stay behind.
        m_pipe->pipe.close();
        platform::remove_file(m_partial_path);
        delete m_pipe;
    }
}

std::string cFrameSink_ffmpeg::command_line() const {
    char video[160];
    std::snprintf(video, sizeof video,
                  "-f rawvideo -pixel_format rgb24 -video_size %dx%d -framerate %d -i -", m_width,
                  m_height, m_fps);
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y ";
    command += video;
    if (!m_audio_path.empty()) {
        char offset[32];
        std::snprintf(offset, sizeof offset, "%.3f", m_audio_offset_ms / 1000.0);
        command += std::string(" -ss ") + offset + " -i " + quoted(m_audio_path);
        // The video sets the length: music longer than the capture is cut,
        // and a show that outlasts its music goes on in silence (without the
        // padding ffmpeg would stop taking frames where the music ends).
        command += " -map 0:v -map 1:a -af apad -c:a aac -b:a 192k -shortest";
    }
    // GL reads rows bottom first.
    command += " -vf vflip -c:v libx264 -preset veryfast -crf 18 -pix_fmt yuv420p";
    command += ends_with(m_path, ".mkv") ? " -f matroska " : " -f mp4 -movflags +faststart ";
    return command + quoted(m_partial_path);
}

bool cFrameSink_ffmpeg::open(std::string* error) {
    if (!platform::find_program("ffmpeg")) {
        *error = "ffmpeg is needed to write \"" + m_path + "\" but is not installed";
        return false;
    }
    const std::size_t slash = m_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash);
    std::string reason;
    if (!folder.empty() && !platform::make_directories(folder, &reason)) {
        *error = "cannot create the folder \"" + folder + "\": " + reason;
        return false;
    }
    if (!platform::folder_is_writable(folder.empty() ? "/" : folder)) {
        *error = "cannot write into the folder \"" + folder + "\"";
        return false;
    }
    m_pipe = new sPipeHolder;
    if (!m_pipe->pipe.open(command_line())) {
        delete m_pipe;
        m_pipe = nullptr;
        *error = "cannot start ffmpeg";
        return false;
    }
    return true;
}

bool cFrameSink_ffmpeg::write_frame(const std::uint8_t* rgb, int width, int height,
                                    std::string* error) {
    if (width != m_width || height != m_height) {
        *error = "the window changed size during the capture";
        return false;
    }
    if (!m_pipe || !m_pipe->pipe.write(rgb, std::size_t(width) * std::size_t(height) * 3)) {
        *error = "ffmpeg stopped taking frames";
        return false;
    }
    ++m_written;
    return true;
}

std::string cFrameSink_ffmpeg::keep_partial() {
    if (!m_pipe)
        return "";
    // A closed pipe lets ffmpeg complete a playable file of the frames so far.
    const int status = m_pipe->pipe.close();
    delete m_pipe;
    m_pipe = nullptr;
    if (status != 0 || m_written == 0) {
        platform::remove_file(m_partial_path);
        return "";
    }
    return m_partial_path;
}

bool cFrameSink_ffmpeg::finish(std::string* error) {
    if (!m_pipe) {
        *error = "no video was started";
        return false;
    }
    int status = m_pipe->pipe.close();
    delete m_pipe;
    m_pipe = nullptr;
    if (status != 0) {
        platform::remove_file(m_partial_path);
        *error = "ffmpeg failed to write \"" + m_path + "\"";
        return false;
    }
    std::string reason;
    if (!platform::rename_file(m_partial_path, m_path, &reason)) {
        platform::remove_file(m_partial_path);
        *error = "cannot move the video to \"" + m_path + "\": " + reason;
        return false;
    }
    return true;
}
