#include <gtest/gtest.h>

#include "FuzzyConsts/FuzzyNames.h"

namespace fzl {
namespace {

TEST(FuzzyNames, HedgeAndBaseHedgeNames) {
    EXPECT_EQ(CreateFuzzyName(fhVery, "hot"), "very hot");
    EXPECT_EQ(CreateFuzzyName(fhNot, "very hot"), "not [very hot]");
    EXPECT_EQ(CreateFuzzyName(fhNot, ""), "not ");
    EXPECT_EQ(CreateFuzzyName(fhNot, "[a b]"), "not [[a b]]");
    EXPECT_EQ(CreateFuzzyName(fhNot, "a\tb"), "not a\tb");  // only the blank brackets

    EXPECT_EQ(CreateFuzzyName(bfhAdd, true, "hot"), "+ hot");
    EXPECT_EQ(CreateFuzzyName(bfhAdd, false, "hot"), "+X hot");
    EXPECT_EQ(CreateFuzzyName(bfgCutLessEq, false, "a b"), "<=X [a b]");
    EXPECT_EQ(CreateFuzzyName(bfhCutGreaterEq, true, "a b"), ">= [a b]");
}

TEST(FuzzyNames, CombinationNames) {
    EXPECT_EQ(CreateFuzzyName("hot", "cold", "and"), "hot and cold");
    EXPECT_EQ(CreateFuzzyName("hot", "very cold", "or-sum"), "hot or-sum [very cold]");
    EXPECT_EQ(CreateFuzzyName("a b", "c", "or mean"), "[a b] or mean c");  // the operation is never bracketed

    EXPECT_EQ(CreateFuzzyName("hot", "and", 0.5), "hot and 0.5000");
    EXPECT_EQ(CreateFuzzyName("very hot", "and", 0.5), "[very hot] and 0.5000");
    EXPECT_EQ(CreateFuzzyName("x", "*", -1.23456), "x * -1.2346");
    EXPECT_EQ(CreateFuzzyName("x", "+", 12.0), "x + 12.0000");
}

TEST(FuzzyNames, FormatFuzzyExpression) {
    EXPECT_EQ(FormatFuzzyExpression("hot"), "hot");
    EXPECT_EQ(FormatFuzzyExpression("a"), "a");
    EXPECT_EQ(FormatFuzzyExpression("  a  "), "a");
    EXPECT_EQ(FormatFuzzyExpression("a\tb"), "a\tb");
    EXPECT_EQ(FormatFuzzyExpression(" very hot "), "[ very hot ]");  // brackets go around the text as given
    EXPECT_EQ(FormatFuzzyExpression("[very hot]"), "[very hot]");
    EXPECT_EQ(FormatFuzzyExpression(" [very hot] "), "[very hot]");
    EXPECT_EQ(FormatFuzzyExpression("[a [b c]]"), "[a [b c]]");
    EXPECT_EQ(FormatFuzzyExpression("[a] or [b]"), "[[a] or [b]]");
    EXPECT_EQ(FormatFuzzyExpression("[a] [b]"), "[[a] [b]]");
    EXPECT_EQ(FormatFuzzyExpression("[a b"), "[[a b]");
}

TEST(FuzzyNames, HedgeClassifiers) {
    TFuzzyHedge Hedge = fhNot;
    EXPECT_TRUE(IsFuzzyHedge("very"));
    EXPECT_FALSE(IsFuzzyHedge("Very"));
    EXPECT_TRUE(IsFuzzyHedge("generally", Hedge));
    EXPECT_EQ(Hedge, fhGenerally);
    EXPECT_FALSE(IsFuzzyHedge("very ", Hedge));
    EXPECT_EQ(Hedge, fhGenerally);

    TBaseFuzzyHedge Base = bfhAdd;
    bool AxisFlag = true;
    EXPECT_TRUE(IsFuzzyHedgeOperator("^X", Base, AxisFlag));
    EXPECT_EQ(Base, bfhPower);
    EXPECT_FALSE(AxisFlag);
    EXPECT_TRUE(IsFuzzyHedgeOperator("<=", Base, AxisFlag));
    EXPECT_EQ(Base, bfgCutLessEq);
    EXPECT_TRUE(AxisFlag);
    EXPECT_TRUE(IsFuzzyHedgeOperator(">=X", Base, AxisFlag));
    EXPECT_EQ(Base, bfhCutGreaterEq);
    EXPECT_FALSE(AxisFlag);
    for (const char* Text : {"X", "=", "+x", "+XX", "", "<X=", "<=>"}) {
        EXPECT_FALSE(IsFuzzyHedgeOperator(Text, Base, AxisFlag)) << Text;
        EXPECT_FALSE(IsFuzzyHedgeOperator(Text)) << Text;
    }
    EXPECT_EQ(Base, bfhCutGreaterEq);
    EXPECT_FALSE(AxisFlag);
    EXPECT_TRUE(IsFuzzyHedgeOperator("/"));
    EXPECT_TRUE(IsFuzzyHedgeOperator("-X"));
}

TEST(FuzzyNames, KeywordClassifier) {
    bool IsUnion = false;
    TFuzzyOperation Operation = foMean;
    EXPECT_TRUE(IsFuzzyKeyword("and", IsUnion, Operation));
    EXPECT_FALSE(IsUnion);
    EXPECT_EQ(Operation, foZadeh);
    EXPECT_TRUE(IsFuzzyKeyword("or-sum", IsUnion, Operation));
    EXPECT_TRUE(IsUnion);
    EXPECT_EQ(Operation, foSum);
    EXPECT_TRUE(IsFuzzyKeyword("and-boundedsum", IsUnion, Operation));
    EXPECT_EQ(Operation, foBoundedSum);

    // A failed test still sets the flag, but leaves the operation alone.
    EXPECT_FALSE(IsUnion);
    EXPECT_FALSE(IsFuzzyKeyword("zadeh", IsUnion, Operation));
    EXPECT_TRUE(IsUnion);
    EXPECT_EQ(Operation, foBoundedSum);
    EXPECT_FALSE(IsFuzzyKeyword("AND", IsUnion, Operation));
    EXPECT_FALSE(IsFuzzyKeyword("and-meanSqr", IsUnion, Operation));
}

TEST(FuzzyNames, MethodClassifiers) {
    TFuzzyOperation Operation = foZadeh;
    EXPECT_TRUE(IsFuzzyOperation("bounded-sum", Operation));
    EXPECT_EQ(Operation, foBoundedSum);
    EXPECT_FALSE(IsFuzzyOperation("and", Operation));
    EXPECT_FALSE(IsFuzzyOperation("boundedsum", Operation));
    EXPECT_EQ(Operation, foBoundedSum);

    TFuzzyCorrelationMethod Correlation = fcmMinimum;
    EXPECT_TRUE(IsFuzzyCorrelation("product", Correlation));
    EXPECT_EQ(Correlation, fcmProduct);
    EXPECT_FALSE(IsFuzzyCorrelation("Minimum", Correlation));
    EXPECT_EQ(Correlation, fcmProduct);

    TFuzzyInferenceMethod Inference = fimMinMax;
    EXPECT_TRUE(IsFuzzyInference("sum", Inference));
    EXPECT_EQ(Inference, fimAdditive);
    EXPECT_TRUE(IsFuzzyInference("product", Inference));
    EXPECT_EQ(Inference, fimProduct);
    EXPECT_FALSE(IsFuzzyInference("minmax", Inference));
    EXPECT_EQ(Inference, fimProduct);
}

}  // namespace
}  // namespace fzl
