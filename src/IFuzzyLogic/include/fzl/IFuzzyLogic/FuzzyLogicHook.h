#pragma once
// The handlers a reference-counted logic component puts into the set events of the
// variables it holds.

#include <cstdint>

#include <fzl/FuzzyInterfaces/FuzzyIntfEvents.h>
#include <fzl/support/Component.h>

namespace fzl {

class TIFuzzyLogic;

/// One hook of a TIFuzzyLogic in a variable's OnFuzzySetAdded, OnFuzzySetDeleted or
/// OnFuzzySetChange. It refers to the component weakly, so a hook left behind in a
/// variable that outlives the component does nothing, and it is a type of its own, so
/// the component recognises its hooks when it lets a variable go (and unhooks only
/// those), and a variable finds the component that holds it.
class TFuzzyLogicHook {
public:
    enum TEvent : std::uint8_t { heFuzzySetAdded, heFuzzySetDeleted, heFuzzySetChange };

    TFuzzyLogicHook(TIFuzzyLogic* Logic, TEvent Event);

    void operator()(const TIntfPtr<IFuzzyVariable>& Sender, const TIntfPtr<IFuzzySet>& FuzzySet) const;

    /// True when Handler is a hook of Logic.
    [[nodiscard]] static bool IsHookOf(const TIFuzzySetEvent& Handler, const TIFuzzyLogic* Logic) noexcept;
    /// Tells the component behind the hook Handler (if any, and alive) that the variable
    /// changed in a way its definition text shows.
    static void ReportTextChange(const TIFuzzySetEvent& Handler);

private:
    TComponentRef<TIFuzzyLogic> FLogic;
    TEvent FEvent;
};

}  // namespace fzl
