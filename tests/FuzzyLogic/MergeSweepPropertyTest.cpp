// Random pairs of sets against their membership functions: Zadeh union and intersection and the
// unbounded sum equal max, min and sum of DegreeOfMembership at every point, every crossing and at
// random X, and the correlation strength is the height of the minimum.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "TestModel.h"

namespace fzl {
namespace {

using test::TPoints;
using TXs = std::vector<TFzyFloat>;
using TFunction = TFzyFloat (*)(TFzyFloat, TFzyFloat);
constexpr TFzyFloat Exact = 1e-9;

struct TRandom {
    std::mt19937 Engine{20240611};
    TFzyFloat U(TFzyFloat Low, TFzyFloat High) {
        return std::uniform_real_distribution<TFzyFloat>(Low, High)(Engine);
    }
    int Int(int N) { return static_cast<int>(U(0, N)); }  // 0 .. N - 1
    bool Chance(double P) { return U(0, 1) < P; }
    TFzyFloat Degree() { return Chance(0.35) ? Int(5) / 4.0 : U(0, 1); }  // a coarse grid now and then: ties

    // Empty, one point or up to nine, flat now and then, with vertical steps of two or three points;
    // anywhere, wholly beside Other or over its span (so that the curves cross), sharing some of its X.
    TPoints Points(const TPoints& Other) {
        if (Int(20) == 0) return {};
        TFzyFloat Start = U(-950, 600), Width = Chance(0.2) ? U(0.5, 5) : U(10, 300);
        if (!Other.empty() && Chance(0.15)) {
            Start = Chance(0.5) ? Other.back().first + U(0.5, 40) : Other.front().first - Width - U(0.5, 40);
            Start = std::clamp(Start, -990.0, 990.0 - Width);
        } else if (!Other.empty() && Chance(0.5)) {
            Start = std::max(Other.front().first - U(0, 20), -990.0);
            Width = std::clamp(Other.back().first - Start + U(0, 20), 0.5, 990.0 - Start);
        }
        TXs Xs;
        for (int I = Chance(1 / 19.0) ? 1 : 2 + Int(8); I > 0; --I) Xs.push_back(Start + U(0, Width));
        const bool Share = Chance(0.4), Flat = Chance(0.12);
        for (const auto& [X, Y] : Other)
            if (Share && Chance(0.4)) Xs.push_back(X);
        std::sort(Xs.begin(), Xs.end());
        const TFzyFloat Level = Degree();
        TPoints Result;
        for (TFzyFloat X : Xs) {
            if (!Result.empty() && X - Result.back().first < 0.01) continue;  // distinct X stay 0.01 apart
            Result.emplace_back(X, Flat ? Level : Degree());
            for (int I = !Flat && Chance(0.15) ? 1 + Int(2) : 0; I > 0; --I) Result.emplace_back(X, Degree());
        }
        return Result;
    }
};

// A curve at X: the degree arriving, DegreeOfMembership and the degree leaving.
std::array<TFzyFloat, 3> LimitsAt(const TFuzzySet& Set, TFzyFloat X) {
    const TFzyFloat Value = Set.DegreeOfMembership(X);
    TXs Ys;  // of the points at X
    for (const TFuzzySetValue* P : Set.GetValues())
        if (P->GetX() == X) Ys.push_back(P->GetY());
    return Ys.empty() ? std::array{Value, Value, Value} : std::array{Ys.front(), Value, Ys.back()};
}

TFzyFloat Min(TFzyFloat P, TFzyFloat Q) { return std::min(P, Q); }
TFzyFloat Max(TFzyFloat P, TFzyFloat Q) { return std::max(P, Q); }
TFzyFloat Sum(TFzyFloat P, TFzyFloat Q) { return P + Q; }
TFzyFloat OnlyA(TFzyFloat P, TFzyFloat) { return P; }
TFzyFloat OnlyB(TFzyFloat, TFzyFloat Q) { return Q; }

TEST(MergeSweepProperty, CombinationsEqualTheFunctionsOfTheMembershipCurves) {
    test::TModel Model(-1000, 1000);
    TRandom Random;
    for (int Pair = 0; Pair < 500 && !HasFailure(); ++Pair) {
        TPoints PA = Random.Points({}), PB = Random.Points(PA);
        if (Random.Chance(0.5)) std::swap(PA, PB);
        SCOPED_TRACE(testing::Message() << "pair " << Pair << "\nA = " << testing::PrintToString(PA)
                                        << "\nB = " << testing::PrintToString(PB));
        TFuzzySet *A = Model.Add(PA, "a"), *B = Model.Add(PB, "b");
        const bool AnyEmpty = PA.empty() || PB.empty();

        // The events: every X of both sets, and where the curves change order between neighbouring
        // ones (both are linear there, so two inner samples give the lines).
        TXs Xs;
        for (const auto& [X, Y] : PA) Xs.push_back(X);
        for (const auto& [X, Y] : PB) Xs.push_back(X);
        std::sort(Xs.begin(), Xs.end());
        Xs.erase(std::unique(Xs.begin(), Xs.end()), Xs.end());
        const std::size_t Breakpoints = Xs.size();
        for (std::size_t I = 1; I < Breakpoints && !AnyEmpty; ++I) {
            const TFzyFloat U = Xs[I - 1], V = Xs[I], P = U + (V - U) / 3, Q = U + 2 * (V - U) / 3;
            const TFzyFloat DP = A->DegreeOfMembership(P) - B->DegreeOfMembership(P);
            const TFzyFloat DQ = A->DegreeOfMembership(Q) - B->DegreeOfMembership(Q);
            const TFzyFloat X = DP == DQ ? U : P - DP * (Q - P) / (DQ - DP);
            if (X - U > 1e-9 && V - X > 1e-9) Xs.push_back(X);
        }
        std::sort(Xs.begin(), Xs.end());
        TXs Everywhere = Xs;
        for (TFzyFloat X : Xs) Everywhere.insert(Everywhere.end(), {X - 1e-3, X + 1e-3});
        for (int I = 0; I < 20 && !Xs.empty(); ++I)
            Everywhere.push_back(Random.U(Xs.front() - 20, Xs.back() + 20));
        // Events closer than the point list's 0.0001 tolerance are taken for one, which bends the
        // result on the segments either side; no samples are taken there.
        for (std::size_t I = 1; I < Xs.size(); ++I)
            if (Xs[I] - Xs[I - 1] < 2e-4)
                std::erase_if(Everywhere,
                              [&, L = Xs[I < 2 ? 0 : I - 2], R = Xs[std::min(I + 1, Xs.size() - 1)]](
                                  TFzyFloat X) { return X >= L && X <= R; });
        TFzyFloat Expected = 0;  // the height of the minimum (or of the only set)
        for (const auto& [IsUnion, Operation, Function] :
             {std::tuple{false, foZadeh, &Min}, {true, foZadeh, &Max}, {true, foSum, &Sum}}) {
            const TFunction F = !AnyEmpty    ? Function
                                : PB.empty() ? OnlyA
                                             : OnlyB;  // an empty set: no constraint
            const TOwned<TFuzzySet> Result =
                IsUnion ? A->Union(*B, Operation) : A->Intersection(*B, Operation);
            // Neighbouring values of the ideal result closer than the tolerance may be merged: 1e-3 then.
            TXs Values;
            for (TFzyFloat X : Xs) {
                const auto LA = LimitsAt(*A, X), LB = LimitsAt(*B, X);
                for (int K = 0; K < 3; ++K) Values.push_back(F(LA[K], LB[K]));
            }
            if (Function == &Min && !Values.empty())
                Expected = *std::max_element(Values.begin(), Values.end());
            bool Loose = false;
            for (std::size_t I = 1; I < Values.size(); ++I) {
                const TFzyFloat Gap = std::abs(Values[I] - Values[I - 1]);
                Loose = Loose || (Gap > Exact && Gap <= 1.5e-4);
            }
            for (TFzyFloat X : Everywhere)
                ASSERT_NEAR(Result->DegreeOfMembership(X),
                            F(A->DegreeOfMembership(X), B->DegreeOfMembership(X)), Loose ? 1e-3 : Exact)
                    << (IsUnion ? "union " : "intersection ") << Operation << " at X = " << X;
        }
        EXPECT_NEAR(A->GetCorrelationStrength(*B), Expected, Exact);
        Model.Variable->GetItems().Clear();
    }
}

// What two ways of building a list must agree on: points, their IDs and the list's flags.
struct TListImage {
    TPoints Points;
    std::vector<int> IDs;
    bool Sorted = false;
    bool DuplicatesRemoved = false;
    bool operator==(const TListImage&) const = default;
};

TListImage ImageOf(const TFuzzySetValues& List) {
    TListImage Image{test::PointsOf(List), {}, List.IsSorted(), List.IsDuplicatesRemoved()};
    for (const TFuzzySetValue* Point : List) Image.IDs.push_back(Point->GetID());
    return Image;
}

struct TBuiltInOperators {
    TFuzzyOperation Operation;
    TFuzzySet::TOperatorFunction Intersection;
    TFuzzySet::TOperatorFunction Union;
};

// The library builds a built-in operator's result from points held by value; the same operator
// handed in by the host is run point by point on the list. Both must give the same list, name
// and expression, also for operands beyond the range and neighbours within the tolerance.
TEST(MergeSweepProperty, BuiltInOperatorsBuildWhatTheSameOperatorsOfTheHostBuild) {
    const std::array<TBuiltInOperators, 7> Operators{{
        {foZadeh, &TFuzzySet::FuzzyOperatorMin, &TFuzzySet::FuzzyOperatorMax},
        {foMean, &TFuzzySet::FuzzyOperatorMean, &TFuzzySet::FuzzyOperatorUnionMean},
        {foMeanSqr, &TFuzzySet::FuzzyOperatorMeanSqr, &TFuzzySet::FuzzyOperatorMeanSqr},
        {foMeanSqrt, &TFuzzySet::FuzzyOperatorMeanSqrt, &TFuzzySet::FuzzyOperatorMeanSqrt},
        {foProduct, &TFuzzySet::FuzzyOperatorIntersectionProduct, &TFuzzySet::FuzzyOperatorUnionProduct},
        {foBoundedSum, &TFuzzySet::FuzzyOperatorIntersectionBoundedSum,
         &TFuzzySet::FuzzyOperatorUnionBoundedSum},
        {foSum, nullptr, &TFuzzySet::FuzzyOperatorUnionSum},
    }};
    test::TModel Model(-400, 400);
    TRandom Random;
    for (int Pair = 0; Pair < 300 && !HasFailure(); ++Pair) {
        TPoints PA = Random.Points({}), PB = Random.Points(PA);
        for (auto& [X, Y] : PB)
            if (Random.Chance(0.25)) X += Random.U(-1.5e-4, 1.5e-4);
        SCOPED_TRACE(testing::Message() << "pair " << Pair << "\nA = " << testing::PrintToString(PA)
                                        << "\nB = " << testing::PrintToString(PB));
        TFuzzySet* A = Model.Add(PA, "a");
        // B free now and then, so that its points reach beyond the range the results are clamped to.
        TOwned<TFuzzySet> FreeB = Random.Chance(0.3) ? test::FreeSet(PB, "b c") : nullptr;
        const TFuzzySet& B = FreeB ? *FreeB : *Model.Add(PB, "b c");
        const bool AnyEmpty = A->GetValues().Count() == 0 || B.GetValues().Count() == 0;
        for (const auto& [Operation, Intersection, Union] : Operators) {
            for (const bool IsUnion : {false, true}) {
                if (!IsUnion && Intersection == nullptr) continue;
                const TFuzzySet::TOperatorFunction Own =
                    AnyEmpty ? (IsUnion ? &TFuzzySet::FuzzyOperatorMax : &TFuzzySet::FuzzyOperatorMin)
                             : (IsUnion ? Union : Intersection);
                const auto Index = static_cast<std::size_t>(Operation);
                const std::string Keyword(IsUnion ? FuzzyUnionKeywords[Index]
                                                  : FuzzyIntersectionKeywords[Index]);
                const TOwned<TFuzzySet> ByLibrary =
                    IsUnion ? A->Union(B, Operation) : A->Intersection(B, Operation);
                const TOwned<TFuzzySet> ByHost =
                    A->Operator(B, Keyword,
                                [Own](TFuzzySetValues& Points, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                      TFzyFloat Y2) { return Own(Points, X1, Y1, X2, Y2); });
                ASSERT_EQ(ImageOf(ByLibrary->GetValues()), ImageOf(ByHost->GetValues())) << Keyword;
                ASSERT_EQ(ByLibrary->GetName(), ByHost->GetName());
                ASSERT_EQ(ByLibrary->GetExpression(), ByHost->GetExpression());
            }
        }
        Model.Variable->GetItems().Clear();
    }
}

}  // namespace
}  // namespace fzl
