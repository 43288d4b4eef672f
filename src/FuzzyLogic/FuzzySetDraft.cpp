// Drafts: the combinations of an unwatched expression's intermediate sets, held by value.
// (The hedged copies are made beside the hedges, in FuzzyHedges.cpp.) Kept apart from the set
// operations, whose sweeps the compiler then shapes for rule firing alone.

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzySetDraft.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>

#include "internal/Gather.h"
#include "internal/SetCopy.h"

namespace fzl {

TFuzzySetDraft::TFuzzySetDraft() : FCopy(std::make_unique<detail::TSetCopy>()) {}

TFuzzySetDraft::~TFuzzySetDraft() = default;

int TFuzzySetDraft::Count() const noexcept { return FCopy->Points.Count(); }

template <class TCall>
decltype(auto) TFuzzySetDraft::WithOperands(TOperand A, TOperand B, TCall&& Call) {
    const auto Read = [](const auto* Operand) {
        if constexpr (std::is_same_v<decltype(Operand), const TFuzzySet*>)
            return Operand->Operand();
        else
            return detail::TOperand<detail::TPlainPoints>{Operand->FCopy->Name, Operand->FCopy->Expression,
                                                          Operand->FCopy->Points};
    };
    return std::visit([&](const auto* First, const auto* Second) { return Call(Read(First), Read(Second)); },
                      A, B);
}

namespace {

/// Gathers the combination of First and Second by Operator (of Operation) into this thread's
/// builder, as Combine does for a set of Variable, and returns the operation's keyword.
template <class TFirst, class TSecond>
std::string_view Gather(const TFirst& First, const TSecond& Second, TFuzzySet::TOperatorFunction Operator,
                        TFuzzyOperation Operation, bool IsUnion, const TFuzzyVariable& Variable) {
    const detail::TDegreeRule Rule = detail::DegreeRuleOf(Operator);
    detail::TPointBuilder& Built = detail::TPointBuilder::Scratch();
    Built.Start(Variable.GetMinimum(), Variable.GetMaximum(),
                detail::SweepEventBound(First.Points, Second.Points));
    detail::GatherByRule(Built, First.Points, Second.Points, Rule);
    return (IsUnion ? FuzzyUnionKeywords : FuzzyIntersectionKeywords)[Operation];
}

}  // namespace

// Raises as Union and Intersection do for an operation without such a form.
template <class TFirst, class TSecond>
TFuzzySet::TOperatorFunction TFuzzySetDraft::OperatorOf(const TFirst& First, const TSecond& Second,
                                                        TFuzzyOperation Operation, bool IsUnion) {
    return TFuzzySet::OperationOperator(Operation, IsUnion,
                                        First.Points.Count() == 0 || Second.Points.Count() == 0);
}

// The new set's points are those its list would hold after its closing report, when that
// report has nothing left to clean up.
bool TFuzzySetDraft::AssignCombined(TOperand A, TOperand B, TFuzzyOperation Operation, bool IsUnion,
                                    TFuzzySets& Sets) {
    const TFuzzyVariable* Variable = Sets.GetVariable();
    if (Variable == nullptr) return false;
    return WithOperands(A, B, [&](const auto& First, const auto& Second) {
        const std::string_view OpName = Gather(First, Second, OperatorOf(First, Second, Operation, IsUnion),
                                               Operation, IsUnion, *Variable);
        const detail::TPointBuilder& Built = detail::TPointBuilder::Scratch();
        if (!Built.IsClean()) return false;
        std::vector<detail::TPlainPoint>& Points = FCopy->Points.Items();
        Points.resize(static_cast<std::size_t>(Built.Count()));
        for (int Index = 0; Index < Built.Count(); ++Index)
            Points[static_cast<std::size_t>(Index)] = *Built.PointAt(Index);
        Sets.SkipID();  // the combined set's
        FCopy->Name.clear();
        AppendFuzzyName(FCopy->Name, First.Name, Second.Name, OpName);
        FCopy->Expression.clear();
        AppendFuzzyExpression(FCopy->Expression, detail::OperandText(First.Name, First.Expression), OpName,
                              detail::OperandText(Second.Name, Second.Expression));
        return true;
    });
}

TOwned<TFuzzySet> TFuzzySetDraft::Combine(TOperand A, TOperand B, TFuzzyOperation Operation, bool IsUnion,
                                          TFuzzySets& Sets) {
    return WithOperands(A, B, [&](const auto& First, const auto& Second) {
        const std::string OpName(Gather(First, Second, OperatorOf(First, Second, Operation, IsUnion),
                                        Operation, IsUnion, *Sets.GetVariable()));
        const detail::TPointBuilder& Built = detail::TPointBuilder::Scratch();
        return TFuzzySet::NewCombined(&Sets, {First.Name, First.Expression, Built},
                                      {Second.Name, Second.Expression, Built}, OpName);
    });
}

}  // namespace fzl
