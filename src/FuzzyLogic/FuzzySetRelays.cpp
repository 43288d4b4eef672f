// Relays held back while an evaluator's sets come and go with nobody watching.

#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>

#include "internal/Unobserved.h"

namespace fzl {

bool TFuzzySet::HoldRelays(TFuzzySets& Sets) noexcept {
    if (Sets.FRelayMuted || Sets.GetVariable() == nullptr || !detail::SetsUnobserved(&Sets)) return false;
    Sets.FRelayMuted = true;
    return true;
}

// Unobserved, every report only clamps the variable's current set and marks the component's text
// stale (the set it names reaches no handler): one report does what all held back would have.
void TFuzzySet::ReleaseRelays(TFuzzySets& Sets, bool Changed) noexcept {
    Sets.FRelayMuted = false;
    if (Changed && Sets.UpdateCount() == 0)
        Sets.Update(Sets.Count() > 0 ? Sets.GetItem(Sets.Count() - 1) : nullptr);
}

}  // namespace fzl
