#pragma once
// TVXHashTable: the dictionary with an update bracket, a change event, access
// by index in bucket order through a one-step cursor, and the legacy stream
// properties of older streams.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include <fzl/VXGenerics/Dictionary.h>
#include <fzl/support/Format.h>
#include <fzl/support/NotifyEvent.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/PropertyReader.h>

namespace fzl {

/// A dictionary that reports changes (OnChange) and reads by index.
///
/// Index order is bucket order, not the order of adding; any add or remove may
/// renumber the entries. Reading index i after index i - 1 or i + 1 costs one
/// step, so a loop over 0 .. Count - 1 is linear.
template <class K, class V>
class TVXHashTable : public TVXDictionary<K, V> {
    using TBase = TVXDictionary<K, V>;

public:
    using TBase::TBase;
    using typename TBase::TItem;

    /// Fired after every add, replace or remove outside an update bracket, and once
    /// when the outermost bracket closes.
    TNotifyEvent OnChange;

    /// The names of the properties older streams carry for a table; they are read
    /// and dropped, and never written.
    static constexpr std::array<std::string_view, 3> LegacyProperties = {"LoadFactor", "HashType",
                                                                         "Capacity"};

    [[nodiscard]] bool IsEmpty() const noexcept { return this->Count() == 0; }
    /// The entry at Index in bucket order; outside 0 .. Count - 1 raises EListError.
    [[nodiscard]] TPair<K, V> GetPairByIndex(int Index) const {
        const TItem& Item = ItemAt(Index);
        return {Item.Key, Item.Value};
    }
    /// The value at Index (valid until the table changes).
    [[nodiscard]] const V& GetItemByIndex(int Index) const { return ItemAt(Index).Value; }
    /// The key at Index (valid until the table changes).
    [[nodiscard]] const K& GetKeyByIndex(int Index) const { return ItemAt(Index).Key; }
    [[nodiscard]] const V& Get(const K& Key) const { return this->GetItem(Key); }
    /// Adds or replaces.
    void Put(const K& Key, const V& Value) { this->AddOrSetValue(Key, Value); }
    void PutItem(const K& Key, const V& Value) { this->AddOrSetValue(Key, Value); }
    using TBase::ContainsKey;
    /// The value of Key into Value (emptied first); true when present.
    bool ContainsKey(const K& Key, V& Value) const {
        Value = V{};
        return this->TryGetValue(Key, Value);
    }
    [[nodiscard]] bool ContainsItem(const V& Value) const { return this->ContainsValue(Value); }

    /// Opens an update bracket: key and value events and change events wait for the
    /// outermost EndUpdate, which fires one OnChange. The hooks run regardless.
    virtual void BeginUpdate() noexcept { ++FUpdating; }
    /// Closes a bracket; an EndUpdate without a BeginUpdate does nothing.
    virtual void EndUpdate() {
        if (FUpdating <= 0) return;
        if (--FUpdating == 0) Change();
    }
    [[nodiscard]] int GetUpdateCount() const noexcept { return FUpdating; }

    /// Runs Body inside an update bracket, which closes also when Body throws.
    template <class TBody>
    void InUpdate(TBody&& Body) {
        BeginUpdate();
        try {
            Body();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }

    /// Removes everything with one OnChange and no key or value events.
    void Clear() override {
        std::vector<TItem> Old;  // released after the bracket closes
        InUpdate([&] {
            Old = this->DetachItems();
            this->ReportCleared(Old);
        });
    }

    /// Entry for a stream reader that meets property Name: reads and drops the value
    /// of a legacy property ("LoadFactor" as a float, "HashType" and "Capacity" as
    /// 64-bit integers) and returns true; false (nothing read) for other names.
    virtual bool ReadLegacyProperty(std::string_view Name, TPropertyReader& Reader) {
        if (Name == LegacyProperties[0]) {
            static_cast<void>(Reader.ReadFloat());
            return true;
        }
        if (Name == LegacyProperties[1] || Name == LegacyProperties[2]) {
            static_cast<void>(Reader.ReadInt64());
            return true;
        }
        return false;
    }

    /// The legacy properties, read through ReadLegacyProperty.
    void DefineProperties(TPropertyList& Properties) override {
        TBase::DefineProperties(Properties);
        for (const std::string_view Name : LegacyProperties)
            Properties.Legacy<&TVXHashTable::ReadLegacyProperty>(Name, this);
    }

    [[nodiscard]] std::string ClassName() const override { return "TVXHashTable"; }

protected:
    ~TVXHashTable() override = default;

    void DoAdd(std::int32_t HashCode, int BucketIndex, const K& Key, const V& Value) override {
        TBase::DoAdd(HashCode, BucketIndex, Key, Value);
        Change();
    }
    void DoSetValue(int BucketIndex, const V& Value) override {
        [[maybe_unused]] V Old = this->ReplaceValue(BucketIndex, Value);  // released after the event
        Change();
    }
    /// Raises EGHashtableError on an empty table; reports a change only when Key was there.
    V DoRemove(const K& Key, std::int32_t HashCode, TDictionaryNotification Notification) override {
        if (this->Count() == 0) throw EGHashtableError(STableEmpty);
        if (this->GetBucketIndex(Key, HashCode) < 0) return V{};
        V Old = TBase::DoRemove(Key, HashCode, Notification);
        Change();
        return Old;
    }
    void KeyNotify(const K& Key, TDictionaryNotification Action) override {
        LayoutChanged();
        if (FUpdating < 1) TBase::KeyNotify(Key, Action);
    }
    void ValueNotify(const V& Value, TDictionaryNotification Action) override {
        if (FUpdating < 1) TBase::ValueNotify(Value, Action);
    }
    /// OnChange, unless an update bracket is open.
    virtual void Change() {
        if (FUpdating <= 0 && OnChange) OnChange(this);
    }
    void LayoutChanged() noexcept override { FCachedIndex = -1; }

    /// Empties the table silently while the object is still whole.
    void BeforeDestruction() override {
        ++FUpdating;
        OnChange = nullptr;
        this->OnKeyNotify = nullptr;
        this->OnValueNotify = nullptr;
        [[maybe_unused]] auto Old = this->DetachItems();
        TBase::BeforeDestruction();
    }

private:
    /// Moves the cursor to Index, from wherever is nearest: the cursor, the first
    /// or the last entry.
    const TItem& ItemAt(int Index) const {
        const int Count = this->Count();
        if (Index < 0 || Index >= Count) throw EListError(Format(SListIndexError, {Index}));
        if (FCachedIndex < 0) MoveCursor(0, NextOccupied(-1));
        const int FromCursor = Index > FCachedIndex ? Index - FCachedIndex : FCachedIndex - Index;
        const int FromEnd = Count - 1 - Index;
        if (Index < FromCursor && Index <= FromEnd) {
            MoveCursor(0, NextOccupied(-1));
        } else if (FromEnd < FromCursor) {
            MoveCursor(Count - 1, PreviousOccupied(this->GetCapacity()));
        }
        while (FCachedIndex < Index) MoveCursor(FCachedIndex + 1, NextOccupied(FCachedItemIndex));
        while (FCachedIndex > Index) MoveCursor(FCachedIndex - 1, PreviousOccupied(FCachedItemIndex));
        return this->Buckets()[static_cast<std::size_t>(FCachedItemIndex)];
    }
    void MoveCursor(int Index, int Bucket) const noexcept {
        FCachedIndex = Index;
        FCachedItemIndex = Bucket;
    }
    [[nodiscard]] int NextOccupied(int Bucket) const noexcept {
        const auto& Items = this->Buckets();
        do ++Bucket;
        while (Items[static_cast<std::size_t>(Bucket)].HashCode == TBase::EmptyHash);
        return Bucket;
    }
    [[nodiscard]] int PreviousOccupied(int Bucket) const noexcept {
        const auto& Items = this->Buckets();
        do --Bucket;
        while (Items[static_cast<std::size_t>(Bucket)].HashCode == TBase::EmptyHash);
        return Bucket;
    }

    int FUpdating = 0;
    mutable int FCachedIndex = -1;      // logical index the cursor stands on, -1 when invalid
    mutable int FCachedItemIndex = -1;  // the bucket that holds it
};

}  // namespace fzl
