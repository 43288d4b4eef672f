#pragma once
// A rule base: rules as text over the variables of a logic component, fired all at
// once for a set of inputs. TFuzzyRuleBase works on the class model (TFuzzyLogic),
// TIFuzzyRuleBase on the reference-counted model (TIFuzzyLogic); both give the same
// numbers.
//
//     auto Rules = Make<TFuzzyRuleBase>(Logic.get());  // Logic has a parser linked
//     Rules->SetRules("IF temperature IS warm THEN fan IS medium");
//     for (const TFuzzyOutput& Output : Rules->Evaluate({{"temperature", 22}}))
//         if (Output.Value) std::printf("%s = %f\n", Output.Variable.c_str(), *Output.Value);
//
// The rule base owns every set it makes: the sets of the clauses' expressions, the facts,
// the fired rules' sets and the conclusions. The caller frees none of them; the
// conclusions stay until the next evaluation or until the rule base goes.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyRules/FuzzyRule.h>
#include <fzl/IFuzzyLogic/FuzzyLogicIntf.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/support/Component.h>
#include <fzl/support/Object.h>

namespace fzl {

/// What one evaluation starts from.
struct TFuzzyInputs {
    /// Crisp inputs by variable name. A number is clamped into the variable's range; a premise's
    /// strength is its degree there, as against a crisp spike at the number (no set is made).
    std::map<std::string, TFzyFloat> Values;
    /// Fuzzy inputs by variable name: an expression evaluated in the variable ("about 22",
    /// "(tri 20 22 24)", "warm").
    std::map<std::string, std::string> Facts;
    /// The value an output variable takes when no rule concluding on it fires.
    std::map<std::string, TFzyFloat> Defaults;
};

/// The result of one output variable.
struct TFuzzyOutput {
    std::string Variable;
    /// The crisp value: the conclusion defuzzified, the default when no rule fired, else empty.
    std::optional<TFzyFloat> Value;
    /// True when at least one rule concluding on this variable fired.
    bool Fired = false;
    /// True when Value is the caller's default (no rule fired).
    bool Defaulted = false;
};

/// What one rule did in the last evaluation.
struct TFuzzyRuleState {
    /// The least correlation strength of its premises against the facts.
    TFzyFloat Strength = 0;
    /// True when the strength reached the output variable's threshold and the rule fired.
    bool Fired = false;
};

/// What both rule bases share: the rules, their variables, the evaluation and the results.
/// A clause's expression is evaluated by the component's parser in the clause's variable, so
/// hedges, operations and built-in functions work in rules. A rule's strength is the least
/// correlation strength of its premises against the facts; a rule whose strength reaches the
/// output variable's threshold correlates its conclusion set with the strength and infers it
/// into that variable's conclusion, by the component's correlation and inference methods; the
/// conclusion is defuzzified by the component's method.
class TCustomFuzzyRuleBase : public TObject {
public:
    /// Reads Text and binds the rules to the component: every variable must exist and every
    /// expression must evaluate. An error raises EFzyParseException with the rule's line and
    /// leaves the rule base without rules.
    void SetRules(const std::string& Text);
    /// Binds rules read already (a rule's Line is used in errors).
    void SetRules(std::vector<TFuzzyRule> Rules);
    /// Drops the rules and every set the rule base made.
    void Clear();
    /// Binds the rules again: after the component re-parsed its text or lost variables.
    void Rebind();

    [[nodiscard]] const std::vector<TFuzzyRule>& GetRules() const noexcept { return FRules; }
    /// The variables the premises use, in order of first use.
    [[nodiscard]] std::vector<std::string> GetInputNames() const;
    /// The variables the conclusions set, in order of first use.
    [[nodiscard]] std::vector<std::string> GetOutputNames() const;

    /// Fires every rule for Inputs and returns one result per output variable, in the order of
    /// GetOutputNames. Every premise variable needs a number or a fact; inputs for variables that
    /// no premise uses are ignored, inputs for variables the component lacks raise.
    [[nodiscard]] std::vector<TFuzzyOutput> Evaluate(const TFuzzyInputs& Inputs);
    /// Evaluate with crisp inputs only.
    [[nodiscard]] std::vector<TFuzzyOutput> Evaluate(const std::map<std::string, TFzyFloat>& Values) {
        return Evaluate(TFuzzyInputs{Values, {}, {}});
    }
    /// Per rule (in the order of GetRules), its strength and whether it fired in the last evaluation.
    [[nodiscard]] const std::vector<TFuzzyRuleState>& GetRuleStates() const noexcept { return FStates; }

    [[nodiscard]] std::string ClassName() const override { return "TCustomFuzzyRuleBase"; }

protected:
    /// A clause bound to a variable (an index into the rule base's variables) and to the set
    /// of its expression (an index into the bound sets).
    struct TBoundClause {
        int Variable = 0;
        int Set = 0;
        /// Premises with the same variable and expression share a slot: their correlation
        /// strength is measured once per evaluation.
        int Slot = 0;
    };

    TCustomFuzzyRuleBase() = default;
    ~TCustomFuzzyRuleBase() override = default;
    void BeforeDestruction() override;

    // ---- What each object model supplies ----------------------------------------------------------
    /// Raises when the component is gone or has no parser.
    virtual void CheckComponent() const = 0;
    /// True when the component has a variable of that name.
    [[nodiscard]] virtual bool HasVariable(const std::string& Name) const = 0;
    /// Drops every variable and set held.
    virtual void Unbind() = 0;
    /// Holds the component's variable Name as the next variable.
    virtual void BindVariable(const std::string& Name) = 0;
    /// Evaluates Expression in variable Variable and holds the result as the next bound set.
    virtual void BindSet(int Variable, const std::string& Expression) = 0;
    /// Drops the facts and conclusions of the last evaluation.
    virtual void BeginEvaluation() = 0;
    /// Variable's input: the number Value (clamped into the variable's range; no set made), or
    /// the set of Expression.
    virtual void SetCrispFact(int Variable, TFzyFloat Value) = 0;
    virtual void SetExpressionFact(int Variable, const std::string& Expression) = 0;
    /// The correlation strength of Premise's set against its variable's input: against the
    /// crisp spike at a number clamped into the variable's range, to the bit, or the fact set.
    [[nodiscard]] virtual TFzyFloat PremiseStrength(const TBoundClause& Premise) = 0;
    /// Fires Conclusion with Strength into its variable's conclusion; false below the threshold.
    virtual bool Fire(const TBoundClause& Conclusion, TFzyFloat Strength) = 0;
    /// True when Fire with strength 0 into any of Variables would return false and call nothing, so
    /// such a rule need not be visited. The default, false, visits every rule.
    [[nodiscard]] virtual bool IgnoreZeroStrength(std::span<const int> /*Variables*/) const { return false; }
    /// True when some rule fired into Variable's conclusion.
    [[nodiscard]] virtual bool HasConclusion(int Variable) const = 0;
    /// The conclusion of Variable defuzzified by the component's method.
    [[nodiscard]] virtual TFzyFloat Defuzzify(int Variable) const = 0;

    /// The number of variables the rules use; indices of TBoundClause::Variable.
    [[nodiscard]] int VariableCount() const noexcept { return static_cast<int>(FVariableNames.size()); }
    /// The index of an output variable (of GetOutputNames) among the rule base's variables.
    [[nodiscard]] int OutputVariable(int Output) const {
        return FOutputs.at(static_cast<std::size_t>(Output));
    }

private:
    struct TBoundRule {
        std::vector<TBoundClause> Premises;
        TBoundClause Conclusion;
    };

    void Bind();
    /// Drops every variable, set and result the rules were bound to; the rules stay.
    void DropBinding();
    TBoundClause BindClause(const TFuzzyRule& Rule, const TFuzzyClause& Clause, int& SetCount);
    void BuildStopIndex();
    void MeasurePremises();
    void FireRules(std::size_t& Reached);
    void FireRule(std::size_t Rule);
    [[nodiscard]] bool StopRulesAtZero();
    [[nodiscard]] std::size_t FireUnstopped(std::size_t& Reached);
    void MarkAllStale() noexcept;
    [[nodiscard]] TFzyFloat RuleStrength(const TBoundRule& Rule) const noexcept;
    int VariableIndex(const std::string& Name);
    void SetFacts(const TFuzzyInputs& Inputs);
    void CheckInputs(const TFuzzyInputs& Inputs);

    std::vector<TFuzzyRule> FRules;
    std::vector<TBoundRule> FBound;
    std::vector<std::string> FVariableNames;
    std::vector<int> FInputs;                        // variables of the premises, in order of first use
    std::vector<int> FOutputs;                       // variables of the conclusions, in order of first use
    std::vector<std::size_t> FInputsByName;          // positions in FInputs, in the order of the names
    std::vector<std::optional<TFzyFloat>> FNumbers;  // per position in FInputs, its number in this evaluation
    std::vector<TFuzzyRuleState> FStates;
    std::map<std::pair<int, std::string>, int> FSlots;  // (variable, expression) of each premise slot
    std::vector<TBoundClause> FSlotPremises;            // per slot, the premise that first uses it
    std::vector<TFzyFloat> FSlotStrengths;              // per slot in this evaluation
    // Which rules a premise of strength 0 stops, as bits over the rules, FRuleWords words a row.
    std::size_t FRuleWords = 0;
    std::vector<std::uint64_t> FSlotRules;  // per slot, the rules with a premise in it
    std::vector<std::uint64_t> FStopped;    // in this evaluation, the rules with a premise at 0
    std::vector<std::uint64_t> FStale;      // the rules whose states may hold more than {0, not fired}
};

/// The rule base of a class-model component. The component must have a parser linked.
/// Refers to the component weakly (a freed component raises on the next call); after the
/// component re-parses its text or drops variables, call Rebind.
class TFuzzyRuleBase : public TCustomFuzzyRuleBase {
public:
    explicit TFuzzyRuleBase(TFuzzyLogic* Logic);

    [[nodiscard]] TFuzzyLogic* GetFuzzyLogic() const noexcept { return FLogic.Get(); }
    /// The conclusion of output Output (of GetOutputNames) from the last evaluation, or nullptr
    /// when no rule fired. Owned by the rule base; it lives in the output variable's sets.
    [[nodiscard]] const TFuzzySet* GetConclusion(int Output) const;

    [[nodiscard]] std::string ClassName() const override { return "TFuzzyRuleBase"; }

protected:
    ~TFuzzyRuleBase() override = default;
    void CheckComponent() const override;
    [[nodiscard]] bool HasVariable(const std::string& Name) const override;
    void Unbind() override;
    void BindVariable(const std::string& Name) override;
    void BindSet(int Variable, const std::string& Expression) override;
    void BeginEvaluation() override;
    void SetCrispFact(int Variable, TFzyFloat Value) override;
    void SetExpressionFact(int Variable, const std::string& Expression) override;
    [[nodiscard]] TFzyFloat PremiseStrength(const TBoundClause& Premise) override;
    bool Fire(const TBoundClause& Conclusion, TFzyFloat Strength) override;
    [[nodiscard]] bool IgnoreZeroStrength(std::span<const int> Variables) const override;
    [[nodiscard]] bool HasConclusion(int Variable) const override;
    [[nodiscard]] TFzyFloat Defuzzify(int Variable) const override;

private:
    /// Evaluates Expression in Variable; the sets the evaluation left in the variable are
    /// taken into Owned (the result among them, unless it is one of the variable's own sets).
    TFuzzySet* EvaluateIn(TFuzzyVariable& Variable, const std::string& Expression,
                          std::vector<TOwned<TFuzzySet>>& Owned) const;

    TComponentRef<TFuzzyLogic> FLogic;
    std::vector<TFuzzyVariable*> FVariables;
    std::vector<char> FPlainVariables;  // per variable: of class TFuzzyVariable itself, no descendant
    std::vector<TFuzzySet*> FSets;
    std::vector<TOwned<TFuzzySet>> FOwnedSets;
    std::vector<TFuzzySet*> FFacts;  // per variable; nullptr for a crisp input
    std::vector<TOwned<TFuzzySet>> FOwnedFacts;
    std::vector<TFzyFloat> FCrispInputs;  // per variable, clamped into its range
    std::vector<TOwned<TFuzzySet>> FConclusions;
};

/// The rule base of a reference-counted component. The component must have a parser linked.
/// The variable's own AssertRule always clips and unites by maximum; this rule base correlates,
/// infers and defuzzifies with the component's methods instead, through the sets' operations.
class TIFuzzyRuleBase : public TCustomFuzzyRuleBase {
public:
    explicit TIFuzzyRuleBase(TIFuzzyLogic* Logic);

    [[nodiscard]] TIFuzzyLogic* GetFuzzyLogic() const noexcept { return FLogic.Get(); }
    /// The conclusion of output Output (of GetOutputNames) from the last evaluation, or nil.
    [[nodiscard]] TIntfPtr<IFuzzySet> GetConclusion(int Output) const;

    [[nodiscard]] std::string ClassName() const override { return "TIFuzzyRuleBase"; }

protected:
    ~TIFuzzyRuleBase() override = default;
    void CheckComponent() const override;
    [[nodiscard]] bool HasVariable(const std::string& Name) const override;
    void Unbind() override;
    void BindVariable(const std::string& Name) override;
    void BindSet(int Variable, const std::string& Expression) override;
    void BeginEvaluation() override;
    void SetCrispFact(int Variable, TFzyFloat Value) override;
    void SetExpressionFact(int Variable, const std::string& Expression) override;
    [[nodiscard]] TFzyFloat PremiseStrength(const TBoundClause& Premise) override;
    bool Fire(const TBoundClause& Conclusion, TFzyFloat Strength) override;
    [[nodiscard]] bool IgnoreZeroStrength(std::span<const int> Variables) const override;
    [[nodiscard]] bool HasConclusion(int Variable) const override;
    [[nodiscard]] TFzyFloat Defuzzify(int Variable) const override;

private:
    /// The crisp spike at Variable's input, for a premise set that is not a plain TIFuzzySet.
    [[nodiscard]] const TIntfPtr<IFuzzySet>& CrispFact(int Variable);

    TComponentRef<TIFuzzyLogic> FLogic;
    std::vector<TIntfPtr<IFuzzyVariable>> FVariables;
    std::vector<TIntfPtr<IFuzzySet>> FSets;
    std::vector<TIFuzzySet*> FEngineSets;     // per bound set: itself when a plain TIFuzzySet, else nullptr
    std::vector<TIntfPtr<IFuzzySet>> FFacts;  // per variable; nil for a crisp input until needed
    std::vector<TFzyFloat> FCrispInputs;      // per variable, clamped into its range
    std::vector<TIntfPtr<IFuzzySet>> FConclusions;
};

}  // namespace fzl
