// The reference-counted fuzzy set: identity, links, registration in the variable's
// table, accessors, copies and text. The operations on other sets are in
// FuzzySetIntfOperations.cpp.

#include <algorithm>
#include <atomic>
#include <typeinfo>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {
namespace {

std::atomic<int> UniqueID{0};

struct TPoint {
    TFzyFloat X;
    TFzyFloat Y;
};

// The points of Set from Start on, read before anything is written (Set may be the target).
std::vector<TPoint> ReadPoints(const IFuzzySet& Set, int Start, int Count) {
    std::vector<TPoint> Points;
    Points.reserve(static_cast<std::size_t>(Count));
    for (int Index = Start; Index < Start + Count; ++Index)
        Points.push_back({Set.GetXValues(Index), Set.GetYValues(Index)});
    return Points;
}

void RequireSet(const TIntfPtr<IFuzzySet>& Set) {
    if (!Set) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
}

}  // namespace

int GetUniqueID() noexcept { return UniqueID.fetch_add(1, std::memory_order_relaxed) + 1; }

std::string GetUniqueName(const TIntfPtr<IFuzzyVariable>& Variable) {
    for (;;) {
        std::string Name = "FuzzySet" + IntToStr(GetUniqueID());
        if (!Variable || !Variable->ContainsFuzzySet(Name)) return Name;
    }
}

// ---- TIFSValues ---------------------------------------------------------------------------------

TIFSValues::TIFSValues(TIFuzzySet* FuzzySet) : TFuzzySetValues(FuzzySet), FOwnerSet(FuzzySet) {}

void TIFSValues::AfterConstruction() {
    TFuzzySetValues::AfterConstruction();
    if (typeid(*this) == typeid(TIFSValues)) KeepsBaseNotify();
}

int TIFSValues::Add(TFzyFloat X, TFzyFloat Y) {
    const int Index = Count();
    const TUpdateGuard Update(*this);
    TFuzzySetValues::Add(X, Y);
    return Index;
}

int TIFSValues::Insert(int Index, TFzyFloat X, TFzyFloat Y) {
    if (Index < 0 || Index > Count()) throw EListError(Format(SListIndexError, {Index}));
    const TUpdateGuard Update(*this);
    TFuzzySetValues::Insert(Index)->SetValue(X, Y);
    return Index;
}

void TIFSValues::Append(const TIntfPtr<IFuzzySet>& FuzzySet) {
    RequireSet(FuzzySet);
    Append(FuzzySet, 0, FuzzySet->GetCount());
}

void TIFSValues::Append(const TIntfPtr<IFuzzySet>& FuzzySet, int Start, int Count) {
    RequireSet(FuzzySet);
    const int Total = FuzzySet->GetCount();
    if (Total == 0 || Count <= 0) return;  // no index -1 of an empty set
    Start = std::clamp(Start, 0, Total - 1);
    Count = std::min(Count, Total - Start);
    for (const TPoint& Point : ReadPoints(*FuzzySet, Start, Count)) Add(Point.X, Point.Y);
}

void TIFSValues::AssignValues(const TIntfPtr<IFuzzySet>& FuzzySet) {
    RequireSet(FuzzySet);
    if (FuzzySet.Get() == static_cast<IFuzzySet*>(FOwnerSet)) return;
    const std::vector<TPoint> Points = ReadPoints(*FuzzySet, 0, FuzzySet->GetCount());
    const TUpdateGuard Update(*this);
    Clear();
    for (const TPoint& Point : Points) TFuzzySetValues::Add(Point.X, Point.Y);
}

bool TIFSValues::EqualsValues(const TIntfPtr<IFuzzySet>& FuzzySet) const {
    if (!FuzzySet || FuzzySet->GetCount() != Count()) return false;
    for (int Index = 0; Index < Count(); ++Index) {
        const TFuzzySetValue* Point = GetItem(Index);
        if (!FloatEquals(Point->GetX(), FuzzySet->GetXValues(Index)) ||
            !FloatEquals(Point->GetY(), FuzzySet->GetYValues(Index)))
            return false;
    }
    return true;
}

void TIFSValues::Assign(const TIntfPtr<IInterface>& Source) { FOwnerSet->Assign(Source); }

std::string TIFSValues::ToString() const { return FOwnerSet->ToString(); }

// ---- The variable link -------------------------------------------------------------------------

void TIFuzzySet::TVariableLink::Set(const TIntfPtr<IFuzzyVariable>& Value) noexcept {
    FVariable = Value.Get();
    FCounted = Value;
    FRegistered = false;
}

void TIFuzzySet::TVariableLink::SetRegistered(bool Value) noexcept {
    if (FVariable == nullptr || Value == FRegistered) return;
    FRegistered = Value;
    // In the table the variable is reached through whoever holds it; out of it, through the set.
    FCounted = Value ? nullptr : TIntfPtr<IFuzzyVariable>::Retain(FVariable);
}

void TIFuzzySet::TVariableLink::Drop() noexcept {
    FVariable = nullptr;
    FCounted = nullptr;  // already nil: a counted reference would have kept the variable
    FRegistered = false;
}

// ---- Life cycle -------------------------------------------------------------------------------------

TIFuzzySet::TIFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable, const std::string& Name)
    : TInterfaced(nullptr), FInitialVariable(Variable), FInitialName(Name) {}

// Here rather than in the constructor, so that overrides of SetName and SetVariable are reached.
void TIFuzzySet::AfterConstruction() {
    TInterfaced::AfterConstruction();
    const std::string Name = std::exchange(FInitialName, {});
    const TIntfPtr<IFuzzyVariable> Variable = std::exchange(FInitialVariable, nullptr);
    SetName(Name);
    SetVariable(Variable);
}

TOwned<TFuzzySetValues> TIFuzzySet::CreateValues() { return Make<TIFSValues>(this); }

TIntfPtr<IFuzzySet> TIFuzzySet::SelfIntf() const {
    // A new reference to this very object; handing it out does not change the set.
    return const_cast<TIFuzzySet*>(this)
        ->AsIntf<IFuzzySet>();  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

// ---- Registration ------------------------------------------------------------------------------------

bool TIFuzzySet::IsKeyable() const {
    const std::string Name = GetName();
    return TFuzzySet::GetDefined() && !Name.empty() && Name != SEmptyFuzzy;
}

void TIFuzzySet::SyncRegistration() {
    IFuzzyVariable* Variable = FVariable.Get();
    if (Variable == nullptr) return;
    const bool Keyable = IsKeyable();
    if (Keyable == FVariable.Registered()) return;
    const TIntfPtr<IFuzzyVariable> Holder = TIntfPtr<IFuzzyVariable>::Retain(Variable);
    const TIntfPtr<IFuzzySet> Self = SelfIntf();
    if (Keyable) {
        Holder->Add(Self);
    } else {
        LeaveTable(*Holder, Self);
    }
}

void TIFuzzySet::LeaveTable(IFuzzyVariable& Variable, const TIntfPtr<IFuzzySet>& Self) {
    FMoving = true;
    try {
        Variable.Remove(Self);
    } catch (...) {
        FMoving = false;
        throw;
    }
    FMoving = false;
}

void TIFuzzySet::Rename(const std::string& NewName, TFunctionRef<void()> Apply) {
    if (NewName == GetName()) {
        Apply();
        return;
    }
    if (!FVariable.Registered()) {
        Apply();
        SyncRegistration();
        return;
    }
    CheckName(NewName);                           // before the old key goes
    const TIntfPtr<IFuzzySet> Self = SelfIntf();  // the table may hold the last reference
    const TIntfPtr<IFuzzyVariable> Holder = GetVariable();
    LeaveTable(*Holder, Self);
    Apply();
    SyncRegistration();
}

void TIFuzzySet::EnteredTable() noexcept { FVariable.SetRegistered(true); }

void TIFuzzySet::LeftTable() noexcept {
    FVariable.SetRegistered(false);
    // Removed or displaced by someone else: no longer one of the variable's terms.
    if (!FMoving) TFuzzySet::SetDefined(false);
}

// ---- Identity and links -------------------------------------------------------------------------------

void TIFuzzySet::SetName(const std::string& Value) {
    if (Value == GetName()) return;
    Rename(Value, [&] { TFuzzySet::SetName(Value); });
}

void TIFuzzySet::SetComment(const std::string& Value) {
    if (Value == TFuzzySet::GetComment()) return;
    TFuzzySet::SetComment(Value);
    ReportChange();
}

void TIFuzzySet::SetDefined(bool Value) {
    TFuzzySet::SetDefined(Value);
    SyncRegistration();
}

TIntfPtr<IFuzzyVariable> TIFuzzySet::GetVariable() const {
    return TIntfPtr<IFuzzyVariable>::Retain(FVariable.Get());
}

void TIFuzzySet::SetVariable(const TIntfPtr<IFuzzyVariable>& Value) {
    if (Value.Get() == FVariable.Get()) return;
    const TIntfPtr<IFuzzySet> Self = SelfIntf();
    if (FVariable.Registered()) LeaveTable(*GetVariable(), Self);
    FVariable.Set(Value);
    if (!Value) return;
    if (IsKeyable()) Value->Add(Self);
    FParser.Set(Value->GetParser());
}

void TIFuzzySet::ReportChange() {
    if (IFuzzyVariable* Variable = FVariable.Get())
        TIntfPtr<IFuzzyVariable>::Retain(Variable)->FuzzySetChanged(SelfIntf());
}

void TIFuzzySet::UpdateFuzzySetValues() {
    TFuzzySet::UpdateFuzzySetValues();
    ReportChange();
}

// ---- Points and range -------------------------------------------------------------------------------------

TIFSValues& TIFuzzySet::GetValues() const noexcept {
    return static_cast<TIFSValues&>(TFuzzySet::GetValues());  // made by CreateValues
}

TFzyFloat TIFuzzySet::GetXValues(int Index) const { return GetValues().GetItem(Index)->GetX(); }

void TIFuzzySet::SetXValues(int Index, TFzyFloat Value) { GetValues().GetItem(Index)->SetX(Value); }

TFzyFloat TIFuzzySet::GetYValues(int Index) const { return GetValues().GetItem(Index)->GetY(); }

void TIFuzzySet::SetYValues(int Index, TFzyFloat Value) { GetValues().GetItem(Index)->SetY(Value); }

TFzyFloat TIFuzzySet::GetXMaximum() const {
    if (const IFuzzyVariable* Variable = FVariable.Get()) return Variable->GetMaximum();
    return GetValues().Count() > 0 ? GetValues().Last()->GetX() : UnboundedX;
}

TFzyFloat TIFuzzySet::GetXMinimum() const {
    if (const IFuzzyVariable* Variable = FVariable.Get()) return Variable->GetMinimum();
    return GetValues().Count() > 0 ? GetValues().First()->GetX() : -UnboundedX;
}

void TIFuzzySet::GetXBounds(TFzyFloat& Lower, TFzyFloat& Upper) const {
    if (const IFuzzyVariable* Variable = FVariable.Get()) {
        Lower = Variable->GetMinimum();
        Upper = Variable->GetMaximum();
        return;
    }
    TFuzzySet::GetXBounds(Lower, Upper);
}

TFuzzySetSettings TIFuzzySet::GetSettings() const {
    TFuzzySetSettings Settings;
    if (const IFuzzyVariable* Variable = FVariable.Get()) {
        Settings.NumFunctionValues = Variable->GetNumFunctionValues();
        Settings.Threshold = Variable->GetThreshold();
    }
    return Settings;
}

// ---- Copies and text
// ----------------------------------------------------------------------------------------

void TIFuzzySet::Assign(const TIntfPtr<IInterface>& Source) {
    const TIntfPtr<IFuzzySet> Other = Source.Query<IFuzzySet>();
    if (!Other || Other.Get() == static_cast<IFuzzySet*>(this)) return;
    SetVariable(Other->GetVariable());
    GetValues().AssignValues(Other);
    // After the points, whose report makes the set user-defined: the copy keeps the type.
    StoreSetType(Other->GetSetType());
    SetInflectionPoint(Other->GetInflectionPoint());
    TFuzzySet::SetExpression(Other->GetExpression());
    FParser.Set(Other->GetParser());
    ReportChange();
}

void TIFuzzySet::Assign(const TPersistent& Source) {
    if (&Source == this) return;
    const TFuzzySet* Set = DownCast<const TIFuzzySet>(&Source);
    if (Set != nullptr) {
        const auto& Other = static_cast<const TIFuzzySet&>(*Set);
        SetVariable(Other.GetVariable());
        FParser = Other.FParser;
    } else {
        Set = DownCast<const TFuzzySet>(&Source);
    }
    if (Set == nullptr) {
        TFuzzySet::Assign(Source);  // the framework's cannot-assign error
        return;
    }
    // The class-model copy writes the name as well: through the one path that moves the key.
    Rename(Set->GetName(), [&] { AssignSet(*Set); });
}

// Made without a name, which the assignment then copies unchecked: it is the name of a set.
TIntfPtr<IInterface> TIFuzzySet::Clone() {
    const TIntfPtr<TIFuzzySet> Copy = IntfClassType().Create(GetVariable(), std::string());
    Copy->Assign(static_cast<const TPersistent&>(*this));
    return Copy;
}

TIntfPtr<IFuzzySet> TIFuzzySet::Clone(const TIntfPtr<IFuzzyVariable>& Variable) {
    const TIntfPtr<TIFuzzySet> Copy = IntfClassType().Create(Variable, GetName());
    Copy->SetParser(Variable ? Variable->GetParser() : nullptr);
    Copy->GetValues().AssignValues(SelfIntf());
    return Copy;
}

std::string TIFuzzySet::ToString() const {
    if (const TIntfPtr<IFuzzyParser> Parser = GetParser()) return Parser->PrettyPrint(SelfIntf(), false);
    return TFuzzySet::ToString();
}

}  // namespace fzl
