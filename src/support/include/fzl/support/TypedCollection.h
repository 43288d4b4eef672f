#pragma once
// An owned collection whose items are all of one class: typed access, iteration
// and lookup by name, written once for every collection of the model.

#include <concepts>
#include <string_view>

#include <fzl/support/GCollection.h>

namespace fzl {

/// A collection (TBase: TCollection or a descendant) holding items of TItem only.
/// The item class given to the constructor must make TItem (or descendants).
template <class TItem, class TBase = TGCollection>
requires std::derived_from<TBase, TCollection> && std::derived_from<TItem, TCollectionItem>
class TTypedCollection : public TBase {
public:
    using TBase::TBase;

    /// Appends a new item of the item class; the collection owns it.
    TItem* Add() { return static_cast<TItem*>(TBase::Add()); }
    /// Appends a new item and moves it to Index; the collection owns it.
    TItem* Insert(int Index) { return static_cast<TItem*>(TBase::Insert(Index)); }
    /// The item at Index; raises EListError outside 0 .. Count - 1.
    [[nodiscard]] TItem* GetItem(int Index) const { return static_cast<TItem*>(TBase::GetItem(Index)); }
    /// Assigns Value into the existing item at Index.
    void SetItem(int Index, const TItem& Value) { GetItem(Index)->Assign(Value); }
    [[nodiscard]] TItem* First() const { return GetItem(0); }
    [[nodiscard]] TItem* Last() const { return GetItem(this->Count() - 1); }

    /// The first item named Name (exact, case-sensitive), or nullptr.
    /// Every item is a TItem, so no item is cast by type on the way (sets are looked up by
    /// name for every operand of an expression).
    [[nodiscard]] TItem* Find(std::string_view Name) const
        requires std::derived_from<TBase, TGCollection> && std::derived_from<TItem, TGCollectionItem>
    {
        for (TCollectionItem* Item : this->RawItems())
            if (static_cast<TItem*>(Item)->HasName(Name)) return static_cast<TItem*>(Item);
        return nullptr;
    }

    [[nodiscard]] TCollectionEnumerator<TItem> begin() const noexcept {
        return TCollectionEnumerator<TItem>(this->RawItems().begin());
    }
    [[nodiscard]] TCollectionEnumerator<TItem> end() const noexcept {
        return TCollectionEnumerator<TItem>(this->RawItems().end());
    }

protected:
    ~TTypedCollection() override = default;
};

}  // namespace fzl
