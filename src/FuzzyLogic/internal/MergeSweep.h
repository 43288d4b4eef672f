#pragma once
// The merge sweep behind every combination of two fuzzy sets (private header).
//
// The sweep walks both point lists in X order and reports events (X1, Y1, X2, Y2):
// Y1 is a value A's curve takes at X1, Y2 one B's curve takes at X2, with the
// curves read as DegreeOfMembership reads them (linear between points, flat
// beyond the end points, a vertical run of points at one X being a step). The
// events are chosen so that a result built from them is exact:
//
// - one "station" per X where either list has points (points of both lists
//   within the tolerance share a station). Its first event carries both curves'
//   values as they arrive (left limits), its last event their values as they
//   leave (right limits), and, when neither of those is it, an event with both
//   curves' values at that X (the highest point of each step) in between. A
//   two-point step against a level also reports where the level cuts the step;
//   other points inside a step change nothing and are skipped.
// - one crossing event in each open interval between stations where the two
//   curves (flat extensions included) change order.
// - a first event at the smaller first X when both first points have the same Y
//   within the tolerance: the curves meet there.
//
// With one list empty, each point of the other is reported against itself.
//
// Everything is read by index from the lists; nothing is allocated. A list is anything with
// Count() and PointAt(Index) giving a point with GetX() and GetY(): a set's point list, or
// points held by value (TPlainPoints) for an operand that is never made a set.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzySetValues.h>

#include "DuplicatePoints.h"

namespace fzl::detail {

/// A curve's values at one station: arriving, highest, leaving, and how many
/// points it has there (1 for a curve that just passes through).
struct TStationValues {
    TFzyFloat Left;
    TFzyFloat Max;
    TFzyFloat Right;
    int Count;
};

/// A point held by value.
struct TPlainPoint {
    TFzyFloat X;
    TFzyFloat Y;
    [[nodiscard]] TFzyFloat GetX() const noexcept { return X; }
    [[nodiscard]] TFzyFloat GetY() const noexcept { return Y; }
};

/// Points held by value, read by the sweep as it reads a set's point list.
class TPlainPoints {
public:
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(FPoints.size()); }
    [[nodiscard]] const TPlainPoint* PointAt(int Index) const noexcept {
        return &FPoints[static_cast<std::size_t>(Index)];
    }
    void Clear() noexcept { FPoints.clear(); }
    void Add(TFzyFloat X, TFzyFloat Y) { FPoints.push_back({X, Y}); }
    /// The thinning of RemoveDuplicateRuns, in one pass.
    void RemoveDuplicateRuns() {
        FPoints.resize(CompactDuplicateRuns(
            std::span(FPoints), [](const TPlainPoint& Point) { return Point.X; },
            [](const TPlainPoint& Point) { return Point.Y; }, [](const TPlainPoint&) {}));
    }
    [[nodiscard]] std::vector<TPlainPoint>& Items() noexcept { return FPoints; }

private:
    std::vector<TPlainPoint> FPoints;
};

/// One operand's walk: the points already passed and the segment its curve
/// follows next (the last point passed and the next one, held as pointers).
template <class TPoints>
class TSweepCursor {
    using TPoint = std::remove_cvref_t<decltype(*std::declval<const TPoints&>().PointAt(0))>;

public:
    explicit TSweepCursor(const TPoints& Points)
        : FPoints(Points), FCount(Points.Count()), FNextPoint(FCount > 0 ? Points.PointAt(0) : nullptr) {}

    [[nodiscard]] bool HasNext() const noexcept { return FNext < FCount; }
    [[nodiscard]] TFzyFloat NextX() const noexcept { return FNextPoint->GetX(); }

    /// True while the curve runs between two points, false on a flat extension.
    [[nodiscard]] bool OnSegment() const noexcept { return FPrevious != nullptr && FNextPoint != nullptr; }

    /// The curve at At, which lies between the points passed and the next one.
    [[nodiscard]] TFzyFloat ValueAt(TFzyFloat At) const {
        if (FPrevious == nullptr) return FNextPoint->GetY();
        if (FNextPoint == nullptr) return FPrevious->GetY();
        return TFuzzySet::InterpolateY(FPrevious->GetX(), FPrevious->GetY(), FNextPoint->GetX(),
                                       FNextPoint->GetY(), At);
    }

    /// The X at which the current segment reaches Level.
    [[nodiscard]] TFzyFloat SegmentXAt(TFzyFloat Level) const {
        return TFuzzySet::InterpolateX(FPrevious->GetX(), FPrevious->GetY(), FNextPoint->GetX(),
                                       FNextPoint->GetY(), Level);
    }

    /// The values of the run of points that share the next point's X; Advance passes them.
    [[nodiscard]] TStationValues Run() {
        const TFzyFloat At = FNextPoint->GetX();
        TStationValues Values{FNextPoint->GetY(), FNextPoint->GetY(), FNextPoint->GetY(), 1};
        FRunLast = FNextPoint;
        FRunEnd = FNext + 1;
        for (; FRunEnd < FCount; ++FRunEnd) {
            const TPoint* Point = FPoints.PointAt(FRunEnd);
            if (!FloatEquals(Point->GetX(), At)) break;
            Values.Max = std::max(Values.Max, Point->GetY());
            Values.Right = Point->GetY();
            ++Values.Count;
            FRunLast = Point;
        }
        return Values;
    }

    /// Passes the run read by Run.
    void Advance() {
        FNext = FRunEnd;
        FPrevious = FRunLast;
        FNextPoint = FNext < FCount ? FPoints.PointAt(FNext) : nullptr;
    }

private:
    const TPoints& FPoints;
    int FCount;
    int FNext = 0;
    int FRunEnd = 0;
    const TPoint* FPrevious = nullptr;
    const TPoint* FNextPoint;
    const TPoint* FRunLast = nullptr;
};

inline TStationValues LevelValues(TFzyFloat Level) noexcept { return {Level, Level, Level, 1}; }

/// Whether the curves change order between two X: the differences of their values there
/// (A less B) have strictly opposite signs.
inline bool ChangeOrder(TFzyFloat D0, TFzyFloat D1) noexcept {
    return (D0 < 0 && D1 > 0) || (D0 > 0 && D1 < 0);
}

/// How far between two X the curves cross, as a fraction, from their values at both. Degrees
/// near the largest double can overflow the differences; quarters of them cannot.
inline TFzyFloat CrossingFraction(TFzyFloat LastA, TFzyFloat LastB, TFzyFloat NextA,
                                  TFzyFloat NextB) noexcept {
    const TFzyFloat D0 = LastA - LastB;
    const TFzyFloat Gap = D0 - (NextA - NextB);
    if (std::isfinite(Gap)) return D0 / Gap;
    const TFzyFloat Q0 = LastA * 0.25 - LastB * 0.25;
    return Q0 / (Q0 - (NextA * 0.25 - NextB * 0.25));
}

/// Where the curves cross strictly inside (LastX, NextX), given both curves' values leaving
/// LastX and arriving at NextX (linear in between), where they change order. A level side
/// gives the crossing its exact Y.
template <class TCursorA, class TCursorB>
void LocateCrossing(const TCursorA& A, const TCursorB& B, TFzyFloat LastX, TFzyFloat LastA, TFzyFloat LastB,
                    TFzyFloat NextX, TFzyFloat NextA, TFzyFloat NextB, TFzyFloat& X, TFzyFloat& Y) {
    // A change of order means the two values differ at one end at least, so a
    // level side leaves the other one on a real segment.
    if (LastA == NextA && B.OnSegment()) {
        Y = LastA;
        X = B.SegmentXAt(Y);
    } else if (LastB == NextB && A.OnSegment()) {
        Y = LastB;
        X = A.SegmentXAt(Y);
    } else {
        const TFzyFloat T = CrossingFraction(LastA, LastB, NextA, NextB);
        const TFzyFloat Span = NextX - LastX;
        X = std::isfinite(Span) ? LastX + T * Span : LastX * (1 - T) + NextX * T;
        Y = A.OnSegment() ? A.ValueAt(X) : LastA;
    }
    X = std::clamp(X, LastX, NextX);
}

/// The sweep against an empty list: each point against itself.
template <class TPoints, class TEmit>
bool EmitEach(const TPoints& Points, TEmit& Emit) {
    for (int Index = 0; Index < Points.Count(); ++Index) {
        const auto* Point = Points.PointAt(Index);
        if (Emit(Point->GetX(), Point->GetY(), Point->GetX(), Point->GetY())) return true;
    }
    return false;
}

/// Runs the sweep of A and B, calling Emit(X1, Y1, X2, Y2) per event; true when Emit stopped it.
template <class TPointsA, class TPointsB, class TEmit>
bool MergeSweep(const TPointsA& A, const TPointsB& B, TEmit&& Emit) {
    if (A.Count() == 0) return EmitEach(B, Emit);
    if (B.Count() == 0) return EmitEach(A, Emit);

    TSweepCursor<TPointsA> CursorA(A);
    TSweepCursor<TPointsB> CursorB(B);
    {
        // Both curves start level with each other where the earlier one begins.
        const auto* FirstA = A.PointAt(0);
        const auto* FirstB = B.PointAt(0);
        const TFzyFloat YA = FirstA->GetY();
        const TFzyFloat YB = FirstB->GetY();
        if (FloatEquals(YA, YB)) {
            const TFzyFloat X = std::min(FirstA->GetX(), FirstB->GetX());
            if (Emit(X, YA, X, YB)) return true;
        }
    }

    bool HaveLast = false;
    TFzyFloat LastX = 0;
    TFzyFloat LastA = 0;
    TFzyFloat LastB = 0;
    while (CursorA.HasNext() || CursorB.HasNext()) {
        bool TakeA = CursorA.HasNext();
        bool TakeB = CursorB.HasNext();
        if (TakeA && TakeB && !FloatEquals(CursorA.NextX(), CursorB.NextX())) {
            TakeA = CursorB.NextX() > CursorA.NextX();
            TakeB = !TakeA;
        }
        const TFzyFloat X = TakeA ? CursorA.NextX() : CursorB.NextX();
        const TFzyFloat X2 = TakeB ? CursorB.NextX() : X;
        const TStationValues SA = TakeA ? CursorA.Run() : LevelValues(CursorA.ValueAt(X));
        const TStationValues SB = TakeB ? CursorB.Run() : LevelValues(CursorB.ValueAt(X2));

        if (HaveLast && X > LastX && ChangeOrder(LastA - LastB, SA.Left - SB.Left)) {
            TFzyFloat CrossX = 0;
            TFzyFloat CrossY = 0;
            LocateCrossing(CursorA, CursorB, LastX, LastA, LastB, X, SA.Left, SB.Left, CrossX, CrossY);
            if (Emit(CrossX, CrossY, CrossX, CrossY)) return true;
        }

        if (Emit(X, SA.Left, X2, SB.Left)) return true;
        if (SA.Count + SB.Count == 3) {
            // A two-point step against a level: where the level cuts the step, then the step's top.
            const bool StepA = SA.Count == 2;
            const TFzyFloat Level = StepA ? SB.Left : SA.Left;
            const TFzyFloat From = StepA ? SA.Left : SB.Left;
            const TFzyFloat To = StepA ? SA.Right : SB.Right;
            if (((From < Level && Level < To) || (From > Level && Level > To)) && Emit(X, Level, X, Level))
                return true;
            if (Emit(X, SA.Right, X2, SB.Right)) return true;
        } else if (SA.Count + SB.Count > 3) {
            const bool MaxIsLeft = SA.Max == SA.Left && SB.Max == SB.Left;
            const bool MaxIsRight = SA.Max == SA.Right && SB.Max == SB.Right;
            if (!MaxIsLeft && !MaxIsRight && Emit(X, SA.Max, X2, SB.Max)) return true;
            if (Emit(X, SA.Right, X2, SB.Right)) return true;
        }

        if (TakeA) CursorA.Advance();
        if (TakeB) CursorB.Advance();
        HaveLast = true;
        LastX = X;
        LastA = SA.Right;
        LastB = SB.Right;
    }
    return false;
}

/// Of every run of consecutive points with equal Y (within the tolerance) keeps
/// the first and the last; a leading run keeps only its last point and a
/// trailing run only its first. Runs inside the caller's bulk update, where it
/// drops the points in one pass (a list with a descendant's Notify: one by one).
inline void SimplifyRuns(TFuzzySetValues& Points) {
    const auto SameY = [](const TCollectionItem* A, const TCollectionItem* B) {
        return FloatEquals(static_cast<const TFuzzySetValue*>(A)->GetY(),
                           static_cast<const TFuzzySetValue*>(B)->GetY());
    };
    if (!Points.ThinsInOnePass()) {
        int Run = 1;
        int Index = 1;
        while (Index < Points.Count()) {
            if (SameY(Points.GetItem(Index - 1), Points.GetItem(Index))) {
                if (++Run > 1)
                    Points.Delete(Index - 1);
                else
                    ++Index;
            } else {
                ++Index;
                Run = 0;
            }
        }
        const int Count = Points.Count();
        if (Count > 1 && SameY(Points.GetItem(Count - 2), Points.GetItem(Count - 1)))
            Points.Delete(Count - 1);
        return;
    }
    // The same walk over the storage: Items[0, Kept) are the points so far, Items[Read] the
    // next. Dropping a point between two equal ones marks the list for clean-up, as the
    // list's own report of a leaving point would.
    std::vector<TCollectionItem*>& Items = Points.MutableItems();
    bool Dropped = false;
    const auto Drop = [&](std::size_t Index, TCollectionItem* const* Next) {
        if (Points.FDuplicatesRemoved && Index > 0 && Next != nullptr &&
            static_cast<const TFuzzySetValue*>(Items[Index - 1])
                ->Equals(*static_cast<const TFuzzySetValue*>(*Next)))
            Points.FDuplicatesRemoved = false;
        TFuzzySetValues::DetachSilently(Items[Index]);
        Points.KeepSpare(Items[Index]);  // detached: it finds no list to leave
        Dropped = true;
    };
    const std::size_t Kept = CompactRuns(std::span(Items), SameY, Drop);
    if (!Dropped) return;
    Items.resize(Kept);
    Points.Renumber(0);
}

}  // namespace fzl::detail
