// The engine's input handling and start-up rules, without a window.
#include "display_settings.h"
#include "input.h"
#include "input_state_fixture.h"
#include "skarbol.h"
#include "tool/replay_keys.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
// One engine for the whole process, as in the program.
cSkarbol& engine() {
    static cSkarbol* the_engine = [] {
        g_engine_exists = false;
        return new cSkarbol();
    }();
    return *the_engine;
}

class EngineKeysTest : public InputStateTest {
protected:
    void SetUp() override {
        InputStateTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        engine().m_show_gui = false;
    }
    void TearDown() override {
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
        cDisplaySettings::instance()->m_widescreen = false;
        InputStateTest::TearDown();
    }
    // The input half of one frame: the events arrive in the window's queue,
    // then the engine polls them and handles its keys. Returns the text the
    // keys printed.
    std::string frame(std::vector<SDL_Event> events) {
        for (SDL_Event& event : events)
            EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        testing::internal::CaptureStderr();
        poll_events();
        engine().handle_keys();
        return testing::internal::GetCapturedStderr();
    }
    static SDL_Event key(Uint32 type, SDL_Keycode symbol, bool repeat = false) {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = symbol;
        return event;
    }
    // A button press or release at (x, y), a motion to (x, y) (number 0), or
    // a wheel turn of y steps.
    static SDL_Event mouse(Uint32 type, int x, int y, Uint8 number = 0) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEWHEEL)
            event.wheel.y = y;
        else if (type == SDL_MOUSEMOTION)
            event.motion.x = x, event.motion.y = y;
        else
            event.button.button = number, event.button.x = x, event.button.y = y;
        return event;
    }
};
} // namespace

TEST_F(EngineKeysTest, EveryPressActsOnceHeldOrTapped) {
    const std::string time_line = "-\n00:00:00,000\n";
    // Space, followed by the key-downs SDL repeats while it is held, Tab and
    // 'A' in one frame: Tab and Space act once each.
    EXPECT_EQ(frame({key(SDL_KEYDOWN, ' '), key(SDL_KEYDOWN, ' ', true),
                     key(SDL_KEYDOWN, ' ', true), key(SDL_KEYDOWN, '\t'), key(SDL_KEYDOWN, 'A')}),
              time_line);
    EXPECT_TRUE(engine().m_show_gui);
    // Still held, repeating: nothing more happens.
    EXPECT_EQ(frame({key(SDL_KEYDOWN, ' ', true), key(SDL_KEYDOWN, '\t', true)}), "");
    EXPECT_TRUE(engine().m_show_gui);
    EXPECT_EQ(g_keys_down, (std::map<int, int>{{'\t', 0}, {' ', 0}, {'a', 0}}));
    EXPECT_EQ(frame({key(SDL_KEYUP, ' '), key(SDL_KEYUP, '\t'), key(SDL_KEYUP, 'A')}), "");
    EXPECT_TRUE(g_keys_down.empty());

    // Taps that begin and end between two frames still act, once per tap.
    EXPECT_EQ(frame({key(SDL_KEYDOWN, '\t'), key(SDL_KEYUP, '\t'), key(SDL_KEYDOWN, ' '),
                     key(SDL_KEYUP, ' '), key(SDL_KEYDOWN, ' '), key(SDL_KEYUP, ' ')}),
              time_line + time_line);
    EXPECT_FALSE(engine().m_show_gui);
    EXPECT_TRUE(g_keys_down.empty());

    // A press the engine does not handle waits for others in its own frame
    // only.
    frame({key(SDL_KEYDOWN, 'p'), key(SDL_KEYUP, 'p')});
    EXPECT_EQ(g_key_presses, (std::map<int, int>{{'p', 1}}));
    frame({});
    EXPECT_FALSE(take_key_press('p'));
}

TEST_F(EngineKeysTest, PointerIsMeasuredInTheViewportAndOnlyTheWheelLatches) {
    // Window pixels (rows from the top) to units of the picture's viewport:
    // the 1024 x 640 band 64 pixels below the top, or the whole stretched
    // screen.
    const struct {
        bool widescreen;
        int x, y;
        float u, v;
    } cases[] = {
        {false, 512, 64, 0.5f, 1.0f},
        {false, 256, 384, 0.25f, 0.5f},
        {false, 0, 0, 0.0f, 1.1f},
        {true, 256, 192, 0.25f, 0.75f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.widescreen ? "widescreen " : "letterbox ") << c.x << "," << c.y);
        cDisplaySettings::instance()->m_widescreen = c.widescreen;
        frame({mouse(SDL_MOUSEMOTION, c.x, c.y),
               mouse(SDL_MOUSEBUTTONDOWN, c.x, c.y, SDL_BUTTON_LEFT)});
        EXPECT_FLOAT_EQ(g_mouse_pos.x, c.u);
        EXPECT_FLOAT_EQ(g_mouse_pos.y, c.v);
        EXPECT_FLOAT_EQ(g_mouse_click_pos.y, c.v);
        EXPECT_EQ(g_mouse_buttons[1], 1);
        frame({mouse(SDL_MOUSEBUTTONUP, c.x, c.y, SDL_BUTTON_LEFT)});
        EXPECT_EQ(g_mouse_buttons[1], 0);
    }

    // The side buttons are not the wheel; a wheel step stays pressed.
    frame({mouse(SDL_MOUSEBUTTONDOWN, 0, 0, SDL_BUTTON_X1), mouse(SDL_MOUSEWHEEL, 0, -2)});
    EXPECT_EQ(g_mouse_buttons[4], 0);
    EXPECT_EQ(g_mouse_buttons[5], 1);
}

TEST_F(EngineKeysTest, DuringAReplayEscapeCancelsAndOtherPressesWaitForTheNextFrame) {
    for (SDL_Event event : {key(SDL_KEYDOWN, 'p'), key(SDL_KEYDOWN, SDLK_ESCAPE),
                            key(SDL_KEYDOWN, '\t'), key(SDL_KEYDOWN, 'p')})
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    EXPECT_FALSE(poll_keys_during_replay()); // Escape: cancel, not the end
    EXPECT_TRUE(g_key_presses.empty());
    EXPECT_TRUE(poll_keys_during_replay());
    // The next frame gets them, Tab included, each press once.
    frame({});
    EXPECT_TRUE(engine().m_show_gui);
    EXPECT_EQ(g_key_presses, (std::map<int, int>{{'p', 2}}));
    frame({});
    EXPECT_TRUE(g_key_presses.empty());
}

using EngineKeysDeathTest = InputStateTest;

TEST_F(EngineKeysDeathTest, EscapeQAndClosingTheWindowEndTheProgram) {
    handle_input_event(INPUT_KEY_DOWN, 'x', 0, 0);
    EXPECT_EXIT(handle_input_event(INPUT_KEY_DOWN, 27, 0, 0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(handle_input_event(INPUT_QUIT, 0, 0, 0), testing::ExitedWithCode(0), "");
    handle_input_event(INPUT_KEY_DOWN, 'Q', 0, 0);
    EXPECT_EXIT(engine().handle_keys(), testing::ExitedWithCode(0), "");
    // Also while a replay runs.
    EXPECT_EXIT(
        {
            SDL_InitSubSystem(SDL_INIT_EVENTS);
            SDL_Event q{};
            q.type = SDL_KEYDOWN;
            q.key.keysym.sym = 'q';
            SDL_PushEvent(&q);
            poll_keys_during_replay();
        },
        testing::ExitedWithCode(0), "");
}
