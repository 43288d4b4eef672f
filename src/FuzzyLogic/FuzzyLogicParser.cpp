#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>

namespace fzl {

void TCustomFuzzyLogicParser::SetFuzzyLogic(TCustomFuzzyLogic* Value) { SetLink(FFuzzyLogic, Value); }

void TCustomFuzzyLogicParser::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FFuzzyLogic != nullptr && AComponent == FFuzzyLogic) SetFuzzyLogic(nullptr);
}

void TCustomFuzzyLogicParser::Parse(const std::string& AString) {
    if (FFuzzyLogic == nullptr) throw EFzyParseException(SFuzzyLogicNotSet);
    if (OnParsing) OnParsing(this);
    ParseFuzzyLogic(AString);
    if (OnParsed) OnParsed(this);
}

void TCustomFuzzyLogicParser::BeforeDestruction() {
    OnParsing = nullptr;
    OnParsed = nullptr;
    OnParseFuzzySet = nullptr;
    OnParseFuzzyVariable = nullptr;
    SetFuzzyLogic(nullptr);
    TComponent::BeforeDestruction();
}

}  // namespace fzl
