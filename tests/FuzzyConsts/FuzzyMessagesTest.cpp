#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyConsts/FuzzyMessages.h"
#include "VXFuzzyLogicParser/ParserMessages.h"

namespace fzl {
namespace {

using Entry = std::pair<const char*, std::string_view>;

TEST(FuzzyMessages, ModelTableWordForWord) {
    const Entry Table[] = {
        {SFuzzySetEmpty, R"(Invalid operation: "%s".  Fuzzy set is empty)"},
        {SInvalidFuzzySetName, R"(Invalid fuzzy set name, "%s" is a reserved word)"},
        {SInvalidFuzzyVarName, R"(Invalid fuzzy variable name, "%s")"},
        {SMissingFuzzyVariable, "Missing fuzzy linguistic variable"},
        {SMax3XValues, "Invalid x value.  Maximum of 3 values with same X value: %.4f"},
        {SInvalidFuzzyOperation, R"(Invalid fuzzy operation: "%s:)"},
        {SInvalidXRangeIndex, "Invalid index argument to GetXRange.  Index = %d"},
        {SInvalidRangeArguments, "Invalid range arguments.  Left (%.4f) is greater than right (%.4f)"},
        {SParserUnassigned, "Parser not assigned.  Cannot parse"},
        {SFzyParseError, R"(Parsing Error, %s in %s at line %s: "%s")"},
        {SFzyArgNumWrong, R"(Number of arguments for function, %s, incorrect.  Expected "%s")"},
        {SFzyArgMinNumWrong, "Minimum number of arguments for function, %s, incorrect.  Expected %d or more"},
        {SFzyArgTypeWrong, "Data Types of arguments for function, %s, incorrect.  Expected %s"},
        {SPIArgsExpected, R"("Left Right Center" or "Range Center")"},
        {STriArgsExpected, R"("Left Middle Right")"},
        {SCurveArgsExpected, R"("Left Right Inflection_Point")"},
        {SBetaArgsExpected, R"("Range Center Inflection_Point" or "Range Center Inflection_Point Weight")"},
        {SFuzzyLogicNotSet, "Fuzzy Logic component must be specified to parse"},
        {SFuzzyLogicNotTFuzzyLogic, "FuzzyLogic property must be of type TFuzzyLogic or descendant"},
        {SFuzzyLogicNotTIFuzzyLogic, "FuzzyLogic property must be of type TIFuzzyLogic or descendant"},
        {SUnknownFuzzySetName, R"(Unknown Fuzzy Set name: "%s")"},
        {SUnknownFuzzyVarName, R"(Unknown Fuzzy Variable name: "%s")"},
        {SUnknownFunctionName, R"(Unknown function name: "%s")"},
        {SLowFuzzyTerm, "low"},
        {SMediumFuzzyTerm, "medium"},
        {SHighFuzzyTerm, "high"},
    };
    for (const auto& [Text, Expected] : Table) EXPECT_EQ(std::string_view(Text), Expected);
}

TEST(FuzzyMessages, ParserTableWordForWord) {
    const Entry Table[] = {
        {SFzyMissingName, "Missing name"},
        {SFzyExpectedFuzzySet, R"(Expected "( term")"},
        {SFzyExpectedFuzzyDefinition, R"(Expected "( deffuzzy")"},
        {SFzyMissingOpenParens, R"(Expected "(")"},
        {SFzyMissingCloseParens, "Expected \")\""},
        {SFzyExpectedNumber, "Expected number"},
        {SFzyExpectedKeyword, R"(Missing keyword.  Expected "%s")"},
        {SFzyMissingOperand, "Missing fuzzy operand to be modified by hedge: %s"},
        {SFzyUndefinedVariable, "fuzzy variable is not defined"},
        {SFzyInvalidToken, "Invalid item in fuzzy expression: %s"},
        {SFzyInvalidValuePair, "Invalid X/Y value pair: %s"},
        {SFzyUnexpectedToken, R"(Unexpected token: "%s")"},
    };
    for (const auto& [Text, Expected] : Table) EXPECT_EQ(std::string_view(Text), Expected);
}

TEST(FuzzyMessages, FormattedMessages) {
    EXPECT_EQ(Format(SFuzzySetEmpty, {"Get Maximum Y Value"}),
              R"(Invalid operation: "Get Maximum Y Value".  Fuzzy set is empty)");
    EXPECT_EQ(Format(SInvalidRangeArguments, {5.0, 1.0}),
              "Invalid range arguments.  Left (5.0000) is greater than right (1.0000)");
    EXPECT_EQ(Format(SInvalidXRangeIndex, {2}), "Invalid index argument to GetXRange.  Index = 2");
    // The expected-arguments texts bring their own quotes, so they end up doubled.
    EXPECT_EQ(Format(SFzyArgNumWrong, {"pi", SPIArgsExpected}),
              R"(Number of arguments for function, pi, incorrect.  )"
              R"(Expected ""Left Right Center" or "Range Center"")");
}

TEST(FuzzyExceptions, MessagesAndLineNumbers) {
    const EFzyException Plain(SMissingFuzzyVariable);
    EXPECT_STREQ(Plain.what(), "Missing fuzzy linguistic variable");
    const EFzyException Formatted(SInvalidXRangeIndex, {2});
    EXPECT_EQ(Formatted.Message(), "Invalid index argument to GetXRange.  Index = 2");

    try {
        throw EFzyParseException(SFzyParseError, {"Expected number", "ParseVariable", "7", "x"}, 7);
    } catch (const EFzyException& E) {
        const auto* Parse = dynamic_cast<const EFzyParseException*>(&E);
        ASSERT_NE(Parse, nullptr);
        EXPECT_EQ(Parse->LineNumber(), 7);
        EXPECT_STREQ(E.what(), R"(Parsing Error, Expected number in ParseVariable at line 7: "x")");
    }

    EFzyParseException FromTokenizer(SFzyMissingName);
    EXPECT_EQ(FromTokenizer.LineNumber(), 0);
    FromTokenizer.SetLineNumber(3);
    EXPECT_EQ(FromTokenizer.LineNumber(), 3);
    EXPECT_EQ(EFzyParseException("bad", 12).LineNumber(), 12);
    EXPECT_THROW(throw EFzyParseException("bad", 1), EVXException);
}

}  // namespace
}  // namespace fzl
