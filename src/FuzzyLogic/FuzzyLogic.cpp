#include <algorithm>
#include <utility>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/PropertySnapshot.h>
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

void TCustomFuzzyLogic::DefineProperties(TPropertyList& Properties) {
    TComponent::DefineProperties(Properties);
    using T = TCustomFuzzyLogic;
    Properties.Boolean<&T::GetAutoTerms, &T::SetAutoTerms>("AutoTerms", this, true);
    Properties.Enumeration<&T::GetCorrelationMethod, &T::SetCorrelationMethod>("CorrelationMethod", this,
                                                                               fcmMinimum);
    Properties.Enumeration<&T::GetInferenceMethod, &T::SetInferenceMethod>("InferenceMethod", this,
                                                                           fimMinMax);
    Properties.Enumeration<&T::GetDefuzzificationMethod, &T::SetDefuzzificationMethod>(
        "DefuzzificationMethod", this, dmCenterOfGravity);
    Properties.Integer<&T::GetNumFunctionValues, &T::SetNumFunctionValues>("NumFunctionValues", this, 7);
    Properties.FloatStored<&T::GetThreshold, &T::SetThreshold>("Threshold", this, 0.01);
    Properties.Strings<&T::GetVariables, &T::SetVariables>("Variables", this);
    Properties.Strings<&T::GetStrings, &T::SetStrings, &T::IsStringsStored>("Strings", this);
}

void TCustomFuzzyLogic::LoadFrom(TFunctionRef<void()> Read) {
    const TRestoringScope Restoring(*this);
    BeginLoading();
    // Taken without regenerating a stale text: the text is set aside as it is.
    const bool WasStale = std::exchange(FNeedsUpdate, false);
    SetStateAside();  // first, so that resetting the threshold reaches no variable
    const TPropertySnapshot Settings(*this);
    TPropertySnapshot::ResetToNew(*this);
    auto PutBack = [&] {
        BeginLoading();
        Settings.Restore();  // before the variables come back: a threshold would reach them
        RestoreStateSetAside();
        FNeedsUpdate = WasStale;
        TComponent::Loaded();  // the loading state ends; the load never completed
    };
    try {
        Read();
        Loaded();
    } catch (...) {
        PutBack();
        throw;
    }
    const bool Stale = FNeedsUpdate;
    DropStateSetAside();
    FNeedsUpdate = Stale;
}

void TCustomFuzzyLogic::Loaded() {
    TComponent::Loaded();
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

void TFuzzyLogic::DefineProperties(TPropertyList& Properties) {
    TCustomFuzzyLogic::DefineProperties(Properties);
    Properties.Collection("Items", *FItems, true);
}

void TFuzzyLogic::Loaded() {
    TCustomFuzzyLogic::Loaded();
    // Saved without a parser to regenerate it, the text of a changed model was left out.
    if (FStrings->Count() == 0 && FItems->Count() > 0) FNeedsUpdate = true;
}

void TFuzzyLogic::SetStateAside() {
    FItemsAside = CreateVariables();
    FItems->ExchangeItems(*FItemsAside);
}

void TFuzzyLogic::RestoreStateSetAside() {
    FItems->Clear();
    FItems->ExchangeItems(*FItemsAside);
    FItemsAside.reset();
}

void TFuzzyLogic::DropStateSetAside() { FItemsAside.reset(); }

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
    if (IsRestoring()) return;
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
    if (IsRestoring()) return;  // stored variables keep their own threshold and sets
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
    if (IsRestoring()) return;
    if (Variable == nullptr) {
        if (OnChange) OnChange(this);
    } else if (OnVariableChange) {
        OnVariableChange(this, Variable);
    }
}

void TFuzzyLogic::UpdateFuzzySet(TFuzzySet* FuzzySet) {
    FNeedsUpdate = true;
    if (!IsRestoring() && OnFuzzySetChange) OnFuzzySetChange(this, FuzzySet);
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
