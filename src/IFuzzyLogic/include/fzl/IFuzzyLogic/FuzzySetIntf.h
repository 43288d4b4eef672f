#pragma once
// The fuzzy set of the reference-counted model: a TFuzzySet reached through
// IFuzzySet, alive while a reference to it exists, that knows its variable and
// parser through interfaces.
//
// Lifetime and links:
// - A set lives while references to it exist; its variable's table holds one.
// - A set counts a reference to its variable only while it is not in that
//   variable's table, so a variable and its registered sets never keep each other
//   alive: dropping the last outside reference to a variable frees it, and the
//   sets it still held lose their variable (GetVariable() becomes nil).
// - A set with a variable is in the variable's table exactly when it is defined
//   and named (neither "" nor "__Empty"); every change of its name, definition or
//   variable keeps that true. A set that leaves the table otherwise (the
//   variable's Remove or Clear, or another set taking its name) becomes undefined.
// - The parser link reads nil once the parser component is freed.

#include <atomic>
#include <cstdint>
#include <string>

#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/IFuzzyLogic/FuzzyParserLink.h>
#include <fzl/support/Interfaced.h>

namespace fzl {

class TIFuzzySet;
class TIFuzzySets;

/// Increments the process-wide counter and returns the new value: 1, 2, 3, ... (thread-safe).
int GetUniqueID() noexcept;
/// "FuzzySet" followed by the next GetUniqueID, skipping names Variable already holds
/// (Variable may be nil).
[[nodiscard]] std::string GetUniqueName(const TIntfPtr<IFuzzyVariable>& Variable);

/// Class reference of reference-counted sets: a virtual constructor (Variable, Name).
using TIFuzzySetClass = TIntfClassRef<TIFuzzySet, const TIntfPtr<IFuzzyVariable>&, const std::string&>;

/// The point list of a TIFuzzySet: the class-model list with operations that read
/// other sets through their interface.
class TIFSValues : public TFuzzySetValues {
public:
    explicit TIFSValues(TIFuzzySet* FuzzySet);

    using TFuzzySetValues::Add;
    /// Appends (X, Y) in a bulk update of its own; returns the index the point had when created.
    int Add(TFzyFloat X, TFzyFloat Y);
    /// Inserts (X, Y) at Index (0 .. Count, else EListError) in a bulk update of its own;
    /// returns Index.
    using TFuzzySetValues::Insert;
    int Insert(int Index, TFzyFloat X, TFzyFloat Y);
    using TFuzzySetValues::Append;
    /// Appends copies of all points of FuzzySet.
    void Append(const TIntfPtr<IFuzzySet>& FuzzySet);
    /// Appends copies of Count points of FuzzySet from Start (Start clamped into its
    /// points, Count to what is left); nothing from an empty set or for Count <= 0.
    /// The points are read first, so a set may append to itself.
    virtual void Append(const TIntfPtr<IFuzzySet>& FuzzySet, int Start, int Count);
    /// Replaces the points by copies of FuzzySet's in one bulk update (nothing for itself).
    void AssignValues(const TIntfPtr<IFuzzySet>& FuzzySet);
    /// Same count and every point equal in X and Y within the tolerance.
    [[nodiscard]] virtual bool EqualsValues(const TIntfPtr<IFuzzySet>& FuzzySet) const;
    [[nodiscard]] int GetCount() const noexcept { return Count(); }
    using TFuzzySetValues::Assign;
    /// Assigns Source to the owning set.
    void Assign(const TIntfPtr<IInterface>& Source);
    /// The owning set's text.
    [[nodiscard]] std::string ToString() const;
    [[nodiscard]] std::string ClassName() const override { return "TIFSValues"; }
    void AfterConstruction() override;

protected:
    ~TIFSValues() override = default;

private:
    TIFuzzySet* FOwnerSet;
};

/// Implements the two IFuzzySet::Hedge forms, whose names and parameters TFuzzySet's
/// Hedge forms repeat with another result type, by forwarding to HedgeIntf.
class TIFuzzySetBridge : public IFuzzySet {
public:
    TIntfPtr<IFuzzySet> Hedge(TFuzzyHedge Hedge) final { return HedgeIntf(Hedge); }
    TIntfPtr<IFuzzySet> Hedge(TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) final {
        return HedgeIntf(Hedge, Value, AxisFlag);
    }

protected:
    ~TIFuzzySetBridge() = default;
    virtual TIntfPtr<IFuzzySet> HedgeIntf(TFuzzyHedge Hedge) = 0;
    virtual TIntfPtr<IFuzzySet> HedgeIntf(TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) = 0;
};

/// The reference-counted fuzzy set. Create it with MakeIntf<TIFuzzySet>(Variable, Name)
/// (undefined, so not in Variable's table), or by name through the variable's Add.
/// Operations that create a set return a new TIFuzzySet of this set's variable that is
/// not in its table; hedges, Normalize and Correlate change this set and return it.
class TIFuzzySet : public TInterfaced<TFuzzySet, TIFuzzySetBridge> {
public:
    TIFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable, const std::string& Name);

    // ---- Identity and links ----------------------------------------------------------------
    [[nodiscard]] std::string GetName() const override { return TFuzzySet::GetName(); }
    /// Renames the set and moves its key in the variable's table. A reserved word raises
    /// before anything changes; a set already holding the name is displaced.
    void SetName(const std::string& Value) override;
    [[nodiscard]] std::string GetExpression() const override { return TFuzzySet::GetExpression(); }
    void SetExpression(const std::string& Value) override { TFuzzySet::SetExpression(Value); }
    [[nodiscard]] std::string GetComment() const override { return TFuzzySet::GetComment(); }
    /// Stores the comment; a change is reported to the variable as a change of the set.
    void SetComment(const std::string& Value) override;
    [[nodiscard]] bool GetDefined() const override { return TFuzzySet::GetDefined(); }
    /// Stores Value, entering or leaving the variable's table accordingly.
    void SetDefined(bool Value) override;
    [[nodiscard]] std::intptr_t GetTag() const override { return TFuzzySet::GetTag(); }
    void SetTag(std::intptr_t Value) override { TFuzzySet::SetTag(Value); }
    /// The number the variable's table gave the set (not a position).
    [[nodiscard]] int GetIndex() const override { return FIndex; }
    void SetIndex(int Value) override { FIndex = Value; }
    [[nodiscard]] TIntfPtr<IFuzzyVariable> GetVariable() const override;
    /// Moves the set to Value (or to no variable): it leaves the old variable's table and
    /// enters the new one's when defined and named; it takes Value's parser.
    void SetVariable(const TIntfPtr<IFuzzyVariable>& Value) override;
    [[nodiscard]] TIntfPtr<IFuzzyParser> GetParser() const override { return FParser.Get(); }
    void SetParser(const TIntfPtr<IFuzzyParser>& Value) override { FParser.Set(Value); }

    // ---- Shape and points ---------------------------------------------------------------------
    [[nodiscard]] TFuzzySetType GetSetType() const override { return TFuzzySet::GetSetType(); }
    void SetSetType(TFuzzySetType Value) override { TFuzzySet::SetSetType(Value); }
    [[nodiscard]] TFzyFloat GetInflectionPoint() const override { return TFuzzySet::GetInflectionPoint(); }
    [[nodiscard]] TIFSValues& GetValues() const noexcept;
    /// Replaces the points by copies of Value's.
    void SetValues(const TFuzzySetValues& Value) { GetValues().Assign(Value); }
    [[nodiscard]] TFzyFloat GetXValues(int Index) const override;
    void SetXValues(int Index, TFzyFloat Value) override;
    [[nodiscard]] TFzyFloat GetYValues(int Index) const override;
    void SetYValues(int Index, TFzyFloat Value) override;
    [[nodiscard]] TFzyFloat GetXMaximum() const override;
    [[nodiscard]] TFzyFloat GetXMinimum() const override;
    /// The variable's range, or the unbounded range without a variable: clamping,
    /// shapes and the centre of gravity all read it.
    void GetXBounds(TFzyFloat& Lower, TFzyFloat& Upper) const override;
    /// The variable's curve points and threshold; the first correlation, inference and
    /// defuzzification methods (a set of this model has no logic component above it).
    [[nodiscard]] TFuzzySetSettings GetSettings() const override;

    [[nodiscard]] int GetCount() const override { return GetValues().Count(); }
    void Append(const TIntfPtr<IFuzzySet>& FuzzySet) override { GetValues().Append(FuzzySet); }
    void Append(const TIntfPtr<IFuzzySet>& FuzzySet, int Start, int Count) override {
        GetValues().Append(FuzzySet, Start, Count);
    }
    void AssignValues(const TIntfPtr<IFuzzySet>& FuzzySet) override { GetValues().AssignValues(FuzzySet); }
    int Add(TFzyFloat X, TFzyFloat Y) override { return GetValues().Add(X, Y); }
    void BeginUpdate() override { GetValues().BeginUpdate(); }
    void Clear() override { GetValues().Clear(); }
    void Delete(int Index) override { GetValues().Delete(Index); }
    void EndUpdate() override { GetValues().EndUpdate(); }
    int Insert(int Index, TFzyFloat X, TFzyFloat Y) override { return GetValues().Insert(Index, X, Y); }
    void Expand(int N) override { GetValues().Expand(N); }
    [[nodiscard]] TFzyFloat GetMaxValue() const override { return GetValues().GetMaxValue(); }
    [[nodiscard]] TFzyFloat GetMinValue() const override { return GetValues().GetMinValue(); }
    [[nodiscard]] int SkipX(int Index, TFzyFloat X, int Direction) const override {
        return GetValues().SkipX(Index, X, Direction);
    }
    [[nodiscard]] int SkipY(int Index, TFzyFloat Y, int Direction) const override {
        return GetValues().SkipY(Index, Y, Direction);
    }

    void CreateCrispValue(TFzyFloat X) override { TFuzzySet::CreateCrispValue(X); }
    void CreateTriangleFunctionValues(TFzyFloat Left, TFzyFloat Middle, TFzyFloat Right) override {
        TFuzzySet::CreateTriangleFunctionValues(Left, Middle, Right);
    }
    void CreateCurveValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat InflectionPoint,
                           bool Growth) override {
        TFuzzySet::CreateCurveValues(N, Left, Right, InflectionPoint, Growth);
    }
    void CreatePIFunctionValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat Center) override {
        TFuzzySet::CreatePIFunctionValues(N, Left, Right, Center);
    }
    void CreatePIFunctionValues(int N, TFzyFloat Range, TFzyFloat Center) override {
        TFuzzySet::CreatePIFunctionValues(N, Range, Center);
    }
    void CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center,
                                       TFzyFloat InflectionPoint) override {
        TFuzzySet::CreateBetaCurveFunctionValues(N, Range, Center, InflectionPoint);
    }
    void CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center, TFzyFloat InflectionPoint,
                                       TFzyFloat Weight) override {
        TFuzzySet::CreateBetaCurveFunctionValues(N, Range, Center, InflectionPoint, Weight);
    }
    [[nodiscard]] TFzyFloat DegreeOfMembership(TFzyFloat X) const override {
        return TFuzzySet::DegreeOfMembership(X);
    }

    // ---- Copies and text ------------------------------------------------------------------------
    using TFuzzySet::Assign;
    /// From another set through IFuzzySet: its variable, type, inflection point, points,
    /// expression and parser (not its name, definition, tag or comment). Anything else: nothing.
    void Assign(const TIntfPtr<IInterface>& Source) override;
    /// From a TIFuzzySet also its variable and parser; the name goes through SetName's path.
    void Assign(const TPersistent& Source) override;
    void AssignTo(TPersistent& Dest) const override { TFuzzySet::AssignTo(Dest); }
    using TFuzzySet::Clone;
    /// A new set of this class with this variable and name and everything Assign copies; not
    /// in the variable's table.
    [[nodiscard]] TIntfPtr<IInterface> Clone() override;
    /// A new set of this class for Variable with this name and these points only, and
    /// Variable's parser.
    [[nodiscard]] TIntfPtr<IFuzzySet> Clone(const TIntfPtr<IFuzzyVariable>& Variable) override;
    /// The parser's short form when there is a parser, else "(name (x y) ... )".
    [[nodiscard]] std::string ToString() const override;
    [[nodiscard]] std::string GetValuesToString() const override { return TFuzzySet::GetValuesToString(); }
    [[nodiscard]] std::string ClassName() const override { return "TIFuzzySet"; }
    /// The class reference of this object's class; descendants override it together with
    /// ClassName, so that clones and results are of their class.
    [[nodiscard]] virtual TIFuzzySetClass IntfClassType() const { return TIFuzzySetClass::Of<TIFuzzySet>(); }

    // ---- Hedges and cut-offs --------------------------------------------------------------------
    /// The class-model forms (returning TFuzzySet*); through IFuzzySet the same hedges return
    /// this set's interface.
    using TFuzzySet::Hedge;
    TIntfPtr<IFuzzySet> Normalize() override;
    /// A new set: the part that reaches Alpha, named "name (alpha=0.5000)".
    [[nodiscard]] TIntfPtr<IFuzzySet> AlphaCutoff(TFzyFloat Alpha, bool Strict) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> Cutoff(TFzyFloat Value, bool IsUnion) override;

    // ---- Combination (nil operands raise EArgumentOutOfRangeException) ---------------------------
    // The class-model forms stay visible beside the interface forms (they make free-standing
    // class-model sets).
    using TFuzzySet::Intersection;
    using TFuzzySet::Intersects;
    using TFuzzySet::Union;
    [[nodiscard]] bool Intersects(const TIntfPtr<IFuzzySet>& FuzzySet) const override;
    [[nodiscard]] TIntfPtr<IFuzzySet> Intersection(const TIntfPtr<IFuzzySet>& FuzzySet) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> Intersection(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                   TFuzzyOperation Operation) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> Union(const TIntfPtr<IFuzzySet>& FuzzySet) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> Union(const TIntfPtr<IFuzzySet>& FuzzySet,
                                            TFuzzyOperation Operation) override;
    using TFuzzySet::Iterate;
    bool Iterate(const TIntfPtr<IFuzzySet>& FuzzySet, TIFuzzyComparison Cmp) override;
    using TFuzzySet::Operator;
    [[nodiscard]] TIntfPtr<IFuzzySet> Operator(const TIntfPtr<IFuzzySet>& FuzzySet, const std::string& OpName,
                                               TIFuzzyOperator Op) override;
    bool LineSegmentIntersects(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2, TFzyFloat X3,
                               TFzyFloat Y3, TFzyFloat X4, TFzyFloat Y4, TFzyFloat& X,
                               TFzyFloat& Y) const override {
        return TFuzzySet::LineSegmentIntersects(X1, Y1, X2, Y2, X3, Y3, X4, Y4, X, Y);
    }

    /// The operators of the sweep for Operator: each adds one point through Result's Add.
    static bool FuzzyOperatorMin(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                 TFzyFloat Y2);
    static bool FuzzyOperatorMax(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                 TFzyFloat Y2);
    static bool FuzzyOperatorMean(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2,
                                  TFzyFloat Y2);
    static bool FuzzyOperatorMeanSqr(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                     TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorMeanSqrt(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                      TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionMean(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                       TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorIntersectionProduct(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1,
                                                 TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionProduct(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                          TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorIntersectionBoundedSum(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1,
                                                    TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionBoundedSum(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                             TFzyFloat X2, TFzyFloat Y2);
    static bool FuzzyOperatorUnionSum(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                      TFzyFloat X2, TFzyFloat Y2);

    // ---- Inference and defuzzification ---------------------------------------------------------
    using TFuzzySet::GetCorrelationStrength;
    TFzyFloat GetCorrelationStrength(const TIntfPtr<IFuzzySet>& FuzzySet) override;
    /// Clips or scales in place through this set's own Hedge; returns this set.
    TIntfPtr<IFuzzySet> Correlate(TFzyFloat Value, TFuzzyCorrelationMethod Method) override;
    using TFuzzySet::Infer;
    [[nodiscard]] TIntfPtr<IFuzzySet> Infer(const TIntfPtr<IFuzzySet>& FuzzySet, TFuzzyInferenceMethod Method,
                                            bool Intersect) override;
    [[nodiscard]] TFzyFloat GetCompatibilityIndex() const override {
        return TFuzzySet::GetCompatibilityIndex();
    }
    /// Centre of gravity (a set of this model has no logic component to choose otherwise).
    [[nodiscard]] TFzyFloat Defuzzify() const override { return TFuzzySet::Defuzzify(); }
    [[nodiscard]] TFzyFloat MeanOfMaxima() const override { return TFuzzySet::MeanOfMaxima(); }
    [[nodiscard]] TFzyFloat CenterOfGravity() const override { return TFuzzySet::CenterOfGravity(); }
    [[nodiscard]] bool IsUndecidable() const override { return TFuzzySet::IsUndecidable(); }
    using TFuzzySet::Equals;
    /// Other is a set whose overlap with this one reaches the variable's threshold (0.01
    /// without a variable).
    [[nodiscard]] bool Equals(const TIntfPtr<IInterface>& Other) const override;
    using TFuzzySet::FuzzyEquals;
    /// The height of the overlap with Other when it is a set, else 0.
    TFzyFloat FuzzyEquals(const TIntfPtr<IInterface>& Other) override;

    // ---- Point-list reports ----------------------------------------------------------------------
    /// The class-model reaction, then the variable's FuzzySetChanged.
    void UpdateFuzzySetValues() override;
    void AfterConstruction() override;

protected:
    ~TIFuzzySet() override = default;
    TOwned<TFuzzySetValues> CreateValues() override;
    TIntfPtr<IFuzzySet> HedgeIntf(TFuzzyHedge Hedge) override;
    TIntfPtr<IFuzzySet> HedgeIntf(TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) override;

private:
    friend class TIFuzzySets;
    friend class TIFuzzyVariable;

    /// The variable: counted while the set is not in its table, plain while it is (the
    /// table's reference to the set then keeps the pair reachable from outside).
    class TVariableLink {
    public:
        [[nodiscard]] IFuzzyVariable* Get() const noexcept { return FVariable; }
        [[nodiscard]] bool Registered() const noexcept { return FRegistered; }
        void Set(const TIntfPtr<IFuzzyVariable>& Value) noexcept;
        void SetRegistered(bool Value) noexcept;
        /// The variable goes: forget it without touching its count.
        void Drop() noexcept;

    private:
        IFuzzyVariable* FVariable = nullptr;
        TIntfPtr<IFuzzyVariable> FCounted;
        bool FRegistered = false;
    };

    [[nodiscard]] TIntfPtr<IFuzzySet> SelfIntf() const;
    [[nodiscard]] bool IsKeyable() const;
    /// Brings the table in line with the definition and name: enters or leaves it.
    void SyncRegistration();
    /// Leaves Variable's table on the set's own account (it stays defined).
    void LeaveTable(IFuzzyVariable& Variable, const TIntfPtr<IFuzzySet>& Self);
    /// Tells the variable that the set changed.
    void ReportChange();
    /// The one path of every name change: checks NewName, leaves the table, applies the
    /// change, enters the table under the new name.
    void Rename(const std::string& NewName, TFunctionRef<void()> Apply);
    /// A new set of this class for this variable, named Name, with this parser.
    [[nodiscard]] TIntfPtr<TIFuzzySet> NewResult(const std::string& Name) const;
    /// Copies a class-model result (points, type, expression) into a new set of this model.
    [[nodiscard]] TIntfPtr<IFuzzySet> AdoptResult(const TFuzzySet& Result) const;
    /// Intersection (IsUnion false) or union under Operation.
    [[nodiscard]] TIntfPtr<IFuzzySet> Combine(const TIntfPtr<IFuzzySet>& FuzzySet, TFuzzyOperation Operation,
                                              bool IsUnion) const;
    // Called by the table of the variable.
    void EnteredTable() noexcept;
    void LeftTable() noexcept;
    void VariableGone() noexcept { FVariable.Drop(); }

    TVariableLink FVariable;
    TFuzzyParserLink FParser;
    int FIndex = 0;
    bool FMoving = false;  // leaving the table on its own account: stays defined
    // The constructor's arguments, applied in AfterConstruction (where overrides are reached).
    TIntfPtr<IFuzzyVariable> FInitialVariable;
    std::string FInitialName;
};

}  // namespace fzl
