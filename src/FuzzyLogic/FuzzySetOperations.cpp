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
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/Gather.h"
#include "internal/MergeSweep.h"
#include "internal/PointBuilder.h"
#include "internal/SetCopy.h"

namespace fzl {
namespace {

using TOperatorFunction = TFuzzySet::TOperatorFunction;
using detail::BoundedSumDegree;
using detail::DegreeRuleOf;
using detail::GatherByRule;
using detail::MaxDegree;
using detail::MeanDegree;
using detail::MeanSqrDegree;
using detail::MeanSqrtDegree;
using detail::MinDegree;
using detail::OperandText;
using detail::ProductDegree;
using detail::SumDegree;
using detail::SweepEventBound;
using detail::TDegreeRule;
using detail::UnionBoundedSumDegree;
using detail::UnionMeanDegree;
using detail::UnionProductDegree;

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

detail::TDegreeRule detail::DegreeRuleOf(TFuzzySet::TOperatorFunction Op) noexcept {
    for (const TOperators& Operators : OperatorTable) {
        if (Op == Operators.Union) return Operators.UnionRule;
        if (Op == Operators.Intersection) return Operators.IntersectionRule;
    }
    return nullptr;
}

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
    try {
        std::string& ResultName = DerivedNameBuffer();
        AppendFuzzyName(ResultName, FName, B.Name, OpName);
        Result->SetDerivedName(ResultName);
        FillResult(*Result, Operand(), B, OpName, Op);
    } catch (...) {
        // A result in a collection stays there, as the collection's; a detached one goes.
        if (Result->GetCollection() != nullptr) static_cast<void>(Result.release());
        throw;
    }
    return Result;
}

TOwned<TFuzzySet> TFuzzySet::NewCombined(TCollection* Collection,
                                         const detail::TOperand<detail::TPointBuilder>& A,
                                         const detail::TOperand<detail::TPointBuilder>& B,
                                         const std::string& OpName) {
    TOwned<TFuzzySet> Result = NewRecycled(Collection);
    try {
        // The name and expression take their room at once (a new set has none to lend).
        const std::size_t Room = OpName.size() + 6;  // blanks and brackets
        std::string& ResultName = DerivedNameBuffer();
        ResultName.reserve(A.Name.size() + B.Name.size() + Room);
        Result->FExpression.reserve(OperandText(A.Name, A.Expression).size() +
                                    OperandText(B.Name, B.Expression).size() + Room);
        AppendFuzzyName(ResultName, A.Name, B.Name, OpName);
        Result->SetDerivedName(ResultName);
        FillResultWith(*Result, A, B, OpName, [&A](TFuzzySetValues& Points) { A.Points.MoveInto(Points); });
    } catch (...) {
        static_cast<void>(Result.release());  // the collection's
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
