#include "capture/frame_sink.h"

#include "platform/paths.h"
#include "platform/process.h"

#include <cstdio>
#include <cstdlib>

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

// The longest the encoder may take no frame data, and may take to end once
// its input has ended; VANTREL_ENCODER_TIMEOUT (seconds) overrides it.
double encoder_timeout_seconds() {
    const char* text = std::getenv("VANTREL_ENCODER_TIMEOUT");
    const double seconds = text ? std::atof(text) : 0.0;
    return seconds > 0.0 ? seconds : 60.0;
}

// The last line ffmpeg wrote to its error stream that says what went wrong.
std::string last_error_line(const std::string& errors) {
    std::size_t end = errors.size();
    while (end > 0) {
        const std::size_t start = errors.rfind('\n', end - 1);
        const std::size_t from = start == std::string::npos ? 0 : start + 1;
        const std::string line = errors.substr(from, end - from);
        if (!line.empty() && line != "Conversion failed!")
            return line;
        if (start == std::string::npos)
            break;
        end = start;
    }
    return "";
}

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

cFrameSink_ffmpeg::cFrameSink_ffmpeg(std::string path, int fps, int width, int height,
                                     std::string audio_path, int audio_offset_ms)
    : m_path(std::move(path)), m_partial_path(m_path + ".partial"), m_fps(fps), m_width(width),
      m_height(height), m_audio_path(std::move(audio_path)), m_audio_offset_ms(audio_offset_ms),
      m_stall_seconds(encoder_timeout_seconds()) {}

cFrameSink_ffmpeg::~cFrameSink_ffmpeg() {
    // Never finished nor kept (a capture that failed to start): the encoder
    // is killed, and a file of no frames must not stay behind.
    if (m_pipe) {
        delete m_pipe;
        if (m_written == 0)
            platform::remove_file(m_partial_path);
    }
}

std::string cFrameSink_ffmpeg::command_line() const {
    char video[160];
    std::snprintf(video, sizeof video,
                  "-f rawvideo -pixel_format rgb24 -video_size %dx%d -framerate %d -i -", m_width,
                  m_height, m_fps);
    // The shell becomes ffmpeg: the process waited for is the encoder.
    std::string command = "exec ffmpeg -nostdin -hide_banner -loglevel error -y ";
    // Without it ffmpeg exits with success when the file's ending cannot be
    // written, and takes frames on after a failed write.
    command += "-xerror ";
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
    // Frames larger than the show's own 1024 x 768 are for sharing: a slower
    // preset, a lower CRF and x264's grain tuning keep the gases' fine grain,
    // which a fast encode smears into blocks at HD and 4K sizes. At the
    // show's own size the encoder shares the two cores of a software-rendered
    // capture: ultrafast at CRF 20 keeps the picture as close to the frames
    // as veryfast at 18 did, in a third of the encoder's time, for a file
    // about one and a half times as large.
    command += " -vf vflip -c:v libx264";
    command += m_width * m_height > 1024 * 768 ? " -preset medium -crf 16 -tune grain"
                                               : " -preset ultrafast -crf 20";
    command += " -pix_fmt yuv420p";
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
    if (!m_pipe) {
        *error = "ffmpeg is not running";
        return false;
    }
    const std::size_t size = std::size_t(width) * std::size_t(height) * 3;
    if (!m_pipe->pipe.write(rgb, size, m_stall_seconds)) {
        const std::string reason = m_pipe->pipe.error();
        // A writer gone away has ended or is ending: its own words say why.
        // One that takes no data is stopped at once.
        const bool gone = m_pipe->pipe.reader_gone();
        if (!close_encoder(gone ? m_stall_seconds : 0.0, error) && gone)
            return false;
        *error = "ffmpeg stopped taking frames for \"" + m_partial_path + "\": " + reason;
        return false;
    }
    ++m_written;
    return true;
}

bool cFrameSink_ffmpeg::close_encoder(double timeout_seconds, std::string* error) {
    if (!m_pipe) {
        *error = "ffmpeg is not running";
        return false;
    }
    const int status = m_pipe->pipe.close(timeout_seconds);
    const std::string reason = m_pipe->pipe.error();
    const std::string said = last_error_line(m_pipe->pipe.errors());
    delete m_pipe;
    m_pipe = nullptr;
    if (status == 0)
        return true;
    *error = "ffmpeg cannot write \"" + m_partial_path + "\": ";
    if (!said.empty()) {
        // "Error writing trailer of show.mp4.partial: No space left on device"
        const std::size_t colon = said.rfind(": ");
        *error += colon == std::string::npos ? said : said.substr(colon + 2);
    } else {
        *error += status > 0 ? "it exited with status " + std::to_string(status) : reason;
    }
    return false;
}

std::string cFrameSink_ffmpeg::keep_partial() {
    // A closed input lets ffmpeg complete a playable file of the frames so
    // far; one that failed or was killed leaves what it wrote.
    if (m_pipe) {
        std::string error;
        close_encoder(m_stall_seconds, &error);
    }
    if (m_written == 0 || !platform::is_readable_file(m_partial_path)) {
        platform::remove_file(m_partial_path);
        return "";
    }
    return m_partial_path;
}

bool cFrameSink_ffmpeg::finish(std::string* error) {
    if (!close_encoder(m_stall_seconds, error))
        return false;
    std::string reason;
    if (!platform::rename_file(m_partial_path, m_path, &reason)) {
        *error = "cannot move the video to \"" + m_path + "\": " + reason;
        return false;
    }
    return true;
}
