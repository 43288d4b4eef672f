#pragma once
// Whether anything outside the library sees a variable's sets change (private header).

#include <typeinfo>

#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>

namespace fzl::detail {

/// True when Sets (a variable's set collection, or none) reports to nothing outside the
/// library: the collection, its variable, their collection and component are the library's own
/// classes and no event handler is assigned. Then a report only clamps the variable's current
/// set and marks the component's text stale.
inline bool SetsUnobserved(const TFuzzySets* Sets) noexcept {
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

}  // namespace fzl::detail
