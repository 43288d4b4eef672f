// Number formatting and parsing. (The postfix ordering of expressions and the text stream are
// tested through the expression evaluator and the tokenizer.)
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <locale>
#include <random>
#include <string>
#include <utility>

#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>

namespace fzl {
namespace {

TEST(Format, PlaceholdersAndRounding) {
    EXPECT_EQ(Format("%s is %d%% of %s", {"x", -5, std::string("all")}), "x is -5% of all");
    EXPECT_EQ(Format("%d", {1LL << 40}), "1099511627776");
    EXPECT_EQ(Format("%9.9d|%9.9d|%9.9d|%5d", {42, 1234567890, -42, 42}),
              "000000042|1234567890|-000000042|   42");
    EXPECT_EQ(Format("%.4f %.4f %.4f %.4f", {3.14159265, 0.99996, -1.23456, -0.00006}),
              "3.1416 1.0000 -1.2346 -0.0001");
    // Never a negative zero; "%f" takes an integer too, and has six decimals without a precision.
    EXPECT_EQ(Format("%.4f %.0f %.2f", {-0.00001, -0.4, 3}), "0.0000 0 3.00");
    EXPECT_EQ(Format("%f|%f|%9f", {1.5, -2, 0.0000005}), "1.500000|-2.000000| 0.000000");
    // A wrong kind of argument, a missing one, or a bad placeholder is an error.
    const std::pair<const char*, TFormatArg> Bad[] = {{"%d", "text"},  {"%d", 1.5},      {"%s", 1},
                                                      {"%.4f", "1.5"}, {"%d and %d", 1}, {"ends in %", 1},
                                                      {"%x", 1}};
    for (const auto& [Pattern, Arg] : Bad)
        EXPECT_THROW(static_cast<void>(Format(Pattern, {Arg})), EConvertError);
}

// A decimal comma and a point between thousands, for anything that would consult the locale.
class TCommaNumPunct : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(Format, IgnoresTheGlobalLocales) {
    const std::locale SavedCpp;
    const std::string SavedC = std::setlocale(LC_ALL, nullptr);
    std::locale::global(std::locale(std::locale::classic(), new TCommaNumPunct));
    for (const char* Name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_ALL, Name) != nullptr) break;  // a C locale with a decimal comma, if installed
    EXPECT_EQ(Format("%.4f %d %9.9d", {1.5, 1234567, 1234}), "1.5000 1234567 000001234");
    EXPECT_EQ(FloatToStr(2.25) + " " + IntToStr(1234567), "2.25 1234567");
    // Whole numbers only, a failed parse leaving the output alone.
    double Value = 0;
    EXPECT_TRUE(TryStrToFloat("2.5e-1", Value) && Value == 0.25 && TryStrToFloat("+3", Value) && Value == 3);
    for (const char* Text : {"2,5", "", "+", "1.5x", " 1", "1 ", "+-1", "0x10", "1e"})
        EXPECT_FALSE(TryStrToFloat(Text, Value) || Value != 3) << '"' << Text << '"';
    std::locale::global(SavedCpp);
    std::setlocale(LC_ALL, SavedC.c_str());
}

// Moderate values take a quick integer path; it must print what the correctly
// rounded conversion prints, near decimal ties included.
TEST(Format, FixedAgreesWithTheExactConversion) {
    std::mt19937_64 Random(11);
    std::uniform_real_distribution<double> Unit(-1.0, 1.0);
    std::array<char, 400> Buffer{};
    for (int I = 0; I < 30000; ++I) {
        double Value = std::ldexp(Unit(Random), static_cast<int>(Random() % 60) - 20);
        if (I % 3 == 0) Value = std::round(Value * 1e5) / 1e5 + 0.00005;  // near a tie at four decimals
        const int Decimals = I % 7;
        char* End = std::to_chars(Buffer.data(), Buffer.data() + Buffer.size(), Value,
                                  std::chars_format::fixed, Decimals)
                        .ptr;
        std::string Exact(Buffer.data(), End);
        if (Exact.find_first_not_of("-0.") == std::string::npos && Exact.front() == '-') Exact.erase(0, 1);
        ASSERT_EQ(FormatFixed(Value, Decimals), Exact) << Value << " to " << Decimals;
        if (I % 1000 == 0) {  // the appending form, on both paths (huge values take the exact one)
            std::string Text = "x ";
            AppendFormatFixed(Text, Value * (I % 2000 == 0 ? 1e300 : 1.0), Decimals);
            ASSERT_EQ(Text, "x " + FormatFixed(Value * (I % 2000 == 0 ? 1e300 : 1.0), Decimals));
        }
    }
}

}  // namespace
}  // namespace fzl
