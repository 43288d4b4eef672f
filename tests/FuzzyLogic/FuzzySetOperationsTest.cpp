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

struct TEvent {
    TFzyFloat X1, Y1, X2, Y2;
};

TOwned<TFuzzySet> FreeSet(const TPoints& Points, const std::string& Name = "") {
    TOwned<TFuzzySet> Set = Make<TFuzzySet>();
    if (!Name.empty()) Set->SetName(Name);
    TFuzzySetValues& Values = Set->GetValues();
    InUpdate(Values, [&] {
        for (const auto& [X, Y] : Points) Values.Add(X, Y);
    });
    return Set;
}

TPoints PointsOf(const TFuzzySet& Set) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Set.GetValues()) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}

std::vector<TEvent> EventsOf(const TFuzzySet& A, const TFuzzySet& B) {
    std::vector<TEvent> Events;
    A.Iterate(B, [&](TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) {
        Events.push_back({X1, Y1, X2, Y2});
        return false;
    });
    return Events;
}

testing::AssertionResult SamePoints(const TPoints& Actual, const TPoints& Expected) {
    bool Same = Actual.size() == Expected.size();
    for (std::size_t I = 0; Same && I < Actual.size(); ++I)
        Same = std::abs(Actual[I].first - Expected[I].first) <= 1e-12 &&
               std::abs(Actual[I].second - Expected[I].second) <= 1e-12;
    if (Same) return testing::AssertionSuccess();
    auto Text = [](const TPoints& Points) {
        std::string S;
        for (const auto& [X, Y] : Points) S += "(" + std::to_string(X) + ", " + std::to_string(Y) + ") ";
        return S;
    };
    return testing::AssertionFailure() << "got " << Text(Actual) << "\nexpected " << Text(Expected);
}

testing::AssertionResult SameEvents(const std::vector<TEvent>& Actual, const std::vector<TEvent>& Expected) {
    bool Same = Actual.size() == Expected.size();
    for (std::size_t I = 0; Same && I < Actual.size(); ++I) {
        const TEvent& A = Actual[I];
        const TEvent& E = Expected[I];
        Same = std::abs(A.X1 - E.X1) <= 1e-12 && std::abs(A.Y1 - E.Y1) <= 1e-12 && std::abs(A.X2 - E.X2) <= 1e-12 &&
               std::abs(A.Y2 - E.Y2) <= 1e-12;
    }
    if (Same) return testing::AssertionSuccess();
    std::string Text;
    for (const TEvent& E : Actual)
        Text += "(" + std::to_string(E.X1) + ", " + std::to_string(E.Y1) + ", " + std::to_string(E.X2) + ", " +
                std::to_string(E.Y2) + ") ";
    return testing::AssertionFailure() << "got " << Text;
}

TOwned<TFuzzySet> Owned(TFuzzySet* Set) { return TOwned<TFuzzySet>(Set); }

// A component without automatic terms and one variable over [0, 100].
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;

    TModel() {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("v");
        Variable->SetMaximum(100);
    }
    TFuzzySet* AddSet(const std::string& Name, const TPoints& Points) const {
        TFuzzySet* Set = Variable->GetItems().Add(Name);
        for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
        return Set;
    }
};

// ---- The merge sweep ---------------------------------------------------------------------

TEST(MergeSweep, CrossingTrianglesGiveTheDocumentedEventsAndResult) {
    auto A = FreeSet({{0, 0}, {10, 1}, {20, 0}}, "A");
    auto B = FreeSet({{10, 0}, {20, 1}, {30, 0}}, "B");
    // The curves meet at (0, 0) before anything else: A starts there, B's flat start is 0 too.
    EXPECT_TRUE(SameEvents(EventsOf(*A, *B),
                           {{0, 0, 0, 0}, {0, 0, 0, 0}, {10, 1, 10, 0}, {15, 0.5, 15, 0.5}, {20, 0, 20, 1},
                            {30, 0, 30, 0}}));
    auto Result = Owned(A->Intersection(*B));
    EXPECT_TRUE(SamePoints(PointsOf(*Result), {{10, 0}, {15, 0.5}, {20, 0}}));
    EXPECT_EQ(Result->GetName(), "A and B");
    EXPECT_EQ(Result->GetExpression(), "A and B");
    EXPECT_EQ(Result->GetCollection(), nullptr);
    // The operands are left as they were.
    EXPECT_TRUE(SamePoints(PointsOf(*A), {{0, 0}, {10, 1}, {20, 0}}));
    EXPECT_TRUE(SamePoints(PointsOf(*B), {{10, 0}, {20, 1}, {30, 0}}));
}

TEST(MergeSweep, FlatExtensionsAreCurvesToo) {
    // A ends at (10, 1) and stays 1, B starts at 0.5: they cross at (5, 0.5), and no
    // event may claim a value B never takes.
    auto A = FreeSet({{0, 0}, {10, 1}});
    auto B = FreeSet({{20, 0.5}, {30, 0}});
    EXPECT_TRUE(SameEvents(EventsOf(*A, *B), {{0, 0, 0, 0.5},
                                              {5, 0.5, 5, 0.5},
                                              {10, 1, 10, 0.5},
                                              {20, 1, 20, 0.5},
                                              {30, 1, 30, 0}}));
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Intersection(*B))), {{0, 0}, {5, 0.5}, {20, 0.5}, {30, 0}}));
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Union(*B))), {{5, 0.5}, {10, 1}}));
    EXPECT_DOUBLE_EQ(A->GetCorrelationStrength(*B), 0.5);

    // A's flat end at 0.2 meets B's rising edge at X = 22.
    auto C = FreeSet({{0, 1}, {10, 0.2}});
    auto D = FreeSet({{20, 0}, {30, 1}});
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(C->Union(*D))), {{0, 1}, {10, 0.2}, {22, 0.2}, {30, 1}}));
}

TEST(MergeSweep, FlatSetCutsATriangleAtExactlyItsLevel) {
    auto A = FreeSet({{0, 0}, {10, 1}, {20, 0}});
    auto B = FreeSet({{0, 0.4}, {20, 0.4}});
    EXPECT_TRUE(SameEvents(EventsOf(*A, *B),
                           {{0, 0, 0, 0.4}, {4, 0.4, 4, 0.4}, {10, 1, 10, 0.4}, {16, 0.4, 16, 0.4}, {20, 0, 20, 0.4}}));
    const std::vector<TEvent> Events = EventsOf(*A, *B);
    EXPECT_EQ(Events[1].Y1, 0.4);
    EXPECT_EQ(Events[3].Y1, 0.4);
}

TEST(MergeSweep, VerticalStepReportsItsEndsAndWhereTheOtherCurveCutsIt) {
    auto A = FreeSet({{0, 0}, {5, 0}, {5, 1}, {10, 1}});
    auto B = FreeSet({{0, 0.2}, {10, 0.8}});
    EXPECT_TRUE(SameEvents(EventsOf(*A, *B),
                           {{0, 0, 0, 0.2}, {5, 0, 5, 0.5}, {5, 0.5, 5, 0.5}, {5, 1, 5, 0.5}, {10, 1, 10, 0.8}}));
    auto Min = Owned(A->Intersection(*B));
    EXPECT_TRUE(SamePoints(PointsOf(*Min), {{5, 0}, {5, 0.5}, {10, 0.8}}));
    EXPECT_DOUBLE_EQ(Min->DegreeOfMembership(5), 0.5);
    EXPECT_DOUBLE_EQ(Min->DegreeOfMembership(7.5), 0.65);
    auto Max = Owned(A->Union(*B));
    EXPECT_TRUE(SamePoints(PointsOf(*Max), {{0, 0.2}, {5, 0.5}, {5, 1}}));
}

TEST(MergeSweep, StepsOfBothSetsAtOneXMeetAtTheirTops) {
    // At X = 5 both curves reach 0.9 (A on its way up, B before it drops), so the
    // intersection is 0.9 there: 0.2 coming in, 0.1 going out.
    auto A = FreeSet({{0, 0.2}, {5, 0.2}, {5, 0.9}, {10, 0.9}});
    auto B = FreeSet({{0, 0.9}, {5, 0.9}, {5, 0.1}, {10, 0.1}});
    EXPECT_TRUE(SameEvents(EventsOf(*A, *B),
                           {{0, 0.2, 0, 0.9}, {5, 0.2, 5, 0.9}, {5, 0.9, 5, 0.9}, {5, 0.9, 5, 0.1}, {10, 0.9, 10, 0.1}}));
    auto Min = Owned(A->Intersection(*B));
    EXPECT_TRUE(SamePoints(PointsOf(*Min), {{5, 0.2}, {5, 0.9}, {5, 0.1}}));
    EXPECT_DOUBLE_EQ(Min->DegreeOfMembership(5), 0.9);
    EXPECT_DOUBLE_EQ(Min->DegreeOfMembership(4), 0.2);
    EXPECT_DOUBLE_EQ(Min->DegreeOfMembership(6), 0.1);
}

TEST(MergeSweep, PointsWithinTheToleranceShareOneEvent) {
    auto A = FreeSet({{0, 0}, {5, 1}, {10, 0}});
    auto B = FreeSet({{0, 0}, {5.00005, 0.3}, {10, 0}});
    EXPECT_TRUE(SameEvents(EventsOf(*A, *B), {{0, 0, 0, 0}, {0, 0, 0, 0}, {5, 1, 5.00005, 0.3}, {10, 0, 10, 0}}));
    // The result point takes A's X.
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Intersection(*B))), {{0, 0}, {5, 0.3}, {10, 0}}));
}

TEST(MergeSweep, EmptySets) {
    auto Empty = FreeSet({});
    auto Other = FreeSet({});
    auto A = FreeSet({{1, 0.5}, {3, 1}, {3, 0.2}});

    int Calls = 0;
    EXPECT_TRUE(Empty->Iterate(*Other, [&](TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat) { return ++Calls, false; }));
    EXPECT_EQ(Calls, 0);
    // One empty side: each point meets itself.
    const std::vector<TEvent> Expected{{1, 0.5, 1, 0.5}, {3, 1, 3, 1}, {3, 0.2, 3, 0.2}};
    EXPECT_TRUE(SameEvents(EventsOf(*A, *Empty), Expected));
    EXPECT_TRUE(SameEvents(EventsOf(*Empty, *A), Expected));
    EXPECT_FALSE(A->Iterate(*Empty, [](TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat) { return false; }));

    // An empty operand leaves the other one as it is, for union and intersection alike.
    const TPoints Copy{{1, 0.5}, {3, 1}, {3, 0.2}};
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Union(*Empty))), Copy));
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(Empty->Intersection(*A))), Copy));
    EXPECT_TRUE(PointsOf(*Owned(Empty->Union(*Other))).empty());
    // Every operation: a sum or product with an undefined set must not double or square it.
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Union(*Empty, foSum))), Copy));
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(Empty->Intersection(*A, foProduct))), Copy));
    // A hand-written operator sees each point paired with itself.
    auto Doubled = Owned(A->Operator(*Empty, "twice", [](TFuzzySetValues& Values, TFzyFloat X1, TFzyFloat Y1,
                                                        TFzyFloat, TFzyFloat Y2) { return Values.Add(X1, Y1 + Y2), false; }));
    EXPECT_TRUE(SamePoints(PointsOf(*Doubled), {{1, 1}, {3, 2}, {3, 0.4}}));
}

TEST(MergeSweep, ACallbackStopsTheSweepAtOnce) {
    auto A = FreeSet({{0, 0}, {10, 1}, {20, 0}}, "A");
    auto B = FreeSet({{10, 0}, {20, 1}, {30, 0}}, "B");
    int Calls = 0;
    EXPECT_TRUE(A->Iterate(*B, [&](TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat) { return ++Calls == 4; }));
    EXPECT_EQ(Calls, 4);

    // A stopped Operator keeps the points appended so far, unsimplified, and is still named.
    Calls = 0;
    auto Stopped = Owned(A->Operator(*B, "upto", [&](TFuzzySetValues& Values, TFzyFloat X1, TFzyFloat Y1, TFzyFloat,
                                                   TFzyFloat Y2) {
        Values.Add(X1, std::min(Y1, Y2));
        return ++Calls == 3;
    }));
    EXPECT_TRUE(SamePoints(PointsOf(*Stopped), {{0, 0}, {10, 0}}));  // (0, 0) twice is one point
    EXPECT_EQ(Stopped->GetName(), "A upto B");
    EXPECT_EQ(Stopped->GetExpression(), "A upto B");
    EXPECT_EQ(Stopped->GetValues().UpdateCount(), 0);
}

// ---- Operator: simplification, naming, ownership ---------------------------------------------

TEST(FuzzySetOperations, SimplificationKeepsTheEndsOfEveryRunOfEqualDegrees) {
    // A set united with itself gives back its own points, simplified.
    auto Simplified = [](const TPoints& Points) {
        auto Set = FreeSet(Points);
        return PointsOf(*Owned(Set->Union(*Set)));
    };
    EXPECT_TRUE(SamePoints(Simplified({{0, 0}, {2, 1}, {3, 1}, {4, 1}, {6, 0}}), {{0, 0}, {2, 1}, {4, 1}, {6, 0}}));
    EXPECT_TRUE(SamePoints(Simplified({{0, 0}, {1, 0}, {2, 0}, {3, 1}}), {{2, 0}, {3, 1}}));
    EXPECT_TRUE(SamePoints(Simplified({{0, 1}, {1, 0.5}, {2, 0.5}}), {{0, 1}, {1, 0.5}}));
    EXPECT_TRUE(SamePoints(Simplified({{0, 0.3}, {5, 0.3}, {9, 0.3}}), {{9, 0.3}}));
    // Degrees within the tolerance count as equal; the points of a step differ and stay.
    EXPECT_TRUE(SamePoints(Simplified({{0, 0.5}, {1, 0.50005}, {2, 0.5}, {3, 1}}), {{2, 0.5}, {3, 1}}));
    EXPECT_TRUE(SamePoints(Simplified({{0, 0}, {5, 0}, {5, 1}}), {{5, 0}, {5, 1}}));
}

TEST(FuzzySetOperations, EveryOperationOfTheTablesOnOnePair) {
    // A rises from 0.2 to 0.8, B falls from 0.6 to 0.4; they cross at (5, 0.5).
    auto A = FreeSet({{0, 0.2}, {10, 0.8}}, "A");
    auto B = FreeSet({{0, 0.6}, {10, 0.4}}, "B");
    struct TCase {
        bool IsUnion;
        TFuzzyOperation Operation;
        const char* Name;
        TPoints Points;
    };
    const std::vector<TCase> Cases{
        {false, foZadeh, "A and B", {{0, 0.2}, {5, 0.5}, {10, 0.4}}},
        {true, foZadeh, "A or B", {{0, 0.6}, {5, 0.5}, {10, 0.8}}},
        {false, foMean, "A and-mean B", {{0, 0.4}, {5, 0.5}, {10, 0.6}}},
        {true, foMean, "A or-mean B", {{0, 2.8 / 6}, {5, 0.5}, {10, 4.0 / 6}}},
        {false, foMeanSqr, "A and-meansqr B", {{0, 0.16}, {5, 0.25}, {10, 0.36}}},
        {true, foMeanSqr, "A or-meansqr B", {{0, 0.16}, {5, 0.25}, {10, 0.36}}},
        {false, foMeanSqrt, "A and-meansqrt B", {{0, std::sqrt(0.4)}, {5, std::sqrt(0.5)}, {10, std::sqrt(0.6)}}},
        {true, foMeanSqrt, "A or-meansqrt B", {{0, std::sqrt(0.4)}, {5, std::sqrt(0.5)}, {10, std::sqrt(0.6)}}},
        {false, foProduct, "A and-product B", {{0, 0.12}, {5, 0.25}, {10, 0.32}}},
        {true, foProduct, "A or-product B", {{0, 0.68}, {5, 0.75}, {10, 0.88}}},
        // Bounded sums: 0 up to the crossing, then 0.2; 0.8, then 1 from the crossing on.
        {false, foBoundedSum, "A and-boundedsum B", {{5, 0}, {10, 0.2}}},
        {true, foBoundedSum, "A or-boundedsum B", {{0, 0.8}, {5, 1}}},
        {true, foSum, "A or-sum B", {{0, 0.8}, {5, 1}, {10, 1.2}}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto Result = Owned(Case.IsUnion ? A->Union(*B, Case.Operation) : A->Intersection(*B, Case.Operation));
        EXPECT_TRUE(SamePoints(PointsOf(*Result), Case.Points));
        EXPECT_EQ(Result->GetName(), Case.Name);
        EXPECT_EQ(Result->GetExpression(), Case.Name);
    }
    // The Zadeh forms without an operation argument.
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Intersection(*B))), Cases[0].Points));
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(A->Union(*B))), Cases[1].Points));
    // The unbounded sum goes past 1.
    auto C = FreeSet({{0, 0.75}, {10, 0.75}});
    EXPECT_TRUE(SamePoints(PointsOf(*Owned(C->Union(*C, foSum))), {{10, 1.5}}));
}

TEST(FuzzySetOperations, InvalidOperationsRaiseBeforeCreatingAnything) {
    TModel Model;
    TFuzzySet* A = Model.AddSet("a", {{0, 0}, {50, 1}});
    TFuzzySet* B = Model.AddSet("b", {{25, 1}, {75, 0}});
    const int Count = Model.Variable->GetItems().Count();
    try {
        A->Intersection(*B, foSum);
        ADD_FAILURE() << "nothing raised";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid fuzzy operation: \"foSum:");
    }
    EXPECT_THROW(A->Union(*B, static_cast<TFuzzyOperation>(9)), EFzyException);
    EXPECT_THROW(A->Intersection(*B, static_cast<TFuzzyOperation>(9)), EFzyException);
    EXPECT_EQ(Model.Variable->GetItems().Count(), Count);
}

TEST(FuzzySetOperations, ExpressionsOfTheOperandsAreBracketed) {
    auto Hot = FreeSet({{0, 0}, {10, 1}}, "hot");
    auto Cold = FreeSet({{0, 1}, {10, 0}}, "very cold");
    auto Result = Owned(Hot->Intersection(*Cold));
    EXPECT_EQ(Result->GetName(), "hot and [very cold]");
    EXPECT_EQ(Result->GetExpression(), "hot and [very cold]");
    // A derived operand reads as the expression it came from, not as its name.
    auto Nested = Owned(Result->Union(*Hot, foProduct));
    EXPECT_EQ(Nested->GetName(), "[hot and [very cold]] or-product hot");
    Result->SetName("mix");
    auto Renamed = Owned(Result->Union(*Hot));
    EXPECT_EQ(Renamed->GetName(), "mix or hot");
    EXPECT_EQ(Renamed->GetExpression(), "[hot and [very cold]] or hot");
}

TEST(FuzzySetOperations, ResultsJoinTheFirstOperandsVariable) {
    TModel Model;
    TFuzzySet* A = Model.AddSet("a", {{0, 0}, {50, 1}});
    TFuzzySet* B = Model.AddSet("b", {{25, 1}, {75, 0}});
    TFuzzySet* Result = A->Union(*B);
    EXPECT_EQ(Result->GetCollection(), &Model.Variable->GetItems());
    EXPECT_EQ(Model.Variable->GetItems().GetItemByName("a or b"), Result);
    EXPECT_EQ(Result->GetXRange(0), 100);

    // A free first operand gives a free result, even with a second operand in a variable.
    auto Free = FreeSet({{0, 0}, {50, 1}});
    auto FreeResult = Owned(Free->Union(*B));
    EXPECT_EQ(FreeResult->GetCollection(), nullptr);

    // An exception from the operator leaves the result in the collection, closed and named.
    const int Count = Model.Variable->GetItems().Count();
    int Calls = 0;
    EXPECT_THROW(A->Operator(*B, "boom",
                             [&](TFuzzySetValues& Values, TFzyFloat X1, TFzyFloat Y1, TFzyFloat, TFzyFloat) -> bool {
                                 if (++Calls == 2) throw std::runtime_error("boom");
                                 Values.Add(X1, Y1);
                                 return false;
                             }),
                 std::runtime_error);
    ASSERT_EQ(Model.Variable->GetItems().Count(), Count + 1);
    TFuzzySet* Broken = Model.Variable->GetItems().GetItem(Count);
    EXPECT_EQ(Broken->GetName(), "a boom b");
    EXPECT_EQ(Broken->GetExpression(), "a boom b");
    EXPECT_EQ(Broken->GetValues().UpdateCount(), 0);
    EXPECT_EQ(Broken->GetValues().Count(), 1);
}

TEST(FuzzySetOperations, ResultsStayInTheirRangeWithoutAdjacentDuplicates) {
    auto A = FreeSet({{4, 1}, {5, 0}, {7, 0}, {9, 0.5}});
    auto B = FreeSet({{3, 0.5}, {5, 0}, {6, 0.5}});
    auto Union = Owned(A->Union(*B));
    EXPECT_TRUE(SamePoints(PointsOf(*Union), {{4, 1}, {5, 0}, {6, 0.5}}));
    const TFuzzySetValues& Values = Union->GetValues();
    for (int I = 1; I < Values.Count(); ++I) EXPECT_FALSE(Values.GetItem(I)->Equals(*Values.GetItem(I - 1)));

    // A second operand from a wider range is clamped into the first one's variable.
    TModel Model;
    TFuzzySet* Narrow = Model.AddSet("n", {{10, 0}, {90, 1}});
    auto Wide = FreeSet({{-50, 0.5}, {150, 0.5}});
    TFuzzySet* Clamped = Narrow->Union(*Wide);
    for (const TFuzzySetValue* Point : Clamped->GetValues()) {
        EXPECT_GE(Point->GetX(), 0);
        EXPECT_LE(Point->GetX(), 100);
    }
    EXPECT_DOUBLE_EQ(Clamped->DegreeOfMembership(50), 0.5);
    EXPECT_DOUBLE_EQ(Clamped->DegreeOfMembership(90), 1);
}

// ---- Geometry and the overlap test ----------------------------------------------------------

TEST(LineSegmentIntersects, NumbersForm) {
    TFzyFloat X = -1;
    TFzyFloat Y = -1;
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(0, 0, 2, 2, 0, 2, 2, 0, X, Y));
    EXPECT_DOUBLE_EQ(X, 1);
    EXPECT_DOUBLE_EQ(Y, 1);
    // A vertical segment takes its own X, a horizontal one its own Y.
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(1, 0, 1, 2, 0, 0.7, 2, 0.7, X, Y));
    EXPECT_EQ(X, 1);
    EXPECT_EQ(Y, 0.7);
    // Parallel and distinct; lines crossing beyond either segment.
    EXPECT_FALSE(TFuzzySet::LineSegmentIntersects(0, 0, 2, 2, 0, 1, 2, 3, X, Y));
    EXPECT_FALSE(TFuzzySet::LineSegmentIntersects(0, 0, 1, 1, 3, 0, 2, 1, X, Y));
    EXPECT_FALSE(TFuzzySet::LineSegmentIntersects(0, 0, 4, 4, 3, 0, 2, 1, X, Y));
    // Collinear: the end of smaller X among (X2, Y2) and (X4, Y4), overlapping or not.
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(0, 0, 2, 2, 1, 1, 3, 3, X, Y));
    EXPECT_EQ(X, 2);
    EXPECT_EQ(Y, 2);
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(0, 0, 1, 1, 5, 5, 6, 6, X, Y));
    EXPECT_EQ(X, 1);
    EXPECT_EQ(Y, 1);
    // A one-point segment is tested against the line through the other one.
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(1, 1, 1, 1, 0, 0, 2, 2, X, Y));
    EXPECT_EQ(X, 1);
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(5, 5, 5, 5, 0, 0, 2, 2, X, Y));
    EXPECT_EQ(X, 2);
    EXPECT_FALSE(TFuzzySet::LineSegmentIntersects(1, 0, 1, 0, 0, 0, 2, 2, X, Y));
}

TEST(LineSegmentIntersects, PointForm) {
    auto Point = [](TFzyFloat X, TFzyFloat Y) {
        TOwned<TFuzzySetValue> P = Make<TFuzzySetValue>();
        P->SetValue(X, Y);
        return P;
    };
    auto Crossing = TFuzzySet::LineSegmentIntersects(*Point(0, 0), *Point(2, 2), *Point(0, 2), *Point(2, 0));
    ASSERT_NE(Crossing, nullptr);
    EXPECT_DOUBLE_EQ(Crossing->GetX(), 1);
    EXPECT_DOUBLE_EQ(Crossing->GetY(), 1);
    EXPECT_EQ(Crossing->GetCollection(), nullptr);
    EXPECT_EQ(TFuzzySet::LineSegmentIntersects(*Point(0, 0), *Point(2, 2), *Point(0, 1), *Point(2, 3)), nullptr);

    // GetSlope: a vertical pair gives the sign of its rise.
    EXPECT_EQ(TFuzzySet::GetSlope(*Point(1, 0), *Point(1, 1)), 1);
    EXPECT_EQ(TFuzzySet::GetSlope(*Point(1, 1), *Point(1, 0)), -1);
    EXPECT_EQ(TFuzzySet::GetSlope(*Point(1, 0.5), *Point(1.00005, 0.5)), 0);
    EXPECT_DOUBLE_EQ(TFuzzySet::GetSlope(*Point(0, 0), *Point(2, 1)), 0.5);
}

TEST(FuzzySetOperations, Intersects) {
    auto Check = [](const TPoints& A, const TPoints& B) { return FreeSet(A)->Intersects(*FreeSet(B)); };
    EXPECT_FALSE(Check({{0, 0}, {5, 1}, {10, 0}}, {{20, 0}, {25, 1}, {30, 0}}));
    // Shoulders touching at X = 5 with zero height there: the spans do not overlap.
    EXPECT_FALSE(Check({{0, 1}, {5, 0}}, {{5, 0}, {10, 1}}));
    EXPECT_TRUE(Check({{0, 0}, {5, 1}}, {{5, 1}, {10, 0}}));
    EXPECT_TRUE(Check({{5, 1}, {10, 0}}, {{0, 0}, {5, 1}}));
    EXPECT_TRUE(Check({{0, 0}, {10, 1}}, {{5, 0}, {15, 1}}));
    EXPECT_FALSE(Check({}, {{0, 1}, {1, 1}}));
    // A zero set meets only another zero set.
    EXPECT_FALSE(Check({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}));
    EXPECT_TRUE(Check({{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}));
    EXPECT_TRUE(Check({{0, 1}, {10, 1}}, {{5, 0}, {15, 0}}));
}

// ---- Point-walking routines --------------------------------------------------------------------

TEST(PointWalking, StepAlongAListAndCollectTheGreaterSide) {
    TOwned<TFuzzySetValues> Values = Make<TFuzzySetValues>();
    Values->Add(0, 0);
    Values->Add(5, 1);
    TOwned<TFuzzySetValue> Current = Make<TFuzzySetValue>();
    TOwned<TFuzzySetValue> Previous = Make<TFuzzySetValue>();
    TOwned<TFuzzySetValue> Other = Make<TFuzzySetValue>();
    Current->Assign(*Values->GetItem(0));
    int Index = 0;

    NextPoint(*Current, *Previous, Index, *Values, 99);
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(Previous->GetX(), 0);
    EXPECT_EQ(Current->GetX(), 5);
    EXPECT_EQ(Current->GetY(), 1);

    // Past the end only X moves, to EndX.
    auto Set = FreeSet({});
    AddAndIncrement(*Set, *Current, *Previous, *Other, Index, 0.7, 0.7, *Values, 99, true);
    EXPECT_TRUE(SamePoints(PointsOf(*Set), {{5, 1}}));
    EXPECT_EQ(Index, 2);
    EXPECT_EQ(Current->GetX(), 99);
    EXPECT_EQ(Current->GetY(), 1);
    EXPECT_EQ(Other->GetX(), 5);  // equal degrees: the other walk's previous point follows

    // The lesser side is collected when TakeGreater is false; the second walk steps as well.
    Current->Assign(*Values->GetItem(0));
    TOwned<TFuzzySetValue> Current2 = Make<TFuzzySetValue>();
    Current2->Assign(*Values->GetItem(0));
    int Index1 = 0;
    int Index2 = 0;
    Add1AndIncrement2(*Set, *Current, *Current2, *Previous, *Other, Index1, Index2, 0.3, 0.6, *Values, *Values, 99,
                      false);
    EXPECT_TRUE(SamePoints(PointsOf(*Set), {{0, 0}, {5, 1}}));
    EXPECT_EQ(Index1, 1);
    EXPECT_EQ(Index2, 1);
    EXPECT_EQ(Current2->GetX(), 5);
    EXPECT_EQ(Other->GetX(), 0);
}

}  // namespace
}  // namespace fzl
