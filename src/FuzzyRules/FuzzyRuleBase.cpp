#include <algorithm>
#include <cmath>
#include <utility>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyRules/FuzzyRuleBase.h>
#include <fzl/FuzzyRules/RuleMessages.h>

#include "internal/RuleError.h"

namespace fzl {
namespace {

void CheckFinite(const std::string& Variable, TFzyFloat Value) {
    if (!std::isfinite(Value)) throw EFzyException(SFzyRuleInputNotFinite, {Variable});
}

}  // namespace

void TCustomFuzzyRuleBase::SetRules(const std::string& Text) { SetRules(ReadFuzzyRules(Text)); }

void TCustomFuzzyRuleBase::SetRules(std::vector<TFuzzyRule> Rules) {
    FRules = std::move(Rules);
    Rebind();
}

void TCustomFuzzyRuleBase::Clear() {
    DropBinding();
    FRules.clear();
}

void TCustomFuzzyRuleBase::DropBinding() {
    Unbind();
    FBound.clear();
    FVariableNames.clear();
    FInputs.clear();
    FOutputs.clear();
    FStates.clear();
    FSlots.clear();
    FSlotPremises.clear();
    FSlotStrengths.clear();
}

void TCustomFuzzyRuleBase::Rebind() {
    try {
        Bind();
    } catch (...) {
        Clear();
        throw;
    }
}

void TCustomFuzzyRuleBase::BeforeDestruction() {
    Unbind();
    TObject::BeforeDestruction();
}

std::vector<std::string> TCustomFuzzyRuleBase::GetInputNames() const {
    std::vector<std::string> Names;
    for (const int Variable : FInputs) Names.push_back(FVariableNames[static_cast<std::size_t>(Variable)]);
    return Names;
}

std::vector<std::string> TCustomFuzzyRuleBase::GetOutputNames() const {
    std::vector<std::string> Names;
    for (const int Variable : FOutputs) Names.push_back(FVariableNames[static_cast<std::size_t>(Variable)]);
    return Names;
}

void TCustomFuzzyRuleBase::Bind() {
    DropBinding();
    CheckComponent();
    int SetCount = 0;
    for (const TFuzzyRule& Rule : FRules) {
        TBoundRule Bound;
        for (const TFuzzyClause& Premise : Rule.Premises) {
            Bound.Premises.push_back(BindClause(Rule, Premise, SetCount));
            const auto Key = std::make_pair(Bound.Premises.back().Variable, Premise.Expression);
            const auto [Slot, IsNew] = FSlots.try_emplace(Key, static_cast<int>(FSlots.size()));
            Bound.Premises.back().Slot = Slot->second;
            if (IsNew) FSlotPremises.push_back(Bound.Premises.back());
            if (std::ranges::find(FInputs, Bound.Premises.back().Variable) == FInputs.end())
                FInputs.push_back(Bound.Premises.back().Variable);
        }
        Bound.Conclusion = BindClause(Rule, Rule.Conclusion, SetCount);
        if (std::ranges::find(FOutputs, Bound.Conclusion.Variable) == FOutputs.end())
            FOutputs.push_back(Bound.Conclusion.Variable);
        FBound.push_back(std::move(Bound));
    }
    FStates.assign(FRules.size(), TFuzzyRuleState{});
    FSlotStrengths.assign(FSlotPremises.size(), 0);
}

int TCustomFuzzyRuleBase::VariableIndex(const std::string& Name) {
    const auto Found = std::ranges::find(FVariableNames, Name);
    if (Found != FVariableNames.end()) return static_cast<int>(Found - FVariableNames.begin());
    return -1;
}

TCustomFuzzyRuleBase::TBoundClause TCustomFuzzyRuleBase::BindClause(const TFuzzyRule& Rule,
                                                                    const TFuzzyClause& Clause,
                                                                    int& SetCount) {
    TBoundClause Bound;
    Bound.Variable = VariableIndex(Clause.Variable);
    if (Bound.Variable < 0) {
        if (!HasVariable(Clause.Variable))
            rules::RaiseRuleError(Format(SUnknownFuzzyVarName, {Clause.Variable}), Rule.Line, Rule.Text);
        BindVariable(Clause.Variable);
        FVariableNames.push_back(Clause.Variable);
        Bound.Variable = VariableCount() - 1;
    }
    try {
        BindSet(Bound.Variable, Clause.Expression);
    } catch (const Exception& E) {
        rules::RaiseRuleError(Format(SFzyRuleBadExpression, {rules::ParticularMessage(E.what()),
                                                             Clause.Variable, Clause.Expression}),
                              Rule.Line, Rule.Text);
    }
    Bound.Set = SetCount++;
    return Bound;
}

void TCustomFuzzyRuleBase::SetFacts(const TFuzzyInputs& Inputs) {
    for (const auto& [Name, Value] : Inputs.Values) {
        if (!HasVariable(Name)) throw EFzyException(SUnknownFuzzyVarName, {Name});
        CheckFinite(Name, Value);
        if (Inputs.Facts.contains(Name)) throw EFzyException(SFzyRuleTwoInputs, {Name});
    }
    for (const auto& [Name, Expression] : Inputs.Facts)
        if (!HasVariable(Name)) throw EFzyException(SUnknownFuzzyVarName, {Name});
    for (const auto& [Name, Value] : Inputs.Defaults) {
        if (!HasVariable(Name)) throw EFzyException(SUnknownFuzzyVarName, {Name});
        CheckFinite(Name, Value);
    }
    for (const int Variable : FInputs) {
        const std::string& Name = FVariableNames[static_cast<std::size_t>(Variable)];
        if (const auto Value = Inputs.Values.find(Name); Value != Inputs.Values.end()) {
            SetCrispFact(Variable, Value->second);
        } else if (const auto Fact = Inputs.Facts.find(Name); Fact != Inputs.Facts.end()) {
            try {
                SetExpressionFact(Variable, Fact->second);
            } catch (const Exception& E) {
                throw EFzyException(SFzyRuleBadFact, {rules::ParticularMessage(E.what()), Name});
            }
        } else {
            throw EFzyException(SFzyRuleNoInput, {Name});
        }
    }
}

// A premise repeated across rules is measured once: the facts stay put during an evaluation,
// so every measure would give the same number. Slots are numbered in order of first use, so
// every premise set is measured in the order the rules first use it, as rule by rule.
void TCustomFuzzyRuleBase::MeasurePremises() {
    for (std::size_t Slot = 0; Slot < FSlotPremises.size(); ++Slot)
        FSlotStrengths[Slot] = PremiseStrength(FSlotPremises[Slot]);
}

// The least strength of the premises.
TFzyFloat TCustomFuzzyRuleBase::RuleStrength(const TBoundRule& Rule) const noexcept {
    TFzyFloat Strength = 1.0;
    for (const TBoundClause& Premise : Rule.Premises)
        Strength = std::min(Strength, FSlotStrengths[static_cast<std::size_t>(Premise.Slot)]);
    return Strength;
}

std::vector<TFuzzyOutput> TCustomFuzzyRuleBase::Evaluate(const TFuzzyInputs& Inputs) {
    CheckComponent();
    BeginEvaluation();
    // Every state is written below; after an error the states not reached read as cleared
    // (the rule whose firing failed keeps its strength).
    bool Measured = false;
    std::size_t Reached = 0;
    try {
        SetFacts(Inputs);
        MeasurePremises();
        Measured = true;
        for (; Reached < FBound.size(); ++Reached) {
            const TBoundRule& Bound = FBound[Reached];
            TFuzzyRuleState& State = FStates[Reached];
            State.Fired = false;
            State.Strength = RuleStrength(Bound);
            State.Fired = Fire(Bound.Conclusion, State.Strength);
        }
    } catch (...) {
        const std::size_t Cleared = Measured ? Reached + 1 : 0;
        std::fill(FStates.begin() + static_cast<std::ptrdiff_t>(Cleared), FStates.end(), TFuzzyRuleState{});
        throw;
    }
    std::vector<TFuzzyOutput> Outputs;
    Outputs.reserve(FOutputs.size());
    for (const int Variable : FOutputs) {
        TFuzzyOutput& Output = Outputs.emplace_back();
        Output.Variable = FVariableNames[static_cast<std::size_t>(Variable)];
        if (HasConclusion(Variable)) {
            Output.Fired = true;
            Output.Value = Defuzzify(Variable);
        } else if (const auto Default = Inputs.Defaults.find(Output.Variable);
                   Default != Inputs.Defaults.end()) {
            Output.Defaulted = true;
            Output.Value = Default->second;
        }
    }
    return Outputs;
}

}  // namespace fzl
