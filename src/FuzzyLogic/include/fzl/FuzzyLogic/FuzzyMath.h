#pragma once
// Numeric helpers of the fuzzy engine.

#include <cmath>

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

namespace detail {
/// LinePoint's way when the literal form overflowed; out of line, as it is rarely taken.
[[nodiscard]] TFzyFloat LinePointFromHalves(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2,
                                            TFzyFloat X) noexcept;
}  // namespace detail

/// The value at X of the line through (X1, Y1) and (X2, Y2), X1 != X2:
/// Y1 + (Y2 - Y1) * (X - X1) / (X2 - X1), computed as written. When a difference or the
/// product overflows although every input is finite (coordinates or degrees near the largest
/// double), it is computed again from halved values, which cannot overflow; between X1 and X2
/// the result then lies between Y1 and Y2.
[[nodiscard]] inline TFzyFloat LinePoint(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2,
                                         TFzyFloat X) noexcept {
    const TFzyFloat Rise = (Y2 - Y1) * (X - X1);
    const TFzyFloat Run = X2 - X1;
    if (std::isfinite(Rise) && std::isfinite(Run)) [[likely]]
        return Y1 + Rise / Run;
    return detail::LinePointFromHalves(X1, Y1, X2, Y2, X);
}

}  // namespace fzl
