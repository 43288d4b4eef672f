#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestModel.h"

namespace fzl {
namespace {

using namespace test;                     // TModel, FreeSet, PointsOf, Text, ErrorOf
using TNumbers = std::vector<TFzyFloat>;  // points or events, flattened

// The points of a result, flattened; the handle frees it.
TNumbers PointsOf(const TOwned<TFuzzySet>& Set) {
    TNumbers Numbers;
    for (const auto& [X, Y] : test::PointsOf(*Set)) Numbers.insert(Numbers.end(), {X, Y});
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
    // Crossing triangles meeting at (0, 0) first; a flat end never meeting B; a flat set at a triangle's
    // level; a step cut by B; steps of both meeting at their tops; points within the tolerance share an event
    // (A's X).
    const struct {
        TPoints A, B;
        TNumbers Intersection, Events;  // each event X1, Y1, X2, Y2
    } Cases[] = {
        // clang-format off
        {{{0, 0}, {10, 1}, {20, 0}}, {{10, 0}, {20, 1}, {30, 0}}, {10, 0, 15, 0.5, 20, 0},
         {0, 0, 0, 0, 0, 0, 0, 0, 10, 1, 10, 0, 15, 0.5, 15, 0.5, 20, 0, 20, 1, 30, 0, 30, 0}},
        {{{0, 0}, {10, 1}}, {{20, 0.5}, {30, 0}}, {0, 0, 5, 0.5, 20, 0.5, 30, 0},
         {0, 0, 0, 0.5, 5, 0.5, 5, 0.5, 10, 1, 10, 0.5, 20, 1, 20, 0.5, 30, 1, 30, 0}},
        {{{0, 0}, {10, 1}, {20, 0}}, {{0, 0.4}, {20, 0.4}}, {0, 0, 4, 0.4, 16, 0.4, 20, 0},
         {0, 0, 0, 0.4, 4, 0.4, 4, 0.4, 10, 1, 10, 0.4, 16, 0.4, 16, 0.4, 20, 0, 20, 0.4}},
        {{{0, 0}, {5, 0}, {5, 1}, {10, 1}}, {{0, 0.2}, {10, 0.8}}, {5, 0, 5, 0.5, 10, 0.8},
         {0, 0, 0, 0.2, 5, 0, 5, 0.5, 5, 0.5, 5, 0.5, 5, 1, 5, 0.5, 10, 1, 10, 0.8}},
        {{{0, 0.2}, {5, 0.2}, {5, 0.9}, {10, 0.9}}, {{0, 0.9}, {5, 0.9}, {5, 0.1}, {10, 0.1}}, {5, 0.2, 5, 0.9, 5, 0.1},
         {0, 0.2, 0, 0.9, 5, 0.2, 5, 0.9, 5, 0.9, 5, 0.9, 5, 0.9, 5, 0.1, 10, 0.9, 10, 0.1}},
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

    // An empty operand gives the other's points as events, seen by both sides, and is no
    // constraint: no operation squares or doubles the other set.
    auto Empty = FreeSet({}, "E");
    auto A = FreeSet({{1, 0.5}, {3, 1}, {3, 0.2}}, "A");
    EXPECT_TRUE(Same(EventsOf(*Empty, *A), {1, 0.5, 1, 0.5, 3, 1, 3, 1, 3, 0.2, 3, 0.2}));
    const TOwned<TFuzzySet> Product = A->Intersection(*Empty, foProduct);
    EXPECT_EQ(Product->GetName(), "A and-product E");
    EXPECT_TRUE(Same(PointsOf(Product), {1, 0.5, 3, 1, 3, 0.2}));
    EXPECT_TRUE(Same(PointsOf(Empty->Intersection(*A, foMean)), {1, 0.5, 3, 1, 3, 0.2}));
    EXPECT_TRUE(Same(PointsOf(Empty->Union(*Empty, foSum)), {}));

    // Iterate reports that the callback stopped it.
    EXPECT_TRUE(A->Iterate(*FreeSet({{2, 0}, {4, 1}}),
                           [](TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat) { return true; }));
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
}

TEST(FuzzySetOperations, EveryOperationOfTheTablesOnOnePair) {
    // A rises from 0.2 to 0.8, B falls from 0.6 to 0.4; they cross at (5, 0.5).
    auto A = FreeSet({{0, 0.2}, {10, 0.8}}, "A");
    auto B = FreeSet({{0, 0.6}, {10, 0.4}}, "B");
    const TFzyFloat R4 = std::sqrt(0.4), R5 = std::sqrt(0.5), R6 = std::sqrt(0.6);
    const struct {
        TFuzzyOperation Operation;
        std::string Suffix;
        TNumbers And, Or;  // no intersection for foSum
    } Cases[] = {
        {foZadeh, "", {0, 0.2, 5, 0.5, 10, 0.4}, {0, 0.6, 5, 0.5, 10, 0.8}},
        {foMean, "-mean", {0, 0.4, 5, 0.5, 10, 0.6}, {0, 2.8 / 6, 5, 0.5, 10, 4.0 / 6}},
        {foMeanSqr, "-meansqr", {0, 0.16, 5, 0.25, 10, 0.36}, {0, 0.16, 5, 0.25, 10, 0.36}},
        {foMeanSqrt, "-meansqrt", {0, R4, 5, R5, 10, R6}, {0, R4, 5, R5, 10, R6}},
        {foProduct, "-product", {0, 0.12, 5, 0.25, 10, 0.32}, {0, 0.68, 5, 0.75, 10, 0.88}},
        {foBoundedSum, "-boundedsum", {5, 0, 10, 0.2}, {0, 0.8, 5, 1}},
        {foSum, "-sum", {}, {0, 0.8, 5, 1, 10, 1.2}},
    };
    for (const auto& [Operation, Suffix, And, Or] : Cases)
        for (const bool IsUnion : {false, true}) {
            if (!IsUnion && Operation == foSum) continue;
            const TOwned<TFuzzySet> Result =
                IsUnion ? A->Union(*B, Operation) : A->Intersection(*B, Operation);
            const std::string Name = (IsUnion ? "A or" : "A and") + Suffix + " B";
            EXPECT_EQ(Result->GetName() + " = " + Result->GetExpression(), Name + " = " + Name);
            EXPECT_TRUE(Same(PointsOf(Result), IsUnion ? Or : And)) << Name;
        }
    EXPECT_TRUE(Same(PointsOf(A->Union(*B)), Cases[0].Or));  // Zadeh by default
}

// A result joins the first operand's variable while its handle lives. A handle that outlives the
// variable lets go instead of dangling, also after being moved and converted.
TEST(FuzzySetOperations, ResultsJoinTheFirstOperandsVariableWhileTheirHandleLives) {
    TOwned<TFuzzySet> Moved;
    TOwned<TGCollectionItem> Converted;
    {
        test::TModel Model(0, 1);
        TFuzzySet *Low = Model.Add({{0, 1}, {1, 0}}, "low"), *High = Model.Add({{0, 0}, {1, 1}}, "high");
        TFuzzySets& Sets = Model.Variable->GetItems();
        // Invalid operations raise before anything is created.
        EXPECT_EQ(test::ErrorOf([&] { (void)Low->Intersection(*High, foSum); }) +
                      test::ErrorOf([&] { (void)Low->Union(*High, static_cast<TFuzzyOperation>(9)); }),
                  "Invalid fuzzy operation: \"foSum:Invalid fuzzy operation: \"9:");
        EXPECT_EQ(Sets.Count(), 2);
        TOwned<TFuzzySet> Union = Low->Union(*High);
        EXPECT_EQ(Sets.GetItemByName("low or high"), Union.get());
        EXPECT_EQ(FreeSet({{0, 0}})->Union(*High)->GetCollection(), nullptr);     // free A, free result
        const TOwned<TFuzzySet> Wider = Low->Union(*FreeSet({{-5, 0}, {6, 1}}));  // clamped into the range
        EXPECT_EQ(std::pair(Wider->GetValues().First()->GetX(), Wider->GetValues().Last()->GetX()),
                  std::pair(0.0, 1.0));
        Union.reset();
        EXPECT_EQ(Sets.Count(), 3);   // low, high, Wider
        Low->Union(*High).release();  // left to the variable
        EXPECT_EQ(Sets.Last()->GetName(), "low or high");

        Union = Low->Union(*High);
        Moved = std::move(Union);
        EXPECT_FALSE(Union);
        Converted = Low->Intersection(*High);
        EXPECT_EQ(Sets.Last(), Converted.get());
    }
    EXPECT_FALSE(Moved);
    EXPECT_FALSE(Converted);
}

TEST(FuzzySetOperations, GeometryAndOverlap) {
    // Segment crossings (not used by the sweep): a crossing, parallel lines, collinear segments (true at the
    // end of smaller X, overlapping or not), a one-point segment on the line and off it.
    TFzyFloat X = -1, Y = -1;
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(1, 0, 1, 2, 0, 0.7, 2, 0.7, X, Y) && X == 1 && Y == 0.7);
    EXPECT_FALSE(TFuzzySet::LineSegmentIntersects(0, 0, 2, 2, 0, 1, 2, 3, X, Y));
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(0, 0, 1, 1, 5, 5, 6, 6, X, Y) && X == 1 && Y == 1);
    EXPECT_TRUE(TFuzzySet::LineSegmentIntersects(5, 5, 5, 5, 0, 0, 2, 2, X, Y) && X == 2 && Y == 2);
    EXPECT_FALSE(TFuzzySet::LineSegmentIntersects(1, 0, 1, 0, 0, 0, 2, 2, X, Y));
    // The point form gives none for parallel lines; slopes of steps are +1 or -1.
    const auto P = [](TFzyFloat X, TFzyFloat Y) {
        TOwned<TFuzzySetValue> Point = Make<TFuzzySetValue>();
        Point->SetValue(X, Y);
        return Point;
    };
    EXPECT_EQ(TFuzzySet::LineSegmentIntersects(*P(0, 0), *P(2, 2), *P(0, 1), *P(2, 3)), nullptr);
    const auto Slope = [&](TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) {
        return TFuzzySet::GetSlope(*P(X1, Y1), *P(X2, Y2));
    };
    EXPECT_EQ(
        (TNumbers{Slope(1, 0, 1, 1), Slope(1, 1, 1, 0), Slope(1, 0.5, 1.00005, 0.5), Slope(0, 0, 2, 1)}),
        (TNumbers{1, -1, 0, 0.5}));

    auto Meets = [](const TPoints& A, const TPoints& B) { return FreeSet(A)->Intersects(*FreeSet(B)); };
    // Apart, touching at zero height, empty, a zero set against a non-zero one: no overlap.
    EXPECT_FALSE(Meets({{0, 0}, {5, 1}, {10, 0}}, {{20, 0}, {25, 1}, {30, 0}}) ||
                 Meets({{0, 1}, {5, 0}}, {{5, 0}, {10, 1}}) || Meets({}, {{0, 1}}) ||
                 Meets({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}));
    // Touching where either side is above zero, overlapping spans, two zero sets over one span: overlap.
    EXPECT_TRUE(Meets({{0, 0}, {5, 1}}, {{5, 1}, {10, 0}}) && Meets({{5, 1}, {10, 0}}, {{0, 0}, {5, 1}}) &&
                Meets({{0, 0}, {5, 1}}, {{5, 0}, {10, 0.5}}) &&
                Meets({{0, 0.5}, {5, 0}}, {{5, 1}, {10, 0}}) && Meets({{0, 0}, {10, 1}}, {{5, 0}, {15, 1}}) &&
                Meets({{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}));
}

TEST(FuzzySetOperations, DegreesAndCoordinatesNearTheLargestDoubleStayFinite) {
    // (1e308 - 0) * (7 - 5) overflows before its division by 5: the line is still 4e307 at 7.
    EXPECT_DOUBLE_EQ(TFuzzySet::InterpolateY(5, 0, 10, 1e308, 7), 4e307);
    EXPECT_DOUBLE_EQ(TFuzzySet::InterpolateX(5, 0, 10, 1e308, 4e307), 7.0);
    EXPECT_DOUBLE_EQ(TFuzzySet::InterpolateY(-1e308, 0, 1e308, 1, 0), 0.5);  // the span overflows
    EXPECT_EQ(TFuzzySet::InterpolateY(0, 0, 3, 1, 1), 1.0 / 3);              // ordinary lines as always
    const auto Near = [](const TNumbers& Actual, const TNumbers& Expected) {
        bool Equal = Actual.size() == Expected.size();
        for (std::size_t I = 0; Equal && I < Actual.size(); ++I)
            Equal = std::abs(Actual[I] - Expected[I]) <= 1e-12 * std::max(1.0, std::abs(Expected[I]));
        return Equal ? testing::AssertionSuccess()
                     : testing::AssertionFailure() << "got " << testing::PrintToString(Actual);
    };
    const TOwned<TFuzzySet> Ramp = FreeSet({{5, 0}, {10, 1e308}});
    EXPECT_DOUBLE_EQ(Ramp->DegreeOfMembership(7), 4e307);
    // A spike under the ramp is absorbed by the union. A falling line crosses the ramp at
    // (8, 6e307), where the difference of the degrees at the ends (2.5e308) overflows.
    const TOwned<TFuzzySet> Under = Ramp->Union(*FreeSet({{7, 0}, {7, 1}, {7, 0}}));
    EXPECT_TRUE(Near(PointsOf(Under), {5, 0, 7, 4e307, 10, 1e308}));
    const TOwned<TFuzzySet> Across = Ramp->Union(*FreeSet({{5, 1.5e308}, {10, 0}}));
    EXPECT_TRUE(Near(PointsOf(Across), {5, 1.5e308, 8, 6e307, 10, 1e308}));
    EXPECT_TRUE(std::isfinite(Under->CenterOfGravity()) && std::isfinite(Across->CenterOfGravity()));

    // Every operation's degree rule on degrees near the largest double: the union mean's
    // 4 * 1.5e308 and the sums overflow before any division, the products beyond any double.
    const TOwned<TFuzzySet> High = FreeSet({{0, 1.5e308}, {10, 1.7e308}});
    const TOwned<TFuzzySet> Low = FreeSet({{0, 7}, {10, 1.6e308}});
    for (int Operation = foZadeh; Operation <= foSum; ++Operation) {
        const auto Which = static_cast<TFuzzyOperation>(Operation);
        const TOwned<TFuzzySet> Results[] = {High->Union(*Low, Which), High->Union(*High, Which),
                                             High->Intersection(*Low, Which == foSum ? foBoundedSum : Which)};
        for (const TOwned<TFuzzySet>& Result : Results) {
            for (const TFzyFloat Degree : PointsOf(Result)) EXPECT_TRUE(std::isfinite(Degree)) << Operation;
            EXPECT_TRUE(std::isfinite(Result->CenterOfGravity())) << Operation;
        }
    }
    // The union mean of 1.5e308 and 7, (2 * 7 + 4 * 1.5e308) / 6, is 1e308.
    EXPECT_DOUBLE_EQ(High->Union(*Low, foMean)->DegreeOfMembership(0), 1e308);
}

// Derived sets (clones, scaled copies, combinations) as the engine makes them quickly: a
// descendant still sees every rename through its own SetName, and a recycled set of the
// base class carries nothing over from its previous use.
class TWatchedSet : public TFuzzySet {
public:
    using TFuzzySet::TFuzzySet;
    void SetName(const std::string& Value) override {
        Log.push_back(Value);
        TFuzzySet::SetName(Value);
    }
    [[nodiscard]] TFuzzySetClass ClassType() const override { return TFuzzySetClass::Of<TWatchedSet>(); }
    static inline std::vector<std::string> Log;

protected:
    ~TWatchedSet() override = default;
};

std::string PointsText(const TFuzzySet& Set) {
    std::string Text;
    for (const TFuzzySetValue* Point : Set.GetValues())
        Text += std::to_string(Point->GetID()) + ':' + FormatFixed(Point->GetX(), 1) + ',' +
                FormatFixed(Point->GetY(), 2) + ' ';
    return Text;
}

TEST(DerivedSets, DescendantsAreRenamedThroughSetNameAndRecycledSetsLookNew) {
    TWatchedSet::Log.clear();
    const TOwned<TFuzzySet> A = Make<TWatchedSet>(nullptr);
    A->SetName("a b");
    A->CreateTriangleFunctionValues(0, 10, 20);
    const TOwned<TFuzzySet> B = Make<TWatchedSet>(nullptr);
    B->SetName("c");
    B->CreateTriangleFunctionValues(10, 20, 30);
    A->Correlate(0.5, fcmProduct);
    const TOwned<TFuzzySet> Union = A->Union(*B);
    EXPECT_EQ(TWatchedSet::Log,
              (std::vector<std::string>{"a b", "c", "[a b] * 0.5000", "[[a b] * 0.5000] or c"}));

    const TOwned<TFuzzySet> Term = Make<TFuzzySet>(nullptr);
    Term->SetName("t");
    Term->CreateTriangleFunctionValues(0, 10, 20);
    {
        const TOwned<TFuzzySet> First = Term->Clone();  // goes back to the pool below
        First->SetComment("used");
        First->SetTag(7);
        First->Correlate(0.25, fcmProduct);
        First->GetValues().Add(30, 0.5);
    }
    const TOwned<TFuzzySet> Second = Term->Clone();
    EXPECT_EQ(Second->GetName(), "t");
    EXPECT_EQ(Second->GetComment(), "");
    EXPECT_EQ(Second->GetTag(), 0);
    EXPECT_EQ(PointsText(*Second), "0:0.0,0.00 1:10.0,1.00 2:20.0,0.00 ");
    Second->Correlate(0.5, fcmProduct);
    EXPECT_EQ(Second->GetName(), "t * 0.5000");
    EXPECT_EQ(PointsText(*Second), "0:0.0,0.00 1:10.0,0.50 2:20.0,0.00 ");
}

}  // namespace
}  // namespace fzl
