#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include <fzl/FuzzyConsts/FuzzyTypes.h>

namespace fzl {
namespace {

TEST(FuzzyTypes, KeywordTablesWordForWord) {
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
    EXPECT_EQ(HedgeNames,
              (TFuzzyHedgeNames{"not",         "somewhat",   "moreorless", "greatly",    "plus",
                                "very",        "extremely",  "above",      "below",      "slightly",
                                "normalize",   "about",      "vicinity",   "close",      "near",
                                "neighboring", "positively", "absolutely", "definitely", "generally"}));
    // Exact comparison: somewhat must be the very same double as 1/3.
    EXPECT_EQ(HedgeModifiers, (TFuzzyHedgeModifiers{0, 1.0 / 3, 0.5, 0.7, 1.25, 2,   3, 0, 0, 0,
                                                    0, 2,       4,   1.2, 1.2,  1.2, 2, 2, 2, 0.5}));
}

TEST(FuzzyTypes, EnumerationIdentifiers) {
    EXPECT_EQ(GetEnumName(bfgCutLessEq), "bfgCutLessEq");  // sic; other modules rely on it
    EXPECT_EQ(GetEnumName(foMeanSqrt), "foMeanSqrt");
    // Every hedge is "fh" + its word capitalised, except the two-word one.
    for (std::size_t I = 0; I < HedgeNames.size(); ++I) {
        std::string Expected = "fh" + std::string(HedgeNames[I]);
        Expected[2] = static_cast<char>(Expected[2] - 'a' + 'A');
        if (I == fhMoreOrLess) Expected = "fhMoreOrLess";
        EXPECT_EQ(GetEnumName(static_cast<TFuzzyHedge>(I)), Expected);
    }
}

}  // namespace
}  // namespace fzl
