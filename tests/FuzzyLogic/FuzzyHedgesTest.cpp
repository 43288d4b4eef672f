#include <gtest/gtest.h>

#include <cmath>

#include "TestModel.h"

namespace fzl {
namespace {

using namespace test;  // TModel, FreeSet, PointsOf, Text, ErrorOf

const TPoints Triangle = {{0, 0}, {5, 1}, {10, 0}};
const TPoints Wide = {{0, 0}, {6, 1}, {12, 0}};

TEST(FuzzyHedges, EveryNamedHedge) {
    // Of Wide over [0, 12]: each hedge, its number of points and its degrees at X = 0, 2, 4, 6 and 10.
    // The powers and contrasts work on seven points; the approximations spread y / (1 + d^n) over
    // fifty; slightly is positively (normalize (plus S and not very S)).
    const std::string Expected =
        "not 3: 1 0.6667 0.3333 0 0.6667\nsomewhat 7: 0 0.6934 0.8736 1 0.6934\n"
        "moreorless 7: 0 0.5774 0.8165 1 0.5774\ngreatly 7: 0 0.4635 0.7529 1 0.4635\n"
        "plus 7: 0 0.2533 0.6024 1 0.2533\nvery 7: 0 0.1111 0.4444 1 0.1111\n"
        "extremely 7: 0 0.037 0.2963 1 0.037\nabove 3: 0 0 0 0 0.6667\nbelow 3: 1 0.6667 0.3333 0 0\n"
        "slightly 9: 0 0.3835 0.9969 0 0.3835\nnormalize 3: 0 0.3333 0.6667 1 0.3333\n"
        "about 50: 0.0677 0.3356 0.6678 1 0.3356\nvicinity 50: 0.0196 0.3333 0.6666 1 0.3333\n"
        "close 50: 0.1147 0.3461 0.6732 1 0.3461\nnear 50: 0.1147 0.3461 0.6732 1 0.3461\n"
        "neighboring 50: 0.1147 0.3461 0.6732 1 0.3461\npositively 7: 0 0.2222 0.7778 1 0.2222\n"
        "absolutely 7: 0 0.2222 0.7778 1 0.2222\ndefinitely 7: 0 0.2222 0.7778 1 0.2222\n"
        "generally 7: 0 0.2887 0.7113 1 0.2887\n";
    std::string Actual;
    TModel M(0, 12);
    for (int Index = fhNot; Index <= fhGenerally; ++Index) {
        const auto Hedge = static_cast<TFuzzyHedge>(Index);
        const std::string Name = std::string(HedgeNames[Index]) + " hot";
        const TFuzzySet* Set = M.Add(Wide)->Hedge(Hedge);
        EXPECT_EQ(Set->GetName() + "|" + Set->GetExpression(), Name + "|[" + Name + "]");
        Actual += std::string(HedgeNames[Index]) + " " + std::to_string(Set->GetValues().Count()) + ":";
        for (const int X : {0, 2, 4, 6, 10}) Actual += " " + Number(Set->DegreeOfMembership(X));
        Actual += "\n";
    }
    EXPECT_EQ(Actual, Expected);
    EXPECT_EQ(M.Variable->GetItems().Count(), fhGenerally + 1);  // no temporaries left behind

    // Equal maxima below 1: above cuts at the last of them, below at the first; of two peaks at 1
    // the scan stops at the first it meets.
    const TPoints Twin = {{0, 0.2}, {2, 0.6}, {4, 0.6}, {6, 0.1}};
    EXPECT_EQ(Text(*M.Add(Twin)->Hedge(fhAbove)) + Text(*M.Add(Twin)->Hedge(fhBelow)),
              "0,0 2,0 4,0 6,0.9 0,0.8 2,0 4,0 6,0 ");
    const TPoints Peaks = {{0, 0}, {2, 1}, {4, 0}, {6, 1}, {8, 0}};
    EXPECT_EQ(Text(*M.Add(Peaks)->Hedge(fhAbove)) + Text(*M.Add(Peaks)->Hedge(fhBelow)),
              "0,0 2,0 4,1 6,0 8,1 0,1 2,0 4,1 6,0 8,0 ");
    // Contrast leaves degrees of 1 and above as they are; a degree of exactly 0.5 takes the upper
    // branch, 1 - n (1 - y)^n.
    EXPECT_EQ(Text(*M.Add({{0, 0.25}, {3, 1.5}, {6, 0.75}})->Hedge(fhGenerally)),
              "0,0.25 1,0.7113 2,1.0833 3,1.5 4,1.25 5,1 6,0.75 ");
    EXPECT_EQ(M.Add({{0, 0.5}, {6, 0.5}})->Hedge(fhPositively)->DegreeOfMembership(3), 0.5);
    EXPECT_DOUBLE_EQ(M.Add({{0, 0.5}, {6, 0.5}})->Hedge(fhGenerally)->DegreeOfMembership(3),
                     1 - 0.5 * std::sqrt(0.5));
    // Normalizing an all-zero set changes nothing, so its expression survives and is wrapped.
    TFuzzySet* Zero = M.Add({{0, 0}, {10, 0}});
    Zero->SetExpression("zero");
    EXPECT_EQ(Text(*Zero->Hedge(fhNormalize)), "0,0 10,0 ");
    EXPECT_EQ(Zero->GetExpression(), "normalize zero");
}

TEST(FuzzyHedges, BaseHedgesNormalizeAndApproximation) {
    TModel M(0, 12);
    EXPECT_EQ(Text(*M.Add(Triangle)->Hedge(bfhAdd, 0.3, true)), "0,0.3 5,1.3 10,0.3 ");
    EXPECT_EQ(Text(*M.Add(Triangle)->Hedge(bfhSubtract, 0.3, true)), "0,0 5,0.7 10,0 ");
    // The clamps: a value beyond the bound (or at it, for <= and >=) becomes the bound.
    const TPoints Three = {{0, 0.2}, {5, 0.5}, {10, 0.8}};
    for (const auto& [Hedge, Expected] : {std::pair{bfhCutLess, "0,0.5 5,0.5 10,0.8 hot < 0.5000"},
                                          {bfgCutLessEq, "0,0.5 5,0.5 10,0.8 hot <= 0.5000"},
                                          {bfhCutGreater, "0,0.2 5,0.5 10,0.5 hot > 0.5000"},
                                          {bfhCutGreaterEq, "0,0.2 5,0.5 10,0.5 hot >= 0.5000"}}) {
        TFuzzySet* Set = M.Add(Three)->Hedge(Hedge, 0.5, true);
        EXPECT_EQ(Text(*Set) + Set->GetName(), Expected);
    }
    EXPECT_EQ(Text(*M.Add(Three)->Hedge(bfgCutLessEq, 3, false)), "3,0.2 5,0.5 10,0.8 ");
    EXPECT_EQ(Text(*M.Add({{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}})->Hedge(bfhPower, 2, true)),
              "0,0 1,0.25 2,1 3,1.5 ");
    EXPECT_EQ(M.Add({{0, 0.41}})->Hedge(bfhDivide, 0.41, true)->GetValues().First()->GetY(), 1.0);  // exactly
    TFuzzySet* Set = M.Add(Triangle);
    EXPECT_THROW(Set->Hedge(bfhDivide, 0, false), EFzyException);
    EXPECT_EQ(Text(*Set) + Set->GetName(), "0,0 5,1 10,0 hot");
    Set = M.Add({{0, 0.5}, {1, 1e-300}})->Hedge(bfhPower, -2, true)->Hedge(bfhMultiply, 1e300, true);
    EXPECT_TRUE(std::isfinite(Set->GetValues().Last()->GetY()));  // overflow saturates

    Set = M.Add(Triangle);  // on X
    Set->SetExpression("very hot");
    EXPECT_EQ(Text(*Set->Hedge(bfhAdd, 5, false)), "5,0 10,1 12,0 ");  // clamped to the maximum
    EXPECT_EQ(Set->GetName() + "|" + Set->GetExpression(), "hot +X 5.0000|+X [very hot]");
    EXPECT_EQ(Text(*M.Add({{0, 1}, {9, 0}})->Hedge(bfhPower, -0.5, false)), "0,1 0.3333,0 ");  // X > 0 only

    EXPECT_EQ(Text(*M.Add({{0, 0}, {1, 0.5}, {2, 0.25}})->Normalize()), "0,0 1,1 2,0.5 ");
    EXPECT_EQ(M.Add({{0, 0.1}, {1, 0.41}})->Normalize()->GetValues().Last()->GetY(), 1.0);  // exactly
    EXPECT_THROW(M.Add({})->Hedge(fhNormalize), EFzyException);  // as GetMaxValue of the points
    Set = M.Add({{6, 0}, {6, 1}, {6, 0}})->Hedge(fhAbout);       // no width: ratio 0.2
    ASSERT_EQ(Set->GetValues().Count(), 50);
    EXPECT_EQ(Set->GetValues().Last()->GetX(), 12);
    EXPECT_NEAR(Set->GetValues().First()->GetY(),
                (1 + std::pow(6.0 / 49 * 0.2, 2)) / (1 + std::pow(6 * 0.2, 2)), 1e-12);
}

TEST(FuzzyHedges, CutoffsCreateSetsInTheRange) {
    TModel M(0, 10);
    TFuzzySet* Set = M.Add(Triangle);
    Set->SetExpression("[very hot]");
    const TOwned<TFuzzySet> Cut = Set->Cutoff(0.5, true);
    EXPECT_EQ(Text(*Cut) + Cut->GetName() + "|" + Cut->GetExpression(),
              "2.5,0.5 5,1 7.5,0.5 hot or 0.5000|[very hot] or 0.5000");
    EXPECT_EQ(Cut->GetVariable(), M.Variable);
    EXPECT_EQ(Text(*Set->Cutoff(0.5, false)), "0,0 2.5,0.5 7.5,0.5 10,0 ");
    EXPECT_EQ(Text(*Set->Cutoff(1.5, true)) + Set->Cutoff(1.5, true)->GetName(), "0,1 hot or 1.5000");
    EXPECT_EQ(Text(*Set->Cutoff(0, true)), "0,0 5,1 10,0 ");
    // Every point below the value: the constant, not an empty set.
    EXPECT_EQ(Text(*M.Add({{0, 0.1}, {10, 0.2}})->Cutoff(0.5, true)), "0,0.5 ");
    EXPECT_EQ(Text(*Set->AlphaCutoff(0.5, false)) + Set->AlphaCutoff(0.5, false)->GetName(),
              "0,0 2.5,0 2.5,0.5 5,1 7.5,0.5 7.5,0 hot");
    EXPECT_EQ(Text(*Set->AlphaCutoff(1, true)) + "|" + Text(*Set->AlphaCutoff(0, true)),
              "0,0 |0,0 5,1 10,0 ");
    // Through a point exactly at the level: no crossing there, the point is kept (or, strict,
    // the edge rises from it).
    TFuzzySet* Kink = M.Add({{0, 0}, {4, 0.5}, {8, 1}, {10, 0}});
    EXPECT_EQ(Text(*Kink->Cutoff(0.5, true)) + "|" + Text(*Kink->Cutoff(0.5, false)),
              "4,0.5 8,1 9,0.5 |0,0 4,0.5 9,0.5 10,0 ");
    EXPECT_EQ(Text(*Kink->AlphaCutoff(0.5, false)), "0,0 4,0 4,0.5 8,1 9,0.5 9,0 ");
    EXPECT_EQ(Text(*M.Add({{0, 0.5}, {5, 1}})->AlphaCutoff(0.5, true)), "0,0 0,0.5 5,1 ");
    EXPECT_EQ(test::ErrorOf([&] { (void)M.Add({})->AlphaCutoff(0.5, false); }),
              R"(Invalid operation: "Alpha Cutoff".  Fuzzy set is empty)");  // Cutoff's: in the guide's table

    TModel Warm(20, 30);  // no replacement point at X = 0
    Set = Warm.Add({{22, 0.2}, {25, 1}, {28, 0}});
    EXPECT_EQ(Text(*Set->Cutoff(1, true)) + Text(*Set->AlphaCutoff(1, true)), "22,1 22,0 ");
    EXPECT_EQ(Text(*Set->AlphaCutoff(0.5, false)), "22,0 23.125,0 23.125,0.5 25,1 26.5,0.5 26.5,0 ");
    EXPECT_EQ(Text(*Warm.Add({})->Cutoff(0, false)) + Text(*Warm.Add({})->AlphaCutoff(1, true)),
              "20,0 20,0 ");
}

}  // namespace
}  // namespace fzl
