// The variable panel drawn with GL over a black frame.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/gui_painter_gl.h"
#include "gui/gui_var_list.h"
#include "render_fsq.h"

#include <gtest/gtest.h>

TEST(GuiPanelTest, SliderBarsShowOverThePicture) {
    ensure_gl_context();
    cGuiPainter_GL painter;
    set_gui_painter(&painter);
    cGuiVarList list;
    const float x = 0.05f, y = 0.05f;
    list.set_position(&x, &y);
    list.set_size(0.9f, 0.65f);
    float full = 1.0f;
    list.add_float("full", &full, 0.0f, 1.0f);
    // Labels draw with the font, which this test does not need: no names.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    begin_fsq();
    glEnable(GL_BLEND);
    list.cGuiRectangle::draw();
    list.layout_rows();
    const_cast<iGuiNode*>(list.entry(0).second)->draw();
    end_fsq();
    set_gui_painter(nullptr);
    // The slider spans x 0.25 .. 0.9 and y 0.67 .. 0.695 of the viewport
    // (letterbox: 64 + y x 640): its bar is white at half alpha.
    const int px = int((0.25 + 0.65 * 0.5) * 1024), py = 64 + int(0.6825 * 640);
    std::vector<std::uint8_t> bar = read_pixel(px, py);
    EXPECT_GT(bar[0], 100);
    EXPECT_EQ(bar[0], bar[2]);
    // Inside the panel but outside the slider: the faint panel fill only.
    std::vector<std::uint8_t> panel = read_pixel(px, 64 + int(0.3 * 640));
    EXPECT_LT(panel[0], 40);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
