#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <system_error>

#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>

namespace fzl {
namespace {

// A parsed "%[width][.precision]conv" placeholder.
struct TPlaceholder {
    int Width = -1;
    int Precision = -1;
    char Conversion = '\0';
};

int ReadNumber(std::string_view Pattern, std::size_t& Pos) {
    int Value = 0;
    while (Pos < Pattern.size() && Pattern[Pos] >= '0' && Pattern[Pos] <= '9') {
        Value = Value * 10 + (Pattern[Pos] - '0');
        ++Pos;
    }
    return Value;
}

TPlaceholder ReadPlaceholder(std::string_view Pattern, std::size_t& Pos) {
    TPlaceholder Result;
    if (Pos < Pattern.size() && Pattern[Pos] >= '0' && Pattern[Pos] <= '9')
        Result.Width = ReadNumber(Pattern, Pos);
    if (Pos < Pattern.size() && Pattern[Pos] == '.') {
        ++Pos;
        Result.Precision = ReadNumber(Pattern, Pos);
    }
    if (Pos >= Pattern.size()) throw EConvertError("Format pattern ends inside a placeholder");
    Result.Conversion = Pattern[Pos++];
    return Result;
}

std::string PadLeft(std::string Text, int Width, char Fill) {
    if (Width > 0 && static_cast<int>(Text.size()) < Width)
        Text.insert(0, static_cast<std::size_t>(Width) - Text.size(), Fill);
    return Text;
}

// "%W.Pd": at least P digits (zero padded), then padded with blanks to W.
std::string FormatInteger(std::int64_t Value, const TPlaceholder& Placeholder) {
    const bool Negative = Value < 0;
    const std::uint64_t Magnitude =
        Negative ? 0 - static_cast<std::uint64_t>(Value) : static_cast<std::uint64_t>(Value);
    std::array<char, 24> Buffer{};
    const auto Converted = std::to_chars(Buffer.data(), Buffer.data() + Buffer.size(), Magnitude);
    std::string Digits = PadLeft(std::string(Buffer.data(), Converted.ptr), Placeholder.Precision, '0');
    if (Negative) Digits.insert(0, 1, '-');
    return PadLeft(std::move(Digits), Placeholder.Width, ' ');
}

std::string FormatArgument(const TFormatArg& Arg, const TPlaceholder& Placeholder) {
    const auto& Value = Arg.Value();
    switch (Placeholder.Conversion) {
        case 's':
            if (const auto* Text = std::get_if<std::string>(&Value))
                return PadLeft(*Text, Placeholder.Width, ' ');
            break;
        case 'd':
            if (const auto* Int = std::get_if<std::int64_t>(&Value)) return FormatInteger(*Int, Placeholder);
            break;
        case 'f':
            if (const auto* Float = std::get_if<double>(&Value))
                return PadLeft(FormatFixed(*Float, Placeholder.Precision < 0 ? 6 : Placeholder.Precision),
                               Placeholder.Width, ' ');
            if (const auto* Int = std::get_if<std::int64_t>(&Value))
                return PadLeft(FormatFixed(static_cast<double>(*Int),
                                           Placeholder.Precision < 0 ? 6 : Placeholder.Precision),
                               Placeholder.Width, ' ');
            break;
        default:
            throw EConvertError(std::string("Format conversion not supported: %") + Placeholder.Conversion);
    }
    throw EConvertError(std::string("Format argument does not match %") + Placeholder.Conversion);
}

}  // namespace

std::string Format(std::string_view Pattern, std::initializer_list<TFormatArg> Args) {
    std::string Result;
    Result.reserve(Pattern.size() + 16);
    const TFormatArg* Next = Args.begin();
    std::size_t Pos = 0;
    while (Pos < Pattern.size()) {
        const char C = Pattern[Pos++];
        if (C != '%') {
            Result += C;
            continue;
        }
        if (Pos < Pattern.size() && Pattern[Pos] == '%') {
            Result += '%';
            ++Pos;
            continue;
        }
        const TPlaceholder Placeholder = ReadPlaceholder(Pattern, Pos);
        if (Next == Args.end()) throw EConvertError("Format pattern has more placeholders than arguments");
        Result += FormatArgument(*Next++, Placeholder);
    }
    return Result;
}

namespace {

// Derived names print their numbers by the thousand: values of moderate size are
// scaled and rounded as integers. The scaled value's rounding error stays below
// 2^-12 (it is under 2^40), so a fraction more than 1/1024 away from one half
// rounds as the exact decimal value does; closer cases take the exact path.
// Appends to Text on success, leaves it alone otherwise.
// "00" to "99": decimals are written two at a time.
constexpr std::array<char, 200> DigitPairs = [] {
    std::array<char, 200> Pairs{};
    for (std::size_t N = 0; N < 100; ++N) {
        Pairs[2 * N] = static_cast<char>('0' + N / 10);
        Pairs[2 * N + 1] = static_cast<char>('0' + N % 10);
    }
    return Pairs;
}();

bool TryFormatFixedQuickly(double Value, int Decimals, std::string& Text) {
    static constexpr std::array<double, 7> Scales{1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    if (Decimals < 0 || Decimals >= static_cast<int>(Scales.size())) return false;
    const double Scaled = std::fabs(Value) * Scales[static_cast<std::size_t>(Decimals)];
    if (!(Scaled < 0x1p40)) return false;  // also NaN and infinities
    // Truncation is the floor here (0 <= Scaled < 2^40), without a call into the maths library.
    auto Units = static_cast<std::uint64_t>(Scaled);
    const double Fraction = Scaled - static_cast<double>(Units);
    if (std::fabs(Fraction - 0.5) < 0x1p-10) return false;
    Units += Fraction > 0.5 ? 1 : 0;
    // Written backwards into one buffer, then appended in one go: derived names print a
    // number each, so this runs once per correlated or hedged set.
    std::array<char, 32> Buffer;  // NOLINT(cppcoreguidelines-pro-type-member-init): written before read
    char* const End = Buffer.data() + Buffer.size();
    char* Begin = End;
    const bool Negative = Value < 0 && Units != 0;  // no negative zero
    int Place = 0;
    for (; Place + 2 <= Decimals; Place += 2, Units /= 100) {
        Begin -= 2;
        std::memcpy(Begin, &DigitPairs[2 * (Units % 100)], 2);
    }
    for (; Place < Decimals; ++Place, Units /= 10) *--Begin = static_cast<char>('0' + Units % 10);
    if (Decimals > 0) *--Begin = '.';
    do {
        *--Begin = static_cast<char>('0' + Units % 10);
        Units /= 10;
    } while (Units != 0);
    if (Negative) *--Begin = '-';
    Text.append(Begin, End);
    return true;
}

}  // namespace

std::string FormatFixed(double Value, int Decimals) {
    if (std::string Text; TryFormatFixedQuickly(Value, Decimals, Text)) return Text;
    if (!std::isfinite(Value)) return std::isnan(Value) ? "NAN" : (Value > 0 ? "INF" : "-INF");
    std::array<char, 400> Buffer{};
    const auto [End, Error] = std::to_chars(Buffer.data(), Buffer.data() + Buffer.size(), Value,
                                            std::chars_format::fixed, Decimals);
    if (Error != std::errc{}) throw EConvertError("Number too long to format");
    std::string Text(Buffer.data(), End);
    // A value that rounds to zero prints without a sign: "-0.0000" reads as a bug.
    if (Text.front() == '-' && Text.find_first_not_of("-0.") == std::string::npos) Text.erase(0, 1);
    return Text;
}

void AppendFormatFixed(std::string& Text, double Value, int Decimals) {
    if (!TryFormatFixedQuickly(Value, Decimals, Text)) Text += FormatFixed(Value, Decimals);
}

std::string FloatToStr(double Value) {
    std::array<char, 64> Buffer{};
    const auto [End, Error] = std::to_chars(Buffer.data(), Buffer.data() + Buffer.size(), Value);
    return Error == std::errc{} ? std::string(Buffer.data(), End) : std::string{};
}

std::string IntToStr(std::int64_t Value) {
    std::array<char, 24> Buffer{};
    const auto [End, Error] = std::to_chars(Buffer.data(), Buffer.data() + Buffer.size(), Value);
    return {Buffer.data(), End};
}

std::string_view TrimView(std::string_view S) noexcept {
    std::size_t First = 0;
    std::size_t Last = S.size();
    while (First < Last && static_cast<unsigned char>(S[First]) <= ' ') ++First;
    while (Last > First && static_cast<unsigned char>(S[Last - 1]) <= ' ') --Last;
    return S.substr(First, Last - First);
}

std::string Trim(std::string_view S) { return std::string(TrimView(S)); }

std::string TrimRight(std::string_view S) {
    std::size_t Last = S.size();
    while (Last > 0 && static_cast<unsigned char>(S[Last - 1]) <= ' ') --Last;
    return std::string(S.substr(0, Last));
}

bool TryStrToFloat(std::string_view S, double& Value) {
    if (!S.empty() && S.front() == '+') {
        S.remove_prefix(1);
        if (!S.empty() && S.front() == '-') return false;  // "+-1" is not a number
    }
    if (S.empty()) return false;
    double Parsed = 0;
    const auto [End, Error] = std::from_chars(S.data(), S.data() + S.size(), Parsed);
    if (Error != std::errc{} || End != S.data() + S.size()) return false;
    Value = Parsed;
    return true;
}

}  // namespace fzl
