#pragma once
// Small numeric and character helpers shared by the engine and the tokenizer.

namespace fzl {

/// True when |A - B| <= Eps. The difference is judged in long double so that
/// the inclusive bound is not lost to rounding of A - B; the double difference
/// settles every case that is not within a rounding error of the bound, which
/// keeps the slow extended arithmetic off the common path.
[[nodiscard]] constexpr bool FloatEquals(double A, double B, double Eps) noexcept {
    // fl(A - B) is within a relative 2^-53 of A - B, so these margins are safe.
    constexpr double Below = 1.0 - 0x1p-51;
    constexpr double Above = 1.0 + 0x1p-51;
    const double Quick = A - B < 0 ? B - A : A - B;
    if (Quick < Eps * Below) return true;
    if (Quick > Eps * Above) return false;
    const long double Diff = static_cast<long double>(A) - static_cast<long double>(B);
    return (Diff < 0 ? -Diff : Diff) <= static_cast<long double>(Eps);
}

/// True when C can begin a number: a digit, a sign or a decimal point.
[[nodiscard]] constexpr bool IsNumberChar(char C) noexcept {
    return (C >= '0' && C <= '9') || C == '+' || C == '-' || C == '.';
}

/// True when C belongs to a number without being a digit: sign, point or exponent mark.
[[nodiscard]] constexpr bool IsNumberSymbol(char C) noexcept {
    return C == '+' || C == '-' || C == '.' || C == 'e' || C == 'E';
}

}  // namespace fzl
