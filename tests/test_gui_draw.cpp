// What the widgets draw and how the panel takes the mouse, through a painter
// that records instead of drawing.
#include "gui/gui_painter.h"
#include "gui/gui_painter_gl.h"
#include "gui/gui_var_list.h"
#include "input.h"
#include "input_state_fixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
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

const float kPanelCorner = 0.05f;

// A panel at (0.05, 0.05), 0.9 wide and 0.65 high.
class GuiDrawTest : public InputStateTest {
protected:
    void SetUp() override {
        InputStateTest::SetUp();
        set_gui_painter(&m_painter);
        m_list.set_position(&kPanelCorner, &kPanelCorner);
        m_list.set_size(0.9f, 0.65f);
    }
    void TearDown() override {
        set_gui_painter(nullptr);
        InputStateTest::TearDown();
    }
    cRecordingPainter m_painter;
    cGuiVarList m_list;
};
} // namespace

TEST_F(GuiDrawTest, PanelRowsShowNamesAndTwoDecimalValues) {
    float speed = 0.129f;
    int count = 7;
    m_list.add_float("speed", &speed, 0.0f, 1.0f);
    m_list.add_int_label("count", &count);
    m_list.draw();
    std::string all;
    for (const std::string& call : m_painter.m_calls)
        all += call + "\n";
    EXPECT_NE(all.find("text 'speed' 0.05 0.67 a0.85"), std::string::npos) << all;
    EXPECT_NE(all.find("text '0.12' 0.2 0.67 a0.85"), std::string::npos) << all;
    EXPECT_NE(all.find("text '7' 0.25 0.64"), std::string::npos) << all;
}

TEST_F(GuiDrawTest, DraggingNeedsTheLeftButtonAndWritesTheVariable) {
    float speed = 0.0f;
    m_list.add_float("speed", &speed, 0.0f, 10.0f);
    m_list.draw(); // lays the row out: slider at x 0.25, y 0.67, width 0.65
    const iGuiNode* slider = m_list.entry(0).second;
    // A wheel step leaves its button flag set for good: the pointer still
    // only hovers, leaving the slider and coming back.
    g_mouse_buttons[4] = 1;
    EXPECT_FALSE(m_list.handle_event(GUI_EV_DRAG, 0.6f, 0.68f));
    EXPECT_FALSE(m_list.handle_event(GUI_EV_DRAG, 0.6f, 0.3f));
    EXPECT_FALSE(slider->is_active());
    EXPECT_FALSE(m_list.handle_event(GUI_EV_DRAG, 0.5f, 0.68f));
    EXPECT_TRUE(slider->is_active());
    EXPECT_FLOAT_EQ(speed, 0.0f);
    // With the left button held the hovered slider follows the pointer.
    g_mouse_buttons[1] = 1;
    EXPECT_TRUE(m_list.handle_event(GUI_EV_DRAG, 0.25f + 0.65f * 0.4f, 0.68f));
    EXPECT_NEAR(speed, 4.0f, 1e-4);
    // Dragging beyond the end clamps, and keeps the slider while held.
    EXPECT_TRUE(m_list.handle_event(GUI_EV_DRAG, 2.0f, 0.9f));
    EXPECT_FLOAT_EQ(speed, 10.0f);
}

TEST(GuiFontTest, GlyphCellsFollowTheFontLayout) {
    int column = -1, row = -1;
    ASSERT_TRUE(cGuiPainter_GL::glyph_cell('z', &column, &row));
    EXPECT_EQ(std::make_pair(column, row), std::make_pair(35, 1));
    ASSERT_TRUE(cGuiPainter_GL::glyph_cell('A', &column, &row));
    EXPECT_EQ(std::make_pair(column, row), std::make_pair(10, 0));
    // Every character of a value or a timecode has a glyph; the blank none.
    for (char c : std::string("-1.50:01,()"))
        EXPECT_TRUE(cGuiPainter_GL::glyph_cell(c, &column, &row)) << c;
    EXPECT_FALSE(cGuiPainter_GL::glyph_cell(' ', &column, &row));
}
