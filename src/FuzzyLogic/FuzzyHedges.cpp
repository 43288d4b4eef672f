// Hedges and modifiers of TFuzzySet: the named hedges ("very", "not", ...),
// the base hedge operators (arithmetic and clamps on Y or X), normalisation,
// and the two cut-offs that build a new set from a level.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzySetDraft.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/DuplicatePoints.h"
#include "internal/MergeSweep.h"
#include "internal/SetCopy.h"
#include "internal/Unobserved.h"

namespace fzl {
namespace {

// Named hedges resample to this many points first, whatever the component's resolution.
constexpr int HedgePoints = 7;
// FuzzyApproximation spreads the set over this many points across the whole range.
constexpr int ApproximationPoints = 50;
// Width ratio used by FuzzyApproximation when the set (or the range) has no width.
constexpr TFzyFloat NarrowWidthRatio = 0.2;

// Overflow saturates at the largest finite double: a hedge never hands out an infinity.
TFzyFloat Saturate(TFzyFloat Value) {
    constexpr TFzyFloat Largest = std::numeric_limits<TFzyFloat>::max();
    return std::clamp(Value, -Largest, Largest);
}

void RequirePoints(const TFuzzySetValues& Points, const char* Operation) {
    if (Points.Count() == 0) throw EFzyException(SFuzzySetEmpty, {Operation});
}

// The new value of one coordinate under a base hedge. bfhPower's domain (0 < Y < 1,
// X > 0) is checked by the caller.
inline TFzyFloat ApplyBaseHedge(TBaseFuzzyHedge Hedge, TFzyFloat Old, TFzyFloat Value) {
    switch (Hedge) {
        case bfhAdd: return Old + Value;
        case bfhSubtract: return Old - Value;
        case bfhMultiply: return Old * Value;
        // Dividing (not multiplying by the reciprocal) keeps x / x exactly 1.
        case bfhDivide: return Old / Value;
        case bfhPower: return std::pow(Old, Value);
        case bfhCutLess: return Old < Value ? Value : Old;
        case bfgCutLessEq: return Old <= Value ? Value : Old;
        case bfhCutGreater: return Old > Value ? Value : Old;
        case bfhCutGreaterEq: return Old >= Value ? Value : Old;
    }
    return Old;
}

// The degree a point of a clean list gets under Hedge(Which, Value, true) on Y.
inline TFzyFloat HedgedY(TBaseFuzzyHedge Which, TFzyFloat PointY, TFzyFloat Value) {
    const TFzyFloat Y = std::max(PointY, 0.0);
    if (Which == bfhPower && !(Y > 0 && Y < 1)) return Y;
    const TFzyFloat New = Saturate(ApplyBaseHedge(Which, Y, Value));
    return New != Y ? std::max(New, 0.0) : Y;
}

// Contrast intensification of one degree. Degrees of 1 and above stay, as under
// bfhPower: the classic formula is meant for [0, 1], and on Y > 1 it would take a
// fractional power of a negative number. The result is kept in [0, 1], which only
// matters for exponents the named hedges never use (0 or below).
TFzyFloat Contrast(TFzyFloat Y, TFzyFloat Value) {
    if (Y >= 1 || (Value < 1 && Y <= 0)) return Y;
    if (Y < 0.5) return std::clamp(Value * std::pow(Y, Value), 0.0, 1.0);
    return std::clamp(1 - Value * std::pow(1 - Y, Value), 0.0, 1.0);
}

// Intensify names the set after its base hedge, which a named hedge renames at once. Only
// a handler could see that name in between: a set of this very class whose changes reach no
// handler, and whose points are in no bulk update of the caller's (which would keep the
// in-between expression for the named hedge to build on), skips it. Nobody watches a set
// outside any collection, nor one of a plain variable whose component has no handler.
bool IntensifiesUnwatched(const TFuzzySet& Set) {
    return typeid(Set) == typeid(TFuzzySet) && Set.GetValues().UpdateCount() == 0 &&
           detail::SetsUnobserved(Set.GetCollection());
}

// Intensify's points without its naming: resampled, then every degree strictly between 0
// and 1 raised to Value, exactly as the base hedge bfhPower on Y sets them.
void IntensifyDegrees(TFuzzySetValues& Points, TFzyFloat Value) {
    const TUpdateGuard Update(Points);
    Points.Expand(HedgePoints);
    for (TFuzzySetValue* Point : Points) {
        const TFzyFloat Y = Point->GetY();
        if (Y > 0 && Y < 1) Point->SetY(Saturate(ApplyBaseHedge(bfhPower, Y, Value)));
    }
}

void Complement(TFuzzySetValues& Points) {
    const TUpdateGuard Update(Points);
    for (TFuzzySetValue* Point : Points) Point->SetY(1 - Point->GetY());
}

// fhAbove (Above true) and fhBelow: zero up to (from) the peak, complement beyond it.
// The scan stops at the first degree of exactly 1, so a plateau at 1 cuts at its
// near end; among equal lower maxima the far one wins.
void CutAtPeak(TFuzzySetValues& Points, bool Above) {
    const int Count = Points.Count();
    int Peak = -1;
    TFzyFloat Max = 0;
    for (int Step = 0; Step < Count && Max != 1.0; ++Step) {
        const int Index = Above ? Step : Count - 1 - Step;
        const TFzyFloat Y = Points.GetItem(Index)->GetY();
        if (Y >= Max) {
            Peak = Index;
            Max = Y;
        }
    }
    const TUpdateGuard Update(Points);
    for (int Index = 0; Index < Count; ++Index) {
        TFuzzySetValue* Point = Points.GetItem(Index);
        const bool Cut = Above ? Index <= Peak : Index >= Peak;
        Point->SetY(Cut ? 0.0 : 1 - Point->GetY());
    }
}

// A copy of Set, of the base class, in Set's collection; the caller frees it.
TOwned<TFuzzySet> TemporaryCopy(const TFuzzySet& Set) {
    TOwned<TFuzzySet> Copy(TFuzzySetClass::Of<TFuzzySet>().Create(Set.GetCollection()));
    Copy->Assign(Set);
    return Copy;
}

// fhSlightly: positively (normalize (plus S and not very S)).
void Slightly(TFuzzySet& Set) {
    // The same error the normalisation below would raise, before any temporary exists.
    RequirePoints(Set.GetValues(), "Get Maximum Y Value");
    // The temporaries report to the collection, whose bulk update keeps their
    // comings and goings to one report.
    std::optional<TUpdateGuard<TFuzzySets>> Update;
    if (TFuzzySets* Sets = Set.GetCollection()) Update.emplace(*Sets);
    const TOwned<TFuzzySet> NotVery = TemporaryCopy(Set);
    NotVery->Hedge(fhVery)->Hedge(fhNot);
    const TOwned<TFuzzySet> Plus = TemporaryCopy(Set);
    Plus->Hedge(fhPlus);
    const TOwned<TFuzzySet> Result = Plus->Intersection(*NotVery, foZadeh);
    Result->Hedge(fhNormalize)->Hedge(fhPositively);
    Set.GetValues().Assign(Result->GetValues());
}

// X of the single point of a constant result: the source's first X, which lies in
// the range; for a source without points 0, which the point list clamps into the
// range as it does for a default first point.
TFzyFloat AnchorX(const TFuzzySet& Source) {
    const TFuzzySetValues& Points = Source.GetValues();
    return Points.Count() > 0 ? Points.First()->GetX() : 0.0;
}

// Whether a draft can take Which: the hedges that only reshape the degrees of a copy.
bool DraftsHedge(TFuzzyHedge Which) noexcept {
    switch (Which) {
        case fhNot:
        case fhSomewhat:
        case fhMoreOrLess:
        case fhGreatly:
        case fhPlus:
        case fhVery:
        case fhExtremely: return true;
        default: return false;
    }
}

// A degree as SetY stores it: unchanged when equal, never below 0.
TFzyFloat SetDegree(TFzyFloat Old, TFzyFloat New) noexcept { return New == Old ? Old : std::max(New, 0.0); }

// The clean-up a point list runs when its bulk update closes, for points held by value: they
// are in order (else false, for the list's own sort to handle), and equal neighbours and every
// fifth point of a vertical run go. On a list whose changes raised no flag, it finds nothing.
bool CleanUp(detail::TPlainPoints& List) {
    const std::vector<detail::TPlainPoint>& Points = List.Items();
    const auto ByX = [](const detail::TPlainPoint& A, const detail::TPlainPoint& B) { return A.X < B.X; };
    if (!std::is_sorted(Points.begin(), Points.end(), ByX)) return false;
    List.RemoveDuplicateRuns();
    return true;
}

}  // namespace

// ---- Named hedges ---------------------------------------------------------------------------

TFuzzySet* TFuzzySet::Hedge(TFuzzyHedge Which) {
    const std::string NewName = CreateFuzzyName(Which, GetName());
    const TFzyFloat Modifier = HedgeModifiers[Which];
    switch (Which) {
        case fhNot: Complement(GetValues()); break;
        case fhSomewhat:
        case fhMoreOrLess:
        case fhGreatly:
        case fhPlus:
        case fhVery:
        case fhExtremely:
            if (IntensifiesUnwatched(*this))
                IntensifyDegrees(GetValues(), Modifier);
            else
                Intensify(HedgePoints, Modifier);
            break;
        case fhAbove: CutAtPeak(GetValues(), true); break;
        case fhBelow: CutAtPeak(GetValues(), false); break;
        case fhSlightly: Slightly(*this); break;
        case fhNormalize: Normalize(); break;
        case fhAbout:
        case fhVicinity:
        case fhClose:
        case fhNear:
        case fhNeighboring: FuzzyApproximation(HedgePoints, Modifier); break;
        case fhPositively:
        case fhAbsolutely:
        case fhDefinitely:
        case fhGenerally: FuzzyContrast(HedgePoints, Modifier); break;
    }
    SetName(NewName);
    // Reshaping normally clears the expression (its bulk report does); it survives
    // inside an outer bulk update and when normalize finds nothing to scale.
    if (FExpression.empty())
        AppendFuzzyExpression(FExpression, NewName);
    else
        FExpression = CreateFuzzyName(Which, FormatFuzzyExpression(FExpression));
    return this;
}

// The copy as Clone makes it (each point added, so clamped into the range, and the list
// cleaned up) and then as Hedge reshapes it: "not" complements each degree, an intensifier resamples and
// raises the degrees inside (0, 1) as IntensifyDegrees does. Its bulk report clears the expression, which
// Hedge then writes from the new name.
bool TFuzzySetDraft::AssignHedged(const TFuzzySet& Source, TFuzzyHedge Which, TFuzzySets& Sets) {
    const TFuzzySetValues& From = *Source.FValues;
    if (!DraftsHedge(Which) || !Source.IsPlainSet() || Source.GetCollection() != &Sets ||
        Sets.GetVariable() == nullptr || !From.IsSorted() || !From.IsDuplicatesRemoved() ||
        !detail::SetsUnobserved(&Sets))
        return false;
    TFzyFloat Lower = 0;
    TFzyFloat Upper = 0;
    Source.GetXBounds(Lower, Upper);
    std::vector<detail::TPlainPoint>& Points = FCopy->Points.Items();
    Points.clear();
    for (const TFuzzySetValue* Point : From) {
        const TFzyFloat X = Point->GetX();
        const TFzyFloat Y = Point->GetY();
        Points.push_back({X < Lower ? Lower : (X > Upper ? Upper : X), Y < 0 ? 0.0 : Y});
    }
    if (!CleanUp(FCopy->Points)) return false;
    if (Which == fhNot) {
        for (detail::TPlainPoint& Point : Points) Point.Y = SetDegree(Point.Y, 1 - Point.Y);
    } else {
        const TFzyFloat Modifier = HedgeModifiers[Which];
        detail::ExpandPlain(Points, HedgePoints, Lower, Upper);
        for (detail::TPlainPoint& Point : Points)
            if (Point.Y > 0 && Point.Y < 1)
                Point.Y = SetDegree(Point.Y, Saturate(ApplyBaseHedge(bfhPower, Point.Y, Modifier)));
    }
    if (!CleanUp(FCopy->Points)) return false;
    Sets.SkipID();  // the copy's
    Source.CatchUp();
    FCopy->Name.clear();
    AppendFuzzyName(FCopy->Name, Which, Source.FName);
    TFuzzySet::CheckName(FCopy->Name);
    FCopy->Expression.clear();
    AppendFuzzyExpression(FCopy->Expression, FCopy->Name);
    return true;
}

// ---- Base hedges ------------------------------------------------------------------------------

TFuzzySet* TFuzzySet::Hedge(TBaseFuzzyHedge Which, TFzyFloat Value, bool AxisFlag) {
    if (Which == bfhDivide && Value == 0) throw EFzyException(SArgumentOutOfRange, {});
    // Built from the expression the set had before: the bulk report below clears it,
    // which would leave nothing but the symbol.
    const std::string Previous = GetExpression();
    TFuzzySetValues& Points = GetValues();
    {
        const TUpdateGuard Update(Points);
        for (int Index = 0; Index < Points.Count(); ++Index) {
            TFuzzySetValue* Point = Points.GetItem(Index);
            if (AxisFlag) {
                const TFzyFloat Y = Point->GetY();
                if (Which != bfhPower || (Y > 0 && Y < 1))
                    Point->SetY(Saturate(ApplyBaseHedge(Which, Y, Value)));
            } else {
                const TFzyFloat X = Point->GetX();
                if (Which != bfhPower || X > 0) Point->SetX(Saturate(ApplyBaseHedge(Which, X, Value)));
            }
        }
    }
    std::string Symbol(BaseHedgeNames[Which]);
    if (!AxisFlag) Symbol += 'X';
    std::string& Name = DerivedNameBuffer();
    if (IsPlainSet())
        AppendFuzzyName(Name, FName, Symbol, Value);
    else
        AppendFuzzyName(Name, GetName(), Symbol, Value);
    SetDerivedName(Name);
    FExpression.clear();  // as SetExpression would, written in place
    AppendFuzzyName(FExpression, Which, AxisFlag, Previous);
    return this;
}

// Each point as Clone copies it (Y at least 0) and as SetY then stores the hedged Y. The
// copy of a clean list needs no clean-up; the hedged list gets the one the second step's
// closing report gives (hedged Ys of a vertical step may meet), and the names are Hedge's.
TOwned<TFuzzySet> TFuzzySet::HedgedCopyInto(TCollection* Collection, TBaseFuzzyHedge Which,
                                            TFzyFloat Value) const {
    const TFuzzySetValues& Source = *FValues;
    if (!Source.IsSorted() || !Source.IsDuplicatesRemoved() || Which == bfhDivide) {
        TOwned<TFuzzySet> Copy = CloneInto(Collection);
        Copy->Hedge(Which, Value, true);  // also raises on a division by zero
        return Copy;
    }
    CatchUp();
    TOwned<TFuzzySet> Copy = NewRecycled(Collection);
    Copy->FName = FName;
    Copy->FInflectionPoint = FInflectionPoint;
    {
        TFuzzySetValues& Points = *Copy->FValues;
        const TFuzzySetValues::TBulkBuild Build(Points);
        Points.Reserve(Source.Count());
        for (const TFuzzySetValue* Point : Source)
            Points.Add(Point->GetX(), HedgedY(Which, Point->GetY(), Value));
    }
    std::string& Name = DerivedNameBuffer();
    AppendFuzzyName(Name, FName, BaseHedgeNames[Which], Value);
    Copy->SetDerivedName(Name);
    Copy->FExpression.clear();
    AppendFuzzyName(Copy->FExpression, Which, true, FExpression);
    return Copy;
}

bool TFuzzySet::HedgeInto(detail::TSetCopy& Copy, TBaseFuzzyHedge Which, TFzyFloat Value) const {
    if (!HedgePointsInto(Copy, Which, Value)) return false;
    NameHedgedCopy(Copy, Which, Value);
    return true;
}

bool TFuzzySet::HedgePointsInto(detail::TSetCopy& Copy, TBaseFuzzyHedge Which, TFzyFloat Value) const {
    const TFuzzySetValues& Source = *FValues;
    if (!Source.IsSorted() || !Source.IsDuplicatesRemoved() || Which == bfhDivide) return false;
    detail::TPlainPoints& Points = Copy.Points;
    Points.Clear();
    bool Step = false;
    for (int Index = 0; Index < Source.Count(); ++Index) {
        const TFuzzySetValue* Point = Source.PointAt(Index);
        const TFzyFloat X = Point->GetX();
        Step = Step || (Index > 0 && FloatEquals(X, Points.PointAt(Index - 1)->GetX()));
        Points.Add(X, HedgedY(Which, Point->GetY(), Value));
    }
    // The hedged points of a step may meet: the clean-up the copy's list would run.
    if (Step) Points.RemoveDuplicateRuns();
    return true;
}

void TFuzzySet::NameHedgedCopy(detail::TSetCopy& Copy, TBaseFuzzyHedge Which, TFzyFloat Value) const {
    CatchUp();
    NameHedged(Copy.Name, Copy.Expression, FName, FExpression, Which, Value);
}

void TFuzzySet::NameHedged(std::string& Name, std::string& Expression, std::string_view SourceName,
                           std::string_view SourceExpression, TBaseFuzzyHedge Which, TFzyFloat Value) {
    Name.clear();
    AppendFuzzyName(Name, SourceName, BaseHedgeNames[Which], Value);
    Expression.clear();
    AppendFuzzyName(Expression, Which, true, SourceExpression);
}

// ---- Reshaping families -----------------------------------------------------------------------

void TFuzzySet::Intensify(int N, TFzyFloat Value) {
    TFuzzySetValues& Points = GetValues();
    const TUpdateGuard Update(Points);
    Points.Expand(N);
    Hedge(bfhPower, Value, true);
}

void TFuzzySet::FuzzyContrast(int N, TFzyFloat Value) {
    TFuzzySetValues& Points = GetValues();
    const TUpdateGuard Update(Points);
    Points.Expand(N);
    for (TFuzzySetValue* Point : Points) Point->SetY(Contrast(Point->GetY(), Value));
}

void TFuzzySet::FuzzyApproximation(int N, TFzyFloat Value) {
    TFuzzySetValues& Points = GetValues();
    RequirePoints(Points, "Fuzzy Approximation");
    const TUpdateGuard Update(Points);
    Points.Expand(N);
    const TFzyFloat Upper = GetXRange(0);
    const TFzyFloat Lower = GetXRange(1);
    const TFzyFloat Width = Points.Last()->GetX() - Points.First()->GetX();
    // A range without width holds only sets without width; the guard keeps the ratio finite anyway.
    const TFzyFloat Ratio = Width == 0 || !(Upper > Lower) ? NarrowWidthRatio : Width / (Upper - Lower);

    // Free-standing, so it takes the range's bounds as given.
    const TOwned<TFuzzySetValues> Spread = Make<TFuzzySetValues>();
    {
        const TUpdateGuard SpreadUpdate(*Spread);
        Spread->Add(Lower, 0.0);
        Spread->Add(Upper, 0.0);
    }
    Spread->Expand(ApproximationPoints);
    {
        const TUpdateGuard SpreadUpdate(*Spread);
        for (const TFuzzySetValue* Point : Points) {
            if (Point->GetY() <= 0) continue;
            for (TFuzzySetValue* Target : *Spread) {
                const TFzyFloat Distance = std::abs(Target->GetX() - Point->GetX()) * Ratio;
                const TFzyFloat Y = Point->GetY() / (1 + std::pow(Distance, Value));
                if (Y > Target->GetY()) Target->SetY(Y);
            }
        }
    }
    Points.Assign(*Spread);
    Normalize();
}

TFuzzySet* TFuzzySet::Normalize() {
    TFuzzySetValues& Points = GetValues();
    const TFzyFloat Max = Points.GetMaxValue();
    if (Max == 0) return this;
    // Dividing makes the top degree exactly 1, and cannot overflow the way a
    // reciprocal of a tiny maximum would.
    {
        const TUpdateGuard Update(Points);
        for (TFuzzySetValue* Point : Points) Point->SetY(Point->GetY() / Max);
    }
    return this;
}

// ---- Cut-offs ------------------------------------------------------------------------------------

TOwned<TFuzzySet> TFuzzySet::AlphaCutoff(TFzyFloat Alpha, bool Strict) {
    Alpha = std::clamp(Alpha, 0.0, 1.0);
    const bool Whole = Strict && Alpha == 0;
    const bool Nothing = Strict && Alpha == 1;
    const TFuzzySetValues& Source = GetValues();
    if (!Whole && !Nothing) RequirePoints(Source, "Alpha Cutoff");

    TOwned<TFuzzySet> Result = NewSibling();
    Result->SetName(GetName());
    TFuzzySetValues& Points = Result->GetValues();
    const auto Kept = [&](TFzyFloat Y) { return Y > Alpha || (!Strict && Y == Alpha); };
    {
        const TUpdateGuard Update(Points);
        if (Whole) {
            Points.Assign(Source);
        } else if (Nothing) {
            Points.Add(AnchorX(*this), 0.0);
        } else {
            const TFuzzySetValue* First = Source.First();
            Points.Add(First->GetX(), Kept(First->GetY()) ? First->GetY() : 0.0);
            for (int Index = 1; Index < Source.Count(); ++Index) {
                const TFuzzySetValue* Previous = Source.GetItem(Index - 1);
                const TFuzzySetValue* Current = Source.GetItem(Index);
                const TFzyFloat Y0 = Previous->GetY();
                const TFzyFloat Y1 = Current->GetY();
                const bool Rises = Strict ? Y0 <= Alpha && Alpha < Y1 : Y0 < Alpha && Alpha <= Y1;
                const bool Falls = Strict ? Y1 <= Alpha && Alpha < Y0 : Y1 < Alpha && Alpha <= Y0;
                if (Rises || Falls) {
                    const TFzyFloat X = InterpolateX(Previous->GetX(), Y0, Current->GetX(), Y1, Alpha);
                    // A vertical edge at the crossing, in the order the curve walks it.
                    Points.Add(X, Rises ? 0.0 : Alpha);
                    Points.Add(X, Rises ? Alpha : 0.0);
                }
                if (Kept(Y1)) Points.Add(Current->GetX(), Y1);
            }
        }
    }  // the bracket closes (and the list is cleaned) before the result is handed out
    return Result;
}

TOwned<TFuzzySet> TFuzzySet::Cutoff(TFzyFloat Value, bool IsUnion) {
    const std::string_view Keyword =
        IsUnion ? FuzzyUnionKeywords[foZadeh] : FuzzyIntersectionKeywords[foZadeh];
    const std::string Name = CreateFuzzyName(GetName(), Keyword, Value);  // the value as given
    Value = std::clamp(Value, 0.0, 1.0);
    const bool Whole = IsUnion ? Value == 0 : Value == 1;
    const bool Constant = IsUnion ? Value == 1 : Value == 0;
    const TFuzzySetValues& Source = GetValues();
    if (!Whole && !Constant) RequirePoints(Source, "Cutoff");

    TOwned<TFuzzySet> Result = NewSibling();
    Result->SetName(Name);
    TFuzzySetValues& Points = Result->GetValues();
    const auto Kept = [&](TFzyFloat Y) { return IsUnion ? Y >= Value : Y <= Value; };
    {
        const TUpdateGuard Update(Points);
        if (Whole) {
            Points.Assign(Source);
        } else if (Constant) {
            Points.Add(AnchorX(*this), Value);
        } else {
            const TFuzzySetValue* First = Source.First();
            if (Kept(First->GetY())) Points.Add(First->GetX(), First->GetY());
            for (int Index = 1; Index < Source.Count(); ++Index) {
                const TFuzzySetValue* Previous = Source.GetItem(Index - 1);
                const TFuzzySetValue* Current = Source.GetItem(Index);
                const TFzyFloat Y0 = Previous->GetY();
                const TFzyFloat Y1 = Current->GetY();
                if ((Y0 < Value && Value < Y1) || (Y0 > Value && Value > Y1))
                    Points.Add(InterpolateX(Previous->GetX(), Y0, Current->GetX(), Y1, Value), Value);
                if (Kept(Y1)) Points.Add(Current->GetX(), Y1);
            }
            // Every point lay on the far side of Value: the result is the constant itself.
            if (Points.Count() == 0) Points.Add(AnchorX(*this), Value);
        }
    }
    if (!Whole && !Constant && !GetExpression().empty())
        Result->SetExpression(GetExpression() + " " + std::string(Keyword) + " " +
                              Format(FuzzyFormatStr, {Value}));
    return Result;
}

}  // namespace fzl
