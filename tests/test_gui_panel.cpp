// The variable panel drawn with GL over a black frame, and the pointer that
// drags the row drawn under it.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/gui_painter_gl.h"
#include "gui/gui_var_list.h"
#include "input.h"
#include "input_state_fixture.h"
#include "render_fsq.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {
SDL_Event pointer_event(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
    }
    return event;
}

// One frame's worth of pointer input: the event through the window's queue,
// then the panel's pass as the engine runs it.
bool pointer_frame(cGuiVarList& list, SDL_Event event) {
    SDL_PushEvent(&event);
    poll_events();
    return list.handle_event(GUI_EV_DRAG, g_mouse_pos.x, g_mouse_pos.y);
}
} // namespace

using GuiPanelPointerTest = InputStateTest;

// The pointer reaches the panel in window pixels; the panel is drawn in the
// display viewport, letterboxed, stretched, or pillarboxed in a frame of
// another size. Pointing at the bar drawn for the first row must drag the
// first row.
TEST_F(GuiPanelPointerTest, PointerDragsTheRowDrawnUnderIt) {
    ensure_gl_context();
    cDisplaySettings* settings = cDisplaySettings::instance();
    int window_width = 0, window_height = 0;
    SDL_GetWindowSize(settings->m_window, &window_width, &window_height);
    cGuiPainter_GL painter;
    set_gui_painter(&painter);
    const struct {
        const char* name;
        bool widescreen;
        int frame_height;
    } layouts[] = {{"letterbox", false, 768}, {"widescreen", true, 768}, {"pillarbox", false, 600}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        settings->m_widescreen = layout.widescreen;
        settings->m_frame_height = layout.frame_height;
        cDisplaySettings::picture_size(settings->m_frame_width, settings->m_frame_height,
                                       &settings->m_render_width, &settings->m_render_height);
        int viewport[4];
        settings->viewport_rect(viewport);
        testing::internal::CaptureStderr();
        settings->set_viewport();
        testing::internal::GetCapturedStderr();

        // Five rows about 20 pixels apart; only the first shows a bar.
        cGuiVarList list;
        const float x = 0.05f, y = 0.05f;
        list.set_position(&x, &y);
        list.set_size(0.9f, 0.65f);
        float values[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
        for (float& value : values)
            list.add_float("row", &value, 0.0f, 1.0f);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        begin_fsq();
        glEnable(GL_BLEND);
        list.layout_rows();
        for (std::size_t i = 0; i < list.entry_count(); ++i)
            list.entry(i).second->draw();
        end_fsq();

        // The bar's rows in the middle column of the sliders.
        const int column = viewport[0] + int((0.25 + 0.65 * 0.5) * viewport[2]);
        int lowest = -1, highest = -1;
        for (int row = 0; row < window_height; ++row)
            if (read_pixel(column, row)[0] > 120) {
                lowest = lowest < 0 ? row : lowest;
                highest = row;
            }
        ASSERT_GE(lowest, 0) << "no bar drawn";

        // Point at 30 % of the slider's width, in the middle of the bar.
        const int px = viewport[0] + int((0.25 + 0.65 * 0.3) * viewport[2]);
        const int py = window_height - 1 - (lowest + highest) / 2;
        SDL_PumpEvents();
        poll_events(); // whatever the window system sent so far
        EXPECT_FALSE(pointer_frame(list, pointer_event(SDL_MOUSEMOTION, px, py)));
        EXPECT_TRUE(pointer_frame(list, pointer_event(SDL_MOUSEBUTTONDOWN, px, py)));
        pointer_frame(list, pointer_event(SDL_MOUSEBUTTONUP, px, py));
        EXPECT_NEAR(values[0], 0.3f, 0.01f);
        EXPECT_EQ(values[1], 0.0f);
    }
    settings->m_widescreen = false;
    settings->m_frame_height = 768;
    settings->m_render_width = 1024;
    settings->m_render_height = 640;
    testing::internal::CaptureStderr();
    settings->set_viewport();
    testing::internal::GetCapturedStderr();
    set_gui_painter(nullptr);
}
