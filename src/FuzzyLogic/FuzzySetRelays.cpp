// Whether anybody watches a variable's sets, and the relays held back while an evaluator's sets
// come and go with nobody watching.

#include <typeinfo>

#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>

#include "internal/Unobserved.h"

namespace fzl {

bool detail::SetsUnobserved(const TFuzzySets* Sets) noexcept {
    if (Sets == nullptr) return true;
    const TFuzzyVariable* Variable = Sets->GetVariable();
    if (Variable == nullptr || &Variable->GetItems() != Sets || typeid(*Variable) != typeid(TFuzzyVariable) ||
        typeid(*Sets) != typeid(TFuzzySets))
        return false;
    const TFuzzyVariables* Variables = Variable->GetCollection();
    if (Variables == nullptr) return true;
    if (typeid(*Variables) != typeid(TFuzzyVariables)) return false;
    const TFuzzyLogic* Logic = Variables->GetFuzzy();
    return Logic == nullptr || (typeid(*Logic) == typeid(TFuzzyLogic) && !Logic->HasEventHandlers());
}

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
