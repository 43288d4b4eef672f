#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <typeinfo>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySetValues.h>
#include <fzl/support/BlockCache.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/DuplicatePoints.h"
#include "internal/PointBuilder.h"
#include "internal/SetCopy.h"

namespace fzl {
namespace {

// Ordering with the fuzzy tolerance, judged as FloatEquals judges equality.
bool Above(TFzyFloat A, TFzyFloat B) noexcept {  // A - tol > B
    return A > B && !FloatEquals(A, B);
}
bool Below(TFzyFloat A, TFzyFloat B) noexcept {  // A + tol < B
    return A < B && !FloatEquals(A, B);
}

TFzyFloat Interpolate(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2, TFzyFloat X) noexcept {
    // Both neighbours on one X (a vertical step): the step's upper degree, as membership reads it.
    if (X2 == X1) return std::max(Y1, Y2);
    return LinePoint(X1, Y1, X2, Y2, X);
}

// Expand's plan: of Remaining new points, each segment [I, I + 1] that spans more than the
// tolerance gets its share (what is left spread evenly over the segments still to come),
// handed to Place(I, Share). XAt(I) is point I's X.
template <class TXAt, class TPlace>
void ShareOutSegments(int Count, TXAt XAt, int Remaining, int Segments, TPlace Place) {
    for (int I = 0; I + 1 < Count; ++I) {
        if (!Above(XAt(I + 1), XAt(I))) continue;
        const int Share = static_cast<int>(std::ceil(static_cast<double>(Remaining) / Segments));
        --Segments;
        Remaining -= Share;
        Place(I, Share);
    }
}

// Share points at equal steps from (X1, Y1) towards (X2, Y2), each read on the line from the
// point before it. Add(X, Y, PreviousX) appends one (X as Clamp placed it) and returns the
// degree it stored.
template <class TClamp, class TAdd>
void SpreadOnSegment(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2, int Share, TClamp Clamp,
                     TAdd Add) {
    const TFzyFloat Step = (X2 - X1) / (Share + 1);
    TFzyFloat PreviousX = X1;
    TFzyFloat PreviousY = Y1;
    for (int K = 0; K < Share; ++K) {
        const TFzyFloat X = Clamp(PreviousX + Step);
        const TFzyFloat Y = Interpolate(PreviousX, PreviousY, X2, Y2, X);
        PreviousY = Add(X, Y, PreviousX);
        PreviousX = X;
    }
}

// Points of the base class come from a per-thread block cache; descendants
// with fields of their own are of another size, and the heap serves them.
using TPointCache = Detail::TBlockCache<sizeof(TFuzzySetValue), 4096>;

}  // namespace

TFzyFloat detail::LinePointFromHalves(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2,
                                      TFzyFloat X) noexcept {
    const bool FiniteInputs =
        std::isfinite(X1) && std::isfinite(Y1) && std::isfinite(X2) && std::isfinite(Y2) && std::isfinite(X);
    if (!FiniteInputs) return Y1 + (Y2 - Y1) * (X - X1) / (X2 - X1);  // nothing to save
    const TFzyFloat T = (X * 0.5 - X1 * 0.5) / (X2 * 0.5 - X1 * 0.5);
    if (T >= 0 && T <= 1) return std::clamp(Y1 * (1 - T) + Y2 * T, std::min(Y1, Y2), std::max(Y1, Y2));
    return Y1 + (Y2 * 0.5 - Y1 * 0.5) * T * 2;  // beyond the ends: infinite when the line leaves the doubles
}

// ---- TFuzzySetValue --------------------------------------------------------

// NOLINTNEXTLINE(misc-new-delete-overloads): paired with the sized operator delete below
void* TFuzzySetValue::operator new(std::size_t Size) {
    return Size == sizeof(TFuzzySetValue) ? TPointCache::Allocate() : ::operator new(Size);
}

void TFuzzySetValue::operator delete(void* Block, std::size_t Size) noexcept {
    if (Size == sizeof(TFuzzySetValue))
        TPointCache::Release(Block);
    else
        ::operator delete(Block);
}

TFuzzySetValue::TFuzzySetValue(TCollection* Collection) {
    if (auto* List = DownCast<TFuzzySetValues>(Collection)) {
        FX = List->ClampX(List->Count() > 0 ? List->Last()->FX + 1.0 : 0.0);
    }
}

void TFuzzySetValue::SetCollection(TCollection* Value) {
    // Points live only in point lists: their setters rely on it.
    RequireCollection<TFuzzySetValues>(*this, Value);
    TCollectionItem::SetCollection(Value);
}

TFuzzySetValues* TFuzzySetValue::GetCollection() const noexcept {
    return static_cast<TFuzzySetValues*>(TCollectionItem::GetCollection());
}

void TFuzzySetValue::SetX(TFzyFloat Value) {
    if (Value == FX) return;
    if (TFuzzySetValues* List = GetCollection()) Value = List->ClampX(Value);
    FX = Value;
    Report({utX});
}

void TFuzzySetValue::RestoreX(TFuzzySetValue& Point, TFzyFloat Value) {
    if (Value == Point.FX) return;
    Point.FX = Value;
    Point.Report({utX});
}

void TFuzzySetValue::DefineProperties(TPropertyList& Properties) {
    TCollectionItem::DefineProperties(Properties);
    // No default: a new point starts one past the list's last X, not at 0.
    Properties.FloatStored<&TFuzzySetValue::GetX, &TFuzzySetValue::RestoreX>("X", this, 0.0);
    Properties.Float<&TFuzzySetValue::GetY, &TFuzzySetValue::SetY>("Y", this, 0.0);
}

void TFuzzySetValue::SetY(TFzyFloat Value) {
    if (Value == FY) return;
    FY = std::max(Value, 0.0);
    Report({utY});
}

void TFuzzySetValue::SetValue(TFzyFloat X, TFzyFloat Y) {
    if (TFuzzySetValues* List = GetCollection()) X = List->ClampX(X);
    FX = X;
    FY = std::max(Y, 0.0);
    Report({utX, utY});
}

void TFuzzySetValue::Report(TXYUpdateTypes Types) {
    TFuzzySetValues* List = GetCollection();
    // Inside a bulk update the report would only keep the list's flags.
    if (List != nullptr && List->InPlainBulkUpdate()) {
        List->UpdateFlags(this, Types);
        return;
    }
    if (List != nullptr) List->UpdateValue(this, Types);
    Changed(false);
}

bool TFuzzySetValue::Equals(const TFuzzySetValue& Other) const noexcept {
    return FloatEquals(FX, Other.FX) && FloatEquals(FY, Other.FY);
}

void TFuzzySetValue::Assign(const TPersistent& Source) {
    if (const auto* Point = DownCast<const TFuzzySetValue>(&Source)) {
        SetValue(Point->FX, Point->FY);
        return;
    }
    TCollectionItem::Assign(Source);
}

// ---- TFuzzySetValues: construction and access -------------------------------

TFuzzySetValues::TFuzzySetValues(TFuzzySetValuesOwner* FuzzySet)
    : TTypedCollection(TCollectionItemClass(TItemClass<TFuzzySetValue>::Of<TFuzzySetValue>()), nullptr),
      FFuzzySet(FuzzySet) {}

TPersistent* TFuzzySetValues::GetOwner() const { return dynamic_cast<TPersistent*>(FFuzzySet); }

void TFuzzySetValues::AfterConstruction() {
    TTypedCollection::AfterConstruction();
    FPlain = typeid(*this) == typeid(TFuzzySetValues);
    FBaseNotify = FPlain;
}

// The point is made at its place and joins unreported: it never exists at a
// default place, so it cannot be taken for a duplicate of a different point.
// Then it is placed and reported as SetValue would.
TFuzzySetValue* TFuzzySetValues::AddPoint(TFzyFloat X, TFzyFloat Y) {
    if (InPlainBulkUpdate()) return AppendInBulk(ClampX(X), std::max(Y, 0.0));
    TFuzzySetValue* Point = static_cast<TFuzzySetValue*>(ItemClass().Create(nullptr));
    Point->FX = ClampX(X);
    Point->FY = std::max(Y, 0.0);
    {
        const TSilentUpdate Silent(*this);
        Point->TCollectionItem::SetCollection(this);
    }
    Point->Report({utX, utY});
    return Point;
}

// What Add does inside a bulk update, in one step: the point is made at its place (or a
// spare one is placed there), takes the next ID and joins; of the report, only the flags
// remain to be kept, and with nothing after the point only its predecessor matters.
inline TFuzzySetValue* TFuzzySetValues::AppendInBulk(TFzyFloat X, TFzyFloat Y) {
    const int Previous = Count() - 1;
    TFuzzySetValue* Point = AppendPoint(X, Y);
    if (Previous >= 0) NoteAppended(X, XAt(Previous));
    return Point;
}

inline TFuzzySetValue* TFuzzySetValues::AppendPoint(TFzyFloat X, TFzyFloat Y) {
    // Room for every point the list has held, so that ResetForReuse can keep them all.
    const std::size_t Needed = RawItems().size() + 1;
    if (FSpares.capacity() < Needed) FSpares.reserve(std::max(Needed, RawItems().capacity()));
    TFuzzySetValue* Point = nullptr;
    if (!FSpares.empty()) {
        Point = FSpares.back();
        FSpares.pop_back();
    } else {
        Point = new TFuzzySetValue();
    }
    Point->FX = X;
    Point->FY = Y;
    AppendSilently(Point);
    return Point;
}

// ---- Bulk building ----------------------------------------------------------------------

void detail::TPointBuilder::StartFor(const TFuzzySetValues& Points, std::size_t Capacity) {
    constexpr TFzyFloat Unbounded = std::numeric_limits<TFzyFloat>::infinity();
    if (Points.FBoundsKnown)
        Start(Points.FLower, Points.FUpper, Capacity);
    else
        Start(-Unbounded, Unbounded, Capacity);  // a free list clamps nothing
}

void detail::TPointBuilder::MoveInto(TFuzzySetValues& Points) const {
    Points.Reserve(Count());
    FinishInto(Points, 0);
}

void detail::TPointBuilder::RebuildInto(TFuzzySetValues& Points) const {
    std::vector<TCollectionItem*>& Items = Points.MutableItems();
    const bool OwnClass = std::all_of(Items.begin(), Items.end(), [](const TCollectionItem* Item) {
        return typeid(*Item) == typeid(TFuzzySetValue);
    });
    if (!OwnClass) {
        // A point of another class goes, as ResetForReuse lets it.
        Points.ResetForReuse();
        MoveInto(Points);
        return;
    }
    const std::size_t Kept = std::min(Items.size(), FState.FCount);
    for (std::size_t Index = Kept; Index < Items.size(); ++Index) {
        TFuzzySetValues::DetachSilently(Items[Index]);
        Points.KeepSpare(Items[Index]);
    }
    Items.resize(Kept);
    Points.ResetEmpty();
    FinishInto(Points, Kept);
}

void detail::TPointBuilder::FinishInto(TFuzzySetValues& Points, std::size_t Kept) const {
    const std::vector<TCollectionItem*>& Items = Points.RawItems();
    int Next = 0;  // the place of the next point added
    for (std::size_t Index = 0; Index < FState.FCount; ++Index) {
        const TBuiltPoint& Built = FStorage[Index];
        Points.SkipIDs(Built.Ordinal - Next);
        Next = Built.Ordinal + 1;
        if (Index < Kept) {
            auto* Point = static_cast<TFuzzySetValue*>(Items[Index]);
            TFuzzySetValues::PlaceSilently(*Point, Built.X, Built.Y);
            Points.RenewID(*Point);
        } else {
            Points.AppendPoint(Built.X, Built.Y);
        }
    }
    Points.SkipIDs(FState.FAdded - Next);
    Points.FSorted = FState.FSorted;
    Points.FDuplicatesRemoved = FState.FDuplicatesRemoved;
}

TFuzzySetValues::TBulkBuild::TBulkBuild(TFuzzySetValues& Points)
    : FUpdate(Points), FPoints(Points), FHadBounds(Points.FBoundsKnown) {
    if (FHadBounds || Points.FFuzzySet == nullptr) return;
    Points.FFuzzySet->GetXBounds(Points.FLower, Points.FUpper);
    Points.FBoundsKnown = true;
}

// NOLINTNEXTLINE(bugprone-exception-escape): the closing report may throw, as TUpdateGuard's
TFuzzySetValues::TBulkBuild::~TBulkBuild() noexcept(false) { FPoints.FBoundsKnown = FHadBounds; }

void TFuzzySetValues::FreeSpares() noexcept {
    for (TFuzzySetValue* Point : FSpares) Point->Free();
    FSpares.clear();
}

void TFuzzySetValues::Assign(const TPersistent& Source) {
    const auto* Other = DownCast<const TFuzzySetValues>(&Source);
    if (Other == nullptr || Other == this) {
        TTypedCollection::Assign(Source);
        return;
    }
    AssignPoints(*Other);
}

void TFuzzySetValues::AssignPoints(const TFuzzySetValues& Other) {
    if (&Other == this) return;
    const TBulkBuild Build(*this);
    Clear();
    Reserve(Other.Count());
    for (const TFuzzySetValue* Point : Other) Add(Point->FX, Point->FY);
}

inline TFzyFloat TFuzzySetValues::XAt(int Index) const noexcept {
    return static_cast<const TFuzzySetValue*>(RawItems()[static_cast<std::size_t>(Index)])->FX;
}

inline TFzyFloat TFuzzySetValues::ClampX(TFzyFloat X) const {
    if (FBoundsKnown) return X < FLower ? FLower : (X > FUpper ? FUpper : X);
    if (FFuzzySet == nullptr) return X;
    TFzyFloat Lower = 0;
    TFzyFloat Upper = 0;
    FFuzzySet->GetXBounds(Lower, Upper);
    return X < Lower ? Lower : (X > Upper ? Upper : X);
}

void TFuzzySetValues::Append(const TFuzzySetValues& Source, int Start, int Count) {
    const int SourceCount = Source.Count();
    if (SourceCount == 0) return;
    Start = std::clamp(Start, 0, SourceCount - 1);
    Count = std::min(Count, SourceCount - Start);
    // Copy first: Source may be this very list.
    std::vector<std::pair<TFzyFloat, TFzyFloat>> Points;
    for (int Index = Start; Index < Start + Count; ++Index)
        Points.emplace_back(Source.XAt(Index), Source.GetItem(Index)->FY);
    for (const auto& [X, Y] : Points) Add()->SetValue(X, Y);
}

// ---- Lookups and statistics ---------------------------------------------------

int TFuzzySetValues::GetXCount(TFzyFloat X) const noexcept {
    return static_cast<int>(std::count_if(
        RawItems().begin(), RawItems().end(),
        [X](const TCollectionItem* Item) { return static_cast<const TFuzzySetValue*>(Item)->FX == X; }));
}

int TFuzzySetValues::SkipX(int Index, TFzyFloat X, int Direction) const noexcept {
    if (Direction == 0) Direction = 1;
    for (int I = Index + Direction; I >= 0 && I < Count(); I += Direction)
        if (!FloatEquals(XAt(I), X)) return I;
    return -1;
}

int TFuzzySetValues::SkipY(int Index, TFzyFloat Y, int Direction) const noexcept {
    if (Direction == 0) Direction = 1;
    for (int I = Index + Direction; I >= 0 && I < Count(); I += Direction)
        if (!FloatEquals(GetItem(I)->FY, Y)) return I;
    return -1;
}

void TFuzzySetValues::RequirePoints(const char* Operation) const {
    if (Count() == 0) throw EFzyException(SFuzzySetEmpty, {Operation});
}

TFzyFloat TFuzzySetValues::GetAvgValue() const {
    RequirePoints("Get Average Y Value");
    TFzyFloat Sum = 0;
    for (const TFuzzySetValue* Point : *this) Sum += Point->FY;
    return Sum / Count();
}

TFzyFloat TFuzzySetValues::GetMaxValue() const {
    RequirePoints("Get Maximum Y Value");
    TFzyFloat Result = First()->FY;
    for (int I = 1; I < Count() && Result != 1.0; ++I) Result = std::max(Result, GetItem(I)->FY);
    return Result;
}

TFzyFloat TFuzzySetValues::GetMinValue() const {
    RequirePoints("Get Minimum Y Value");
    TFzyFloat Result = First()->FY;
    for (int I = 1; I < Count() && Result != 0.0; ++I) Result = std::min(Result, GetItem(I)->FY);
    return Result;
}

void TFuzzySetValues::GetStatValues(TFzyFloat& Average, TFzyFloat& Maximum, TFzyFloat& Minimum) const {
    RequirePoints("Get Statistics Values");
    TFzyFloat Sum = 0;
    TFzyFloat Max = 0;
    TFzyFloat Min = 1.0;
    for (const TFuzzySetValue* Point : *this) {
        Sum += Point->FY;
        Max = std::max(Max, Point->FY);
        Min = std::min(Min, Point->FY);
    }
    Average = Sum / Count();
    Maximum = Max;
    Minimum = Min;
}

// ---- Change reporting and clean-up ----------------------------------------------

void TFuzzySetValues::Update(TCollectionItem* Item) {
    TTypedCollection::Update(Item);
    FSorted = FSorted || Count() < 2;
    FDuplicatesRemoved = FDuplicatesRemoved || Count() < 2;
    if (Item == nullptr) CleanupPoints();
    if (FFuzzySet == nullptr) return;
    if (Item != nullptr)
        FFuzzySet->UpdateFuzzySetValue(static_cast<TFuzzySetValue*>(Item));
    else
        FFuzzySet->UpdateFuzzySetValues();
}

void TFuzzySetValues::BeforeDestruction() {
    DiscardItems();
    FreeSpares();
    TTypedCollection::BeforeDestruction();
}

// The points are detached before the first is kept or freed, as in DiscardItems. The
// spares' room grows with the point storage, so a list's own points always fit.
void TFuzzySetValues::ResetForReuse() noexcept {
    std::vector<TCollectionItem*>& Items = MutableItems();
    for (TCollectionItem* Item : Items) DetachSilently(Item);
    for (TCollectionItem* Item : Items) KeepSpare(Item);
    Items.clear();
    ResetEmpty();
    FSorted = true;
    FDuplicatesRemoved = true;
}

void TFuzzySetValues::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    TTypedCollection::Notify(Item, Action);
    if (Action != cnExtracting || !FDuplicatesRemoved) return;
    const int Index = Item->GetIndex();
    if (Index > 0 && Index + 1 < Count() && GetItem(Index - 1)->Equals(*GetItem(Index + 1)))
        FDuplicatesRemoved = false;
}

// Each works inside its own bracket and ends with one whole-list report.
void TFuzzySetValues::Sort() {
    if (FSorted) return;
    const TUpdateGuard Update(*this);
    const TSilentUpdate Silent(*this);
    SortPoints();
}

void TFuzzySetValues::RemoveDuplicates() {
    if (FDuplicatesRemoved) return;
    const TUpdateGuard Update(*this);
    const TSilentUpdate Silent(*this);
    RemoveDuplicatePoints();
}

void TFuzzySetValues::CleanupValues() {
    if (FSorted && FDuplicatesRemoved) return;
    const TUpdateGuard Update(*this);
    CleanupPoints();
}

// The flags are set before any bracket closes, so the closing report finds the
// list clean and does not repeat the work.
void TFuzzySetValues::CleanupPoints() {
    if (FSorted && FDuplicatesRemoved) return;
    const TSilentUpdate Silent(*this);
    if (!FSorted) SortPoints();
    if (!FDuplicatesRemoved) RemoveDuplicatePoints();
}

void TFuzzySetValues::SortPoints() {
    // In order already (exactly, so no later point is below an earlier one): nothing moves.
    const auto ByX = [](const TCollectionItem* A, const TCollectionItem* B) {
        return static_cast<const TFuzzySetValue*>(A)->FX < static_cast<const TFuzzySetValue*>(B)->FX;
    };
    if (std::is_sorted(RawItems().begin(), RawItems().end(), ByX)) {
        FSorted = true;
        return;
    }
    for (int I = 0; I < Count(); ++I)
        for (int J = I + 1; J < Count(); ++J)
            if (Below(XAt(J), XAt(I))) MoveItem(J, I);
    FSorted = true;
}

// With this class's Notify the list thins itself in one pass: its report of a leaving point
// has nothing to do while duplicates are still to be removed, so no point needs to leave alone.
void TFuzzySetValues::RemoveDuplicatePoints() {
    if (ThinsInOnePass())
        CompactDuplicatePoints();
    else
        detail::RemoveDuplicateRuns(*this, [this](int Index) { DeletePoint(Index); });
    FDuplicatesRemoved = true;
}

void TFuzzySetValues::CompactDuplicatePoints() {
    const auto X = [](const TCollectionItem* Item) { return static_cast<const TFuzzySetValue*>(Item)->FX; };
    const auto Y = [](const TCollectionItem* Item) { return static_cast<const TFuzzySetValue*>(Item)->FY; };
    std::vector<TCollectionItem*>& Items = MutableItems();
    const auto Drop = [this](TCollectionItem* Item) {
        DetachSilently(Item);
        KeepSpare(Item);  // detached: it finds no list to leave
    };
    const std::size_t Kept = detail::CompactDuplicateRuns(std::span(Items), X, Y, Drop);
    if (Kept == Items.size()) return;
    Items.resize(Kept);
    Renumber(0);
}

void TFuzzySetValues::DeletePoint(int Index) {
    const TSilentUpdate Silent(*this);
    Delete(Index);
}

void TFuzzySetValues::CheckStreamedPoint(const TFuzzySetValue& Point) {
    const int Index = Point.GetIndex();
    if (Index > 0) {
        const TFuzzySetValue& Previous = *GetItem(Index - 1);
        if (Below(Point.FX, Previous.FX)) throw EFzyException(SStreamedPointOutOfOrder);
        if (Point.Equals(Previous)) throw EFzyException(SStreamedPointRepeated);
    }
    // Runs on one X are kept as they come, however long: a list thinned by its clean-up
    // still holds four of every five.
    FSorted = true;
    FDuplicatesRemoved = true;
}

// ---- Placing a changed point ------------------------------------------------------

void TFuzzySetValues::UpdateFlags(const TFuzzySetValue* Value, TXYUpdateTypes Types) noexcept {
    const int Index = Value->GetIndex();
    const bool HasPrevious = Index > 0;
    const bool HasNext = Index < Count() - 1;
    if (FSorted && Types.Contains(utX) && Count() > 1) {
        const TFzyFloat Previous = HasPrevious ? XAt(Index - 1) : Value->FX;
        const TFzyFloat Next = HasNext ? XAt(Index + 1) : Value->FX;
        FSorted = !Below(Value->FX, Previous) && !Above(Value->FX, Next);
    }
    if (!FSorted) FDuplicatesRemoved = false;
    // Either coordinate can make a point equal to a neighbour (a new point given
    // its existing Y is one), so both kinds of change are checked. A point sharing
    // its X with a neighbour may also lengthen a vertical run past what the bulk
    // clean-up keeps, so that is enough to have the list looked at.
    if (FDuplicatesRemoved && Count() > 1 && !Types.Empty()) {
        if ((HasPrevious && FloatEquals(Value->FX, XAt(Index - 1))) ||
            (HasNext && FloatEquals(Value->FX, XAt(Index + 1))))
            FDuplicatesRemoved = false;
    }
}

void TFuzzySetValues::UpdateValue(TFuzzySetValue* Value, TXYUpdateTypes Types) {
    UpdateFlags(Value, Types);
    if (UpdateCount() > 0) return;
    PlaceValue(Value, Types);
}

// Re-ordering happens silently: the setter that called us reports the one change.
// Value itself is never deleted here, because its setter still holds it.
void TFuzzySetValues::PlaceValue(TFuzzySetValue* Value, TXYUpdateTypes Types) {
    const TSilentUpdate Silent(*this);
    if (!FSorted) SortPoints();
    if (Count() < 2) return;
    if (Types.Contains(utX)) CapEqualX(Value);
    RemoveDuplicatesInRun(Value);
    // Where Value left, its former neighbours may now be equal. Such pairs go as
    // well (never Value itself), so the list is clean, and known to be, again:
    // a later whole-list report then has nothing to remove, not even a point that
    // has just been handed out by Add.
    if (!FDuplicatesRemoved) {
        for (int I = 1; I < Count();) {
            if (GetItem(I)->Equals(*GetItem(I - 1)))
                DeletePoint(GetItem(I) == Value ? I - 1 : I);
            else
                ++I;
        }
        FDuplicatesRemoved = true;
    }
}

// At most three points share one X after a single change: with three others
// already there, the one just before the third gives way to Value.
void TFuzzySetValues::CapEqualX(TFuzzySetValue* Value) {
    int Matches = 0;
    int Last = 0;
    for (int I = 0; I < Count(); ++I) {
        if (GetItem(I) != Value) {
            if (Above(XAt(I), Value->FX)) break;
            if (!Below(XAt(I), Value->FX) && ++Matches == 3) break;
        }
        Last = I;
    }
    if (Matches == 3) {
        const int Victim = GetItem(Last) == Value ? Last - 1 : Last;
        DeletePoint(Victim);
        if (Victim < Last) --Last;
    }
    MoveItem(Value->GetIndex(), Last);
}

void TFuzzySetValues::RemoveDuplicatesInRun(TFuzzySetValue* Value) {
    const int Before = SkipX(Value->GetIndex(), Value->FX, -1);  // -1: the run starts the list
    int J = Before + 1;
    while (J < Count() && FloatEquals(XAt(J), Value->FX)) {
        if (J > 0 && J - 1 > Before && GetItem(J)->Equals(*GetItem(J - 1))) {
            DeletePoint(GetItem(J - 1) == Value ? J : J - 1);
        } else {
            ++J;
        }
    }
    if (J - Before - 1 > 3) {
        const int Index = Value->GetIndex();
        DeletePoint(Index - 1 > Before ? Index - 1 : Index + 1);
    }
}

// ---- Resampling ------------------------------------------------------------------------

TFzyFloat TFuzzySetValues::InterpolateAt(int Index) const {
    const TFuzzySetValue* Left = GetItem(Index - 1);
    const TFuzzySetValue* Right = GetItem(Index + 1);
    return Interpolate(Left->FX, Left->FY, Right->FX, Right->FY, XAt(Index));
}

void TFuzzySetValues::Expand(int N) {
    if (N < 2 || Count() >= N) return;
    int Remaining = N - Count();
    int Segments = 0;
    for (int I = 0; I + 1 < Count(); ++I)
        if (Above(XAt(I + 1), XAt(I))) ++Segments;
    const TUpdateGuard Update(*this);
    if (InPlainBulkUpdate()) {
        ExpandInOnePass(Remaining, Segments);
        return;
    }
    for (int I = 0; I < Count() - 1; ++I) {
        if (!Above(XAt(I + 1), XAt(I))) continue;
        const int Share = static_cast<int>(std::ceil(static_cast<double>(Remaining) / Segments));
        const TFzyFloat Step = (XAt(I + 1) - XAt(I)) / (Share + 1);
        --Segments;
        for (int K = 0; K < Share; ++K) {
            --Remaining;
            TFuzzySetValue* Point = Add(XAt(I) + Step, 0.0);
            ++I;
            MoveItem(Point->GetIndex(), I);
            Point->SetY(InterpolateAt(I));
        }
    }
}

// The loop above, for a list of this class, in one pass: each new point is appended with
// the next ID, as Add appends it, and keeps the flags as Add and SetY keep them at the place
// it is moved to (after the point before it, before its segment's right end; the list's
// last point stays last). All new points are put in their places at once at the end.
void TFuzzySetValues::ExpandInOnePass(int Remaining, int Segments) {
    const int Original = Count();
    if (Original < 2) return;  // no segment to place points in
    const TFzyFloat LastX = XAt(Original - 1);
    std::vector<int> Shares(static_cast<std::size_t>(Original), 0);
    const auto X = [this](int I) { return XAt(I); };
    ShareOutSegments(Original, X, Remaining, Segments, [&](int I, int Share) {
        const TFuzzySetValue& Left = *GetItem(I);
        const TFuzzySetValue& Right = *GetItem(I + 1);
        const auto Clamp = [this](TFzyFloat At) { return ClampX(At); };
        SpreadOnSegment(Left.FX, Left.FY, Right.FX, Right.FY, Share, Clamp,
                        [&](TFzyFloat At, TFzyFloat Y, TFzyFloat PreviousX) {
                            TFuzzySetValue* Point = AppendPoint(At, 0.0);
                            NoteAppended(Point->FX, LastX);
                            if (Y != Point->FY) {
                                Point->FY = std::max(Y, 0.0);
                                if (!FSorted) FDuplicatesRemoved = false;
                                if (FDuplicatesRemoved &&
                                    (FloatEquals(Point->FX, PreviousX) || FloatEquals(Point->FX, Right.FX)))
                                    FDuplicatesRemoved = false;
                            }
                            return Point->FY;
                        });
        Shares[static_cast<std::size_t>(I)] = Share;
    });
    // Merged from the back: each original point's new points go right after it.
    std::vector<TCollectionItem*>& Items = MutableItems();
    const std::vector<TCollectionItem*> Added(Items.begin() + Original, Items.end());
    auto To = Items.rbegin();
    auto From = Added.rbegin();
    for (int I = Original - 1; I >= 0; --I) {
        To = std::copy_n(From, Shares[static_cast<std::size_t>(I)], To);
        From += Shares[static_cast<std::size_t>(I)];
        *To++ = Items[static_cast<std::size_t>(I)];
    }
    Renumber(0);
}

void detail::ExpandPlain(std::vector<TPlainPoint>& Points, int N, TFzyFloat Lower, TFzyFloat Upper) {
    const int Count = static_cast<int>(Points.size());
    if (N < 2 || Count >= N || Count < 2) return;
    const auto XAt = [&Points](int I) { return Points[static_cast<std::size_t>(I)].X; };
    int Segments = 0;
    for (int I = 0; I + 1 < Count; ++I)
        if (Above(XAt(I + 1), XAt(I))) ++Segments;
    thread_local std::vector<TPlainPoint> Buffer;
    std::vector<TPlainPoint>& Expanded = Buffer;
    Expanded.clear();
    Expanded.reserve(static_cast<std::size_t>(N));
    auto Next = Points.begin();  // the first original point not yet copied
    const auto Clamp = [Lower, Upper](TFzyFloat X) { return X < Lower ? Lower : (X > Upper ? Upper : X); };
    ShareOutSegments(Count, XAt, N - Count, Segments, [&](int I, int Share) {
        const TPlainPoint& Left = Points[static_cast<std::size_t>(I)];
        const TPlainPoint& Right = Points[static_cast<std::size_t>(I) + 1];
        // A few points at a time, into reserved room: appended one by one.
        for (; Next != Points.begin() + I + 1; ++Next) Expanded.push_back(*Next);
        SpreadOnSegment(Left.X, Left.Y, Right.X, Right.Y, Share, Clamp,
                        [&Expanded](TFzyFloat X, TFzyFloat Y, TFzyFloat /*PreviousX*/) {
                            // As a new point at degree 0 takes Y.
                            const TFzyFloat Stored = Y != 0.0 ? std::max(Y, 0.0) : 0.0;
                            Expanded.push_back({X, Stored});
                            return Stored;
                        });
    });
    for (; Next != Points.end(); ++Next) Expanded.push_back(*Next);
    Points.swap(Expanded);
}

void TFuzzySetValues::ExpandSimple(int N) {
    // Fewer than two points have no neighbours to place new points between.
    if (N < 2 || Count() < 2 || Count() >= N) return;
    const int K = N - Count();
    const TFzyFloat Step = (Last()->FX - First()->FX) / (K + 1);
    TFzyFloat X = First()->FX;
    int J = 0;
    const TUpdateGuard Update(*this);
    for (int Added = 0; Added < K; ++Added) {
        X += Step;
        while (J < Count() - 1 && XAt(J) < X) ++J;
        if (FloatEquals(XAt(J), X)) {
            J = SkipX(J, X, 1);
            if (J == -1) J = Count() - 1;
        }
        TFuzzySetValue* Point = Add(X, 0.0);
        MoveItem(Point->GetIndex(), J);
        Point->SetY(InterpolateAt(J));
    }
}

}  // namespace fzl
