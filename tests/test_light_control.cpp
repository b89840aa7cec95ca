#include "light_control.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Records what would have gone to the driver, and answers as told.
class cFakeLightDevice : public iLightDevice {
public:
    eResult send(const std::uint8_t (&request)[kRequestSize], unsigned long* error_code) override {
        m_sent.emplace_back(request, request + kRequestSize);
        *error_code = m_error_code;
        return m_answer;
    }
    eResult m_answer = SENT;
    unsigned long m_error_code = 0;
    std::vector<std::vector<std::uint8_t>> m_sent;
};
} // namespace

TEST(LightControlTest, RequestCarriesColourAndLevelClamped) {
    std::uint8_t request[iLightDevice::kRequestSize];
    cLightControl::build_request(3, 5, request);
    const std::uint8_t expected[9] = {4, 0, 6, 0, 3, 3, 3, 5, 1};
    for (std::size_t i = 0; i < iLightDevice::kRequestSize; ++i)
        EXPECT_EQ(request[i], i < 9 ? expected[i] : 0) << "byte " << i;
    cLightControl::build_request(40, 12, request);
    EXPECT_EQ(std::vector<int>(request + 4, request + 8), (std::vector<int>{15, 16, 16, 7}));
    cLightControl::build_request(-4, -1, request);
    EXPECT_EQ(std::vector<int>(request + 4, request + 8), (std::vector<int>{0, 0, 0, 0}));
}

TEST(LightControlTest, MissingDriverIsReportedOnceRejectedRequestsEveryTime) {
    cLightDevice_linux device;
    cLightControl control(&device);
    testing::internal::CaptureStdout();
    for (int i = 0; i < 3; ++i)
        control.beat();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "xps not detected\n");

    // A driver that is there but rejects a request is reported every time.
    cFakeLightDevice rejecting;
    rejecting.m_answer = iLightDevice::FAILED;
    rejecting.m_error_code = 0x1f;
    cLightControl refused(&rejecting);
    testing::internal::CaptureStdout();
    refused.beat();
    refused.beat();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "DeviceIoControl failed: 0x1f\nDeviceIoControl failed: 0x1f\n");
}

TEST(LightControlTest, BeatFlashesFullThenLevelStepsDownOverTime) {
    cFakeLightDevice device;
    cLightControl control(&device);
    control.beat();
    control.fade_step(20); // not yet a full step
    EXPECT_EQ(device.m_sent.size(), 1u);
    control.fade_step(30);
    // A long frame lowers one step at a time, never skipping levels.
    control.fade_step(1000);
    ASSERT_EQ(device.m_sent.size(), 3u);
    EXPECT_EQ(device.m_sent[2][7], 5);
    for (int i = 0; i < 10; ++i)
        control.fade_step(50);
    EXPECT_EQ(device.m_sent.size(), 8u); // down to 0, then nothing more
    control.beat();
    EXPECT_EQ(device.m_sent.back()[7], 7);
    EXPECT_EQ(device.m_sent.back()[4], 2); // the next colour
}
