// Tweak variables, the variable list and the GL-free side of its widgets.
#include "gui/gui_slider.h"
#include "gui/gui_txt_label.h"
#include "gui/gui_var_list.h"
#include "gui/gui_vec3_slider.h"
#include "gui/value_text.h"
#include "gui/var.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

namespace {

// The list as the engine places it.
void place_like_engine(cGuiVarList& list) {
    const float x = 0.05f, y = 0.05f;
    list.set_position(&x, &y);
    list.set_size(0.9f, 0.65f);
}

std::string printout(const cGuiVarList& list) {
    std::ostringstream out;
    list.print(out);
    return out.str();
}

cGuiSlider make_slider(float min, float max) {
    cGuiSlider s;
    const float x = 0.2f, y = 0.5f;
    s.set_position(&x, &y);
    s.set_size(0.6f, 0.025f);
    s.set_min(min);
    s.set_max(max);
    return s;
}

} // namespace

TEST(TweakVarText, TwoDecimalsTruncatesPadsAndKeepsPointlessText) {
    EXPECT_EQ(format_two_decimals(0.129f), "0.12");
    EXPECT_EQ(format_two_decimals(0.5f), "0.50");
    EXPECT_EQ(format_two_decimals(-1.5f), "-1.50");
    EXPECT_EQ(format_two_decimals(0.999f), "0.99");
    EXPECT_EQ(format_two_decimals(3.0f), "3");
    EXPECT_EQ(format_two_decimals(1500.0f), "1500");
    EXPECT_EQ(format_two_decimals(1e-05f), "1e-05");
    // A scientific value keeps its exponent rather than reading as a small number.
    EXPECT_EQ(format_two_decimals(1234567.0f), "1.23e+06");
    EXPECT_EQ(format_two_decimals(1.5e-05f), "1.50e-05");
}

TEST(TweakVarText, VectorForm) {
    EXPECT_EQ(format_vec3(Vec3f(1.0f, 0.5f, 0.0f)), "(1,0.50,0)");
    EXPECT_EQ(format_vec3(Vec3f(0.25f, 0.5f, 0.125f)), "(0.25,0.50,0.12)");
    EXPECT_EQ(format_vec3(Vec3f(-2.0f, -0.05f, 10.125f)), "(-2,-0.05,10.12)");
}

TEST(TweakVarText, VariablesFollowTheirFieldAndUseStreamForms) {
    float f = 0.25f;
    int i = -3;
    unsigned int u = 4000000000u;
    Vec3f v(0.25f, 0.5f, 0.125f);
    cVar<float> vf("f", &f);
    cVar<int> vi("i", &i);
    cVar<unsigned int> vu("u", &u);
    cVar<Vec3f> vv("v", &v);

    EXPECT_EQ(vf.get_name(), "f");
    EXPECT_EQ(vf.get_value_string(), "0.25");
    f = 1500.0f;
    EXPECT_EQ(vf.get_value_string(), "1500");
    f = 0.129f;
    EXPECT_EQ(vf.get_value_string(), "0.129");
    EXPECT_EQ(vi.get_value_string(), "-3");
    EXPECT_EQ(vu.get_value_string(), "4000000000");
    EXPECT_EQ(vv.get_value_string(), "(0.25,0.50,0.12)");
}

TEST(TweakVarList, PrintsOneLinePerEntryInRegistrationOrder) {
    cGuiVarList list;
    place_like_engine(list);
    float randscale = 0.7f, small = 0.129f;
    int count = 12;
    unsigned int frames = 7;
    Vec3f eye(1.0f, 0.5f, 0.0f);
    list.add_float("randscale", &randscale, 0.0f, 1.0f);
    list.add_vec3("cam-eye", &eye, -10.0f, 10.0f);
    list.add_int("count", &count, 0, 100);
    list.add_int_label("count", &count); // names need not be unique
    list.add_uint_label("frames", &frames);
    list.add_float("small", &small, 0.0f, 1.0f);

    EXPECT_EQ(printout(list), "randscale 0.7\n"
                              "cam-eye (1,0.50,0)\n"
                              "count 12\n"
                              "count 12\n"
                              "frames 7\n"
                              "small 0.129\n");
    EXPECT_EQ(list.entry_count(), 6u);
    // Beside its slider the same value reads with two decimals.
    const auto* slider = dynamic_cast<const cGuiSlider*>(list.entry(5).second);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(format_two_decimals(slider->get_value()), "0.12");
}

TEST(TweakVarList, ClearEmptiesAndRefillShowsOnlyNewEntries) {
    cGuiVarList list;
    place_like_engine(list);
    float a = 1.0f, b = 2.0f;
    list.add_float("a", &a, 0.0f, 1.0f);
    list.add_float("b", &b, 0.0f, 1.0f);
    list.clear();
    EXPECT_EQ(list.entry_count(), 0u);
    EXPECT_EQ(printout(list), "");

    list.add_float("b", &b, 0.0f, 1.0f);
    EXPECT_EQ(printout(list), "b 2\n");

    list.init();
    EXPECT_EQ(list.entry_count(), 0u);
    EXPECT_FLOAT_EQ(list.get_fill_color()[0], 0.0f);
    EXPECT_FLOAT_EQ(list.get_fill_color()[3], 0.15f);
}

TEST(TweakVarList, LayoutDirtyRules) {
    cGuiVarList list;
    place_like_engine(list);
    int n = 1;
    unsigned int u = 2;
    float f = 0.0f;
    EXPECT_FALSE(list.is_layout_dirty());

    list.add_int_label("n", &n);
    list.add_uint_label("u", &u);
    EXPECT_FALSE(list.is_layout_dirty());

    list.add_float("f", &f, 0.0f, 1.0f);
    EXPECT_TRUE(list.is_layout_dirty());
    list.draw();
    EXPECT_FALSE(list.is_layout_dirty());

    list.add_int_label("n2", &n);
    EXPECT_FALSE(list.is_layout_dirty());
    list.clear();
    EXPECT_TRUE(list.is_layout_dirty());
}

TEST(TweakVarList, RowsStartBelowTheListTopAndStepDown) {
    cGuiVarList list;
    place_like_engine(list);
    int n = 1;
    float f = 0.0f;
    Vec3f v;
    list.add_int_label("n", &n);
    list.add_float("f", &f, 0.0f, 1.0f);
    list.add_vec3("v", &v, 0.0f, 1.0f);
    list.layout_rows();

    for (std::size_t i = 0; i < list.entry_count(); ++i) {
        float x = 0.0f, y = 0.0f;
        list.entry(i).second->get_position(&x, &y);
        EXPECT_FLOAT_EQ(x, 0.25f) << i;
        EXPECT_FLOAT_EQ(y, 0.67f - 0.03f * float(i)) << i;
    }
    // The vector widget lays its components out from the new position.
    const auto* vs = dynamic_cast<const cGuiVec3Slider*>(list.entry(2).second);
    ASSERT_NE(vs, nullptr);
    float x = 0.0f, y = 0.0f;
    vs->component(0).get_position(&x, &y);
    EXPECT_FLOAT_EQ(x, 0.25f);
    EXPECT_FLOAT_EQ(y, 0.61f);
}

TEST(TweakVarList, SliderSetUpFromRegistration) {
    cGuiVarList list;
    place_like_engine(list);
    float f = 7.5f; // outside its range: not clamped
    int i = -2;
    Vec3f v(1.0f, 2.0f, 3.0f);
    list.add_float("f", &f, 0.0f, 5.0f);
    list.add_int("i", &i, -3, 3);
    list.add_vec3("v", &v, -4.0f, 4.0f);

    const auto* fs = dynamic_cast<const cGuiSlider*>(list.entry(0).second);
    const auto* is = dynamic_cast<const cGuiSlider*>(list.entry(1).second);
    const auto* vs = dynamic_cast<const cGuiVec3Slider*>(list.entry(2).second);
    ASSERT_TRUE(fs && is && vs);

    float w = 0.0f, h = 0.0f;
    fs->get_size(&w, &h);
    EXPECT_FLOAT_EQ(w, 0.65f);
    EXPECT_FLOAT_EQ(h, 0.025f);
    EXPECT_FLOAT_EQ(fs->get_min(), 0.0f);
    EXPECT_FLOAT_EQ(fs->get_max(), 5.0f);
    EXPECT_FLOAT_EQ(fs->get_value(), 7.5f);
    EXPECT_FLOAT_EQ(f, 7.5f);

    EXPECT_FLOAT_EQ(is->get_min(), -3.0f);
    EXPECT_FLOAT_EQ(is->get_max(), 3.0f);
    EXPECT_FLOAT_EQ(is->get_value(), -2.0f);

    EXPECT_FLOAT_EQ(vs->get_min(), -4.0f);
    EXPECT_FLOAT_EQ(vs->get_max(), 4.0f);
    for (int c = 0; c < 3; ++c) {
        EXPECT_FLOAT_EQ(vs->component(c).get_min(), -4.0f);
        EXPECT_FLOAT_EQ(vs->component(c).get_max(), 4.0f);
    }
    EXPECT_EQ(vs->get_values(), v);
}

TEST(TweakVarList, WriteBackAndSyncMoveValuesBetweenFieldsAndWidgets) {
    cGuiVarList list;
    place_like_engine(list);
    float f = 0.0f;
    int i = 0;
    Vec3f v;
    int shown = 5;
    list.add_float("f", &f, 0.0f, 5.0f);
    list.add_int("i", &i, -3, 3);
    list.add_vec3("v", &v, -4.0f, 4.0f);
    list.add_int_label("shown", &shown);
    auto* fs = dynamic_cast<cGuiSlider*>(list.entry(0).second);
    auto* is = dynamic_cast<cGuiSlider*>(list.entry(1).second);
    auto* vs = dynamic_cast<cGuiVec3Slider*>(list.entry(2).second);
    ASSERT_TRUE(fs && is && vs);

    fs->set_value(1.25f);
    list.write_back(0);
    EXPECT_FLOAT_EQ(f, 1.25f);

    // Ints truncate toward zero.
    is->set_value(2.9f);
    list.write_back(1);
    EXPECT_EQ(i, 2);
    is->set_value(-0.5f);
    list.write_back(1);
    EXPECT_EQ(i, 0);
    is->set_value(-2.9f);
    list.write_back(1);
    EXPECT_EQ(i, -2);
    // Out of int's range saturates rather than wrapping.
    is->set_value(1e20f);
    list.write_back(1);
    EXPECT_EQ(i, std::numeric_limits<int>::max());

    vs->set_values(Vec3f(0.5f, -1.0f, 2.0f));
    list.write_back(2);
    EXPECT_EQ(v, Vec3f(0.5f, -1.0f, 2.0f));

    list.write_back(3); // a label has nothing to write
    EXPECT_EQ(shown, 5);

    // Code changes the fields; the widgets follow at the next sync.
    f = 4.0f;
    i = -3;
    v = Vec3f(3.0f, 2.0f, 1.0f);
    list.sync_from_vars();
    EXPECT_FLOAT_EQ(fs->get_value(), 4.0f);
    EXPECT_FLOAT_EQ(is->get_value(), -3.0f);
    EXPECT_EQ(vs->get_values(), v);
    EXPECT_EQ(format_two_decimals(fs->get_value()), "4");
}

TEST(TweakVarSlider, InsideTestIsStrict) {
    cGuiSlider s = make_slider(0.0f, 1.0f);
    auto inside = [&](float x, float y) { return s.is_inside(&x, &y); };
    EXPECT_TRUE(inside(0.5f, 0.51f));
    EXPECT_FALSE(inside(0.2f, 0.51f));  // left edge
    EXPECT_FALSE(inside(0.8f, 0.51f));  // right edge
    EXPECT_FALSE(inside(0.5f, 0.5f));   // bottom edge
    EXPECT_FALSE(inside(0.5f, 0.525f)); // top edge
    EXPECT_TRUE(s.handle_event(1, 0.5f, 0.51f));
    EXPECT_TRUE(s.handle_event(3, 0.5f, 0.51f));
    EXPECT_FALSE(s.handle_event(2, 0.9f, 0.51f));
    EXPECT_FALSE(s.handle_event(4, 0.5f, 0.51f));

    cGuiSlider unplaced; // default geometry is off screen with negative size
    float x = 0.0f, y = 0.0f;
    EXPECT_FALSE(unplaced.is_inside(&x, &y));
}

TEST(TweakVarSlider, HoverDragClampAndLeave) {
    cGuiSlider s = make_slider(-3.0f, 3.0f);
    s.set_value(1.0f);

    // Not hovered: a drag changes nothing.
    EXPECT_FALSE(s.handle_event(GUI_EV_DRAG, 0.5f, 0.51f));
    EXPECT_FLOAT_EQ(s.get_value(), 1.0f);
    EXPECT_FALSE(s.is_active());

    // Hover outside is not taken and sets nothing.
    EXPECT_FALSE(s.handle_event(GUI_EV_HOVER, 0.9f, 0.51f));
    EXPECT_FALSE(s.is_active());
    EXPECT_TRUE(s.handle_event(GUI_EV_HOVER, 0.5f, 0.51f));
    EXPECT_TRUE(s.is_active());

    EXPECT_TRUE(s.handle_event(GUI_EV_DRAG, 0.5f, 0.51f));
    EXPECT_NEAR(s.get_value(), 0.0f, 1e-6f);
    EXPECT_TRUE(s.handle_event(GUI_EV_DRAG, 0.35f, 0.9f)); // height does not matter
    EXPECT_NEAR(s.get_value(), -1.5f, 1e-5f);
    EXPECT_TRUE(s.handle_event(GUI_EV_DRAG, 0.95f, 0.51f));
    EXPECT_FLOAT_EQ(s.get_value(), 3.0f);
    EXPECT_TRUE(s.handle_event(GUI_EV_DRAG, 0.0f, 0.51f));
    EXPECT_FLOAT_EQ(s.get_value(), -3.0f);

    EXPECT_TRUE(s.handle_event(GUI_EV_LEAVE, 0.5f, 0.51f));
    EXPECT_FALSE(s.is_active());
    EXPECT_FALSE(s.handle_event(GUI_EV_DRAG, 0.5f, 0.51f));
    EXPECT_FLOAT_EQ(s.get_value(), -3.0f);
}

TEST(TweakVarSlider, ReversedRangeDragEndsAtMaximum) {
    cGuiSlider s = make_slider(2.0f, 1.0f);
    ASSERT_TRUE(s.handle_event(GUI_EV_HOVER, 0.5f, 0.51f));
    EXPECT_TRUE(s.handle_event(GUI_EV_DRAG, 0.5f, 0.51f));
    EXPECT_FLOAT_EQ(s.get_value(), 1.0f);
}

TEST(TweakVarVec3Slider, ComponentLayoutAndEvents) {
    cGuiVec3Slider v;
    v.set_size(0.62f, 0.025f);
    const float x = 0.1f, y = 0.4f;
    v.set_position(&x, &y);
    v.set_min(0.0f);
    v.set_max(1.0f);

    const float w = 0.62f / 3.1f; // 0.2
    const float gap = (0.62f - 3.0f * w) / 2.0f;
    for (int i = 0; i < 3; ++i) {
        float cx = 0.0f, cy = 0.0f, cw = 0.0f, ch = 0.0f;
        v.component(i).get_position(&cx, &cy);
        v.component(i).get_size(&cw, &ch);
        EXPECT_NEAR(cx, 0.1f + float(i) * (w + gap), 1e-6f) << i;
        EXPECT_FLOAT_EQ(cy, 0.4f);
        EXPECT_NEAR(cw, w, 1e-6f);
        EXPECT_FLOAT_EQ(ch, 0.025f);
    }
    EXPECT_NEAR(gap, 0.01f, 1e-6f);

    // Inside any component; the gaps between them are not inside.
    float px = 0.2f, py = 0.41f;
    EXPECT_TRUE(v.is_inside(&px, &py));
    px = 0.305f;
    EXPECT_FALSE(v.is_inside(&px, &py));

    // Hover over z reaches z even though x and y come first.
    EXPECT_TRUE(v.handle_event(GUI_EV_HOVER, 0.62f, 0.41f));
    EXPECT_FALSE(v.component(0).is_active());
    EXPECT_TRUE(v.component(2).is_active());
    EXPECT_TRUE(v.is_active());
    EXPECT_TRUE(v.handle_event(GUI_EV_DRAG, 0.62f, 0.41f));
    EXPECT_NEAR(v.get_values().z, 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(v.get_values().x, 0.0f);

    EXPECT_TRUE(v.handle_event(GUI_EV_LEAVE, 0.62f, 0.41f));
    EXPECT_FALSE(v.is_active());
    EXPECT_FALSE(v.handle_event(GUI_EV_DRAG, 0.62f, 0.41f));
}

TEST(TweakVarLabel, HoldsTextAndTakesNoInput) {
    cGuiTxtLabel label;
    EXPECT_EQ(label.get_font_name(), "fontlist.png");
    float x = 1.0f, y = 1.0f;
    label.get_position(&x, &y);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 0.0f);
    label.set_text("p0 -1.50");
    EXPECT_EQ(label.get_text(), "p0 -1.50");
    EXPECT_FALSE(label.handle_event(1, 0.0f, 0.0f));
    EXPECT_FALSE(label.is_inside(&x, &y));
    EXPECT_FALSE(label.is_active());
}
