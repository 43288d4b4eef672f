#pragma once
// The engine set behind an IFuzzySet operand (private header).

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl::detail {

/// The TFuzzySet an operation works on: the object itself for the library's sets, a
/// free-standing copy of the name, expression and points for other implementations.
/// A nil operand raises EArgumentOutOfRangeException.
class TEngineSet {
public:
    explicit TEngineSet(const TIntfPtr<IFuzzySet>& Set) {
        if (!Set) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
        if (const auto* Own = DownCast<const TIFuzzySet>(Set.Get())) {
            FSet = Own;
            return;
        }
        FCopy = Make<TFuzzySet>();
        FCopy->SetName(Set->GetName());
        {
            const TUpdateGuard Update(FCopy->GetValues());
            for (int Index = 0; Index < Set->GetCount(); ++Index)
                FCopy->GetValues().Add(Set->GetXValues(Index), Set->GetYValues(Index));
        }
        FCopy->SetExpression(Set->GetExpression());
        FSet = FCopy.get();
    }

    const TFuzzySet& operator*() const noexcept { return *FSet; }
    const TFuzzySet* operator->() const noexcept { return FSet; }

private:
    const TFuzzySet* FSet = nullptr;
    TOwned<TFuzzySet> FCopy;
};

}  // namespace fzl::detail
