#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyLogic/FuzzyMath.h"
#include "FuzzyLogic/FuzzySetValues.h"
#include "support/Exceptions.h"

namespace fzl {
namespace {

/// Stands in for the fuzzy set: a range and counters of the reports it receives.
class TFakeSet final : public TFuzzySetValuesOwner {
public:
    TFakeSet(TFzyFloat ALower, TFzyFloat AUpper) : Lower(ALower), Upper(AUpper) {}
    [[nodiscard]] TFzyFloat GetXRange(int Index) const override { return Index == 0 ? Upper : Lower; }
    void UpdateFuzzySetValue(TFuzzySetValue* Value) override {
        ++PointReports;
        LastPoint = Value;
        LastPointIndex = Value->GetIndex();
    }
    void UpdateFuzzySetValues() override { ++ListReports; }
    void Reset() { PointReports = ListReports = 0; }

    TFzyFloat Lower;
    TFzyFloat Upper;
    int PointReports = 0;
    int ListReports = 0;
    TFuzzySetValue* LastPoint = nullptr;
    int LastPointIndex = -1;
};

using TPoints = std::vector<std::pair<TFzyFloat, TFzyFloat>>;

TPoints Points(const TFuzzySetValues& List) {
    TPoints Result;
    for (const TFuzzySetValue* Point : List) Result.emplace_back(Point->GetX(), Point->GetY());
    return Result;
}

/// A list holding exactly Initial, built in one bulk update (so a run of four survives).
TOwned<TFuzzySetValues> MakeList(const TPoints& Initial, TFuzzySetValuesOwner* Set = nullptr) {
    auto List = Make<TFuzzySetValues>(Set);
    List->BeginUpdate();
    for (const auto& [X, Y] : Initial) List->Add(X, Y);
    List->EndUpdate();
    return List;
}

#define EXPECT_POINTS(List, ...) EXPECT_EQ(Points(List), (TPoints{__VA_ARGS__}))

void ExpectNear(const TFuzzySetValues& List, const TPoints& Expected) {
    ASSERT_EQ(List.Count(), static_cast<int>(Expected.size())) << testing::PrintToString(Points(List));
    for (int I = 0; I < List.Count(); ++I) {
        EXPECT_NEAR(List.GetItem(I)->GetX(), Expected[I].first, 1e-12) << I;
        EXPECT_NEAR(List.GetItem(I)->GetY(), Expected[I].second, 1e-12) << I;
    }
}

TEST(FuzzySetValues, NewPointsClampingAndNegativeY) {
    auto Free = Make<TFuzzySetValues>();
    TFuzzySetValue* First = Free->Add();
    EXPECT_EQ(First->GetX(), 0.0);
    First->SetX(10);
    TFuzzySetValue* Next = Free->Add();
    EXPECT_EQ(Next->GetX(), 11.0);
    EXPECT_EQ(Next->GetY(), 0.0);
    Next->SetY(-0.5);
    EXPECT_EQ(Next->GetY(), 0.0);
    Next->SetY(1.7);  // no upper clamp
    EXPECT_EQ(Next->GetY(), 1.7);
    Next->SetX(150);  // no range without a set
    EXPECT_EQ(Next->GetX(), 150.0);
    Next->SetValue(-3, -1);  // but Y stays at or above 0
    EXPECT_POINTS(*Free, {-3, 0}, {10, 0});

    TFakeSet Set(0, 100);
    auto List = Make<TFuzzySetValues>(&Set);
    TFuzzySetValue* Point = List->Add(50, 0.5);
    Point->SetX(150);
    EXPECT_EQ(Point->GetX(), 100.0);
    Point->SetX(-3);
    EXPECT_EQ(Point->GetX(), 0.0);
    Point->SetValue(250, -2);
    EXPECT_POINTS(*List, {100, 0});
    EXPECT_EQ(List->Add()->GetX(), 100.0);  // the default X (last + 1) is clamped too

    TFakeSet Narrow(2, 10);
    auto Clamped = Make<TFuzzySetValues>(&Narrow);
    EXPECT_EQ(Clamped->Add()->GetX(), 2.0);  // so is the default X of a first point
    Clamped->Clear();
    Clamped->Add(0, 0.5);
    EXPECT_POINTS(*Clamped, {2, 0.5});

    TFakeSet Small(0, 5);
    auto Both = Make<TFuzzySetValues>(&Small);
    Both->Add(7, 1);
    Both->Add(6, 0);
    EXPECT_POINTS(*Both, {5, 1}, {5, 0});
}

TEST(FuzzySetValues, OrderingIsKeptOutsideBulkUpdates) {
    auto List = Make<TFuzzySetValues>();
    List->Add(0, 0);
    List->Add(4, 1);
    EXPECT_EQ(List->Add(2, 0.5)->GetIndex(), 1);
    TFuzzySetValue* Last = List->Last();
    Last->SetX(1);  // before its left neighbour: moved at once
    EXPECT_POINTS(*List, {0, 0}, {1, 1}, {2, 0.5});
    EXPECT_EQ(Last->GetIndex(), 1);
    List->First()->SetX(3);
    EXPECT_POINTS(*List, {1, 1}, {2, 0.5}, {3, 0});

    // Equal X values (within the tolerance) keep the order in which they arrived.
    auto Step = Make<TFuzzySetValues>();
    Step->Add(5, 0);
    Step->Add(5.00004, 0.5);
    Step->Add(4.99997, 1);
    EXPECT_POINTS(*Step, {5, 0}, {5.00004, 0.5}, {4.99997, 1});

    // Insert puts the new point at Index; SetItem assigns X and Y into a point.
    auto Inserted = MakeList({{0, 0}, {10, 1}});
    TFuzzySetValue* New = Inserted->Insert(1);
    EXPECT_EQ(New->GetIndex(), 1);
    New->SetValue(5, 0.5);
    auto Source = MakeList({{7, 0.7}});
    Inserted->SetItem(0, *Source->First());
    EXPECT_POINTS(*Inserted, {5, 0.5}, {7, 0.7}, {10, 1});
}

TEST(FuzzySetValues, VerticalStepsAndDuplicates) {
    auto List = Make<TFuzzySetValues>();
    TFuzzySetValue* A = List->Add(5, 0);
    List->Add(5, 0.5);
    TFuzzySetValue* C = List->Add(5, 1);
    TFuzzySetValue* Moved = List->Add(8, 0.7);
    Moved->SetX(5);  // a fourth point at X = 5: the one before the third match goes
    EXPECT_POINTS(*List, {5, 0}, {5, 0.7}, {5, 1});
    EXPECT_EQ(List->GetItem(0), A);
    EXPECT_EQ(List->GetItem(1), Moved);
    EXPECT_EQ(List->GetItem(2), C);
    List->Add(5, 0.2);
    EXPECT_POINTS(*List, {5, 0}, {5, 0.2}, {5, 1});

    auto Dups = Make<TFuzzySetValues>();
    Dups->Add(5, 0.3);
    Dups->Add(5, 0.3);
    EXPECT_EQ(Dups->Count(), 1);
    Dups->Add(5, 0.30005);
    EXPECT_EQ(Dups->Count(), 1);
    Dups->Add(5, 0.3002);
    EXPECT_EQ(Dups->Count(), 2);

    // A change making a point equal to its neighbour removes the neighbour; the
    // changed point stays valid, keeps its values and is the one reported.
    TFakeSet Set(0, 10);
    auto Pair = MakeList({{5, 0.3}, {5, 0.6}, {7, 0}}, &Set);
    TFuzzySetValue* Second = Pair->GetItem(1);
    Set.Reset();
    Second->SetY(0.3);
    EXPECT_POINTS(*Pair, {5, 0.3}, {7, 0});
    EXPECT_EQ(Pair->First(), Second);
    EXPECT_EQ(Set.PointReports, 1);
    EXPECT_EQ(Set.LastPoint, Second);
    Second->SetY(0.6);
    Pair->Add(5, 0.3);
    Second->SetY(0.3);  // now equal to the point after it
    EXPECT_POINTS(*Pair, {5, 0.3}, {7, 0});
    EXPECT_EQ(Pair->First(), Second);

    auto Moving = MakeList({{4, 0.3}, {5, 0.3}, {6, 1}});
    TFuzzySetValue* Mover = Moving->First();
    Mover->SetX(5);
    EXPECT_POINTS(*Moving, {5, 0.3}, {6, 1});
    EXPECT_EQ(Moving->First(), Mover);
    Mover->SetValue(6.00002, 1.00003);
    EXPECT_POINTS(*Moving, {6.00002, 1.00003});

    // Moving a point away from between two equal points: they meet and one goes.
    auto Between = Make<TFuzzySetValues>();
    Between->Add(5, 0.3);
    TFuzzySetValue* Middle = Between->Add(5, 0.5);
    Between->Add(5, 0.3);
    EXPECT_EQ(Between->Count(), 3);
    Middle->SetX(7);
    EXPECT_POINTS(*Between, {5, 0.3}, {7, 0.5});
}

TEST(FuzzySetValues, BulkUpdateDefersOrderingAndReports) {
    TFakeSet Set(0, 100);
    auto List = MakeList({{0, 0}, {10, 1}, {20, 0}}, &Set);
    Set.Reset();
    List->BeginUpdate();
    List->BeginUpdate();
    List->First()->SetX(30);
    List->Add(15, 0.5);
    List->Add(15, 0.5);
    List->GetItem(1)->SetX(150);  // still clamped inside a bulk update
    EXPECT_POINTS(*List, {30, 0}, {100, 1}, {20, 0}, {15, 0.5}, {15, 0.5});
    List->EndUpdate();
    EXPECT_EQ(Set.PointReports + Set.ListReports, 0);
    List->EndUpdate();
    EXPECT_EQ(Set.PointReports, 0);
    EXPECT_EQ(Set.ListReports, 1);
    EXPECT_POINTS(*List, {15, 0.5}, {20, 0}, {30, 0}, {100, 1});

    // The bulk clean-up keeps a vertical run of four and removes the fifth point.
    auto Run = MakeList({{5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}, {5, 1}, {6, 0}});
    EXPECT_POINTS(*Run, {5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}, {6, 0});

    // Sort and RemoveDuplicates act at once inside an open bracket, which still reports once.
    Set.Reset();
    List->BeginUpdate();
    List->First()->SetX(50);
    List->Add(30, 0);
    List->Sort();
    EXPECT_POINTS(*List, {20, 0}, {30, 0}, {30, 0}, {50, 0.5}, {100, 1});
    List->RemoveDuplicates();
    EXPECT_POINTS(*List, {20, 0}, {30, 0}, {50, 0.5}, {100, 1});
    EXPECT_EQ(Set.ListReports, 0);
    List->EndUpdate();
    EXPECT_EQ(Set.ListReports, 1);
    List->CleanupValues();  // clean: nothing to do or report
    EXPECT_EQ(Set.ListReports, 1);

    // A point appended in bulk and moved onto an equal point without a Y change.
    auto Bulk = MakeList({{5, 0}});
    Bulk->BeginUpdate();
    TFuzzySetValue* Appended = Bulk->Add();
    Appended->SetX(5);
    Appended->SetY(0);
    Bulk->EndUpdate();
    EXPECT_POINTS(*Bulk, {5, 0});
}

TEST(FuzzySetValues, ReportsToTheOwningSet) {
    TFakeSet Set(0, 10);
    auto List = Make<TFuzzySetValues>(&Set);
    TFuzzySetValue* A = List->Add(4, 1);
    TFuzzySetValue* B = List->Add(2, 0.5);
    // Add(X, Y) is one single-point report, made with the point at its final place.
    EXPECT_EQ(Set.PointReports, 2);
    EXPECT_EQ(Set.ListReports, 0);
    EXPECT_EQ(Set.LastPoint, B);
    EXPECT_EQ(Set.LastPointIndex, 0);

    Set.Reset();
    A->SetY(0.75);
    A->SetY(0.75);  // unchanged: not reported
    A->SetX(4);
    EXPECT_EQ(Set.PointReports, 1);
    A->SetValue(4, 0.75);  // always reported
    EXPECT_EQ(Set.PointReports, 2);

    // Joining and leaving are whole-list changes.
    Set.Reset();
    List->Add();
    List->Delete(List->Count() - 1);
    EXPECT_EQ(Set.ListReports, 2);
    EXPECT_EQ(Set.PointReports, 0);

    Set.Reset();
    List->BeginUpdate();
    A->SetX(1);
    B->SetY(0.1);
    List->Add(3, 0.3);
    List->Delete(0);
    List->EndUpdate();
    EXPECT_EQ(Set.PointReports, 0);
    EXPECT_EQ(Set.ListReports, 1);

    Set.Reset();
    List.reset();
    EXPECT_EQ(Set.PointReports + Set.ListReports, 0);
}

TEST(FuzzySetValues, AppendAndAssignCopyThroughTheSetters) {
    auto Source = MakeList({{0, 0}, {1, 0.1}, {2, 0.2}, {3, 0.3}, {4, 0.4}});
    auto Copy = [&Source](int Start, int Count) {
        auto Target = Make<TFuzzySetValues>();
        Target->Append(*Source, Start, Count);
        return Points(*Target);
    };
    EXPECT_EQ(Copy(1, 2), (TPoints{{1, 0.1}, {2, 0.2}}));
    EXPECT_EQ(Copy(-3, 2), (TPoints{{0, 0}, {1, 0.1}}));
    EXPECT_EQ(Copy(10, 5), (TPoints{{4, 0.4}}));
    EXPECT_EQ(Copy(3, 100), (TPoints{{3, 0.3}, {4, 0.4}}));
    EXPECT_EQ(Copy(2, 0), TPoints{});

    TFakeSet Set(1, 3);
    auto Ranged = MakeList({{2, 1}}, &Set);
    Ranged->Append(*Source);
    EXPECT_POINTS(*Ranged, {1, 0}, {1, 0.1}, {2, 1}, {2, 0.2}, {3, 0.3}, {3, 0.4});
    auto Self = MakeList({{0, 0}, {1, 1}});
    Self->Append(*Self);  // only duplicates: removed
    EXPECT_POINTS(*Self, {0, 0}, {1, 1});

    Set.Reset();
    Ranged->Assign(*MakeList({{-5, 0.5}, {2, 1}, {20, 0}}));
    EXPECT_POINTS(*Ranged, {1, 0.5}, {2, 1}, {3, 0});
    EXPECT_EQ(Set.ListReports, 1);
    EXPECT_EQ(Set.PointReports, 0);
    TFuzzySetValue* Point = Ranged->First();
    Point->Assign(*Ranged->Last());
    EXPECT_POINTS(*Ranged, {2, 1}, {3, 0});
    EXPECT_EQ(Ranged->Last(), Point);
    EXPECT_THROW(Point->Assign(*Source), EConvertError);

    int Seen = 0;
    for (TFuzzySetValue* Each : *Source) EXPECT_EQ(Each->GetIndex(), Seen++);
    EXPECT_EQ(Seen, 5);
    EXPECT_THROW(static_cast<void>(Source->GetItem(5)), EListError);
}

TEST(FuzzySetValues, CountingAndSkipping) {
    auto List = MakeList({{0, 0.5}, {2, 0.50005}, {2.00005, 0.7}, {3, 0}, {3, 0.5}, {3, 1}});
    EXPECT_EQ(List->GetXCount(2), 1);  // exact, no tolerance
    EXPECT_EQ(List->GetXCount(3), 3);
    EXPECT_EQ(List->GetXCount(7), 0);

    EXPECT_EQ(List->SkipX(1, 2, 1), 3);
    EXPECT_EQ(List->SkipX(1, 2, 0), 3);  // direction 0 counts as 1
    EXPECT_EQ(List->SkipX(2, 2, -1), 0);
    EXPECT_EQ(List->SkipX(3, 3, 1), -1);  // the last three share X
    EXPECT_EQ(List->SkipX(1, 0, -1), -1);
    EXPECT_EQ(List->SkipX(0, 2, 2), 4);
    EXPECT_EQ(List->SkipY(-1, 0.5, 1), 2);
    EXPECT_EQ(List->SkipY(4, 0.5, -1), 3);
    EXPECT_EQ(List->SkipY(2, 0.5, -1), -1);
    EXPECT_EQ(List->SkipY(5, 1, 1), -1);
}

TEST(FuzzySetValues, ExpandKeepsTheShape) {
    auto Line = MakeList({{0, 0}, {10, 1}});
    Line->Expand(7);
    TPoints Expected;
    for (int I = 0; I < 7; ++I) Expected.emplace_back(10.0 * I / 6, I / 6.0);
    ExpectNear(*Line, Expected);

    // Earlier segments get the rounded-up share: 3 points (step 1.25), then 2 (step 5/3).
    TFakeSet Set(0, 10);
    auto Peak = MakeList({{0, 0}, {5, 1}, {10, 0}}, &Set);
    Set.Reset();
    Peak->Expand(8);
    ExpectNear(*Peak, {{0, 0},
                       {1.25, 0.25},
                       {2.5, 0.5},
                       {3.75, 0.75},
                       {5, 1},
                       {5 + 5.0 / 3, 2.0 / 3},
                       {5 + 10.0 / 3, 1.0 / 3},
                       {10, 0}});
    EXPECT_EQ(Set.ListReports, 1);
    EXPECT_EQ(Set.PointReports, 0);

    auto Step = MakeList({{0, 0}, {0, 1}, {4, 1}});  // a vertical step is no segment
    Step->Expand(6);
    EXPECT_POINTS(*Step, {0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1});
    Step->Expand(6);
    Step->Expand(1);
    EXPECT_EQ(Step->Count(), 6);

    auto Simple = MakeList({{0, 0}, {4, 1}});
    Simple->ExpandSimple(5);
    EXPECT_POINTS(*Simple, {0, 0}, {1, 0.25}, {2, 0.5}, {3, 0.75}, {4, 1});
    auto Spread = MakeList({{0, 0}, {1, 1}, {8, 0}});  // equal spacing over the whole list
    Spread->ExpandSimple(6);
    ExpectNear(*Spread, {{0, 0}, {1, 1}, {2, 6.0 / 7}, {4, 4.0 / 7}, {6, 2.0 / 7}, {8, 0}});

    auto Single = MakeList({{3, 0.5}});
    Single->ExpandSimple(4);
    EXPECT_POINTS(*Single, {3, 0.5});
    // Between two points of one X a new point takes the higher degree: here
    // (0.000075, 0.8), which replaces its equal (0.00015, 0.8).
    auto Vertical = MakeList({{0, 0}, {0.00015, 0.2}, {0.00015, 0.8}});
    Vertical->ExpandSimple(4);
    EXPECT_POINTS(*Vertical, {0, 0}, {0.00015, 0.2}, {0.000075, 0.8});
}

TEST(FuzzySetValues, Statistics) {
    auto Empty = Make<TFuzzySetValues>();
    auto Message = [](auto Call) -> std::string {
        try {
            Call();
        } catch (const EFzyException& Error) {
            return Error.what();
        }
        return "no exception";
    };
    TFzyFloat Average = -1;
    TFzyFloat Maximum = -1;
    TFzyFloat Minimum = -1;
    EXPECT_EQ(Message([&] { static_cast<void>(Empty->GetAvgValue()); }),
              R"(Invalid operation: "Get Average Y Value".  Fuzzy set is empty)");
    EXPECT_EQ(Message([&] { static_cast<void>(Empty->GetMaxValue()); }),
              R"(Invalid operation: "Get Maximum Y Value".  Fuzzy set is empty)");
    EXPECT_EQ(Message([&] { static_cast<void>(Empty->GetMinValue()); }),
              R"(Invalid operation: "Get Minimum Y Value".  Fuzzy set is empty)");
    EXPECT_EQ(Message([&] { Empty->GetStatValues(Average, Maximum, Minimum); }),
              R"(Invalid operation: "Get Statistics Values".  Fuzzy set is empty)");

    auto Mixed = MakeList({{0, 0.2}, {1, 1.0}, {2, 3.0}});
    EXPECT_EQ(Mixed->GetMaxValue(), 1.0);  // the scan stops at exactly 1
    EXPECT_EQ(Mixed->GetMinValue(), 0.2);
    EXPECT_DOUBLE_EQ(Mixed->GetAvgValue(), 1.4);
    Mixed->GetStatValues(Average, Maximum, Minimum);
    EXPECT_DOUBLE_EQ(Average, 1.4);
    EXPECT_EQ(Maximum, 3.0);
    EXPECT_EQ(Minimum, 0.2);

    auto High = MakeList({{0, 1.5}, {1, 2.5}, {2, 0.99999}, {3, 4.0}});
    EXPECT_EQ(High->GetMaxValue(), 4.0);
    EXPECT_EQ(High->GetMinValue(), 0.99999);
    MakeList({{0, 1.5}, {1, 2.5}})->GetStatValues(Average, Maximum, Minimum);
    EXPECT_EQ(Average, 2.0);
    EXPECT_EQ(Maximum, 2.5);
    EXPECT_EQ(Minimum, 1.0);  // starts at 1
    MakeList({{0, 0}, {1, 0}})->GetStatValues(Average, Maximum, Minimum);
    EXPECT_EQ(Maximum, 0.0);  // starts at 0
    EXPECT_EQ(Minimum, 0.0);
}

// The decided answers to the corner cases of re-ordering.
TEST(FuzzySetValues, CornerCasesOfReordering) {
    // A run of four left by a bulk update is cut to three by a single change, also
    // at the head of the list: the point before the changed one goes.
    auto Head = MakeList({{5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}, {6, 0}});
    Head->GetItem(2)->SetY(0.6);
    EXPECT_POINTS(*Head, {5, 0}, {5, 0.6}, {5, 0.75}, {6, 0});
    auto Inner = MakeList({{1, 0}, {5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}});
    Inner->GetItem(3)->SetY(0.6);
    EXPECT_POINTS(*Inner, {1, 0}, {5, 0}, {5, 0.6}, {5, 0.75});
    auto First = MakeList({{5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}});
    TFuzzySetValue* Changed = First->First();
    Changed->SetY(0.1);  // nothing before it: the list stays intact
    EXPECT_POINTS(*First, {5, 0.1}, {5, 0.5}, {5, 0.75});
    EXPECT_EQ(First->First(), Changed);

    // A tiny X change of the third of four equal X values removes another member.
    auto Run = MakeList({{5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}, {6, 1}});
    TFuzzySetValue* Third = Run->GetItem(2);
    Third->SetX(5.00005);
    EXPECT_POINTS(*Run, {5, 0}, {5.00005, 0.5}, {5, 0.75}, {6, 1});
    EXPECT_EQ(Run->GetItem(1), Third);

    // Add(X, Y) has no intermediate (X, 0): (5, 0) then (5, 0.5) keeps both.
    auto Two = Make<TFuzzySetValues>();
    Two->Add(5, 0);
    Two->Add(5, 0.5);
    EXPECT_POINTS(*Two, {5, 0}, {5, 0.5});

    // After an out-of-order change, a new default point lands on the upper bound next
    // to (5, 0); the list must not destroy the point it has just handed out.
    TFakeSet Set(0, 5);
    auto Bound = Make<TFuzzySetValues>(&Set);
    Bound->Add(0, 0);
    Bound->Add(5, 0);
    Bound->Add(3, 1);
    TFuzzySetValue* Point = Bound->Add();
    ASSERT_EQ(Point->GetCollection(), Bound.get());
    Point->SetValue(4, 0.5);
    Bound->Append(*MakeList({{2, 0.5}}));
    Bound->Insert(0)->SetValue(1, 0.25);
    EXPECT_POINTS(*Bound, {0, 0}, {1, 0.25}, {2, 0.5}, {3, 1}, {4, 0.5}, {5, 0});
}

// Known gap: nothing marks the list for a clean-up when a point is deleted, so two
// equal points that meet where the deleted one was stay side by side.
TEST(FuzzySetValues, DeletingBetweenEqualPointsThinsThem) {
    for (const bool InBulk : {false, true}) {
        auto List = Make<TFuzzySetValues>();
        List->Add(5, 0.3);
        List->Add(5, 0.5);
        List->Add(5, 0.3);
        if (InBulk) List->BeginUpdate();
        List->Delete(1);
        if (InBulk) List->EndUpdate();
        EXPECT_POINTS(*List, {5, 0.3}) << "in bulk: " << InBulk;
    }
}

std::string Violation(const TFuzzySetValues& List, const TFakeSet& Set, bool Clean) {
    int Run = 1;
    for (int I = 0; I < List.Count(); ++I) {
        const TFuzzySetValue* P = List.GetItem(I);
        const std::string At = " at " + std::to_string(I);
        if (P->GetIndex() != I) return "wrong index" + At;
        if (P->GetX() < Set.Lower || P->GetX() > Set.Upper) return "X out of range" + At;
        if (!(P->GetY() >= 0)) return "negative Y" + At;
        if (!Clean || I == 0) continue;
        const TFuzzySetValue* Q = List.GetItem(I - 1);
        if (P->GetX() + FuzzyTolerance < Q->GetX()) return "unsorted" + At;
        if (P->Equals(*Q)) return "adjacent duplicates" + At;
        Run = FloatEquals(P->GetX(), Q->GetX()) ? Run + 1 : 1;
        if (Run > 4) return "more than four equal X" + At;
    }
    return {};
}

TEST(FuzzySetValues, RandomEditsKeepTheInvariants) {
    const TFzyFloat Xs[] = {-2, 0, 1, 2.5, 5, 5, 5, 5.00005, 7.5, 10, 10, 12};
    const TFzyFloat Ys[] = {-0.5, 0, 0, 0.3, 0.3, 0.30005, 0.5, 1, 1, 1.7};
    TFakeSet Set(0, 10);
    for (unsigned Seed = 1; Seed <= 400; ++Seed) {
        std::mt19937 Random(Seed);
        auto Below = [&Random](int N) { return std::uniform_int_distribution<int>(0, N - 1)(Random); };
        auto List = Make<TFuzzySetValues>(&Set);
        int Depth = 0;
        std::string Trace;
        // In a bracket at most five points may gather at one X: the closing clean-up
        // removes the fifth point of a run and then counts afresh, so six or more
        // would leave a run longer than four by design.
        auto Crowded = [&](TFzyFloat X) {
            const TFzyFloat Placed = std::clamp(X, Set.Lower, Set.Upper);
            return Depth > 0 && std::count_if(List->begin(), List->end(), [Placed](const TFuzzySetValue* P) {
                                    return FloatEquals(P->GetX(), Placed);
                                }) >= 5;
        };
        // Deleting between equal points is the known gap above.
        auto Joins = [&](int I) {
            return I > 0 && I < List->Count() - 1 && List->GetItem(I - 1)->Equals(*List->GetItem(I + 1));
        };
        for (int Step = 0; Step < 80; ++Step) {
            const int Count = List->Count();
            const int Index = Count > 0 ? Below(Count) : -1;
            const int Op = Below(10);
            const TFzyFloat X = Xs[Below(std::size(Xs))];
            const TFzyFloat Y = Ys[Below(std::size(Ys))];
            std::ostringstream Did;
            if ((Op <= 2 || Count == 0) && !Crowded(X)) {
                List->Add(X, Y);
                Did << "Add(" << X << ", " << Y << ")";
            } else if (Op == 3 && Count > 0 && !Crowded(X)) {
                List->GetItem(Index)->SetX(X);
                Did << "[" << Index << "].SetX(" << X << ")";
            } else if (Op == 4 && Count > 0) {
                List->GetItem(Index)->SetY(Y);
                Did << "[" << Index << "].SetY(" << Y << ")";
            } else if (Op == 5 && Count > 0 && !Crowded(X)) {
                List->GetItem(Index)->SetValue(X, Y);
                Did << "[" << Index << "].SetValue(" << X << ", " << Y << ")";
            } else if (Op == 6 && Count > 1 && !Joins(Index)) {
                List->Delete(Index);
                Did << "Delete(" << Index << ")";
            } else if (Op == 7 && Depth < 2) {
                List->BeginUpdate();
                Did << "BeginUpdate #" << ++Depth;
            } else if (Op >= 8 && Depth > 0) {
                List->EndUpdate();
                Did << "EndUpdate #" << Depth--;
            } else {
                continue;
            }
            Did << " ->";
            for (const auto& [PX, PY] : Points(*List)) Did << " (" << PX << ", " << PY << ")";
            Trace += Did.str() + "\n";
            ASSERT_EQ(Violation(*List, Set, Depth == 0), "") << "seed " << Seed << "\n" << Trace;
        }
        while (Depth-- > 0) List->EndUpdate();
        ASSERT_EQ(Violation(*List, Set, true), "") << "seed " << Seed << "\n" << Trace;
    }
}

}  // namespace
}  // namespace fzl
