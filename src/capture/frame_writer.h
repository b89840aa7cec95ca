// Writes captured frames into a sink on a thread of its own, so that PNG
// encoding and the pipe to the video encoder run while the next frames are
// drawn. Frames are written in the order they are handed over; a few may
// wait, and handing over more waits until there is room.
#pragma once

#include "capture/frame_readback.h"
#include "capture/frame_sink.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class cFrameWriter {
public:
    // The sink is not owned and must outlive the writer; it is used only by
    // the writer's thread until finish() returns.
    cFrameWriter(iFrameSink* sink, std::size_t queue_limit);
    // Stops the thread once the frame in hand is written; frames still
    // waiting are dropped (a failed capture).
    ~cFrameWriter();
    cFrameWriter(const cFrameWriter&) = delete;
    cFrameWriter& operator=(const cFrameWriter&) = delete;

    // Queues a frame, waiting while the queue is full. False with the sink's
    // error once a frame could not be written: nothing after it is written.
    // False as well at a second termination request while it waits.
    bool submit(sCapturedFrame frame, std::string* error);
    // Writes every queued frame and ends the thread; false with the error
    // when a frame could not be written.
    bool finish(std::string* error);
    // The pixel buffer of a frame already written, for the next frame to be
    // read into (no fresh allocation of a few megabytes a frame); empty when
    // none is spare.
    std::vector<std::uint8_t> spare_buffer();

private:
    void run();

    iFrameSink* m_sink;
    std::size_t m_queue_limit;
    std::mutex m_mutex;
    std::condition_variable m_changed; // a frame queued or taken, or stop
    std::deque<sCapturedFrame> m_queue;
    // Buffers of written frames, at most m_queue_limit + 1: as many as
    // can be on their way back to the writer.
    std::vector<std::vector<std::uint8_t>> m_spare;
    bool m_stop = false;
    bool m_failed = false;
    std::string m_error;
    std::thread m_thread;
};
