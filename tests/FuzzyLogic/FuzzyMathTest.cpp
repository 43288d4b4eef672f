#include <gtest/gtest.h>

#include <limits>

#include "FuzzyLogic/FuzzyMath.h"

namespace fzl {
namespace {

TEST(FuzzyMath, FloatEqualsUsesAnInclusiveAbsoluteTolerance) {
    EXPECT_TRUE(FloatEquals(1.0, 1.00005));
    EXPECT_FALSE(FloatEquals(1.0, 1.0002));
    // Exactly one tolerance apart, in both directions.
    EXPECT_TRUE(FloatEquals(0.5, 0.5001));
    EXPECT_TRUE(FloatEquals(0.5001, 0.5));
    EXPECT_TRUE(FloatEquals(0.0, 0.0001));
    EXPECT_TRUE(FloatEquals(-0.0001, 0.0));
    EXPECT_FALSE(FloatEquals(0.5, 0.50011));
    // Absolute, not relative: large values need the same small gap.
    EXPECT_FALSE(FloatEquals(1000000.0, 1000000.001));
    EXPECT_TRUE(FloatEquals(1000000.0, 1000000.00005));
    EXPECT_FALSE(FloatEquals(std::numeric_limits<double>::quiet_NaN(), 0.0));
}

TEST(FuzzyMath, Sign) {
    EXPECT_EQ(Sign(2.5), 1);
    EXPECT_EQ(Sign(1e-300), 1);
    EXPECT_EQ(Sign(0.0), 0);
    EXPECT_EQ(Sign(-0.0), 0);
    EXPECT_EQ(Sign(-1e-300), -1);
    EXPECT_EQ(Sign(-7.0), -1);
}

}  // namespace
}  // namespace fzl
