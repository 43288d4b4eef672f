#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>

#include "TestModel.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<double, double>>;
using TSets = std::vector<TFuzzySet*>;
const TPoints Tri = {{0, 0}, {5, 1}, {10, 0}};

TPoints PointsOf(const TFuzzySet& Set) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Set.GetValues()) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}

// A set outside any component.
TOwned<TFuzzySet> Free(const TPoints& Points) {
    auto Set = Make<TFuzzySet>();
    for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
    return Set;
}

struct Model : test::TModel {
    explicit Model(double Min = 0, double Max = 10) : TModel(Min, Max) {}
    TFuzzySet* Set(const char* Name, const TPoints& Points) { return Add(Points, Name); }
};

TEST(FuzzyInference, CorrelationStrengthAndCorrelate) {
    Model M(0, 30);
    TFuzzySet* A = M.Set("a", {{0, 0}, {10, 1}, {20, 0}});
    TFuzzySet* B = M.Set("b", {{10, 0}, {20, 1}, {30, 0}});
    EXPECT_DOUBLE_EQ(A->GetCorrelationStrength(*B), 0.5);  // the height of the overlap
    EXPECT_DOUBLE_EQ(A->FuzzyEquals(*A), 1.0);
    EXPECT_DOUBLE_EQ(A->GetCorrelationStrength(*M.Set("far", {{25, 0}, {30, 1}})), 0.0);
    EXPECT_DOUBLE_EQ(Free({{0, 0}, {10, 1}})->GetCorrelationStrength(*Free({{20, 0.5}, {30, 0}})), 0.5);
    // Premise lists: the weakest premise/fact pair.
    TSets Facts = {M.Set("f", {{0, 0}, {5, 0.8}, {10, 0}}), M.Set("g", {{0, 0.3}, {10, 0.3}})};
    TSets Premises = {M.Set("p", Tri), M.Set("q", Tri)};
    EXPECT_DOUBLE_EQ(M.Variable->GetCorrelationStrength(Premises, Facts), 0.3);

    // Correlation clips (minimum, the default) or scales (product) a set.
    EXPECT_EQ(PointsOf(*Free(Tri)->Correlate(0.5, fcmMinimum)), (TPoints{{0, 0}, {5, 0.5}, {10, 0}}));
    EXPECT_EQ(PointsOf(*Free({{0, 0.4}, {5, 1}})->Correlate(0.5, fcmProduct)), (TPoints{{0, 0.2}, {5, 0.5}}));
    M.Logic->SetCorrelationMethod(fcmProduct);
    EXPECT_EQ(PointsOf(*M.Set("t", {{0, 0.4}, {5, 1}})->Correlate(0.5)), (TPoints{{0, 0.2}, {5, 0.5}}));
}

TEST(FuzzyInference, InferUnderEachMethod) {
    Model M;
    TFuzzySet* A = M.Set("a", {{0, 0.2}, {10, 0.8}});
    TFuzzySet* B = M.Set("b", {{0, 0.6}, {10, 0.4}});  // crosses A at (5, 0.5)
    using TCases = std::vector<std::tuple<TFuzzyInferenceMethod, bool, std::string, std::array<double, 3>>>;
    for (const auto& [Method, Intersect, Name, Y] :  // Y at 0, 5 and 10
         TCases{{fimMinMax, false, "a or b", {0.6, 0.5, 0.8}},
                {fimMinMax, true, "a and b", {0.2, 0.5, 0.4}},
                {fimAdditive, false, "a or-sum b", {0.8, 1.0, 1.2}},
                {fimMean, false, "a or-mean b", {2.8 / 6, 0.5, 4.0 / 6}},
                {fimMean, true, "a and-mean b", {0.4, 0.5, 0.6}},
                {fimProduct, false, "a or-product b", {0.68, 0.75, 0.88}},
                {fimProduct, true, "a and-product b", {0.12, 0.25, 0.32}},
                {fimBoundedSum, false, "a or-boundedsum b", {0.8, 1.0, 1.0}},
                {fimBoundedSum, true, "a and-boundedsum b", {0.0, 0.0, 0.2}}}) {
        const TFuzzySet* R = A->Infer(*B, Method, Intersect);
        EXPECT_EQ(std::pair(R->GetName(), R->GetVariable()), std::pair(Name, M.Variable));
        for (int I = 0; I < 3; ++I) EXPECT_NEAR(R->DegreeOfMembership(5 * I), Y[I], 1e-12) << Name;
    }
    EXPECT_EQ(PointsOf(*A), (TPoints{{0, 0.2}, {10, 0.8}}));  // the operands stay
    EXPECT_THROW(A->Infer(*B, fimAdditive, true), EFzyException);
    M.Logic->SetInferenceMethod(fimBoundedSum);
    EXPECT_EQ(A->Infer(*B, false)->GetName(), "a or-boundedsum b");
}

TEST(FuzzyInference, Defuzzification) {
    const auto Cog = [](double Min, double Max, const TPoints& Points) {
        return Model(Min, Max).Set("s", Points)->CenterOfGravity();
    };
    EXPECT_DOUBLE_EQ(Cog(0, 10, Tri), 5.0);
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0}, {10, 1}}), 20.0 / 3);
    EXPECT_DOUBLE_EQ(Cog(-10, 10, {{0, 1}, {10, 0}}), (-5.0 * 10 + 10.0 / 3 * 5) / 15);    // left shoulder
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0}, {5, 1}}), (10.0 / 3 * 2.5 + 7.5 * 5) / 7.5);      // right shoulder
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0.5}, {10, 1}}), 50.0 / 9);                           // trapezoid
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0}, {4, 0}, {4, 1}, {7, 1}, {7, 0}, {10, 0}}), 5.5);  // steps
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{4, 1}}), 5.0);  // a single point or a spike: the middle of the range
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{4, 0}, {4, 1}, {4, 0}}), 5.0);
    EXPECT_DOUBLE_EQ(Free({})->CenterOfGravity(), 0.0);
    // A free set: the centroid of the area under its own points.
    EXPECT_DOUBLE_EQ(Free({{0, 1}, {10, 0}})->Defuzzify(), 10.0 / 3);

    EXPECT_DOUBLE_EQ(Free({{0, 0}, {2, 1}, {4, 1}, {6, 0}})->MeanOfMaxima(), 3.0);
    EXPECT_DOUBLE_EQ(Free({{0, 0}, {2, 1}, {3, 0.99995}, {4, 0}})->MeanOfMaxima(), 2.5);  // tolerance
    EXPECT_DOUBLE_EQ(Free({})->MeanOfMaxima(), 0.0);
    Model M;
    M.Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    EXPECT_DOUBLE_EQ(M.Set("s", {{0, 0}, {2, 1}, {4, 1}, {10, 0.5}})->Defuzzify(), 3.0);
    for (const TPoints& P : {TPoints{}, TPoints{{0, 1}, {10, 1}}, TPoints{{0, 0}, {5, 0}}})
        EXPECT_TRUE(Free(P)->IsUndecidable());
    for (const TPoints& P : {TPoints{{0, 0.5}, {10, 0.5}}, TPoints{{0, 0}, {5, 1}}})
        EXPECT_FALSE(Free(P)->IsUndecidable());
}

TEST(FuzzyInference, AssertRuleFiresAtOrAboveTheThreshold) {
    Model M;
    TFuzzySet* Consequent = M.Set("c", Tri);
    M.Variable->SetThreshold(0.5);
    EXPECT_EQ(M.Variable->AssertRule(0.3, *Consequent, nullptr), nullptr);  // below: nothing
    EXPECT_EQ(M.Variable->GetItems().Count(), 1);
    M.Variable->SetThreshold(0.3);
    TFuzzySet* Clipped = M.Variable->AssertRule(0.3, *Consequent, nullptr);  // at: a new, correlated set
    ASSERT_NE(Clipped, nullptr);
    EXPECT_EQ(PointsOf(*Clipped), (TPoints{{0, 0}, {5, 0.3}, {10, 0}}));
    EXPECT_EQ(PointsOf(*Consequent), Tri);

    M.Logic->SetCorrelationMethod(fcmProduct);  // with a conclusion: joined into it
    TFuzzySet* First = M.Variable->AssertRule(0.5, *Consequent, nullptr);
    TFuzzySet* Second = M.Variable->AssertRule(0.5, *Consequent, First);
    EXPECT_EQ(PointsOf(*Second), (TPoints{{0, 0}, {5, 0.5}, {10, 0}}));
    EXPECT_EQ(PointsOf(*First), (TPoints{{0, 0}, {5, 0.5}, {10, 0}}));  // kept, unchanged
    EXPECT_EQ(M.Variable->GetItems().Count(), 4);  // c, Clipped, First, Second: the second clone is gone

    TFuzzySet* Premise = M.Set("p", {{0, 0}, {10, 1}});
    TFuzzySet* Fact = M.Set("f", {{0, 0.6}, {10, 0.6}});
    EXPECT_DOUBLE_EQ(M.Variable->AssertRule(*Premise, *Consequent, *Fact, nullptr)->DegreeOfMembership(5),
                     0.6);
    M.Variable->SetThreshold(0.7);
    EXPECT_EQ(M.Variable->AssertRule(*Premise, *Consequent, *Fact, Second), nullptr);
}

}  // namespace
}  // namespace fzl
