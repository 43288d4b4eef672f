#pragma once
// IFuzzySet: a fuzzy set of the reference-counted model, alive while a
// reference to it exists. Operations that make a new set return it; hedges,
// Normalize and Correlate change the set itself and return it.

#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyInterfaces/FuzzyIntfEvents.h>
#include <fzl/support/Cloneable.h>

namespace fzl {

class IFuzzyVariable;
class IFuzzyParser;

/// A named membership function held as an ordered point list.
class IFuzzySet : public ICloneable {
public:
    using TInterface = IFuzzySet;
    using TInherited = ICloneable;
    static constexpr TGUID IID = TGUID::Parse("{810BD8EA-60BE-44A0-B947-A38B7691A7AE}");
    using ICloneable::Clone;

    /// The height of the set (0 when empty).
    [[nodiscard]] virtual TFzyFloat GetCompatibilityIndex() const = 0;
    [[nodiscard]] virtual TFzyFloat GetInflectionPoint() const = 0;
    [[nodiscard]] virtual std::string GetExpression() const = 0;
    virtual void SetExpression(const std::string& Value) = 0;
    [[nodiscard]] virtual std::string GetName() const = 0;
    /// Renames the set (re-keying it in its variable's table); reserved words raise.
    virtual void SetName(const std::string& Value) = 0;
    [[nodiscard]] virtual TFuzzySetType GetSetType() const = 0;
    /// Regenerates the points as the standard shape Value over the variable's range.
    virtual void SetSetType(TFuzzySetType Value) = 0;
    [[nodiscard]] virtual TFzyFloat GetXValues(int Index) const = 0;
    virtual void SetXValues(int Index, TFzyFloat Value) = 0;
    [[nodiscard]] virtual TFzyFloat GetYValues(int Index) const = 0;
    virtual void SetYValues(int Index, TFzyFloat Value) = 0;
    /// The variable's Maximum; without a variable the last X (or 2147483647 for no points).
    [[nodiscard]] virtual TFzyFloat GetXMaximum() const = 0;
    /// The variable's Minimum; without a variable the first X (or -2147483647 for no points).
    [[nodiscard]] virtual TFzyFloat GetXMinimum() const = 0;
    /// The definition-language form through the parser, else "(name (x y) ... )".
    [[nodiscard]] virtual std::string ToString() const = 0;
    /// "((x y) (x y) ... )".
    [[nodiscard]] virtual std::string GetValuesToString() const = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzyVariable> GetVariable() const = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzyParser> GetParser() const = 0;
    /// The number the variable's set table gave the set (not a position).
    [[nodiscard]] virtual int GetIndex() const = 0;
    virtual void SetIndex(int Value) = 0;
    [[nodiscard]] virtual bool GetDefined() const = 0;
    virtual void SetDefined(bool Value) = 0;
    virtual void SetParser(const TIntfPtr<IFuzzyParser>& Value) = 0;
    /// Moves the set to another variable (or none), re-registering it.
    virtual void SetVariable(const TIntfPtr<IFuzzyVariable>& Value) = 0;

    // ---- The point list --------------------------------------------------------------
    /// The number of points.
    [[nodiscard]] virtual int GetCount() const = 0;
    /// Appends copies of all points of FuzzySet.
    virtual void Append(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    /// Appends copies of Count points of FuzzySet from Start (both clamped into its list).
    virtual void Append(const TIntfPtr<IFuzzySet>& FuzzySet, int Start, int Count) = 0;
    /// Replaces the points by copies of FuzzySet's.
    virtual void AssignValues(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    /// Adds the point (X, Y); returns the index it had when created.
    virtual int Add(TFzyFloat X, TFzyFloat Y) = 0;
    /// Opens a bulk update of the point list.
    virtual void BeginUpdate() = 0;
    /// Removes all points.
    virtual void Clear() = 0;
    /// Removes point Index.
    virtual void Delete(int Index) = 0;
    /// Closes a bulk update; the outermost one sorts, cleans and reports once.
    virtual void EndUpdate() = 0;
    /// Inserts the point (X, Y) at Index; returns its index.
    virtual int Insert(int Index, TFzyFloat X, TFzyFloat Y) = 0;
    /// Adds N interpolated points.
    virtual void Expand(int N) = 0;
    [[nodiscard]] virtual TFzyFloat GetMaxValue() const = 0;
    [[nodiscard]] virtual TFzyFloat GetMinValue() const = 0;
    /// From Index + Direction, the first point whose X is not within 0.0001 of X, or -1.
    [[nodiscard]] virtual int SkipX(int Index, TFzyFloat X, int Direction) const = 0;
    /// As SkipX, for Y.
    [[nodiscard]] virtual int SkipY(int Index, TFzyFloat Y, int Direction) const = 0;

    // ---- Inference -----------------------------------------------------------------------
    /// The height of the overlap of both sets.
    virtual TFzyFloat GetCorrelationStrength(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    /// Clips or scales the degrees by Value in place; returns this set.
    virtual TIntfPtr<IFuzzySet> Correlate(TFzyFloat Value, TFuzzyCorrelationMethod Method) = 0;
    /// A new set: this set combined with FuzzySet by Method (intersection when Intersect).
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Infer(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                    TFuzzyInferenceMethod Method, bool Intersect) = 0;

    // ---- Shapes ------------------------------------------------------------------------------
    virtual void CreateCrispValue(TFzyFloat X) = 0;
    virtual void CreateTriangleFunctionValues(TFzyFloat Left, TFzyFloat Middle, TFzyFloat Right) = 0;
    virtual void CreateCurveValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat InflectionPoint,
                                   bool Growth) = 0;
    virtual void CreatePIFunctionValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat Center) = 0;
    virtual void CreatePIFunctionValues(int N, TFzyFloat Range, TFzyFloat Center) = 0;
    virtual void CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center,
                                               TFzyFloat InflectionPoint) = 0;
    virtual void CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center,
                                               TFzyFloat InflectionPoint, TFzyFloat Weight) = 0;
    [[nodiscard]] virtual TFzyFloat DegreeOfMembership(TFzyFloat X) const = 0;
    /// The height of the overlap with Other when it is a set, else 0.
    virtual TFzyFloat FuzzyEquals(const TIntfPtr<IInterface>& Other) = 0;

    // ---- Hedges, defuzzification, combination ----------------------------------------
    /// Applies a named hedge in place; returns this set.
    virtual TIntfPtr<IFuzzySet> Hedge(TFuzzyHedge Hedge) = 0;
    /// Applies a base hedge with Value to the degrees (AxisFlag) or to X in place; returns this set.
    virtual TIntfPtr<IFuzzySet> Hedge(TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) = 0;
    [[nodiscard]] virtual TFzyFloat Defuzzify() const = 0;
    [[nodiscard]] virtual TFzyFloat MeanOfMaxima() const = 0;
    [[nodiscard]] virtual TFzyFloat CenterOfGravity() const = 0;
    [[nodiscard]] virtual bool IsUndecidable() const = 0;
    [[nodiscard]] virtual bool Intersects(const TIntfPtr<IFuzzySet>& FuzzySet) const = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Intersection(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Intersection(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                           TFuzzyOperation Operation) = 0;
    /// The crossing of segment (X1, Y1)-(X2, Y2) with (X3, Y3)-(X4, Y4) into X, Y.
    virtual bool LineSegmentIntersects(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2, TFzyFloat X3,
                                       TFzyFloat Y3, TFzyFloat X4, TFzyFloat Y4, TFzyFloat& X,
                                       TFzyFloat& Y) const = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Union(const TIntfPtr<IFuzzySet>& FuzzySet) = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Union(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                    TFuzzyOperation Operation) = 0;
    /// Scales the degrees so that the greatest becomes 1; returns this set.
    virtual TIntfPtr<IFuzzySet> Normalize() = 0;
    /// Runs the merge sweep with Cmp; true when Cmp stopped it or both sets are empty.
    virtual bool Iterate(const TIntfPtr<IFuzzySet>& FuzzySet, TIFuzzyComparison Cmp) = 0;
    /// A new set: Op applied along the merge sweep of both sets, named with OpName.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Operator(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                       const std::string& OpName, TIFuzzyOperator Op) = 0;
    /// A new set: the part whose degree reaches Alpha (exceeds it when Strict).
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> AlphaCutoff(TFzyFloat Alpha, bool Strict) = 0;
    /// A new set: this set united (IsUnion) or intersected with the constant Value.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Cutoff(TFzyFloat Value, bool IsUnion) = 0;
    /// A new set of this class for Variable, with this set's name and points only.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> Clone(const TIntfPtr<IFuzzyVariable>& Variable) = 0;
    [[nodiscard]] virtual std::string GetComment() const = 0;
    virtual void SetComment(const std::string& Value) = 0;

protected:
    ~IFuzzySet() = default;
};

}  // namespace fzl
