#include <gtest/gtest.h>

#include <limits>

#include <fzl/FuzzyLogic/FuzzyMath.h>

namespace fzl {
namespace {

TEST(FuzzyMath, FloatEqualsHasAnInclusiveAbsoluteTolerance) {
    EXPECT_TRUE(FloatEquals(0.5, 0.5001));  // exactly one tolerance apart, either order
    EXPECT_TRUE(FloatEquals(0.5001, 0.5));
    EXPECT_TRUE(FloatEquals(-0.0001, 0.0));
    EXPECT_FALSE(FloatEquals(0.5, 0.50011));
    EXPECT_FALSE(FloatEquals(1000000.0, 1000000.001));  // absolute, not relative
    EXPECT_FALSE(FloatEquals(std::numeric_limits<double>::quiet_NaN(), 0.0));
}

}  // namespace
}  // namespace fzl
