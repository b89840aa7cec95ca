// What the widgets draw and how the panel takes the mouse, through a painter
// that records instead of drawing.
#include "gui/gui_painter.h"
#include "gui/gui_painter_gl.h"
#include "gui/gui_slider.h"
#include "gui/gui_var_list.h"
#include "input.h"
#include "input_state_fixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {
class cRecordingPainter : public iGuiPainter {
public:
    void fill_rect(float x, float y, float w, float h, const float (&c)[4]) override {
        add("fill", x, y, w, h, c);
    }
    void outline_rect(float x, float y, float w, float h, const float (&c)[4]) override {
        add("outline", x, y, w, h, c);
    }
    void line(float x0, float y0, float x1, float y1, const float (&c)[4]) override {
        add("line", x0, y0, x1, y1, c);
    }
    void text(float x, float y, const std::string& text, const std::string&,
              const float (&c)[4]) override {
        std::ostringstream out;
        out << "text '" << text << "' " << x << " " << y << " a" << c[3];
        m_calls.push_back(out.str());
    }
    void add(const char* what, float a, float b, float c, float d, const float (&rgba)[4]) {
        std::ostringstream out;
        out << what << " " << a << " " << b << " " << c << " " << d << " rgba " << rgba[0] << ","
            << rgba[1] << "," << rgba[2] << "," << rgba[3];
        m_calls.push_back(out.str());
    }
    std::vector<std::string> m_calls;
};

class GuiDrawTest : public InputStateTest {
protected:
    void SetUp() override {
        InputStateTest::SetUp();
        set_gui_painter(&m_painter);
    }
    void TearDown() override {
        set_gui_painter(nullptr);
        InputStateTest::TearDown();
    }
    cRecordingPainter m_painter;
};
} // namespace

TEST_F(GuiDrawTest, SliderBarRunsFromZeroToTheValue) {
    cGuiSlider slider;
    const float x = 0.1f, y = 0.2f;
    slider.set_position(&x, &y);
    slider.set_size(0.6f, 0.025f);
    slider.set_min(-3.0f);
    slider.set_max(3.0f);
    slider.set_value(-1.0f);
    slider.draw();
    ASSERT_EQ(m_painter.m_calls.size(), 5u);
    // Rectangle, then a black bar from the middle (zero) leftwards to -1.
    EXPECT_EQ(m_painter.m_calls[2], "fill 0.3 0.2 0.1 0.025 rgba 0,0,0,0.5");
    EXPECT_EQ(m_painter.m_calls[3], "line 0.4 0.2 0.4 0.225 rgba 1,0,0,0.5");
    EXPECT_EQ(m_painter.m_calls[4], "line 0.3 0.2 0.3 0.225 rgba 1,1,1,1");
}

TEST_F(GuiDrawTest, PanelRowsShowNamesAndTwoDecimalValues) {
    cGuiVarList list;
    const float x = 0.05f, y = 0.05f;
    list.set_position(&x, &y);
    list.set_size(0.9f, 0.65f);
    float speed = 0.129f;
    int count = 7;
    list.add_float("speed", &speed, 0.0f, 1.0f);
    list.add_int_label("count", &count);
    list.draw();
    std::string all;
    for (const std::string& call : m_painter.m_calls)
        all += call + "\n";
    EXPECT_NE(all.find("text 'speed' 0.05 0.67 a0.85"), std::string::npos) << all;
    EXPECT_NE(all.find("text '0.12' 0.2 0.67 a0.85"), std::string::npos) << all;
    EXPECT_NE(all.find("text 'count' 0.05 0.64"), std::string::npos) << all;
    EXPECT_NE(all.find("text '7' 0.25 0.64"), std::string::npos) << all;
}

TEST_F(GuiDrawTest, DraggingNeedsTheLeftButtonAndWritesTheVariable) {
    cGuiVarList list;
    const float x = 0.05f, y = 0.05f;
    list.set_position(&x, &y);
    list.set_size(0.9f, 0.65f);
    float speed = 0.0f;
    list.add_float("speed", &speed, 0.0f, 10.0f);
    list.draw(); // lays the row out: slider at x 0.25, y 0.67, width 0.65
    const iGuiNode* slider = list.entry(0).second;
    // Hover over the slider without a button: nothing changes.
    EXPECT_FALSE(list.handle_event(GUI_EV_DRAG, 0.5f, 0.68f));
    EXPECT_TRUE(slider->is_active());
    EXPECT_FLOAT_EQ(speed, 0.0f);
    // A wheel step leaves its button flag set for good: the pointer still
    // only hovers, leaving the slider and coming back.
    g_mouse_buttons[4] = 1;
    EXPECT_FALSE(list.handle_event(GUI_EV_DRAG, 0.6f, 0.68f));
    EXPECT_FALSE(list.handle_event(GUI_EV_DRAG, 0.6f, 0.3f));
    EXPECT_FALSE(slider->is_active());
    EXPECT_FALSE(list.handle_event(GUI_EV_DRAG, 0.5f, 0.68f));
    EXPECT_TRUE(slider->is_active());
    EXPECT_FLOAT_EQ(speed, 0.0f);
    // With the left button held the hovered slider follows the pointer.
    g_mouse_buttons[1] = 1;
    EXPECT_TRUE(list.handle_event(GUI_EV_DRAG, 0.25f + 0.65f * 0.4f, 0.68f));
    EXPECT_NEAR(speed, 4.0f, 1e-4);
    // Dragging beyond the end clamps, and keeps the slider while held.
    EXPECT_TRUE(list.handle_event(GUI_EV_DRAG, 2.0f, 0.9f));
    EXPECT_FLOAT_EQ(speed, 10.0f);
}

TEST(GuiFontTest, GlyphCellsFollowTheFontLayout) {
    const struct {
        char c;
        int column, row;
    } cells[] = {{'0', 0, 1}, {'z', 35, 1}, {'A', 10, 0}};
    for (const auto& cell : cells) {
        int column = -1, row = -1;
        ASSERT_TRUE(cGuiPainter_GL::glyph_cell(cell.c, &column, &row)) << cell.c;
        EXPECT_EQ(column, cell.column) << cell.c;
        EXPECT_EQ(row, cell.row) << cell.c;
    }
    // Every character of a value or a timecode has a glyph; the blank none.
    int column = 0, row = 0;
    for (char c : std::string("-1.50:01,()"))
        EXPECT_TRUE(cGuiPainter_GL::glyph_cell(c, &column, &row)) << c;
    EXPECT_FALSE(cGuiPainter_GL::glyph_cell(' ', &column, &row));
}
