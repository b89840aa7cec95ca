// The capture's frames on their way out: read back a few frames late, through
// pixel-buffer objects or from framebuffers drawn into in turn, and written on
// the writer's thread, they must become the same files, in the same order, as
// frames read and written at once; a frame that cannot be written stops the
// writing with its reason.
#include "capture/frame_readback.h"
#include "capture/frame_sink.h"
#include "capture/frame_writer.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// Every frame different: a background and a rectangle that moves.
void draw_frame(int k, int width, int height) {
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT | GL_ENABLE_BIT);
    glClearColor(k * 0.11f, 1.0f - k * 0.09f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(k * 7, k * 3, width / 3, height / 2);
    glClearColor(0.9f, 0.2f, k * 0.12f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
}

// Keeps the byte that fills each frame it is given (-1 for a frame of mixed
// bytes); fails from one frame on.
class cRecordingSink : public iFrameSink {
public:
    explicit cRecordingSink(int fail_at) : m_fail_at(fail_at) {}
    bool open(std::string*) override { return true; }
    int frames_written() const override { return int(m_first_bytes.size()); }
    bool write_frame(const std::uint8_t* rgb, int width, int height, std::string* error) override {
        if (int(m_first_bytes.size()) == m_fail_at) {
            *error = "disk full";
            return false;
        }
        const std::uint8_t* end = rgb + std::size_t(width) * std::size_t(height) * 3;
        m_first_bytes.push_back(
            std::all_of(rgb, end, [&](std::uint8_t b) { return b == rgb[0]; }) ? rgb[0] : -1);
        return true;
    }
    bool finish(std::string*) override { return true; }
    std::string keep_partial() override { return ""; }
    std::vector<int> m_first_bytes;

private:
    int m_fail_at;
};
} // namespace

TEST(CaptureWriting, FramesReadBackLaterBecomeTheSameFilesAsFramesReadAtOnce) {
    ensure_gl_context();
    // An odd width: rows are packed without padding.
    const int width = 203, height = 77, frames = 8;
    // Three framebuffers taking turns, as a capture on a software
    // rasteriser draws its frames: two can wait to be read.
    GLuint framebuffers[3] = {}, colours[3] = {};
    ext::glGenFramebuffersEXT(3, framebuffers);
    ext::glGenRenderbuffersEXT(3, colours);
    for (int k = 0; k < 3; ++k) {
        ext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, colours[k]);
        ext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
        ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffers[k]);
        ext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                          GL_RENDERBUFFER_EXT, colours[k]);
    }
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    for (const cFrameReadback::eMethod method :
         {cFrameReadback::PIXEL_BUFFERS, cFrameReadback::FRAMEBUFFERS}) {
        SCOPED_TRACE(method);
        const bool turns = method == cFrameReadback::FRAMEBUFFERS;
        const std::string at_once = make_temp_dir("capture_at_once" + std::to_string(method));
        const std::string later = make_temp_dir("capture_later" + std::to_string(method));
        cFrameSink_png sync_sink(at_once), async_sink(later);
        std::string error;
        ASSERT_TRUE(sync_sink.open(&error) && async_sink.open(&error)) << error;
        {
            cFrameReadback readback(turns ? 2 : 3, method);
            cFrameWriter writer(&async_sink, 2);
            std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
            auto hand_over_oldest = [&] {
                sCapturedFrame frame;
                frame.rgb = writer.spare_buffer(); // as the capture reads them
                ASSERT_TRUE(readback.take_oldest(&frame));
                ASSERT_TRUE(writer.submit(std::move(frame), &error)) << error;
            };
            for (int k = 0; k < frames; ++k) {
                if (readback.full())
                    hand_over_oldest();
                ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, turns ? framebuffers[k % 3] : 0);
                glReadBuffer(turns ? GL_COLOR_ATTACHMENT0_EXT : GL_BACK);
                draw_frame(k, width, height);
                // The encoding of the frames read at once runs on this
                // thread while the writer encodes on its own.
                glPixelStorei(GL_PACK_ALIGNMENT, 1);
                glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
                ASSERT_TRUE(sync_sink.write_frame(pixels.data(), width, height, &error)) << error;
                readback.read(width, height);
            }
            while (!readback.empty())
                hand_over_oldest();
            ASSERT_TRUE(writer.finish(&error)) << error;
        }
        ASSERT_TRUE(sync_sink.finish(&error) && async_sink.finish(&error)) << error;
        for (int k = 0; k < frames; ++k) {
            SCOPED_TRACE(k);
            const std::string name = cFrameSink_png::frame_name(k);
            const std::string expected = read_file_bytes(at_once + "/" + name);
            ASSERT_GT(expected.size(), 100u);
            EXPECT_TRUE(expected == read_file_bytes(later + "/" + name));
        }
    }
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glReadBuffer(GL_BACK);
    ext::glDeleteFramebuffersEXT(3, framebuffers);
    ext::glDeleteRenderbuffersEXT(3, colours);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(CaptureWriting, AFrameThatCannotBeWrittenStopsTheWriting) {
    cRecordingSink sink(3);
    cFrameWriter writer(&sink, 2);
    std::string error;
    int accepted = 0;
    // Handing over fails soon after the writer failed (never blocks for
    // good); nothing after the failed frame reaches the sink.
    for (int k = 0; k < 50; ++k) {
        sCapturedFrame frame;
        frame.rgb.assign(3, std::uint8_t(k));
        frame.width = frame.height = 1;
        if (!writer.submit(std::move(frame), &error))
            break;
        ++accepted;
    }
    EXPECT_LT(accepted, 50);
    EXPECT_EQ(error, "disk full");
    error.clear();
    EXPECT_FALSE(writer.finish(&error));
    EXPECT_EQ(error, "disk full");
    EXPECT_EQ(sink.m_first_bytes, (std::vector<int>{0, 1, 2}));
}

TEST(CaptureWriting, BuffersHandedBackCarryEveryFrameWhole) {
    // Frames are read into the buffers of frames already written: a buffer
    // handed back before its frame is written would mix two frames.
    cRecordingSink sink(-1);
    cFrameWriter writer(&sink, 2);
    std::string error;
    std::vector<int> expected;
    for (int k = 0; k < 300; ++k) {
        sCapturedFrame frame;
        frame.rgb = writer.spare_buffer();
        frame.width = 64;
        frame.height = 32;
        frame.rgb.assign(std::size_t(frame.width) * frame.height * 3, std::uint8_t(k));
        ASSERT_TRUE(writer.submit(std::move(frame), &error)) << error;
        expected.push_back(k % 256);
    }
    ASSERT_TRUE(writer.finish(&error)) << error;
    EXPECT_EQ(sink.m_first_bytes, expected);
    // The written frames' buffers wait to serve again, but only a few.
    int spare = 0;
    while (!writer.spare_buffer().empty())
        ++spare;
    EXPECT_GE(spare, 1);
    EXPECT_LE(spare, 3);
}
