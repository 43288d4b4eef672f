#pragma once
// A hedged copy of a set held by value (private header): what a fired rule combines into
// its conclusion when nobody can watch the copy, so that it need not be made a set.

#include <string>

#include "MergeSweep.h"

namespace fzl::detail {

struct THedgedCopy {
    std::string Name;
    std::string Expression;
    TPlainPoints Points;

    /// This thread's copy; its buffers are kept from rule to rule.
    [[nodiscard]] static THedgedCopy& Scratch() {
        thread_local THedgedCopy Copy;
        return Copy;
    }
};

}  // namespace fzl::detail
