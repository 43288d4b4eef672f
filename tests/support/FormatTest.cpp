#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "support/Exceptions.h"
#include "support/Format.h"

namespace fzl {
namespace {

TEST(Format, Placeholders) {
    EXPECT_EQ(Format("%s is %s", {"x", std::string("low")}), "x is low");
    EXPECT_EQ(Format("%d / %d", {42, -7}), "42 / -7");
    EXPECT_EQ(Format("%d", {1LL << 40}), "1099511627776");
    EXPECT_EQ(Format("no placeholders"), "no placeholders");
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("%d%% of %s", {5, "all"}), "5% of all");
    EXPECT_EQ(Format("%%d"), "%d");

    // "%9.9d": at least nine digits, zero padded.
    EXPECT_EQ(Format("%9.9d", {42}), "000000042");
    EXPECT_EQ(Format("%9.9d", {0}), "000000000");
    EXPECT_EQ(Format("%9.9d", {123456789}), "123456789");
    EXPECT_EQ(Format("%9.9d", {1234567890}), "1234567890");
    EXPECT_EQ(Format("%9.9d", {-42}), "-000000042");
    EXPECT_EQ(Format("[%5d]", {42}), "[   42]");
}

TEST(Format, FixedPointRoundsAndNeverPrintsNegativeZero) {
    EXPECT_EQ(Format("%.4f", {0.5}), "0.5000");
    EXPECT_EQ(Format("%.4f", {3.14159265}), "3.1416");
    EXPECT_EQ(Format("%.4f", {2.71824}), "2.7182");
    EXPECT_EQ(Format("%.4f", {0.99996}), "1.0000");
    EXPECT_EQ(Format("%.4f", {-2.5}), "-2.5000");
    EXPECT_EQ(Format("%.4f", {-1.23456}), "-1.2346");
    EXPECT_EQ(Format("%.4f", {-0.00006}), "-0.0001");
    EXPECT_EQ(Format("%.4f", {-0.00001}), "0.0000");
    EXPECT_EQ(Format("%.0f", {-0.4}), "0");
    EXPECT_EQ(Format("Left (%.4f) right (%.4f)", {1.5, -1.5}), "Left (1.5000) right (-1.5000)");
    // An integer argument is accepted by "%f".
    EXPECT_EQ(Format("%.2f", {3}), "3.00");
}

TEST(Format, MismatchedOrMissingArgumentsRaiseConvertError) {
    EXPECT_THROW(static_cast<void>(Format("%d", {"text"})), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%d", {1.5})), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%s", {1})), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%s", {2.5})), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%.4f", {"1.5"})), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%s and %s", {"one"})), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%d")), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("ends in %")), EConvertError);
    EXPECT_THROW(static_cast<void>(Format("%x", {1})), EConvertError);
}

TEST(Format, TryStrToFloatAcceptsWholeNumbersOnly) {
    double Value = 0;
    ASSERT_TRUE(TryStrToFloat("1.5", Value));
    EXPECT_EQ(Value, 1.5);
    ASSERT_TRUE(TryStrToFloat("-0.25", Value));
    EXPECT_EQ(Value, -0.25);
    ASSERT_TRUE(TryStrToFloat("+3", Value));
    EXPECT_EQ(Value, 3.0);
    ASSERT_TRUE(TryStrToFloat("2.5e-3", Value));
    EXPECT_DOUBLE_EQ(Value, 0.0025);
    ASSERT_TRUE(TryStrToFloat("1E3", Value));
    EXPECT_EQ(Value, 1000.0);

    // A failed parse leaves the output alone.
    for (const char* Bad :
         {"", "+", "-", "abc", "1.5x", "1,5", " 1", "1 ", "--1", "+-1", "-+1", "++1", "0x10", "1e"}) {
        Value = 7.0;
        EXPECT_FALSE(TryStrToFloat(Bad, Value)) << '"' << Bad << '"';
        EXPECT_EQ(Value, 7.0) << '"' << Bad << '"';
    }
}

// A numeric punctuation that would turn 1.5 into "1,5" if anything consulted it.
class TCommaNumPunct : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class TGlobalLocaleGuard {
public:
    TGlobalLocaleGuard() : FSaved(std::locale()), FSavedC(std::setlocale(LC_ALL, nullptr)) {}
    ~TGlobalLocaleGuard() {
        std::locale::global(FSaved);
        std::setlocale(LC_ALL, FSavedC.c_str());
    }
    TGlobalLocaleGuard(const TGlobalLocaleGuard&) = delete;
    TGlobalLocaleGuard& operator=(const TGlobalLocaleGuard&) = delete;

private:
    std::locale FSaved;
    std::string FSavedC;
};

void ExpectPointDecimals() {
    EXPECT_EQ(Format("%.4f", {1.5}), "1.5000");
    EXPECT_EQ(Format("%d", {1234567}), "1234567");
    EXPECT_EQ(Format("%9.9d", {1234}), "000001234");
    EXPECT_EQ(FloatToStr(2.25), "2.25");
    EXPECT_EQ(IntToStr(1234567), "1234567");
    double Value = 0;
    EXPECT_TRUE(TryStrToFloat("2.5", Value));
    EXPECT_EQ(Value, 2.5);
    EXPECT_FALSE(TryStrToFloat("2,5", Value));
}

TEST(Format, IgnoresTheGlobalCppLocale) {
    const TGlobalLocaleGuard Guard;
    std::locale::global(std::locale(std::locale::classic(), new TCommaNumPunct));
    ExpectPointDecimals();
}

TEST(Format, IgnoresTheCLocale) {
    const TGlobalLocaleGuard Guard;
    const char* Installed = nullptr;
    for (const char* Name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_ALL, Name) != nullptr) {
            Installed = Name;
            break;
        }
    }
    if (Installed == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    try {
        std::locale::global(std::locale(Installed));
    } catch (const std::runtime_error&) {
        // The C locale alone is still worth checking.
    }
    ExpectPointDecimals();
}

}  // namespace
}  // namespace fzl
