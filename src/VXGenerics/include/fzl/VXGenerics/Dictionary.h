#pragma once
// TVXDictionary: an open-addressing hash map with linear probing, power-of-two
// bucket counts (at least 4), growth at 75 % load and backward-shift deletion
// (no tombstones). Keys and values are reported to overridable hooks and to
// the OnKeyNotify / OnValueNotify events as they come and go.
//
// Re-entrance: the hooks (DoAdd, DoSetValue, DoRemove, KeyNotify, ValueNotify)
// and the events may change the table. The table is consistent whenever one of
// them runs; after calling the inherited hook, a descendant must not rely on
// BucketIndex or on references into the buckets, only on its arguments.
// Removed and replaced values are released as the outermost operation returns.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <ranges>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <fzl/VXGenerics/Collections.h>
#include <fzl/VXGenerics/EqualityComparer.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Persistent.h>

namespace fzl {

/// A persistent object whose elements can be listed.
template <class T>
class TVXEnumerable : public TPersistent {
public:
    /// The elements, in the object's own order.
    [[nodiscard]] virtual std::vector<T> ToArray() const = 0;
    [[nodiscard]] std::string ClassName() const override { return "TVXEnumerable"; }

protected:
    ~TVXEnumerable() override = default;
};

/// Hash map from K to V. Iteration and index order are bucket order.
template <class K, class V>
class TVXDictionary : public TVXEnumerable<TPair<K, V>> {
public:
    /// One bucket: HashCode -1 marks an empty one.
    struct TItem {
        std::int32_t HashCode = EmptyHash;
        K Key{};
        V Value{};
    };

    /// Forward iterator over the occupied buckets.
    template <class TProject>
    class TIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using difference_type = std::ptrdiff_t;
        using value_type = std::remove_cvref_t<decltype(TProject{}(std::declval<const TItem&>()))>;
        using pointer = const value_type*;
        using reference = const value_type&;

        TIterator() = default;
        TIterator(const TItem* Current, const TItem* End) noexcept : FCurrent(Current), FEnd(End) {
            SkipEmpty();
        }
        reference operator*() const noexcept { return TProject{}(*FCurrent); }
        pointer operator->() const noexcept { return &TProject{}(*FCurrent); }
        TIterator& operator++() noexcept {
            ++FCurrent;
            SkipEmpty();
            return *this;
        }
        TIterator operator++(int) noexcept {
            TIterator Old = *this;
            ++*this;
            return Old;
        }
        friend bool operator==(const TIterator& A, const TIterator& B) noexcept {
            return A.FCurrent == B.FCurrent;
        }

    private:
        void SkipEmpty() noexcept {
            while (FCurrent != FEnd && FCurrent->HashCode == EmptyHash) ++FCurrent;
        }
        const TItem* FCurrent = nullptr;
        const TItem* FEnd = nullptr;
    };

    struct TItemOf {
        const TItem& operator()(const TItem& Item) const noexcept { return Item; }
    };
    struct TKeyOf {
        const K& operator()(const TItem& Item) const noexcept { return Item.Key; }
    };
    struct TValueOf {
        const V& operator()(const TItem& Item) const noexcept { return Item.Value; }
    };
    using const_iterator = TIterator<TItemOf>;

    /// A view of the keys or values (valid until the table changes).
    template <class TProject>
    class TView {
    public:
        explicit TView(const TVXDictionary& Owner) noexcept : FOwner(&Owner) {}
        [[nodiscard]] TIterator<TProject> begin() const noexcept {
            return FOwner->template Begin<TProject>();
        }
        [[nodiscard]] TIterator<TProject> end() const noexcept { return FOwner->template End<TProject>(); }
        [[nodiscard]] int Count() const noexcept { return FOwner->Count(); }
        [[nodiscard]] auto ToArray() const { return std::vector(begin(), end()); }

    private:
        const TVXDictionary* FOwner;
    };

    /// Capacity as by SetCapacity; no comparer means DefaultComparer<K>().
    explicit TVXDictionary(int Capacity = 0, TComparerPtr<K> Comparer = nullptr)
        : FComparer(Comparer ? std::move(Comparer) : DefaultComparer<K>()) {
        if (!FComparer) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
        SetCapacity(Capacity);
    }
    explicit TVXDictionary(TComparerPtr<K> Comparer) : TVXDictionary(0, std::move(Comparer)) {}
    /// A dictionary holding Pairs (a repeated key raises EListError).
    template <class TRange>
    requires std::convertible_to < std::ranges::range_reference_t<const TRange&>,
    const TPair<K, V>& > explicit TVXDictionary(const TRange& Pairs, TComparerPtr<K> Comparer = nullptr)
        : TVXDictionary(0, std::move(Comparer)) {
        for (const TPair<K, V>& Pair : Pairs) Add(Pair.Key, Pair.Value);
    }

    TKeyNotifyEvent<K> OnKeyNotify;
    TValueNotifyEvent<V> OnValueNotify;

    /// Adds a new key; a key already present raises EListError.
    void Add(const K& Key, const V& Value) {
        CheckValue(Key, Value);
        const std::int32_t HashCode = Hash(Key);
        int Index = GetBucketIndex(Key, HashCode);
        if (Index >= 0) throw EListError(SDuplicateItem);
        if (FCount >= FGrowThreshold) {
            Grow();
            Index = GetBucketIndex(Key, HashCode);
        }
        DoAdd(HashCode, ~Index, Key, Value);
    }
    /// Adds a new key or replaces the value of an existing one.
    void AddOrSetValue(const K& Key, const V& Value) {
        CheckValue(Key, Value);
        const std::int32_t HashCode = Hash(Key);
        int Index = GetBucketIndex(Key, HashCode);
        if (Index >= 0) {
            DoSetValue(Index, Value);
            return;
        }
        if (FCount >= FGrowThreshold) {  // only a new key can need room
            Grow();
            Index = GetBucketIndex(Key, HashCode);
        }
        DoAdd(HashCode, ~Index, Key, Value);
    }
    /// Removes Key if present.
    void Remove(const K& Key) { static_cast<void>(DoRemove(Key, Hash(Key), dnRemoved)); }
    /// Removes Key and hands its pair out (Key with an empty value when absent).
    TPair<K, V> ExtractPair(const K& Key) {
        K Copy = Key;
        V Value = DoRemove(Key, Hash(Key), dnExtracted);
        return {std::move(Copy), std::move(Value)};
    }
    /// Removes everything, reporting each entry as removed, and frees the buckets.
    virtual void Clear() {
        std::vector<TItem> Old = DetachItems();
        ReportCleared(Old);
    }
    /// Shrinks the buckets to the smallest count that holds the entries.
    void TrimExcess() { SetCapacity(FCount); }
    /// Exchanges the entries (with their buckets and comparers) of this table and Other
    /// without any report or hook: how an owner sets its entries aside and puts them back.
    void ExchangeEntries(TVXDictionary& Other) noexcept {
        if (&Other == this) return;
        std::swap(FCount, Other.FCount);
        std::swap(FComparer, Other.FComparer);
        std::swap(FGrowThreshold, Other.FGrowThreshold);
        FItems.swap(Other.FItems);
        LayoutChanged();
        Other.LayoutChanged();
    }

    /// The value of Key into Value (an empty value when absent); true when present.
    bool TryGetValue(const K& Key, V& Value) const {
        const int Index = GetBucketIndex(Key, Hash(Key));
        if (Index < 0) {
            Value = V{};
            return false;
        }
        Value = FItems[static_cast<std::size_t>(Index)].Value;
        return true;
    }
    [[nodiscard]] bool ContainsKey(const K& Key) const { return GetBucketIndex(Key, Hash(Key)) >= 0; }
    [[nodiscard]] bool ContainsValue(const V& Value) const {
        for (const TItem& Item : *this)
            if (Item.Value == Value) return true;
        return false;
    }
    /// The value of Key; an unknown key raises EListError.
    [[nodiscard]] const V& GetItem(const K& Key) const {
        const int Index = GetBucketIndex(Key, Hash(Key));
        if (Index < 0) throw EListError(SItemNotFound);
        return FItems[static_cast<std::size_t>(Index)].Value;
    }
    /// Replaces the value of an existing key; an unknown key raises EListError.
    void SetItem(const K& Key, const V& Value) {
        CheckValue(Key, Value);
        const int Index = GetBucketIndex(Key, Hash(Key));
        if (Index < 0) throw EListError(SItemNotFound);
        DoSetValue(Index, Value);
    }

    [[nodiscard]] int Count() const noexcept { return FCount; }
    /// The number of buckets: 0 or a power of two of at least 4.
    [[nodiscard]] int GetCapacity() const noexcept { return static_cast<int>(FItems.size()); }
    /// Rebuilds the buckets for at least Capacity entries: 0 buckets for 0, else the
    /// smallest power of two (at least 4) not below Capacity whose 75 % still holds
    /// every entry. Below 0 or below Count raises EArgumentOutOfRangeException.
    void SetCapacity(int Capacity) {
        if (Capacity < 0 || Capacity < FCount) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
        if (Capacity == 0) {
            Rehash(0);
            return;
        }
        int Buckets = MinCapacity;
        while (Buckets < Capacity || GrowThresholdOf(Buckets) < FCount) Buckets = DoubledCapacity(Buckets);
        Rehash(Buckets);
    }
    [[nodiscard]] const TComparerPtr<K>& GetComparer() const noexcept { return FComparer; }

    [[nodiscard]] std::vector<TPair<K, V>> ToArray() const override {
        std::vector<TPair<K, V>> Pairs;
        Pairs.reserve(static_cast<std::size_t>(FCount));
        for (const TItem& Item : *this) Pairs.push_back({Item.Key, Item.Value});
        return Pairs;
    }
    [[nodiscard]] TView<TKeyOf> Keys() const noexcept { return TView<TKeyOf>(*this); }
    [[nodiscard]] TView<TValueOf> Values() const noexcept { return TView<TValueOf>(*this); }
    [[nodiscard]] const_iterator begin() const noexcept { return Begin<TItemOf>(); }
    [[nodiscard]] const_iterator end() const noexcept { return End<TItemOf>(); }

    /// Copies the entries of another dictionary of the same kind, in its bucket order.
    void Assign(const TPersistent& Source) override {
        if (const auto* Other = dynamic_cast<const TVXDictionary*>(&Source)) {
            if (Other == this) return;
            Clear();
            for (const TItem& Item : *Other) Add(Item.Key, Item.Value);
            return;
        }
        TVXEnumerable<TPair<K, V>>::Assign(Source);
    }
    [[nodiscard]] std::string ClassName() const override { return "TVXDictionary"; }

protected:
    static constexpr std::int32_t EmptyHash = -1;
    static constexpr int MinCapacity = 4;
    static constexpr int MaxCapacity = 1 << 30;

    ~TVXDictionary() override = default;

    /// Stores a new entry in the free bucket BucketIndex, then reports key and value added.
    virtual void DoAdd(std::int32_t HashCode, int BucketIndex, const K& Key, const V& Value) {
        TItem& Item = FItems[static_cast<std::size_t>(BucketIndex)];
        Item.Key = Key;
        Item.Value = Value;
        Item.HashCode = HashCode;
        ++FCount;
        LayoutChanged();
        KeyNotify(Key, dnAdded);
        ValueNotify(Value, dnAdded);
    }
    /// Replaces the value in bucket BucketIndex; reports the old one removed, the new one added.
    virtual void DoSetValue(int BucketIndex, const V& Value) {
        static_cast<void>(ReplaceValue(BucketIndex, Value));
    }
    /// Removes Key, closing the gap by backward shifting, reports it with Notification
    /// and hands the value out; an absent key gives an empty value and no report.
    virtual V DoRemove(const K& Key, std::int32_t HashCode, TDictionaryNotification Notification) {
        const int Index = GetBucketIndex(Key, HashCode);
        if (Index < 0) return V{};
        TItem& Item = FItems[static_cast<std::size_t>(Index)];
        K OldKey = std::move(Item.Key);
        V OldValue = std::move(Item.Value);
        CloseGap(Index);
        --FCount;
        LayoutChanged();
        KeyNotify(OldKey, Notification);
        ValueNotify(OldValue, Notification);
        return OldValue;
    }
    virtual void KeyNotify(const K& Key, TDictionaryNotification Action) {
        if (OnKeyNotify) OnKeyNotify(this, Key, Action);
    }
    virtual void ValueNotify(const V& Value, TDictionaryNotification Action) {
        if (OnValueNotify) OnValueNotify(this, Value, Action);
    }
    /// Refuses a value before anything changes (by raising); accepts everything here.
    virtual void CheckValue(const K& Key, const V& Value) const {
        static_cast<void>(Key);
        static_cast<void>(Value);
    }
    /// Called whenever entries may have moved between buckets (add, remove, rehash, clear).
    virtual void LayoutChanged() noexcept {}

    /// ((hash and 0x7FFFFFFF) + 1) and 0x7FFFFFFF: never negative, so never the empty marker.
    [[nodiscard]] std::int32_t Hash(const K& Key) const {
        const auto Raw = static_cast<std::uint32_t>(FComparer->GetHashCode(Key));
        return static_cast<std::int32_t>(((Raw & 0x7FFFFFFFU) + 1U) & 0x7FFFFFFFU);
    }
    /// The bucket holding Key, or the complement of the free bucket that ends its
    /// probe run; the most negative integer when there are no buckets.
    [[nodiscard]] int GetBucketIndex(const K& Key, std::int32_t HashCode) const {
        if (FItems.empty()) return std::numeric_limits<int>::min();
        const int Mask = GetCapacity() - 1;
        int Index = HashCode & Mask;
        for (;;) {  // ends: the table is never full
            const TItem& Item = FItems[static_cast<std::size_t>(Index)];
            if (Item.HashCode == EmptyHash) return ~Index;
            if (Item.HashCode == HashCode && FComparer->Equals(Item.Key, Key)) return Index;
            Index = (Index + 1) & Mask;
        }
    }
    /// Stores Value in bucket BucketIndex, reports the change and hands the old value out.
    V ReplaceValue(int BucketIndex, const V& Value) {
        V Old = std::exchange(FItems[static_cast<std::size_t>(BucketIndex)].Value, Value);
        ValueNotify(Old, dnRemoved);
        ValueNotify(Value, dnAdded);
        return Old;
    }
    /// Takes every bucket away, leaving an empty table without buckets.
    std::vector<TItem> DetachItems() noexcept {
        std::vector<TItem> Old = std::exchange(FItems, {});
        FCount = 0;
        FGrowThreshold = 0;
        LayoutChanged();
        return Old;
    }
    /// Reports every entry of Old as removed, in bucket order.
    void ReportCleared(const std::vector<TItem>& Old) {
        for (const TItem& Item : Old) {
            if (Item.HashCode == EmptyHash) continue;
            KeyNotify(Item.Key, dnRemoved);
            ValueNotify(Item.Value, dnRemoved);
        }
    }
    [[nodiscard]] const std::vector<TItem>& Buckets() const noexcept { return FItems; }

private:
    template <class TProject>
    [[nodiscard]] TIterator<TProject> Begin() const noexcept {
        return TIterator<TProject>(FItems.data(), FItems.data() + FItems.size());
    }
    template <class TProject>
    [[nodiscard]] TIterator<TProject> End() const noexcept {
        return TIterator<TProject>(FItems.data() + FItems.size(), FItems.data() + FItems.size());
    }

    [[nodiscard]] static constexpr int GrowThresholdOf(int Buckets) noexcept {
        return Buckets / 2 + Buckets / 4;
    }
    [[nodiscard]] static int DoubledCapacity(int Buckets) {
        if (Buckets >= MaxCapacity) throw std::length_error("hash table too large");
        return Buckets * 2;
    }
    void Grow() { Rehash(FItems.empty() ? MinCapacity : DoubledCapacity(GetCapacity())); }

    /// Re-inserts every entry into Buckets new buckets (no reports).
    void Rehash(int Buckets) {
        if (Buckets == GetCapacity()) return;
        std::vector<TItem> Old(static_cast<std::size_t>(Buckets));
        Old.swap(FItems);
        FGrowThreshold = GrowThresholdOf(Buckets);
        const int Mask = Buckets - 1;
        for (TItem& Item : Old) {
            if (Item.HashCode == EmptyHash) continue;
            int Index = Item.HashCode & Mask;
            while (FItems[static_cast<std::size_t>(Index)].HashCode != EmptyHash) Index = (Index + 1) & Mask;
            FItems[static_cast<std::size_t>(Index)] = std::move(Item);
        }
        LayoutChanged();
    }

    /// Backward shift from the emptied bucket Gap: every later entry of the run
    /// whose home does not lie in (Gap, its position] moves into the gap.
    void CloseGap(int Gap) noexcept {
        const int Mask = GetCapacity() - 1;
        for (int Index = (Gap + 1) & Mask;; Index = (Index + 1) & Mask) {
            TItem& Item = FItems[static_cast<std::size_t>(Index)];
            if (Item.HashCode == EmptyHash) break;
            if (!InCircularRange(Gap, Item.HashCode & Mask, Index)) {
                FItems[static_cast<std::size_t>(Gap)] = std::move(Item);
                Gap = Index;
            }
        }
        TItem& Last = FItems[static_cast<std::size_t>(Gap)];
        Last.HashCode = EmptyHash;
        Last.Key = K{};
        Last.Value = V{};
    }

    int FCount = 0;
    TComparerPtr<K> FComparer;
    int FGrowThreshold = 0;
    std::vector<TItem> FItems;
};

}  // namespace fzl
