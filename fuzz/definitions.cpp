// libFuzzer target: arbitrary bytes parsed as a whole definition text into the class-model
// component (TFuzzyLogic), with AutoTerms on or off. See DefinitionFuzz.h for what counts
// as a finding.

#include <cstddef>
#include <cstdint>
#include <string>

#include "DefinitionFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    using namespace fzl;
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    fuzz::ParseDefinitions<TFuzzyLogic>(Text, fuzz::AutoTermsOf(Text), [](const TFuzzyLogic& Logic) {
        for (const TFuzzyVariable* Variable : Logic.GetItems()) {
            const TFzyFloat Minimum = Variable->GetMinimum();
            const TFzyFloat Maximum = Variable->GetMaximum();
            FZL_FUZZ_CHECK(Minimum <= Maximum);
            for (const TFuzzySet* Set : Variable->GetItems())
                for (const TFuzzySetValue* Point : Set->GetValues())
                    fuzz::CheckPoint(Point->GetX(), Point->GetY(), Minimum, Maximum);
        }
    });
    return 0;
}
