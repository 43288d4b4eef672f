#include <algorithm>
#include <cstddef>
#include <unordered_set>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/IFuzzyLogic/FuzzyLogicHook.h>
#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXGenerics/Collections.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>

namespace fzl {
namespace {

// Defined and named: the sets a table holds.
bool IsKeyable(const IFuzzySet& Set) {
    if (!Set.GetDefined()) return false;
    const std::string Name = Set.GetName();
    return !Name.empty() && Name != SEmptyFuzzy;
}

void RequireSet(const TIntfPtr<IFuzzySet>& Set) {
    if (!Set) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
}

}  // namespace

// ---- TIFuzzySets ---------------------------------------------------------------------------------

TIFuzzySets::TIFuzzySets(TIFuzzyVariable* Variable) : FVariable(Variable) {}

// Every public change of the table keeps the variable alive while it runs: the table
// may hold the last references that lead to it (its sets' counted links) and drop them.
TIntfPtr<IFuzzyVariable> TIFuzzySets::VariableIntf() const {
    return FVariable != nullptr ? FVariable->SelfIntf() : nullptr;
}

void TIFuzzySets::Add(const TIntfPtr<IFuzzySet>& FuzzySet) {
    if (!FuzzySet) throw EGHashtableError(Format(SNilTableValue, {std::string()}));
    const TIntfPtr<IFuzzyVariable> Variable = VariableIntf();
    // A set of ours registers itself as it moves; others are put below.
    if (FuzzySet->GetVariable() != Variable) FuzzySet->SetVariable(Variable);
    if (!IsKeyable(*FuzzySet)) return;
    const std::string Name = FuzzySet->GetName();
    if (ContainsFuzzySet(Name) == FuzzySet) return;
    Put(Name, FuzzySet);
}

TIntfPtr<IFuzzySet> TIFuzzySets::Add(const std::string& Name) {
    const TIntfPtr<IFuzzyVariable> Variable = VariableIntf();
    const TIFuzzySetClass SetClass =
        FVariable != nullptr ? FVariable->GetFuzzySetClass() : TIFuzzySetClass::Of<TIFuzzySet>();
    const TIntfPtr<TIFuzzySet> Set = SetClass.Create(Variable, Name);
    if (!Name.empty() && Name != SEmptyFuzzy) Set->SetDefined(true);  // enters the table
    Add(TIntfPtr<IFuzzySet>(Set));
    return Set;
}

void TIFuzzySets::Remove(const TIntfPtr<IFuzzySet>& FuzzySet) {
    if (!FuzzySet) return;
    const TIntfPtr<IFuzzyVariable> Keep = VariableIntf();
    const std::string Name = FuzzySet->GetName();
    if (ContainsFuzzySet(Name) != FuzzySet) return;
    TVXStringHashTable::Remove(Name);
}

void TIFuzzySets::Clear() {
    const TIntfPtr<IFuzzyVariable> Keep = VariableIntf();
    const std::vector<TIntfPtr<IFuzzySet>> Old = Values().ToArray();  // released last
    TVXStringHashTable::Clear();
    FNewIndex = 0;
    for (const TIntfPtr<IFuzzySet>& Set : Old) Left(Set);
    if (FVariable != nullptr) FVariable->ClearFuzzySets();
}

TIntfPtr<IFuzzySet> TIFuzzySets::ContainsFuzzySet(const std::string& Name) const {
    TIntfPtr<IFuzzySet> Found;
    TryGetValue(Name, Found);
    return Found;
}

void TIFuzzySets::AssignFuzzySets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) {
    if (!FuzzyVariable) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    const TIntfPtr<IFuzzyVariable> Variable = VariableIntf();
    if (FuzzyVariable == Variable) return;
    InUpdate([&] {
        Clear();
        for (int Index = 0; Index < FuzzyVariable->GetCount(); ++Index) {
            const TIntfPtr<IFuzzySet> Source = FuzzyVariable->GetFuzzySet(Index);
            const TIntfPtr<IFuzzySet> Copy = Source->Clone(Variable);
            Copy->SetDefined(Source->GetDefined());  // a defined copy enters the table
            Add(Copy);
        }
    });
}

bool TIFuzzySets::EqualsSets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) const {
    if (!FuzzyVariable) return false;
    for (const auto& Item : *this) {
        const TIntfPtr<IFuzzySet> Other = FuzzyVariable->ContainsFuzzySet(Item.Key);
        if (!Other || !Item.Value->Equals(Other)) return false;
    }
    return true;
}

void TIFuzzySets::Assign(const TPersistent& Source) {
    if (&Source == this) return;
    if (const auto* Sets = dynamic_cast<const TIFuzzySets*>(&Source)) {
        AssignFuzzySets(Sets->VariableIntf());
        return;
    }
    if (const auto* List = dynamic_cast<const TInterfaceStringList*>(&Source)) {
        std::vector<TIntfPtr<IFuzzySet>> Sets;
        std::unordered_set<std::string_view> Seen;
        for (const auto& Line : *List) {
            TIntfPtr<IFuzzySet> Set = Line.Data.Query<IFuzzySet>();
            if (!Set) throw EGHashtableError(Format(SNilTableValue, {Line.String}));
            if (Set->GetName() != Line.String)
                throw EGHashtableError(Format(SFuzzySetKeyMismatch, {Set->GetName(), Line.String}));
            if (!Seen.insert(Line.String).second) throw EListError(SDuplicateItem);
            Sets.push_back(std::move(Set));
        }
        InUpdate([&] {
            Clear();
            for (const TIntfPtr<IFuzzySet>& Set : Sets) Add(Set);
        });
        return;
    }
    TVXStringHashTable::Assign(Source);
}

std::string TIFuzzySets::ToString() const {
    return FVariable != nullptr ? FVariable->ToString() : ClassName();
}

void TIFuzzySets::CheckValue(const std::string& Key, const TIntfPtr<IFuzzySet>& Value) const {
    TVXStringHashTable::CheckValue(Key, Value);
    const std::string Name = Value->GetName();
    const IFuzzyVariable* Own = FVariable;
    if (Name != Key || !IsKeyable(*Value) || Value->GetVariable().Get() != Own)
        throw EGHashtableError(Format(SFuzzySetKeyMismatch, {Name, Key}));
}

// After the inherited hook, only the arguments are used: a handler may have moved the buckets.
void TIFuzzySets::DoAdd(std::int32_t HashCode, int BucketIndex, const std::string& Key,
                        const TIntfPtr<IFuzzySet>& Value) {
    TVXStringHashTable::DoAdd(HashCode, BucketIndex, Key, Value);
    Entered(Value);
    if (FVariable != nullptr) FVariable->NewFuzzySet(Value);
}

void TIFuzzySets::DoSetValue(int BucketIndex, const TIntfPtr<IFuzzySet>& Value) {
    const TIntfPtr<IFuzzySet> Old = Buckets()[static_cast<std::size_t>(BucketIndex)].Value;
    TVXStringHashTable::DoSetValue(BucketIndex, Value);
    if (Old != Value) {
        // Displaced by a set of the same name: it leaves, and says so.
        Left(Old);
        if (FVariable != nullptr) FVariable->RemoveFuzzySet(Old);
    }
    Entered(Value);
    if (FVariable != nullptr) FVariable->NewFuzzySet(Value);
}

TIntfPtr<IFuzzySet> TIFuzzySets::DoRemove(const std::string& Key, std::int32_t HashCode,
                                          TDictionaryNotification Notification) {
    TIntfPtr<IFuzzySet> Old = TVXStringHashTable::DoRemove(Key, HashCode, Notification);
    if (Old) {
        Left(Old);
        if (FVariable != nullptr) FVariable->RemoveFuzzySet(Old);
    }
    return Old;
}

void TIFuzzySets::Entered(const TIntfPtr<IFuzzySet>& FuzzySet) {
    FuzzySet->SetIndex(NewIndex());
    if (auto* Own = DownCast<TIFuzzySet>(FuzzySet.Get())) Own->EnteredTable();
}

void TIFuzzySets::Left(const TIntfPtr<IFuzzySet>& FuzzySet) {
    if (auto* Own = DownCast<TIFuzzySet>(FuzzySet.Get())) Own->LeftTable();
}

// ---- TIFuzzyVariable ----------------------------------------------------------------------------------

TIFuzzyVariable::TIFuzzyVariable(const std::string& Name) : FName(Name) {}

// Here rather than in the constructor, so that a descendant's CreateItems is reached.
void TIFuzzyVariable::AfterConstruction() {
    TInterfaced::AfterConstruction();
    FItems = CreateItems();
}

TOwned<TIFuzzySets> TIFuzzyVariable::CreateItems() { return Make<TIFuzzySets>(this); }

void TIFuzzyVariable::BeforeDestruction() {
    SetParser(nullptr);
    FOnFuzzySetChange = nullptr;
    FOnVariableChange = nullptr;
    FOnChange = nullptr;
    FOnFuzzySetAdded = nullptr;
    FOnFuzzySetDeleted = nullptr;
    if (FItems) {
        // The sets still held may be referenced elsewhere: they outlive their variable without it.
        for (const auto& Item : *FItems)
            if (auto* Own = DownCast<TIFuzzySet>(Item.Value.Get())) Own->VariableGone();
        FItems.reset();
    }
    TIFuzzyVariablePersistent::BeforeDestruction();
}

TIntfPtr<IFuzzyVariable> TIFuzzyVariable::SelfIntf() const {
    // A new reference to this very object; handing it out does not change the variable.
    return const_cast<TIFuzzyVariable*>(this)
        ->AsIntf<IFuzzyVariable>();  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

// ---- Properties ----------------------------------------------------------------------------------------

void TIFuzzyVariable::SetName(const std::string& Value) {
    if (Value == FName) return;
    FName = Value;
    Changed();
}

void TIFuzzyVariable::SetUnits(const std::string& Value) {
    if (Value == FUnits) return;
    FUnits = Value;
    TextChanged();
}

void TIFuzzyVariable::SetComment(const std::string& Value) {
    if (Value == FComment) return;
    FComment = Value;
    TextChanged();
}

void TIFuzzyVariable::SetMinimum(TFzyFloat Value) {
    if (Value == FMinimum) return;
    FMinimum = Value;
    if (FMinimum > FMaximum) SetMaximum(FMinimum);
    Changed();
}

void TIFuzzyVariable::SetMaximum(TFzyFloat Value) {
    if (Value == FMaximum) return;
    FMaximum = Value;
    if (FMinimum > FMaximum) SetMinimum(FMaximum);
    Changed();
}

void TIFuzzyVariable::SetThreshold(TFzyFloat Value) { FThreshold = std::clamp(Value, 0.0, 1.0); }

void TIFuzzyVariable::SetNumFunctionValues(int Value) {
    if (Value == FNumFunctionValues) return;
    FNumFunctionValues = Value;
    Changed();
}

void TIFuzzyVariable::SetParser(const TIntfPtr<IFuzzyParser>& Value) {
    FParser.Set(Value);
    if (!FItems) return;
    for (const auto& Item : *FItems) Item.Value->SetParser(Value);
}

// ---- Reports ---------------------------------------------------------------------------------------------

void TIFuzzyVariable::Changed() {
    if (FOnChange) FOnChange(this);
    if (FOnVariableChange) FOnVariableChange(SelfIntf());
    TextChanged();
}

void TIFuzzyVariable::TextChanged() const { TFuzzyLogicHook::ReportTextChange(FOnFuzzySetChange); }

void TIFuzzyVariable::NewFuzzySet(const TIntfPtr<IFuzzySet>& FuzzySet) {
    if (FOnFuzzySetAdded) FOnFuzzySetAdded(SelfIntf(), FuzzySet);
    Changed();
}

void TIFuzzyVariable::RemoveFuzzySet(const TIntfPtr<IFuzzySet>& FuzzySet) {
    if (FOnFuzzySetDeleted) FOnFuzzySetDeleted(SelfIntf(), FuzzySet);
    Changed();
}

void TIFuzzyVariable::FuzzySetChanged(const TIntfPtr<IFuzzySet>& FuzzySet) {
    if (FOnFuzzySetChange) FOnFuzzySetChange(SelfIntf(), FuzzySet);
}

void TIFuzzyVariable::ClearFuzzySets() { Changed(); }

// ---- The sets
// -----------------------------------------------------------------------------------------------

void TIFuzzyVariable::Add(const TIntfPtr<IFuzzySet>& FuzzySet) { FItems->Add(FuzzySet); }

TIntfPtr<IFuzzySet> TIFuzzyVariable::Add(const std::string& Name) { return FItems->Add(Name); }

void TIFuzzyVariable::Remove(const TIntfPtr<IFuzzySet>& FuzzySet) { FItems->Remove(FuzzySet); }

void TIFuzzyVariable::Clear() { FItems->Clear(); }

void TIFuzzyVariable::AssignFuzzySets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) {
    FItems->AssignFuzzySets(FuzzyVariable);
}

// ---- Rule firing
// -------------------------------------------------------------------------------------------

TFzyFloat TIFuzzyVariable::GetCorrelationStrength(std::span<const TIntfPtr<IFuzzySet>> Premises,
                                                  std::span<const TIntfPtr<IFuzzySet>> Facts) {
    // Checked before any sweep, so that a bad call leaves every set untouched.
    if (Facts.size() < Premises.size())
        throw EListError(Format(SListIndexError, {static_cast<int>(Facts.size())}));
    for (std::size_t K = 0; K < Premises.size(); ++K) {
        RequireSet(Premises[K]);
        RequireSet(Facts[K]);
    }
    TFzyFloat Strength = 1.0;
    for (std::size_t K = 0; K < Premises.size(); ++K)
        Strength = std::min(Strength, Premises[K]->GetCorrelationStrength(Facts[K]));
    return Strength;
}

TIntfPtr<IFuzzySet> TIFuzzyVariable::AssertRule(std::span<const TIntfPtr<IFuzzySet>> Premises,
                                                std::span<const TIntfPtr<IFuzzySet>> Facts,
                                                const TIntfPtr<IFuzzySet>& Consequent,
                                                const TIntfPtr<IFuzzySet>& Conclusion) {
    return AssertRule(GetCorrelationStrength(Premises, Facts), Consequent, Conclusion);
}

// The methods are fixed: clipping and max, whatever a component above says.
TIntfPtr<IFuzzySet> TIFuzzyVariable::AssertRule(TFzyFloat Strength, const TIntfPtr<IFuzzySet>& Consequent,
                                                const TIntfPtr<IFuzzySet>& Conclusion) {
    if (Strength < FThreshold) return nullptr;
    RequireSet(Consequent);
    const TIntfPtr<IFuzzySet> Correlated = CloneOf(Consequent);
    Correlated->Correlate(Strength, fcmMinimum);
    if (!Conclusion) return Correlated;
    return Conclusion->Infer(Correlated, fimMinMax, false);
}

TIntfPtr<IFuzzySet> TIFuzzyVariable::AssertRule(const TIntfPtr<IFuzzySet>& Premise,
                                                const TIntfPtr<IFuzzySet>& Consequent,
                                                const TIntfPtr<IFuzzySet>& Fact,
                                                const TIntfPtr<IFuzzySet>& Conclusion) {
    RequireSet(Premise);
    return AssertRule(Premise->GetCorrelationStrength(Fact), Consequent, Conclusion);
}

// ---- Copies, comparison, text
// ------------------------------------------------------------------------------

void TIFuzzyVariable::Assign(const TIntfPtr<IInterface>& Source) {
    const TIntfPtr<IFuzzyVariable> Other = Source.Query<IFuzzyVariable>();
    if (!Other || Other.Get() == static_cast<IFuzzyVariable*>(this)) return;
    FDefuzzificationMethod = Other->GetDefuzzificationMethod();
    FMaximum = Other->GetMaximum();
    FMinimum = Other->GetMinimum();
    FName = Other->GetName();
    FUnits = Other->GetUnits();
    FNumFunctionValues = Other->GetNumFunctionValues();
    FTag = Other->GetTag();
    FParser.Set(Other->GetParser());
    FItems->AssignFuzzySets(Other);
    Changed();
}

void TIFuzzyVariable::Assign(const TPersistent& Source) {
    if (&Source == this) return;
    const auto* Other = DownCast<const TIFuzzyVariable>(&Source);
    if (Other == nullptr) {
        TIFuzzyVariablePersistent::Assign(Source);
        return;
    }
    FDefuzzificationMethod = Other->FDefuzzificationMethod;
    FMaximum = Other->FMaximum;
    FMinimum = Other->FMinimum;
    FName = Other->FName;
    FUnits = Other->FUnits;
    FNumFunctionValues = Other->FNumFunctionValues;
    FTag = Other->FTag;
    FParser = Other->FParser;
    FItems->Assign(*Other->FItems);
    Changed();
}

TIntfPtr<IInterface> TIFuzzyVariable::Clone() {
    const TIntfPtr<TIFuzzyVariable> Copy = ClassType().Create(FName);
    Copy->Assign(static_cast<const TPersistent&>(*this));
    return Copy;
}

bool TIFuzzyVariable::Equals(const TIntfPtr<IInterface>& Other) const {
    const TIntfPtr<IFuzzyVariable> Variable = Other.Query<IFuzzyVariable>();
    return Variable && Variable->GetName() == FName && Variable->GetMaximum() == FMaximum &&
           Variable->GetMinimum() == FMinimum && Variable->GetUnits() == FUnits &&
           FItems->EqualsSets(Variable);
}

std::string TIFuzzyVariable::ToString() const {
    if (const TIntfPtr<IFuzzyParser> Parser = GetParser()) return Parser->PrettyPrint(SelfIntf());
    return FName;
}

}  // namespace fzl
