// The reference-counted set's operations on other sets and its derived sets: the
// same sweep, operators, hedges and cut-offs as the class model, with results
// created as sets of this model for this set's variable.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/support/Format.h>

#include "internal/EngineSet.h"

namespace fzl {
namespace {

bool AddPoint(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X, TFzyFloat Y) {
    Result->Add(X, Y);
    return false;
}

}  // namespace

// ---- Results ----------------------------------------------------------------------------------------

// A result belongs to this set's variable without being one of its terms (undefined),
// and prints through this set's parser.
TIntfPtr<TIFuzzySet> TIFuzzySet::NewResult(const std::string& Name) const {
    TIntfPtr<TIFuzzySet> Result = IntfClassType().Create(GetVariable(), Name);
    Result->FParser = FParser;
    return Result;
}

TIntfPtr<IFuzzySet> TIFuzzySet::AdoptResult(const TFuzzySet& Result) const {
    const TIntfPtr<TIFuzzySet> Adopted = NewResult(Result.GetName());
    Adopted->TFuzzySet::GetValues().AssignPoints(Result.GetValues());
    Adopted->StoreSetType(Result.GetSetType());
    Adopted->SetInflectionPoint(Result.GetInflectionPoint());
    Adopted->TFuzzySet::SetExpression(Result.GetExpression());
    return Adopted;
}

// ---- Hedges and cut-offs --------------------------------------------------------------------------------

TIntfPtr<IFuzzySet> TIFuzzySet::HedgeIntf(TFuzzyHedge Hedge) {
    TFuzzySet::Hedge(Hedge);
    return SelfIntf();
}

TIntfPtr<IFuzzySet> TIFuzzySet::HedgeIntf(TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) {
    TFuzzySet::Hedge(Hedge, Value, AxisFlag);
    return SelfIntf();
}

TIntfPtr<IFuzzySet> TIFuzzySet::Normalize() {
    TFuzzySet::Normalize();
    return SelfIntf();
}

TIntfPtr<IFuzzySet> TIFuzzySet::AlphaCutoff(TFzyFloat Alpha, bool Strict) {
    const TIntfPtr<IFuzzySet> Result = AdoptResult(*TFuzzySet::AlphaCutoff(Alpha, Strict));
    Result->SetName(Result->GetName() + " (alpha=" + FormatFixed(Alpha, 4) + ")");
    return Result;
}

TIntfPtr<IFuzzySet> TIFuzzySet::Cutoff(TFzyFloat Value, bool IsUnion) {
    return AdoptResult(*TFuzzySet::Cutoff(Value, IsUnion));
}

// ---- Combination
// ----------------------------------------------------------------------------------------------

// The result takes what an assignment from this set leaves once its name and points are
// replaced and its closing report has made it user-defined: variable, parser, inflection point.
TIntfPtr<IFuzzySet> TIFuzzySet::Operator(const TIntfPtr<IFuzzySet>& FuzzySet, const std::string& OpName,
                                         TIFuzzyOperator Op) {
    const detail::TEngineSet Other(FuzzySet);
    const TIntfPtr<TIFuzzySet> Result = NewResult(CreateFuzzyName(GetName(), Other->GetName(), OpName));
    Result->SetInflectionPoint(GetInflectionPoint());
    const TIntfPtr<IFuzzySet> ResultIntf = Result;
    FillOperatorResult(*Result, *Other, OpName,
                       [&](TFuzzySetValues& /*Points*/, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                           TFzyFloat Y2) { return Op(ResultIntf, X1, Y1, X2, Y2); });
    return ResultIntf;
}

// The built-in operators write to the result's point list directly; they add each point
// exactly as Add through the interface would, inside the result's bulk update.
TIntfPtr<IFuzzySet> TIFuzzySet::Combine(const TIntfPtr<IFuzzySet>& FuzzySet, TFuzzyOperation Operation,
                                        bool IsUnion) const {
    const detail::TEngineSet Other(FuzzySet);
    const bool AnyEmpty = GetValues().Count() == 0 || Other->GetValues().Count() == 0;
    const TOperatorFunction Op = OperationOperator(Operation, IsUnion, AnyEmpty);
    const auto Index = static_cast<std::size_t>(Operation);
    const std::string OpName(IsUnion ? FuzzyUnionKeywords[Index] : FuzzyIntersectionKeywords[Index]);
    const TIntfPtr<TIFuzzySet> Result = NewResult(CreateFuzzyName(GetName(), Other->GetName(), OpName));
    Result->SetInflectionPoint(GetInflectionPoint());
    FillOperatorResult(*Result, *Other, OpName, Op);
    return Result;
}

TIntfPtr<IFuzzySet> TIFuzzySet::Intersection(const TIntfPtr<IFuzzySet>& FuzzySet) {
    return Combine(FuzzySet, foZadeh, false);
}

TIntfPtr<IFuzzySet> TIFuzzySet::Intersection(const TIntfPtr<IFuzzySet>& FuzzySet, TFuzzyOperation Operation) {
    return Combine(FuzzySet, Operation, false);
}

TIntfPtr<IFuzzySet> TIFuzzySet::Union(const TIntfPtr<IFuzzySet>& FuzzySet) {
    return Combine(FuzzySet, foZadeh, true);
}

TIntfPtr<IFuzzySet> TIFuzzySet::Union(const TIntfPtr<IFuzzySet>& FuzzySet, TFuzzyOperation Operation) {
    return Combine(FuzzySet, Operation, true);
}

bool TIFuzzySet::Iterate(const TIntfPtr<IFuzzySet>& FuzzySet, TIFuzzyComparison Cmp) {
    const detail::TEngineSet Other(FuzzySet);
    return TFuzzySet::Iterate(*Other, Cmp);
}

bool TIFuzzySet::Intersects(const TIntfPtr<IFuzzySet>& FuzzySet) const {
    const detail::TEngineSet Other(FuzzySet);
    return TFuzzySet::Intersects(*Other);
}

// ---- Operators through the interface ----------------------------------------------------------------------

bool TIFuzzySet::FuzzyOperatorMin(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                  TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, std::min(Y1, Y2));
}

bool TIFuzzySet::FuzzyOperatorMax(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                  TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, std::max(Y1, Y2));
}

bool TIFuzzySet::FuzzyOperatorMean(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                   TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, (Y1 + Y2) / 2);
}

bool TIFuzzySet::FuzzyOperatorMeanSqr(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                      TFzyFloat /*X2*/, TFzyFloat Y2) {
    const TFzyFloat Mean = (Y1 + Y2) / 2;
    return AddPoint(Result, X1, Mean * Mean);
}

bool TIFuzzySet::FuzzyOperatorMeanSqrt(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                       TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, std::sqrt((Y1 + Y2) / 2));
}

bool TIFuzzySet::FuzzyOperatorUnionMean(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                        TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, (2 * std::min(Y1, Y2) + 4 * std::max(Y1, Y2)) / 6);
}

bool TIFuzzySet::FuzzyOperatorIntersectionProduct(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1,
                                                  TFzyFloat Y1, TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, Y1 * Y2);
}

bool TIFuzzySet::FuzzyOperatorUnionProduct(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                           TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, Y1 + Y2 - Y1 * Y2);
}

bool TIFuzzySet::FuzzyOperatorIntersectionBoundedSum(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1,
                                                     TFzyFloat Y1, TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, std::max(0.0, Y1 + Y2 - 1));
}

bool TIFuzzySet::FuzzyOperatorUnionBoundedSum(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                              TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, std::min(1.0, Y1 + Y2));
}

bool TIFuzzySet::FuzzyOperatorUnionSum(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                       TFzyFloat /*X2*/, TFzyFloat Y2) {
    return AddPoint(Result, X1, Y1 + Y2);
}

// ---- Inference --------------------------------------------------------------------------------------------

TFzyFloat TIFuzzySet::GetCorrelationStrength(const TIntfPtr<IFuzzySet>& FuzzySet) {
    const detail::TEngineSet Other(FuzzySet);
    return TFuzzySet::GetCorrelationStrength(*Other);
}

TIntfPtr<IFuzzySet> TIFuzzySet::Correlate(TFzyFloat Value, TFuzzyCorrelationMethod Method) {
    TFuzzySet::Correlate(Value, Method);
    return SelfIntf();
}

TIntfPtr<IFuzzySet> TIFuzzySet::Infer(const TIntfPtr<IFuzzySet>& FuzzySet, TFuzzyInferenceMethod Method,
                                      bool Intersect) {
    const TFuzzyOperation Operation = InferenceOperation(Method);
    return Intersect ? Intersection(FuzzySet, Operation) : Union(FuzzySet, Operation);
}

bool TIFuzzySet::Equals(const TIntfPtr<IInterface>& Other) const {
    const TIntfPtr<IFuzzySet> Set = Other.Query<IFuzzySet>();
    if (!Set) return false;
    const detail::TEngineSet Engine(Set);
    return TFuzzySet::Equals(*Engine);
}

TFzyFloat TIFuzzySet::FuzzyEquals(const TIntfPtr<IInterface>& Other) {
    const TIntfPtr<IFuzzySet> Set = Other.Query<IFuzzySet>();
    if (!Set) {
        ResetMax();
        return 0;
    }
    return GetCorrelationStrength(Set);
}

}  // namespace fzl
