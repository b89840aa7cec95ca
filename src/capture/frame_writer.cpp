#include "capture/frame_writer.h"

#include "platform/process.h"

#include <chrono>
#include <utility>

cFrameWriter::cFrameWriter(iFrameSink* sink, std::size_t queue_limit)
    : m_sink(sink), m_queue_limit(queue_limit > 0 ? queue_limit : 1),
      m_thread(&cFrameWriter::run, this) {}

cFrameWriter::~cFrameWriter() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.clear();
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool cFrameWriter::submit(sCapturedFrame frame, std::string* error) {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_failed && m_queue.size() >= m_queue_limit) {
        // A writer stuck on an encoder that takes nothing must not keep the
        // program from ending at a second interrupt.
        if (platform::termination_requests() >= 2) {
            *error = "interrupted again while a frame waited to be written";
            return false;
        }
        m_changed.wait_for(lock, std::chrono::milliseconds(100));
    }
    if (m_failed) {
        *error = m_error;
        return false;
    }
    m_queue.push_back(std::move(frame));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool cFrameWriter::finish(std::string* error) {
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    if (m_failed)
        *error = m_error;
    return !m_failed;
}

std::vector<std::uint8_t> cFrameWriter::spare_buffer() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_spare.empty())
        return std::vector<std::uint8_t>();
    std::vector<std::uint8_t> buffer = std::move(m_spare.back());
    m_spare.pop_back();
    return buffer;
}

void cFrameWriter::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return; // stopped, and everything handed over is written
        sCapturedFrame frame = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        m_changed.notify_all(); // room for the next frame
        std::string error;
        const bool ok = m_sink->write_frame(frame.rgb.data(), frame.width, frame.height, &error);
        lock.lock();
        if (!ok) {
            m_failed = true;
            m_error = error;
            m_queue.clear();
            lock.unlock();
            m_changed.notify_all();
            return;
        }
        // The sink is done with the pixels: the buffer serves again.
        if (m_spare.size() <= m_queue_limit)
            m_spare.push_back(std::move(frame.rgb));
    }
}
