#include "debug.h"

#include <gtest/gtest.h>

namespace {
int checked_divide(int a, int b) {
    VT_ASSERT_MSG(b != 0, "divisor must not be zero");
    return a / b;
}
} // namespace

TEST(AssertDeathTest, FailureNamesExpressionMessageFileAndLineThenAbortsAndPassingDoesNothing) {
    EXPECT_EQ(checked_divide(6, 3), 2);
    EXPECT_DEATH(checked_divide(1, 0),
                 "Assertion failed: b != 0 \\(divisor must not be zero\\), file test_assert.cpp, "
                 "line [0-9]+");
}
