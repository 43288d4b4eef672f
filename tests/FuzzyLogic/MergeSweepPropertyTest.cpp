// Random pairs of sets against the membership functions themselves: Zadeh union
// and intersection and the unbounded sum must equal max, min and sum of the
// operands' DegreeOfMembership at every X; the other operators must do so at
// every event; every event must lie on both curves, and the maximum of the
// minimum over the events must be the height of the minimum.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzySet.h"
#include "FuzzyLogic/FuzzyVariable.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<TFzyFloat, TFzyFloat>>;
using TFunction = std::function<TFzyFloat(TFzyFloat, TFzyFloat)>;

constexpr TFzyFloat Exact = 1e-9;
// Results whose neighbouring values lie within the point list's tolerance of each
// other (but differ) may lose a point to its clean-up; they are held to this.
constexpr TFzyFloat NearTolerance = 1e-3;
constexpr int Pairs = 3000;

class TGenerator {
public:
    explicit TGenerator(unsigned Seed) : FRandom(Seed) {}

    TFzyFloat Uniform(TFzyFloat Low, TFzyFloat High) { return std::uniform_real_distribution<TFzyFloat>(Low, High)(FRandom); }
    int Int(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(FRandom); }
    bool Chance(double P) { return Uniform(0, 1) < P; }

    // Degrees from a coarse grid now and then, so that ties and flat stretches occur.
    TFzyFloat Degree() {
        static constexpr TFzyFloat Grid[] = {0, 0.25, 0.5, 0.75, 1};
        return Chance(0.35) ? Grid[Int(0, 4)] : Uniform(0, 1);
    }

    // A random point list; Other (when given) lends X values or a place to start after.
    TPoints Points(const TPoints* Other) {
        const int Kind = Int(0, 19);
        if (Kind == 0) return {};
        int Count = Kind == 1 ? 1 : Int(2, 9);
        TFzyFloat Start = Uniform(-950, 600);
        TFzyFloat Width = Chance(0.2) ? Uniform(0.5, 5) : Uniform(10, 300);
        if (Other != nullptr && !Other->empty() && Chance(0.15)) {
            // Wholly after (or before) the other set.
            Start = Chance(0.5) ? Other->back().first + Uniform(0.5, 40) : Other->front().first - Width - Uniform(0.5, 40);
            Start = std::clamp(Start, -990.0, 990.0 - Width);
        } else if (Other != nullptr && !Other->empty() && Chance(0.5)) {
            // Over the other set's span, so the curves cross.
            Start = Other->front().first - Uniform(0, 20);
            Width = Other->back().first - Start + Uniform(0, 20);
            Start = std::max(Start, -990.0);
            Width = std::clamp(Width, 0.5, 990.0 - Start);
        }
        std::vector<TFzyFloat> Xs;
        for (int I = 0; I < Count; ++I) Xs.push_back(Start + Uniform(0, Width));
        if (Other != nullptr && Chance(0.4))
            for (const auto& [X, Y] : *Other)
                if (Chance(0.4)) Xs.push_back(X);  // shared X values, exactly
        std::sort(Xs.begin(), Xs.end());
        // Distinct X values stay at least 0.01 apart; equal ones stay equal.
        std::vector<TFzyFloat> Kept;
        for (TFzyFloat X : Xs)
            if (Kept.empty() || X == Kept.back() || X - Kept.back() >= 0.01) {
                if (Kept.empty() || X != Kept.back()) Kept.push_back(X);
            }
        const bool Flat = Chance(0.12);
        const TFzyFloat Level = Degree();
        TPoints Result;
        for (TFzyFloat X : Kept) {
            Result.emplace_back(X, Flat ? Level : Degree());
            if (!Flat && Chance(0.15)) {
                // A vertical step of two or three points.
                const int Extra = Int(1, 2);
                for (int I = 0; I < Extra; ++I) Result.emplace_back(X, Degree());
            }
        }
        return Result;
    }

private:
    std::mt19937 FRandom;
};

std::string Text(const TPoints& Points) {
    std::string S;
    char Buffer[64];
    for (const auto& [X, Y] : Points) {
        std::snprintf(Buffer, sizeof Buffer, "(%.17g, %.17g) ", X, Y);
        S += Buffer;
    }
    return S;
}

// The variable the sets live in: [-1000, 1000], no automatic terms.
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;

    TModel() {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(1000);
        Variable->SetMinimum(-1000);
    }
    TFuzzySet* Set(const TPoints& Points) const {
        TFuzzySet* Set = Variable->GetItems().Add();
        TFuzzySetValues& Values = Set->GetValues();
        InUpdate(Values, [&] {
            for (const auto& [X, Y] : Points) Values.Add(X, Y);
        });
        return Set;
    }
};

// The degrees of a curve at X: arriving, at X (the highest), leaving.
struct TLimits {
    TFzyFloat Left, Value, Right;
};

TLimits LimitsAt(const TFuzzySet& Set, TFzyFloat X) {
    const TFuzzySetValues& Values = Set.GetValues();
    TLimits Limits{0, Set.DegreeOfMembership(X), 0};
    int First = -1;
    int Last = -1;
    for (int I = 0; I < Values.Count(); ++I)
        if (Values.GetItem(I)->GetX() == X) {
            if (First < 0) First = I;
            Last = I;
        }
    Limits.Left = First < 0 ? Limits.Value : Values.GetItem(First)->GetY();
    Limits.Right = Last < 0 ? Limits.Value : Values.GetItem(Last)->GetY();
    return Limits;
}

int PointsAt(const TFuzzySet& Set, TFzyFloat X) {
    int Count = 0;
    for (const TFuzzySetValue* Point : Set.GetValues()) Count += Point->GetX() == X ? 1 : 0;
    return Count;
}

std::vector<TFzyFloat> BreakpointsOf(const TFuzzySet& A, const TFuzzySet& B) {
    std::vector<TFzyFloat> Xs;
    for (const TFuzzySetValue* Point : A.GetValues()) Xs.push_back(Point->GetX());
    for (const TFuzzySetValue* Point : B.GetValues()) Xs.push_back(Point->GetX());
    std::sort(Xs.begin(), Xs.end());
    Xs.erase(std::unique(Xs.begin(), Xs.end()), Xs.end());
    return Xs;
}

// Where the curves change order between neighbouring breakpoints: both are
// linear there, so two inner samples give the lines.
std::vector<TFzyFloat> CrossingsOf(const TFuzzySet& A, const TFuzzySet& B, const std::vector<TFzyFloat>& Breakpoints) {
    std::vector<TFzyFloat> Xs;
    for (std::size_t I = 1; I < Breakpoints.size(); ++I) {
        const TFzyFloat U = Breakpoints[I - 1];
        const TFzyFloat V = Breakpoints[I];
        const TFzyFloat P = U + (V - U) / 3;
        const TFzyFloat Q = U + 2 * (V - U) / 3;
        const TFzyFloat DP = A.DegreeOfMembership(P) - B.DegreeOfMembership(P);
        const TFzyFloat DQ = A.DegreeOfMembership(Q) - B.DegreeOfMembership(Q);
        if (DP == DQ) continue;
        const TFzyFloat X = P - DP * (Q - P) / (DQ - DP);
        // Curves meeting at a breakpoint do not cross between breakpoints.
        if (X - U > 1e-9 && V - X > 1e-9) Xs.push_back(X);
    }
    return Xs;
}

// Where the point list's 0.0001 tolerance blurs the ideal result: positions
// closer than that, which the list takes for one X (Spots), or neighbouring
// values that differ by less, which its clean-up may merge (Values).
struct TNearness {
    bool Values = false;
    std::vector<TFzyFloat> Spots;
    [[nodiscard]] bool Any() const { return Values || !Spots.empty(); }
};

TNearness NearnessOf(const TFuzzySet& A, const TFuzzySet& B, const TFunction& F,
                     const std::vector<TFzyFloat>& Breakpoints, const std::vector<TFzyFloat>& Crossings) {
    TNearness Nearness;
    std::vector<TFzyFloat> Xs = Breakpoints;
    Xs.insert(Xs.end(), Crossings.begin(), Crossings.end());
    std::sort(Xs.begin(), Xs.end());
    std::vector<TFzyFloat> Values;
    for (std::size_t I = 0; I < Xs.size(); ++I) {
        if (I > 0 && Xs[I] - Xs[I - 1] < 2e-4) Nearness.Spots.push_back(Xs[I]);
        const TLimits LA = LimitsAt(A, Xs[I]);
        const TLimits LB = LimitsAt(B, Xs[I]);
        Values.push_back(F(LA.Left, LB.Left));
        // A two-point step cut by the other curve also reports the cut.
        const int StepA = PointsAt(A, Xs[I]);
        const int StepB = PointsAt(B, Xs[I]);
        if (StepA + StepB <= 3 && (StepA == 2 || StepB == 2)) {
            const TLimits& Step = StepA == 2 ? LA : LB;
            const TFzyFloat Level = StepA == 2 ? LB.Value : LA.Value;
            if ((Step.Left < Level && Level < Step.Right) || (Step.Left > Level && Level > Step.Right))
                Values.push_back(F(Level, Level));
        }
        Values.push_back(F(LA.Value, LB.Value));
        Values.push_back(F(LA.Right, LB.Right));
    }
    for (std::size_t I = 1; I < Values.size(); ++I) {
        const TFzyFloat Gap = std::abs(Values[I] - Values[I - 1]);
        if (Gap > Exact && Gap <= 1.5e-4) Nearness.Values = true;
    }
    return Nearness;
}

struct TStatistics {
    int Pairs = 0;
    int EmptyOperands = 0;
    int Steps = 0;
    int SharedX = 0;
    int NearPairs = 0;
    int Crossings = 0;
    int Samples = 0;
    int Events = 0;
};

class MergeSweepProperty : public testing::Test {
protected:
    TModel Model;
    TStatistics Statistics;

    // Checks Result against F of both operands at Xs, within Bound, except
    // within the tolerance of the Spots the point list cannot tell apart.
    static testing::AssertionResult Matches(const TFuzzySet& Result, const TFuzzySet& A, const TFuzzySet& B,
                                            const TFunction& F, const std::vector<TFzyFloat>& Xs, TFzyFloat Bound,
                                            const std::vector<TFzyFloat>& Spots) {
        for (TFzyFloat X : Xs) {
            if (std::any_of(Spots.begin(), Spots.end(), [X](TFzyFloat Spot) { return std::abs(X - Spot) < 5e-4; }))
                continue;
            const TFzyFloat Expected = F(A.DegreeOfMembership(X), B.DegreeOfMembership(X));
            const TFzyFloat Actual = Result.DegreeOfMembership(X);
            if (!(std::abs(Actual - Expected) <= Bound))
                return testing::AssertionFailure() << "at X = " << X << ": " << Actual << " instead of " << Expected;
        }
        return testing::AssertionSuccess();
    }

    // The invariants of any point list: X order, no adjacent duplicates, inside the range.
    static testing::AssertionResult WellFormed(const TFuzzySet& Set) {
        const TFuzzySetValues& Values = Set.GetValues();
        for (int I = 0; I < Values.Count(); ++I) {
            const TFuzzySetValue* Point = Values.GetItem(I);
            if (Point->GetX() < -1000 || Point->GetX() > 1000) return testing::AssertionFailure() << "X out of range";
            if (I > 0 && Point->GetX() + 1e-4 < Values.GetItem(I - 1)->GetX())
                return testing::AssertionFailure() << "unsorted at " << I;
            if (I > 0 && Point->Equals(*Values.GetItem(I - 1)))
                return testing::AssertionFailure() << "adjacent duplicates at " << I;
        }
        return testing::AssertionSuccess();
    }

    void CheckPair(const TPoints& PA, const TPoints& PB, std::mt19937& Random) {
        SCOPED_TRACE("A = " + Text(PA) + "\nB = " + Text(PB));
        TFuzzySet* A = Model.Set(PA);
        TFuzzySet* B = Model.Set(PB);
        ++Statistics.Pairs;
        const bool AnyEmpty = A->GetValues().Count() == 0 || B->GetValues().Count() == 0;
        if (AnyEmpty) ++Statistics.EmptyOperands;

        const std::vector<TFzyFloat> Breakpoints = BreakpointsOf(*A, *B);
        if (Breakpoints.size() < PA.size() + PB.size()) {
            std::vector<TFzyFloat> XA;
            for (const auto& Point : PA) XA.push_back(Point.first);
            const bool Shared = std::any_of(PB.begin(), PB.end(), [&](const auto& Point) {
                return std::find(XA.begin(), XA.end(), Point.first) != XA.end();
            });
            if (Shared) ++Statistics.SharedX;
            auto HasStep = [](const TPoints& Points) {
                return std::adjacent_find(Points.begin(), Points.end(), [](const auto& P, const auto& Q) {
                           return P.first == Q.first;
                       }) != Points.end();
            };
            if (HasStep(PA) || HasStep(PB)) ++Statistics.Steps;
        }
        const std::vector<TFzyFloat> Crossings = AnyEmpty ? std::vector<TFzyFloat>{} : CrossingsOf(*A, *B, Breakpoints);
        Statistics.Crossings += static_cast<int>(Crossings.size());

        // Event points (breakpoints and crossings), and everywhere else.
        std::vector<TFzyFloat> AtEvents = Breakpoints;
        AtEvents.insert(AtEvents.end(), Crossings.begin(), Crossings.end());
        std::vector<TFzyFloat> Everywhere = AtEvents;
        if (!Breakpoints.empty()) {
            const TFzyFloat Low = Breakpoints.front() - 20;
            const TFzyFloat High = Breakpoints.back() + 20;
            for (int I = 0; I < 40; ++I) Everywhere.push_back(std::uniform_real_distribution<TFzyFloat>(Low, High)(Random));
            for (TFzyFloat X : Breakpoints) {
                Everywhere.push_back(X - 1e-3);
                Everywhere.push_back(X + 1e-3);
            }
        }
        Statistics.Samples += static_cast<int>(Everywhere.size());

        // An empty operand is no constraint: the result is the other operand.
        const bool OnlyA = B->GetValues().Count() == 0;
        auto Operand = [&](const TFunction& F) -> TFunction {
            if (!AnyEmpty) return F;
            return [OnlyA](TFzyFloat YA, TFzyFloat YB) { return OnlyA ? YA : YB; };
        };

        struct TOperation {
            const char* Name;
            std::function<TFuzzySet*()> Make;
            TFunction F;
            bool Everywhere;
        };
        const TFunction Min = [](TFzyFloat P, TFzyFloat Q) { return std::min(P, Q); };
        const TFunction Max = [](TFzyFloat P, TFzyFloat Q) { return std::max(P, Q); };
        const std::vector<TOperation> Operations{
            {"and", [&] { return A->Intersection(*B); }, Min, true},
            {"or", [&] { return A->Union(*B); }, Max, true},
            {"or-sum", [&] { return A->Union(*B, foSum); }, [](TFzyFloat P, TFzyFloat Q) { return P + Q; }, true},
            {"and-mean", [&] { return A->Intersection(*B, foMean); }, [](TFzyFloat P, TFzyFloat Q) { return (P + Q) / 2; },
             false},
            {"or-mean", [&] { return A->Union(*B, foMean); },
             [](TFzyFloat P, TFzyFloat Q) { return (2 * std::min(P, Q) + 4 * std::max(P, Q)) / 6; }, false},
            {"meansqr", [&] { return A->Union(*B, foMeanSqr); },
             [](TFzyFloat P, TFzyFloat Q) { return (P + Q) / 2 * ((P + Q) / 2); }, false},
            {"meansqrt", [&] { return A->Intersection(*B, foMeanSqrt); },
             [](TFzyFloat P, TFzyFloat Q) { return std::sqrt((P + Q) / 2); }, false},
            {"and-product", [&] { return A->Intersection(*B, foProduct); }, [](TFzyFloat P, TFzyFloat Q) { return P * Q; },
             false},
            {"or-product", [&] { return A->Union(*B, foProduct); },
             [](TFzyFloat P, TFzyFloat Q) { return P + Q - P * Q; }, false},
            {"and-boundedsum", [&] { return A->Intersection(*B, foBoundedSum); },
             [](TFzyFloat P, TFzyFloat Q) { return std::max(0.0, P + Q - 1); }, false},
            {"or-boundedsum", [&] { return A->Union(*B, foBoundedSum); },
             [](TFzyFloat P, TFzyFloat Q) { return std::min(1.0, P + Q); }, false},
        };
        bool Near = false;
        for (const TOperation& Operation : Operations) {
            SCOPED_TRACE(Operation.Name);
            const TFunction F = Operand(Operation.F);
            TFuzzySet* Result = Operation.Make();
            const TNearness Nearness = AnyEmpty ? TNearness{} : NearnessOf(*A, *B, F, Breakpoints, Crossings);
            if (Operation.Everywhere) Near = Near || Nearness.Any();
            EXPECT_TRUE(Matches(*Result, *A, *B, F, Operation.Everywhere ? Everywhere : AtEvents,
                                Nearness.Any() ? NearTolerance : Exact, Nearness.Spots));
            EXPECT_TRUE(WellFormed(*Result));
            if (PA.empty() && PB.empty()) {
                EXPECT_EQ(Result->GetValues().Count(), 0);
            }
            Result->Free();
        }
        if (Near) ++Statistics.NearPairs;

        // Every event lies on both curves and comes in X order; the maximum of the
        // minimum over the events is the height of the minimum.
        TFzyFloat LastX = -1e300;
        TFzyFloat Height = 0;
        A->Iterate(*B, [&](TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) {
            ++Statistics.Events;
            EXPECT_GE(X1, LastX);
            LastX = X1;
            if (!AnyEmpty) {
                EXPECT_TRUE(OnCurve(*A, X1, Y1)) << "A at " << X1 << ": " << Y1;
                EXPECT_TRUE(OnCurve(*B, X2, Y2)) << "B at " << X2 << ": " << Y2;
            }
            Height = std::max(Height, std::min(Y1, Y2));
            return false;
        });
        TFzyFloat Expected = 0;
        const TFunction MinOrOnly = Operand(Min);
        for (TFzyFloat X : AtEvents) {
            const TLimits LA = LimitsAt(*A, X);
            const TLimits LB = LimitsAt(*B, X);
            Expected = std::max({Expected, MinOrOnly(LA.Left, LB.Left), MinOrOnly(LA.Value, LB.Value),
                                 MinOrOnly(LA.Right, LB.Right)});
        }
        EXPECT_NEAR(Height, Expected, Exact);
        EXPECT_NEAR(A->GetCorrelationStrength(*B), Expected, Exact);
        A->Free();
        B->Free();
    }

    // Y is a degree the curve takes at X: the value there, or one of a step's points.
    static bool OnCurve(const TFuzzySet& Set, TFzyFloat X, TFzyFloat Y) {
        const TFuzzySetValues& Values = Set.GetValues();
        TFzyFloat Low = 2;
        TFzyFloat High = -1;
        for (const TFuzzySetValue* Point : Values)
            if (Point->GetX() == X) {
                Low = std::min(Low, Point->GetY());
                High = std::max(High, Point->GetY());
            }
        if (High < 0) return std::abs(Set.DegreeOfMembership(X) - Y) <= Exact;
        return Y >= Low - Exact && Y <= High + Exact;
    }
};

TEST_F(MergeSweepProperty, CombinationsEqualTheFunctionsOfTheMembershipCurves) {
    TGenerator Generator(20240611);
    std::mt19937 Samples(7);
    for (int I = 0; I < Pairs && !HasFailure(); ++I) {
        SCOPED_TRACE("pair " + std::to_string(I));
        const TPoints A = Generator.Points(nullptr);
        const TPoints B = Generator.Points(&A);
        if (Generator.Chance(0.5))
            CheckPair(A, B, Samples);
        else
            CheckPair(B, A, Samples);
    }
    RecordProperty("pairs", Statistics.Pairs);
    RecordProperty("pairs_with_an_empty_operand", Statistics.EmptyOperands);
    RecordProperty("pairs_with_a_step", Statistics.Steps);
    RecordProperty("pairs_sharing_an_x", Statistics.SharedX);
    RecordProperty("pairs_near_the_tolerance", Statistics.NearPairs);
    RecordProperty("crossings", Statistics.Crossings);
    RecordProperty("samples", Statistics.Samples);
    RecordProperty("events", Statistics.Events);
    // The generator must exercise what it is meant to, and only rarely come near the tolerance.
    EXPECT_GT(Statistics.EmptyOperands, Pairs / 40);
    EXPECT_GT(Statistics.Steps, Pairs / 4);
    EXPECT_GT(Statistics.SharedX, Pairs / 10);
    EXPECT_GT(Statistics.Crossings, Pairs);
    EXPECT_LT(Statistics.NearPairs, Pairs / 15);
}

}  // namespace
}  // namespace fzl
