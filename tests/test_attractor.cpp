#include "effects/attractor_point_buffer.h"
#include "effects/sincos_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <exception>
#include <limits>

namespace {
const double STEP = 2.0 * M_PI / 1048576.0;
const float ZERO_PARAMS[4] = {0.0f, 0.0f, 0.0f, 0.0f};
} // namespace

TEST(SinCosTableTest, RoundsTiesToEvenWrapsAtTwoPiAndTakesNegativeAnglesAsTwosComplement) {
    EXPECT_EQ(cSinCosTable::angle_index(2.5 / cSinCosTable::STEPS_PER_RADIAN), 2);
    EXPECT_EQ(cSinCosTable::angle_index(3.5 / cSinCosTable::STEPS_PER_RADIAN), 4);
    const cSinCosTable& table = cSinCosTable::instance();
    double s, c;
    EXPECT_EQ(cSinCosTable::angle_index(2.0 * M_PI), 1048576);
    table.sincos(2.0 * M_PI, &s, &c);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(c, 1.0);

    // One step below zero is index -1: coarse 1023, fine 1023.
    EXPECT_EQ(cSinCosTable::angle_index(-STEP), -1);
    double s_neg, c_neg;
    table.sincos(-STEP, &s_neg, &c_neg);
    table.sincos(2.0 * M_PI - STEP, &s, &c);
    EXPECT_EQ(s_neg, s);
    EXPECT_EQ(c_neg, c);

    // Angles beyond 64 bits of steps, and NaN, fall back to index 0.
    EXPECT_EQ(cSinCosTable::angle_index(1.0e300), 0);
    EXPECT_EQ(cSinCosTable::angle_index(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(SinCosTableTest, AgreesWithTheLibraryWithinHalfAStep) {
    const cSinCosTable& table = cSinCosTable::instance();
    for (double v = -1000.0; v < 1000.0; v += 0.0137) {
        double s, c;
        table.sincos(v, &s, &c);
        ASSERT_NEAR(s, std::sin(v), 4e-6) << v;
        ASSERT_NEAR(c, std::cos(v), 4e-6) << v;
    }
}

TEST(AttractorCalculatorTest, FollowsTheMapAndFeedsNoiseOnlyIntoTheNextStep) {
    const float params[4] = {2.24f, 0.43f, -0.65f, -2.43f};
    const double a = params[0], b = params[1], c = params[2], d = params[3];
    cAttractorCalculator_pickover calc;
    const std::vector<double>& noise = calc.noise();
    float out[3 * 3];
    calc.restart(out, 3, params);

    // Reference with the library's sine and cosine and the same noise.
    const double amp = calc.m_noise_amplitude;
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < 3; ++i) {
        double nx = std::sin(a * y) - z * std::cos(b * x);
        double ny = z * std::sin(c * x) - std::cos(d * y);
        double nz = std::sin(x);
        EXPECT_NEAR(out[3 * i], nx, 1e-5);
        EXPECT_NEAR(out[3 * i + 1], ny, 1e-5);
        EXPECT_NEAR(out[3 * i + 2], nz, 1e-5);
        x = nx + noise[3 * i] * amp;
        y = ny + noise[3 * i + 1] * amp;
        z = nz + noise[3 * i + 2] * amp;
    }
    EXPECT_EQ(calc.noise_cursor(), 9);

    // A count of zero or less changes nothing.
    calc.calculate(out, 0, params);
    calc.calculate(out, -4, params);
    EXPECT_EQ(calc.noise_cursor(), 9);
}

TEST(AttractorCalculatorTest, EveryCalculatorDrawsTheSameNoiseTableAndTheCursorWraps) {
    cAttractorCalculator_pickover first;
    cAttractorCalculator_pickover second;
    EXPECT_EQ(first.noise(), second.noise());
    ASSERT_EQ(first.noise().size(), 1000000u);
    // The table starts right after seeding with 1337.
    EXPECT_DOUBLE_EQ(first.noise()[0], 4404 / 32767.0 - 0.5);
    std::vector<float> out(3 * 333334);
    first.calculate(out.data(), 333334, ZERO_PARAMS);
    EXPECT_EQ(first.noise_cursor(), 2); // 1,000,002 steps into a table of 1,000,000
}

TEST(AttractorPointBufferTest, FillsTheRingInWholeBatchesThenRestartsTheOrbit) {
    cAttractorPointBuffer buffer(250000, 50000);
    buffer.calculator().m_noise_amplitude = 0.0;
    const std::uint32_t expected_offsets[] = {0, 50000, 100000, 150000, 200000, 0, 50000};
    std::vector<float> first_batch;
    for (std::uint32_t offset : expected_offsets) {
        buffer.update();
        EXPECT_EQ(buffer.last_batch_offset(), offset);
        EXPECT_EQ(buffer.write_cursor(), offset + 50000);
        if (first_batch.empty())
            first_batch.assign(buffer.points().begin(), buffer.points().begin() + 3 * 50000);
    }
    // After the restart the orbit began again at the origin.
    EXPECT_TRUE(std::equal(first_batch.begin(), first_batch.end(), buffer.points().begin()));
}

TEST(AttractorPointBufferTest, BatchAsLargeAsTheRingRestartsEveryTimeAndPointsNeverExceedIt) {
    cAttractorPointBuffer buffer(1000, 1000);
    buffer.update();
    buffer.update();
    EXPECT_EQ(buffer.last_batch_offset(), 0u);
    EXPECT_EQ(buffer.write_cursor(), 1000u);

    // A ring that leaves a remainder keeps its tail untouched.
    cAttractorPointBuffer tail(10, 4);
    tail.update();
    tail.update();
    tail.update(); // restarts
    for (int i = 8 * 3; i < 10 * 3; ++i)
        EXPECT_EQ(tail.points()[i], 0.0f);
}
