#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzySet.h"
#include "FuzzyLogic/FuzzyVariable.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<TFzyFloat, TFzyFloat>>;
using TNumbers = std::vector<TFzyFloat>;  // points or events, flattened

TOwned<TFuzzySet> FreeSet(const TPoints& Points, const std::string& Name = "") {
    TOwned<TFuzzySet> Set = Make<TFuzzySet>();
    Set->SetName(Name);
    InUpdate(Set->GetValues(), [&] {
        for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
    });
    return Set;
}

// The points of a set, which is freed unless told otherwise (results of free sets are free).
TNumbers PointsOf(TFuzzySet* Set, bool Free = true) {
    TNumbers Numbers;
    for (const TFuzzySetValue* P : Set->GetValues()) Numbers.insert(Numbers.end(), {P->GetX(), P->GetY()});
    if (Free) Set->Free();
    return Numbers;
}

TNumbers EventsOf(const TFuzzySet& A, const TFuzzySet& B) {
    TNumbers Events;
    A.Iterate(B, [&](TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) {
        Events.insert(Events.end(), {X1, Y1, X2, Y2});
        return false;
    });
    return Events;
}

testing::AssertionResult Same(const TNumbers& Actual, const TNumbers& Expected) {
    bool Equal = Actual.size() == Expected.size();
    for (std::size_t I = 0; Equal && I < Actual.size(); ++I)
        Equal = std::abs(Actual[I] - Expected[I]) <= 1e-12;
    if (Equal) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "got " << testing::PrintToString(Actual);
}

TEST(MergeSweep, EventsEmptySetsAndStopping) {
    const struct {
        TPoints A, B;
        TNumbers Intersection, Events;  // each event X1, Y1, X2, Y2
    } Cases[] = {
        // clang-format off
        // Crossing triangles; the curves meet at (0, 0) first.
        {{{0, 0}, {10, 1}, {20, 0}}, {{10, 0}, {20, 1}, {30, 0}}, {10, 0, 15, 0.5, 20, 0},
         {0, 0, 0, 0, 0, 0, 0, 0, 10, 1, 10, 0, 15, 0.5, 15, 0.5, 20, 0, 20, 1, 30, 0, 30, 0}},
        // A's flat end at 1 never meets B, which stays at 0.5 left of 20.
        {{{0, 0}, {10, 1}}, {{20, 0.5}, {30, 0}}, {0, 0, 5, 0.5, 20, 0.5, 30, 0},
         {0, 0, 0, 0.5, 5, 0.5, 5, 0.5, 10, 1, 10, 0.5, 20, 1, 20, 0.5, 30, 1, 30, 0}},
        // A flat set cuts a triangle at exactly its level.
        {{{0, 0}, {10, 1}, {20, 0}}, {{0, 0.4}, {20, 0.4}}, {0, 0, 4, 0.4, 16, 0.4, 20, 0},
         {0, 0, 0, 0.4, 4, 0.4, 4, 0.4, 10, 1, 10, 0.4, 16, 0.4, 16, 0.4, 20, 0, 20, 0.4}},
        // A step: both ends and where B cuts it.
        {{{0, 0}, {5, 0}, {5, 1}, {10, 1}}, {{0, 0.2}, {10, 0.8}}, {5, 0, 5, 0.5, 10, 0.8},
         {0, 0, 0, 0.2, 5, 0, 5, 0.5, 5, 0.5, 5, 0.5, 5, 1, 5, 0.5, 10, 1, 10, 0.8}},
        // Steps of both sets at X = 5 meet at their tops, 0.9.
        {{{0, 0.2}, {5, 0.2}, {5, 0.9}, {10, 0.9}}, {{0, 0.9}, {5, 0.9}, {5, 0.1}, {10, 0.1}}, {5, 0.2, 5, 0.9, 5, 0.1},
         {0, 0.2, 0, 0.9, 5, 0.2, 5, 0.9, 5, 0.9, 5, 0.9, 5, 0.9, 5, 0.1, 10, 0.9, 10, 0.1}},
        // Points within the tolerance share one event; the result takes A's X.
        {{{0, 0}, {5, 1}, {10, 0}}, {{0, 0}, {5.00005, 0.3}, {10, 0}}, {0, 0, 5, 0.3, 10, 0},
         {0, 0, 0, 0, 0, 0, 0, 0, 5, 1, 5.00005, 0.3, 10, 0, 10, 0}},
        // clang-format on
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << "case " << &Case - Cases);
        auto A = FreeSet(Case.A);
        EXPECT_TRUE(Same(EventsOf(*A, *FreeSet(Case.B)), Case.Events));
        EXPECT_TRUE(Same(PointsOf(A->Intersection(*FreeSet(Case.B))), Case.Intersection));
    }

    // An empty operand gives the other's points as events, seen by both sides, and is no constraint.
    auto Empty = FreeSet({});
    auto A = FreeSet({{1, 0.5}, {3, 1}, {3, 0.2}}, "A");
    int Calls = 0;
    auto Count = [&](TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat) { return ++Calls == 4; };
    EXPECT_TRUE(Empty->Iterate(*FreeSet({}), Count));
    EXPECT_FALSE(Empty->Iterate(*A, Count));
    EXPECT_EQ(Calls, 3);
    EXPECT_TRUE(Same(EventsOf(*Empty, *A), {1, 0.5, 1, 0.5, 3, 1, 3, 1, 3, 0.2, 3, 0.2}));
    EXPECT_TRUE(Same(PointsOf(Empty->Intersection(*A)), {1, 0.5, 3, 1, 3, 0.2}));

    // Stopping: Iterate reports it; Operator keeps what it has, unsimplified and named.
    auto B = FreeSet({{2, 0}, {4, 1}}, "B");
    Calls = 0;
    EXPECT_TRUE(A->Iterate(*B, Count));
    EXPECT_EQ(Calls, 4);
    Calls = 0;
    auto UpTo2 = [&](TFuzzySetValues& Values, TFzyFloat X, TFzyFloat Y, TFzyFloat, TFzyFloat) {
        return Values.Add(X, Y), ++Calls == 2;
    };
    TFuzzySet* Stopped = A->Operator(*B, "upto", UpTo2);
    EXPECT_EQ(Stopped->GetExpression(), "A upto B");
    EXPECT_EQ(Stopped->GetValues().UpdateCount(), 0);
    EXPECT_TRUE(Same(PointsOf(Stopped), {1, 0.5, 2, 0.75}));
}

TEST(FuzzySetOperations, SimplificationKeepsTheEndsOfEveryRunOfEqualDegrees) {
    // A set united with itself gives back its own points, simplified.
    auto Simplified = [](const TPoints& Points) {
        return PointsOf(FreeSet(Points)->Union(*FreeSet(Points)));
    };
    EXPECT_TRUE(Same(Simplified({{0, 0}, {2, 1}, {3, 1}, {4, 1}, {6, 0}}), {0, 0, 2, 1, 4, 1, 6, 0}));
    EXPECT_TRUE(Same(Simplified({{0, 0}, {1, 0}, {2, 0}, {3, 1}}), {2, 0, 3, 1}));
    EXPECT_TRUE(Same(Simplified({{0, 1}, {1, 0.5}, {2, 0.5}}), {0, 1, 1, 0.5}));
    EXPECT_TRUE(Same(Simplified({{0, 0.3}, {5, 0.3}, {9, 0.3}}), {9, 0.3}));
    EXPECT_TRUE(Same(Simplified({{0, 0.5}, {1, 0.50005}, {2, 0.5}, {3, 1}}), {2, 0.5, 3, 1}));
    EXPECT_TRUE(Same(Simplified({{0, 0}, {5, 0}, {5, 1}}), {5, 0, 5, 1}));
    // Equal degrees left by a union are merged: no adjacent duplicates remain.
    auto A = FreeSet({{4, 1}, {5, 0}, {7, 0}, {9, 0.5}});
    EXPECT_TRUE(Same(PointsOf(A->Union(*FreeSet({{3, 0.5}, {5, 0}, {6, 0.5}}))), {4, 1, 5, 0, 6, 0.5}));
    // A flat end crossing an edge is found.
    EXPECT_TRUE(Same(PointsOf(FreeSet({{0, 1}, {10, 0.2}})->Union(*FreeSet({{20, 0}, {30, 1}}))),
                     {0, 1, 10, 0.2, 22, 0.2, 30, 1}));
}

TEST(FuzzySetOperations, EveryOperationOfTheTablesOnOnePair) {
    // A rises from 0.2 to 0.8, B falls from 0.6 to 0.4; they cross at (5, 0.5).
    auto A = FreeSet({{0, 0.2}, {10, 0.8}}, "A");
    auto B = FreeSet({{0, 0.6}, {10, 0.4}}, "B");
    const TFzyFloat R4 = std::sqrt(0.4), R5 = std::sqrt(0.5), R6 = std::sqrt(0.6);
    const struct {
        bool IsUnion;
        TFuzzyOperation Operation;
        const char* Name;
        TNumbers Points;
    } Cases[] = {
        {false, foZadeh, "A and B", {0, 0.2, 5, 0.5, 10, 0.4}},
        {true, foZadeh, "A or B", {0, 0.6, 5, 0.5, 10, 0.8}},
        {false, foMean, "A and-mean B", {0, 0.4, 5, 0.5, 10, 0.6}},
        {true, foMean, "A or-mean B", {0, 2.8 / 6, 5, 0.5, 10, 4.0 / 6}},
        {false, foMeanSqr, "A and-meansqr B", {0, 0.16, 5, 0.25, 10, 0.36}},
        {true, foMeanSqr, "A or-meansqr B", {0, 0.16, 5, 0.25, 10, 0.36}},
        {false, foMeanSqrt, "A and-meansqrt B", {0, R4, 5, R5, 10, R6}},
        {true, foMeanSqrt, "A or-meansqrt B", {0, R4, 5, R5, 10, R6}},
        {false, foProduct, "A and-product B", {0, 0.12, 5, 0.25, 10, 0.32}},
        {true, foProduct, "A or-product B", {0, 0.68, 5, 0.75, 10, 0.88}},
        {false, foBoundedSum, "A and-boundedsum B", {5, 0, 10, 0.2}},
        {true, foBoundedSum, "A or-boundedsum B", {0, 0.8, 5, 1}},
        {true, foSum, "A or-sum B", {0, 0.8, 5, 1, 10, 1.2}},
    };
    for (const auto& Case : Cases) {
        TFuzzySet* Result = Case.IsUnion ? A->Union(*B, Case.Operation) : A->Intersection(*B, Case.Operation);
        EXPECT_EQ(Result->GetName() + " = " + Result->GetExpression(),
                  Case.Name + (" = " + std::string(Case.Name)));
        EXPECT_TRUE(Same(PointsOf(Result), Case.Points)) << Case.Name;
    }
    EXPECT_TRUE(Same(PointsOf(A->Union(*B)), Cases[1].Points));  // Zadeh by default
    EXPECT_TRUE(
        Same(PointsOf(FreeSet({{0, 0.75}})->Union(*FreeSet({{0, 0.75}}), foSum)), {0, 1.5}));  // unbounded
    // Operands read as their expressions, bracketed.
    TOwned<TFuzzySet> Mix(A->Intersection(*FreeSet({{0, 1}, {10, 0}}, "very cold")));
    Mix->SetName("mix");
    TOwned<TFuzzySet> Nested(Mix->Union(*B));
    EXPECT_EQ(Nested->GetName() + " = " + Nested->GetExpression(), "mix or B = [A and [very cold]] or B");
}

TEST(FuzzySetOperations, ResultsJoinTheFirstOperandsVariable) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzySets& Sets = Logic->GetItems().Add("v")->GetItems();  // low, medium, high over [0, 1]
    TFuzzySet* Low = Sets.GetItem(0);
    TFuzzySet* High = Sets.GetItem(2);
    try {  // invalid operations raise before anything is created
        Low->Intersection(*High, foSum);
        ADD_FAILURE() << "nothing raised";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid fuzzy operation: \"foSum:");
    }
    EXPECT_THROW(Low->Union(*High, static_cast<TFuzzyOperation>(9)), EFzyException);
    EXPECT_EQ(Sets.Count(), 3);

    TFuzzySet* Union = Low->Union(*High);
    EXPECT_EQ(Sets.GetItemByName("low or high"), Union);
    EXPECT_EQ(TOwned<TFuzzySet>(FreeSet({{0, 0}})->Union(*High))->GetCollection(),
              nullptr);  // free A, free result
    // A wider operand is clamped into the variable's range.
    for (const TFuzzySetValue* Point : Low->Union(*FreeSet({{-5, 0}, {6, 1}}))->GetValues())
        EXPECT_TRUE(Point->GetX() >= 0 && Point->GetX() <= 1) << Point->GetX();
    // An exception from the operator leaves the result in the collection, closed and named.
    auto Boom = [](TFuzzySetValues& Values, TFzyFloat X, TFzyFloat Y, TFzyFloat, TFzyFloat) -> bool {
        if (Values.Count() == 1) throw std::runtime_error("boom");
        return Values.Add(X, Y), false;
    };
    EXPECT_THROW(Low->Operator(*High, "boom", Boom), std::runtime_error);
    EXPECT_EQ(Sets.GetItem(5)->GetExpression(), "low boom high");
    EXPECT_EQ(Sets.GetItem(5)->GetValues().UpdateCount(), 0);
}

TEST(FuzzySetOperations, GeometryAndOverlap) {
    auto P = [](TFzyFloat X, TFzyFloat Y) {
        TOwned<TFuzzySetValue> Point = Make<TFuzzySetValue>();
        Point->SetValue(X, Y);
        return Point;
    };
    const struct {
        TNumbers S;  // two segments, (X1, Y1)-(X2, Y2) and (X3, Y3)-(X4, Y4)
        bool Hit;
        TFzyFloat X, Y;
    } Cases[] = {
        // clang-format off
        {{0, 0, 2, 2, 0, 2, 2, 0}, true, 1, 1},  {{1, 0, 1, 2, 0, 0.7, 2, 0.7}, true, 1, 0.7},  // crossing
        {{0, 0, 2, 2, 0, 1, 2, 3}, false, 0, 0}, {{0, 0, 4, 4, 3, 0, 2, 1}, false, 0, 0},  // parallel; short
        {{0, 0, 1, 1, 5, 5, 6, 6}, true, 1, 1},  {{0, 0, 2, 2, 1, 1, 3, 3}, true, 2, 2},  // collinear
        {{5, 5, 5, 5, 0, 0, 2, 2}, true, 2, 2},  {{1, 0, 1, 0, 0, 0, 2, 2}, false, 0, 0},  // degenerate
        // clang-format on
    };
    for (const auto& [S, Hit, HX, HY] : Cases) {
        TFzyFloat X = -1, Y = -1;
        EXPECT_EQ(TFuzzySet::LineSegmentIntersects(S[0], S[1], S[2], S[3], S[4], S[5], S[6], S[7], X, Y),
                  Hit);
        auto Point =
            TFuzzySet::LineSegmentIntersects(*P(S[0], S[1]), *P(S[2], S[3]), *P(S[4], S[5]), *P(S[6], S[7]));
        ASSERT_EQ(Point != nullptr, Hit);
        EXPECT_TRUE(!Hit || (X == HX && Y == HY && Point->GetX() == HX && Point->GetY() == HY))
            << X << ", " << Y;
        EXPECT_TRUE(!Hit || Point->GetCollection() == nullptr);
    }
    EXPECT_EQ(TFuzzySet::GetSlope(*P(1, 0), *P(1, 1)), 1);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(1, 1), *P(1, 0)), -1);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(1, 0.5), *P(1.00005, 0.5)), 0);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(0, 0), *P(2, 1)), 0.5);

    auto Meets = [](const TPoints& A, const TPoints& B) { return FreeSet(A)->Intersects(*FreeSet(B)); };
    EXPECT_FALSE(Meets({{0, 0}, {5, 1}, {10, 0}}, {{20, 0}, {25, 1}, {30, 0}}));
    EXPECT_FALSE(Meets({{0, 1}, {5, 0}}, {{5, 0}, {10, 1}}));  // touching at zero height
    EXPECT_TRUE(Meets({{0, 0}, {5, 1}}, {{5, 1}, {10, 0}}) && Meets({{5, 1}, {10, 0}}, {{0, 0}, {5, 1}}));
    EXPECT_TRUE(Meets({{0, 0}, {10, 1}}, {{5, 0}, {15, 1}}));
    EXPECT_FALSE(Meets({}, {{0, 1}}));
    EXPECT_FALSE(Meets({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}));  // a zero set meets only zero sets
    EXPECT_TRUE(Meets({{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}));
}

}  // namespace
}  // namespace fzl
