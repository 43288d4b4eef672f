#pragma once
// Numeric helpers of the fuzzy engine.

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/support/FloatUtils.h>

namespace fzl {

/// Absolute tolerance within which two X values or degrees count as equal.
inline constexpr TFzyFloat FuzzyTolerance = 0.0001;

/// True when A and B are within FuzzyTolerance of each other, bounds included.
[[nodiscard]] constexpr bool FloatEquals(TFzyFloat A, TFzyFloat B) noexcept {
    return FloatEquals(A, B, FuzzyTolerance);
}

/// 1 for a positive value, -1 for a negative one, 0 for zero (and for NaN).
[[nodiscard]] constexpr int Sign(TFzyFloat Value) noexcept {
    if (Value > 0) return 1;
    if (Value < 0) return -1;
    return 0;
}

}  // namespace fzl
