#pragma once
// The linguistic variable of the reference-counted model and the name-keyed table
// of its sets.
//
// A variable lives while references to it exist; the sets in its table do not
// count (see FuzzySetIntf.h), so whoever builds a model holds its variables (a
// TIFuzzyLogic, or the application). When a variable goes, the sets it still held
// lose their variable and go too unless referenced elsewhere.

#include <cstdint>
#include <span>
#include <string>

#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/IFuzzyLogic/FuzzyParserLink.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/VXGenerics/StringHashTable.h>
#include <fzl/support/Interfaced.h>
#include <fzl/support/Persistent.h>

namespace fzl {

class TIFuzzyVariable;

/// A message of the set table: a set offered under another key than its name, of
/// another variable, or undefined; the set's name and the key.
inline constexpr const char* SFuzzySetKeyMismatch =
    "Fuzzy set \"%s\" cannot be held under the key \"%s\": a set is held under its own name, in its own "
    "variable, while it is defined";

/// Class reference of reference-counted variables: a virtual constructor (Name).
using TIFuzzyVariableClass = TIntfClassRef<TIFuzzyVariable, const std::string&>;

/// The sets of a variable by name (exact, case-sensitive). Each set is held under its
/// own name and numbered as it enters (the numbers grow until Clear). Owned by the variable.
class TIFuzzySets : public TVXStringHashTable<IFuzzySet> {
public:
    explicit TIFuzzySets(TIFuzzyVariable* Variable);

    /// Registers FuzzySet: moves it to this variable first when it belongs to another; it is
    /// then held when defined and named. A set of that name already held is displaced.
    void Add(const TIntfPtr<IFuzzySet>& FuzzySet);
    /// Creates a set of the variable's set class named Name, defined unless Name is "" or
    /// "__Empty", registers it and returns it. A reserved word raises; nothing is added.
    [[nodiscard]] TIntfPtr<IFuzzySet> Add(const std::string& Name);
    using TVXStringHashTable::Add;
    /// Removes FuzzySet when it is the set held under its name; otherwise (nil, unknown
    /// name, another set under the name, empty table) nothing happens.
    void Remove(const TIntfPtr<IFuzzySet>& FuzzySet);
    using TVXStringHashTable::Remove;
    /// Removes every set (no per-set report; they become undefined), restarts the numbering,
    /// then reports the variable changed.
    void Clear() override;
    /// The set named Name, or nil.
    [[nodiscard]] TIntfPtr<IFuzzySet> ContainsFuzzySet(const std::string& Name) const;
    /// The set named Name; an unknown name raises EListError.
    [[nodiscard]] TIntfPtr<IFuzzySet> GetFuzzySetByName(const std::string& Name) const { return Get(Name); }
    /// The set at Index in table order.
    [[nodiscard]] TIntfPtr<IFuzzySet> GetFuzzySet(int Index) const { return GetItemByIndex(Index); }
    [[nodiscard]] int GetCount() const noexcept { return Count(); }
    /// The next set number (and counts on).
    int NewIndex() noexcept { return FNewIndex++; }
    /// Replaces the sets by clones of FuzzyVariable's, each as defined as its original
    /// (nothing when FuzzyVariable is this table's own variable).
    void AssignFuzzySets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable);
    /// True when every set held has in FuzzyVariable a set of the same name that Equals it.
    [[nodiscard]] bool EqualsSets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) const;
    /// From another variable's table: clones of its sets. From a string list: each line's set
    /// (nil refused), registered as by Add(FuzzySet) under its own name, which the line must
    /// be. Otherwise the framework's cannot-assign error.
    void Assign(const TPersistent& Source) override;
    [[nodiscard]] TIFuzzyVariable* GetVariable() const noexcept { return FVariable; }
    /// The variable's text.
    [[nodiscard]] std::string ToString() const;
    [[nodiscard]] std::string ClassName() const override { return "TIFuzzySets"; }

protected:
    ~TIFuzzySets() override = default;
    void DoAdd(std::int32_t HashCode, int BucketIndex, const std::string& Key,
               const TIntfPtr<IFuzzySet>& Value) override;
    void DoSetValue(int BucketIndex, const TIntfPtr<IFuzzySet>& Value) override;
    TIntfPtr<IFuzzySet> DoRemove(const std::string& Key, std::int32_t HashCode,
                                 TDictionaryNotification Notification) override;
    /// Also refuses a set that is not this variable's, not defined and named, or offered under
    /// another key than its name (EGHashtableError SFuzzySetKeyMismatch).
    void CheckValue(const std::string& Key, const TIntfPtr<IFuzzySet>& Value) const override;

private:
    void Entered(const TIntfPtr<IFuzzySet>& FuzzySet);
    void Left(const TIntfPtr<IFuzzySet>& FuzzySet);
    [[nodiscard]] TIntfPtr<IFuzzyVariable> VariableIntf() const;

    int FNewIndex = 0;
    TIFuzzyVariable* FVariable;  // the owner; not counted
};

/// The persistent base of TIFuzzyVariable.
class TIFuzzyVariablePersistent : public TPersistent {
public:
    [[nodiscard]] std::string ClassName() const override { return "TIFuzzyVariablePersistent"; }

protected:
    ~TIFuzzyVariablePersistent() override = default;
};

/// The reference-counted linguistic variable: a range [Minimum, Maximum] with its sets
/// kept by name. Create it with MakeIntf<TIFuzzyVariable>(Name) or a TIFuzzyVariableClass.
class TIFuzzyVariable : public TInterfaced<TIFuzzyVariablePersistent, IFuzzyVariable> {
public:
    explicit TIFuzzyVariable(const std::string& Name);

    // ---- Properties ---------------------------------------------------------------------------------
    [[nodiscard]] std::string GetName() const override { return FName; }
    /// Renames the variable (a component that holds it keeps its old key).
    void SetName(const std::string& Value) override;
    [[nodiscard]] std::string GetUnits() const override { return FUnits; }
    void SetUnits(const std::string& Value) override;
    [[nodiscard]] std::string GetComment() const override { return FComment; }
    void SetComment(const std::string& Value) override;
    [[nodiscard]] TFzyFloat GetMinimum() const override { return FMinimum; }
    /// Raising Minimum above Maximum drags Maximum up with it.
    void SetMinimum(TFzyFloat Value) override;
    [[nodiscard]] TFzyFloat GetMaximum() const override { return FMaximum; }
    /// Lowering Maximum below Minimum drags Minimum down with it.
    void SetMaximum(TFzyFloat Value) override;
    [[nodiscard]] TFzyFloat GetThreshold() const override { return FThreshold; }
    void SetThreshold(TFzyFloat Value) override;
    [[nodiscard]] int GetNumFunctionValues() const override { return FNumFunctionValues; }
    void SetNumFunctionValues(int Value) override;
    [[nodiscard]] TDefuzzificationMethod GetDefuzzificationMethod() const override {
        return FDefuzzificationMethod;
    }
    void SetDefuzzificationMethod(TDefuzzificationMethod Value) override { FDefuzzificationMethod = Value; }
    [[nodiscard]] std::intptr_t GetTag() const override { return FTag; }
    void SetTag(std::intptr_t Value) override { FTag = Value; }
    [[nodiscard]] TIntfPtr<IFuzzyParser> GetParser() const override { return FParser.Get(); }
    /// Stores the parser and passes it on to every set.
    void SetParser(const TIntfPtr<IFuzzyParser>& Value) override;
    [[nodiscard]] TIFuzzySetClass GetFuzzySetClass() const noexcept { return FFuzzySetClass; }
    /// The class of the sets Add(Name) creates.
    void SetFuzzySetClass(TIFuzzySetClass Value) noexcept { FFuzzySetClass = Value; }
    [[nodiscard]] TIFuzzySets& GetItems() const noexcept { return *FItems; }
    void SetItems(const TPersistent& Value) { FItems->Assign(Value); }

    // ---- Events (unassigned ones are empty; all are cleared when the variable goes) ---------------
    [[nodiscard]] TNotifyEvent GetOnChange() const override { return FOnChange; }
    void SetOnChange(const TNotifyEvent& Value) override { FOnChange = Value; }
    [[nodiscard]] TIFuzzyVariableEvent GetOnVariableChange() const override { return FOnVariableChange; }
    void SetOnVariableChange(const TIFuzzyVariableEvent& Value) override { FOnVariableChange = Value; }
    [[nodiscard]] TIFuzzySetEvent GetOnFuzzySetChange() const override { return FOnFuzzySetChange; }
    void SetOnFuzzySetChange(const TIFuzzySetEvent& Value) override { FOnFuzzySetChange = Value; }
    [[nodiscard]] TIFuzzySetEvent GetOnFuzzySetAdded() const override { return FOnFuzzySetAdded; }
    void SetOnFuzzySetAdded(const TIFuzzySetEvent& Value) override { FOnFuzzySetAdded = Value; }
    [[nodiscard]] TIFuzzySetEvent GetOnFuzzySetDeleted() const override { return FOnFuzzySetDeleted; }
    void SetOnFuzzySetDeleted(const TIFuzzySetEvent& Value) override { FOnFuzzySetDeleted = Value; }

    // ---- The sets --------------------------------------------------------------------------------------
    [[nodiscard]] int GetCount() const override { return FItems->Count(); }
    [[nodiscard]] TIntfPtr<IFuzzySet> GetFuzzySet(int Index) const override {
        return FItems->GetFuzzySet(Index);
    }
    [[nodiscard]] TIntfPtr<IFuzzySet> GetFuzzySetByName(const std::string& Name) const override {
        return FItems->GetFuzzySetByName(Name);
    }
    [[nodiscard]] TIntfPtr<IFuzzySet> ContainsFuzzySet(const std::string& Name) const override {
        return FItems->ContainsFuzzySet(Name);
    }
    void Add(const TIntfPtr<IFuzzySet>& FuzzySet) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> Add(const std::string& Name) override;
    void Remove(const TIntfPtr<IFuzzySet>& FuzzySet) override;
    void Clear() override;
    void AssignFuzzySets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) override;
    void BeginUpdate() override { FItems->BeginUpdate(); }
    void EndUpdate() override { FItems->EndUpdate(); }
    /// A set's points (or comment) changed: OnFuzzySetChange.
    void FuzzySetChanged(const TIntfPtr<IFuzzySet>& FuzzySet) override;

    // ---- Rule firing -------------------------------------------------------------------------------------
    // A rule below the threshold returns nil, so accumulate with
    //     if (auto Result = Output->AssertRule(Strength, Consequent, Conclusion)) Conclusion = Result;
    /// The least correlation strength of Premises[k] against Facts[k] (1 for no premises). Fewer
    /// facts than premises raise EListError, a nil set EArgumentOutOfRangeException.
    TFzyFloat GetCorrelationStrength(std::span<const TIntfPtr<IFuzzySet>> Premises,
                                     std::span<const TIntfPtr<IFuzzySet>> Facts) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> AssertRule(std::span<const TIntfPtr<IFuzzySet>> Premises,
                                                 std::span<const TIntfPtr<IFuzzySet>> Facts,
                                                 const TIntfPtr<IFuzzySet>& Consequent,
                                                 const TIntfPtr<IFuzzySet>& Conclusion) override;
    /// Below the threshold nil. Otherwise a clone of Consequent clipped at Strength (always
    /// fcmMinimum), or, with a Conclusion, its union with the clone (always fimMinMax).
    /// Conclusion itself is not changed.
    [[nodiscard]] TIntfPtr<IFuzzySet> AssertRule(TFzyFloat Strength, const TIntfPtr<IFuzzySet>& Consequent,
                                                 const TIntfPtr<IFuzzySet>& Conclusion) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> AssertRule(const TIntfPtr<IFuzzySet>& Premise,
                                                 const TIntfPtr<IFuzzySet>& Consequent,
                                                 const TIntfPtr<IFuzzySet>& Fact,
                                                 const TIntfPtr<IFuzzySet>& Conclusion) override;

    // ---- Copies, comparison, text ----------------------------------------------------------------------
    /// From a variable through IFuzzyVariable: method, range, name, units, curve points, tag,
    /// parser, and clones of its sets (not threshold, comment, set class or events).
    void Assign(const TIntfPtr<IInterface>& Source) override;
    /// The same from a TIFuzzyVariable; any other source: the framework's cannot-assign error.
    void Assign(const TPersistent& Source) override;
    void AssignTo(TPersistent& Dest) const override { TIFuzzyVariablePersistent::AssignTo(Dest); }
    /// A new variable of this class equal to this one.
    [[nodiscard]] TIntfPtr<IInterface> Clone() override;
    /// Other is a variable with the same name, range and units whose sets match these.
    [[nodiscard]] bool Equals(const TIntfPtr<IInterface>& Other) const override;
    /// The parser's definition text when there is a parser, else the name.
    [[nodiscard]] std::string ToString() const override;
    [[nodiscard]] std::string ClassName() const override { return "TIFuzzyVariable"; }
    /// The class reference of this object's class; descendants override it with ClassName.
    [[nodiscard]] virtual TIFuzzyVariableClass ClassType() const {
        return TIFuzzyVariableClass::Of<TIFuzzyVariable>();
    }
    void AfterConstruction() override;

protected:
    ~TIFuzzyVariable() override = default;
    /// Forgets the parser and the events, detaches the sets still held, frees the table:
    /// nothing is reported while the variable goes.
    void BeforeDestruction() override;
    /// OnChange, then OnVariableChange; the component holding the variable marks its text stale.
    virtual void Changed();
    /// Factory of the set table.
    virtual TOwned<TIFuzzySets> CreateItems();
    /// A set entered the table: OnFuzzySetAdded, then Changed.
    virtual void NewFuzzySet(const TIntfPtr<IFuzzySet>& FuzzySet);
    /// A set left the table: OnFuzzySetDeleted, then Changed.
    virtual void RemoveFuzzySet(const TIntfPtr<IFuzzySet>& FuzzySet);
    /// The table was cleared: Changed.
    virtual void ClearFuzzySets();

private:
    friend class TIFuzzySets;
    [[nodiscard]] TIntfPtr<IFuzzyVariable> SelfIntf() const;
    /// A change the definition text shows, with no event of the variable's own.
    void TextChanged() const;

    TOwned<TIFuzzySets> FItems;
    int FNumFunctionValues = 7;
    std::string FUnits;
    std::string FName;
    TDefuzzificationMethod FDefuzzificationMethod = dmCenterOfGravity;
    TFzyFloat FMinimum = 0.0;
    TFzyFloat FMaximum = 1.0;
    TIFuzzySetEvent FOnFuzzySetChange;
    TIFuzzyVariableEvent FOnVariableChange;
    TNotifyEvent FOnChange;
    std::intptr_t FTag = 0;
    TFuzzyParserLink FParser;
    TFzyFloat FThreshold = 0.0;
    TIFuzzySetClass FFuzzySetClass = TIFuzzySetClass::Of<TIFuzzySet>();
    std::string FComment;
    TIFuzzySetEvent FOnFuzzySetDeleted;
    TIFuzzySetEvent FOnFuzzySetAdded;
};

}  // namespace fzl
