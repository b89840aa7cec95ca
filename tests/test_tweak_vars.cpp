// Tweak variables, the variable list and the GL-free side of its widgets.
#include "gui/gui_slider.h"
#include "gui/gui_var_list.h"
#include "gui/gui_vec3_slider.h"
#include "gui/value_text.h"
#include "gui/var.h"
#include "test_support.h"
#include "tweak_file.h"
#include "tweaks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

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

TEST(TweakFile, ValuesReadBackAsWrittenAndBrokenLinesAreNamedAndSkipped) {
    std::vector<sTweak> values(3);
    values[0].scene = 5;
    values[0].name = "pre-cut";
    values[0].value[0] = 0.1f; // no short decimal form: written with every digit it needs
    values[1].scene = 3;
    values[1].name = "points pr sec";
    values[1].value[0] = -2.0f;
    values[2].scene = 5;
    values[2].name = "cam-eye";
    values[2].count = 3;
    values[2].value[0] = 1.5f, values[2].value[1] = -1e-7f, values[2].value[2] = 3e8f;
    std::vector<std::string> warnings;
    EXPECT_EQ(parse_tweaks(format_tweaks(values), "t", &warnings), values);
    EXPECT_TRUE(warnings.empty());

    const std::string text = "# kept values\n"
                             "\n"
                             "5 pre-cut = 12\n"
                             "pre-cut = 1\n"
                             "5 pre-cut 1\n"
                             "5  = 1\n"
                             "5 cam-eye = 1 2\n"
                             "5 post-cut = nan\n"
                             "5 post-cut = 1e99\n"
                             "5 post-cut = 3x\n"
                             "1234 x = 1\n"
                             "2 in white = 170.5 \r\n"
                             "5 pre-cut = 13\n";
    const std::vector<sTweak> read = parse_tweaks(text, "tweaks.txt", &warnings);
    const std::vector<std::string> expected = {
        "tweaks.txt:4: no scene number at the start",
        "tweaks.txt:5: no '=' between the variable and its value",
        "tweaks.txt:6: no variable name",
        "tweaks.txt:7: needs one value or three, not 2",
        "tweaks.txt:8: \"nan\" is not a number",
        "tweaks.txt:9: \"1e99\" is not a number",
        "tweaks.txt:10: \"3x\" is not a number",
        "tweaks.txt:11: no scene number at the start"};
    EXPECT_EQ(warnings, expected);
    // The later line of a scene's variable wins; names may hold blanks.
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "pre-cut");
    EXPECT_EQ(read[0].value[0], 13.0f);
    EXPECT_EQ(read[1].scene, 2);
    EXPECT_EQ(read[1].name, "in white");
    EXPECT_EQ(read[1].value[0], 170.5f);
}

TEST(TweakFile, KeptValuesGoOnlyIntoTheirOwnSceneAndSurviveASave) {
    // Two scenes' lists naming the same shared field, as the glow's cuts are.
    float shared = 200.0f;
    int count = 4;
    Vec3f eye(0.0f, 0.0f, 0.0f);
    cGuiVarList first, second;
    first.add_float("pre-cut", &shared, 0.0f, 255.0f);
    first.add_int("count", &count, 0, 10);
    first.add_vec3("cam-eye", &eye, -10.0f, 10.0f);
    second.add_float("pre-cut", &shared, 0.0f, 255.0f);

    const std::string folder = make_temp_dir("tweaks");
    write_temp_file("tweaks/tweaks.txt", "1 pre-cut = 33\n1 count = 7.9\n1 cam-eye = 1 2 3\n"
                                         "1 missing = 1\n2 pre-cut = 1 2 3\n");
    cTweaks* tweaks = cTweaks::instance();
    testing::internal::CaptureStderr();
    tweaks->load(folder + "/tweaks.txt");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // A value of the wrong kind, or for a variable the scene lacks, is left
    // alone; an int is truncated as its slider does.
    tweaks->apply(2, second);
    EXPECT_EQ(shared, 200.0f);
    tweaks->apply(1, first);
    EXPECT_EQ(shared, 33.0f);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(eye, Vec3f(1.0f, 2.0f, 3.0f));

    // A drag in scene 2 is kept for scene 2 alone.
    shared = 90.0f;
    EXPECT_TRUE(tweaks->keep(2, second, 0));
    shared = 0.0f;
    tweaks->apply(1, first);
    EXPECT_EQ(shared, 33.0f);
    tweaks->apply(2, second);
    EXPECT_EQ(shared, 90.0f);

    std::string error;
    ASSERT_TRUE(tweaks->save(folder + "/tweaks.txt", &error)) << error;
    const std::vector<sTweak> saved = tweaks->values();
    tweaks->load(folder + "/tweaks.txt");
    EXPECT_EQ(tweaks->values(), saved);
    // A failed save names why and leaves nothing behind: here the final
    // name is a folder.
    const std::string taken = make_temp_dir("tweaks/taken");
    EXPECT_FALSE(tweaks->save(taken, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::fopen((taken + ".partial").c_str(), "rb"), nullptr);
    // Without the file there is nothing to apply.
    tweaks->load(folder + "/none.txt");
    EXPECT_TRUE(tweaks->values().empty());
    cTweaks::destroy();
}
