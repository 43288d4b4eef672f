#pragma once
// Operands of a combination as the sweep driver reads them (private header): a set's name,
// expression and points, either referred to or held by value. A fired rule's correlated
// copy is held by value when nobody can watch it, so that it need not be made a set.

#include <string>
#include <vector>

#include "MergeSweep.h"

namespace fzl::detail {

/// An operand referred to: a set's (or a copy's) strings and points.
template <class TPoints>
struct TOperand {
    const std::string& Name;
    const std::string& Expression;
    const TPoints& Points;
};

/// A set's name, expression and points held by value.
struct TSetCopy {
    std::string Name;
    std::string Expression;
    TPlainPoints Points;

    /// This thread's copy; its buffers are kept from rule to rule.
    [[nodiscard]] static TSetCopy& Scratch() {
        thread_local TSetCopy Copy;
        return Copy;
    }
};

/// What a point list's Expand(N) makes of Points, for points held by value that lie in
/// [Lower, Upper] (new points are clamped into it as the list clamps them).
void ExpandPlain(std::vector<TPlainPoint>& Points, int N, TFzyFloat Lower, TFzyFloat Upper);

}  // namespace fzl::detail
