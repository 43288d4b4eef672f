#include <algorithm>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {

// ---- TCustomFuzzyLogic --------------------------------------------------------------

TCustomFuzzyLogic::TCustomFuzzyLogic(TComponent* AOwner)
    : TComponent(AOwner), FStrings(Make<TStringList>()), FVariables(Make<TStringList>()) {
    FVariables->SetCaseSensitive(false);
}

void TCustomFuzzyLogic::SetNumFunctionValues(int Value) noexcept {
    FNumFunctionValues = Value < 2 ? 2 : Value;
}

void TCustomFuzzyLogic::SetThreshold(TFzyFloat Value) {
    if (Value == FThreshold) return;
    FThreshold = std::clamp(Value, 0.0, 1.0);
    ThresholdChanged();
}

void TCustomFuzzyLogic::SetParser(TCustomFuzzyLogicParser* Value) { SetLink(FParser, Value); }

void TCustomFuzzyLogic::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FParser != nullptr && AComponent == FParser) SetParser(nullptr);
}

TStrings& TCustomFuzzyLogic::GetStrings() {
    if (FNeedsUpdate) UpdateStrings();
    return *FStrings;
}

void TCustomFuzzyLogic::SetStrings(const TStrings& Value) {
    FStrings->Assign(Value);
    Parse();
}

void TCustomFuzzyLogic::UpdateStrings() {
    // Cleared before raising, so a second read of a stale text returns it as it is.
    FNeedsUpdate = false;
    if (ComponentState().Contains(csLoading)) return;
    if (FParser == nullptr) throw EFzyException(SParserUnassigned);
}

void TCustomFuzzyLogic::Parse() {
    if (ComponentState().Contains(csLoading)) return;
    if (FParser == nullptr) throw EFzyException(SParserUnassigned);
    const std::string Text = GetStrings().GetText();
    FParser->Parse(Text);
    FNeedsUpdate = false;
}

TCustomFuzzyLogic::TParsing::TParsing(TCustomFuzzyLogic& Logic) : FLogic(Logic) {
    if (FLogic.FParsing) throw EFzyParseException(SParseInProgress);
    FLogic.FParsing = true;
}

void TCustomFuzzyLogic::BeforeDestruction() {
    SetParser(nullptr);
    TComponent::BeforeDestruction();
}

// ---- TFuzzyLogic ------------------------------------------------------------------------

TFuzzyLogic::TFuzzyLogic(TComponent* AOwner) : TCustomFuzzyLogic(AOwner) {}

TFuzzyLogic::TFuzzyLogic(TComponent* AOwner, TFuzzyVariablesClass ItemsClass)
    : TCustomFuzzyLogic(AOwner), FItemsClass(ItemsClass) {}

// Here rather than in the constructor, so that a descendant's CreateVariables is reached.
void TFuzzyLogic::AfterConstruction() {
    TCustomFuzzyLogic::AfterConstruction();
    FItems = CreateVariables();
}

TOwned<TFuzzyVariables> TFuzzyLogic::CreateVariables() {
    return TOwned<TFuzzyVariables>(FItemsClass.Create(this));
}

void TFuzzyLogic::UpdateStrings() {
    TCustomFuzzyLogic::UpdateStrings();
    if (ComponentState().Contains(csLoading)) return;
    const TUpdateGuard Update(*FStrings);
    FStrings->Clear();
    for (const TFuzzyVariable* Variable : *FItems) FStrings->Add(FParser->PrettyPrint(*Variable));
}

void TFuzzyLogic::Parse() {
    if (ComponentState().Contains(csLoading)) return;
    // Checked before the variables go, so that a missing parser costs nothing.
    if (FParser == nullptr) throw EFzyException(SParserUnassigned);
    const TParsing Parsing(*this);
    FItems->Clear();
    // The text about to be parsed is current; it must not be regenerated from the empty model.
    FNeedsUpdate = false;
    TCustomFuzzyLogic::Parse();
}

void TFuzzyLogic::AddAutoTerms(TFuzzyVariable* Variable) {
    const TFzyFloat Min = Variable->GetMinimum();
    const TFzyFloat Max = Variable->GetMaximum();
    TFuzzySets& Sets = Variable->GetItems();
    // The expression is set last: every point edit clears it.
    if (Sets.IndexOf(SLowFuzzyTerm) == -1) {
        TFuzzySet* Low = Sets.Add(SLowFuzzyTerm);
        Low->GetValues().Add(Min, 1.0);
        Low->GetValues().Add(Max, 0.0);
        Low->SetExpression(SLowFuzzyTerm);
    }
    if (Sets.IndexOf(SMediumFuzzyTerm) == -1) {
        TFuzzySet* Medium = Sets.Add(SMediumFuzzyTerm);
        Medium->CreateTriangleFunctionValues(Min, (Max - Min) / 2, Max);
        Medium->SetExpression(SMediumFuzzyTerm);
    }
    if (Sets.IndexOf(SHighFuzzyTerm) == -1) {
        TFuzzySet* High = Sets.Add(SHighFuzzyTerm);
        High->GetValues().Add(Min, 0.0);
        High->GetValues().Add(Max, 1.0);
        High->SetExpression(SHighFuzzyTerm);
    }
}

void TFuzzyLogic::NotifyFuzzySet(TFuzzySet* FuzzySet, TCollectionNotification Action) {
    switch (Action) {
        case cnAdded:
            if (OnFuzzySetAdded) OnFuzzySetAdded(this, FuzzySet);
            break;
        case cnExtracting:
            if (OnFuzzySetDeleted) OnFuzzySetDeleted(this, FuzzySet);
            break;
        case cnDeleting: break;
    }
}

void TFuzzyLogic::NotifyVariable(TFuzzyVariable* Variable, TCollectionNotification Action) {
    switch (Action) {
        case cnAdded:
            Variable->SetThreshold(FThreshold);
            if (OnVariableAdded) OnVariableAdded(this, Variable);
            if (FAutoTerms) AddAutoTerms(Variable);
            break;
        case cnExtracting:
            if (OnVariableDeleted) OnVariableDeleted(this, Variable);
            break;
        case cnDeleting: break;
    }
}

void TFuzzyLogic::UpdateVariable(TFuzzyVariable* Variable) {
    FNeedsUpdate = true;
    if (Variable == nullptr) {
        if (OnChange) OnChange(this);
    } else if (OnVariableChange) {
        OnVariableChange(this, Variable);
    }
}

void TFuzzyLogic::UpdateFuzzySet(TFuzzySet* FuzzySet) {
    FNeedsUpdate = true;
    if (OnFuzzySetChange) OnFuzzySetChange(this, FuzzySet);
}

void TFuzzyLogic::ThresholdChanged() {
    TCustomFuzzyLogic::ThresholdChanged();
    for (TFuzzyVariable* Variable : *FItems) Variable->SetThreshold(FThreshold);
}

// Handlers go first, so tearing the model down reports nothing to the application.
void TFuzzyLogic::BeforeDestruction() {
    OnChange = nullptr;
    OnFuzzySetChange = nullptr;
    OnFuzzySetAdded = nullptr;
    OnFuzzySetDeleted = nullptr;
    OnVariableChange = nullptr;
    OnVariableAdded = nullptr;
    OnVariableDeleted = nullptr;
    if (FItems) {
        FItems->FreeItems();
        FItems.reset();
    }
    TCustomFuzzyLogic::BeforeDestruction();
}

}  // namespace fzl
