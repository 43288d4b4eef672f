#pragma once
// The logic component of the reference-counted model: its variables by name in a
// hash table, their set events turned into its own events, and the definition
// text, which it rebuilds its variables from after loading.
//
// The component holds its variables; each variable holds its sets. Freeing the
// component (or clearing its table) frees every variable and set that nothing else
// references. A variable leaving the table on any path is unhooked from the
// component, and hooks left in variables that outlive the component do nothing.

#include <cstdint>
#include <string>

#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/IFuzzyLogic/FuzzyLogicHook.h>
#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXGenerics/InterfaceStringList.h>
#include <fzl/VXGenerics/StringHashTable.h>

namespace fzl {

class TIFuzzyLogic;

/// The variables of a TIFuzzyLogic by name (exact, case-sensitive). A variable keeps the
/// key it was stored under when it is renamed later. Owned by the component.
class TFuzzyVariableTable : public TVXStringHashTable<IFuzzyVariable> {
public:
    explicit TFuzzyVariableTable(TIFuzzyLogic* FuzzyLogic);

    /// Adds Variable under its name, or replaces the variable held under that name.
    void Add(const TIntfPtr<IFuzzyVariable>& Variable);
    using TVXStringHashTable::Add;
    /// The variable held under Name, or nil.
    [[nodiscard]] TIntfPtr<IFuzzyVariable> ContainsVariable(const std::string& Name) const;
    /// Removes Variable when it is the one held under its (current) name; otherwise nothing.
    void Remove(const TIntfPtr<IFuzzyVariable>& Variable);
    using TVXStringHashTable::Remove;
    /// Removes every variable without a report per variable; each is unhooked.
    void Clear() override;
    [[nodiscard]] TIFuzzyLogic* GetFuzzyLogic() const noexcept { return FFuzzyLogic; }
    [[nodiscard]] std::string ClassName() const override { return "TFuzzyVariableTable"; }

protected:
    ~TFuzzyVariableTable() override = default;
    void DoAdd(std::int32_t HashCode, int BucketIndex, const std::string& Key,
               const TIntfPtr<IFuzzyVariable>& Value) override;
    /// The replaced variable is unhooked without a deletion report; the new one is added.
    void DoSetValue(int BucketIndex, const TIntfPtr<IFuzzyVariable>& Value) override;
    TIntfPtr<IFuzzyVariable> DoRemove(const std::string& Key, std::int32_t HashCode,
                                      TDictionaryNotification Notification) override;

private:
    TIFuzzyLogic* FFuzzyLogic;  // the owner
};

/// The reference-counted logic component. Link a parser component (which implements
/// IFuzzyParser) to parse and print the definition text.
class TIFuzzyLogic : public TCustomFuzzyLogic {
public:
    explicit TIFuzzyLogic(TComponent* AOwner = nullptr);

    [[nodiscard]] TFuzzyVariableTable& GetItems() const noexcept { return *FItems; }
    /// Assigns Value to the table (another table, or a string list of variables).
    void SetItems(const TPersistent& Value) { FItems->Assign(Value); }
    [[nodiscard]] TIFuzzyVariableClass GetItemClass() const noexcept { return FItemClass; }
    /// The class of the variables a parser creates for this component.
    void SetItemClass(TIFuzzyVariableClass Value) noexcept { FItemClass = Value; }

    /// Parses the streamed definition text once loading is complete; the variables it builds
    /// are restored, not added, so no event of the component fires for them.
    void Loaded() override;
    /// The base's properties, and the legacy properties of the variable table as
    /// Items.LoadFactor, Items.HashType and Items.Capacity (read and dropped). The variables
    /// themselves are not streamed: Loaded parses them from Strings.
    void DefineProperties(TPropertyList& Properties) override;
    /// The text of every variable (its parser's definition, else its name), in table order.
    void UpdateStrings() override;
    /// Replaces the variables by those of the definition text (raises without a parser,
    /// before anything changes).
    void Parse() override;

    /// Gives Variable the terms low, medium and high over its range (those it lacks).
    virtual void AddAutoTerms(const TIntfPtr<IFuzzyVariable>& Variable);
    /// The hooks: a set of a held variable was added, deleted or changed. None of the handlers
    /// here fires an event of the component while it is restoring (IsRestoring).
    virtual void FuzzySetAdded(const TIntfPtr<IFuzzyVariable>& Variable, const TIntfPtr<IFuzzySet>& FuzzySet);
    virtual void FuzzySetDeleted(const TIntfPtr<IFuzzyVariable>& Variable,
                                 const TIntfPtr<IFuzzySet>& FuzzySet);
    virtual void UpdateFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable,
                                const TIntfPtr<IFuzzySet>& FuzzySet);
    /// A variable joined: threshold, automatic terms, hooks, then OnVariableAdded.
    virtual void VariableAdded(const TIntfPtr<IFuzzyVariable>& Variable);
    /// A variable left: unhooked (where the hooks are this component's), then OnVariableDeleted.
    virtual void VariableDeleted(const TIntfPtr<IFuzzyVariable>& Variable);
    /// Entry for reporting a variable change (nil: the variables as a whole).
    virtual void UpdateVariable(const TIntfPtr<IFuzzyVariable>& Variable);

    // Events; unassigned ones are empty. All are cleared when destruction starts.
    TIFuzzySetEvent OnFuzzySetChange;
    TIFuzzyVariableEvent OnVariableChange;
    TIFuzzySetEvent OnFuzzySetDeleted;
    TIFuzzySetEvent OnFuzzySetAdded;
    TIFuzzyVariableEvent OnVariableDeleted;
    TIFuzzyVariableEvent OnVariableAdded;

    [[nodiscard]] std::string ClassName() const override { return "TIFuzzyLogic"; }
    /// Makes the variable table through CreateVariables.
    void AfterConstruction() override;

protected:
    ~TIFuzzyLogic() override = default;
    /// Clears the events, unhooks the variables and frees the table: nothing is reported.
    void BeforeDestruction() override;
    void ThresholdChanged() override;
    /// Factory of the variable table.
    virtual TOwned<TFuzzyVariableTable> CreateVariables();
    void SetStateAside() override;
    void RestoreStateSetAside() override;
    void DropStateSetAside() override;

private:
    friend class TFuzzyLogicHook;
    friend class TFuzzyVariableTable;
    /// Removes this component's hooks from Variable (not another component's).
    void Unhook(const TIntfPtr<IFuzzyVariable>& Variable);
    /// Something the definition text shows changed.
    void MarkStringsStale() noexcept { FNeedsUpdate = true; }

    TOwned<TFuzzyVariableTable> FItems;
    TOwned<TFuzzyVariableTable> FItemsAside;  // the variables a load set aside
    TIFuzzyVariableClass FItemClass = TIFuzzyVariableClass::Of<TIFuzzyVariable>();
};

/// A string list whose lines carry variables and report them to a component: putting a
/// variable on a line adds it to the component's view (threshold, automatic terms, hooks,
/// OnVariableAdded), replacing one deletes the old. Not owned by the component, and safe
/// to keep after it is freed.
class TFuzzyVariableStrings : public TInterfaceStringList {
public:
    explicit TFuzzyVariableStrings(TIFuzzyLogic* FuzzyLogic = nullptr);

    /// The variable of line Index, or nil.
    [[nodiscard]] TIntfPtr<IFuzzyVariable> GetData(int Index) const;
    void PutData(int Index, const TIntfPtr<IInterface>& Value) override;
    [[nodiscard]] std::string ClassName() const override { return "TFuzzyVariableStrings"; }

protected:
    ~TFuzzyVariableStrings() override = default;

private:
    TComponentRef<TIFuzzyLogic> FFuzzyLogic;
};

}  // namespace fzl
