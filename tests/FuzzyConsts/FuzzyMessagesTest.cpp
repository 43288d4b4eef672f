#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>

namespace fzl {
namespace {

TEST(FuzzyMessages, TablesWordForWord) {
    const std::pair<const char*, std::string_view> Table[] = {
        {SInvalidFuzzySetName, R"(Invalid fuzzy set name, "%s" is a reserved word)"},
        {SInvalidFuzzyVarName, R"(Invalid fuzzy variable name, "%s")"},
        {SMissingFuzzyVariable, "Missing fuzzy linguistic variable"},
        {SMax3XValues, "Invalid x value.  Maximum of 3 values with same X value: %.4f"},
        {SInvalidFuzzyOperation, R"(Invalid fuzzy operation: "%s:)"},
        {SParserUnassigned, "Parser not assigned.  Cannot parse"},
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
        {SFzyUnexpectedToken, R"(Unexpected token: "%s")"}};
    for (const auto& [Text, Expected] : Table) EXPECT_EQ(std::string_view(Text), Expected);
}

TEST(FuzzyMessages, FormattedMessagesAndExceptions) {
    EXPECT_EQ(Format(SFuzzySetEmpty, {"Get Maximum Y Value"}),
              R"(Invalid operation: "Get Maximum Y Value".  Fuzzy set is empty)");
    EXPECT_EQ(Format(SInvalidRangeArguments, {5.0, 1.0}),
              "Invalid range arguments.  Left (5.0000) is greater than right (1.0000)");
    EXPECT_STREQ(EFzyException(SInvalidXRangeIndex, {2}).what(),
                 "Invalid index argument to GetXRange.  Index = 2");
    const EFzyParseException Parse(SFzyParseError, {"Expected number", "ParseVariable", "7", "x"}, 7);
    const EFzyException& E = Parse;  // a parse error is a fuzzy error
    EXPECT_EQ(Parse.LineNumber(), 7);
    EXPECT_STREQ(E.what(), R"(Parsing Error, Expected number in ParseVariable at line 7: "x")");
}

}  // namespace
}  // namespace fzl
