#include <gtest/gtest.h>

#include <fzl/FuzzyConsts/FuzzyNames.h>

namespace fzl {
namespace {

TEST(FuzzyNames, DerivedNamesBracketOperandsWithBlanks) {
    EXPECT_EQ(CreateFuzzyName(fhVery, "hot"), "very hot");
    EXPECT_EQ(CreateFuzzyName(fhNot, "very hot"), "not [very hot]");
    EXPECT_EQ(CreateFuzzyName(fhNot, ""), "not ");
    EXPECT_EQ(CreateFuzzyName(fhNot, "[a b]"), "not [[a b]]");
    EXPECT_EQ(CreateFuzzyName(fhNot, "a\tb"), "not a\tb");  // only blanks call for brackets
    EXPECT_EQ(CreateFuzzyName(bfhAdd, true, "hot"), "+ hot");
    EXPECT_EQ(CreateFuzzyName(bfhAdd, false, "hot"), "+X hot");
    EXPECT_EQ(CreateFuzzyName(bfgCutLessEq, false, "a b"), "<=X [a b]");
    EXPECT_EQ(CreateFuzzyName("hot", "very cold", "or-sum"), "hot or-sum [very cold]");
    EXPECT_EQ(CreateFuzzyName("a b", "c", "or mean"), "[a b] or mean c");  // the operation stays bare
    EXPECT_EQ(CreateFuzzyName("hot", "and", 0.5), "hot and 0.5000");
    EXPECT_EQ(CreateFuzzyName("very hot", "and", 0.5), "[very hot] and 0.5000");
    EXPECT_EQ(CreateFuzzyName("x", "*", -1.23456), "x * -1.2346");

    EXPECT_EQ(FormatFuzzyExpression("  a  "), "a");
    EXPECT_EQ(FormatFuzzyExpression("a\tb"), "a\tb");
    EXPECT_EQ(FormatFuzzyExpression(" very hot "), "[ very hot ]");  // brackets go around the text as given
    EXPECT_EQ(FormatFuzzyExpression(" [very hot] "), "[very hot]");
    EXPECT_EQ(FormatFuzzyExpression("[a [b c]]"), "[a [b c]]");
    EXPECT_EQ(FormatFuzzyExpression("[a] or [b]"), "[[a] or [b]]");
    EXPECT_EQ(FormatFuzzyExpression("[a b"), "[[a b]");
}

TEST(FuzzyNames, ClassifiersWriteTheirResultsOnSuccessOnly) {
    TFuzzyHedge Hedge = fhNot;
    EXPECT_TRUE(IsFuzzyHedge("very"));
    EXPECT_TRUE(IsFuzzyHedge("generally", Hedge));
    EXPECT_FALSE(IsFuzzyHedge("Very", Hedge));
    EXPECT_FALSE(IsFuzzyHedge("very ", Hedge));
    EXPECT_EQ(Hedge, fhGenerally);

    TBaseFuzzyHedge Base = bfhAdd;
    bool AxisFlag = false;
    EXPECT_TRUE(IsFuzzyHedgeOperator("<=", Base, AxisFlag));
    EXPECT_EQ(Base, bfgCutLessEq);
    EXPECT_TRUE(AxisFlag);
    EXPECT_TRUE(IsFuzzyHedgeOperator("^X", Base, AxisFlag));
    for (const char* Text : {"X", "=", "+x", "+XX", "", "<X=", "<=>"}) {
        EXPECT_FALSE(IsFuzzyHedgeOperator(Text, Base, AxisFlag)) << Text;
        EXPECT_FALSE(IsFuzzyHedgeOperator(Text)) << Text;
    }
    EXPECT_EQ(Base, bfhPower);
    EXPECT_FALSE(AxisFlag);
    EXPECT_TRUE(IsFuzzyHedgeOperator("-X"));

    bool IsUnion = true;
    TFuzzyOperation Operation = foMean;
    EXPECT_TRUE(IsFuzzyKeyword("and", IsUnion, Operation));
    EXPECT_FALSE(IsUnion);
    EXPECT_EQ(Operation, foZadeh);
    EXPECT_TRUE(IsFuzzyKeyword("or-sum", IsUnion, Operation));
    EXPECT_TRUE(IsUnion);
    for (const char* Text : {"zadeh", "AND", "and-meanSqr"}) {
        IsUnion = false;
        EXPECT_FALSE(IsFuzzyKeyword(Text, IsUnion, Operation)) << Text;
        EXPECT_TRUE(IsUnion) << Text;  // set whatever the outcome
    }
    EXPECT_EQ(Operation, foSum);

    TFuzzyCorrelationMethod Correlation = fcmMinimum;
    TFuzzyInferenceMethod Inference = fimMinMax;
    EXPECT_TRUE(IsFuzzyOperation("bounded-sum", Operation));
    EXPECT_TRUE(IsFuzzyCorrelation("product", Correlation));
    EXPECT_TRUE(IsFuzzyInference("sum", Inference));
    EXPECT_FALSE(IsFuzzyOperation("and", Operation));
    EXPECT_FALSE(IsFuzzyOperation("boundedsum", Operation));
    EXPECT_FALSE(IsFuzzyCorrelation("Minimum", Correlation));
    EXPECT_FALSE(IsFuzzyInference("minmax", Inference));
    EXPECT_EQ(Operation, foBoundedSum);
    EXPECT_EQ(Correlation, fcmProduct);
    EXPECT_EQ(Inference, fimAdditive);
}

}  // namespace
}  // namespace fzl
