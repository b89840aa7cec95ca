#include "platform/process.h"
#include "test_support.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>
#include <thread>

namespace {
void ignore_signal(int) {}
} // namespace

// A capture's writer blocks on a full pipe to the video encoder while a
// termination request arrives: SDL's handler does not restart system calls,
// so the write is interrupted, and every byte must still reach the reader.
TEST(PlatformPipe, WritesInterruptedBySignalsDeliverEveryByte) {
    struct sigaction action {
    }, saved{};
    action.sa_handler = ignore_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart
    ASSERT_EQ(sigaction(SIGUSR1, &action, &saved), 0);

    const std::string out = make_temp_dir("pipe") + "/received";
    std::string data(4 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 7919 % 251);

    platform::cPipe pipe;
    // The reader starts late, so the pipe is full and the writer blocks. A
    // writer that stays blocked fails once the reader's minute is up.
    ASSERT_TRUE(pipe.open("timeout 60 sh -c 'sleep 0.3; cat >" + out + "'"));
    std::atomic<bool> done{false};
    bool written = false;
    std::thread writer([&] {
        written = pipe.write(data.data(), data.size());
        done = true;
    });
    for (int i = 0; !done && i < 30000; ++i) { // past the reader's minute
        pthread_kill(writer.native_handle(), SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    writer.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(pipe.close(), 0);
    EXPECT_TRUE(read_file_bytes(out) == data) << "the reader got other bytes";
    sigaction(SIGUSR1, &saved, nullptr);
}
