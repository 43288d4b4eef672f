#pragma once
// Owned collections and their items.
//
// A collection owns its items. Items are constructed detached and join a
// collection afterwards (TItemClass::Create does both), and they leave it in
// BeforeDestruction, so the collection's Notify hooks always see a complete item.
// Every insertion, removal and move ends with a whole-collection Update(nullptr)
// unless an update bracket is open.

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <iterator>
#include <vector>

#include <fzl/support/Persistent.h>

namespace fzl {

class TCollection;

/// What happens to an item: it joined, it is leaving, or it is about to be deleted.
enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

/// An element of a TCollection.
class TCollectionItem : public TPersistent {
public:
    [[nodiscard]] TCollection* GetCollection() const noexcept { return FCollection; }
    /// Moves the item to another collection (appended there), or detaches it with nullptr.
    virtual void SetCollection(TCollection* Value);
    /// Position in the collection, -1 when detached.
    [[nodiscard]] int GetIndex() const noexcept { return FCollection != nullptr ? FIndex : -1; }
    /// Moves the item to Value (clamped into the collection); reports a whole-collection change.
    virtual void SetIndex(int Value);
    /// Name shown to users; the class name unless a descendant knows better.
    [[nodiscard]] virtual std::string GetDisplayName() const { return ClassName(); }
    /// Unique (per collection) creation number.
    [[nodiscard]] int GetID() const noexcept { return FID; }
    [[nodiscard]] TPersistent* GetOwner() const override;

    [[nodiscard]] std::string ClassName() const override { return "TCollectionItem"; }

protected:
    TCollectionItem() = default;
    ~TCollectionItem() override = default;
    /// Reports a change of this item (or of all items) unless the collection is updating.
    void Changed(bool AllItems);
    /// Makes a detached item look new (index -1, ID 0), for classes that recycle their instances.
    void ResetItem() noexcept {
        FCollection = nullptr;
        FIndex = -1;
        FID = 0;
    }
    void BeforeDestruction() override;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FIndex = -1;
    int FID = 0;
};

/// Raises EConvertError: Item does not belong in Collection.
[[noreturn]] void RaiseWrongCollection(const TCollectionItem& Item, const TCollection& Collection);

/// A class reference for items: creates an instance of a concrete descendant of
/// TItem in a collection, so applications can substitute their own classes.
template <class TItem>
class TItemClass {
public:
    using TFactory = TCollectionItem* (*)(TCollection* Collection);

    /// The class reference of T.
    template <class T>
    requires std::derived_from<T, TItem>
    [[nodiscard]] static constexpr TItemClass Of() noexcept { return TItemClass(&Construct<T>); }

    /// Constructs a new item for Collection and then joins it (when not nullptr).
    TItem* Create(TCollection* Collection) const { return static_cast<TItem*>(FFactory(Collection)); }

    /// Widening to the class reference of a base.
    template <class TBase>
    requires std::derived_from<TItem, TBase>
    operator TItemClass<TBase>() const noexcept {  // NOLINT(google-explicit-constructor)
        return TItemClass<TBase>::FromFactory(FFactory);
    }

    [[nodiscard]] static constexpr TItemClass FromFactory(TFactory Factory) noexcept {
        return TItemClass(Factory);
    }
    friend constexpr bool operator==(TItemClass, TItemClass) noexcept = default;

private:
    constexpr explicit TItemClass(TFactory Factory) noexcept : FFactory(Factory) {}

    template <class T>
    static TCollectionItem* Construct(TCollection* Collection) {
        TOwned<T> Item(new T(Collection));
        Item->AfterConstruction();
        if (Collection != nullptr) Item->SetCollection(Collection);
        return Item.release();
    }

    TFactory FFactory;
};

using TCollectionItemClass = TItemClass<TCollectionItem>;

/// Typed forward iteration over a collection's items (range-based for).
template <class T>
class TCollectionEnumerator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T*;
    using difference_type = std::ptrdiff_t;
    using pointer = T**;
    using reference = T*;

    TCollectionEnumerator() = default;
    explicit TCollectionEnumerator(std::vector<TCollectionItem*>::const_iterator Position)
        : FPosition(Position) {}
    T* operator*() const { return static_cast<T*>(*FPosition); }
    TCollectionEnumerator& operator++() {
        ++FPosition;
        return *this;
    }
    TCollectionEnumerator operator++(int) {
        auto Copy = *this;
        ++FPosition;
        return Copy;
    }
    friend bool operator==(const TCollectionEnumerator&, const TCollectionEnumerator&) = default;

private:
    std::vector<TCollectionItem*>::const_iterator FPosition;
};

/// An owned list of items of one class. Changes are reported to the virtual hooks
/// Notify (as items join and leave) and Update (after changes, unless updating).
class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass, TPersistent* Owner = nullptr)
        : FItemClass(ItemClass), FOwner(Owner) {}

    /// Appends a new item of the item class.
    TCollectionItem* Add() { return FItemClass.Create(this); }
    /// Appends a new item and moves it to Index.
    TCollectionItem* Insert(int Index);
    /// Frees the item at Index (reported as deleting, then extracting).
    void Delete(int Index);
    /// Frees all items inside one update bracket.
    void Clear();

    [[nodiscard]] int Count() const noexcept { return static_cast<int>(FItems.size()); }
    /// Makes room for Capacity items without reallocating.
    void Reserve(int Capacity) { FItems.reserve(static_cast<std::size_t>(std::max(Capacity, 0))); }
    /// The item at Index; raises EListError outside 0 .. Count - 1.
    [[nodiscard]] TCollectionItem* GetItem(int Index) const {
        if (Index < 0 || Index >= Count()) RaiseIndexError(Index);
        return FItems[static_cast<std::size_t>(Index)];
    }
    /// Assigns Value into the existing item at Index.
    void SetItem(int Index, const TCollectionItem& Value) { GetItem(Index)->Assign(Value); }

    /// Opens a bulk update; brackets nest.
    void BeginUpdate() noexcept { ++FUpdateCount; }
    /// Closes a bulk update; the outermost close reports Update(nullptr).
    void EndUpdate();
    [[nodiscard]] int UpdateCount() const noexcept { return FUpdateCount; }

    /// Clear, then one copy of each of Source's items (a TCollection), in one bracket.
    void Assign(const TPersistent& Source) override;
    /// Exchanges the items of this collection and Other, a collection of the same class,
    /// without any report: each item keeps its place, ID and state and belongs to the other
    /// collection from then on. How an owner sets its items aside and puts them back.
    /// A collection of another class raises EConvertError.
    void ExchangeItems(TCollection& Other);
    [[nodiscard]] TPersistent* GetOwner() const override { return FOwner; }
    [[nodiscard]] TCollectionItemClass ItemClass() const noexcept { return FItemClass; }

    [[nodiscard]] std::string ClassName() const override { return "TCollection"; }

protected:
    ~TCollection() override = default;
    /// Called after a change: Item, or nullptr for the collection as a whole.
    virtual void Update(TCollectionItem* Item);
    /// Called as Item joins (cnAdded) or leaves (cnDeleting before cnExtracting).
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    /// Reports a whole-collection change unless updating.
    void Changed();
    /// Frees every item without reporting Update (used when the owner goes).
    void FreeItems();
    /// Frees every item without any report at all, for collections whose items
    /// nobody observes leaving (a point list going with its set).
    void DiscardItems();
    void BeforeDestruction() override;

    /// Raw item storage for typed enumeration in descendants.
    [[nodiscard]] const std::vector<TCollectionItem*>& RawItems() const noexcept { return FItems; }
    /// Moves the item at CurIndex to NewIndex without reporting anything.
    void MoveItem(int CurIndex, int NewIndex);
    /// Appends Item (detached, of the item class) with the next ID and reports nothing:
    /// for descendants that build their items in bulk and report once.
    void AppendSilently(TCollectionItem* Item) {
        FItems.push_back(Item);
        Item->FCollection = this;
        Item->FIndex = Count() - 1;
        Item->FID = FNextID++;
    }
    /// Raw mutable storage, for descendants that rearrange their items in bulk (then
    /// Renumber, and DetachSilently what they took out).
    [[nodiscard]] std::vector<TCollectionItem*>& MutableItems() noexcept { return FItems; }
    /// Gives the items from From on their current positions as indexes.
    void Renumber(int From) noexcept;
    /// Marks an item taken out of the storage by hand as detached (without any report).
    static void DetachSilently(TCollectionItem* Item) noexcept {
        Item->FCollection = nullptr;
        Item->FIndex = -1;
    }
    /// Uses up the next ID, as an item that joined and left unseen would have.
    void SkipID() noexcept { ++FNextID; }
    /// Uses up the next Count IDs.
    void SkipIDs(int Count) noexcept { FNextID += Count; }
    /// Gives Item (of this collection) the next ID, as if it had left and joined again.
    void RenewID(TCollectionItem& Item) noexcept { Item.FID = FNextID++; }
    /// Makes an emptied collection look new: no bracket open, IDs restarting at 0.
    void ResetEmpty() noexcept {
        FUpdateCount = 0;
        FNextID = 0;
    }

    /// Suppresses Update reports for its lifetime, without a closing report.
    class TSilentUpdate {
    public:
        explicit TSilentUpdate(TCollection& Collection) noexcept : FCollection(Collection) {
            ++FCollection.FUpdateCount;
        }
        ~TSilentUpdate() { --FCollection.FUpdateCount; }
        TSilentUpdate(const TSilentUpdate&) = delete;
        TSilentUpdate& operator=(const TSilentUpdate&) = delete;

    private:
        TCollection& FCollection;
    };

private:
    friend class TCollectionItem;
    [[noreturn]] static void RaiseIndexError(int Index);
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    std::vector<TCollectionItem*> FItems;
    TCollectionItemClass FItemClass;
    TPersistent* FOwner;
    int FUpdateCount = 0;
    int FNextID = 0;
};

/// Raises EConvertError unless Value is nullptr or a TOwnerCollection: for items
/// that live only in their own kind of collection and rely on it.
template <class TOwnerCollection>
void RequireCollection(const TCollectionItem& Item, TCollection* Value) {
    if (Value != nullptr && DownCast<TOwnerCollection>(Value) == nullptr) RaiseWrongCollection(Item, *Value);
}

}  // namespace fzl
