// Where captured frames go: numbered PNG files or a video encoder.
#pragma once

#include <cstdint>
#include <string>

class iFrameSink {
public:
    virtual ~iFrameSink() = default;
    // Checks and prepares the destination before any frame is rendered.
    virtual bool open(std::string* error) = 0;
    // One frame of tightly packed RGB rows, bottom row first (as GL reads them).
    virtual bool write_frame(const std::uint8_t* rgb, int width, int height,
                             std::string* error) = 0;
    // Completes the destination; false (and nothing claiming success) on failure.
    virtual bool finish(std::string* error) = 0;
    // Ends an incomplete capture: what was written stays under a name that
    // says it is partial, and that name is returned; empty when nothing is
    // kept. Nothing is left under the final name.
    virtual std::string keep_partial() = 0;
};

// A folder of frame_000000.png, frame_000001.png, ... The frames are written
// into the folder's name with ".partial" added and moved into the folder
// when the capture is complete.
class cFrameSink_png : public iFrameSink {
public:
    explicit cFrameSink_png(std::string folder);
    bool open(std::string* error) override;
    bool write_frame(const std::uint8_t* rgb, int width, int height, std::string* error) override;
    bool finish(std::string* error) override;
    std::string keep_partial() override;

    static std::string frame_name(int index);
    // One picture of tightly packed RGB rows, bottom row first, as a PNG file.
    static bool write_png(const std::string& path, const std::uint8_t* rgb, int width, int height);

private:
    std::string m_folder;
    std::string m_partial_folder;
    bool m_made_folder = false; // the final folder did not exist before open
    int m_written = 0;
};

// An .mp4 or .mkv video made by ffmpeg from the frames, with the soundtrack.
class cFrameSink_ffmpeg : public iFrameSink {
public:
    // audio_path may be empty (no soundtrack); audio_offset_ms skips its start.
    cFrameSink_ffmpeg(std::string path, int fps, int width, int height, std::string audio_path,
                      int audio_offset_ms);
    ~cFrameSink_ffmpeg() override;
    bool open(std::string* error) override;
    bool write_frame(const std::uint8_t* rgb, int width, int height, std::string* error) override;
    bool finish(std::string* error) override;
    std::string keep_partial() override;

    // The encoder's command line (the frames arrive on its standard input).
    std::string command_line() const;

private:
    std::string m_path;
    std::string m_partial_path; // written here, renamed when complete
    int m_fps, m_width, m_height;
    std::string m_audio_path;
    int m_audio_offset_ms;
    int m_written = 0;
    struct sPipeHolder;
    sPipeHolder* m_pipe = nullptr;
};
