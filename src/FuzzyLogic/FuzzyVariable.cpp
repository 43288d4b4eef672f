#include <algorithm>
#include <typeinfo>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/StringList.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/Unobserved.h"

namespace fzl {

// ---- TFuzzySets ---------------------------------------------------------------

TFuzzySets::TFuzzySets(TFuzzyVariable* Variable, TFuzzySetClass ItemClass)
    : TTypedCollection(TCollectionItemClass(ItemClass), Variable),
      FVariable(Variable),
      FSetClass(ItemClass) {}

TFuzzySet* TFuzzySets::Add() {
    TFuzzySet* FuzzySet = TTypedCollection::Add();
    // A new set becomes the current one; written directly, as it is no edit of the variable.
    if (FVariable != nullptr) FVariable->FItemIndex = FuzzySet->GetIndex();
    return FuzzySet;
}

TFuzzySet* TFuzzySets::Add(const std::string& Name) {
    TFuzzySet* FuzzySet = Add();
    // A reserved name raises here; the set stays, unnamed and undefined.
    FuzzySet->SetName(Name);
    FuzzySet->SetDefined(!Name.empty() && Name != SEmptyFuzzy);
    return FuzzySet;
}

TFuzzySet* TFuzzySets::GetItemByName(const std::string& Name) const {
    if (TFuzzySet* FuzzySet = Find(Name)) return FuzzySet;
    throw EFzyException(SUnknownFuzzySetName, {Name});
}

void TFuzzySets::SetItemByName(const std::string& Name, const TFuzzySet& Value) {
    GetItemByName(Name)->Assign(Value);
}

void TFuzzySets::Update(TCollectionItem* Item) {
    TTypedCollection::Update(Item);
    if (FVariable != nullptr && !FRelayMuted) FVariable->Update(static_cast<TFuzzySet*>(Item));
}

void TFuzzySets::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    TTypedCollection::Notify(Item, Action);
    if (FVariable != nullptr && !FRelayMuted) FVariable->Notify(static_cast<TFuzzySet*>(Item), Action);
}

// ---- TFuzzyVariable ---------------------------------------------------------------

namespace {

TFuzzySetClass SetClassOf(const TCollection* Collection) {
    if (const auto* Variables = DownCast<const TFuzzyVariables>(Collection)) return Variables->GetSetClass();
    return TFuzzySetClass::Of<TFuzzySet>();
}

}  // namespace

TFuzzyVariable::TFuzzyVariable(TCollection* Collection)
    : TFuzzyVariable(Collection, SetClassOf(Collection)) {}

TFuzzyVariable::TFuzzyVariable(TCollection* /*Collection*/, TFuzzySetClass SetClass) : FSetClass(SetClass) {}

TFuzzyVariable::~TFuzzyVariable() = default;

// The class reference joins the collection only after this, so the sets exist
// before anyone hears of the variable.
void TFuzzyVariable::AfterConstruction() {
    TGCollectionItem::AfterConstruction();
    FItems = CreateItems();
}

TOwned<TFuzzySets> TFuzzyVariable::CreateItems() { return Make<TFuzzySets>(this, FSetClass); }

// SetCollection admits only variable collections, so the owner is known to be one.
TFuzzyVariables* TFuzzyVariable::GetCollection() const noexcept {
    return static_cast<TFuzzyVariables*>(TGCollectionItem::GetCollection());
}

void TFuzzyVariable::SetCollection(TCollection* Value) {
    RequireCollection<TFuzzyVariables>(*this, Value);
    TGCollectionItem::SetCollection(Value);
}

TFuzzyLogic* TFuzzyVariable::GetFuzzy() const noexcept {
    const TFuzzyVariables* Variables = GetCollection();
    return Variables != nullptr ? Variables->GetFuzzy() : nullptr;
}

bool TFuzzyVariable::InDesignMode() const noexcept {
    const TFuzzyLogic* Fuzzy = GetFuzzy();
    return Fuzzy != nullptr && Fuzzy->ComponentState().Contains(csDesigning);
}

TFuzzySetSettings TFuzzyVariable::GetSetSettings() const {
    TFuzzySetSettings Settings;
    Settings.Threshold = FThreshold;
    if (const TFuzzyLogic* Fuzzy = GetFuzzy()) {
        Settings.NumFunctionValues = Fuzzy->GetNumFunctionValues();
        Settings.CorrelationMethod = Fuzzy->GetCorrelationMethod();
        Settings.InferenceMethod = Fuzzy->GetInferenceMethod();
        Settings.DefuzzificationMethod = Fuzzy->GetDefuzzificationMethod();
        const TComponentState State = Fuzzy->ComponentState();
        Settings.Loading = State.Contains(csLoading);
        Settings.Designing = State.Contains(csDesigning);
        Settings.Printer = Fuzzy->GetParser();
    }
    return Settings;
}

void TFuzzyVariable::SetName(const std::string& Value) {
    if (Value == FName) return;
    FName = Value;
    Changed(false);
}

void TFuzzyVariable::SetUnits(const std::string& Value) {
    if (Value == FUnits) return;
    FUnits = Value;
    Changed(false);
}

void TFuzzyVariable::SetComment(const std::string& Value) {
    if (Value == FComment) return;
    FComment = Value;
    Changed(false);
}

void TFuzzyVariable::SetMinimum(TFzyFloat Value) {
    if (Value == FMinimum) return;
    FMinimum = Value;
    if (FMinimum > FMaximum) SetMaximum(FMinimum);
    Changed(false);
}

void TFuzzyVariable::SetMaximum(TFzyFloat Value) {
    if (Value == FMaximum) return;
    FMaximum = Value;
    if (FMinimum > FMaximum) SetMinimum(FMaximum);
    Changed(false);
}

void TFuzzyVariable::SetThreshold(TFzyFloat Value) noexcept { FThreshold = std::clamp(Value, 0.0, 1.0); }

void TFuzzyVariable::SetItemIndex(int Value) {
    if (Value == FItemIndex) return;
    if (Value >= FItems->Count()) throw EFzyException(SListIndexError, {Value});
    FItemIndex = Value;
    Changed(false);
}

void TFuzzyVariable::ClampItemIndex() noexcept {
    const int Count = FItems ? FItems->Count() : 0;
    if (Count <= FItemIndex) FItemIndex = Count - 1;
}

std::string TFuzzyVariable::GetDisplayName() const {
    return FName.empty() ? TGCollectionItem::GetDisplayName() : FName;
}

std::string TFuzzyVariable::ToString() const {
    if (const TFuzzyLogic* Fuzzy = GetFuzzy())
        if (TCustomFuzzyLogicParser* Parser = Fuzzy->GetParser()) return Parser->PrettyPrint(*this);
    return GetDisplayName();
}

void TFuzzyVariable::Assign(const TPersistent& Source) {
    const auto* Other = DownCast<const TFuzzyVariable>(&Source);
    if (Other == nullptr) {
        TGCollectionItem::Assign(Source);
        return;
    }
    // Fields are copied as they are; the sets' closing report tells the owner once.
    FName = Other->FName;
    FMinimum = Other->FMinimum;
    FMaximum = Other->FMaximum;
    FThreshold = Other->FThreshold;
    FUnits = Other->FUnits;
    FComment = Other->FComment;
    FItemIndex = Other->FItemIndex;
    FItems->Assign(*Other->FItems);
}

void TFuzzyVariable::AssignTo(TPersistent& Dest) const {
    auto* Strings = dynamic_cast<TStrings*>(&Dest);
    if (Strings == nullptr) {
        TGCollectionItem::AssignTo(Dest);
        return;
    }
    const TUpdateGuard Update(*Strings);
    Strings->Clear();
    for (TFuzzySet* FuzzySet : *FItems) Strings->AddObject(FuzzySet->GetName(), FuzzySet);
}

bool TFuzzyVariable::SetsUnobserved() const noexcept { return detail::SetsUnobserved(FItems.get()); }

void TFuzzyVariable::Notify(TFuzzySet* FuzzySet, TCollectionNotification Action) {
    if (TFuzzyVariables* Variables = GetCollection())
        Variables->NotifyFuzzySet(FuzzySet, Action);
    else
        Changed(false);
}

void TFuzzyVariable::Update(TFuzzySet* FuzzySet) {
    ClampItemIndex();
    TFuzzyVariables* Variables = GetCollection();
    if (FuzzySet != nullptr && Variables != nullptr)
        Variables->UpdateFuzzySet(FuzzySet);
    else
        Changed(false);  // the set collection as a whole counts as a change of the variable
}

// The sets leave first, each reported while whole, without a whole-collection
// report per set; then the variable leaves its collection while its own name and
// range are still readable. The empty set collection goes with the object.
void TFuzzyVariable::BeforeDestruction() {
    if (FItems) FItems->FreeItems();
    TGCollectionItem::BeforeDestruction();
}

void TFuzzyVariable::DefineProperties(TPropertyList& Properties) {
    TGCollectionItem::DefineProperties(Properties);
    Properties.String<&TFuzzyVariable::GetName, &TFuzzyVariable::SetName>("Name", this);
    Properties.String<&TFuzzyVariable::GetUnits, &TFuzzyVariable::SetUnits>("Units", this);
    Properties.String<&TFuzzyVariable::GetComment, &TFuzzyVariable::SetComment>("Comment", this);
    // Minimum before Maximum: each drags the other only as far as the later one undoes.
    Properties.FloatStored<&TFuzzyVariable::GetMinimum, &TFuzzyVariable::SetMinimum>("Minimum", this, 0.0);
    Properties.FloatStored<&TFuzzyVariable::GetMaximum, &TFuzzyVariable::SetMaximum>("Maximum", this, 1.0);
    Properties.FloatStored<&TFuzzyVariable::GetThreshold, &TFuzzyVariable::SetThreshold>("Threshold", this,
                                                                                         0.0);
    Properties.Collection("Items", *FItems, true);
    Properties.IntegerStored<&TFuzzyVariable::GetItemIndex, &TFuzzyVariable::SetItemIndex>("ItemIndex", this,
                                                                                           -1);
}

// ---- TFuzzyVariables --------------------------------------------------------------

TFuzzyVariables::TFuzzyVariables(TFuzzyLogic* AOwner)
    : TFuzzyVariables(AOwner, TFuzzyVariableClass::Of<TFuzzyVariable>(), TFuzzySetClass::Of<TFuzzySet>()) {}

TFuzzyVariables::TFuzzyVariables(TFuzzyLogic* AOwner, TFuzzyVariableClass ItemClass)
    : TFuzzyVariables(AOwner, ItemClass, TFuzzySetClass::Of<TFuzzySet>()) {}

TFuzzyVariables::TFuzzyVariables(TFuzzyLogic* AOwner, TFuzzyVariableClass ItemClass, TFuzzySetClass SetClass)
    : TTypedCollection(TCollectionItemClass(ItemClass), AOwner), FFuzzy(AOwner), FSetClass(SetClass) {}

// The item class constructs with this collection and so picks up FSetClass.
TFuzzyVariable* TFuzzyVariables::Add(const std::string& Name) {
    TFuzzyVariable* Variable = Add();
    Variable->SetName(Name);
    return Variable;
}

TFuzzyVariable* TFuzzyVariables::GetItemByName(const std::string& Name) const {
    if (TFuzzyVariable* Variable = Find(Name)) return Variable;
    throw EFzyException(SUnknownFuzzyVarName, {Name});
}

void TFuzzyVariables::SetItemByName(const std::string& Name, const TFuzzyVariable& Value) {
    GetItemByName(Name)->Assign(Value);
}

void TFuzzyVariables::Update(TCollectionItem* Item) {
    TTypedCollection::Update(Item);
    auto* Variable = static_cast<TFuzzyVariable*>(Item);
    if (Variable != nullptr) Variable->ClampItemIndex();
    if (FFuzzy != nullptr) FFuzzy->UpdateVariable(Variable);
}

void TFuzzyVariables::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    TTypedCollection::Notify(Item, Action);
    if (FFuzzy != nullptr) FFuzzy->NotifyVariable(static_cast<TFuzzyVariable*>(Item), Action);
}

void TFuzzyVariables::UpdateFuzzySet(TFuzzySet* FuzzySet) {
    if (FFuzzy != nullptr) FFuzzy->UpdateFuzzySet(FuzzySet);
}

void TFuzzyVariables::NotifyFuzzySet(TFuzzySet* FuzzySet, TCollectionNotification Action) {
    if (FFuzzy != nullptr) FFuzzy->NotifyFuzzySet(FuzzySet, Action);
}

}  // namespace fzl
