#include <gtest/gtest.h>

#include <utility>

#include <fzl/fzl.h>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

TEST(FuzzyRule, ReadsClausesCommentsAndLines) {
    const auto Rules = ReadFuzzyRules(
        "; the fan\r\n"
        "\r\n"
        "IF t IS very warm and not humid   AND h IS (tri 0 5 10) THEN fan IS high ; fast\r"
        "IF t IS [warm or hot] THEN fan IS max");
    ASSERT_EQ(Rules.size(), 2U);
    ASSERT_EQ(Rules[0].Premises.size(), 2U);
    // Lower-case keywords stay inside the expression; blanks within it are kept as written.
    EXPECT_EQ(Rules[0].Premises[0].Variable, "t");
    EXPECT_EQ(Rules[0].Premises[0].Expression, "very warm and not humid");
    EXPECT_EQ(Rules[0].Premises[1].Expression, "(tri 0 5 10)");
    EXPECT_EQ(Rules[0].Conclusion.Variable, "fan");
    EXPECT_EQ(Rules[0].Conclusion.Expression, "high");
    EXPECT_EQ(Rules[0].Line, 3);
    EXPECT_EQ(Rules[0].Text, "IF t IS very warm and not humid   AND h IS (tri 0 5 10) THEN fan IS high");
    EXPECT_EQ(Rules[1].Line, 4);  // a lone CR ends a line too
    EXPECT_TRUE(ReadFuzzyRules("").empty());
    EXPECT_TRUE(ReadFuzzyRules("\n;only a comment\n  \n").empty());
}

TEST(FuzzyRule, MalformedRulesReportTheirLine) {
    const auto ErrorOf = [](const std::string& Text) {
        return test::ParseErrorOf([&] { (void)ReadFuzzyRules(Text); });
    };
    EXPECT_EQ(ErrorOf("\n\nif t IS warm THEN f IS low"),
              "Parsing Error, Expected \"IF\" at the start of the rule in ParseRule at line 3: "
              "\"if t IS warm THEN f IS low\" @3");
    const std::pair<const char*, const char*> Cases[] = {
        {"IF IS warm THEN f IS low", "Missing variable name before \"IS\""},
        {"IF t warm THEN f IS low", "Expected \"IS\" after the variable name \"t\""},
        {"IF t IS THEN f IS low", "Missing expression after \"t IS\""},
        {"IF t IS warm AND THEN f IS low", "Missing variable name before \"THEN\""},
        {"IF t IS warm", "Missing \"THEN\": a rule ends with \"THEN variable IS expression\""},
        {"IF t IS warm THEN f IS", "Missing expression after \"f IS\""},
        {"IF t IS warm THEN f IS low AND g IS high", "A rule has one conclusion: \"AND\" after \"THEN\""},
    };
    for (const auto& [Text, Message] : Cases) {
        const std::string Expected = std::string(Message) + " in ParseRule at line 1: \"" + Text + "\" @1";
        EXPECT_EQ(ErrorOf(Text), "Parsing Error, " + Expected);
    }
}

}  // namespace
}  // namespace fzl
