// Reading finished frames back without waiting for them. Each frame is either
// read into one of a few pixel-buffer objects, its pixels fetched only when
// that buffer is needed again, by which time the driver has long finished the
// copy; or, where the frames are drawn into framebuffers taking turns, read
// from its framebuffer only when its turn comes round. A software rasteriser
// fills a pixel buffer at once, after waiting for the whole frame; there the
// frames take turns instead.
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
    enum eMethod {
        PIXEL_BUFFERS,
        // Each frame stays in the framebuffer it was drawn into, which the
        // caller leaves untouched until the frame is taken.
        FRAMEBUFFERS
    };
    // Up to depth frames in flight (at least one). Needs the GL context.
    explicit cFrameReadback(int depth, eMethod method = PIXEL_BUFFERS);
    // Deletes the buffers; needs the GL context. Frames in flight are lost.
    ~cFrameReadback();
    cFrameReadback(const cFrameReadback&) = delete;
    cFrameReadback& operator=(const cFrameReadback&) = delete;

    bool empty() const { return m_count == 0; }
    // Every buffer holds a frame: take the oldest before the next read.
    bool full() const { return m_count == int(m_slots.size()); }

    // Starts reading the lower left width x height pixels of the current
    // read buffer (of the current read framebuffer). There must be room
    // (not full()).
    void read(int width, int height);
    // Fetches the oldest frame in flight (there must be one) into done,
    // reusing done's pixel buffer when it has the frame's size already;
    // false when its buffer could not be mapped (the frame is lost).
    bool take_oldest(sCapturedFrame* done);

private:
    struct sSlot {
        GLuint buffer = 0;        // the pixel buffer
        std::size_t capacity = 0; // bytes allocated for the buffer
        GLuint framebuffer = 0;   // or the framebuffer holding the frame
        int width = 0;
        int height = 0;
    };
    bool fetch_pixel_buffer(const sSlot& slot, sCapturedFrame* done);
    bool fetch_framebuffer(const sSlot& slot, sCapturedFrame* done);

    eMethod m_method;
    bool m_warmed = false; // a first read was made
    std::vector<sSlot> m_slots;
    int m_oldest = 0; // slot of the oldest frame in flight
    int m_count = 0;  // frames in flight
};
