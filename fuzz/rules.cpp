// libFuzzer target: arbitrary bytes read as rules over the fan controller's model and, when
// they read and bind, fired for a few inputs. The first byte picks the object model and the
// component's methods. Reading either succeeds or raises EFzyParseException with the line of
// a rule; firing raises nothing; every crisp output is finite; and the rule base leaves no set
// behind in the variables (class model) or alive (reference-counted model).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyRules/FuzzyRuleBase.h>
#include <fzl/IFuzzyLogic/FuzzyLogicIntf.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>
#include <fzl/support/Interfaced.h>

#include "FuzzCheck.h"

namespace {

using namespace fzl;

constexpr const char* ModelText = R"((deffuzzy temperature (range 0 40) (units degC)
  (values (term cold (tri 0 0 12)) (term cool (tri 8 16 24)) (term warm (tri 18 25 32)) (term hot (tri 28 40 40))))
(deffuzzy humidity (range 0 100)
  (values (term dry (tri 0 0 45)) (term normal (tri 25 50 75)) (term humid (pi 20 80))))
(deffuzzy fan (range 0 100)
  (values (term off (tri 0 0 20)) (term low (tri 5 25 45)) (term medium (s 30 70)) (term max (z 80 100)))))";

int CountLines(const std::string& Text) {
    int Lines = 1;
    for (std::size_t I = 0; I < Text.size(); ++I)
        if (Text[I] == '\n' || (Text[I] == '\r' && (I + 1 == Text.size() || Text[I + 1] != '\n'))) ++Lines;
    return Lines;
}

template <class TLogic, class TRuleBase>
void Run(std::uint8_t Settings, const std::string& Text) {
    const TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    const TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Logic->SetAutoTerms((Settings & 2) != 0);
    Logic->SetCorrelationMethod((Settings & 4) != 0 ? fcmProduct : fcmMinimum);
    Logic->SetInferenceMethod(static_cast<TFuzzyInferenceMethod>((Settings >> 3) % 5));
    Logic->SetDefuzzificationMethod((Settings & 64) != 0 ? dmMeanOfMaxima : dmCenterOfGravity);
    Logic->SetThreshold((Settings & 128) != 0 ? 0 : 0.01);
    Logic->GetVariables().Add("f=low or-sum max");
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    Parser->Parse(ModelText);
    std::vector<int> SetCounts;
    if constexpr (std::is_same_v<TLogic, TFuzzyLogic>)
        for (const TFuzzyVariable* Variable : Logic->GetItems()) SetCounts.push_back(Variable->GetItems().Count());
    TOwned<TRuleBase> Rules = Make<TRuleBase>(Logic.get());
    try {
        Rules->SetRules(Text);
    } catch (const EFzyParseException& E) {
        FZL_FUZZ_CHECK(E.LineNumber() >= 1 && E.LineNumber() <= CountLines(Text));
        FZL_FUZZ_CHECK(Rules->GetRules().empty());
        return;
    }
    for (const double Temperature : {0.0, 21.5, 40.0}) {
        TFuzzyInputs Inputs{{{"temperature", Temperature}, {"humidity", 100 - 2 * Temperature}, {"fan", 50}}, {}, {}};
        if (Temperature == 40.0) Inputs = {{{"temperature", 45}}, {{"humidity", "very humid"}, {"fan", "?f"}}, {}};
        for (const TFuzzyOutput& Output : Rules->Evaluate(Inputs)) {
            FZL_FUZZ_CHECK(Output.Fired == Output.Value.has_value());
            if (Output.Value) FZL_FUZZ_CHECK(std::isfinite(*Output.Value));
        }
    }
    Rules.reset();  // every set it made goes with it
    if constexpr (std::is_same_v<TLogic, TFuzzyLogic>) {
        std::size_t Index = 0;
        for (const TFuzzyVariable* Variable : Logic->GetItems())
            FZL_FUZZ_CHECK(Variable->GetItems().Count() == SetCounts[Index++]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0 || Size > 4096) return 0;
    const std::string Text(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    const std::int64_t Alive = LiveRefCountedObjects();
    if ((Data[0] & 1) != 0)
        Run<TIFuzzyLogic, TIFuzzyRuleBase>(Data[0], Text);
    else
        Run<TFuzzyLogic, TFuzzyRuleBase>(Data[0], Text);
    FZL_FUZZ_CHECK(LiveRefCountedObjects() == Alive);
    return 0;
}
