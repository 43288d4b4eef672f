// The two object models' parts of the rule base.

#include <typeinfo>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/FuzzyRules/FuzzyRuleBase.h>
#include <fzl/FuzzyRules/RuleMessages.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/support/Cloneable.h>

namespace fzl {
namespace {

/// The component of Link with a parser, else raises.
template <class TLogic>
TLogic& LinkedComponent(const TComponentRef<TLogic>& Link) {
    TLogic* Logic = Link.Get();
    if (Logic == nullptr) throw EFzyException(SFzyRuleBaseUnlinked);
    if (Logic->GetParser() == nullptr) throw EFzyException(SParserUnassigned);
    return *Logic;
}

/// Value clamped into [Minimum, Maximum] as a point of the variable's sets would be.
TFzyFloat ClampInto(TFzyFloat Value, TFzyFloat Minimum, TFzyFloat Maximum) noexcept {
    return Value < Minimum ? Minimum : (Value > Maximum ? Maximum : Value);
}

template <class T>
const T& At(const std::vector<T>& Items, int Index) {
    return Items.at(static_cast<std::size_t>(Index));
}

template <class T>
T& At(std::vector<T>& Items, int Index) {
    return Items.at(static_cast<std::size_t>(Index));
}

}  // namespace

// ---- Class model ---------------------------------------------------------------------------------

TFuzzyRuleBase::TFuzzyRuleBase(TFuzzyLogic* Logic) : FLogic(Logic) {}

void TFuzzyRuleBase::CheckComponent() const { (void)LinkedComponent(FLogic); }

bool TFuzzyRuleBase::HasVariable(const std::string& Name) const {
    return LinkedComponent(FLogic).GetItems().Find(Name) != nullptr;
}

void TFuzzyRuleBase::Unbind() {
    // Results first: a conclusion or fact may have been made from a bound set.
    FConclusions.clear();
    FFacts.clear();
    FOwnedFacts.clear();
    FSets.clear();
    FOwnedSets.clear();
    FVariables.clear();
    FPlainVariables.clear();
}

void TFuzzyRuleBase::BindVariable(const std::string& Name) {
    TFuzzyVariable* Variable = LinkedComponent(FLogic).GetItems().Find(Name);
    FPlainVariables.push_back(static_cast<char>(typeid(*Variable) == typeid(TFuzzyVariable)));
    FVariables.push_back(Variable);
}

void TFuzzyRuleBase::BindSet(int Variable, const std::string& Expression) {
    FSets.push_back(EvaluateIn(*At(FVariables, Variable), Expression, FOwnedSets));
}

TFuzzySet* TFuzzyRuleBase::EvaluateIn(TFuzzyVariable& Variable, const std::string& Expression,
                                      std::vector<TOwned<TFuzzySet>>& Owned) const {
    TCustomFuzzyLogicParser& Parser = *LinkedComponent(FLogic).GetParser();
    TFuzzySets& Sets = Variable.GetItems();
    const int Before = Sets.Count();
    // Whatever the evaluation leaves in the variable beyond its own sets is the rule base's,
    // also when it fails half-way.
    const auto TakeNewSets = [&] {
        for (int Index = Before; Index < Sets.Count(); ++Index) {
            TFuzzySet* Set = Sets.GetItem(Index);
            if (!Set->GetDefined()) Owned.emplace_back(Set);
        }
    };
    TFuzzySet* Result = nullptr;
    try {
        Result = Parser.EvalFuzzyExpression(&Variable, Expression);
    } catch (...) {
        TakeNewSets();
        throw;
    }
    TakeNewSets();
    return Result;
}

void TFuzzyRuleBase::BeginEvaluation() {
    FConclusions.clear();
    FConclusions.resize(static_cast<std::size_t>(VariableCount()));
    FFacts.assign(static_cast<std::size_t>(VariableCount()), nullptr);
    FOwnedFacts.clear();
    FCrispInputs.resize(static_cast<std::size_t>(VariableCount()));
}

void TFuzzyRuleBase::SetCrispFact(int Variable, TFzyFloat Value) {
    const TFuzzyVariable& Owner = *At(FVariables, Variable);
    At(FCrispInputs, Variable) = ClampInto(Value, Owner.GetMinimum(), Owner.GetMaximum());
}

void TFuzzyRuleBase::SetExpressionFact(int Variable, const std::string& Expression) {
    At(FFacts, Variable) = EvaluateIn(*At(FVariables, Variable), Expression, FOwnedFacts);
}

// The indices are valid by construction (bound sets; per-variable vectors sized by
// BeginEvaluation), so they are not checked on this path.
TFzyFloat TFuzzyRuleBase::PremiseStrength(const TBoundClause& Premise) {
    TFuzzySet& Set = *FSets[static_cast<std::size_t>(Premise.Set)];
    const auto Variable = static_cast<std::size_t>(Premise.Variable);
    if (const TFuzzySet* Fact = FFacts[Variable]) return Set.GetCorrelationStrength(*Fact);
    return Set.GetCrispCorrelationStrength(FCrispInputs[Variable]);
}

// Below the threshold the variable's own AssertRule makes nothing, so it is not called; a
// descendant's override may do more and is always called.
bool TFuzzyRuleBase::Fire(const TBoundClause& Conclusion, TFzyFloat Strength) {
    const auto Variable = static_cast<std::size_t>(Conclusion.Variable);
    TFuzzyVariable& Output = *FVariables[Variable];
    if (FPlainVariables[Variable] && Strength < Output.GetThreshold()) return false;
    return Output.AssertRule(Strength, *FSets[static_cast<std::size_t>(Conclusion.Set)],
                             FConclusions[Variable]);
}

bool TFuzzyRuleBase::IgnoreZeroStrength(std::span<const int> Variables) const {
    for (const int Variable : Variables) {
        const auto Index = static_cast<std::size_t>(Variable);
        if (!FPlainVariables[Index] || !(0 < FVariables[Index]->GetThreshold())) return false;
    }
    return true;
}

bool TFuzzyRuleBase::HasConclusion(int Variable) const {
    return static_cast<std::size_t>(Variable) < FConclusions.size() && At(FConclusions, Variable);
}

TFzyFloat TFuzzyRuleBase::Defuzzify(int Variable) const { return At(FConclusions, Variable)->Defuzzify(); }

const TFuzzySet* TFuzzyRuleBase::GetConclusion(int Output) const {
    const int Variable = OutputVariable(Output);
    return HasConclusion(Variable) ? At(FConclusions, Variable).get() : nullptr;
}

// ---- Reference-counted model ---------------------------------------------------------------------

TIFuzzyRuleBase::TIFuzzyRuleBase(TIFuzzyLogic* Logic) : FLogic(Logic) {}

void TIFuzzyRuleBase::CheckComponent() const { (void)LinkedComponent(FLogic); }

bool TIFuzzyRuleBase::HasVariable(const std::string& Name) const {
    return LinkedComponent(FLogic).GetItems().ContainsVariable(Name) != nullptr;
}

void TIFuzzyRuleBase::Unbind() {
    FConclusions.clear();
    FFacts.clear();
    FEngineSets.clear();
    FSets.clear();
    FVariables.clear();
}

void TIFuzzyRuleBase::BindVariable(const std::string& Name) {
    FVariables.push_back(LinkedComponent(FLogic).GetItems().ContainsVariable(Name));
}

void TIFuzzyRuleBase::BindSet(int Variable, const std::string& Expression) {
    TIntfPtr<IFuzzySet> Set =
        LinkedComponent(FLogic).GetParser()->EvalFuzzyExpression(At(FVariables, Variable), Expression);
    // A descendant may override GetCorrelationStrength: only the library's own set is read directly.
    TIFuzzySet* Own = DownCast<TIFuzzySet>(Set.Get());
    FEngineSets.push_back(Own != nullptr && typeid(*Own) == typeid(TIFuzzySet) ? Own : nullptr);
    FSets.push_back(std::move(Set));
}

void TIFuzzyRuleBase::BeginEvaluation() {
    FConclusions.assign(static_cast<std::size_t>(VariableCount()), nullptr);
    FFacts.assign(static_cast<std::size_t>(VariableCount()), nullptr);
    FCrispInputs.resize(static_cast<std::size_t>(VariableCount()));
}

void TIFuzzyRuleBase::SetCrispFact(int Variable, TFzyFloat Value) {
    const IFuzzyVariable& Owner = *At(FVariables, Variable);
    At(FCrispInputs, Variable) = ClampInto(Value, Owner.GetMinimum(), Owner.GetMaximum());
}

const TIntfPtr<IFuzzySet>& TIFuzzyRuleBase::CrispFact(int Variable) {
    TIntfPtr<IFuzzySet>& Fact = At(FFacts, Variable);
    if (!Fact) {
        // Not defined, so not one of the variable's sets; it lives while the rule base holds it.
        Fact = MakeIntf<TIFuzzySet>(At(FVariables, Variable), std::string());
        const TFzyFloat Value = At(FCrispInputs, Variable);
        Fact->CreateTriangleFunctionValues(Value, Value, Value);
    }
    return Fact;
}

void TIFuzzyRuleBase::SetExpressionFact(int Variable, const std::string& Expression) {
    At(FFacts, Variable) =
        LinkedComponent(FLogic).GetParser()->EvalFuzzyExpression(At(FVariables, Variable), Expression);
}

TFzyFloat TIFuzzyRuleBase::PremiseStrength(const TBoundClause& Premise) {
    const auto Set = static_cast<std::size_t>(Premise.Set);
    const auto Variable = static_cast<std::size_t>(Premise.Variable);
    if (const TIntfPtr<IFuzzySet>& Fact = FFacts[Variable]) return FSets[Set]->GetCorrelationStrength(Fact);
    if (TIFuzzySet* Own = FEngineSets[Set]) return Own->GetCrispCorrelationStrength(FCrispInputs[Variable]);
    return FSets[Set]->GetCorrelationStrength(CrispFact(Premise.Variable));
}

bool TIFuzzyRuleBase::Fire(const TBoundClause& Conclusion, TFzyFloat Strength) {
    if (Strength < At(FVariables, Conclusion.Variable)->GetThreshold()) return false;
    const TIFuzzyLogic& Logic = LinkedComponent(FLogic);
    const TIntfPtr<IFuzzySet> Fired = CloneOf(At(FSets, Conclusion.Set));
    Fired->Correlate(Strength, Logic.GetCorrelationMethod());
    TIntfPtr<IFuzzySet>& Result = At(FConclusions, Conclusion.Variable);
    Result = Result ? Result->Infer(Fired, Logic.GetInferenceMethod(), false) : Fired;
    return true;
}

bool TIFuzzyRuleBase::IgnoreZeroStrength(std::span<const int> Variables) const {
    for (const int Variable : Variables)
        if (!(0 < FVariables[static_cast<std::size_t>(Variable)]->GetThreshold())) return false;
    return true;
}

bool TIFuzzyRuleBase::HasConclusion(int Variable) const {
    return static_cast<std::size_t>(Variable) < FConclusions.size() && At(FConclusions, Variable);
}

TFzyFloat TIFuzzyRuleBase::Defuzzify(int Variable) const {
    const IFuzzySet& Conclusion = *At(FConclusions, Variable);
    return LinkedComponent(FLogic).GetDefuzzificationMethod() == dmMeanOfMaxima
               ? Conclusion.MeanOfMaxima()
               : Conclusion.CenterOfGravity();
}

TIntfPtr<IFuzzySet> TIFuzzyRuleBase::GetConclusion(int Output) const {
    const int Variable = OutputVariable(Output);
    return HasConclusion(Variable) ? At(FConclusions, Variable) : nullptr;
}

}  // namespace fzl
