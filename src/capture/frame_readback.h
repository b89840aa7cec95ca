// Reading finished frames back from the window without waiting for them: each
// frame is read into one of a few pixel-buffer objects, and its pixels are
// fetched only when that buffer is needed again, by which time the driver has
// long finished the copy.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// One frame of tightly packed RGB rows, bottom row first (as GL reads them).
struct sCapturedFrame {
    std::vector<std::uint8_t> rgb;
    int width = 0;
    int height = 0;
};

class cFrameReadback {
public:
    // Up to depth frames in flight (at least one). Needs the GL context.
    explicit cFrameReadback(int depth);
    // Deletes the buffers; needs the GL context. Frames in flight are lost.
    ~cFrameReadback();
    cFrameReadback(const cFrameReadback&) = delete;
    cFrameReadback& operator=(const cFrameReadback&) = delete;

    bool empty() const { return m_count == 0; }
    // Every buffer holds a frame: take the oldest before the next read.
    bool full() const { return m_count == int(m_slots.size()); }

    // Starts reading the lower left width x height pixels of the current
    // read buffer. There must be room (not full()).
    void read(int width, int height);
    // Fetches the oldest frame in flight (there must be one) into done,
    // reusing done's pixel buffer when it has the frame's size already;
    // false when its buffer could not be mapped (the frame is lost).
    bool take_oldest(sCapturedFrame* done);

private:
    struct sSlot {
        GLuint buffer = 0;
        std::size_t capacity = 0; // bytes allocated for the buffer
        int width = 0;
        int height = 0;
    };
    std::vector<sSlot> m_slots;
    int m_oldest = 0; // slot of the oldest frame in flight
    int m_count = 0;  // frames in flight
};
