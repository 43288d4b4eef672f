#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzyVariable.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<double, double>>;
const TPoints Triangle = {{0, 0}, {5, 1}, {10, 0}};
const TPoints Wide = {{0, 0}, {6, 1}, {12, 0}};

// Four decimals, trailing zeros dropped.
std::string Number(double V) {
    char Buffer[64];
    std::snprintf(Buffer, sizeof Buffer, "%.4f", V);
    std::string S(Buffer);
    S.erase(S.find_last_not_of('0') + 1);
    if (S.back() == '.') S.pop_back();
    return S;
}

// "x,y x,y ... ".
std::string Text(const TFuzzySet& Set) {
    std::string Result;
    for (const TFuzzySetValue* Point : Set.GetValues())
        Result += Number(Point->GetX()) + "," + Number(Point->GetY()) + " ";
    return Result;
}

// One variable over [Min, Max]; its collection owns every set, cut-offs included.
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;
    TModel(double Min, double Max) {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(Max);
        Variable->SetMinimum(Min);
    }
    TFuzzySet* Add(const TPoints& Points, const std::string& Name = "hot") {
        TFuzzySet* Set = Variable->GetItems().Add(Name);
        InUpdate(Set->GetValues(), [&] {
            for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
        });
        return Set;
    }
};

TEST(FuzzyHedges, NamedHedgesAndTheirTexts) {
    TModel M(0, 12);
    TFuzzySet* Set = M.Add(Triangle);
    EXPECT_EQ(Text(*Set->Hedge(fhNot)), "0,1 5,0 10,1 ");
    EXPECT_EQ(Set->GetName() + "|" + Set->GetExpression(), "not hot|[not hot]");
    EXPECT_EQ(Text(*M.Add(Triangle)->Hedge(fhAbove)), "0,0 5,0 10,1 ");
    EXPECT_EQ(Text(*M.Add(Triangle)->Hedge(fhBelow)), "0,1 5,0 10,0 ");
    // Equal maxima below 1: above cuts at the last of them, below at the first.
    const TPoints Twin = {{0, 0.2}, {2, 0.6}, {4, 0.6}, {6, 0.1}};
    EXPECT_EQ(Text(*M.Add(Twin)->Hedge(fhAbove)), "0,0 2,0 4,0 6,0.9 ");
    EXPECT_EQ(Text(*M.Add(Twin)->Hedge(fhBelow)), "0,0.8 2,0 4,0 6,0 ");

    Set = M.Add(Wide)->Hedge(fhVery)->Hedge(fhNot);  // seven points, squared, complemented
    EXPECT_EQ(Text(*Set), "0,1 2,0.8889 4,0.5556 6,0 8,0.5556 10,0.8889 12,1 ");
    EXPECT_EQ(Set->GetName() + "|" + Set->GetExpression(), "not [very hot]|[not [very hot]]");
    EXPECT_EQ(Text(*M.Add(Wide)->Hedge(fhPositively)), "0,0 2,0.2222 4,0.7778 6,1 8,0.7778 10,0.2222 12,0 ");
    // Degrees above 1 (unbounded sums) stay under contrast: no NaN from a fractional power.
    EXPECT_EQ(Text(*M.Add({{0, 0.25}, {3, 1.5}, {6, 0.75}})->Hedge(fhGenerally)),
              "0,0.25 1,0.7113 2,1.0833 3,1.5 4,1.25 5,1 6,0.75 ");

    Set = M.Add(Wide);  // called directly: the base hedge's name, the expression cleared
    Set->SetExpression("warm");
    Set->Intensify(3, 2);
    EXPECT_EQ(Set->GetName() + "|" + Set->GetExpression(), "hot ^ 2.0000|");
    Set->SetExpression("hot or cold");
    InUpdate(Set->GetValues(), [&] {  // inside an outer bulk update the old expression survives
        EXPECT_EQ(Set->Hedge(fhNot)->GetExpression(), "not [[hot or cold]]");
    });
    Set = M.Add({{0, 0}, {1, 0}}, "z");
    Set->SetExpression("zero");
    // Nothing to scale, so nothing reported: the old expression is wrapped.
    EXPECT_EQ(Set->Hedge(fhNormalize)->GetExpression(), "normalize zero");
}

TEST(FuzzyHedges, BaseHedges) {
    TModel M(0, 12);
    EXPECT_EQ(Text(*M.Add(Triangle)->Hedge(bfhAdd, 0.3, true)), "0,0.3 5,1.3 10,0.3 ");
    EXPECT_EQ(Text(*M.Add(Triangle)->Hedge(bfhSubtract, 0.3, true)), "0,0 5,0.7 10,0 ");
    TFuzzySet* Set = M.Add(Triangle, "name")->Hedge(bfhCutGreater, 0.6, true);
    EXPECT_EQ(Text(*Set) + Set->GetName(), "0,0 5,0.6 10,0 name > 0.6000");
    EXPECT_EQ(Text(*M.Add({{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}})->Hedge(bfhPower, 2, true)),
              "0,0 1,0.25 2,1 3,1.5 ");
    EXPECT_EQ(M.Add({{0, 0.41}})->Hedge(bfhDivide, 0.41, true)->GetValues().First()->GetY(), 1.0);  // exactly
    Set = M.Add(Triangle);
    EXPECT_THROW(Set->Hedge(bfhDivide, 0, false), EFzyException);
    EXPECT_EQ(Text(*Set) + Set->GetName(), "0,0 5,1 10,0 hot");
    Set = M.Add({{0, 0.5}, {1, 1e-300}})->Hedge(bfhPower, -2, true)->Hedge(bfhMultiply, 1e300, true);
    EXPECT_TRUE(std::isfinite(Set->GetValues().Last()->GetY()));  // overflow saturates

    Set = M.Add(Triangle);
    Set->SetExpression("very hot");
    EXPECT_EQ(Text(*Set->Hedge(bfhAdd, 5, false)), "5,0 10,1 12,0 ");  // clamped to the maximum
    EXPECT_EQ(Set->GetName() + "|" + Set->GetExpression(), "hot +X 5.0000|+X [very hot]");
    EXPECT_EQ(Text(*Set->Hedge(bfhSubtract, 7, false)), "0,0 3,1 5,0 ");
    EXPECT_EQ(Text(*M.Add({{0, 1}, {9, 0}})->Hedge(bfhPower, -0.5, false)), "0,1 0.3333,0 ");  // X > 0 only
    auto Detached = Make<TFuzzySet>();
    Detached->GetValues().Add(1, 1);
    EXPECT_EQ(Detached->Hedge(bfhAdd, 3e9, false)->GetValues().First()->GetX(), 2147483647.0);
}

TEST(FuzzyHedges, CutoffsStayInTheRange) {
    TModel M(0, 10);
    TFuzzySet* Set = M.Add(Triangle);
    Set->SetExpression("[very hot]");
    TFuzzySet* Cut = Set->Cutoff(0.5, true);
    EXPECT_EQ(Text(*Cut) + Cut->GetName() + "|" + Cut->GetExpression(),
              "2.5,0.5 5,1 7.5,0.5 hot or 0.5000|[very hot] or 0.5000");
    EXPECT_EQ(Text(*Set->Cutoff(0.5, false)), "0,0 2.5,0.5 7.5,0.5 10,0 ");
    Cut = Set->Cutoff(1.5, true);
    EXPECT_EQ(Text(*Cut) + Cut->GetName(), "0,1 hot or 1.5000");
    EXPECT_EQ(Text(*Set->Cutoff(0, true)), "0,0 5,1 10,0 ");
    // Every point below the value: the constant, not an empty set.
    EXPECT_EQ(Text(*M.Add({{0, 0.1}, {10, 0.2}})->Cutoff(0.5, true)), "0,0.5 ");
    Cut = Set->AlphaCutoff(0.5, false);
    EXPECT_EQ(Text(*Cut) + Cut->GetName(), "0,0 2.5,0 2.5,0.5 5,1 7.5,0.5 7.5,0 hot");
    EXPECT_EQ(Text(*Set->AlphaCutoff(1, true)), "0,0 ");
    EXPECT_EQ(Text(*Set->AlphaCutoff(0, true)), "0,0 5,1 10,0 ");
    // Strict, from a point exactly at alpha: that point goes, the edge rises from it.
    EXPECT_EQ(Text(*M.Add({{0, 0.5}, {5, 1}})->AlphaCutoff(0.5, true)), "0,0 0,0.5 5,1 ");
    EXPECT_EQ(M.Variable->GetItems().Count(), 12);  // every result joined the variable
    try {
        M.Add({})->AlphaCutoff(0.5, false);
        FAIL() << "expected EFzyException";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid operation: \"Alpha Cutoff\".  Fuzzy set is empty");
    }
    EXPECT_THROW(M.Add({})->Cutoff(0.5, false), EFzyException);

    TModel Warm(20, 30);  // no replacement point at X = 0
    Set = Warm.Add({{22, 0.2}, {25, 1}, {28, 0}});
    EXPECT_EQ(Text(*Set->Cutoff(1, true)) + Text(*Set->AlphaCutoff(1, true)), "22,1 22,0 ");
    EXPECT_EQ(Text(*Set->AlphaCutoff(0.5, false)), "22,0 23.125,0 23.125,0.5 25,1 26.5,0.5 26.5,0 ");
    EXPECT_EQ(Text(*Warm.Add({})->Cutoff(0, false)) + Text(*Warm.Add({})->AlphaCutoff(1, true)),
              "20,0 20,0 ");
}

TEST(FuzzyHedges, NormalizeApproximationAndSlightly) {
    TModel M(0, 10);
    EXPECT_EQ(Text(*M.Add({{0, 0}, {1, 0.5}, {2, 0.25}})->Normalize()), "0,0 1,1 2,0.5 ");
    EXPECT_EQ(M.Add({{0, 0.1}, {1, 0.41}})->Normalize()->GetValues().Last()->GetY(), 1.0);  // exactly
    EXPECT_EQ(Text(*M.Add({{0, 0}, {1, 0}})->Normalize()), "0,0 1,0 ");
    try {
        M.Add({})->Hedge(fhNormalize);
        FAIL() << "expected EFzyException";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid operation: \"Get Maximum Y Value\".  Fuzzy set is empty");
    }
    TFuzzySet* Set = M.Add({{5, 0}, {5, 1}, {5, 0}})->Hedge(fhAbout);  // no width: ratio 0.2, 50 points
    ASSERT_EQ(Set->GetValues().Count(), 50);
    EXPECT_EQ(Set->GetValues().Last()->GetX(), 10);
    EXPECT_NEAR(Set->GetValues().First()->GetY(), 0.5 * (1 + std::pow(5.0 / 49 * 0.2, 2)), 1e-12);
    Set = M.Add({{0, 1}, {10, 1}});
    Set->FuzzyApproximation(2, 4);  // full width: ratio 1
    EXPECT_NEAR(Set->GetValues().GetItem(2)->GetY(), 1 / (1 + std::pow(20.0 / 49, 4)), 1e-12);

    // plus S and not very S meet at 3.8627 beside the peak: after normalising, the new top.
    auto Slight = Make<TFuzzySet>();
    for (const auto& [X, Y] : Wide) Slight->GetValues().Add(X, Y);
    EXPECT_NEAR(Slight->Hedge(fhSlightly)->DegreeOfMembership(3.862714159369835), 1, 1e-9);
    EXPECT_NEAR(Slight->DegreeOfMembership(8.137285840630165), 1, 1e-9);
    EXPECT_EQ(Slight->DegreeOfMembership(6), 0);

    TModel Warm(20, 30);  // every hedge names, reshapes and stays inside the range
    for (int Index = fhNot; Index <= fhGenerally; ++Index) {
        Set = Warm.Add({{21, 0}, {24, 1}, {24, 1.5}, {29, 0.2}}, "warm");
        const std::string Name = std::string(HedgeNames[Index]) + " warm";
        EXPECT_EQ(Set->Hedge(static_cast<TFuzzyHedge>(Index))->GetExpression(), "[" + Name + "]");
        for (const TFuzzySetValue* Point : Set->GetValues())
            EXPECT_TRUE(Point->GetX() >= 20 && Point->GetX() <= 30 && std::isfinite(Point->GetY())) << Name;
    }
    EXPECT_EQ(Warm.Variable->GetItems().Count(), fhGenerally + 1);  // no temporaries left behind
}

}  // namespace
}  // namespace fzl
