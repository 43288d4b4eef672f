#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyConsts/FuzzyTypes.h"
#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzySet.h"
#include "FuzzyLogic/FuzzyVariable.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<double, double>>;

TPoints PointsOf(const TFuzzySet& Set) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Set.GetValues()) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}

void ExpectPoints(const TFuzzySet& Set, const TPoints& Expected, double Tolerance = 1e-12) {
    const TPoints Actual = PointsOf(Set);
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        EXPECT_NEAR(Actual[I].first, Expected[I].first, Tolerance) << "point " << I;
        EXPECT_NEAR(Actual[I].second, Expected[I].second, Tolerance) << "point " << I;
    }
}

void SetPoints(TFuzzySet& Set, const TPoints& Points) {
    InUpdate(Set.GetValues(), [&] {
        Set.GetValues().Clear();
        for (const auto& [X, Y] : Points) Set.GetValues().Add(X, Y);
    });
}

// A detached set (range +-2147483647) with the given name and points.
TOwned<TFuzzySet> NewSet(const std::string& Name, const TPoints& Points) {
    auto Set = Make<TFuzzySet>();
    Set->SetName(Name);
    SetPoints(*Set, Points);
    return Set;
}

// Frees a set a cut-off handed to the caller.
struct TFreeSet {
    void operator()(TFuzzySet* Set) const { Set->Free(); }
};
using TResult = std::unique_ptr<TFuzzySet, TFreeSet>;

// A component with one variable over [Min, Max] and no automatic terms.
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;
    TModel(double Min, double Max) {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(Max);
        Variable->SetMinimum(Min);
    }
    TFuzzySet* AddSet(const std::string& Name, const TPoints& Points) {
        TFuzzySet* Set = Variable->GetItems().Add(Name);
        SetPoints(*Set, Points);
        return Set;
    }
    [[nodiscard]] int SetCount() const { return Variable->GetItems().Count(); }
};

const TPoints Triangle = {{0, 0}, {5, 1}, {10, 0}};

TEST(FuzzyHedges, NotAboveAndBelow) {
    auto Set = NewSet("hot", Triangle);
    EXPECT_EQ(Set->Hedge(fhNot), Set.get());
    ExpectPoints(*Set, {{0, 1}, {5, 0}, {10, 1}});
    EXPECT_EQ(Set->GetName(), "not hot");
    EXPECT_EQ(Set->GetExpression(), "[not hot]");

    Set = NewSet("hot", Triangle);
    Set->Hedge(fhAbove);
    ExpectPoints(*Set, {{0, 0}, {5, 0}, {10, 1}});
    EXPECT_EQ(Set->GetName(), "above hot");

    Set = NewSet("hot", Triangle);
    Set->Hedge(fhBelow);
    ExpectPoints(*Set, {{0, 1}, {5, 0}, {10, 0}});

    // Equal maxima below 1: above cuts at the last of them, below at the first.
    const TPoints TwoPeaks = {{0, 0.2}, {2, 0.6}, {4, 0.6}, {6, 0.1}};
    Set = NewSet("p", TwoPeaks);
    Set->Hedge(fhAbove);
    ExpectPoints(*Set, {{0, 0}, {2, 0}, {4, 0}, {6, 0.9}});
    Set = NewSet("p", TwoPeaks);
    Set->Hedge(fhBelow);
    ExpectPoints(*Set, {{0, 0.8}, {2, 0}, {4, 0}, {6, 0}});

    // Degrees above 1 complement to 0, never below.
    Set = NewSet("sum", {{0, 1.5}, {10, 0.25}});
    Set->Hedge(fhNot);
    ExpectPoints(*Set, {{0, 0}, {10, 0.75}});

    // An empty set is accepted and stays empty.
    Set = NewSet("e", {});
    Set->Hedge(fhNot)->Hedge(fhAbove)->Hedge(fhBelow)->Hedge(fhVery)->Hedge(fhPositively);
    EXPECT_EQ(Set->GetValues().Count(), 0);
    EXPECT_EQ(Set->GetName(), "positively [very [below [above [not e]]]]");
}

TEST(FuzzyHedges, IntensifyingHedgesResampleToSevenPoints) {
    const TPoints Wide = {{0, 0}, {6, 1}, {12, 0}};
    auto Set = NewSet("hot", Wide);
    Set->Hedge(fhVery);
    ExpectPoints(*Set, {{0, 0}, {2, 1.0 / 9}, {4, 4.0 / 9}, {6, 1}, {8, 4.0 / 9}, {10, 1.0 / 9}, {12, 0}});
    EXPECT_EQ(Set->GetName(), "very hot");
    EXPECT_EQ(Set->GetExpression(), "[very hot]");
    EXPECT_EQ(Set->GetSetType(), fstUserDefined);

    Set->Hedge(fhNot);
    EXPECT_EQ(Set->GetName(), "not [very hot]");
    EXPECT_EQ(Set->GetExpression(), "[not [very hot]]");

    Set = NewSet("hot", Wide);
    Set->Hedge(fhSomewhat);  // cube root
    EXPECT_NEAR(Set->DegreeOfMembership(2), std::cbrt(1.0 / 3), 1e-12);
    EXPECT_NEAR(Set->DegreeOfMembership(6), 1, 1e-12);

    Set = NewSet("hot", Wide);
    Set->Hedge(fhExtremely);
    EXPECT_NEAR(Set->DegreeOfMembership(4), 8.0 / 27, 1e-12);

    // Called directly, the set keeps the base hedge's name and its expression is cleared.
    Set = NewSet("hot", Wide);
    Set->SetExpression("warm");
    Set->Intensify(3, 2);
    EXPECT_EQ(Set->GetName(), "hot ^ 2.0000");
    EXPECT_EQ(Set->GetExpression(), "");
    ExpectPoints(*Set, Wide);  // already three points, and 0 and 1 are left alone
}

TEST(FuzzyHedges, ExpressionTextForms) {
    // Inside an outer bulk update the reshaping does not clear the expression, so the
    // hedge wraps the old one.
    auto Set = NewSet("hot", Triangle);
    Set->SetExpression("hot or cold");
    InUpdate(Set->GetValues(), [&] {
        Set->Hedge(fhNot);
        EXPECT_EQ(Set->GetExpression(), "not [[hot or cold]]");
    });
    EXPECT_EQ(Set->GetExpression(), "");  // the closing report clears it

    // Normalize with nothing to scale changes nothing, so the expression survives.
    Set = NewSet("z", {{0, 0}, {1, 0}});
    Set->SetExpression("zero");
    Set->Hedge(fhNormalize);
    EXPECT_EQ(Set->GetName(), "normalize z");
    EXPECT_EQ(Set->GetExpression(), "normalize zero");

    // Base hedges build on the expression the set had before.
    Set = NewSet("hot", Triangle);
    Set->SetExpression("very hot");
    Set->Hedge(bfhMultiply, 0.5, true);
    EXPECT_EQ(Set->GetName(), "hot * 0.5000");
    EXPECT_EQ(Set->GetExpression(), "* [very hot]");
    Set->Hedge(bfgCutLessEq, 1, false);
    EXPECT_EQ(Set->GetName(), "[hot * 0.5000] <=X 1.0000");
    EXPECT_EQ(Set->GetExpression(), "<=X [* [very hot]]");
}

TEST(FuzzyHedges, BaseHedgesOnDegrees) {
    auto Set = NewSet("hot", Triangle);
    Set->Hedge(bfhAdd, 0.3, true);
    ExpectPoints(*Set, {{0, 0.3}, {5, 1.3}, {10, 0.3}});  // no upper clamp
    EXPECT_EQ(Set->GetName(), "hot + 0.3000");

    Set = NewSet("hot", Triangle);
    Set->Hedge(bfhSubtract, 0.3, true);
    ExpectPoints(*Set, {{0, 0}, {5, 0.7}, {10, 0}}, 1e-15);

    Set = NewSet("name", Triangle);
    Set->Hedge(bfhCutGreater, 0.6, true);
    ExpectPoints(*Set, {{0, 0}, {5, 0.6}, {10, 0}});
    EXPECT_EQ(Set->GetName(), "name > 0.6000");

    Set = NewSet("a", {{0, 0.1}, {1, 0.2}, {2, 0.6}, {3, 0.9}});
    Set->Hedge(bfhCutLess, 0.2, true);
    Set->Hedge(bfhCutGreaterEq, 0.6, true);
    ExpectPoints(*Set, {{0, 0.2}, {1, 0.2}, {2, 0.6}, {3, 0.6}});

    Set = NewSet("a", {{0, 0.5}, {1, 0.25}, {2, 0.6}});
    Set->Hedge(bfhDivide, 0.5, true);
    ExpectPoints(*Set, {{0, 1}, {1, 0.5}, {2, 1.2}});
    EXPECT_EQ(Set->GetName(), "a / 0.5000");
    Set = NewSet("a", {{0, 0.41}});
    Set->Hedge(bfhDivide, 0.41, true);
    EXPECT_EQ(Set->GetValues().First()->GetY(), 1.0);  // x / x is exactly 1

    // Power touches only degrees strictly between 0 and 1.
    Set = NewSet("a", {{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}});
    Set->Hedge(bfhPower, 2, true);
    ExpectPoints(*Set, {{0, 0}, {1, 0.25}, {2, 1}, {3, 1.5}});

    // Division by zero is refused and leaves the set alone.
    Set = NewSet("a", Triangle);
    EXPECT_THROW(Set->Hedge(bfhDivide, 0, true), EFzyException);
    EXPECT_THROW(Set->Hedge(bfhDivide, 0, false), EFzyException);
    ExpectPoints(*Set, Triangle);
    EXPECT_EQ(Set->GetName(), "a");

    // Overflow saturates instead of storing an infinity.
    Set = NewSet("a", {{0, 0.5}, {1, 1e-300}});
    Set->Hedge(bfhPower, -2, true);
    EXPECT_TRUE(std::isfinite(Set->GetValues().GetItem(1)->GetY()));
    Set->Hedge(bfhMultiply, 1e300, true);
    for (const TFuzzySetValue* Point : Set->GetValues()) EXPECT_TRUE(std::isfinite(Point->GetY()));
}

TEST(FuzzyHedges, BaseHedgesOnXClampAndResort) {
    auto Set = NewSet("hot", Triangle);
    Set->Hedge(bfhAdd, 5, false);
    ExpectPoints(*Set, {{5, 0}, {10, 1}, {15, 0}});
    EXPECT_EQ(Set->GetName(), "hot +X 5.0000");
    EXPECT_EQ(Set->GetExpression(), "+X ");

    // A negative factor mirrors the set; the points are re-sorted.
    Set = NewSet("a", {{1, 0}, {2, 1}, {4, 0.5}});
    Set->Hedge(bfhMultiply, -1, false);
    ExpectPoints(*Set, {{-4, 0.5}, {-2, 1}, {-1, 0}});

    // Power applies to positive X only.
    Set = NewSet("a", {{-2, 0}, {0, 1}, {3, 0}});
    Set->Hedge(bfhPower, 2, false);
    ExpectPoints(*Set, {{-2, 0}, {0, 1}, {9, 0}});
    Set->Hedge(bfhPower, -0.5, false);  // 0 stays 0 rather than going to infinity
    ExpectPoints(*Set, {{-2, 0}, {0, 1}, {1.0 / 3, 0}});

    // Without a variable X is still clamped to +-2147483647.
    Set = NewSet("a", Triangle);
    Set->Hedge(bfhAdd, 3e9, false);
    for (const TFuzzySetValue* Point : Set->GetValues()) EXPECT_EQ(Point->GetX(), 2147483647.0);

    TModel Model(0, 12);
    TFuzzySet* Hot = Model.AddSet("hot", Triangle);
    Hot->Hedge(bfhAdd, 5, false);
    ExpectPoints(*Hot, {{5, 0}, {10, 1}, {12, 0}});
    Hot->Hedge(bfhSubtract, 20, false);
    ExpectPoints(*Hot, {{0, 0}, {0, 1}, {0, 0}});  // all pushed onto the lower bound: a vertical step
}

TEST(FuzzyHedges, Cutoff) {
    auto Set = NewSet("hot", Triangle);
    TResult Union(Set->Cutoff(0.5, true));
    ExpectPoints(*Union, {{2.5, 0.5}, {5, 1}, {7.5, 0.5}});
    EXPECT_EQ(Union->GetName(), "hot or 0.5000");
    TResult Meet(Set->Cutoff(0.5, false));
    ExpectPoints(*Meet, {{0, 0}, {2.5, 0.5}, {7.5, 0.5}, {10, 0}});
    EXPECT_EQ(Meet->GetName(), "hot and 0.5000");
    ExpectPoints(*Set, Triangle);  // the source is untouched

    // Values are clamped into [0, 1]; the name keeps the value as given.
    TResult Full(Set->Cutoff(1.5, true));
    ExpectPoints(*Full, {{0, 1}});
    EXPECT_EQ(Full->GetName(), "hot or 1.5000");
    TResult Zero(Set->Cutoff(-1, false));
    ExpectPoints(*Zero, {{0, 0}});
    TResult Copy(Set->Cutoff(0, true));
    ExpectPoints(*Copy, Triangle);

    // Every point on the far side of the value: the constant itself, not an empty set.
    TResult Low(NewSet("low", {{0, 0.1}, {10, 0.2}})->Cutoff(0.5, true));
    ExpectPoints(*Low, {{0, 0.5}});
    TResult High(NewSet("high", {{0, 0.8}, {10, 1}})->Cutoff(0.5, false));
    ExpectPoints(*High, {{0, 0.5}});

    // The expression, when there is one, gets the keyword and the clamped value.
    Set->SetExpression("[very hot]");
    TResult Expressed(Set->Cutoff(0.5, true));
    EXPECT_EQ(Expressed->GetExpression(), "[very hot] or 0.5000");

    EXPECT_THROW(TResult(NewSet("e", {})->Cutoff(0.5, true)), EFzyException);

    // In a variable over [20, 30] the new set joins the variable and no point leaves the range.
    TModel Model(20, 30);
    TFuzzySet* Warm = Model.AddSet("warm", {{22, 0}, {25, 1}, {28, 0}});
    TFuzzySet* Constant = Warm->Cutoff(1, true);
    EXPECT_EQ(Constant->GetCollection(), &Model.Variable->GetItems());
    EXPECT_EQ(Model.SetCount(), 2);
    ExpectPoints(*Constant, {{22, 1}});  // at the source's first X
    TFuzzySet* Empty = Model.AddSet("empty", {});
    ExpectPoints(*Empty->Cutoff(0, false), {{20, 0}});  // no points: 0 clamped into the range
    ExpectPoints(*Empty->Cutoff(1, false), {});
}

TEST(FuzzyHedges, AlphaCutoff) {
    auto Set = NewSet("hot", Triangle);
    Set->SetExpression("hot");
    TResult Cut(Set->AlphaCutoff(0.5, false));
    ExpectPoints(*Cut, {{0, 0}, {2.5, 0}, {2.5, 0.5}, {5, 1}, {7.5, 0.5}, {7.5, 0}});
    EXPECT_EQ(Cut->GetName(), "hot");
    EXPECT_EQ(Cut->GetExpression(), "");

    TResult Nothing(Set->AlphaCutoff(1, true));
    ExpectPoints(*Nothing, {{0, 0}});
    TResult Clamped(Set->AlphaCutoff(7, true));
    ExpectPoints(*Clamped, {{0, 0}});
    TResult Whole(Set->AlphaCutoff(0, true));
    ExpectPoints(*Whole, Triangle);

    // Strict: a point exactly at alpha is dropped, the edge starts from it.
    auto Ramp = NewSet("ramp", {{0, 0}, {5, 0.5}, {10, 1}});
    TResult Strict(Ramp->AlphaCutoff(0.5, true));
    ExpectPoints(*Strict, {{0, 0}, {5, 0}, {5, 0.5}, {10, 1}});
    TResult FromAlpha(NewSet("r", {{0, 0.5}, {5, 1}})->AlphaCutoff(0.5, true));
    ExpectPoints(*FromAlpha, {{0, 0}, {0, 0.5}, {5, 1}});  // rises from a point exactly at alpha
    // Not strict, alpha 1 keeps the top only.
    TResult Top(Ramp->AlphaCutoff(1, false));
    ExpectPoints(*Top, {{0, 0}, {10, 0}, {10, 1}});

    try {
        TResult Failed(NewSet("e", {})->AlphaCutoff(0.5, false));
        FAIL() << "expected EFzyException";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid operation: \"Alpha Cutoff\".  Fuzzy set is empty");
    }

    TModel Model(20, 30);
    TFuzzySet* Warm = Model.AddSet("warm", {{22, 0.2}, {25, 1}, {28, 0}});
    ExpectPoints(*Warm->AlphaCutoff(1, true), {{22, 0}});
    ExpectPoints(*Warm->AlphaCutoff(0.5, false),
                 {{22, 0}, {23.125, 0}, {23.125, 0.5}, {25, 1}, {26.5, 0.5}, {26.5, 0}}, 1e-9);
    ExpectPoints(*Model.AddSet("empty", {})->AlphaCutoff(1, true), {{20, 0}});
    EXPECT_EQ(Model.SetCount(), 5);
}

TEST(FuzzyHedges, Normalize) {
    auto Set = NewSet("a", {{0, 0}, {1, 0.5}, {2, 0.25}});
    EXPECT_EQ(Set->Normalize(), Set.get());
    ExpectPoints(*Set, {{0, 0}, {1, 1}, {2, 0.5}});

    Set = NewSet("a", {{0, 0.1}, {1, 0.41}});
    Set->Hedge(fhNormalize);
    EXPECT_EQ(Set->GetValues().GetItem(1)->GetY(), 1.0);  // exactly 1, not one ulp off
    EXPECT_EQ(Set->GetName(), "normalize a");

    Set = NewSet("a", {{0, 0}, {1, 0}});
    Set->SetExpression("zero");
    Set->Normalize();
    ExpectPoints(*Set, {{0, 0}, {1, 0}});
    EXPECT_EQ(Set->GetExpression(), "zero");  // nothing was reported

    Set = NewSet("e", {});
    try {
        Set->Hedge(fhNormalize);
        FAIL() << "expected EFzyException";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid operation: \"Get Maximum Y Value\".  Fuzzy set is empty");
    }
    EXPECT_EQ(Set->GetName(), "e");
}

TEST(FuzzyHedges, ContrastHedges) {
    const TPoints Wide = {{0, 0}, {6, 1}, {12, 0}};
    auto Set = NewSet("hot", Wide);
    Set->Hedge(fhPositively);
    ExpectPoints(*Set, {{0, 0}, {2, 2.0 / 9}, {4, 7.0 / 9}, {6, 1}, {8, 7.0 / 9}, {10, 2.0 / 9}, {12, 0}});
    EXPECT_EQ(Set->GetName(), "positively hot");

    Set = NewSet("hot", Wide);
    Set->Hedge(fhGenerally);  // blurs towards 0.5
    const double Low = 0.5 * std::sqrt(1.0 / 3);
    ExpectPoints(*Set, {{0, 0}, {2, Low}, {4, 1 - Low}, {6, 1}, {8, 1 - Low}, {10, Low}, {12, 0}});

    // Degrees above 1 (from unbounded sums) stay, and nothing turns into NaN.
    for (const TFuzzyHedge Hedge : {fhGenerally, fhDefinitely}) {
        Set = NewSet("sum", {{0, 0.25}, {1, 1.5}, {2, 0.75}, {3, 1}});
        Set->FuzzyContrast(3, HedgeModifiers[Hedge]);
        for (const TFuzzySetValue* Point : Set->GetValues()) EXPECT_TRUE(std::isfinite(Point->GetY()));
        EXPECT_EQ(Set->DegreeOfMembership(1), 1.5);
        EXPECT_EQ(Set->DegreeOfMembership(3), 1.0);
    }
    Set = NewSet("neg", {{0, 0}, {1, 0.3}, {2, 0.9}, {3, 1}});
    Set->FuzzyContrast(3, -1);
    for (const TFuzzySetValue* Point : Set->GetValues()) {
        EXPECT_TRUE(std::isfinite(Point->GetY()));
        EXPECT_LE(Point->GetY(), 1.0);
    }
}

TEST(FuzzyHedges, ApproximationSpreadsOverTheRange) {
    TModel Model(0, 10);
    TFuzzySet* Five = Model.AddSet("five", {{5, 0}, {5, 1}, {5, 0}});
    Five->Hedge(fhAbout);
    EXPECT_EQ(Five->GetName(), "about five");
    EXPECT_EQ(Five->GetExpression(), "[about five]");
    const TPoints Points = PointsOf(*Five);
    ASSERT_EQ(Points.size(), 50U);
    EXPECT_EQ(Points.front().first, 0);
    EXPECT_EQ(Points.back().first, 10);
    // A set without width spreads with ratio 0.2: 1 / (1 + (5 * 0.2)^2) at the ends, normalised.
    const double Peak = 1 / (1 + std::pow(5.0 / 49 * 0.2, 2));
    EXPECT_NEAR(Points.front().second, 0.5 / Peak, 1e-12);
    EXPECT_NEAR(Points[24].second, 1, 1e-12);
    for (std::size_t I = 0; I < 25; ++I) EXPECT_NEAR(Points[I].second, Points[49 - I].second, 1e-12);

    // A set as wide as its range: ratio 1, so the distance counts in X units.
    TFuzzySet* Ends = Model.AddSet("ends", {{0, 1}, {10, 1}});
    Ends->FuzzyApproximation(2, 4);
    ASSERT_EQ(Ends->GetValues().Count(), 50);
    EXPECT_NEAR(Ends->GetValues().GetItem(2)->GetY(), 1 / (1 + std::pow(20.0 / 49, 4)), 1e-12);
    EXPECT_LT(Ends->DegreeOfMembership(5), 0.01);

    EXPECT_THROW(Model.AddSet("empty", {})->Hedge(fhNear), EFzyException);
}

TEST(FuzzyHedges, SlightlyPeaksBesideTheCore) {
    // plus S and not very S meet at x = 3.8627 (degree 0.5784) on each side of the peak;
    // normalised and intensified, those become the new peaks, with 0 at 0, 6 and 12.
    for (const bool InVariable : {true, false}) {
        TModel Model(0, 12);
        auto Detached = NewSet("hot", {{0, 0}, {6, 1}, {12, 0}});
        TFuzzySet* Set = InVariable ? Model.AddSet("hot", {{0, 0}, {6, 1}, {12, 0}}) : Detached.get();
        Set->Hedge(fhSlightly);
        EXPECT_EQ(Set->GetName(), "slightly hot");
        EXPECT_EQ(Set->GetExpression(), "[slightly hot]");
        EXPECT_NEAR(Set->DegreeOfMembership(3.862714159369835), 1, 1e-9);
        EXPECT_NEAR(Set->DegreeOfMembership(12 - 3.862714159369835), 1, 1e-9);
        EXPECT_NEAR(Set->DegreeOfMembership(6), 0, 1e-12);
        EXPECT_NEAR(Set->DegreeOfMembership(0), 0, 1e-12);
        EXPECT_NEAR(Set->DegreeOfMembership(12), 0, 1e-12);
        EXPECT_EQ(Model.SetCount(), InVariable ? 1 : 0);  // the temporaries are gone
    }
    EXPECT_THROW(NewSet("e", {})->Hedge(fhSlightly), EFzyException);
}

TEST(FuzzyHedges, EveryNamedHedgeStaysInsideTheRange) {
    TModel Model(20, 30);
    for (int Index = fhNot; Index <= fhGenerally; ++Index) {
        const auto Hedge = static_cast<TFuzzyHedge>(Index);
        TFuzzySet* Set = Model.AddSet("warm", {{21, 0}, {24, 1}, {24, 1.5}, {29, 0.2}});
        Set->Hedge(Hedge);
        const std::string Name = std::string(HedgeNames[Hedge]) + " warm";
        EXPECT_EQ(Set->GetName(), Name);
        EXPECT_EQ(Set->GetExpression(), "[" + Name + "]");
        for (const TFuzzySetValue* Point : Set->GetValues()) {
            EXPECT_GE(Point->GetX(), 20) << Name;
            EXPECT_LE(Point->GetX(), 30) << Name;
            EXPECT_TRUE(std::isfinite(Point->GetY())) << Name;
            EXPECT_GE(Point->GetY(), 0) << Name;
        }
    }
}

}  // namespace
}  // namespace fzl
