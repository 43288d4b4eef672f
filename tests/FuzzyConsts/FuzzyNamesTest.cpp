#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include <fzl/FuzzyConsts/FuzzyNames.h>

namespace fzl {
namespace {

TEST(FuzzyNames, DerivedNamesBracketOperandsWithBlanks) {  // (plain and appended forms: the set names)
    EXPECT_EQ(CreateFuzzyName(fhNot, "very hot"), "not [very hot]");
    EXPECT_EQ(CreateFuzzyName(fhNot, "[a b]") + "|" + CreateFuzzyName(fhNot, "a\tb"), "not [[a b]]|not a\tb");
    EXPECT_EQ(CreateFuzzyName(bfgCutLessEq, false, "a b"), "<=X [a b]");
    EXPECT_EQ(CreateFuzzyName("hot", "very cold", "or-sum"), "hot or-sum [very cold]");
    EXPECT_EQ(CreateFuzzyName("a b", "c", "or mean"), "[a b] or mean c");  // the operation stays bare
    EXPECT_EQ(CreateFuzzyName("very hot", "and", 0.5), "[very hot] and 0.5000");

    EXPECT_EQ(FormatFuzzyExpression("  a  ") + FormatFuzzyExpression("a\tb"), "aa\tb");  // only blanks count
    EXPECT_EQ(FormatFuzzyExpression(" very hot "), "[ very hot ]");  // brackets go around the text as given
    EXPECT_EQ(FormatFuzzyExpression("[a [b c]]"), "[a [b c]]");
    EXPECT_EQ(FormatFuzzyExpression("[a b"), "[[a b]");
}

TEST(FuzzyNames, ClassifiersWriteTheirResultsOnSuccessOnly) {
    // Every word table goes through one lookup: exact, case-sensitive, written only when found.
    TFuzzyHedge Hedge = fhNot;
    EXPECT_TRUE(IsFuzzyHedge("very") && IsFuzzyHedge("generally", Hedge));
    EXPECT_FALSE(IsFuzzyHedge("Very", Hedge) || IsFuzzyHedge("very ", Hedge));
    // Words are first told apart by first character and length; lengths from 63 on share a mark.
    EXPECT_FALSE(IsFuzzyHedge(std::string(63, 'v'), Hedge) || IsFuzzyHedge(std::string(200, 'v'), Hedge));
    EXPECT_EQ(Hedge, fhGenerally);

    TBaseFuzzyHedge Base = bfhAdd;
    bool AxisFlag = false;
    EXPECT_TRUE(IsFuzzyHedgeOperator("<=", Base, AxisFlag) && Base == bfgCutLessEq && AxisFlag);
    EXPECT_TRUE(IsFuzzyHedgeOperator("^X", Base, AxisFlag) && IsFuzzyHedgeOperator("-X"));
    for (const char* Text : {"X", "=", "+x", "+XX", "", "<X=", "<=>"})
        EXPECT_FALSE(IsFuzzyHedgeOperator(Text, Base, AxisFlag) || IsFuzzyHedgeOperator(Text)) << Text;
    EXPECT_EQ(std::pair(Base, AxisFlag), std::pair(bfhPower, false));

    bool IsUnion = true;
    TFuzzyOperation Operation = foMean;
    EXPECT_TRUE(IsFuzzyKeyword("and", IsUnion, Operation) && !IsUnion && Operation == foZadeh);
    EXPECT_TRUE(IsFuzzyKeyword("or-sum", IsUnion, Operation) && IsUnion);
    for (const char* Text : {"zadeh", "AND", "and-meanSqr"}) {
        IsUnion = false;
        EXPECT_FALSE(IsFuzzyKeyword(Text, IsUnion, Operation)) << Text;
        EXPECT_TRUE(IsUnion) << Text;  // set whatever the outcome
    }
    EXPECT_EQ(Operation, foSum);

    TFuzzyCorrelationMethod Correlation = fcmMinimum;
    TFuzzyInferenceMethod Inference = fimMinMax;
    EXPECT_TRUE(IsFuzzyOperation("bounded-sum", Operation) && IsFuzzyCorrelation("product", Correlation) &&
                IsFuzzyInference("sum", Inference));
    EXPECT_FALSE(IsFuzzyOperation("and", Operation) || IsFuzzyOperation("boundedsum", Operation) ||
                 IsFuzzyCorrelation("Minimum", Correlation) || IsFuzzyInference("minmax", Inference));
    EXPECT_EQ(std::tuple(Operation, Correlation, Inference),
              std::tuple(foBoundedSum, fcmProduct, fimAdditive));
    EXPECT_EQ(GetEnumName(bfgCutLessEq), "bfgCutLessEq");  // sic; other modules rely on it
    EXPECT_EQ(GetEnumName(static_cast<TFuzzyHedge>(fhGenerally + 1)), "");
}

}  // namespace
}  // namespace fzl
