// The two object models' parts of the rule base.

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
}

void TFuzzyRuleBase::BindVariable(const std::string& Name) {
    FVariables.push_back(LinkedComponent(FLogic).GetItems().Find(Name));
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
}

void TFuzzyRuleBase::SetCrispFact(int Variable, TFzyFloat Value) {
    TOwned<TFuzzySet>& Fact = FOwnedFacts.emplace_back(At(FVariables, Variable)->GetItems().Add());
    Fact->CreateTriangleFunctionValues(Value, Value, Value);
    At(FFacts, Variable) = Fact.get();
}

void TFuzzyRuleBase::SetExpressionFact(int Variable, const std::string& Expression) {
    At(FFacts, Variable) = EvaluateIn(*At(FVariables, Variable), Expression, FOwnedFacts);
}

TFzyFloat TFuzzyRuleBase::PremiseStrength(const TBoundClause& Premise) {
    return At(FSets, Premise.Set)->GetCorrelationStrength(*At(FFacts, Premise.Variable));
}

bool TFuzzyRuleBase::Fire(const TBoundClause& Conclusion, TFzyFloat Strength) {
    return At(FVariables, Conclusion.Variable)
        ->AssertRule(Strength, *At(FSets, Conclusion.Set), At(FConclusions, Conclusion.Variable));
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
    FSets.clear();
    FVariables.clear();
}

void TIFuzzyRuleBase::BindVariable(const std::string& Name) {
    FVariables.push_back(LinkedComponent(FLogic).GetItems().ContainsVariable(Name));
}

void TIFuzzyRuleBase::BindSet(int Variable, const std::string& Expression) {
    FSets.push_back(
        LinkedComponent(FLogic).GetParser()->EvalFuzzyExpression(At(FVariables, Variable), Expression));
}

void TIFuzzyRuleBase::BeginEvaluation() {
    FConclusions.assign(static_cast<std::size_t>(VariableCount()), nullptr);
    FFacts.assign(static_cast<std::size_t>(VariableCount()), nullptr);
}

void TIFuzzyRuleBase::SetCrispFact(int Variable, TFzyFloat Value) {
    // Not defined, so not one of the variable's sets; it lives while the rule base holds it.
    TIntfPtr<IFuzzySet> Fact = MakeIntf<TIFuzzySet>(At(FVariables, Variable), std::string());
    Fact->CreateTriangleFunctionValues(Value, Value, Value);
    At(FFacts, Variable) = Fact;
}

void TIFuzzyRuleBase::SetExpressionFact(int Variable, const std::string& Expression) {
    At(FFacts, Variable) =
        LinkedComponent(FLogic).GetParser()->EvalFuzzyExpression(At(FVariables, Variable), Expression);
}

TFzyFloat TIFuzzyRuleBase::PremiseStrength(const TBoundClause& Premise) {
    return At(FSets, Premise.Set)->GetCorrelationStrength(At(FFacts, Premise.Variable));
}

bool TIFuzzyRuleBase::Fire(const TBoundClause& Conclusion, TFzyFloat Strength) {
    const TIFuzzyLogic& Logic = LinkedComponent(FLogic);
    if (Strength < At(FVariables, Conclusion.Variable)->GetThreshold()) return false;
    const TIntfPtr<IFuzzySet> Fired = CloneOf(At(FSets, Conclusion.Set));
    Fired->Correlate(Strength, Logic.GetCorrelationMethod());
    TIntfPtr<IFuzzySet>& Result = At(FConclusions, Conclusion.Variable);
    Result = Result ? Result->Infer(Fired, Logic.GetInferenceMethod(), false) : Fired;
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
