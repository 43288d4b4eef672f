#pragma once
// Locale-independent string formatting for the small printf subset the
// library's messages use: "%s", "%d", "%.Nf" and "%W.Pd" (for example "%9.9d"),
// plus "%%". The decimal point is always ".".

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace fzl {

/// One argument of Format: a string, an integer or a floating-point number.
class TFormatArg {
public:
    TFormatArg(std::string_view Value) : FValue(std::string(Value)) {}
    TFormatArg(const std::string& Value) : FValue(Value) {}
    TFormatArg(const char* Value) : FValue(std::string(Value)) {}
    TFormatArg(int Value) : FValue(static_cast<std::int64_t>(Value)) {}
    TFormatArg(long Value) : FValue(static_cast<std::int64_t>(Value)) {}
    TFormatArg(long long Value) : FValue(static_cast<std::int64_t>(Value)) {}
    TFormatArg(double Value) : FValue(Value) {}

    [[nodiscard]] const std::variant<std::string, std::int64_t, double>& Value() const { return FValue; }

private:
    std::variant<std::string, std::int64_t, double> FValue;
};

/// Formats Pattern with Args. A placeholder whose argument has the wrong kind,
/// or a missing argument, raises EConvertError (a programming error, never data).
[[nodiscard]] std::string Format(std::string_view Pattern, std::initializer_list<TFormatArg> Args = {});

/// Fixed-point text of Value with Decimals digits; never prints a negative zero
/// such as "-0.0000". Ties are resolved on the exact binary value (round half even).
[[nodiscard]] std::string FormatFixed(double Value, int Decimals);
/// Appends FormatFixed(Value, Decimals) to Text (no temporary for values of moderate size).
void AppendFormatFixed(std::string& Text, double Value, int Decimals);

/// Shortest text that reads back as the same double (locale-independent).
[[nodiscard]] std::string FloatToStr(double Value);

/// Decimal text of an integer.
[[nodiscard]] std::string IntToStr(std::int64_t Value);

/// Trim removes leading and trailing blanks and control characters (<= ' ').
[[nodiscard]] std::string Trim(std::string_view S);
/// Trim without a copy: the part of S that Trim keeps.
[[nodiscard]] std::string_view TrimView(std::string_view S) noexcept;
[[nodiscard]] std::string TrimRight(std::string_view S);

/// Locale-independent parse of a whole string as a double; false when S is not a number.
[[nodiscard]] bool TryStrToFloat(std::string_view S, double& Value);

}  // namespace fzl
