#pragma once
// A fuzzy set: one named term of a linguistic variable, held as a point list.
//
// Two kinds of operation, told apart by their result type:
// - In place: the generators, SetSetType, Hedge, Normalize, Intensify, FuzzyContrast,
//   FuzzyApproximation and Correlate change this set and return it (TFuzzySet*, not owned).
// - Creating: Clone, AlphaCutoff, Cutoff, Operator, Intersection, Union and Infer leave this
//   set as it is and return a new one as TOwned<TFuzzySet>. The new set joins this set's
//   collection (it is listed among the variable's sets) or is free-standing when this set
//   has none; either way the handle frees it, leaving the collection, when it goes. Call
//   release() on the handle to leave the set to its collection instead. A handle whose set
//   is freed by its variable first empties itself.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyLogic/FuzzySetSettings.h>
#include <fzl/FuzzyLogic/FuzzySetValues.h>
#include <fzl/support/FunctionRef.h>
#include <fzl/support/GCollection.h>

namespace fzl {

class TFuzzySet;
class TFuzzySets;
class TFuzzyVariable;
namespace detail {
struct TSetCopy;
class TPointBuilder;
template <class TPoints>
struct TOperand;
}  // namespace detail

/// Called once per event of the merge sweep with the result's point list, A's
/// event (X1, Y1) and B's (X2, Y2); appends result points; true stops the sweep.
using TFuzzyOperator =
    TFunctionRef<bool(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2)>;
/// Called once per event of the merge sweep; true stops the sweep.
using TFuzzyComparison = TFunctionRef<bool(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2)>;

/// The X bound (+ and -) of a set without a variable: the extent of a 32-bit integer.
inline constexpr TFzyFloat UnboundedX = 2147483647.0;

/// Class reference of fuzzy sets: the class a set collection creates.
using TFuzzySetClass = TItemClass<TFuzzySet>;

/// A named membership function. Usually lives in a variable's set collection,
/// which gives it its X range and owns it; new sets made by operations on a set
/// are created in that same collection.
class TFuzzySet : public TGCollectionItem, public TFuzzySetValuesOwner {
public:
    /// A set for Collection (joined by the class reference or collection, not here).
    explicit TFuzzySet(TCollection* Collection = nullptr);

    // ---- Properties ---------------------------------------------------------------
    [[nodiscard]] std::string GetName() const override {
        CatchUp();
        return FName;
    }
    [[nodiscard]] bool HasName(std::string_view Name) const override {
        CatchUp();
        return FName == Name;
    }
    /// Renames the set; reserved words (hedges, operators, keywords) raise EFzyException.
    virtual void SetName(const std::string& Value);
    [[nodiscard]] const std::string& GetComment() const noexcept { return FComment; }
    void SetComment(const std::string& Value);
    /// The same, taking Value's text (a parsed comment is not copied again).
    void SetComment(std::string&& Value);
    [[nodiscard]] bool GetDefined() const noexcept { return FDefined; }
    void SetDefined(bool Value) noexcept { FDefined = Value; }
    [[nodiscard]] std::intptr_t GetTag() const noexcept { return FTag; }
    void SetTag(std::intptr_t Value) noexcept { FTag = Value; }
    [[nodiscard]] TFuzzySetValues& GetValues() const noexcept { return *FValues; }
    /// Replaces the points by copies of Value's.
    void SetValues(const TFuzzySetValues& Value);
    [[nodiscard]] TFuzzySetType GetSetType() const noexcept { return FSetType; }
    /// Regenerates the points as the standard shape Value over the variable's range.
    virtual void SetSetType(TFuzzySetType Value);
    [[nodiscard]] const std::string& GetExpression() const {
        CatchUp();
        return FExpression;
    }
    void SetExpression(const std::string& Value) {
        CatchUp();
        FExpression = Value;
    }
    [[nodiscard]] TFzyFloat GetInflectionPoint() const noexcept { return FInflectionPoint; }
    /// The last correlation strength computed by GetCorrelationStrength.
    [[nodiscard]] TFzyFloat GetMax() const noexcept { return FMax; }

    /// The variable owning this set's collection, or nullptr.
    [[nodiscard]] TFuzzyVariable* GetVariable() const noexcept;
    /// The owning collection, or nullptr.
    [[nodiscard]] TFuzzySets* GetCollection() const noexcept;
    /// Moves the set to another set collection (raises EConvertError for other collections).
    void SetCollection(TCollection* Value) override;
    /// The height of the set (0 when empty).
    [[nodiscard]] virtual TFzyFloat GetCompatibilityIndex() const;

    // ---- Shapes ----------------------------------------------------------------------
    /// Adds (Left, 0), (Middle, 1), (Right, 0) with Middle clamped into [Left, Right].
    void CreateTriangleFunctionValues(TFzyFloat Left, TFzyFloat Middle, TFzyFloat Right);
    /// Adds an S-shaped growth (or, Growth false, decline) curve of N points from Left to Right.
    void CreateCurveValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat InflectionPoint, bool Growth);
    /// Adds a bell of N points: growth from Left to Center, decline from Center to Right.
    void CreatePIFunctionValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat Center);
    /// The bell from Center - Range to Center + Range.
    void CreatePIFunctionValues(int N, TFzyFloat Range, TFzyFloat Center);
    /// Adds N points of 1 / (1 + Weight * ((x - Center) / InflectionPoint)^2) over Center +- Range.
    void CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center, TFzyFloat InflectionPoint,
                                       TFzyFloat Weight);
    void CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center, TFzyFloat InflectionPoint);
    /// Replaces the points by a spike of height 1 at X.
    void CreateCrispValue(TFzyFloat X);

    // ---- Membership ------------------------------------------------------------------
    /// The degree of membership at X (the highest point at a vertical step). Inline up to
    /// the flat ends, where most inputs of a rule's premise lie.
    [[nodiscard]] TFzyFloat DegreeOfMembership(TFzyFloat X) const {
        const TFuzzySetValues& Points = *FValues;
        const int Count = Points.Count();
        if (Count == 0) return 0;
        const TFuzzySetValue* First = Points.PointAt(0);
        if (X < First->GetX()) return First->GetY();
        if (X == First->GetX()) return DegreeOfMembershipWithin(X);  // also in an unsorted list
        const TFuzzySetValue* Last = Points.PointAt(Count - 1);
        if (X > Last->GetX()) return Last->GetY();
        return DegreeOfMembershipWithin(X);
    }
    /// Index 0: upper bound of X, index 1: lower bound (from GetXBounds).
    [[nodiscard]] TFzyFloat GetXRange(int Index) const;
    /// The variable's range, or +-UnboundedX without a variable. Descendants that
    /// take their range elsewhere override this one hook.
    void GetXBounds(TFzyFloat& Lower, TFzyFloat& Upper) const override;
    /// Everything else the set reads from its surroundings: the variable's and its logic
    /// component's settings, or the defaults of TFuzzySetSettings for a set on its own.
    /// Descendants that take their settings elsewhere override this one hook.
    [[nodiscard]] virtual TFuzzySetSettings GetSettings() const;
    /// Index of the highest point among those sharing point Index's X, walking by Direction.
    [[nodiscard]] int GetMaxYValueOfX(int Index, int Direction) const;
    /// Index of the lowest point among those sharing point Index's X, walking by Direction.
    [[nodiscard]] int GetMinYValueOfX(int Index, int Direction) const;
    /// The Y at X on the line through (X1, Y1) and (X2, Y2); Y2 when X1 == X2.
    [[nodiscard]] static TFzyFloat InterpolateY(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2,
                                                TFzyFloat X) noexcept {
        if (X2 == X1) return Y2;
        return LinePoint(X1, Y1, X2, Y2, X);
    }
    /// The X at Y on the line through (X1, Y1) and (X2, Y2); X2 when Y1 == Y2.
    [[nodiscard]] static TFzyFloat InterpolateX(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2,
                                                TFzyFloat Y) noexcept {
        if (Y2 == Y1) return X2;
        return LinePoint(Y1, X1, Y2, X2, Y);
    }

    // ---- Copies and text ---------------------------------------------------------------
    void Assign(const TPersistent& Source) override;
    /// Creates a copy of this set, of the same class, in the same collection.
    [[nodiscard]] virtual TOwned<TFuzzySet> Clone() const;
    /// The short form through the settings' printer, else "(name (x y) ... )".
    [[nodiscard]] virtual std::string ToString() const;
    /// "((x y) (x y) ... )".
    [[nodiscard]] virtual std::string GetValuesToString() const;
    [[nodiscard]] std::string GetDisplayName() const override;
    /// Name, Comment (default empty), Defined, Tag, the points (Values), then SetType, which
    /// while loading is stored without regenerating the points read before it; then
    /// Expression (default empty) and InflectionPoint (default 0), which the printer needs
    /// to write the set as it was defined.
    void DefineProperties(TPropertyList& Properties) override;
    [[nodiscard]] std::string ClassName() const override { return "TFuzzySet"; }
    /// The class reference of this object's class; descendants override it so that
    /// clones and derived sets are of their class.
    [[nodiscard]] virtual TFuzzySetClass ClassType() const { return TFuzzySetClass::Of<TFuzzySet>(); }
    void AfterConstruction() override;

    // ---- Point-list reports ------------------------------------------------------------
    void UpdateFuzzySetValue(TFuzzySetValue* Value) override;
    void UpdateFuzzySetValues() override;

    // ---- Hedges and modifiers: in place, except the two cut-offs, which create -------------
    /// Applies a named hedge and renames the set ("very hot"); returns this set.
    virtual TFuzzySet* Hedge(TFuzzyHedge Hedge);
    /// Applies a base hedge with Value to the degrees (AxisFlag true) or to X; returns this set.
    TFuzzySet* Hedge(TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag);
    void Intensify(int N, TFzyFloat Value);
    void FuzzyContrast(int N, TFzyFloat Value);
    void FuzzyApproximation(int N, TFzyFloat Value);
    /// Scales the degrees so that the greatest becomes 1; returns this set.
    TFuzzySet* Normalize();
    /// Creates the part of this set whose degree reaches Alpha (exceeds it when Strict).
    [[nodiscard]] TOwned<TFuzzySet> AlphaCutoff(TFzyFloat Alpha, bool Strict);
    /// Creates this set united (IsUnion) with or intersected with the constant Value.
    [[nodiscard]] TOwned<TFuzzySet> Cutoff(TFzyFloat Value, bool IsUnion);

    // ---- Combination: creates, except the tests -------------------------------------------
    /// Creates a set from Op applied along the merge sweep of both sets.
    [[nodiscard]] TOwned<TFuzzySet> Operator(const TFuzzySet& FuzzySet, const std::string& OpName,
                                             TFuzzyOperator Op) const;
    /// Runs the merge sweep with Cmp; true when Cmp stopped it or both sets are empty.
    bool Iterate(const TFuzzySet& FuzzySet, TFuzzyComparison Cmp) const;
    /// Creates the Zadeh intersection (minimum) of both sets.
    [[nodiscard]] TOwned<TFuzzySet> Intersection(const TFuzzySet& FuzzySet) const;
    /// Creates the Zadeh union (maximum) of both sets.
    [[nodiscard]] TOwned<TFuzzySet> Union(const TFuzzySet& FuzzySet) const;
    /// Creates the intersection under Operation (foSum raises: it has none).
    [[nodiscard]] virtual TOwned<TFuzzySet> Intersection(const TFuzzySet& FuzzySet,
                                                         TFuzzyOperation Operation) const;
    /// Creates the union under Operation.
    [[nodiscard]] virtual TOwned<TFuzzySet> Union(const TFuzzySet& FuzzySet, TFuzzyOperation Operation) const;
    /// Quick overlap test of the two sets.
    [[nodiscard]] bool Intersects(const TFuzzySet& FuzzySet) const;

    static bool FuzzyOperatorMin(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                 TFzyFloat Y2);
    static bool FuzzyOperatorMax(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                 TFzyFloat Y2);
    static bool FuzzyOperatorMean(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                  TFzyFloat Y2);
    static bool FuzzyOperatorMeanSqr(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                     TFzyFloat Y2);
    static bool FuzzyOperatorMeanSqrt(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                      TFzyFloat Y2);
    static bool FuzzyOperatorUnionMean(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                       TFzyFloat Y2);
    static bool FuzzyOperatorIntersectionProduct(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                                 TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionProduct(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                          TFzyFloat Y2);
    static bool FuzzyOperatorIntersectionBoundedSum(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                                    TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionBoundedSum(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1,
                                             TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionSum(TFuzzySetValues& FuzzySet, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                      TFzyFloat Y2);

    /// The crossing of segments (X1, Y1)-(X2, Y2) and (X3, Y3)-(X4, Y4) into X, Y.
    static bool LineSegmentIntersects(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2, TFzyFloat X3,
                                      TFzyFloat Y3, TFzyFloat X4, TFzyFloat Y4, TFzyFloat& X, TFzyFloat& Y);
    /// The crossing of P1-P2 and P3-P4 as a new free-standing point (the caller owns it), or null.
    static TOwned<TFuzzySetValue> LineSegmentIntersects(const TFuzzySetValue& P1, const TFuzzySetValue& P2,
                                                        const TFuzzySetValue& P3, const TFuzzySetValue& P4);
    [[nodiscard]] static TFzyFloat GetSlope(const TFuzzySetValue& P1, const TFuzzySetValue& P2);

    // ---- Inference and defuzzification: Correlate in place, Infer creates --------------------
    /// The height of the overlap (maximum over the sweep of the minimum); also left in GetMax().
    TFzyFloat GetCorrelationStrength(const TFuzzySet& FuzzySet);
    /// GetCorrelationStrength against the crisp spike (X, 0), (X, 1), (X, 0), to the bit, read off
    /// the points without building the spike. X is taken as given: the caller clamps it.
    TFzyFloat GetCrispCorrelationStrength(TFzyFloat X);
    bool FuzzyOperatorMaxOfMin(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2);
    bool FuzzyOperatorMinThreshold(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2) const;
    /// Clips (fcmMinimum) or scales (fcmProduct) the degrees by Value in place; returns this set.
    TFuzzySet* Correlate(TFzyFloat Value, TFuzzyCorrelationMethod Method);
    /// Correlate with the correlation method of the settings.
    TFuzzySet* Correlate(TFzyFloat Value);
    /// Creates this set combined with FuzzySet by Method (intersection or union).
    [[nodiscard]] TOwned<TFuzzySet> Infer(const TFuzzySet& FuzzySet, TFuzzyInferenceMethod Method,
                                          bool Intersect) const;
    /// Infer with the inference method of the settings.
    [[nodiscard]] TOwned<TFuzzySet> Infer(const TFuzzySet& FuzzySet, bool Intersect) const;
    /// Exact centre of gravity of the area under the curve over the variable's range.
    [[nodiscard]] TFzyFloat CenterOfGravity() const;
    /// Mean X of the points at the set's height.
    [[nodiscard]] TFzyFloat MeanOfMaxima() const;
    /// CenterOfGravity or MeanOfMaxima, as the settings say.
    [[nodiscard]] TFzyFloat Defuzzify() const;
    [[nodiscard]] bool IsUndecidable() const;
    /// True when the overlap reaches the threshold of the settings.
    [[nodiscard]] virtual bool Equals(const TFuzzySet& FuzzySet) const;
    /// The height of the overlap.
    virtual TFzyFloat FuzzyEquals(const TFuzzySet& FuzzySet);

    /// A built-in operator of the sweep (FuzzyOperatorMin, ...).
    using TOperatorFunction = bool (*)(TFuzzySetValues&, TFzyFloat, TFzyFloat, TFzyFloat, TFzyFloat);

    // ---- Sets that come and go unseen (for evaluators of expressions) --------------------------
    /// Holds back the reports of Sets' sets joining, changing and leaving to their variable and
    /// component, when nothing outside the library sees them (the library's own classes, no event
    /// handler) and they are not held back already; returns whether it did.
    [[nodiscard]] static bool HoldRelays(TFuzzySets& Sets) noexcept;
    /// Ends HoldRelays. With Changed (something was held back) and Sets in no bulk update, leaves
    /// what the reports would have: the variable's current set clamped, the component's text stale.
    static void ReleaseRelays(TFuzzySets& Sets, bool Changed) noexcept;

protected:
    ~TFuzzySet() override;
    /// Factory of the point list; descendants may return their own list class.
    virtual TOwned<TFuzzySetValues> CreateValues();
    /// A new empty set of this set's class in this set's collection (detached when there is none).
    /// Sets of this very class come from a per-thread pool of freed ones, made to look new.
    [[nodiscard]] TOwned<TFuzzySet> NewSibling() const;
    /// Derived sets made by NewSibling go back to the pool instead of the heap.
    void FreeInstance() override;

    // ---- For descendants that create their results themselves --------------------------------
    /// The body of Operator: fills Result (named, without points) with Op along the merge
    /// sweep of this set and FuzzySet, simplifies it and writes its expression.
    void FillOperatorResult(TFuzzySet& Result, const TFuzzySet& FuzzySet, const std::string& OpName,
                            TFuzzyOperator Op) const;
    /// The operator Intersection (IsUnion false) or Union uses for Operation, min or max when
    /// an operand is empty (AnyEmpty); raises for foSum intersections and unknown values.
    [[nodiscard]] static TOperatorFunction OperationOperator(TFuzzyOperation Operation, bool IsUnion,
                                                             bool AnyEmpty);
    /// The operation Infer combines with for Method; raises for unknown values.
    [[nodiscard]] static TFuzzyOperation InferenceOperation(TFuzzyInferenceMethod Method);
    /// The body of Assign for a source known to be a set: name, points, type, inflection
    /// point and expression.
    void AssignSet(const TFuzzySet& Other);
    /// Raises EFzyException when Value is a reserved word (the check of SetName).
    static void CheckName(const std::string& Value);
    void SetInflectionPoint(TFzyFloat Value) noexcept { FInflectionPoint = Value; }
    /// Stores the type as it is, generating nothing.
    void StoreSetType(TFuzzySetType Value) noexcept { FSetType = Value; }
    /// Starts a correlation strength that no sweep follows (GetMax() reads 0).
    void ResetMax() noexcept { FMax = 0; }

private:
    friend class TFuzzyVariable;
    friend class TFuzzySetDraft;
    class TRecycler;
    /// A copy as Clone makes it, in Collection; with nullptr, outside any collection, so that
    /// nothing reports its making or freeing and its points are not clamped to a range (the
    /// caller knows they lie inside).
    [[nodiscard]] TOwned<TFuzzySet> CloneInto(TCollection* Collection) const;
    /// CloneInto(Collection) then Hedge(Which, Value, true), in one pass over the points of a
    /// clean list (sorted, duplicates removed); for any other list, the two steps themselves.
    [[nodiscard]] TOwned<TFuzzySet> HedgedCopyInto(TCollection* Collection, TBaseFuzzyHedge Which,
                                                   TFzyFloat Value) const;
    /// The points, name and expression HedgedCopyInto(nullptr, Which, Value) would give, held
    /// by value in Copy (for points inside the X bounds of a free set), for a clean list and a
    /// hedge other than bfhDivide; else false.
    [[nodiscard]] bool HedgeInto(detail::TSetCopy& Copy, TBaseFuzzyHedge Which, TFzyFloat Value) const;
    /// HedgeInto without the name and expression (NameHedgedCopy writes them).
    [[nodiscard]] bool HedgePointsInto(detail::TSetCopy& Copy, TBaseFuzzyHedge Which, TFzyFloat Value) const;
    /// The name and expression HedgeInto gives Copy.
    void NameHedgedCopy(detail::TSetCopy& Copy, TBaseFuzzyHedge Which, TFzyFloat Value) const;
    /// The name and expression of a copy of the set named SourceName (with SourceExpression)
    /// hedged by Which with Value on the degrees.
    static void NameHedged(std::string& Name, std::string& Expression, std::string_view SourceName,
                           std::string_view SourceExpression, TBaseFuzzyHedge Which, TFzyFloat Value);
    /// Infer(Copy made a set, Method, false) without making it a set.
    [[nodiscard]] TOwned<TFuzzySet> InferUnion(const detail::TSetCopy& Copy,
                                               TFuzzyInferenceMethod Method) const;
    /// What InferUnion(Copy, Method) makes, made in this very set, when the new set would take
    /// this set's place (the last of its collection) and this set would go: it becomes the new
    /// set in every field, ID included, as the pool would hand it out. Copy holds the points
    /// of Consequent hedged by Which with Value (HedgePointsInto); the name and expression
    /// are written when first read.
    void InferUnionInPlace(const detail::TSetCopy& Copy, TFuzzyInferenceMethod Method,
                           const TFuzzySet& Consequent, TBaseFuzzyHedge Which, TFzyFloat Value);
    /// This set as an operand of a combination.
    [[nodiscard]] detail::TOperand<TFuzzySetValues> Operand() const;
    /// Operator with this set as A, B given by its name, expression and points (TOperand or
    /// TSetCopy).
    template <class TOperandB, class TOp>
    [[nodiscard]] TOwned<TFuzzySet> Combine(const TOperandB& B, const std::string& OpName, TOp&& Op) const;
    /// The set Combine makes in Collection of operands A and B whose points a builder has
    /// gathered already (A.Points, which is also B.Points): a draft's combination.
    [[nodiscard]] static TOwned<TFuzzySet> NewCombined(TCollection* Collection,
                                                       const detail::TOperand<detail::TPointBuilder>& A,
                                                       const detail::TOperand<detail::TPointBuilder>& B,
                                                       const std::string& OpName);
    /// FillOperatorResult with both operands given by their names, expressions and points.
    template <class TOperandA, class TOperandB, class TOp>
    static void FillResult(TFuzzySet& Result, const TOperandA& A, const TOperandB& B,
                           const std::string& OpName, TOp&& Op);
    /// The frame of FillResult: the result's expression, and Fill(Points) filling its points in
    /// one bulk build.
    template <class TOperandA, class TOperandB, class TFill>
    static void FillResultWith(TFuzzySet& Result, const TOperandA& A, const TOperandB& B,
                               const std::string& OpName, TFill&& Fill);
    /// The base hedge on Y that a correlation method applies.
    [[nodiscard]] static TBaseFuzzyHedge CorrelationHedge(TFuzzyCorrelationMethod Method);
    /// A set for Collection from the pool (or a new one), joined to Collection.
    [[nodiscard]] static TOwned<TFuzzySet> NewRecycled(TCollection* Collection);
    /// The designing state a set made for Collection starts with.
    [[nodiscard]] static bool DefinedFor(const TCollection* Collection) noexcept;
    /// Empties a freed set's fields and points as a new set has them.
    void ResetForReuse() noexcept;
    /// ResetForReuse but for the collection's fields (place and ID).
    void ResetFields() noexcept;
    /// ResetFields but for the points.
    void ResetOwnFields() noexcept;
    /// An emptied per-thread buffer for a derived set's name, to be handed to SetDerivedName.
    [[nodiscard]] static std::string& DerivedNameBuffer() noexcept;
    /// SetName(Name) for a derived name, which has blanks and so is never a reserved word; a
    /// set of this very class takes Name's storage and leaves its old one in Name (nothing is
    /// copied or allocated once the buffers have grown).
    void SetDerivedName(std::string& Name);
    /// The centre of gravity over [Min, Max] of at least two points, X multiplied by XScale
    /// and the degrees by YScale (0 for no area).
    [[nodiscard]] TFzyFloat Centroid(TFzyFloat Min, TFzyFloat Max, TFzyFloat XScale, TFzyFloat YScale) const;
    /// DegreeOfMembership for X from the first point's X to the last one's.
    [[nodiscard]] TFzyFloat DegreeOfMembershipWithin(TFzyFloat X) const;
    /// This very class, not a descendant (whose overrides must then be called).
    [[nodiscard]] bool IsPlainSet() const noexcept { return typeid(*this) == typeid(TFuzzySet); }
    void GenerateShape(TFuzzySetType Type);
    template <class TBetter>
    [[nodiscard]] int ExtremeYOfX(int Index, int Direction, TBetter Better) const;

    /// A union made in place whose name and expression are not written yet: what the
    /// correlated copy was made of and the union's keyword. A running conclusion's name grows
    /// with every rule, and is mostly never read.
    struct TDeferredUnion {
        std::string_view Operation;  // a keyword of the static union table
        std::string Name;            // of the consequent
        std::string Expression;      // of the consequent
        TBaseFuzzyHedge Hedge = bfhPower;
        TFzyFloat Value = 0;
    };
    /// Writes the deferred unions' names and expressions, oldest first.
    void WriteDeferred() const;
    /// Every reader and writer of FName or FExpression catches up first.
    void CatchUp() const {
        if (!FDeferred.empty()) WriteDeferred();
    }

    TFuzzySetType FSetType = fstUserDefined;
    mutable std::string FName;
    TOwned<TFuzzySetValues> FValues;
    TFzyFloat FInflectionPoint = 0;
    std::string FComment;
    bool FDefined = false;
    std::intptr_t FTag = 0;
    mutable std::string FExpression;
    mutable std::vector<TDeferredUnion> FDeferred;
    TFzyFloat FMax = 0;
    bool FRecyclable = false;  // made by NewSibling: returns to the pool when freed
};

/// Moves Previous to Current and Current to the next point of Values (or to EndX past the end).
void NextPoint(TFuzzySetValue& Current, TFuzzySetValue& Previous, int& Index, const TFuzzySetValues& Values,
               TFzyFloat EndX);
/// Appends Current to FuzzySet when it is the greater (TakeGreater) or lesser side, then steps it.
void AddAndIncrement(TFuzzySet& FuzzySet, TFuzzySetValue& Current, TFuzzySetValue& Previous,
                     TFuzzySetValue& OtherPrevious, int& Index, TFzyFloat Y1, TFzyFloat Y2,
                     const TFuzzySetValues& Values, TFzyFloat EndX, bool TakeGreater);
/// AddAndIncrement on the first walk, then NextPoint on the second.
void Add1AndIncrement2(TFuzzySet& FuzzySet, TFuzzySetValue& Current1, TFuzzySetValue& Current2,
                       TFuzzySetValue& Previous1, TFuzzySetValue& Previous2, int& Index1, int& Index2,
                       TFzyFloat Y1, TFzyFloat Y2, const TFuzzySetValues& Values1,
                       const TFuzzySetValues& Values2, TFzyFloat EndX, bool TakeGreater);

}  // namespace fzl
