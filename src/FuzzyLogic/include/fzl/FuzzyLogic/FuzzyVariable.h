#pragma once
// Linguistic variables, their set collections and the variable collection of a
// logic component. Every change is relayed upwards: set -> sets -> variable ->
// variables -> component.

#include <span>
#include <string>
#include <typeinfo>
#include <utility>

#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/support/ClassRef.h>
#include <fzl/support/TypedCollection.h>

namespace fzl {

class TFuzzyLogic;
class TFuzzyVariable;
class TFuzzyVariables;

/// The sets of one variable; owned by the variable. Add and Insert create sets that the
/// collection owns (the pointers they return are not owning).
class TFuzzySets : public TTypedCollection<TFuzzySet> {
public:
    explicit TFuzzySets(TFuzzyVariable* Variable, TFuzzySetClass ItemClass = TFuzzySetClass::Of<TFuzzySet>());

    /// Appends a new set, which becomes the variable's current set.
    TFuzzySet* Add();
    /// Appends a set named Name (reserved words raise after the set was appended).
    TFuzzySet* Add(const std::string& Name);
    /// The set named Name; raises EFzyException "Unknown Fuzzy Set name: ..." when none is.
    [[nodiscard]] TFuzzySet* GetItemByName(const std::string& Name) const;
    void SetItemByName(const std::string& Name, const TFuzzySet& Value);
    [[nodiscard]] TFuzzyVariable* GetVariable() const noexcept { return FVariable; }
    [[nodiscard]] TFuzzySetClass SetClass() const noexcept { return FSetClass; }

    [[nodiscard]] std::string ClassName() const override { return "TFuzzySets"; }

protected:
    ~TFuzzySets() override = default;
    void Update(TCollectionItem* Item) override;
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    friend class TFuzzySet;       // a conclusion made anew in place takes a fresh ID
    friend class TFuzzySetDraft;  // a draft uses up the ID of the set it stands for
    friend class TFuzzyVariable;
    TFuzzyVariable* FVariable;
    TFuzzySetClass FSetClass;
    bool FRelayMuted = false;  // while the variable builds a set nobody watches
};

using TFuzzySetsEnumerator = TCollectionEnumerator<TFuzzySet>;
/// Class reference of variables: the class a variable collection creates.
using TFuzzyVariableClass = TItemClass<TFuzzyVariable>;

/// A linguistic variable: a named range [Minimum, Maximum] with its sets (terms).
class TFuzzyVariable : public TGCollectionItem {
public:
    /// A detached variable for Collection (joined by the class reference, not here) whose
    /// sets are of the collection's set class when Collection is a TFuzzyVariables.
    explicit TFuzzyVariable(TCollection* Collection = nullptr);
    /// A detached variable for Collection whose sets are of SetClass.
    TFuzzyVariable(TCollection* Collection, TFuzzySetClass SetClass);

    [[nodiscard]] std::string GetName() const override { return FName; }
    [[nodiscard]] bool HasName(std::string_view Name) const override { return FName == Name; }
    void SetName(const std::string& Value);
    [[nodiscard]] const std::string& GetUnits() const noexcept { return FUnits; }
    void SetUnits(const std::string& Value);
    [[nodiscard]] const std::string& GetComment() const noexcept { return FComment; }
    void SetComment(const std::string& Value);
    [[nodiscard]] TFzyFloat GetMinimum() const noexcept { return FMinimum; }
    /// Raising Minimum above Maximum drags Maximum up with it.
    void SetMinimum(TFzyFloat Value);
    [[nodiscard]] TFzyFloat GetMaximum() const noexcept { return FMaximum; }
    /// Lowering Maximum below Minimum drags Minimum down with it.
    void SetMaximum(TFzyFloat Value);
    [[nodiscard]] TFzyFloat GetThreshold() const noexcept { return FThreshold; }
    /// Stores Value clamped into [0, 1]; reports nothing.
    void SetThreshold(TFzyFloat Value) noexcept;
    [[nodiscard]] int GetItemIndex() const noexcept { return FItemIndex; }
    /// Selects the current set; at or beyond the set count raises EFzyException
    /// "List index out of bounds (n)".
    void SetItemIndex(int Value);
    [[nodiscard]] TFuzzySets& GetItems() const noexcept { return *FItems; }
    /// Replaces the sets by copies of Value's.
    void SetItems(const TFuzzySets& Value) { FItems->Assign(Value); }
    [[nodiscard]] TFuzzySetClass GetSetClass() const noexcept { return FSetClass; }

    [[nodiscard]] TFuzzyVariables* GetCollection() const noexcept;
    void SetCollection(TCollection* Value) override;
    /// The logic component owning the variable's collection, or nullptr.
    [[nodiscard]] TFuzzyLogic* GetFuzzy() const noexcept;
    /// What the variable's sets work with: its threshold and its logic component's settings
    /// (the defaults of TFuzzySetSettings where there is no component).
    [[nodiscard]] TFuzzySetSettings GetSetSettings() const;
    /// True when the logic component above is being designed (the Designing of GetSetSettings).
    [[nodiscard]] bool InDesignMode() const noexcept;

    [[nodiscard]] std::string GetDisplayName() const override;
    /// The definition text through the component's parser, else the display name.
    [[nodiscard]] virtual std::string ToString() const;
    void Assign(const TPersistent& Source) override;
    /// A TStrings destination receives the set names with the sets attached.
    void AssignTo(TPersistent& Dest) const override;
    /// Name, Units, Comment (default empty), Minimum, Maximum, Threshold, the sets (Items, each
    /// with its class), then ItemIndex, which needs the sets.
    void DefineProperties(TPropertyList& Properties) override;
    [[nodiscard]] std::string ClassName() const override { return "TFuzzyVariable"; }
    /// Makes the set collection (through CreateItems) before the variable joins a collection.
    void AfterConstruction() override;

    // ---- Rule firing --------------------------------------------------------------------------
    // Two forms of each rule. To fire rules one after another into a running conclusion, pass
    // the conclusion's handle itself (the forms taking TOwned<TFuzzySet>&): a rule below the
    // threshold leaves it as it is, a rule that fires replaces it by the combined set.
    //     TOwned<TFuzzySet> Conclusion;
    //     for (...) Output->AssertRule(Strength, Consequent, Conclusion);
    // The forms taking a TFuzzySet* create and return the combined set and change nothing else;
    // below the threshold they return an empty handle, so assigning their result to the running
    // conclusion would drop it.

    /// Strength of a rule: the least over premise/fact pairs of their correlation strength.
    TFzyFloat GetCorrelationStrength(std::span<TFuzzySet* const> Premises, std::span<TFuzzySet* const> Facts);
    /// Creates the result of a rule with premises matched against facts; see AssertRule(Strength, ...).
    [[nodiscard]] virtual TOwned<TFuzzySet> AssertRule(std::span<TFuzzySet* const> Premises,
                                                       std::span<TFuzzySet* const> Facts,
                                                       const TFuzzySet& Consequent, TFuzzySet* Conclusion);
    /// Below the threshold: an empty handle, nothing created. Otherwise creates a correlated clone of
    /// Consequent, or, with a Conclusion, a new set inferring the clone into it (the clone is freed).
    /// Conclusion itself is never changed or freed.
    [[nodiscard]] virtual TOwned<TFuzzySet> AssertRule(TFzyFloat Strength, const TFuzzySet& Consequent,
                                                       TFuzzySet* Conclusion);
    /// Creates the result of a rule with one premise matched against one fact.
    [[nodiscard]] virtual TOwned<TFuzzySet> AssertRule(TFuzzySet& Premise, const TFuzzySet& Consequent,
                                                       const TFuzzySet& Fact, TFuzzySet* Conclusion);
    /// Fires a rule into Conclusion (empty at first): when it fires, Conclusion becomes the combined
    /// set and the previous one is freed. Returns whether the rule fired. With nobody watching,
    /// the previous set may itself be made the combined set (same object, new ID and contents):
    /// keep the handle, not a pointer to the set it held.
    bool AssertRule(std::span<TFuzzySet* const> Premises, std::span<TFuzzySet* const> Facts,
                    const TFuzzySet& Consequent, TOwned<TFuzzySet>& Conclusion) {
        return Accumulate(AssertRule(Premises, Facts, Consequent, Conclusion.get()), Conclusion);
    }
    bool AssertRule(TFzyFloat Strength, const TFuzzySet& Consequent, TOwned<TFuzzySet>& Conclusion) {
        // Most rules of a cycle do not fire: below the threshold this class makes nothing, so
        // the call is skipped (a descendant, which may override it, still gets it).
        if (Strength < FThreshold && typeid(*this) == typeid(TFuzzyVariable)) return false;
        return FireInto(Strength, Consequent, Conclusion);
    }
    bool AssertRule(TFuzzySet& Premise, const TFuzzySet& Consequent, const TFuzzySet& Fact,
                    TOwned<TFuzzySet>& Conclusion) {
        return Accumulate(AssertRule(Premise, Consequent, Fact, Conclusion.get()), Conclusion);
    }

protected:
    ~TFuzzyVariable() override;
    /// Factory of the set collection.
    virtual TOwned<TFuzzySets> CreateItems();
    /// Relay of a set joining or leaving.
    virtual void Notify(TFuzzySet* FuzzySet, TCollectionNotification Action);
    /// Relay of a set change (nullptr: the set collection as a whole).
    virtual void Update(TFuzzySet* FuzzySet);
    void BeforeDestruction() override;

private:
    friend class TFuzzySets;
    friend class TFuzzyVariables;
    void ClampItemIndex() noexcept;
    /// True when nothing outside the library sees this variable's sets join and leave: the
    /// variable, its collections and its component are the library's own classes, and no
    /// event handler is assigned.
    [[nodiscard]] bool SetsUnobserved() const noexcept;
    /// True when a rule into Conclusion (nullptr: none yet) may be fired with nobody watching:
    /// its sets are plain sets of this variable, unobserved, Consequent inside the range.
    [[nodiscard]] bool MayFireUnwatched(const TFuzzySet& Consequent,
                                        const TFuzzySet* Conclusion) const noexcept;
    /// Runs Body with the set collection's relays held back, then relays a change of the set
    /// Body returns (of the collection as a whole when Body raises).
    void RunUnwatched(TFunctionRef<TFuzzySet*()> Body);
    /// Makes a set with the set collection's relays held back, and relays once at the end.
    [[nodiscard]] TOwned<TFuzzySet> MakeUnwatched(TFunctionRef<TOwned<TFuzzySet>()> Make);
    /// The accumulating AssertRule(Strength, Consequent, Conclusion): made unwatched (in place
    /// where it can be) when MayFireUnwatched allows, else through the creating form.
    bool FireInto(TFzyFloat Strength, const TFuzzySet& Consequent, TOwned<TFuzzySet>& Conclusion);
    // A rule that fired replaces the running conclusion (inline: most rules of a cycle do not fire).
    static bool Accumulate(TOwned<TFuzzySet>&& Result, TOwned<TFuzzySet>& Conclusion) {
        if (!Result) return false;
        Conclusion = std::move(Result);
        return true;
    }

    TFzyFloat FMaximum = 1.0;
    std::string FName;
    TFzyFloat FMinimum = 0.0;
    int FItemIndex = -1;
    std::string FUnits;
    TOwned<TFuzzySets> FItems;
    TFuzzySetClass FSetClass;
    std::string FComment;
    TFzyFloat FThreshold = 0.0;
};

/// The variables of a logic component; owned by the component. Add and Insert (a new
/// variable, its sets of this collection's set class) create variables the collection owns.
class TFuzzyVariables : public TTypedCollection<TFuzzyVariable> {
public:
    explicit TFuzzyVariables(TFuzzyLogic* AOwner);
    TFuzzyVariables(TFuzzyLogic* AOwner, TFuzzyVariableClass ItemClass);
    TFuzzyVariables(TFuzzyLogic* AOwner, TFuzzyVariableClass ItemClass, TFuzzySetClass SetClass);

    using TTypedCollection::Add;
    /// Appends a variable and names it.
    TFuzzyVariable* Add(const std::string& Name);
    /// The variable named Name; raises EFzyException "Unknown Fuzzy Variable name: ..." when none is.
    [[nodiscard]] TFuzzyVariable* GetItemByName(const std::string& Name) const;
    void SetItemByName(const std::string& Name, const TFuzzyVariable& Value);
    [[nodiscard]] TFuzzyLogic* GetFuzzy() const noexcept { return FFuzzy; }
    [[nodiscard]] TFuzzySetClass GetSetClass() const noexcept { return FSetClass; }

    [[nodiscard]] std::string ClassName() const override { return "TFuzzyVariables"; }

protected:
    ~TFuzzyVariables() override = default;
    void Update(TCollectionItem* Item) override;
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
    /// Relay of a set change from one of the variables.
    virtual void UpdateFuzzySet(TFuzzySet* FuzzySet);
    /// Relay of a set joining or leaving one of the variables.
    virtual void NotifyFuzzySet(TFuzzySet* FuzzySet, TCollectionNotification Action);

private:
    friend class TFuzzyVariable;
    friend class TFuzzyLogic;
    TFuzzyLogic* FFuzzy;
    TFuzzySetClass FSetClass;
};

using TFuzzyVariablesEnumerator = TCollectionEnumerator<TFuzzyVariable>;
/// Class reference of the variable collection a TFuzzyLogic creates.
using TFuzzyVariablesClass = TClassRef<TFuzzyVariables, TFuzzyLogic*>;

}  // namespace fzl
