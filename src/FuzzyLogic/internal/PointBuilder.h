#pragma once
// A combined set's points gathered by value before they become point objects (private
// header). The sweep, the thinning of runs and the closing clean-up of duplicates run on
// plain values; the list then takes the survivors in one pass, each with the ID it would
// have had when added one by one (points thinned away used theirs up), and with the flags
// those adds would have left.

#include <cstddef>
#include <span>
#include <vector>

#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySetValues.h>

#include "DuplicatePoints.h"
#include "MergeSweep.h"

namespace fzl::detail {

/// A point held by value, with its place among every point added.
struct TBuiltPoint : TPlainPoint {
    int Ordinal;
};

/// Adds points to a TPointBuilder's storage as the list's Add(X, Y) does in a bulk update: X
/// clamped into the range, Y to at least 0, the order flags kept. A value type, so that a
/// sweep can keep it in registers (see TPointBuilder::Appender and Take).
class TPointAppender {
public:
    void Add(TFzyFloat X, TFzyFloat Y) noexcept {
        X = X < FLower ? FLower : (X > FUpper ? FUpper : X);
        if (FCount > 0) TFuzzySetValues::NoteOrder(FSorted, FDuplicatesRemoved, X, FData[FCount - 1].X);
        FData[FCount] = {{X, Y < 0 ? 0.0 : Y}, FAdded};
        ++FCount;
        ++FAdded;
    }

private:
    friend class TPointBuilder;
    TBuiltPoint* FData = nullptr;
    std::size_t FCount = 0;
    int FAdded = 0;
    bool FSorted = true;
    bool FDuplicatesRemoved = true;
    TFzyFloat FLower = 0;
    TFzyFloat FUpper = 0;
};

/// The points of a plain list being filled in one bulk update, held by value.
class TPointBuilder {
public:
    /// Starts over for a list whose X range is [Lower, Upper], with room for Capacity adds.
    void Start(TFzyFloat Lower, TFzyFloat Upper, std::size_t Capacity) {
        if (FStorage.size() < Capacity) FStorage.resize(Capacity);
        FState = TPointAppender{};
        FState.FData = FStorage.data();
        FState.FLower = Lower;
        FState.FUpper = Upper;
    }
    /// Start for Points, in a bulk build: its range as the build read it (none for a list
    /// without a set).
    void StartFor(const TFuzzySetValues& Points, std::size_t Capacity);

    /// The adding state, to be handed back with Take; adds stay within the capacity given
    /// to Start.
    [[nodiscard]] TPointAppender Appender() const noexcept { return FState; }
    void Take(const TPointAppender& Appender) noexcept { FState = Appender; }

    [[nodiscard]] int Count() const noexcept { return static_cast<int>(FState.FCount); }
    [[nodiscard]] const TBuiltPoint* PointAt(int Index) const noexcept {
        return &FStorage[static_cast<std::size_t>(Index)];
    }

    /// The thinning of runs of equal Y that a combined set gets (see SimplifyRuns).
    void SimplifyRuns() noexcept {
        const auto SameY = [](const TBuiltPoint& A, const TBuiltPoint& B) { return FloatEquals(A.Y, B.Y); };
        const auto Drop = [this](std::size_t Index, const TBuiltPoint* Next) {
            // Dropping a point between two equal ones leaves the list for the clean-up, as the
            // list's own report of a leaving point would.
            if (FState.FDuplicatesRemoved && Index > 0 && Next != nullptr &&
                FloatEquals(FStorage[Index - 1].X, Next->X) && FloatEquals(FStorage[Index - 1].Y, Next->Y))
                FState.FDuplicatesRemoved = false;
        };
        FState.FCount = CompactRuns(Points(), SameY, Drop);
    }

    /// The clean-up the list's closing report runs, when it is only the removal of
    /// duplicates (an unsorted list is left to the list itself).
    void RemoveDuplicates() noexcept {
        if (FState.FDuplicatesRemoved || (!FState.FSorted && FState.FCount >= 2)) return;
        FState.FCount = CompactDuplicateRuns(
            Points(), [](const TBuiltPoint& Point) { return Point.X; },
            [](const TBuiltPoint& Point) { return Point.Y; }, [](const TBuiltPoint&) {});
        FState.FDuplicatesRemoved = true;
    }

    /// Whether the points leave a list nothing to clean up when it closes its bulk update.
    [[nodiscard]] bool IsClean() const noexcept {
        return FState.FCount < 2 || (FState.FSorted && FState.FDuplicatesRemoved);
    }

    /// Whether MoveInto may fill Points: an empty list of the base class in a bulk update.
    [[nodiscard]] static bool CanMoveInto(const TFuzzySetValues& Points) noexcept {
        return Points.InPlainBulkUpdate() && Points.Count() == 0;
    }
    /// Appends the points to Points (CanMoveInto holds), each with the ID of its place among
    /// every point added, and leaves Points' flags as the adds would have.
    void MoveInto(TFuzzySetValues& Points) const;
    /// What Points.ResetForReuse() and then MoveInto (with the bracket MoveInto needs) leave,
    /// the list's own point objects taking the new places, for a list of the base class
    /// outside any bracket.
    void RebuildInto(TFuzzySetValues& Points) const;

    /// This thread's builder; its storage is kept from set to set.
    [[nodiscard]] static TPointBuilder& Scratch() {
        thread_local TPointBuilder Builder;
        return Builder;
    }

private:
    [[nodiscard]] std::span<TBuiltPoint> Points() noexcept { return {FStorage.data(), FState.FCount}; }
    /// Gives Points' points their IDs and flags as MoveInto does, the first Kept of them
    /// already in place.
    void FinishInto(TFuzzySetValues& Points, std::size_t Kept) const;

    std::vector<TBuiltPoint> FStorage;
    TPointAppender FState;
};

}  // namespace fzl::detail
