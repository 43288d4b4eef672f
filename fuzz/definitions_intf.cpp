// libFuzzer target: arbitrary bytes parsed as a whole definition text into the
// reference-counted component (TIFuzzyLogic), with AutoTerms on or off. See
// DefinitionFuzz.h for what counts as a finding; LeakSanitizer catches a reference cycle.

#include <cstddef>
#include <cstdint>
#include <string>

#include "DefinitionFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    using namespace fzl;
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    fuzz::ParseDefinitions<TIFuzzyLogic>(Text, fuzz::AutoTermsOf(Text), [](const TIFuzzyLogic& Logic) {
        const auto& Variables = Logic.GetItems();
        for (int Index = 0; Index < Variables.Count(); ++Index) {
            const TIntfPtr<IFuzzyVariable> Variable = Variables.GetItemByIndex(Index);
            const TFzyFloat Minimum = Variable->GetMinimum();
            const TFzyFloat Maximum = Variable->GetMaximum();
            FZL_FUZZ_CHECK(Minimum <= Maximum);
            for (int S = 0; S < Variable->GetCount(); ++S) {
                const TIntfPtr<IFuzzySet> Set = Variable->GetFuzzySet(S);
                for (int P = 0; P < Set->GetCount(); ++P)
                    fuzz::CheckPoint(Set->GetXValues(P), Set->GetYValues(P), Minimum, Maximum);
            }
        }
    });
    return 0;
}
