#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "FuzzyConsts/FuzzyTypes.h"

namespace fzl {
namespace {

TEST(FuzzyTypes, EnumerationIdentifiers) {
    EXPECT_EQ(GetEnumName(fcmProduct), "fcmProduct");
    EXPECT_EQ(GetEnumName(fimBoundedSum), "fimBoundedSum");
    EXPECT_EQ(GetEnumName(bfgCutLessEq), "bfgCutLessEq");
    EXPECT_EQ(GetEnumName(bfhCutGreaterEq), "bfhCutGreaterEq");
    EXPECT_EQ(GetEnumName(dmMeanOfMaxima), "dmMeanOfMaxima");
    EXPECT_EQ(GetEnumName(fstGrowthCurve), "fstGrowthCurve");
    EXPECT_EQ(GetEnumName(fstFuzzySet), "fstFuzzySet");
    EXPECT_EQ(GetEnumName(utY), "utY");
    EXPECT_EQ(GetEnumName(foMeanSqrt), "foMeanSqrt");

    // The identifier of every hedge is "fh" + its word with a capital, except the two-word one.
    for (std::size_t I = 0; I < HedgeNames.size(); ++I) {
        const auto Hedge = static_cast<TFuzzyHedge>(I);
        if (Hedge == fhMoreOrLess) {
            EXPECT_EQ(GetEnumName(Hedge), "fhMoreOrLess");
            continue;
        }
        std::string Expected = "fh" + std::string(HedgeNames[I]);
        Expected[2] = static_cast<char>(Expected[2] - 'a' + 'A');
        EXPECT_EQ(GetEnumName(Hedge), Expected);
    }
}

TEST(FuzzyTypes, KeywordTables) {
    using Words = std::array<std::string_view, 7>;
    EXPECT_EQ(FuzzyOperationNames,
              (Words{"zadeh", "mean", "mean-sqr", "mean-sqrt", "product", "bounded-sum", "sum"}));
    EXPECT_EQ(FuzzyIntersectionKeywords, (Words{"and", "and-mean", "and-meansqr", "and-meansqrt",
                                                "and-product", "and-boundedsum", "and-sum"}));
    EXPECT_EQ(FuzzyUnionKeywords,
              (Words{"or", "or-mean", "or-meansqr", "or-meansqrt", "or-product", "or-boundedsum", "or-sum"}));
    EXPECT_EQ(BaseHedgeNames, (TBaseFuzzyHedgeNames{"+", "-", "*", "/", "^", "<", "<=", ">", ">="}));
    EXPECT_EQ(FuzzyCorrelationNames, (TFuzzyCorrelationMethodNames{"minimum", "product"}));
    EXPECT_EQ(FuzzyInferenceNames,
              (TFuzzyInferenceMethodNames{"min-max", "sum", "mean", "product", "bounded-sum"}));

    EXPECT_EQ(FuzzyCorrelationNameList, "fcmMinimum, fcmProduct");
    EXPECT_EQ(FuzzyCorrelationSuffixNameList, "Minimum, Product");
    EXPECT_EQ(FuzzyInferenceNameList, "fimMinMax, fimAdditive, fimMean, fimProduct, fimBoundedSum");
    EXPECT_EQ(FuzzyInferenceSuffixNameList, "MinMax, Additive, Mean, Product, BoundedSum");
    EXPECT_EQ(FuzzyFormatStr, "%.4f");
    EXPECT_EQ(LeftFuzzyParentheses, "[");
    EXPECT_EQ(RightFuzzyParentheses, "]");
    EXPECT_EQ(SEmptyFuzzy, "__Empty");
}

TEST(FuzzyTypes, HedgeWordsAndModifiers) {
    EXPECT_EQ(HedgeNames,
              (TFuzzyHedgeNames{"not",         "somewhat",   "moreorless", "greatly",    "plus",
                                "very",        "extremely",  "above",      "below",      "slightly",
                                "normalize",   "about",      "vicinity",   "close",      "near",
                                "neighboring", "positively", "absolutely", "definitely", "generally"}));
    // Exact comparison: somewhat must be the very same double as ONE_THIRD.
    EXPECT_EQ(HedgeModifiers, (TFuzzyHedgeModifiers{0, ONE_THIRD, 0.5, 0.7, 1.25, 2,   3, 0, 0, 0,
                                                    0, 2,         4,   1.2, 1.2,  1.2, 2, 2, 2, 0.5}));
    EXPECT_EQ(ONE_THIRD, 0.3333333333333333);
    EXPECT_EQ(TWO_THIRDS, 0.6666666666666666);
}

}  // namespace
}  // namespace fzl
