#include "mesh_files/camera_path.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
cCameraPath path_of(const std::string& text) {
    cCameraPath path;
    path.load_text(text.data(), text.size());
    return path;
}

// Compares the bits that matter here, the sign of zero included.
void expect_vec(const Vec3f& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
    EXPECT_EQ(std::signbit(v.x), std::signbit(x));
    EXPECT_EQ(std::signbit(v.y), std::signbit(y));
    EXPECT_EQ(std::signbit(v.z), std::signbit(z));
}

const char* const kOneKey = "[1, 2, 3] [0, 0, 0] [0, 0, 1]\n";
} // namespace

TEST(CameraPath, OneKeyFileGainsTheConvertedExtraKey) {
    cCameraPath path = path_of(kOneKey);
    ASSERT_EQ(path.size(), 2u);
    // Any bracket pair and number notation reads the same key.
    EXPECT_EQ(path_of("<1e0, +2.0E0, 3.> {0,0,0} (0;0;1)").keys()[0].eye, path.keys()[0].eye);
    expect_vec(path.keys()[0].eye, 1, 3, -2);
    expect_vec(path.keys()[0].target, 0, 0, -0.0f);
    expect_vec(path.keys()[0].up, 0, 1, -0.0f);
    expect_vec(path.keys()[1].eye, 1, -2, -3);
    expect_vec(path.keys()[1].up, 0, -0.0f, -1);

    expect_vec(path.eye_at(0.25f), 1, 0.5f, -2.5f);
    expect_vec(path.eye_at(0.9f), 1, -2, -3);
    expect_vec(path.up_at(0.25f), 0, 0.5f, -0.5f);
}

TEST(CameraPath, ParameterIsClamped) {
    cCameraPath path =
        path_of("(0;0;0)(0;0;0)(0;0;1) (10;0;0)(0;0;0)(0;0;1) (20;0;0)(0;0;0)(0;0;1)");
    ASSERT_EQ(path.size(), 4u);
    const float inf = std::numeric_limits<float>::infinity();
    const Vec3f last = path.eye_at(0.9999881f);
    for (float t : {1.0f, 2.0f, inf})
        EXPECT_EQ(path.eye_at(t), last) << t;
    const Vec3f first = path.eye_at(0.0f);
    EXPECT_EQ(first, Vec3f(0, 0, 0));
    for (float t : {-1.0f, -inf, std::nanf("")})
        EXPECT_EQ(path.eye_at(t), first) << t;
    // Keys at t = k / N, linear in between.
    EXPECT_EQ(path.eye_at(0.125f), Vec3f(5, 0, 0));
    EXPECT_EQ(path.eye_at(0.5f), Vec3f(20, 0, 0));
    EXPECT_EQ(path.eye_at(0.6f), Vec3f(20, 0, 0));
}

TEST(CameraPath, EmptyAndMissingFiles) {
    cCameraPath empty = path_of(" \n\t\n");
    ASSERT_EQ(empty.size(), 1u);
    expect_vec(empty.up_at(0.5f), 0, 0, -0.0f);

    cCameraPath missing;
    EXPECT_FALSE(missing.load("/nonexistent/path01.pth"));
    EXPECT_EQ(missing.size(), 0u);
    expect_vec(missing.up_at(0.0f), 0, 1, 0);
}

TEST(CameraPath, MalformedTextStopsAtTheFirstFailedRead) {
    // Keys read before the failure stay; the key being read is appended with
    // what it got, as is every other pass.
    cCameraPath bad_number = path_of(std::string(kOneKey) + "[4, x, 6] [0, 0, 0] [0, 0, 1]");
    ASSERT_EQ(bad_number.size(), 2u);
    // Eye x was read (4); the rest keeps the first key's converted values.
    expect_vec(bad_number.keys()[1].eye, 4, -2, -3);

    // Ends inside a group: the key is appended once.
    EXPECT_EQ(path_of("[1, 2, 3] [0, 0, 0] [0, 0, 1").size(), 1u);

    for (const char* text : {"garbage", "[[[[[[[[", "[1e999, 0, 0]", "]]]", "[-, 0, 0]", "1e"}) {
        cCameraPath path = path_of(text);
        EXPECT_EQ(path.size(), 1u) << text;
    }
}
