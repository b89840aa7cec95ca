// The engine's input handling and start-up rules, without a window.
#include "input.h"
#include "scene_manager.h"
#include "skarbol.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
// One engine for the whole process, as in the program.
cSkarbol& engine() {
    static cSkarbol* the_engine = [] {
        g_engine_exists = false;
        return new cSkarbol();
    }();
    return *the_engine;
}

class EngineKeysTest : public testing::Test {
protected:
    void SetUp() override {
        g_keys_down.clear();
        engine().m_show_gui = false;
    }
};
} // namespace

TEST(EngineTest, OnlyOneEngineAtATime) {
    engine();
    EXPECT_THROW(cSkarbol second, std::logic_error);
}

TEST_F(EngineKeysTest, TabAndSpaceInOneFrameActOnceEachInKeyOrder) {
    handle_input_event(INPUT_KEY_DOWN, ' ', 0, 0);
    handle_input_event(INPUT_KEY_DOWN, '\t', 0, 0);
    handle_input_event(INPUT_KEY_DOWN, 'A', 0, 0); // kept as 'a' until released
    testing::internal::CaptureStderr();
    engine().handle_keys();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "-\n00:00:00,000\n");
    EXPECT_TRUE(engine().m_show_gui);
    ASSERT_EQ(g_keys_down.size(), 1u);
    EXPECT_EQ(g_keys_down.begin()->first, 'a');

    // Held down (no new key-down): nothing more happens.
    testing::internal::CaptureStderr();
    engine().handle_keys();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(engine().m_show_gui);
    handle_input_event(INPUT_KEY_UP, 'A', 0, 0);
    EXPECT_TRUE(g_keys_down.empty());
}

TEST_F(EngineKeysTest, SpacePrintsTheVariablesAfterTheTime) {
    float randscale = 0.7f;
    engine().m_varlist.clear();
    engine().m_varlist.add_float("randscale", &randscale, 0.0f, 1.0f);
    handle_input_event(INPUT_KEY_DOWN, ' ', 0, 0);
    testing::internal::CaptureStderr();
    engine().handle_keys();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "-\n00:00:00,000\nrandscale 0.7\n");
    engine().m_varlist.clear();
}

TEST_F(EngineKeysTest, MouseIsKeptInRenderAreaUnitsAndTheWheelStaysPressed) {
    handle_input_event(INPUT_MOTION, 0, 512, 160);
    EXPECT_FLOAT_EQ(g_mouse_pos.x, 0.5f);
    EXPECT_FLOAT_EQ(g_mouse_pos.y, 0.75f);
    handle_input_event(INPUT_BUTTON_DOWN, 1, 0, 640);
    EXPECT_EQ(g_mouse_buttons[1], 1);
    EXPECT_FLOAT_EQ(g_mouse_click_pos.y, 0.0f);
    handle_input_event(INPUT_BUTTON_UP, 1, 0, 0);
    EXPECT_EQ(g_mouse_buttons[1], 0);
    handle_input_event(INPUT_BUTTON_DOWN, 4, 0, 0);
    handle_input_event(INPUT_BUTTON_UP, 4, 0, 0);
    EXPECT_EQ(g_mouse_buttons[4], 1);
    handle_input_event(INPUT_BUTTON_DOWN, 9, 0, 0); // not a button we track
    EXPECT_EQ(g_mouse_buttons[0], 0);
}

using EngineKeysDeathTest = EngineKeysTest;

TEST_F(EngineKeysDeathTest, EscapeQAndClosingTheWindowEndTheProgram) {
    handle_input_event(INPUT_KEY_DOWN, 'x', 0, 0);
    EXPECT_EXIT(handle_input_event(INPUT_KEY_DOWN, 27, 0, 0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(handle_input_event(INPUT_QUIT, 0, 0, 0), testing::ExitedWithCode(0), "");
    handle_input_event(INPUT_KEY_DOWN, 'Q', 0, 0);
    EXPECT_EXIT(engine().handle_keys(), testing::ExitedWithCode(0), "");
}
