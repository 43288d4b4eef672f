// Rule firing and defuzzification: correlation strength, correlation,
// inference, centre of gravity, mean of maxima and the set comparisons.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>

#include "internal/SetCopy.h"

namespace fzl {
namespace {

// The operation each inference method combines with, indexed by TFuzzyInferenceMethod.
constexpr std::array<TFuzzyOperation, fimBoundedSum + 1> InferenceOperations = {foZadeh, foSum, foMean,
                                                                                foProduct, foBoundedSum};

[[noreturn]] void RaiseInvalidMethod(int Ordinal) {
    throw EFzyException(SInvalidFuzzyOperation, {IntToStr(Ordinal)});
}

// Area under the line from (X0, Y0) to (X1, Y1) and its first moment about Ref,
// in closed form. A vertical step (X1 == X0) has no area.
struct TAreaMoment {
    TFzyFloat Area = 0;
    TFzyFloat Moment = 0;

    void AddSegment(TFzyFloat X0, TFzyFloat Y0, TFzyFloat X1, TFzyFloat Y1, TFzyFloat Ref) noexcept {
        const TFzyFloat DX = X1 - X0;
        if (DX <= 0) return;
        // Moments about Ref keep the precision of narrow sets lying far from 0.
        const TFzyFloat U0 = X0 - Ref;
        const TFzyFloat U1 = X1 - Ref;
        Area += 0.5 * DX * (Y0 + Y1);
        Moment += DX * (Y0 * (2 * U0 + U1) + Y1 * (U0 + 2 * U1)) / 6;
    }
};

}  // namespace

// ---- Correlation strength and comparisons -------------------------------------------------

TFzyFloat TFuzzySet::GetCorrelationStrength(const TFuzzySet& FuzzySet) {
    FMax = 0;
    Iterate(FuzzySet, [this](TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) {
        return FuzzyOperatorMaxOfMin(X1, Y1, X2, Y2);
    });
    return FMax;
}

// The sweep against the spike reports 0 everywhere but at the spike's station: min(Y, 0) off it,
// no crossing (the spike's curve is 0 there), and there min(Y, 1) with Y the premise's highest
// point when one of its runs of points (those within the tolerance of the run's first X) starts
// within the tolerance of X, else its curve at X. Against an empty set it reports the spike's
// own points: 1. The walk below takes the runs in the sweep's order.
TFzyFloat TFuzzySet::GetCrispCorrelationStrength(TFzyFloat X) {
    const TFuzzySetValues& Points = *FValues;
    const int Count = Points.Count();
    FMax = 0;
    if (Count == 0) {
        FMax = 1;
        return FMax;
    }
    TFzyFloat Y = Points.GetItem(Count - 1)->GetY();  // past every run: the flat extension
    for (int Start = 0; Start < Count;) {
        const TFuzzySetValue* First = Points.GetItem(Start);
        const TFzyFloat RunX = First->GetX();
        const bool AtX = FloatEquals(RunX, X);
        if (!AtX && !(X > RunX)) {
            if (Start == 0) {
                Y = First->GetY();
            } else {
                const TFuzzySetValue* Previous = Points.GetItem(Start - 1);
                Y = InterpolateY(Previous->GetX(), Previous->GetY(), RunX, First->GetY(), X);
            }
            break;
        }
        TFzyFloat RunMax = First->GetY();
        int End = Start + 1;
        for (; End < Count; ++End) {
            const TFuzzySetValue* Point = Points.GetItem(End);
            if (!FloatEquals(Point->GetX(), RunX)) break;
            RunMax = std::max(RunMax, Point->GetY());
        }
        if (AtX) {
            Y = RunMax;
            break;
        }
        Start = End;
    }
    FMax = std::max(FMax, std::min(Y, 1.0));
    return FMax;
}

bool TFuzzySet::FuzzyOperatorMaxOfMin(TFzyFloat /*X1*/, TFzyFloat Y1, TFzyFloat /*X2*/, TFzyFloat Y2) {
    FMax = std::max(FMax, std::min(Y1, Y2));
    return false;  // the height needs every event of the sweep
}

bool TFuzzySet::FuzzyOperatorMinThreshold(TFzyFloat /*X1*/, TFzyFloat Y1, TFzyFloat /*X2*/,
                                          TFzyFloat Y2) const {
    return GetSettings().Threshold <= std::min(Y1, Y2);
}

// FuzzyOperatorMinThreshold with the threshold read once rather than once per event.
bool TFuzzySet::Equals(const TFuzzySet& FuzzySet) const {
    const TFzyFloat Threshold = GetSettings().Threshold;
    return Iterate(FuzzySet, [Threshold](TFzyFloat /*X1*/, TFzyFloat Y1, TFzyFloat /*X2*/, TFzyFloat Y2) {
        return Threshold <= std::min(Y1, Y2);
    });
}

TFzyFloat TFuzzySet::FuzzyEquals(const TFuzzySet& FuzzySet) { return GetCorrelationStrength(FuzzySet); }

// ---- Correlation and inference -------------------------------------------------------------

TBaseFuzzyHedge TFuzzySet::CorrelationHedge(TFuzzyCorrelationMethod Method) {
    switch (Method) {
        case fcmMinimum: return bfhCutGreater;
        case fcmProduct: return bfhMultiply;
    }
    RaiseInvalidMethod(Method);
}

TFuzzySet* TFuzzySet::Correlate(TFzyFloat Value, TFuzzyCorrelationMethod Method) {
    return Hedge(CorrelationHedge(Method), Value, true);
}

TFuzzySet* TFuzzySet::Correlate(TFzyFloat Value) { return Correlate(Value, GetSettings().CorrelationMethod); }

TFuzzyOperation TFuzzySet::InferenceOperation(TFuzzyInferenceMethod Method) {
    if (static_cast<std::size_t>(Method) >= InferenceOperations.size()) RaiseInvalidMethod(Method);
    return InferenceOperations[Method];
}

TOwned<TFuzzySet> TFuzzySet::Infer(const TFuzzySet& FuzzySet, TFuzzyInferenceMethod Method,
                                   bool Intersect) const {
    const TFuzzyOperation Operation = InferenceOperation(Method);
    return Intersect ? Intersection(FuzzySet, Operation) : Union(FuzzySet, Operation);
}

TOwned<TFuzzySet> TFuzzySet::Infer(const TFuzzySet& FuzzySet, bool Intersect) const {
    return Infer(FuzzySet, GetSettings().InferenceMethod, Intersect);
}

// ---- Defuzzification ----------------------------------------------------------------------

// The centroid of the membership function as DegreeOfMembership sees it: linear
// between the points and flat from the end points out to the variable's range.
// A side without a variable's bound gets no flat extension, so a free set's
// centre is the centroid of the area under its own points.
TFzyFloat TFuzzySet::CenterOfGravity() const {
    const TFuzzySetValues& Points = *FValues;
    if (Points.Count() == 0) return 0;
    const TFuzzySetValue& First = *Points.First();
    const TFuzzySetValue& Last = *Points.Last();
    TFzyFloat Min = GetXRange(1);
    TFzyFloat Max = GetXRange(0);
    if (Min <= -UnboundedX) Min = First.GetX();
    if (Max >= UnboundedX) Max = Last.GetX();
    // No width to weigh: the middle of the range.
    if (Points.Count() == 1 || FloatEquals(First.GetX(), Last.GetX())) return Min + (Max - Min) * 0.5;
    const TFzyFloat Centre = Centroid(Min, Max, 1, 1);
    if (std::isfinite(Centre)) return Centre;
    // Degrees or X so large that the area or the moment overflowed. Scaled degrees leave the
    // centroid where it is and scaled X scale it, so both are brought below 2 by powers of two
    // (exact) and the centroid scaled back.
    TFzyFloat LargestX = std::max(std::fabs(Min), std::fabs(Max));
    TFzyFloat LargestY = 0;
    for (const TFuzzySetValue* Point : Points) {
        LargestX = std::max(LargestX, std::fabs(Point->GetX()));
        LargestY = std::max(LargestY, Point->GetY());
    }
    const auto ScaleOf = [](TFzyFloat Largest) {
        return Largest > 1 ? std::ldexp(1.0, -std::ilogb(Largest)) : 1.0;
    };
    const TFzyFloat XScale = ScaleOf(LargestX);
    return Centroid(Min, Max, XScale, ScaleOf(LargestY)) / XScale;
}

// Linear between the points, flat from the end points out to Min and Max; X multiplied by
// XScale and the degrees by YScale.
TFzyFloat TFuzzySet::Centroid(TFzyFloat Min, TFzyFloat Max, TFzyFloat XScale, TFzyFloat YScale) const {
    const TFuzzySetValues& Points = *FValues;
    const TFuzzySetValue& First = *Points.First();
    const TFuzzySetValue& Last = *Points.Last();
    const TFzyFloat Ref = First.GetX() * XScale;
    TAreaMoment Sum;
    if (First.GetY() > 0)
        Sum.AddSegment(Min * XScale, First.GetY() * YScale, Ref, First.GetY() * YScale, Ref);
    const TFuzzySetValue* Previous = nullptr;
    for (const TFuzzySetValue* Point : Points) {
        if (Previous != nullptr)
            Sum.AddSegment(Previous->GetX() * XScale, Previous->GetY() * YScale, Point->GetX() * XScale,
                           Point->GetY() * YScale, Ref);
        Previous = Point;
    }
    if (Last.GetY() > 0)
        Sum.AddSegment(Last.GetX() * XScale, Last.GetY() * YScale, Max * XScale, Last.GetY() * YScale, Ref);
    if (Sum.Area == 0) return 0;
    return Ref + Sum.Moment / Sum.Area;
}

// Only points count; a value within the tolerance of the running maximum joins it
// rather than replacing it.
TFzyFloat TFuzzySet::MeanOfMaxima() const {
    const TFuzzySetValues& Points = *FValues;
    if (Points.Count() == 0) return 0;
    // The first point seeds the maximum, and an equal degree always counts as equal: where
    // the tolerance vanishes in a degree's rounding (1e16, say), the tolerance test alone
    // would let equal maxima fall out of the mean.
    TFzyFloat SumX = Points.First()->GetX();
    TFzyFloat MaxY = Points.First()->GetY();
    int N = 1;
    for (int Index = 1; Index < Points.Count(); ++Index) {
        const TFuzzySetValue* Point = Points.PointAt(Index);
        const TFzyFloat Y = Point->GetY();
        if (Y == MaxY || (MaxY - FuzzyTolerance < Y && Y < MaxY + FuzzyTolerance)) {
            SumX += Point->GetX();
            ++N;
        } else if (Y > MaxY) {
            SumX = Point->GetX();
            MaxY = Y;
            N = 1;
        }
    }
    return SumX / N;
}

TFzyFloat TFuzzySet::Defuzzify() const {
    return GetSettings().DefuzzificationMethod == dmMeanOfMaxima ? MeanOfMaxima() : CenterOfGravity();
}

// Constantly false or constantly true, compared exactly.
bool TFuzzySet::IsUndecidable() const {
    const TFuzzySetValues& Points = *FValues;
    if (Points.Count() == 0) return true;
    const TFzyFloat Y = Points.First()->GetY();
    if (Y != 0.0 && Y != 1.0) return false;
    return std::all_of(Points.begin(), Points.end(),
                       [Y](const TFuzzySetValue* Point) { return Point->GetY() == Y; });
}

// ---- Rule firing ----------------------------------------------------------------------------

TFzyFloat TFuzzyVariable::GetCorrelationStrength(std::span<TFuzzySet* const> Premises,
                                                 std::span<TFuzzySet* const> Facts) {
    // Checked before any sweep, so that a bad call leaves every set untouched.
    if (Facts.size() < Premises.size())
        throw EListError(Format(SListIndexError, {static_cast<int>(Facts.size())}));
    for (std::size_t K = 0; K < Premises.size(); ++K)
        if (Premises[K] == nullptr || Facts[K] == nullptr)
            throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    TFzyFloat Strength = 1.0;
    for (std::size_t K = 0; K < Premises.size(); ++K)
        Strength = std::min(Strength, Premises[K]->GetCorrelationStrength(*Facts[K]));
    return Strength;
}

TOwned<TFuzzySet> TFuzzyVariable::AssertRule(std::span<TFuzzySet* const> Premises,
                                             std::span<TFuzzySet* const> Facts, const TFuzzySet& Consequent,
                                             TFuzzySet* Conclusion) {
    return AssertRule(GetCorrelationStrength(Premises, Facts), Consequent, Conclusion);
}

bool TFuzzyVariable::MayFireUnwatched(const TFuzzySet& Consequent,
                                      const TFuzzySet* Conclusion) const noexcept {
    if (!Consequent.IsPlainSet() || Consequent.GetCollection() != FItems.get()) return false;
    if (Conclusion != nullptr && (!Conclusion->IsPlainSet() || Conclusion->GetCollection() != FItems.get()))
        return false;
    // A copy outside the collection is not clamped to the range, so it must not need to be;
    // nor may the range reach past where a set outside any collection keeps its points.
    if (FMinimum < -UnboundedX || FMaximum > UnboundedX) return false;
    for (const TFuzzySetValue* Point : Consequent.GetValues())
        if (Point->GetX() < FMinimum || Point->GetX() > FMaximum) return false;
    return SetsUnobserved();
}

// With nobody watching, each relay of the set's making would only clamp the current set's
// index and mark the component's text stale; one relay at the end does both.
void TFuzzyVariable::RunUnwatched(TFunctionRef<TFuzzySet*()> Body) {
    TFuzzySet* Changed = nullptr;
    FItems->FRelayMuted = true;
    try {
        Changed = Body();
    } catch (...) {
        FItems->FRelayMuted = false;
        Update(nullptr);
        throw;
    }
    FItems->FRelayMuted = false;
    Update(Changed);
}

TOwned<TFuzzySet> TFuzzyVariable::MakeUnwatched(TFunctionRef<TOwned<TFuzzySet>()> Make) {
    TOwned<TFuzzySet> Result;
    RunUnwatched([&] {
        Result = Make();
        return Result.get();
    });
    return Result;
}

bool TFuzzyVariable::FireInto(TFzyFloat Strength, const TFuzzySet& Consequent,
                              TOwned<TFuzzySet>& Conclusion) {
    TFuzzySet* Previous = Conclusion.get();
    if (Previous == nullptr || !MayFireUnwatched(Consequent, Previous))
        return Accumulate(AssertRule(Strength, Consequent, Previous), Conclusion);
    // Both plain sets of this variable: their settings are the variable's.
    const TFuzzySetSettings Settings = GetSetSettings();
    const TBaseFuzzyHedge Hedge = TFuzzySet::CorrelationHedge(Settings.CorrelationMethod);
    detail::TSetCopy& Copy = detail::TSetCopy::Scratch();
    if (!Consequent.HedgePointsInto(Copy, Hedge, Strength))
        return Accumulate(AssertRule(Strength, Consequent, Previous), Conclusion);
    FItems->SkipID();
    // The union would join as the last set and the conclusion it replaces leave: when that is
    // the last set already, the conclusion is made anew in place (its name written when read).
    // Either way the replaced conclusion leaves unwatched too: nothing is relayed until the end.
    RunUnwatched([&] {
        if (Previous->GetIndex() == FItems->Count() - 1) {
            Previous->InferUnionInPlace(Copy, Settings.InferenceMethod, Consequent, Hedge, Strength);
        } else {
            Consequent.NameHedgedCopy(Copy, Hedge, Strength);
            Conclusion = Previous->InferUnion(Copy, Settings.InferenceMethod);
        }
        return Conclusion.get();
    });
    return true;
}

TOwned<TFuzzySet> TFuzzyVariable::AssertRule(TFzyFloat Strength, const TFuzzySet& Consequent,
                                             TFuzzySet* Conclusion) {
    if (Strength < FThreshold) return nullptr;
    if (MayFireUnwatched(Consequent, Conclusion)) {
        // Plain sets of this variable: their settings are the variable's.
        const TFuzzySetSettings Settings = GetSetSettings();
        const TBaseFuzzyHedge Hedge = TFuzzySet::CorrelationHedge(Settings.CorrelationMethod);
        if (Conclusion == nullptr)
            return MakeUnwatched([&] { return Consequent.HedgedCopyInto(FItems.get(), Hedge, Strength); });
        // The correlated copy lives only until it is inferred into the conclusion, so when
        // nobody can watch it, it need not join the collection, nor (mostly) be a set at all;
        // it still takes its ID.
        detail::TSetCopy& Copy = detail::TSetCopy::Scratch();
        if (Consequent.HedgeInto(Copy, Hedge, Strength)) {
            FItems->SkipID();
            return MakeUnwatched([&] { return Conclusion->InferUnion(Copy, Settings.InferenceMethod); });
        }
        const TOwned<TFuzzySet> Correlated = Consequent.HedgedCopyInto(nullptr, Hedge, Strength);
        FItems->SkipID();
        return MakeUnwatched([&] { return Conclusion->Infer(*Correlated, false); });
    }
    TOwned<TFuzzySet> Correlated = Consequent.Clone();
    Correlated->Correlate(Strength);
    if (Conclusion == nullptr) return Correlated;
    return Conclusion->Infer(*Correlated, false);
}

TOwned<TFuzzySet> TFuzzyVariable::AssertRule(TFuzzySet& Premise, const TFuzzySet& Consequent,
                                             const TFuzzySet& Fact, TFuzzySet* Conclusion) {
    return AssertRule(Premise.GetCorrelationStrength(Fact), Consequent, Conclusion);
}

}  // namespace fzl
