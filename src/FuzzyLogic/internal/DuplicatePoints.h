#pragma once
// The thinning of a point list (private header), for a set's list and for points held by
// value alike.

#include <cstddef>
#include <span>

#include <fzl/FuzzyLogic/FuzzyMath.h>

namespace fzl::detail {

/// Drops, through Delete(Index), every point equal to its predecessor (both coordinates
/// within the tolerance) and every fifth point of a run on one X. Points is read through
/// Count() and PointAt(Index). One Delete per point, for lists whose items must see each
/// removal; CompactDuplicateRuns makes the same choices in one pass.
template <class TPoints, class TDelete>
void RemoveDuplicateRuns(const TPoints& Points, TDelete&& Delete) {
    const auto X = [&Points](int Index) { return Points.PointAt(Index)->GetX(); };
    const auto Y = [&Points](int Index) { return Points.PointAt(Index)->GetY(); };
    int Run = 0;
    int I = 1;
    while (I < Points.Count()) {
        const bool SameX = FloatEquals(X(I), X(I - 1));
        if (SameX && FloatEquals(Y(I), Y(I - 1))) {
            Delete(I);
        } else if (SameX) {
            if (++Run == 4) {
                Delete(I);
                Run = 0;
            } else {
                ++I;
            }
        } else {
            Run = 0;
            ++I;
        }
    }
}

/// The walk of RemoveDuplicateRuns over items held in an array, in one pass rather than one
/// shift per removal (a list of thousands of points may lose most of them): XOf and YOf read
/// an item's coordinates, Drop(Item) is called for each item that goes, in order. Returns how
/// many are kept, in Items' first places.
template <class TItem, class TXOf, class TYOf, class TDrop>
std::size_t CompactDuplicateRuns(std::span<TItem> Items, TXOf&& XOf, TYOf&& YOf, TDrop&& Drop) {
    const std::size_t Count = Items.size();
    if (Count < 2) return Count;
    std::size_t Kept = 1;
    int Run = 0;
    for (std::size_t Read = 1; Read < Count; ++Read) {
        const TItem& Item = Items[Read];
        const TItem& Last = Items[Kept - 1];
        bool Keep = true;
        if (!FloatEquals(XOf(Item), XOf(Last))) {
            Run = 0;
        } else if (FloatEquals(YOf(Item), YOf(Last))) {
            Keep = false;
        } else if (++Run == 4) {
            Keep = false;
            Run = 0;
        }
        if (!Keep)
            Drop(Item);
        else if (Kept++ != Read)  // nothing moves until the first point goes
            Items[Kept - 1] = Item;
    }
    return Kept;
}

/// The walk of the thinning of runs of equal Y over items held in an array: of every run of
/// consecutive items with equal Y keeps the first and the last, a leading run only its last, a
/// trailing run only its first. Drop(Index, Next) is called before the item at Index goes
/// (Next: the item that takes its place, or nullptr at the end). Returns how many are kept,
/// in Items' first places.
template <class TItem, class TSameY, class TDrop>
std::size_t CompactRuns(std::span<TItem> Items, TSameY&& SameY, TDrop&& Drop) {
    const std::size_t Count = Items.size();
    if (Count < 2) return Count;
    std::size_t Kept = 1;
    int Run = 1;
    for (std::size_t Read = 1; Read < Count; ++Read) {
        const TItem Item = Items[Read];
        if (SameY(Items[Kept - 1], Item)) {
            if (++Run > 1) {
                Drop(Kept - 1, &Item);
                Items[Kept - 1] = Item;
                continue;
            }
        } else {
            Run = 0;
        }
        Items[Kept++] = Item;
    }
    if (Kept > 1 && SameY(Items[Kept - 2], Items[Kept - 1])) Drop(--Kept, nullptr);
    return Kept;
}

}  // namespace fzl::detail
