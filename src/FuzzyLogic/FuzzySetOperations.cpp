// Combination of two fuzzy sets: the merge sweep drivers, the fuzzy operators,
// the segment geometry, the overlap test and the exported point-walking helpers.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzySetDraft.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/MergeSweep.h"
#include "internal/PointBuilder.h"
#include "internal/SetCopy.h"

namespace fzl {
namespace {

using TOperatorFunction = TFuzzySet::TOperatorFunction;

// The degree each built-in operator gives a pair of degrees.
using TDegreeRule = TFzyFloat (*)(TFzyFloat, TFzyFloat);

TFzyFloat MinDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::min(Y1, Y2); }
TFzyFloat MaxDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::max(Y1, Y2); }
TFzyFloat MeanDegree(TFzyFloat Y1, TFzyFloat Y2) { return (Y1 + Y2) / 2; }
TFzyFloat MeanSqrDegree(TFzyFloat Y1, TFzyFloat Y2) {
    const TFzyFloat Mean = (Y1 + Y2) / 2;
    return Mean * Mean;
}
TFzyFloat MeanSqrtDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::sqrt((Y1 + Y2) / 2); }
TFzyFloat UnionMeanDegree(TFzyFloat Y1, TFzyFloat Y2) {
    return (2 * std::min(Y1, Y2) + 4 * std::max(Y1, Y2)) / 6;
}
TFzyFloat ProductDegree(TFzyFloat Y1, TFzyFloat Y2) { return Y1 * Y2; }
TFzyFloat UnionProductDegree(TFzyFloat Y1, TFzyFloat Y2) { return Y1 + Y2 - Y1 * Y2; }
TFzyFloat BoundedSumDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::max(0.0, Y1 + Y2 - 1); }
TFzyFloat UnionBoundedSumDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::min(1.0, Y1 + Y2); }
TFzyFloat SumDegree(TFzyFloat Y1, TFzyFloat Y2) { return Y1 + Y2; }

// The operators of each operation, indexed by TFuzzyOperation, and their degree rules; their
// keywords are FuzzyIntersectionKeywords and FuzzyUnionKeywords. An unbounded sum is no
// intersection.
struct TOperators {
    TOperatorFunction Intersection;
    TOperatorFunction Union;
    TDegreeRule IntersectionRule;
    TDegreeRule UnionRule;
};
constexpr std::array<TOperators, foSum + 1> OperatorTable = {{
    {&TFuzzySet::FuzzyOperatorMin, &TFuzzySet::FuzzyOperatorMax, &MinDegree, &MaxDegree},  // foZadeh
    {&TFuzzySet::FuzzyOperatorMean, &TFuzzySet::FuzzyOperatorUnionMean, &MeanDegree,
     &UnionMeanDegree},  // foMean
    {&TFuzzySet::FuzzyOperatorMeanSqr, &TFuzzySet::FuzzyOperatorMeanSqr, &MeanSqrDegree,
     &MeanSqrDegree},  // foMeanSqr
    {&TFuzzySet::FuzzyOperatorMeanSqrt, &TFuzzySet::FuzzyOperatorMeanSqrt, &MeanSqrtDegree,
     &MeanSqrtDegree},  // foMeanSqrt
    {&TFuzzySet::FuzzyOperatorIntersectionProduct, &TFuzzySet::FuzzyOperatorUnionProduct, &ProductDegree,
     &UnionProductDegree},  // foProduct
    {&TFuzzySet::FuzzyOperatorIntersectionBoundedSum, &TFuzzySet::FuzzyOperatorUnionBoundedSum,
     &BoundedSumDegree, &UnionBoundedSumDegree},                        // foBoundedSum
    {nullptr, &TFuzzySet::FuzzyOperatorUnionSum, nullptr, &SumDegree},  // foSum
}};

// The degree rule of a built-in operator; nullptr for any other.
TDegreeRule DegreeRuleOf(TOperatorFunction Op) noexcept {
    for (const TOperators& Operators : OperatorTable) {
        if (Op == Operators.Union) return Operators.UnionRule;
        if (Op == Operators.Intersection) return Operators.IntersectionRule;
    }
    return nullptr;
}

// At most how many events the sweep of A and B reports: four a station (a crossing before
// it, arriving, a step's cut or top, leaving) and one where both start level.
template <class TPointsA, class TPointsB>
std::size_t SweepEventBound(const TPointsA& A, const TPointsB& B) noexcept {
    return 4 * static_cast<std::size_t>(A.Count() + B.Count()) + 1;
}

// A built-in operator's sweep with its points held by value, thinned as a combined set's
// points are (see SimplifyRuns) and cleaned as the list's closing report would clean them.
template <class TPointsA, class TPointsB, class TRule>
void Gather(detail::TPointBuilder& Built, const TPointsA& A, const TPointsB& B, TRule Rule) {
    detail::TPointAppender Out = Built.Appender();
    detail::MergeSweep(A, B, [&Out, Rule](TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/, TFzyFloat Y2) {
        Out.Add(X1, Rule(Y1, Y2));
        return false;
    });
    Built.Take(Out);
    if (A.Count() > 0 && B.Count() > 0) Built.SimplifyRuns();
    Built.RemoveDuplicates();
}

// Gather, with the rules of the default operators (those of rule firing) inline.
template <class TPointsA, class TPointsB>
void GatherByRule(detail::TPointBuilder& Built, const TPointsA& A, const TPointsB& B, TDegreeRule Rule) {
    if (Rule == &MaxDegree)
        Gather(Built, A, B, [](TFzyFloat Y1, TFzyFloat Y2) { return MaxDegree(Y1, Y2); });
    else if (Rule == &MinDegree)
        Gather(Built, A, B, [](TFzyFloat Y1, TFzyFloat Y2) { return MinDegree(Y1, Y2); });
    else
        Gather(Built, A, B, Rule);
}

// The operand as it reads inside a combined expression: its own expression
// when it came from one, else its name.
std::string_view OperandText(const std::string& Name, const std::string& Expression) noexcept {
    return Expression.empty() ? Name : Expression;
}

[[noreturn]] void RaiseInvalidOperation(TFuzzyOperation Operation) {
    const std::string_view Name = GetEnumName(Operation);
    // A value outside the enumeration has no identifier: its ordinal stands in.
    throw EFzyException(SInvalidFuzzyOperation,
                        {Name.empty() ? IntToStr(static_cast<int>(Operation)) : std::string(Name)});
}

bool AppendPoint(TFuzzySetValues& FuzzySet, TFzyFloat X, TFzyFloat Y) {
    // X and Y in one step, so the point never sits at a half-set place.
    FuzzySet.Add(X, Y);
    return false;
}

// An empty operand is no constraint: the sweep pairs each point of the other set
// with itself, and the operation forms then use min or max of the pair, so that
// every operation returns a copy of the other set (a sum or product with an
// undefined set would otherwise double or square it).
bool AnyEmpty(const TFuzzySet& A, const TFuzzySet& B) {
    return A.GetValues().Count() == 0 || B.GetValues().Count() == 0;
}

bool IsZeroSet(const TFuzzySetValues& Points) {
    return Points.SkipY(0, Points.First()->GetY(), 1) == -1 && Points.First()->GetY() < FuzzyTolerance;
}

}  // namespace

// ---- Sweep drivers -----------------------------------------------------------------------

detail::TOperand<TFuzzySetValues> TFuzzySet::Operand() const {
    CatchUp();
    return {FName, FExpression, *FValues};
}

TOwned<TFuzzySet> TFuzzySet::Operator(const TFuzzySet& FuzzySet, const std::string& OpName,
                                      TFuzzyOperator Op) const {
    return Combine(FuzzySet.Operand(), OpName, Op);
}

template <class TOperandB, class TOp>
TOwned<TFuzzySet> TFuzzySet::Combine(const TOperandB& B, const std::string& OpName, TOp&& Op) const {
    CatchUp();
    TOwned<TFuzzySet> Result = NewSibling();
    return CombineInto(std::move(Result), Operand(), B, OpName, Op);
}

template <class TOperandA, class TOperandB, class TOp>
TOwned<TFuzzySet> TFuzzySet::CombineInto(TOwned<TFuzzySet> Result, const TOperandA& A, const TOperandB& B,
                                         const std::string& OpName, TOp&& Op) {
    try {
        std::string& ResultName = DerivedNameBuffer();
        AppendFuzzyName(ResultName, A.Name, B.Name, OpName);
        Result->SetDerivedName(ResultName);
        FillResult(*Result, A, B, OpName, Op);
    } catch (...) {
        // A result in a collection stays there, as the collection's; a detached one goes.
        if (Result->GetCollection() != nullptr) static_cast<void>(Result.release());
        throw;
    }
    return Result;
}

void TFuzzySet::FillOperatorResult(TFuzzySet& Result, const TFuzzySet& FuzzySet, const std::string& OpName,
                                   TFuzzyOperator Op) const {
    FillResult(Result, Operand(), FuzzySet.Operand(), OpName, Op);
}

template <class TOperandA, class TOperandB, class TOp>
void TFuzzySet::FillResult(TFuzzySet& Result, const TOperandA& A, const TOperandB& B,
                           const std::string& OpName, TOp&& Op) {
    FillResultWith(Result, A, B, OpName, [&](TFuzzySetValues& Points) {
        if constexpr (std::is_convertible_v<TOp, TOperatorFunction>) {
            // A built-in operator into a new plain list: its points are gathered by value and
            // made point objects once.
            const TDegreeRule Rule = DegreeRuleOf(Op);
            if (Rule != nullptr && detail::TPointBuilder::CanMoveInto(Points)) {
                detail::TPointBuilder& Built = detail::TPointBuilder::Scratch();
                Built.StartFor(Points, SweepEventBound(A.Points, B.Points));
                GatherByRule(Built, A.Points, B.Points, Rule);
                Built.MoveInto(Points);
                return;
            }
        }
        // Every point of both operands, and a crossing between most of them.
        Points.Reserve(2 * (A.Points.Count() + B.Points.Count()));
        const bool Stopped = detail::MergeSweep(A.Points, B.Points,
                                                [&](TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) {
                                                    return Op(Points, X1, Y1, X2, Y2);
                                                });
        if (!Stopped && A.Points.Count() > 0 && B.Points.Count() > 0) detail::SimplifyRuns(Points);
    });
}

template <class TOperandA, class TOperandB, class TFill>
void TFuzzySet::FillResultWith(TFuzzySet& Result, const TOperandA& A, const TOperandB& B,
                               const std::string& OpName, TFill&& Fill) {
    TFuzzySetValues& Points = Result.GetValues();
    // Built in place: a running conclusion's expression grows with every rule. An empty
    // result (a recycled set) lends its buffer; the bulk report below would clear it anyway.
    std::string Expression;
    if (Result.FExpression.empty() && &Result.FExpression != &A.Expression &&
        &Result.FExpression != &B.Expression)
        Expression.swap(Result.FExpression);
    AppendFuzzyExpression(Expression, OperandText(A.Name, A.Expression), OpName,
                          OperandText(B.Name, B.Expression));
    try {
        const TFuzzySetValues::TBulkBuild Build(Points);
        Fill(Points);
    } catch (...) {
        // The closing report cleared the expression; the result says what it was meant to be.
        Result.FExpression = std::move(Expression);
        throw;
    }
    Result.FExpression = std::move(Expression);
}

TOwned<TFuzzySet> TFuzzySet::InferUnion(const detail::TSetCopy& Copy, TFuzzyInferenceMethod Method) const {
    const TFuzzyOperation Operation = InferenceOperation(Method);
    const bool AnyEmpty = FValues->Count() == 0 || Copy.Points.Count() == 0;
    return Combine(Copy, std::string(FuzzyUnionKeywords[static_cast<std::size_t>(Operation)]),
                   OperationOperator(Operation, true, AnyEmpty));
}

void TFuzzySet::InferUnionInPlace(const detail::TSetCopy& Copy, TFuzzyInferenceMethod Method,
                                  const TFuzzySet& Consequent, TBaseFuzzyHedge Which, TFzyFloat Value) {
    const TFuzzyOperation Operation = InferenceOperation(Method);
    const TOperatorFunction Op =
        OperationOperator(Operation, true, FValues->Count() == 0 || Copy.Points.Count() == 0);
    // The new points are gathered from this set's before it is made new.
    TFzyFloat Lower = 0;
    TFzyFloat Upper = 0;
    GetXBounds(Lower, Upper);
    detail::TPointBuilder& Built = detail::TPointBuilder::Scratch();
    Built.Start(Lower, Upper, SweepEventBound(*FValues, Copy.Points));
    GatherByRule(Built, *FValues, Copy.Points, DegreeRuleOf(Op));
    // The name and expression (with what is still to be written of them) outlast the reset:
    // the new ones are made of them, when first read.
    std::string Name;
    std::string Expression;
    std::vector<TDeferredUnion> Deferred;
    Name.swap(FName);
    Expression.swap(FExpression);
    Deferred.swap(FDeferred);
    ResetOwnFields();
    Built.RebuildInto(*FValues);
    TFuzzySets* Collection = GetCollection();
    FDefined = DefinedFor(Collection);
    Collection->RenewID(*this);
    {
        // The points are in place: only the bracket's closing report is left.
        const TFuzzySetValues::TBulkBuild Build(*FValues);
    }
    FName.swap(Name);
    FExpression.swap(Expression);
    FDeferred.swap(Deferred);
    Consequent.CatchUp();
    TDeferredUnion& Union = FDeferred.emplace_back();
    Union.Operation = FuzzyUnionKeywords[static_cast<std::size_t>(Operation)];
    Union.Name = Consequent.FName;
    Union.Expression = Consequent.FExpression;
    Union.Hedge = Which;
    Union.Value = Value;
}

// Each union as InferUnion would have named it: the correlated copy's name and expression
// (NameHedgedCopy), then the union's (Combine and FillResultWith).
void TFuzzySet::WriteDeferred() const {
    std::vector<TDeferredUnion> Deferred;
    Deferred.swap(FDeferred);
    std::string CopyName;
    std::string CopyExpression;
    std::string Name;
    std::string Expression;
    for (const TDeferredUnion& Union : Deferred) {
        NameHedged(CopyName, CopyExpression, Union.Name, Union.Expression, Union.Hedge, Union.Value);
        Name.clear();
        AppendFuzzyName(Name, FName, CopyName, Union.Operation);
        Expression.clear();
        AppendFuzzyExpression(Expression, OperandText(FName, FExpression), Union.Operation,
                              OperandText(CopyName, CopyExpression));
        FName.swap(Name);
        FExpression.swap(Expression);
    }
    // The list's storage is kept for the next rules.
    Deferred.clear();
    FDeferred.swap(Deferred);
}

bool TFuzzySet::Iterate(const TFuzzySet& FuzzySet, TFuzzyComparison Cmp) const {
    if (FValues->Count() == 0 && FuzzySet.FValues->Count() == 0) return true;
    return detail::MergeSweep(*FValues, *FuzzySet.FValues, Cmp);
}

TOwned<TFuzzySet> TFuzzySet::Intersection(const TFuzzySet& FuzzySet) const {
    return Combine(FuzzySet.Operand(), std::string(FuzzyIntersectionKeywords[foZadeh]), &FuzzyOperatorMin);
}

TOwned<TFuzzySet> TFuzzySet::Union(const TFuzzySet& FuzzySet) const {
    return Combine(FuzzySet.Operand(), std::string(FuzzyUnionKeywords[foZadeh]), &FuzzyOperatorMax);
}

TFuzzySet::TOperatorFunction TFuzzySet::OperationOperator(TFuzzyOperation Operation, bool IsUnion,
                                                          bool AnyEmpty) {
    const auto Index = static_cast<std::size_t>(Operation);
    if (Index >= OperatorTable.size() || (!IsUnion && OperatorTable[Index].Intersection == nullptr))
        RaiseInvalidOperation(Operation);
    if (AnyEmpty) return IsUnion ? &FuzzyOperatorMax : &FuzzyOperatorMin;
    return IsUnion ? OperatorTable[Index].Union : OperatorTable[Index].Intersection;
}

TOwned<TFuzzySet> TFuzzySet::Intersection(const TFuzzySet& FuzzySet, TFuzzyOperation Operation) const {
    const TOperatorFunction Op = OperationOperator(Operation, false, AnyEmpty(*this, FuzzySet));
    return Combine(FuzzySet.Operand(),
                   std::string(FuzzyIntersectionKeywords[static_cast<std::size_t>(Operation)]), Op);
}

TOwned<TFuzzySet> TFuzzySet::Union(const TFuzzySet& FuzzySet, TFuzzyOperation Operation) const {
    const TOperatorFunction Op = OperationOperator(Operation, true, AnyEmpty(*this, FuzzySet));
    return Combine(FuzzySet.Operand(), std::string(FuzzyUnionKeywords[static_cast<std::size_t>(Operation)]),
                   Op);
}

// ---- Overlap test -----------------------------------------------------------------------------

bool TFuzzySet::Intersects(const TFuzzySet& FuzzySet) const {
    const TFuzzySetValues& A = *FValues;
    const TFuzzySetValues& B = *FuzzySet.FValues;
    if (A.Count() == 0 || B.Count() == 0) return false;
    // A set that is zero throughout meets nothing but another zero set.
    if (IsZeroSet(A) && !IsZeroSet(B)) return false;

    constexpr TFzyFloat Eps = FuzzyTolerance;
    const TFzyFloat AFirst = A.First()->GetX();
    const TFzyFloat ALast = A.Last()->GetX();
    const TFzyFloat BFirst = B.First()->GetX();
    const TFzyFloat BLast = B.Last()->GetX();
    const bool ZeroAFirst = A.First()->GetY() < Eps;
    const bool ZeroALast = A.Last()->GetY() < Eps;
    const bool ZeroBFirst = B.First()->GetY() < Eps;
    const bool ZeroBLast = B.Last()->GetY() < Eps;

    if (ALast < BFirst - Eps && ZeroALast && ZeroBFirst) return false;
    if (BLast < AFirst - Eps && ZeroBLast && ZeroAFirst) return false;

    if (BFirst - Eps <= ALast && ALast <= BFirst + Eps) {
        if (A.GetItem(GetMaxYValueOfX(A.Count() - 1, -1))->GetY() > Eps ||
            B.GetItem(FuzzySet.GetMaxYValueOfX(0, 1))->GetY() > Eps)
            return true;
    }
    if (AFirst - Eps <= BLast && BLast <= AFirst + Eps) {
        if (B.GetItem(FuzzySet.GetMaxYValueOfX(B.Count() - 1, -1))->GetY() > Eps ||
            A.GetItem(GetMaxYValueOfX(0, 1))->GetY() > Eps)
            return true;
    }
    return ALast > BFirst + Eps && BLast - Eps > AFirst;
}

// ---- Operators ------------------------------------------------------------------------------------

bool TFuzzySet::FuzzyOperatorMin(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/,
                                 TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, MinDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorMax(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/,
                                 TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, MaxDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorMean(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/,
                                  TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, MeanDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorMeanSqr(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/,
                                     TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, MeanSqrDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorMeanSqrt(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/,
                                      TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, MeanSqrtDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorUnionMean(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                       TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, UnionMeanDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorIntersectionProduct(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                                 TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, ProductDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorUnionProduct(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                          TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, UnionProductDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorIntersectionBoundedSum(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                                    TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, BoundedSumDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorUnionBoundedSum(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                             TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, UnionBoundedSumDegree(Y1, Y2));
}

bool TFuzzySet::FuzzyOperatorUnionSum(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/,
                                      TFzyFloat Y2) {
    return AppendPoint(FuzzySet, X1, SumDegree(Y1, Y2));
}

// ---- Segment geometry -----------------------------------------------------------------------------

// Kept as published: a one-point segment is tested against the whole line through
// the other, and collinear segments count as crossing without an overlap test.
// The merge sweep does not use it (see MergeSweep.h).
bool TFuzzySet::LineSegmentIntersects(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2, TFzyFloat X3,
                                      TFzyFloat Y3, TFzyFloat X4, TFzyFloat Y4, TFzyFloat& X, TFzyFloat& Y) {
    constexpr TFzyFloat Eps = FuzzyTolerance;
    const TFzyFloat DXa = X2 - X1;
    const TFzyFloat DYa = Y2 - Y1;
    const TFzyFloat DXb = X4 - X3;
    const TFzyFloat DYb = Y4 - Y3;
    const TFzyFloat DX13 = X1 - X3;
    const TFzyFloat DY13 = Y1 - Y3;

    if (std::abs(DYa) < Eps && std::abs(DXa) < Eps && !FloatEquals(InterpolateY(X3, Y3, X4, Y4, X2), Y2))
        return false;
    if (std::abs(DYb) < Eps && std::abs(DXb) < Eps && !FloatEquals(InterpolateY(X1, Y1, X2, Y2, X4), Y4))
        return false;

    const TFzyFloat Denom = DXa * DYb - DYa * DXb;
    const TFzyFloat NumA = DY13 * DXb - DX13 * DYb;
    if (std::abs(Denom) < Eps) {
        if (NumA != 0) return false;
        if (X2 < X4) {
            X = X2;
            Y = Y2;
        } else {
            X = X4;
            Y = Y4;
        }
        return true;
    }

    const TFzyFloat Ua = NumA / Denom;
    if (Ua < 0 || Ua > 1) return false;
    const TFzyFloat NumB = DY13 * DXa - DX13 * DYa;
    if (NumB != 0) {
        const bool NumBPositive = NumB > 0;
        const bool DenomPositive = Denom > 0;
        if (NumBPositive != DenomPositive) return false;
        if (NumBPositive && NumB > Denom) return false;
        if (!NumBPositive && NumB < Denom) return false;
    }

    if (DXa == 0)
        X = X1;
    else if (DXb == 0)
        X = X3;
    else
        X = X1 + Ua * DXa;
    if (Y3 == Y4)
        Y = Y3;
    else if (Y1 == Y2)
        Y = Y1;
    else
        Y = Y1 + Ua * DYa;
    return true;
}

TOwned<TFuzzySetValue> TFuzzySet::LineSegmentIntersects(const TFuzzySetValue& P1, const TFuzzySetValue& P2,
                                                        const TFuzzySetValue& P3, const TFuzzySetValue& P4) {
    TFzyFloat X = 0;
    TFzyFloat Y = 0;
    if (!LineSegmentIntersects(P1.GetX(), P1.GetY(), P2.GetX(), P2.GetY(), P3.GetX(), P3.GetY(), P4.GetX(),
                               P4.GetY(), X, Y))
        return nullptr;
    TOwned<TFuzzySetValue> Point = Make<TFuzzySetValue>();
    Point->SetValue(X, Y);
    return Point;
}

TFzyFloat TFuzzySet::GetSlope(const TFuzzySetValue& P1, const TFuzzySetValue& P2) {
    if (FloatEquals(P2.GetX(), P1.GetX())) return Sign(P2.GetY() - P1.GetY());
    return (P2.GetY() - P1.GetY()) / (P2.GetX() - P1.GetX());
}

// ---- Drafts ---------------------------------------------------------------------------------------

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

// The sweep of Combine, the points kept by value: the new set's points are those its list
// would hold after its closing report, when that report has nothing left to clean up.
bool TFuzzySetDraft::AssignCombined(TOperand A, TOperand B, TFuzzyOperation Operation, bool IsUnion,
                                    TFuzzySets& Sets) {
    const TFuzzyVariable* Variable = Sets.GetVariable();
    if (Variable == nullptr) return false;
    return WithOperands(A, B, [&](const auto& First, const auto& Second) {
        const bool Empty = First.Points.Count() == 0 || Second.Points.Count() == 0;
        const TDegreeRule Rule = DegreeRuleOf(TFuzzySet::OperationOperator(Operation, IsUnion, Empty));
        detail::TPointBuilder& Built = detail::TPointBuilder::Scratch();
        Built.Start(Variable->GetMinimum(), Variable->GetMaximum(),
                    SweepEventBound(First.Points, Second.Points));
        GatherByRule(Built, First.Points, Second.Points, Rule);
        if (!Built.IsClean()) return false;
        std::vector<detail::TPlainPoint>& Points = FCopy->Points.Items();
        Points.resize(static_cast<std::size_t>(Built.Count()));
        for (int Index = 0; Index < Built.Count(); ++Index)
            Points[static_cast<std::size_t>(Index)] = *Built.PointAt(Index);
        Sets.SkipID();  // the combined set's
        const std::string_view OpName = (IsUnion ? FuzzyUnionKeywords : FuzzyIntersectionKeywords)[Operation];
        FCopy->Name.clear();
        AppendFuzzyName(FCopy->Name, First.Name, Second.Name, OpName);
        FCopy->Expression.clear();
        AppendFuzzyExpression(FCopy->Expression, OperandText(First.Name, First.Expression), OpName,
                              OperandText(Second.Name, Second.Expression));
        return true;
    });
}

TOwned<TFuzzySet> TFuzzySetDraft::Combine(TOperand A, TOperand B, TFuzzyOperation Operation, bool IsUnion,
                                          TFuzzySets& Sets) {
    return WithOperands(A, B, [&](const auto& First, const auto& Second) {
        const bool Empty = First.Points.Count() == 0 || Second.Points.Count() == 0;
        const TOperatorFunction Op = TFuzzySet::OperationOperator(Operation, IsUnion, Empty);
        const std::string OpName((IsUnion ? FuzzyUnionKeywords : FuzzyIntersectionKeywords)[Operation]);
        return TFuzzySet::CombineInto(TFuzzySet::NewRecycled(&Sets), First, Second, OpName, Op);
    });
}

// ---- Point-walking helpers (exported for hand-written sweeps) ----------------------------------------

void NextPoint(TFuzzySetValue& Current, TFuzzySetValue& Previous, int& Index, const TFuzzySetValues& Values,
               TFzyFloat EndX) {
    Previous.Assign(Current);
    ++Index;
    if (Index < Values.Count())
        Current.Assign(*Values.GetItem(Index));
    else
        Current.SetX(EndX);
}

void AddAndIncrement(TFuzzySet& FuzzySet, TFuzzySetValue& Current, TFuzzySetValue& Previous,
                     TFuzzySetValue& OtherPrevious, int& Index, TFzyFloat Y1, TFzyFloat Y2,
                     const TFuzzySetValues& Values, TFzyFloat EndX, bool TakeGreater) {
    if ((TakeGreater && Y1 >= Y2) || (!TakeGreater && Y1 < Y2))
        FuzzySet.GetValues().Add(Current.GetX(), Current.GetY());
    NextPoint(Current, Previous, Index, Values, EndX);
    if (Y1 == Y2) OtherPrevious.Assign(Previous);
}

void Add1AndIncrement2(TFuzzySet& FuzzySet, TFuzzySetValue& Current1, TFuzzySetValue& Current2,
                       TFuzzySetValue& Previous1, TFuzzySetValue& Previous2, int& Index1, int& Index2,
                       TFzyFloat Y1, TFzyFloat Y2, const TFuzzySetValues& Values1,
                       const TFuzzySetValues& Values2, TFzyFloat EndX, bool TakeGreater) {
    AddAndIncrement(FuzzySet, Current1, Previous1, Previous2, Index1, Y1, Y2, Values1, EndX, TakeGreater);
    NextPoint(Current2, Previous2, Index2, Values2, EndX);
}

}  // namespace fzl
