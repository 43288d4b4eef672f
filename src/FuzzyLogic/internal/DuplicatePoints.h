#pragma once
// The thinning of a sorted point list (private header), for a set's list and for points
// held by value alike.

#include <fzl/FuzzyLogic/FuzzyMath.h>

namespace fzl::detail {

/// Drops, through Delete(Index), every point equal to its predecessor (both coordinates
/// within the tolerance) and every fifth point of a run on one X. Points is read through
/// Count() and PointAt(Index).
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

}  // namespace fzl::detail
