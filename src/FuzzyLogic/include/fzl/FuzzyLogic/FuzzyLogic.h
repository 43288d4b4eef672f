#pragma once
// The logic component: owns the variables, the definition text and the
// inference settings, and turns the relayed changes into events.

#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyLogic/FuzzyEvents.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Collection.h>
#include <fzl/support/Component.h>
#include <fzl/support/FunctionRef.h>
#include <fzl/support/StringList.h>

namespace fzl {

class TCustomFuzzyLogicParser;

/// Shared base of the logic components: settings, definition text and the parser link.
class TCustomFuzzyLogic : public TComponent {
public:
    explicit TCustomFuzzyLogic(TComponent* AOwner = nullptr);

    [[nodiscard]] int GetNumFunctionValues() const noexcept { return FNumFunctionValues; }
    /// Points of generated curves; values below 2 store 2.
    void SetNumFunctionValues(int Value) noexcept;
    [[nodiscard]] TFzyFloat GetThreshold() const noexcept { return FThreshold; }
    /// Stores Value clamped into [0, 1] and pushes it into every variable.
    void SetThreshold(TFzyFloat Value);
    [[nodiscard]] bool GetAutoTerms() const noexcept { return FAutoTerms; }
    void SetAutoTerms(bool Value) noexcept { FAutoTerms = Value; }
    [[nodiscard]] TFuzzyCorrelationMethod GetCorrelationMethod() const noexcept { return FCorrelationMethod; }
    void SetCorrelationMethod(TFuzzyCorrelationMethod Value) noexcept { FCorrelationMethod = Value; }
    [[nodiscard]] TFuzzyInferenceMethod GetInferenceMethod() const noexcept { return FInferenceMethod; }
    void SetInferenceMethod(TFuzzyInferenceMethod Value) noexcept { FInferenceMethod = Value; }
    [[nodiscard]] TDefuzzificationMethod GetDefuzzificationMethod() const noexcept {
        return FDefuzzificationMethod;
    }
    void SetDefuzzificationMethod(TDefuzzificationMethod Value) noexcept { FDefuzzificationMethod = Value; }

    [[nodiscard]] TCustomFuzzyLogicParser* GetParser() const noexcept { return FParser; }
    /// Links a parser (not owned); the link is dropped when the parser is freed.
    void SetParser(TCustomFuzzyLogicParser* Value);

    /// The definition text, regenerated first when the variables changed since.
    [[nodiscard]] TStrings& GetStrings();
    /// Stores the text and parses it.
    void SetStrings(const TStrings& Value);
    /// Named sub-expressions ("name=expression") for the parser; case-insensitive.
    [[nodiscard]] TStrings& GetVariables() const noexcept { return *FVariables; }
    void SetVariables(const TStrings& Value) { FVariables->Assign(Value); }
    /// True when the definition text no longer describes the variables.
    [[nodiscard]] bool GetNeedsUpdate() const noexcept { return FNeedsUpdate; }
    /// True while Parse runs (event handlers of the parse see it set).
    [[nodiscard]] bool GetParsing() const noexcept { return FParsing; }

    /// Regenerates the definition text from the variables.
    virtual void UpdateStrings();
    /// Replaces the model by the parsed definition text.
    virtual void Parse();

    /// Reads the component from a stream. The component enters the loading state and starts as
    /// a new one would (its settings, texts and variables set aside); Read then assigns the
    /// streamed properties, and Loaded runs once. When Read or Loaded throws, the component is
    /// put back exactly as it was (the same variable objects) and the exception passes on;
    /// otherwise what was set aside is freed. No event of the component fires meanwhile.
    void LoadFrom(TFunctionRef<void()> Read);
    /// Ends the loading state; the streamed text is taken as current (not stale).
    void Loaded() override;
    /// After Name and Tag: AutoTerms, CorrelationMethod, InferenceMethod,
    /// DefuzzificationMethod, NumFunctionValues (each with its default), Threshold, Variables
    /// and Strings (default empty; a stale text is regenerated first).
    void DefineProperties(TPropertyList& Properties) override;

    /// Fired when the variable collection changed as a whole.
    TNotifyEvent OnChange;

    [[nodiscard]] std::string ClassName() const override { return "TCustomFuzzyLogic"; }

protected:
    ~TCustomFuzzyLogic() override = default;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;
    /// Runs after the threshold changed.
    virtual void ThresholdChanged() {}
    /// True while the component is loading or a load sets its state aside, puts it back or
    /// frees it: the variables come and go as stored data, and no event fires.
    [[nodiscard]] bool IsRestoring() const noexcept {
        return FRestoring > 0 || ComponentState().Contains(csLoading);
    }
    /// Whether Strings is written to a stream (the base: always, when not empty).
    [[nodiscard]] virtual bool IsStringsStored() { return true; }
    // The state besides settings and texts that LoadFrom sets aside (the variables): set aside
    // leaving the state of a new component, put back after a failed read, freed after a good one.
    virtual void SetStateAside() {}
    virtual void RestoreStateSetAside() {}
    virtual void DropStateSetAside() {}

    /// Marks the component's parse as running while it lives. A second parse of the same
    /// component (an event handler of the first calling Parse or assigning Strings) raises
    /// EFzyParseException SParseInProgress before anything changes, instead of clearing
    /// the variables the running parse is building.
    class [[nodiscard]] TParsing {
    public:
        explicit TParsing(TCustomFuzzyLogic& Logic);
        ~TParsing() { FLogic.FParsing = false; }
        TParsing(const TParsing&) = delete;
        TParsing& operator=(const TParsing&) = delete;

    private:
        TCustomFuzzyLogic& FLogic;
    };

    int FNumFunctionValues = 7;
    TDefuzzificationMethod FDefuzzificationMethod = dmCenterOfGravity;
    TCustomFuzzyLogicParser* FParser = nullptr;
    TOwned<TStringList> FStrings;
    bool FNeedsUpdate = false;
    TOwned<TStringList> FVariables;
    bool FAutoTerms = true;
    TFuzzyCorrelationMethod FCorrelationMethod = fcmMinimum;
    TFuzzyInferenceMethod FInferenceMethod = fimMinMax;
    TFzyFloat FThreshold = 0.01;

    /// Keeps the component restoring (IsRestoring) for its own lifetime; scopes nest.
    class [[nodiscard]] TRestoringScope {
    public:
        explicit TRestoringScope(TCustomFuzzyLogic& Logic) noexcept : FLogic(Logic) { ++FLogic.FRestoring; }
        ~TRestoringScope() { --FLogic.FRestoring; }
        TRestoringScope(const TRestoringScope&) = delete;
        TRestoringScope& operator=(const TRestoringScope&) = delete;

    private:
        TCustomFuzzyLogic& FLogic;
    };

private:
    int FRestoring = 0;
    bool FParsing = false;
};

/// The class-model logic component: variables in a TFuzzyVariables collection.
class TFuzzyLogic : public TCustomFuzzyLogic {
public:
    explicit TFuzzyLogic(TComponent* AOwner = nullptr);
    /// A component whose variable collection is of ItemsClass (a descendant of TFuzzyVariables).
    TFuzzyLogic(TComponent* AOwner, TFuzzyVariablesClass ItemsClass);

    [[nodiscard]] TFuzzyVariables& GetItems() const noexcept { return *FItems; }
    /// Replaces the variables by copies of Value's.
    void SetItems(const TFuzzyVariables& Value) { FItems->Assign(Value); }

    void UpdateStrings() override;
    void Parse() override;

    /// Gives Variable the terms low, medium and high over its range (those it lacks).
    virtual void AddAutoTerms(TFuzzyVariable* Variable);
    /// Relays from the collections; they fire the events below. While the component is
    /// restoring (IsRestoring), they fire nothing, and an added variable is taken as it is
    /// (no threshold pushed into it, no automatic terms).
    virtual void NotifyFuzzySet(TFuzzySet* FuzzySet, TCollectionNotification Action);
    virtual void NotifyVariable(TFuzzyVariable* Variable, TCollectionNotification Action);
    virtual void UpdateVariable(TFuzzyVariable* Variable);
    virtual void UpdateFuzzySet(TFuzzySet* FuzzySet);

    /// True when any of the events (OnChange included) has a handler.
    [[nodiscard]] bool HasEventHandlers() const noexcept {
        return OnChange || OnFuzzySetChange || OnVariableChange || OnVariableDeleted || OnVariableAdded ||
               OnFuzzySetDeleted || OnFuzzySetAdded;
    }

    // Events; unassigned ones are empty. All are cleared when destruction starts.
    TFuzzySetEvent OnFuzzySetChange;
    TFuzzyVariableEvent OnVariableChange;
    TFuzzyVariableEvent OnVariableDeleted;
    TFuzzyVariableEvent OnVariableAdded;
    TFuzzySetEvent OnFuzzySetDeleted;
    TFuzzySetEvent OnFuzzySetAdded;

    /// After the base's properties, the variables (Items, each with its class).
    void DefineProperties(TPropertyList& Properties) override;
    /// A loaded component without a text but with variables has its text marked stale.
    void Loaded() override;

    [[nodiscard]] std::string ClassName() const override { return "TFuzzyLogic"; }
    /// Makes the variable collection through CreateVariables.
    void AfterConstruction() override;

protected:
    ~TFuzzyLogic() override = default;
    void ThresholdChanged() override;
    void BeforeDestruction() override;
    /// Factory of the variable collection.
    virtual TOwned<TFuzzyVariables> CreateVariables();
    /// A stale text is written only when a parser can regenerate it.
    bool IsStringsStored() override { return !FNeedsUpdate || FParser != nullptr; }
    void SetStateAside() override;
    void RestoreStateSetAside() override;
    void DropStateSetAside() override;

private:
    TOwned<TFuzzyVariables> FItems;
    TOwned<TFuzzyVariables> FItemsAside;  // the variables a load set aside
    TFuzzyVariablesClass FItemsClass = TFuzzyVariablesClass::Of<TFuzzyVariables>();
};

}  // namespace fzl
