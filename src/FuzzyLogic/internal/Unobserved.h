#pragma once
// Whether anything outside the library sees a variable's sets change (private header). Defined
// beside the component, so that the engine's sources need not reach up to it.

namespace fzl {
class TFuzzySets;
}

namespace fzl::detail {

/// True when Sets (a variable's set collection, or none) reports to nothing outside the
/// library: the collection, its variable, their collection and component are the library's own
/// classes and no event handler is assigned. Then a report only clamps the variable's current
/// set and marks the component's text stale.
[[nodiscard]] bool SetsUnobserved(const TFuzzySets* Sets) noexcept;

}  // namespace fzl::detail
