#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string_view>
#include <tuple>
#include <vector>

#include "TestModel.h"

namespace fzl {
namespace {

using namespace test;  // TModel, FreeSet, PointsOf, Text, ErrorOf

using TReports = std::pair<int, int>;

/// Stands in for the fuzzy set: a range, and the reports it receives.
struct TFakeSet final : TFuzzySetValuesOwner {
    TFakeSet(TFzyFloat ALower, TFzyFloat AUpper) : Lower(ALower), Upper(AUpper) {}
    void GetXBounds(TFzyFloat& L, TFzyFloat& U) const override { L = Lower, U = Upper; }
    void UpdateFuzzySetValue(TFuzzySetValue* Value) override { ++Single, LastIndex = Value->GetIndex(); }
    void UpdateFuzzySetValues() override { ++Whole; }
    /// (single-point reports, whole-list reports) since the last call.
    TReports Take() { return {std::exchange(Single, 0), std::exchange(Whole, 0)}; }
    TFzyFloat Lower, Upper;
    int Single = 0, Whole = 0, LastIndex = -1;
};

/// Rounded to 1e-9, so that computed expectations compare equal.
TPoints Points(TPoints Points) {
    for (auto& [X, Y] : Points) X = std::round(X * 1e9) / 1e9, Y = std::round(Y * 1e9) / 1e9;
    return Points;
}
TPoints Points(const TFuzzySetValues& List) { return Points(test::PointsOf(List)); }

#define EXPECT_POINTS(Actual, ...) EXPECT_EQ(Points(Actual), Points(TPoints{__VA_ARGS__}))

/// A list of Initial, added one by one or inside one bulk update (where a run of four survives).
TOwned<TFuzzySetValues> MakeList(const TPoints& Initial, TFuzzySetValuesOwner* Set = nullptr,
                                 bool Bulk = true) {
    auto List = Make<TFuzzySetValues>(Set);
    if (Bulk) List->BeginUpdate();
    for (const auto& [X, Y] : Initial) List->Add(X, Y);
    if (Bulk) List->EndUpdate();
    return List;
}

/// Edits: 'a' Add(X, Y); 'x' SetX, 'y' SetY, 'v' SetValue of point I; 'd' Delete(I); '[' and ']' a bracket.
void Apply(TFuzzySetValues& List, std::string_view Ops, int I, TFzyFloat X, TFzyFloat Y) {
    for (const char Op : Ops) {
        switch (Op) {
            case 'a': List.Add(X, Y); break;
            case 'x': List.GetItem(I)->SetX(X); break;
            case 'y': List.GetItem(I)->SetY(Y); break;
            case 'v': List.GetItem(I)->SetValue(X, Y); break;
            case 'd': List.Delete(I); break;
            case '[': List.BeginUpdate(); break;
            default: List.EndUpdate();
        }
    }
}

/// {initial points (added in bulk, range [0, 10]), edits, I, X, Y, the points left}
const std::vector<std::tuple<TPoints, std::string, int, TFzyFloat, TFzyFloat, TPoints>> Edits = {
    {{{5, 0.5}}, "xy", 0, 15, -0.5, {{10, 0}}},  // X clamped into the range, Y kept at or above 0
    {{{5, 0.5}}, "v", 0, -3, 1.7, {{0, 1.7}}},   // no upper bound for Y
    {{{0, 0}, {2, 0.5}, {4, 1}}, "x", 2, 1, 0, {{0, 0}, {1, 1}, {2, 0.5}}},  // moved past a neighbour at once
    {{{5, 0}}, "a", 0, 5, 0.5, {{5, 0}, {5, 0.5}}},                          // no intermediate (5, 0)
    {{{5, 0.3}}, "a", 0, 5, 0.3, {{5, 0.3}}},          // a duplicate goes, the new point stays ...
    {{{5, 0.3}}, "a", 0, 5, 0.30005, {{5, 0.30005}}},  // ... also within the tolerance
    {{{5, 0.3}}, "a", 0, 5, 0.3002, {{5, 0.3}, {5, 0.3002}}},
    {{{5, 0}, {5, 0.5}, {5, 1}, {8, 0.7}}, "x", 3, 5, 0, {{5, 0}, {5, 0.7}, {5, 1}}},  // 4th at one X
    {{{5, 0}, {5, 0.7}, {5, 1}}, "a", 0, 5, 0.2, {{5, 0}, {5, 0.2}, {5, 1}}},
    {{{5, 0.3}, {5, 0.6}, {7, 0}}, "y", 1, 0, 0.3, {{5, 0.3}, {7, 0}}},  // a neighbour made equal goes
    // Equal points meet when the one between them moves away or is deleted.
    {{{5, 0.3}, {5, 0.5}, {5, 0.3}}, "x", 1, 7, 0, {{5, 0.3}, {7, 0.5}}},
    {{{5, 0.3}, {5, 0.5}, {5, 0.3}}, "d", 1, 0, 0, {{5, 0.3}}},
    // A single change cuts a run of four (left by a bulk update) to three.
    {{{5, 0}, {5, 0.2}, {5, 0.5}, {5, 0.7}, {6, 0}}, "y", 2, 0, 0.6, {{5, 0}, {5, 0.6}, {5, 0.7}, {6, 0}}},
};

TEST(FuzzySetValues, EditsKeepPointsInRangeInOrderAndThin) {
    TFakeSet Set(0, 10);
    for (const auto& [Initial, Ops, I, X, Y, Expected] : Edits) {
        auto List = MakeList(Initial, &Set);
        TFuzzySetValue* Point = List->GetItem(I);
        Apply(*List, Ops, I, X, Y);
        EXPECT_EQ(Points(*List), Points(Expected)) << Ops << I << " " << X << " " << Y;
        EXPECT_TRUE(Ops.find_first_of("xyv") != 0 || List->GetItem(Point->GetIndex()) == Point);  // it stays
    }

    // The default X is the last one + 1 (0 in an empty list), clamped into the range.
    TFakeSet Narrow(2, 10);
    EXPECT_EQ(std::tuple(MakeList({{10, 0}})->Add()->GetX(), Make<TFuzzySetValues>()->Add()->GetX(),
                         MakeList({{10, 0}}, &Narrow)->Add()->GetX()),
              std::tuple(11.0, 0.0, 10.0));
    EXPECT_POINTS(*MakeList({{7, 1}, {0, 0}}, &Narrow, false), {2, 0}, {7, 1});
    const TPoints Close = {{5, 0}, {5.00004, 0.5}, {4.99997, 1}};  // equal X keep their order of arrival
    EXPECT_EQ(Points(*MakeList(Close, nullptr, false)), Points(Close));
}

TEST(FuzzySetValues, BulkUpdatesAndReports) {
    TFakeSet Set(0, 100);
    auto List = MakeList({{0, 0}, {10, 1}, {20, 0}}, &Set);
    Set.Take();
    Apply(*List, "[[xaa", 0, 30, 0.5);
    List->Add()->SetX(20);        // a default point moved onto (20, 0)
    List->GetItem(1)->SetX(150);  // clamped at once, but neither sorted nor reported
    List->EndUpdate();
    EXPECT_POINTS(*List, {30, 0.0}, {100, 1}, {20, 0}, {30, 0.5}, {30, 0.5}, {20, 0});
    EXPECT_EQ(Set.Take(), TReports(0, 0));
    List->EndUpdate();
    EXPECT_EQ(Set.Take(), TReports(0, 1));
    EXPECT_POINTS(*List, {20, 0}, {30, 0}, {30, 0.5}, {100, 1});
    // The closing clean-up keeps a vertical run of four and removes the fifth point.
    EXPECT_POINTS(*MakeList({{5, 0}, {5, 0.25}, {5, 0.5}, {5, 0.75}, {5, 1}}), {5, 0}, {5, 0.25}, {5, 0.5},
                  {5, 0.75});

    auto Pair = MakeList({{4, 1}, {2, 0.5}}, &Set, false);
    EXPECT_EQ(std::tuple(Set.Take(), Set.LastIndex), std::tuple(TReports(2, 0), 0));  // at its final place
    Apply(*Pair, "yyxv", 1, 4, 0.75);  // the repeated SetY and the SetX change nothing: not reported
    EXPECT_EQ(Set.Take(), TReports(2, 0));
}

TEST(FuzzySetValues, ExplicitCleanUpAndSelfAppend) {
    // In a bracket nothing is placed; Sort never swaps points within the tolerance (4.99997 stays
    // after 5.00004).
    auto List = MakeList({});
    Apply(*List, "[", 0, 0, 0);
    for (const auto& [X, Y] : TPoints{{3, 0}, {5, 0.2}, {1, 0}, {5.00004, 0.5}, {4.99997, 0.7}, {1, 0}})
        List->Add(X, Y);
    List->Sort();
    EXPECT_POINTS(*List, {1, 0}, {1, 0}, {3, 0}, {5, 0.2}, {5.00004, 0.5}, {4.99997, 0.7});
    List->RemoveDuplicates();
    EXPECT_POINTS(*List, {1, 0}, {3, 0}, {5, 0.2}, {5.00004, 0.5}, {4.99997, 0.7});
    Apply(*List, "][", 0, 0, 0);
    List->Add(2, 0.5), List->Add(1, 0);
    List->CleanupValues();  // both at once
    EXPECT_POINTS(*List, {1, 0}, {2, 0.5}, {3, 0}, {5, 0.2}, {5.00004, 0.5}, {4.99997, 0.7});
    // Appended to itself, a list copies its points: duplicates that go at once, or when the bracket closes.
    auto Tri = MakeList({{0, 0}, {5, 1}, {10, 0}});
    Tri->Append(*Tri);
    Tri->Append(*Tri, 9, 9);  // the start clipped to the last point
    EXPECT_POINTS(*Tri, {0, 0}, {5, 1}, {10, 0});
    Apply(*Tri, "[", 0, 0, 0);
    Tri->Append(*Tri);
    EXPECT_EQ(Tri->Count(), 6);
    Apply(*Tri, "]", 0, 0, 0);
    EXPECT_POINTS(*Tri, {0, 0}, {5, 1}, {10, 0});
}

TEST(FuzzySetValues, ToleranceCountingSkippingAndStatistics) {
    // The tolerance is the double 0.0001, bounds inclusive (the guide checks 0.0001 itself): the next
    // double is outside it.
    EXPECT_EQ(MakeList({{0, 0}, {0, std::nextafter(0.0001, 1.0)}})->Count(), 2);
    EXPECT_TRUE(FloatEquals(0.5001, 0.5) && !FloatEquals(0.5, 0.50011) && !FloatEquals(1e6, 1e6 + 0.001));
    auto List = MakeList({{0, 0.5}, {2, 0.50005}, {2.00005, 0.7}, {3, 0}, {3, 0.5}, {3, 1}});
    EXPECT_EQ(std::tuple(List->GetXCount(2), List->GetXCount(3), List->GetXCount(7)), std::tuple(1, 3, 0));
    // {start, value, direction, result}: direction 0 counts as 1; -1 means none left.
    using TSkips = std::vector<std::tuple<int, TFzyFloat, int, int>>;
    for (const auto& [Start, X, Way, Found] :
         TSkips{{1, 2, 1, 3}, {1, 2, 0, 3}, {2, 2, -1, 0}, {3, 3, 1, -1}, {1, 0, -1, -1}, {0, 2, 2, 4}})
        EXPECT_EQ(List->SkipX(Start, X, Way), Found) << Start << " " << X << " " << Way;
    for (const auto& [Start, Y, Way, Found] :
         TSkips{{-1, 0.5, 1, 2}, {4, 0.5, -1, 3}, {2, 0.5, -1, -1}, {5, 1, 1, -1}})
        EXPECT_EQ(List->SkipY(Start, Y, Way), Found) << Start << " " << Y << " " << Way;

    auto Empty = Make<TFuzzySetValues>();
    TFzyFloat Avg = -1, Max = -1, Min = -1;
    const auto Refused = [](const char* Operation) { return Format(SFuzzySetEmpty, {Operation}); };
    EXPECT_EQ(ErrorOf([&] { (void)Empty->GetAvgValue(); }), Refused("Get Average Y Value"));
    EXPECT_EQ(ErrorOf([&] { (void)Empty->GetMaxValue(); }), Refused("Get Maximum Y Value"));
    EXPECT_EQ(ErrorOf([&] { (void)Empty->GetMinValue(); }), Refused("Get Minimum Y Value"));
    EXPECT_EQ(ErrorOf([&] { Empty->GetStatValues(Avg, Max, Min); }), Refused("Get Statistics Values"));
    auto Mixed = MakeList({{0, 0.2}, {1, 1.0}, {2, 3.0}});
    EXPECT_EQ(std::pair(Mixed->GetMaxValue(), Mixed->GetMinValue()), std::pair(1.0, 0.2));  // stops at 1
    EXPECT_DOUBLE_EQ(Mixed->GetAvgValue(), 1.4);
    Mixed->GetStatValues(Avg, Max, Min);
    EXPECT_EQ(std::tuple(Points({{Avg, 0}}), Max, Min), std::tuple(Points({{1.4, 0}}), 3.0, 0.2));
    MakeList({{0, 1.5}, {1, 2.5}})->GetStatValues(Avg, Max, Min);
    EXPECT_EQ(std::tuple(Avg, Max, Min), std::tuple(2.0, 2.5, 1.0));  // the minimum starts at 1
    MakeList({{0, 0}, {1, 0}})->GetStatValues(Avg, Max, Min);
    EXPECT_EQ(std::tuple(Avg, Max, Min), std::tuple(0.0, 0.0, 0.0));  // the maximum starts at 0
}

TEST(FuzzySetValues, ExpandKeepsTheShape) {
    TFakeSet Set(0, 10);
    const auto Expanded = [&Set](const TPoints& Initial, int N, bool Simple) {
        auto List = MakeList(Initial, &Set);
        Set.Take();
        Simple ? List->ExpandSimple(N) : List->Expand(N);
        EXPECT_EQ(Set.Take(), TReports(0, Points(*List) == Initial ? 0 : 1));
        return Points(*List);
    };
    // Earlier segments get the rounded-up share: 3 new points (step 1.25), then 2 (step 5/3).
    EXPECT_POINTS(Expanded({{0, 0}, {5, 1}, {10, 0}}, 8, false), {0, 0}, {1.25, 0.25}, {2.5, 0.5},
                  {3.75, 0.75}, {5, 1}, {5 + 5.0 / 3, 2.0 / 3}, {5 + 10.0 / 3, 1.0 / 3}, {10, 0});
    const TPoints Step = {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};  // a step is no segment
    EXPECT_EQ(Expanded({{0, 0}, {0, 1}, {4, 1}}, 6, false), Step);
    EXPECT_POINTS(Expanded({{0, 0}, {4, 1}}, 5, true), {0, 0}, {1, 0.25}, {2, 0.5}, {3, 0.75}, {4, 1});
    // ExpandSimple spaces the new points equally over the whole list.
    EXPECT_POINTS(Expanded({{0, 0}, {1, 1}, {8, 0}}, 6, true), {0, 0}, {1, 1}, {2, 6.0 / 7}, {4, 4.0 / 7},
                  {6, 2.0 / 7}, {8, 0});
}

/// A list of a descendant class: Expand takes the point-by-point path with every report.
class TDescendantValues : public TFuzzySetValues {
public:
    using TFuzzySetValues::TFuzzySetValues;

protected:
    ~TDescendantValues() override = default;
};

/// Initial as a descendant's list, added inside one bulk update.
TOwned<TDescendantValues> MakeDescendantList(const TPoints& Initial, TFuzzySetValuesOwner* Set) {
    auto List = Make<TDescendantValues>(Set);
    List->BeginUpdate();
    for (const auto& [X, Y] : Initial) List->Add(X, Y);
    List->EndUpdate();
    return List;
}

/// Whether two lists agree on every point (coordinates bit for bit, ID, index) and on the flags.
testing::AssertionResult SameLists(const TFuzzySetValues& A, const TFuzzySetValues& B) {
    if (A.Count() != B.Count())
        return testing::AssertionFailure() << A.Count() << " and " << B.Count() << " points";
    for (int I = 0; I < A.Count(); ++I) {
        const TFuzzySetValue& P = *A.GetItem(I);
        const TFuzzySetValue& Q = *B.GetItem(I);
        if (std::tuple(P.GetX(), P.GetY(), P.GetID(), P.GetIndex()) !=
            std::tuple(Q.GetX(), Q.GetY(), Q.GetID(), Q.GetIndex()))
            return testing::AssertionFailure() << "point " << I << " differs";
    }
    if (std::tuple(A.IsSorted(), A.IsDuplicatesRemoved()) !=
        std::tuple(B.IsSorted(), B.IsDuplicatesRemoved()))
        return testing::AssertionFailure() << "the flags differ";
    return testing::AssertionSuccess();
}

/// Expand builds a list of the base class in one pass; a descendant's list point by point.
/// Both must agree on every coordinate (bit for bit), every ID, the flags and the report,
/// also for steps, segments at the tolerance and points clamped by the range.
TEST(FuzzySetValues, ExpandInOnePassMatchesThePointByPointPath) {
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Unit(0, 1);
    const double Tolerance = FuzzyTolerance;  // gaps just inside and outside of it
    for (int Round = 0; Round < 400; ++Round) {
        TPoints Initial;
        double X = Unit(Random) * 2 - 0.5;
        for (int K = 1 + Round % 7; K > 0; --K) {
            Initial.emplace_back(X, Unit(Random) < 0.1 ? -0.5 : Unit(Random));
            const double Gap = Unit(Random);
            X += Gap < 0.2 ? 0 : Gap < 0.3 ? Tolerance * (Gap < 0.25 ? 0.9 : 1.1) : Gap * 3;
        }
        const int N = 2 + Round % 23;
        TFakeSet PlainSet(0, 10), DescendantSet(0, 10);
        auto Plain = MakeList(Initial, &PlainSet);
        auto Descendant = MakeDescendantList(Initial, &DescendantSet);
        PlainSet.Take(), DescendantSet.Take();
        Plain->Expand(N);
        Descendant->Expand(N);
        ASSERT_TRUE(SameLists(*Plain, *Descendant)) << "round " << Round;
        EXPECT_EQ(PlainSet.Take(), DescendantSet.Take()) << "round " << Round;
    }
}

/// The clean-up that closes a bulk update thins a list of the base class in one pass and a
/// descendant's list point by point. Lists full of duplicates, vertical runs longer than five
/// and coordinates just inside and outside the tolerance must come out the same: coordinates,
/// IDs, flags and reports.
TEST(FuzzySetValues, ThinningInOnePassMatchesThePointByPointPath) {
    std::mt19937 Random(11);
    const double Tolerance = FuzzyTolerance;
    const std::vector<double> Xs{0, 1, 1 + 0.9 * Tolerance, 1 + 1.1 * Tolerance, 2};
    const std::vector<double> Ys{0, 0.5, 0.5 + 0.9 * Tolerance, 0.5 + 1.1 * Tolerance, 1};
    for (int Round = 0; Round < 600; ++Round) {
        TPoints Initial;
        const bool Sorted = Round % 3 != 0;
        for (int K = 2 + Round % 29; K > 0; --K)
            Initial.emplace_back(Xs[Random() % Xs.size()], Ys[Random() % Ys.size()]);
        if (Sorted)
            std::stable_sort(Initial.begin(), Initial.end(),
                             [](auto& A, auto& B) { return A.first < B.first; });
        TFakeSet PlainSet(0, 10), DescendantSet(0, 10);
        auto Plain = MakeList(Initial, &PlainSet);
        auto Descendant = MakeDescendantList(Initial, &DescendantSet);
        ASSERT_TRUE(SameLists(*Plain, *Descendant)) << "round " << Round;
        EXPECT_EQ(PlainSet.Take(), DescendantSet.Take()) << "round " << Round;
        // A point added after the thinning takes the next ID on both.
        EXPECT_EQ(Plain->Add(9, 0.25)->GetID(), Descendant->Add(9, 0.25)->GetID()) << "round " << Round;
    }
}

}  // namespace
}  // namespace fzl
