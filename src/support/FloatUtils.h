#pragma once
// Small numeric and character helpers shared by the engine and the tokenizer.

namespace fzl {

/// True when |A - B| <= Eps. The difference is formed in long double so that
/// the inclusive bound is not lost to rounding of A - B.
[[nodiscard]] constexpr bool FloatEquals(double A, double B, double Eps) noexcept {
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
