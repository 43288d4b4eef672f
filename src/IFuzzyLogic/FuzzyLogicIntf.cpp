#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/IFuzzyLogic/FuzzyLogicIntf.h>
#include <fzl/VXGenerics/Collections.h>
#include <fzl/support/Format.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {

// ---- TFuzzyLogicHook ------------------------------------------------------------------------------

TFuzzyLogicHook::TFuzzyLogicHook(TIFuzzyLogic* Logic, TEvent Event) : FLogic(Logic), FEvent(Event) {}

void TFuzzyLogicHook::operator()(const TIntfPtr<IFuzzyVariable>& Sender,
                                 const TIntfPtr<IFuzzySet>& FuzzySet) const {
    TIFuzzyLogic* Logic = FLogic.Get();
    if (Logic == nullptr) return;  // the component is gone
    switch (FEvent) {
        case heFuzzySetAdded: Logic->FuzzySetAdded(Sender, FuzzySet); break;
        case heFuzzySetDeleted: Logic->FuzzySetDeleted(Sender, FuzzySet); break;
        case heFuzzySetChange: Logic->UpdateFuzzySet(Sender, FuzzySet); break;
    }
}

bool TFuzzyLogicHook::IsHookOf(const TIFuzzySetEvent& Handler, const TIFuzzyLogic* Logic) noexcept {
    const auto* Hook = Handler.target<TFuzzyLogicHook>();
    return Hook != nullptr && Hook->FLogic.Target() == Logic;
}

void TFuzzyLogicHook::ReportTextChange(const TIFuzzySetEvent& Handler) {
    const auto* Hook = Handler.target<TFuzzyLogicHook>();
    if (Hook == nullptr) return;
    if (TIFuzzyLogic* Logic = Hook->FLogic.Get()) Logic->MarkStringsStale();
}

// ---- TFuzzyVariableTable ----------------------------------------------------------------------------

TFuzzyVariableTable::TFuzzyVariableTable(TIFuzzyLogic* FuzzyLogic) : FFuzzyLogic(FuzzyLogic) {}

void TFuzzyVariableTable::Add(const TIntfPtr<IFuzzyVariable>& Variable) {
    if (!Variable) throw EGHashtableError(Format(SNilTableValue, {std::string()}));
    Put(Variable->GetName(), Variable);
}

TIntfPtr<IFuzzyVariable> TFuzzyVariableTable::ContainsVariable(const std::string& Name) const {
    TIntfPtr<IFuzzyVariable> Found;
    TryGetValue(Name, Found);
    return Found;
}

void TFuzzyVariableTable::Remove(const TIntfPtr<IFuzzyVariable>& Variable) {
    if (!Variable) return;
    const std::string Name = Variable->GetName();
    if (ContainsVariable(Name) != Variable) return;
    TVXStringHashTable::Remove(Name);
}

void TFuzzyVariableTable::Clear() {
    const std::vector<TIntfPtr<IFuzzyVariable>> Old = Values().ToArray();  // released last
    TVXStringHashTable::Clear();
    if (FFuzzyLogic == nullptr || Old.empty()) return;
    for (const TIntfPtr<IFuzzyVariable>& Variable : Old) FFuzzyLogic->Unhook(Variable);
    FFuzzyLogic->MarkStringsStale();
}

void TFuzzyVariableTable::DoAdd(std::int32_t HashCode, int BucketIndex, const std::string& Key,
                                const TIntfPtr<IFuzzyVariable>& Value) {
    TVXStringHashTable::DoAdd(HashCode, BucketIndex, Key, Value);
    if (FFuzzyLogic != nullptr) FFuzzyLogic->VariableAdded(Value);
}

void TFuzzyVariableTable::DoSetValue(int BucketIndex, const TIntfPtr<IFuzzyVariable>& Value) {
    const TIntfPtr<IFuzzyVariable> Old = Buckets()[static_cast<std::size_t>(BucketIndex)].Value;
    TVXStringHashTable::DoSetValue(BucketIndex, Value);
    if (FFuzzyLogic == nullptr) return;
    if (Old != Value) FFuzzyLogic->Unhook(Old);
    FFuzzyLogic->VariableAdded(Value);
}

TIntfPtr<IFuzzyVariable> TFuzzyVariableTable::DoRemove(const std::string& Key, std::int32_t HashCode,
                                                       TDictionaryNotification Notification) {
    TIntfPtr<IFuzzyVariable> Old = TVXStringHashTable::DoRemove(Key, HashCode, Notification);
    if (Old && FFuzzyLogic != nullptr) FFuzzyLogic->VariableDeleted(Old);
    return Old;
}

// ---- TIFuzzyLogic ---------------------------------------------------------------------------------------

TIFuzzyLogic::TIFuzzyLogic(TComponent* AOwner) : TCustomFuzzyLogic(AOwner) {}

// Here rather than in the constructor, so that a descendant's CreateVariables is reached.
void TIFuzzyLogic::AfterConstruction() {
    TCustomFuzzyLogic::AfterConstruction();
    FItems = CreateVariables();
}

TOwned<TFuzzyVariableTable> TIFuzzyLogic::CreateVariables() { return Make<TFuzzyVariableTable>(this); }

void TIFuzzyLogic::Loaded() {
    TCustomFuzzyLogic::Loaded();
    const TRestoringScope Restoring(*this);
    Parse();
}

void TIFuzzyLogic::DefineProperties(TPropertyList& Properties) {
    TCustomFuzzyLogic::DefineProperties(Properties);
    Properties.Object("Items", *FItems);
}

void TIFuzzyLogic::SetStateAside() {
    FItemsAside = CreateVariables();
    FItems->ExchangeEntries(*FItemsAside);
}

void TIFuzzyLogic::RestoreStateSetAside() {
    FItems->Clear();  // unhooks what a failed parse built
    FItems->ExchangeEntries(*FItemsAside);
    FItemsAside.reset();
}

void TIFuzzyLogic::DropStateSetAside() {
    FItemsAside->Clear();  // unhooks the variables left behind
    FItemsAside.reset();
}

void TIFuzzyLogic::Parse() {
    if (ComponentState().Contains(csLoading)) return;
    // Checked before the variables go, so that a missing parser costs nothing.
    if (FParser == nullptr) throw EFzyException(SParserUnassigned);
    const TParsing Parsing(*this);
    FItems->Clear();
    // The text about to be parsed is current; it must not be regenerated from the empty table.
    FNeedsUpdate = false;
    TCustomFuzzyLogic::Parse();
}

void TIFuzzyLogic::UpdateStrings() {
    TCustomFuzzyLogic::UpdateStrings();
    if (ComponentState().Contains(csLoading)) return;
    const TUpdateGuard Update(*FStrings);
    FStrings->Clear();
    // A variable the host built has no parser of its own (its ToString is its bare name): the
    // component's parser writes it, so that the text stays definition text that reads back.
    for (const auto& Item : *FItems)
        FStrings->Add(Item.Value->GetParser() ? Item.Value->ToString() : FParser->PrettyPrint(Item.Value));
}

void TIFuzzyLogic::ThresholdChanged() {
    TCustomFuzzyLogic::ThresholdChanged();
    for (const auto& Item : *FItems) Item.Value->SetThreshold(FThreshold);
}

// The expression is set last: every point edit clears it.
void TIFuzzyLogic::AddAutoTerms(const TIntfPtr<IFuzzyVariable>& Variable) {
    const TFzyFloat Min = Variable->GetMinimum();
    const TFzyFloat Max = Variable->GetMaximum();
    if (!Variable->ContainsFuzzySet(SLowFuzzyTerm)) {
        const TIntfPtr<IFuzzySet> Low = Variable->Add(SLowFuzzyTerm);
        Low->Add(Min, 1.0);
        Low->Add(Max, 0.0);
        Low->SetExpression(SLowFuzzyTerm);
    }
    if (!Variable->ContainsFuzzySet(SMediumFuzzyTerm)) {
        const TIntfPtr<IFuzzySet> Medium = Variable->Add(SMediumFuzzyTerm);
        Medium->CreateTriangleFunctionValues(Min, (Max - Min) / 2, Max);
        Medium->SetExpression(SMediumFuzzyTerm);
    }
    if (!Variable->ContainsFuzzySet(SHighFuzzyTerm)) {
        const TIntfPtr<IFuzzySet> High = Variable->Add(SHighFuzzyTerm);
        High->Add(Min, 0.0);
        High->Add(Max, 1.0);
        High->SetExpression(SHighFuzzyTerm);
    }
}

void TIFuzzyLogic::VariableAdded(const TIntfPtr<IFuzzyVariable>& Variable) {
    Variable->SetThreshold(FThreshold);
    if (FAutoTerms) AddAutoTerms(Variable);  // before the hooks: not reported
    Variable->SetOnFuzzySetAdded(TFuzzyLogicHook(this, TFuzzyLogicHook::heFuzzySetAdded));
    Variable->SetOnFuzzySetDeleted(TFuzzyLogicHook(this, TFuzzyLogicHook::heFuzzySetDeleted));
    Variable->SetOnFuzzySetChange(TFuzzyLogicHook(this, TFuzzyLogicHook::heFuzzySetChange));
    MarkStringsStale();
    if (!IsRestoring() && OnVariableAdded) OnVariableAdded(Variable);
}

void TIFuzzyLogic::VariableDeleted(const TIntfPtr<IFuzzyVariable>& Variable) {
    Unhook(Variable);
    MarkStringsStale();
    if (!IsRestoring() && OnVariableDeleted) OnVariableDeleted(Variable);
}

void TIFuzzyLogic::Unhook(const TIntfPtr<IFuzzyVariable>& Variable) {
    if (TFuzzyLogicHook::IsHookOf(Variable->GetOnFuzzySetAdded(), this))
        Variable->SetOnFuzzySetAdded(nullptr);
    if (TFuzzyLogicHook::IsHookOf(Variable->GetOnFuzzySetDeleted(), this))
        Variable->SetOnFuzzySetDeleted(nullptr);
    if (TFuzzyLogicHook::IsHookOf(Variable->GetOnFuzzySetChange(), this))
        Variable->SetOnFuzzySetChange(nullptr);
}

void TIFuzzyLogic::FuzzySetAdded(const TIntfPtr<IFuzzyVariable>& Variable,
                                 const TIntfPtr<IFuzzySet>& FuzzySet) {
    MarkStringsStale();
    if (!IsRestoring() && OnFuzzySetAdded) OnFuzzySetAdded(Variable, FuzzySet);
}

void TIFuzzyLogic::FuzzySetDeleted(const TIntfPtr<IFuzzyVariable>& Variable,
                                   const TIntfPtr<IFuzzySet>& FuzzySet) {
    MarkStringsStale();
    if (!IsRestoring() && OnFuzzySetDeleted) OnFuzzySetDeleted(Variable, FuzzySet);
}

void TIFuzzyLogic::UpdateFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable,
                                  const TIntfPtr<IFuzzySet>& FuzzySet) {
    MarkStringsStale();
    if (!IsRestoring() && OnFuzzySetChange) OnFuzzySetChange(Variable, FuzzySet);
}

void TIFuzzyLogic::UpdateVariable(const TIntfPtr<IFuzzyVariable>& Variable) {
    MarkStringsStale();
    if (IsRestoring()) return;
    if (!Variable) {
        if (OnChange) OnChange(this);
    } else if (OnVariableChange) {
        OnVariableChange(Variable);
    }
}

// Handlers go first, so tearing the model down reports nothing to the application.
void TIFuzzyLogic::BeforeDestruction() {
    OnChange = nullptr;
    OnFuzzySetChange = nullptr;
    OnVariableChange = nullptr;
    OnFuzzySetDeleted = nullptr;
    OnFuzzySetAdded = nullptr;
    OnVariableDeleted = nullptr;
    OnVariableAdded = nullptr;
    if (FItems) {
        // Variables referenced elsewhere outlive the component: they keep no hook to it.
        for (const auto& Item : *FItems) Unhook(Item.Value);
        FItems.reset();
    }
    TCustomFuzzyLogic::BeforeDestruction();
}

// ---- TFuzzyVariableStrings -------------------------------------------------------------------------------

TFuzzyVariableStrings::TFuzzyVariableStrings(TIFuzzyLogic* FuzzyLogic) : FFuzzyLogic(FuzzyLogic) {}

TIntfPtr<IFuzzyVariable> TFuzzyVariableStrings::GetData(int Index) const {
    return TInterfaceStringList::GetData(Index).Query<IFuzzyVariable>();
}

void TFuzzyVariableStrings::PutData(int Index, const TIntfPtr<IInterface>& Value) {
    TIFuzzyLogic* Logic = FFuzzyLogic.Get();
    const TIntfPtr<IFuzzyVariable> Old = GetData(Index);
    if (Logic != nullptr && Old) Logic->VariableDeleted(Old);
    TInterfaceStringList::PutData(Index, Value);
    const TIntfPtr<IFuzzyVariable> New = Value.Query<IFuzzyVariable>();
    if (Logic != nullptr && New) Logic->VariableAdded(New);
}

}  // namespace fzl
