#pragma once
// IFuzzyVariable: a linguistic variable of the reference-counted model, holding
// its sets by name.

#include <span>
#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyInterfaces/FuzzyIntfEvents.h>
#include <fzl/support/Cloneable.h>

namespace fzl {

class IFuzzySet;
class IFuzzyParser;

/// A named numeric universe from Minimum to Maximum with its sets, kept by name.
class IFuzzyVariable : public ICloneable {
public:
    using TInterface = IFuzzyVariable;
    using TInherited = ICloneable;
    static constexpr TGUID IID = TGUID::Parse("{5DFA4DF2-B274-48A1-A49E-D99C760B726A}");

    [[nodiscard]] virtual TDefuzzificationMethod GetDefuzzificationMethod() const = 0;
    [[nodiscard]] virtual TFzyFloat GetMaximum() const = 0;
    [[nodiscard]] virtual TFzyFloat GetMinimum() const = 0;
    [[nodiscard]] virtual std::string GetName() const = 0;
    /// The definition-language form through the parser, else the name.
    [[nodiscard]] virtual std::string ToString() const = 0;
    [[nodiscard]] virtual std::string GetUnits() const = 0;
    [[nodiscard]] virtual int GetNumFunctionValues() const = 0;
    [[nodiscard]] virtual TNotifyEvent GetOnChange() const = 0;
    [[nodiscard]] virtual TIFuzzyVariableEvent GetOnVariableChange() const = 0;
    [[nodiscard]] virtual TIFuzzySetEvent GetOnFuzzySetChange() const = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzyParser> GetParser() const = 0;
    [[nodiscard]] virtual TFzyFloat GetThreshold() const = 0;
    [[nodiscard]] virtual std::string GetComment() const = 0;
    [[nodiscard]] virtual TIFuzzySetEvent GetOnFuzzySetAdded() const = 0;
    [[nodiscard]] virtual TIFuzzySetEvent GetOnFuzzySetDeleted() const = 0;
    virtual void SetOnFuzzySetAdded(const TIFuzzySetEvent& Value) = 0;
    virtual void SetOnFuzzySetDeleted(const TIFuzzySetEvent& Value) = 0;
    virtual void SetComment(const std::string& Value) = 0;
    /// Stores the parser and passes it on to every set.
    virtual void SetParser(const TIntfPtr<IFuzzyParser>& Value) = 0;
    virtual void SetDefuzzificationMethod(TDefuzzificationMethod Value) = 0;
    /// Minimum and Maximum drag each other so that Minimum <= Maximum.
    virtual void SetMaximum(TFzyFloat Value) = 0;
    virtual void SetMinimum(TFzyFloat Value) = 0;
    virtual void SetName(const std::string& Value) = 0;
    virtual void SetUnits(const std::string& Value) = 0;
    virtual void SetNumFunctionValues(int Value) = 0;
    virtual void SetOnChange(const TNotifyEvent& Value) = 0;
    virtual void SetOnVariableChange(const TIFuzzyVariableEvent& Value) = 0;
    virtual void SetOnFuzzySetChange(const TIFuzzySetEvent& Value) = 0;
    /// Clamped into [0, 1].
    virtual void SetThreshold(TFzyFloat Value) = 0;

    // ---- Inference -----------------------------------------------------------------------
    /// The smallest correlation strength of Premises[k] against Facts[k] (1 for no premises).
    virtual TFzyFloat GetCorrelationStrength(std::span<const TIntfPtr<IFuzzySet>> Premises,
                                             std::span<const TIntfPtr<IFuzzySet>> Facts) = 0;
    /// Fires a rule whose premises are matched against facts; see the strength form.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> AssertRule(std::span<const TIntfPtr<IFuzzySet>> Premises,
                                                         std::span<const TIntfPtr<IFuzzySet>> Facts,
                                                         const TIntfPtr<IFuzzySet>& Consequent,
                                                         const TIntfPtr<IFuzzySet>& Conclusion) = 0;
    /// Below the threshold nil; otherwise the consequent correlated with Strength,
    /// united with Conclusion when one is given.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> AssertRule(TFzyFloat Strength,
                                                         const TIntfPtr<IFuzzySet>& Consequent,
                                                         const TIntfPtr<IFuzzySet>& Conclusion) = 0;
    /// Fires a rule with one premise matched against one fact (the fact comes third).
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> AssertRule(const TIntfPtr<IFuzzySet>& Premise,
                                                         const TIntfPtr<IFuzzySet>& Consequent,
                                                         const TIntfPtr<IFuzzySet>& Fact,
                                                         const TIntfPtr<IFuzzySet>& Conclusion) = 0;

    // ---- The sets ------------------------------------------------------------------------
    /// The number of sets.
    [[nodiscard]] virtual int GetCount() const = 0;
    /// The set at Index in table order (not the order of adding).
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> GetFuzzySet(int Index) const = 0;
    /// The set named Name; an unknown name raises EListError.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> GetFuzzySetByName(const std::string& Name) const = 0;
    /// Registers FuzzySet with this variable (moving it from another one).
    virtual void Add(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    /// Creates a set named Name, defined unless Name is "__Empty", and registers it.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Add(const std::string& Name) = 0;
    /// Replaces the sets by clones of FuzzyVariable's.
    virtual void AssignFuzzySets(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) = 0;
    virtual void BeginUpdate() = 0;
    /// Removes every set.
    virtual void Clear() = 0;
    /// The set named Name, or nil.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> ContainsFuzzySet(const std::string& Name) const = 0;
    /// Removes FuzzySet when it is the set registered under its name.
    virtual void Remove(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    virtual void EndUpdate() = 0;
    /// Reports a change of FuzzySet's points.
    virtual void FuzzySetChanged(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;

protected:
    ~IFuzzyVariable() = default;
};

}  // namespace fzl
