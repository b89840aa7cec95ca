// Tweak variables, the variable list and the GL-free side of its widgets.
#include "gui/gui_slider.h"
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
    const struct {
        float value;
        const char* text;
    } cases[] = {{0.129f, "0.12"},  {-1.5f, "-1.50"},        {0.999f, "0.99"}, {3.0f, "3"},
                 {1e-05f, "1e-05"}, {1234567.0f, "1.23e+06"}}; // keeps its exponent
    for (const auto& c : cases)
        EXPECT_EQ(format_two_decimals(c.value), c.text) << c.value;
    EXPECT_EQ(format_vec3(Vec3f(-2.0f, -0.05f, 10.125f)), "(-2,-0.05,10.12)");
}

TEST(TweakVarList, PrintsOneLinePerEntryInRegistrationOrderUntilCleared) {
    cGuiVarList list;
    place_like_engine(list);
    float small = 0.129f;
    int count = 12;
    unsigned int frames = 4000000000u;
    Vec3f eye(1.0f, 0.5f, 0.0f);
    list.add_vec3("cam-eye", &eye, -10.0f, 10.0f);
    list.add_int_label("count", &count);
    list.add_uint_label("frames", &frames);
    list.add_float("small", &small, 0.0f, 1.0f);
    EXPECT_EQ(printout(list), "cam-eye (1,0.50,0)\ncount 12\nframes 4000000000\nsmall 0.129\n");
    list.clear();
    EXPECT_EQ(list.entry_count(), 0u);
}

TEST(TweakVarList, WriteBackAndSyncMoveValuesBetweenFieldsAndWidgets) {
    cGuiVarList list;
    place_like_engine(list);
    float f = 7.5f; // outside its range: not clamped
    int i = -2;
    Vec3f v(1.0f, 2.0f, 3.0f);
    int shown = 5;
    list.add_float("f", &f, 0.0f, 5.0f);
    list.add_int("i", &i, -3, 3);
    list.add_vec3("v", &v, -4.0f, 4.0f);
    list.add_int_label("shown", &shown);
    auto* fs = dynamic_cast<cGuiSlider*>(list.entry(0).second);
    auto* is = dynamic_cast<cGuiSlider*>(list.entry(1).second);
    auto* vs = dynamic_cast<cGuiVec3Slider*>(list.entry(2).second);
    ASSERT_TRUE(fs && is && vs);
    // Registration sets the widgets up from the field and its range.
    EXPECT_FLOAT_EQ(fs->get_value(), 7.5f);
    EXPECT_FLOAT_EQ(is->get_value(), -2.0f);
    EXPECT_EQ(vs->get_values(), v);

    fs->set_value(1.25f);
    list.write_back(0);
    EXPECT_FLOAT_EQ(f, 1.25f);
    // Ints truncate toward zero; out of int's range saturates.
    const std::pair<float, int> ints[] = {
        {2.9f, 2}, {-0.5f, 0}, {-2.9f, -2}, {1e20f, std::numeric_limits<int>::max()}};
    for (const auto& c : ints) {
        is->set_value(c.first);
        list.write_back(1);
        EXPECT_EQ(i, c.second) << c.first;
    }
    vs->set_values(Vec3f(0.5f, -1.0f, 2.0f));
    list.write_back(2);
    EXPECT_EQ(v, Vec3f(0.5f, -1.0f, 2.0f));

    // Code changes the fields; the widgets follow at the next sync.
    f = 4.0f;
    v = Vec3f(3.0f, 2.0f, 1.0f);
    list.sync_from_vars();
    EXPECT_FLOAT_EQ(fs->get_value(), 4.0f);
    EXPECT_EQ(vs->get_values(), v);
}

TEST(TweakVarSlider, StrictInsideHoverDragClampAndLeave) {
    cGuiSlider s = make_slider(-3.0f, 3.0f);
    // Only strictly inside: the edges at x 0.2, 0.8 and y 0.5, 0.525 are out.
    const std::pair<float, float> outside[] = {{0.2f, 0.51f}, {0.5f, 0.525f}};
    for (auto p : outside)
        EXPECT_FALSE(s.is_inside(&p.first, &p.second)) << p.first << "," << p.second;

    // Not hovered: a drag changes nothing; a hover outside is not taken.
    EXPECT_FALSE(s.handle_event(GUI_EV_DRAG, 0.5f, 0.51f));
    EXPECT_FALSE(s.handle_event(GUI_EV_HOVER, 0.9f, 0.51f));
    EXPECT_TRUE(s.handle_event(GUI_EV_HOVER, 0.5f, 0.51f));
    EXPECT_TRUE(s.is_active());
    // Height does not matter; the value stops at the ends.
    const float drags[][3] = {{0.35f, 0.9f, -1.5f}, {0.95f, 0.51f, 3.0f}, {0.0f, 0.51f, -3.0f}};
    for (const auto& d : drags) {
        EXPECT_TRUE(s.handle_event(GUI_EV_DRAG, d[0], d[1]));
        EXPECT_NEAR(s.get_value(), d[2], 1e-5f) << d[0];
    }
    EXPECT_TRUE(s.handle_event(GUI_EV_LEAVE, 0.5f, 0.51f));
    EXPECT_FALSE(s.handle_event(GUI_EV_DRAG, 0.5f, 0.51f));
    EXPECT_FLOAT_EQ(s.get_value(), -3.0f);
}
