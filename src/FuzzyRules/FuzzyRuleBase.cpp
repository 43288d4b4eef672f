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
    FInputsByName.clear();
    FNumbers.clear();
    FStates.clear();
    FSlots.clear();
    FSlotPremises.clear();
    FSlotStrengths.clear();
    FRuleWords = 0;
    FSlotRules.clear();
    FStopped.clear();
    FStale.clear();
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
    FInputsByName.resize(FInputs.size());
    for (std::size_t Input = 0; Input < FInputs.size(); ++Input) FInputsByName[Input] = Input;
    std::ranges::sort(FInputsByName, {}, [this](std::size_t Input) -> const std::string& {
        return FVariableNames[static_cast<std::size_t>(FInputs[Input])];
    });
    FNumbers.resize(FInputs.size());
    BuildStopIndex();
}

void TCustomFuzzyRuleBase::BuildStopIndex() {
    FRuleWords = (FBound.size() + 63) / 64;
    FSlotRules.assign(FSlotPremises.size() * FRuleWords, 0);
    FStopped.assign(FRuleWords, 0);
    FStale.assign(FRuleWords, 0);
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

// Checks every input and takes the numbers of the premises' variables: the numbers come in the
// order of their names, so one walk along the premises' variables by name matches them.
void TCustomFuzzyRuleBase::CheckInputs(const TFuzzyInputs& Inputs) {
    std::ranges::fill(FNumbers, std::nullopt);
    auto Input = FInputsByName.begin();
    for (const auto& [Name, Value] : Inputs.Values) {
        if (!HasVariable(Name)) throw EFzyException(SUnknownFuzzyVarName, {Name});
        CheckFinite(Name, Value);
        if (Inputs.Facts.contains(Name)) throw EFzyException(SFzyRuleTwoInputs, {Name});
        for (; Input != FInputsByName.end(); ++Input) {
            const int Order = FVariableNames[static_cast<std::size_t>(FInputs[*Input])].compare(Name);
            if (Order > 0) break;
            if (Order == 0) {
                FNumbers[*Input++] = Value;
                break;
            }
        }
    }
    for (const auto& [Name, Expression] : Inputs.Facts)
        if (!HasVariable(Name)) throw EFzyException(SUnknownFuzzyVarName, {Name});
    for (const auto& [Name, Value] : Inputs.Defaults) {
        if (!HasVariable(Name)) throw EFzyException(SUnknownFuzzyVarName, {Name});
        CheckFinite(Name, Value);
    }
}

void TCustomFuzzyRuleBase::SetFacts(const TFuzzyInputs& Inputs) {
    CheckInputs(Inputs);
    for (std::size_t Input = 0; Input < FInputs.size(); ++Input) {
        const int Variable = FInputs[Input];
        const std::string& Name = FVariableNames[static_cast<std::size_t>(Variable)];
        if (const std::optional<TFzyFloat>& Number = FNumbers[Input]) {
            SetCrispFact(Variable, *Number);
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
    const std::size_t Words = FRuleWords;
    std::uint64_t* Stopped = FStopped.data();
    std::fill_n(Stopped, Words, 0);
    // The bits past the last rule read as stopped, so the walk over the open bits ends by itself.
    if (const std::size_t Used = FBound.size() % 64; Used != 0)
        Stopped[Words - 1] = ~std::uint64_t{0} << Used;
    const std::uint64_t* Rules = FSlotRules.data();
    for (const TFzyFloat Strength : FSlotStrengths) {
        if (!(Strength > 0)) {
            if (std::bit_cast<std::uint64_t>(Strength) != 0) return false;  // not +0
            for (std::size_t Word = 0; Word < Words; ++Word) Stopped[Word] |= Rules[Word];
        }
        Rules += Words;
    }
    return true;
}

void TCustomFuzzyRuleBase::FireRule(std::size_t Rule) {
    const TBoundRule& Bound = FBound[Rule];
    TFuzzyRuleState& State = FStates[Rule];
    State.Fired = false;
    State.Strength = RuleStrength(Bound);
    State.Fired = Fire(Bound.Conclusion, State.Strength);
}

// Rules fire in the order of the text. Most rules of a grid have a premise at 0; when their
// outputs ignore strength 0 they are not visited, and their states are written as visiting would
// write them, in the same order.
void TCustomFuzzyRuleBase::FireRules(std::size_t& Reached) {
    std::size_t Rule = StopRulesAtZero() ? FireUnstopped(Reached) : 0;
    if (Rule < FBound.size()) MarkAllStale();
    for (; Rule < FBound.size(); ++Rule) {
        Reached = Rule;
        FireRule(Rule);
    }
}

// Fires the rules that no premise at 0 stops, and writes {0, not fired} into the states of the
// others that may hold something else, rule by rule. Returns the rule count, or the rule from
// which every rule is to be visited: a handler run by a firing may have lowered a threshold to 0.
std::size_t TCustomFuzzyRuleBase::FireUnstopped(std::size_t& Reached) {
    for (std::size_t Word = 0; Word < FRuleWords; ++Word) {
        const std::uint64_t Open = ~FStopped[Word];
        std::uint64_t Visit = Open | FStale[Word];
        FStale[Word] = 0;
        for (; Visit != 0; Visit &= Visit - 1) {
            const std::uint64_t Bit = Visit & (~Visit + 1);
            const std::size_t Rule = Word * 64 + static_cast<std::size_t>(std::countr_zero(Visit));
            if ((Open & Bit) == 0) {
                FStates[Rule] = TFuzzyRuleState{};
                continue;
            }
            Reached = Rule;
            FStale[Word] |= Bit;
            FireRule(Rule);
            if (!IgnoreZeroStrength(FOutputs)) return Rule + 1;
        }
    }
    return FBound.size();
}

// Every state may hold something but {0, not fired}; the bits past the last rule stay clear.
void TCustomFuzzyRuleBase::MarkAllStale() noexcept {
    std::ranges::fill(FStale, ~std::uint64_t{0});
    if (const std::size_t Used = FBound.size() % 64; Used != 0) FStale.back() = ~(~std::uint64_t{0} << Used);
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
        MarkAllStale();
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
