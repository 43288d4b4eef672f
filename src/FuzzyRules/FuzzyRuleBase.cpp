#include <algorithm>
#include <bit>
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
    FRuleWords = 0;
    FSlotRules.clear();
    FStopped.clear();
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
    BuildStopIndex();
}

void TCustomFuzzyRuleBase::BuildStopIndex() {
    FRuleWords = (FBound.size() + 63) / 64;
    FSlotRules.assign(FSlotPremises.size() * FRuleWords, 0);
    FStopped.assign(FRuleWords, 0);
    for (std::size_t Rule = 0; Rule < FBound.size(); ++Rule)
        for (const TBoundClause& Premise : FBound[Rule].Premises)
            FSlotRules[static_cast<std::size_t>(Premise.Slot) * FRuleWords + Rule / 64] |= std::uint64_t{1}
                                                                                           << (Rule % 64);
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

// The least of strengths that are +0 or more, one of them +0, is +0: such a rule's state is
// {0, not fired} without visiting it, when its output ignores strength 0. A negative strength,
// -0 or NaN (only a descendant's measure could give one) leaves every rule to be visited.
bool TCustomFuzzyRuleBase::StopRulesAtZero() {
    if (!IgnoreZeroStrength(FOutputs)) return false;
    std::ranges::fill(FStopped, 0);
    for (std::size_t Slot = 0; Slot < FSlotStrengths.size(); ++Slot) {
        const TFzyFloat Strength = FSlotStrengths[Slot];
        if (Strength > 0) continue;
        if (std::bit_cast<std::uint64_t>(Strength) != 0) return false;  // not +0
        const std::uint64_t* Rules = &FSlotRules[Slot * FRuleWords];
        for (std::size_t Word = 0; Word < FRuleWords; ++Word) FStopped[Word] |= Rules[Word];
    }
    return true;
}

// The first rule from Rule on that no premise at 0 stops, or the rule count.
std::size_t TCustomFuzzyRuleBase::NextUnstopped(std::size_t Rule) const noexcept {
    std::size_t Word = Rule / 64;
    std::uint64_t Open = ~FStopped[Word] & (~std::uint64_t{0} << (Rule % 64));
    while (Open == 0) {
        if (++Word == FRuleWords) return FBound.size();
        Open = ~FStopped[Word];
    }
    return std::min(FBound.size(), Word * 64 + static_cast<std::size_t>(std::countr_zero(Open)));
}

// Rules fire in the order of the text. Most rules of a grid have a premise at 0; those are
// skipped through the index when their outputs ignore strength 0, with the state they would get.
void TCustomFuzzyRuleBase::FireRules(std::size_t& Reached) {
    bool Skipping = StopRulesAtZero();
    const std::size_t Count = FBound.size();
    for (std::size_t Rule = 0; Rule < Count; ++Rule) {
        if (Skipping) {
            const std::size_t Next = NextUnstopped(Rule);
            std::fill(FStates.begin() + static_cast<std::ptrdiff_t>(Rule),
                      FStates.begin() + static_cast<std::ptrdiff_t>(Next), TFuzzyRuleState{});
            if (Next == Count) break;
            Rule = Next;
        }
        Reached = Rule;
        const TBoundRule& Bound = FBound[Rule];
        TFuzzyRuleState& State = FStates[Rule];
        State.Fired = false;
        State.Strength = RuleStrength(Bound);
        State.Fired = Fire(Bound.Conclusion, State.Strength);
        // A handler run by the firing may have lowered a threshold to 0: then every later rule counts.
        if (Skipping) Skipping = IgnoreZeroStrength(FOutputs);
    }
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
        FireRules(Reached);
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
