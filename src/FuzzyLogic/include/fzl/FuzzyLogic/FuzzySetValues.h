#pragma once
// The point list of a fuzzy set: (X, Y) points kept in X order, without adjacent
// duplicates, with vertical steps thinned, clamped into the owning set's range.

#include <string>
#include <typeinfo>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/support/TypedCollection.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {

class TFuzzySetValues;
class TFuzzySetValue;

namespace detail {
inline void SimplifyRuns(TFuzzySetValues& Points);  // the engine's thinning of combined sets
class TPointBuilder;                                // a combined set's points held by value
class TPointAppender;                               // and its adding state
}  // namespace detail

/// What a point list needs from the fuzzy set that owns it.
class TFuzzySetValuesOwner {
public:
    /// The range every X is clamped into.
    virtual void GetXBounds(TFzyFloat& Lower, TFzyFloat& Upper) const = 0;
    /// One point changed outside a bulk update.
    virtual void UpdateFuzzySetValue(TFuzzySetValue* Value) = 0;
    /// The list changed as a whole (a bulk update closed).
    virtual void UpdateFuzzySetValues() = 0;

protected:
    TFuzzySetValuesOwner() = default;
    ~TFuzzySetValuesOwner() = default;
    TFuzzySetValuesOwner(const TFuzzySetValuesOwner&) = default;
    TFuzzySetValuesOwner& operator=(const TFuzzySetValuesOwner&) = default;
};

/// One point of a membership function. Setters clamp X into the owning set's
/// range and Y to at least 0, and keep the list ordered.
class TFuzzySetValue : public TCollectionItem {
public:
    /// A detached point; for a non-empty list its X starts one past the list's last X.
    explicit TFuzzySetValue(TCollection* Collection = nullptr);

    [[nodiscard]] TFzyFloat GetX() const noexcept { return FX; }
    [[nodiscard]] TFzyFloat GetY() const noexcept { return FY; }
    /// Moves the point to X (clamped); no-op when X equals the current X exactly.
    virtual void SetX(TFzyFloat Value);
    /// Sets the degree (negative values become 0); no-op when unchanged.
    virtual void SetY(TFzyFloat Value);
    /// Sets both coordinates in one step (always reported).
    void SetValue(TFzyFloat X, TFzyFloat Y);
    /// Equal in X and in Y within the fuzzy tolerance.
    [[nodiscard]] virtual bool Equals(const TFuzzySetValue& Other) const noexcept;

    /// The owning list, or nullptr.
    [[nodiscard]] TFuzzySetValues* GetCollection() const noexcept;
    /// Moves the point to another point list (raises EConvertError for other collections).
    void SetCollection(TCollection* Value) override;

    void Assign(const TPersistent& Source) override;
    /// X (always written) and Y (default 0). A streamed X is taken as it is, not clamped into
    /// the set's range: stored points read back exactly.
    void DefineProperties(TPropertyList& Properties) override;
    [[nodiscard]] std::string ClassName() const override { return "TFuzzySetValue"; }

    /// Points are made and freed by the thousand when rules fire: their memory is
    /// recycled through a small per-thread cache instead of the general heap.
    // NOLINTNEXTLINE(misc-new-delete-overloads): paired with the sized operator delete
    static void* operator new(std::size_t Size);
    static void operator delete(void* Block, std::size_t Size) noexcept;

protected:
    ~TFuzzySetValue() override = default;

private:
    friend class TFuzzySetValues;
    void Report(TXYUpdateTypes Types);
    static void RestoreX(TFuzzySetValue& Point, TFzyFloat Value);

    TFzyFloat FX = 0;
    TFzyFloat FY = 0;
};

/// The ordered point list. Outside a bulk update (BeginUpdate/EndUpdate) every
/// point change re-orders and thins at once and is reported to the owning set;
/// inside one, only the flags are kept and the closing EndUpdate cleans up once.
/// Every operation here changes this list in place.
class TFuzzySetValues : public TTypedCollection<TFuzzySetValue> {
public:
    /// A list owned by FuzzySet (nullptr for a free-standing list without range).
    explicit TFuzzySetValues(TFuzzySetValuesOwner* FuzzySet = nullptr);

    /// The set that owns the list, or nullptr.
    [[nodiscard]] TFuzzySetValuesOwner* GetFuzzySet() const noexcept { return FFuzzySet; }
    [[nodiscard]] bool IsSorted() const noexcept { return FSorted; }
    [[nodiscard]] bool IsDuplicatesRemoved() const noexcept { return FDuplicatesRemoved; }

    /// Add(): appends a point with default coordinates. Insert(Index): the same, moved to Index.
    using TTypedCollection::Add;
    /// Appends a point at (X, Y), clamped, placed and reported in one step.
    TFuzzySetValue* Add(TFzyFloat X, TFzyFloat Y) {
        // Inline, the common case of a list filled in bulk (the result of an operation): its
        // bounds known and a spare point at hand, with room to keep it spare again.
        if (FBoundsKnown && InPlainBulkUpdate() && !FSpares.empty() && FSpares.capacity() > RawItems().size())
            return AppendSpare(X < FLower ? FLower : (X > FUpper ? FUpper : X), Y < 0 ? 0.0 : Y);
        return AddPoint(X, Y);
    }
    /// Point Index without the range check of GetItem, for reads already bounded by Count().
    [[nodiscard]] const TFuzzySetValue* PointAt(int Index) const noexcept {
        return static_cast<const TFuzzySetValue*>(RawItems()[static_cast<std::size_t>(Index)]);
    }

    /// Copies all of Source's points.
    void Append(const TFuzzySetValues& Source) { Append(Source, 0, Source.Count()); }
    /// Copies Count points of Source from Start on (both clipped to Source).
    virtual void Append(const TFuzzySetValues& Source, int Start, int Count);

    /// Number of points whose X equals X exactly.
    [[nodiscard]] int GetXCount(TFzyFloat X) const noexcept;
    /// From Index + Direction on, the first point whose X differs from X by more than the tolerance; -1 if
    /// none.
    [[nodiscard]] int SkipX(int Index, TFzyFloat X, int Direction) const noexcept;
    /// As SkipX, for Y.
    [[nodiscard]] int SkipY(int Index, TFzyFloat Y, int Direction) const noexcept;

    [[nodiscard]] TFzyFloat GetAvgValue() const;
    /// Greatest Y; the scan stops at the first Y of exactly 1.
    [[nodiscard]] TFzyFloat GetMaxValue() const;
    /// Least Y; the scan stops at the first Y of exactly 0.
    [[nodiscard]] TFzyFloat GetMinValue() const;
    /// Average, maximum (starting at 0) and minimum (starting at 1) of Y.
    void GetStatValues(TFzyFloat& Average, TFzyFloat& Maximum, TFzyFloat& Minimum) const;

    /// Orders the points by X (stable within the tolerance) when not known sorted.
    void Sort();
    /// Removes adjacent duplicates and every fifth point of a vertical run.
    void RemoveDuplicates();
    /// Sort and RemoveDuplicates when either is needed.
    void CleanupValues();
    /// Keeps order and thinning after Value changed (Types: which coordinate).
    virtual void UpdateValue(TFuzzySetValue* Value, TXYUpdateTypes Types);
    /// Adds points on the curve until the list holds N, spread over its segments.
    void Expand(int N);
    /// Adds N - Count points at equal X spacing over the whole list.
    void ExpandSimple(int N);

    /// Accepts Point, the last point of a list being read from a stream in a bulk update, only
    /// where a list can hold it: not before the point ahead of it and not equal to it
    /// (EFzyException otherwise). The list is then known clean, so the closing clean-up
    /// neither drops nor moves a stored point.
    void CheckStreamedPoint(const TFuzzySetValue& Point);

    /// Replaces the points by copies of another list's points, in one bulk update.
    void Assign(const TPersistent& Source) override;
    /// The same, for a source known to be a point list (no type check).
    void AssignPoints(const TFuzzySetValues& Other);
    /// Frees the points without reports and makes the list look new (IDs restart, no
    /// bracket open), keeping its storage: for sets that are recycled.
    void ResetForReuse() noexcept;
    [[nodiscard]] TPersistent* GetOwner() const override;
    [[nodiscard]] std::string ClassName() const override { return "TFuzzySetValues"; }
    void AfterConstruction() override;

    /// A bulk update in which the owner's X range is read once, when it opens: for code
    /// that fills the list and leaves the range alone meanwhile (the engine's operations).
    class TBulkBuild {
    public:
        explicit TBulkBuild(TFuzzySetValues& Points);
        /// Forgets the range first, so that the closing report sees the list as usual.
        ~TBulkBuild() noexcept(false);
        TBulkBuild(const TBulkBuild&) = delete;
        TBulkBuild& operator=(const TBulkBuild&) = delete;

    private:
        TUpdateGuard<TFuzzySetValues> FUpdate;
        TFuzzySetValues& FPoints;
        bool FHadBounds;
    };

protected:
    ~TFuzzySetValues() override = default;
    /// The points go with the list without being reported one by one.
    void BeforeDestruction() override;
    void Update(TCollectionItem* Item) override;
    /// A point leaving may bring two equal points together: the list is then cleaned.
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
    /// For a descendant whose class keeps this Notify (checked after construction, as a
    /// further descendant may not): points that go are then taken out together.
    void KeepsBaseNotify() noexcept { FBaseNotify = true; }

private:
    friend class TFuzzySetValue;
    friend void detail::SimplifyRuns(TFuzzySetValues& Points);
    friend class detail::TPointBuilder;
    friend class detail::TPointAppender;
    /// True inside a bulk update of a list whose per-point hooks (Notify, UpdateValue) are
    /// this class's own: points can then be made and changed without the per-point calls,
    /// which would only keep the flags.
    [[nodiscard]] bool InPlainBulkUpdate() const noexcept { return FPlain && UpdateCount() > 0; }
    /// True inside a bulk update of a list whose Notify is this class's own: points that go
    /// can then be taken out together, with one renumbering rather than one per point.
    [[nodiscard]] bool ThinsInOnePass() const noexcept { return FBaseNotify && UpdateCount() > 0; }
    TFuzzySetValue* AppendInBulk(TFzyFloat X, TFzyFloat Y);
    /// Add(X, Y) of the general case.
    TFuzzySetValue* AddPoint(TFzyFloat X, TFzyFloat Y);
    /// AppendInBulk(X, Y) with X clamped and a spare at hand.
    TFuzzySetValue* AppendSpare(TFzyFloat X, TFzyFloat Y) {
        TFuzzySetValue* Point = FSpares.back();
        FSpares.pop_back();
        Point->FX = X;
        Point->FY = Y;
        AppendSilently(Point);
        const std::size_t Count = RawItems().size();
        if (Count > 1) NoteAppended(X, static_cast<const TFuzzySetValue*>(RawItems()[Count - 2])->FX);
        return Point;
    }
    /// Moves Point to (X, Y) without a report.
    static void PlaceSilently(TFuzzySetValue& Point, TFzyFloat X, TFzyFloat Y) noexcept {
        Point.FX = X;
        Point.FY = Y;
    }
    /// A spare or new point at (X, Y), appended with the next ID; the flags are the caller's.
    TFuzzySetValue* AppendPoint(TFzyFloat X, TFzyFloat Y);
    /// Keeps the flags for a point at X appended after one at PreviousX.
    void NoteAppended(TFzyFloat X, TFzyFloat PreviousX) noexcept {
        NoteOrder(FSorted, FDuplicatesRemoved, X, PreviousX);
    }
    /// The flags' part of NoteAppended, for whatever holds them.
    static void NoteOrder(bool& Sorted, bool& DuplicatesRemoved, TFzyFloat X, TFzyFloat PreviousX) noexcept {
        if (Sorted && X < PreviousX && !FloatEquals(X, PreviousX)) Sorted = false;
        if (!Sorted || FloatEquals(X, PreviousX)) DuplicatesRemoved = false;
    }
    void ExpandInOnePass(int Remaining, int Segments);
    /// A detached point of the base class waits for the next append, which sets its place, ID
    /// and coordinates; any other goes.
    void KeepSpare(TCollectionItem* Item) noexcept {
        if (typeid(*Item) == typeid(TFuzzySetValue) && FSpares.size() < FSpares.capacity()) {
            FSpares.push_back(static_cast<TFuzzySetValue*>(Item));
            return;
        }
        Item->Free();
    }
    void FreeSpares() noexcept;
    [[nodiscard]] TFzyFloat ClampX(TFzyFloat X) const;
    [[nodiscard]] TFzyFloat XAt(int Index) const noexcept;
    void UpdateFlags(const TFuzzySetValue* Value, TXYUpdateTypes Types) noexcept;
    void PlaceValue(TFuzzySetValue* Value, TXYUpdateTypes Types);
    void CapEqualX(TFuzzySetValue* Value);
    void RemoveDuplicatesInRun(TFuzzySetValue* Value);
    void SortPoints();
    void RemoveDuplicatePoints();
    void CompactDuplicatePoints();
    void CleanupPoints();
    void DeletePoint(int Index);
    [[nodiscard]] TFzyFloat InterpolateAt(int Index) const;
    void RequirePoints(const char* Operation) const;

    TFuzzySetValuesOwner* FFuzzySet;
    bool FSorted = true;
    bool FDuplicatesRemoved = true;
    bool FPlain = false;        // of this very class (set after construction)
    bool FBaseNotify = false;   // Notify is this class's (FPlain, or a descendant says so)
    bool FBoundsKnown = false;  // inside a TBulkBuild: the range below holds
    TFzyFloat FLower = 0;
    TFzyFloat FUpper = 0;
    // Points of a recycled list, detached and waiting to be handed out again by the
    // next bulk append (only points of the base class).
    std::vector<TFuzzySetValue*> FSpares;
};

/// Range-based iteration over a point list's points.
using TFuzzySetValuesEnumerator = TCollectionEnumerator<TFuzzySetValue>;

}  // namespace fzl
