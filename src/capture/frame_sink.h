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
    // Ends an incomplete or failed capture (also after a failed finish): what
    // was written stays under a name that says it is partial, and that name
    // is returned; empty when nothing is kept. Nothing is left under the
    // final name.
    virtual std::string keep_partial() = 0;
    // Frames written whole so far.
    virtual int frames_written() const = 0;
};

// A folder of frame_000000.png, frame_000001.png, ... The frames are written
// into the folder's name with ".partial" added, which takes the folder's name
// when the capture is complete. A folder already there is replaced then, and
// only if it holds nothing but such frames (an earlier capture's).
class cFrameSink_png : public iFrameSink {
public:
    explicit cFrameSink_png(std::string folder);
    bool open(std::string* error) override;
    bool write_frame(const std::uint8_t* rgb, int width, int height, std::string* error) override;
    bool finish(std::string* error) override;
    std::string keep_partial() override;
    int frames_written() const override { return m_written; }

    static std::string frame_name(int index);
    // True for the names frame_name() gives.
    static bool is_frame_name(const std::string& name);
    // One picture of tightly packed RGB rows, bottom row first, as a PNG
    // file; false with the reason, and no file, when it cannot be written.
    static bool write_png(const std::string& path, const std::uint8_t* rgb, int width, int height,
                          std::string* error);

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
    int frames_written() const override { return m_written; }

    // The encoder's command line (the frames arrive on its standard input).
    std::string command_line() const;

private:
    std::string m_path;
    std::string m_partial_path; // written here, renamed when complete
    int m_fps, m_width, m_height;
    std::string m_audio_path;
    int m_audio_offset_ms;
    int m_written = 0;
    double m_stall_seconds; // the longest the encoder may take no data
    struct sPipeHolder;
    sPipeHolder* m_pipe = nullptr;
    // Ends the encoder: true when it wrote the file, else false with why.
    bool close_encoder(double timeout_seconds, std::string* error);
};
