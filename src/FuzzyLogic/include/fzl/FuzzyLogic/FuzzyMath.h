#pragma once
// Numeric helpers of the fuzzy engine.

#include <algorithm>
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

/// The value at X of the line through (X1, Y1) and (X2, Y2), X1 != X2:
/// Y1 + (Y2 - Y1) * (X - X1) / (X2 - X1), computed as written. When a difference or the
/// product overflows although every input is finite (coordinates or degrees near the largest
/// double), it is computed again from halved values, which cannot overflow; between X1 and X2
/// the result then lies between Y1 and Y2.
[[nodiscard]] inline TFzyFloat LinePoint(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2,
                                         TFzyFloat X) noexcept {
    const TFzyFloat Rise = (Y2 - Y1) * (X - X1);
    const TFzyFloat Run = X2 - X1;
    if (std::isfinite(Rise) && std::isfinite(Run)) return Y1 + Rise / Run;
    const bool FiniteInputs =
        std::isfinite(X1) && std::isfinite(Y1) && std::isfinite(X2) && std::isfinite(Y2) && std::isfinite(X);
    if (!FiniteInputs) return Y1 + Rise / Run;
    const TFzyFloat T = (X * 0.5 - X1 * 0.5) / (X2 * 0.5 - X1 * 0.5);
    if (T >= 0 && T <= 1) return std::clamp(Y1 * (1 - T) + Y2 * T, std::min(Y1, Y2), std::max(Y1, Y2));
    return Y1 + (Y2 * 0.5 - Y1 * 0.5) * T * 2;  // beyond the ends: infinite when the line leaves the doubles
}

}  // namespace fzl
