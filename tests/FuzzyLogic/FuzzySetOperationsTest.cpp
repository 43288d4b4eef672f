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
    if (!Name.empty()) Set->SetName(Name);
    InUpdate(Set->GetValues(), [&] {
        for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
    });
    return Set;
}

TNumbers PointsOf(const TFuzzySet* Set, bool Free = true) {
    TNumbers Numbers;
    for (const TFuzzySetValue* Point : Set->GetValues()) Numbers.insert(Numbers.end(), {Point->GetX(), Point->GetY()});
    if (Free) const_cast<TFuzzySet*>(Set)->Free();
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
    for (std::size_t I = 0; Equal && I < Actual.size(); ++I) Equal = std::abs(Actual[I] - Expected[I]) <= 1e-12;
    if (Equal) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "got " << testing::PrintToString(Actual);
}

TEST(MergeSweep, EventsAndIntersections) {
    struct TCase {
        const char* Name;
        TPoints A, B;
        TNumbers Events, Intersection;
    };
    const std::vector<TCase> Cases{
        {"crossing triangles; the curves meet at (0, 0) first",
         {{0, 0}, {10, 1}, {20, 0}}, {{10, 0}, {20, 1}, {30, 0}},
         {0, 0, 0, 0, 0, 0, 0, 0, 10, 1, 10, 0, 15, 0.5, 15, 0.5, 20, 0, 20, 1, 30, 0, 30, 0},
         {10, 0, 15, 0.5, 20, 0}},
        {"A's flat end at 1 never meets B, which stays at 0.5 left of 20",
         {{0, 0}, {10, 1}}, {{20, 0.5}, {30, 0}},
         {0, 0, 0, 0.5, 5, 0.5, 5, 0.5, 10, 1, 10, 0.5, 20, 1, 20, 0.5, 30, 1, 30, 0},
         {0, 0, 5, 0.5, 20, 0.5, 30, 0}},
        {"a flat set cuts a triangle at exactly its level",
         {{0, 0}, {10, 1}, {20, 0}}, {{0, 0.4}, {20, 0.4}},
         {0, 0, 0, 0.4, 4, 0.4, 4, 0.4, 10, 1, 10, 0.4, 16, 0.4, 16, 0.4, 20, 0, 20, 0.4},
         {0, 0, 4, 0.4, 16, 0.4, 20, 0}},
        {"a step: both ends and where B cuts it",
         {{0, 0}, {5, 0}, {5, 1}, {10, 1}}, {{0, 0.2}, {10, 0.8}},
         {0, 0, 0, 0.2, 5, 0, 5, 0.5, 5, 0.5, 5, 0.5, 5, 1, 5, 0.5, 10, 1, 10, 0.8},
         {5, 0, 5, 0.5, 10, 0.8}},
        {"steps of both sets at X = 5 meet at their tops, 0.9",
         {{0, 0.2}, {5, 0.2}, {5, 0.9}, {10, 0.9}}, {{0, 0.9}, {5, 0.9}, {5, 0.1}, {10, 0.1}},
         {0, 0.2, 0, 0.9, 5, 0.2, 5, 0.9, 5, 0.9, 5, 0.9, 5, 0.9, 5, 0.1, 10, 0.9, 10, 0.1},
         {5, 0.2, 5, 0.9, 5, 0.1}},
        {"points within the tolerance share one event; the result takes A's X",
         {{0, 0}, {5, 1}, {10, 0}}, {{0, 0}, {5.00005, 0.3}, {10, 0}},
         {0, 0, 0, 0, 0, 0, 0, 0, 5, 1, 5.00005, 0.3, 10, 0, 10, 0},
         {0, 0, 5, 0.3, 10, 0}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto A = FreeSet(Case.A);
        auto B = FreeSet(Case.B);
        EXPECT_TRUE(Same(EventsOf(*A, *B), Case.Events));
        EXPECT_TRUE(Same(PointsOf(A->Intersection(*B)), Case.Intersection));
    }
    // The level of a flat side is taken exactly, and a flat end crossing an edge is found.
    const TNumbers Level = EventsOf(*FreeSet(Cases[2].A), *FreeSet(Cases[2].B));
    EXPECT_TRUE(Level[5] == 0.4 && Level[7] == 0.4 && Level[13] == 0.4 && Level[15] == 0.4);
    EXPECT_TRUE(Same(PointsOf(FreeSet({{0, 1}, {10, 0.2}})->Union(*FreeSet({{20, 0}, {30, 1}}))),
                     {0, 1, 10, 0.2, 22, 0.2, 30, 1}));
    EXPECT_DOUBLE_EQ(FreeSet(Cases[1].A)->GetCorrelationStrength(*FreeSet(Cases[1].B)), 0.5);
}

TEST(MergeSweep, EmptySetsAndStopping) {
    auto Empty = FreeSet({});
    auto A = FreeSet({{1, 0.5}, {3, 1}, {3, 0.2}}, "A");
    auto B = FreeSet({{2, 0}, {4, 1}}, "B");
    int Calls = 0;
    auto Count = [&](TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat) { return ++Calls == 4; };
    EXPECT_TRUE(Empty->Iterate(*FreeSet({}), Count));
    EXPECT_EQ(Calls, 0);
    EXPECT_FALSE(Empty->Iterate(*A, Count));
    EXPECT_TRUE(Same(EventsOf(*Empty, *A), {1, 0.5, 1, 0.5, 3, 1, 3, 1, 3, 0.2, 3, 0.2}));
    // An empty operand is no constraint, for every operation; a hand-written operator sees (X, Y, X, Y).
    const TNumbers Copy{1, 0.5, 3, 1, 3, 0.2};
    EXPECT_TRUE(Same(PointsOf(A->Union(*Empty)), Copy));
    EXPECT_TRUE(Same(PointsOf(Empty->Intersection(*A)), Copy));
    EXPECT_TRUE(Same(PointsOf(A->Union(*Empty, foSum)), Copy));
    EXPECT_TRUE(Same(PointsOf(Empty->Intersection(*A, foProduct)), Copy));
    EXPECT_TRUE(PointsOf(Empty->Union(*FreeSet({}))).empty());
    auto Sum = [](TFuzzySetValues& Values, TFzyFloat X1, TFzyFloat Y1, TFzyFloat, TFzyFloat Y2) {
        return Values.Add(X1, Y1 + Y2), false;
    };
    EXPECT_TRUE(Same(PointsOf(A->Operator(*Empty, "plus", Sum)), {1, 1, 3, 2, 3, 0.4}));

    // Stopping: Iterate reports it; Operator keeps what it has, unsimplified, named.
    Calls = 0;
    EXPECT_TRUE(A->Iterate(*B, Count));
    EXPECT_EQ(Calls, 4);
    Calls = 0;
    TFuzzySet* Stopped = A->Operator(*B, "upto", [&](TFuzzySetValues& Values, TFzyFloat X1, TFzyFloat Y1, TFzyFloat,
                                                    TFzyFloat) { return Values.Add(X1, Y1), ++Calls == 2; });
    EXPECT_EQ(Stopped->GetExpression(), "A upto B");
    EXPECT_EQ(Stopped->GetValues().UpdateCount(), 0);
    EXPECT_TRUE(Same(PointsOf(Stopped), {1, 0.5, 2, 0.75}));
}

TEST(FuzzySetOperations, SimplificationKeepsTheEndsOfEveryRunOfEqualDegrees) {
    // A set united with itself gives back its own points, simplified.
    auto Simplified = [](const TPoints& Points) { return PointsOf(FreeSet(Points)->Union(*FreeSet(Points))); };
    EXPECT_TRUE(Same(Simplified({{0, 0}, {2, 1}, {3, 1}, {4, 1}, {6, 0}}), {0, 0, 2, 1, 4, 1, 6, 0}));
    EXPECT_TRUE(Same(Simplified({{0, 0}, {1, 0}, {2, 0}, {3, 1}}), {2, 0, 3, 1}));
    EXPECT_TRUE(Same(Simplified({{0, 1}, {1, 0.5}, {2, 0.5}}), {0, 1, 1, 0.5}));
    EXPECT_TRUE(Same(Simplified({{0, 0.3}, {5, 0.3}, {9, 0.3}}), {9, 0.3}));
    EXPECT_TRUE(Same(Simplified({{0, 0.5}, {1, 0.50005}, {2, 0.5}, {3, 1}}), {2, 0.5, 3, 1}));
    EXPECT_TRUE(Same(Simplified({{0, 0}, {5, 0}, {5, 1}}), {5, 0, 5, 1}));
    // Equal degrees left by a union are merged: no adjacent duplicates remain.
    auto A = FreeSet({{4, 1}, {5, 0}, {7, 0}, {9, 0.5}});
    EXPECT_TRUE(Same(PointsOf(A->Union(*FreeSet({{3, 0.5}, {5, 0}, {6, 0.5}}))), {4, 1, 5, 0, 6, 0.5}));
}

TEST(FuzzySetOperations, EveryOperationOfTheTablesOnOnePair) {
    // A rises from 0.2 to 0.8, B falls from 0.6 to 0.4; they cross at (5, 0.5).
    auto A = FreeSet({{0, 0.2}, {10, 0.8}}, "A");
    auto B = FreeSet({{0, 0.6}, {10, 0.4}}, "B");
    struct TCase {
        bool IsUnion;
        TFuzzyOperation Operation;
        const char* Name;
        TNumbers Points;
    };
    const TFzyFloat R4 = std::sqrt(0.4), R5 = std::sqrt(0.5), R6 = std::sqrt(0.6);
    const std::vector<TCase> Cases{
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
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TFuzzySet* Result = Case.IsUnion ? A->Union(*B, Case.Operation) : A->Intersection(*B, Case.Operation);
        EXPECT_EQ(Result->GetName(), Case.Name);
        EXPECT_EQ(Result->GetExpression(), Case.Name);
        EXPECT_TRUE(Same(PointsOf(Result), Case.Points));
    }
    EXPECT_TRUE(Same(PointsOf(A->Union(*B)), Cases[1].Points));
    EXPECT_TRUE(Same(PointsOf(FreeSet({{0, 0.75}})->Union(*FreeSet({{0, 0.75}}), foSum)), {0, 1.5}));

    // Operands read as their expressions, bracketed.
    auto Cold = FreeSet({{0, 1}, {10, 0}}, "very cold");
    TOwned<TFuzzySet> Mix(A->Intersection(*Cold));
    EXPECT_EQ(Mix->GetName(), "A and [very cold]");
    Mix->SetName("mix");
    TFuzzySet* Nested = Mix->Union(*B);
    EXPECT_EQ(Nested->GetName(), "mix or B");
    EXPECT_EQ(Nested->GetExpression(), "[A and [very cold]] or B");
    Nested->Free();
}

TEST(FuzzySetOperations, ResultsJoinTheFirstOperandsVariable) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    TFuzzyVariable* Variable = Logic->GetItems().Add("v");
    Variable->SetMaximum(100);
    TFuzzySets& Sets = Variable->GetItems();
    TFuzzySet* A = Sets.Add("a");
    TFuzzySet* B = Sets.Add("b");
    A->CreateTriangleFunctionValues(0, 25, 50);
    B->CreateTriangleFunctionValues(25, 50, 75);
    const int Count = Sets.Count();
    try {
        A->Intersection(*B, foSum);
        ADD_FAILURE() << "nothing raised";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid fuzzy operation: \"foSum:");
    }
    EXPECT_THROW(A->Union(*B, static_cast<TFuzzyOperation>(9)), EFzyException);
    EXPECT_EQ(Sets.Count(), Count);

    TFuzzySet* Union = A->Union(*B);
    EXPECT_EQ(Sets.GetItemByName("a or b"), Union);
    TOwned<TFuzzySet> FreeResult(FreeSet({{0, 0}})->Union(*B));  // a free A gives a free result
    EXPECT_EQ(FreeResult->GetCollection(), nullptr);
    // A wider operand is clamped into the variable's range.
    TFuzzySet* Clamped = A->Union(*FreeSet({{-50, 0.3}, {150, 0.3}}));
    for (const TFuzzySetValue* Point : Clamped->GetValues()) EXPECT_TRUE(Point->GetX() >= 0 && Point->GetX() <= 100);

    // An exception from the operator leaves the result in the collection, closed and named.
    auto Throwing = [](TFuzzySetValues& Values, TFzyFloat X1, TFzyFloat Y1, TFzyFloat, TFzyFloat) -> bool {
        if (Values.Count() == 1) throw std::runtime_error("boom");
        return Values.Add(X1, Y1), false;
    };
    const int Before = Sets.Count();
    EXPECT_THROW(A->Operator(*B, "boom", Throwing), std::runtime_error);
    ASSERT_EQ(Sets.Count(), Before + 1);
    TFuzzySet* Broken = Sets.GetItem(Before);
    EXPECT_EQ(Broken->GetExpression(), "a boom b");
    EXPECT_EQ(Broken->GetValues().UpdateCount(), 0);
}

TEST(FuzzySetOperations, GeometryAndOverlap) {
    TFzyFloat X = -1, Y = -1;
    auto Cross = [&](TNumbers S) {
        return TFuzzySet::LineSegmentIntersects(S[0], S[1], S[2], S[3], S[4], S[5], S[6], S[7], X, Y);
    };
    EXPECT_TRUE(Cross({0, 0, 2, 2, 0, 2, 2, 0}) && X == 1 && Y == 1);
    EXPECT_TRUE(Cross({1, 0, 1, 2, 0, 0.7, 2, 0.7}) && X == 1 && Y == 0.7);  // vertical and horizontal
    EXPECT_FALSE(Cross({0, 0, 2, 2, 0, 1, 2, 3}));                           // parallel
    EXPECT_FALSE(Cross({0, 0, 4, 4, 3, 0, 2, 1}));                           // beyond B's end
    EXPECT_TRUE(Cross({0, 0, 1, 1, 5, 5, 6, 6}) && X == 1 && Y == 1);        // collinear, apart
    EXPECT_TRUE(Cross({0, 0, 2, 2, 1, 1, 3, 3}) && X == 2 && Y == 2);        // collinear, overlapping
    EXPECT_TRUE(Cross({5, 5, 5, 5, 0, 0, 2, 2}) && X == 2);                  // a point on the line only
    EXPECT_FALSE(Cross({1, 0, 1, 0, 0, 0, 2, 2}));

    auto P = [](TFzyFloat PX, TFzyFloat PY) {
        TOwned<TFuzzySetValue> Point = Make<TFuzzySetValue>();
        Point->SetValue(PX, PY);
        return Point;
    };
    auto Crossing = TFuzzySet::LineSegmentIntersects(*P(0, 0), *P(2, 2), *P(0, 2), *P(2, 0));
    ASSERT_NE(Crossing, nullptr);
    EXPECT_TRUE(Crossing->GetX() == 1 && Crossing->GetY() == 1 && Crossing->GetCollection() == nullptr);
    EXPECT_EQ(TFuzzySet::LineSegmentIntersects(*P(0, 0), *P(2, 2), *P(0, 1), *P(2, 3)), nullptr);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(1, 0), *P(1, 1)), 1);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(1, 1), *P(1, 0)), -1);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(1, 0.5), *P(1.00005, 0.5)), 0);
    EXPECT_EQ(TFuzzySet::GetSlope(*P(0, 0), *P(2, 1)), 0.5);

    auto Meets = [](const TPoints& A, const TPoints& B) { return FreeSet(A)->Intersects(*FreeSet(B)); };
    EXPECT_FALSE(Meets({{0, 0}, {5, 1}, {10, 0}}, {{20, 0}, {25, 1}, {30, 0}}));
    EXPECT_FALSE(Meets({{0, 1}, {5, 0}}, {{5, 0}, {10, 1}}));  // touching at zero height
    EXPECT_TRUE(Meets({{0, 0}, {5, 1}}, {{5, 1}, {10, 0}}));
    EXPECT_TRUE(Meets({{5, 1}, {10, 0}}, {{0, 0}, {5, 1}}));
    EXPECT_TRUE(Meets({{0, 0}, {10, 1}}, {{5, 0}, {15, 1}}));
    EXPECT_FALSE(Meets({}, {{0, 1}}));
    EXPECT_FALSE(Meets({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}));  // a zero set meets only zero sets
    EXPECT_TRUE(Meets({{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}));
}

TEST(FuzzySetOperations, PointWalkingRoutines) {
    TOwned<TFuzzySetValues> Values = Make<TFuzzySetValues>();
    Values->Add(0, 0);
    Values->Add(5, 1);
    TOwned<TFuzzySetValue> Current = Make<TFuzzySetValue>(), Current2 = Make<TFuzzySetValue>();
    TOwned<TFuzzySetValue> Previous = Make<TFuzzySetValue>(), Other = Make<TFuzzySetValue>();
    auto Set = FreeSet({});
    int Index = 0;
    Current->Assign(*Values->First());
    NextPoint(*Current, *Previous, Index, *Values, 99);
    EXPECT_TRUE(Index == 1 && Previous->GetX() == 0 && Current->GetX() == 5 && Current->GetY() == 1);
    // Equal degrees: Current is collected (the greater side) and the other walk's previous point follows.
    AddAndIncrement(*Set, *Current, *Previous, *Other, Index, 0.7, 0.7, *Values, 99, true);
    EXPECT_TRUE(Index == 2 && Current->GetX() == 99 && Current->GetY() == 1 && Other->GetX() == 5);
    // The lesser side is collected when TakeGreater is false; the second walk steps as well.
    Current->Assign(*Values->First());
    Current2->Assign(*Values->First());
    int Index1 = 0, Index2 = 0;
    Add1AndIncrement2(*Set, *Current, *Current2, *Previous, *Other, Index1, Index2, 0.3, 0.6, *Values, *Values, 99,
                      false);
    EXPECT_TRUE(Index1 == 1 && Index2 == 1 && Current2->GetX() == 5 && Other->GetX() == 0);
    EXPECT_TRUE(Same(PointsOf(Set.get(), false), {0, 0, 5, 1}));
}

}  // namespace
}  // namespace fzl
