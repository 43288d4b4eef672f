#include <algorithm>
#include <typeinfo>
#include <utility>

#include <fzl/support/Collection.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {

// ---- TCollectionItem -------------------------------------------------------

void TCollectionItem::SetCollection(TCollection* Value) {
    if (FCollection == Value) return;
    if (FCollection != nullptr) FCollection->RemoveItem(this);
    if (Value != nullptr) Value->InsertItem(this);
}

void TCollectionItem::SetIndex(int Value) {
    const int Current = GetIndex();
    if (Current < 0 || Current == Value) return;
    FCollection->MoveItem(Current, Value);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

void TCollectionItem::BeforeDestruction() {
    SetCollection(nullptr);
    TPersistent::BeforeDestruction();
}

void RaiseWrongCollection(const TCollectionItem& Item, const TCollection& Collection) {
    throw EConvertError(Format(SAssignError, {Item.ClassName(), Collection.ClassName()}));
}

// ---- TCollection -----------------------------------------------------------

TCollectionItem* TCollection::Insert(int Index) {
    TCollectionItem* Item = Add();
    Item->SetIndex(Index);
    return Item;
}

void TCollection::Delete(int Index) {
    TCollectionItem* Item = GetItem(Index);
    Notify(Item, cnDeleting);
    Item->Free();
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    const TUpdateGuard Update(*this);
    while (!FItems.empty()) FItems.back()->Free();
}

void TCollection::RaiseIndexError(int Index) { throw EListError(Format(SListIndexError, {Index})); }

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TCollection*>(&Source);
    if (Other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this) return;
    const TUpdateGuard Update(*this);
    Clear();
    for (const TCollectionItem* Item : Other->FItems) Add()->Assign(*Item);
}

void TCollection::ExchangeItems(TCollection& Other) {
    if (&Other == this) return;
    if (typeid(Other) != typeid(*this))
        throw EConvertError(Format(SAssignError, {Other.ClassName(), ClassName()}));
    FItems.swap(Other.FItems);
    std::swap(FNextID, Other.FNextID);
    for (TCollectionItem* Item : FItems) Item->FCollection = this;
    for (TCollectionItem* Item : Other.FItems) Item->FCollection = &Other;
}

void TCollection::Update(TCollectionItem* /*Item*/) {}

void TCollection::Notify(TCollectionItem* /*Item*/, TCollectionNotification /*Action*/) {}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::FreeItems() {
    const TSilentUpdate Silent(*this);
    while (!FItems.empty()) FItems.back()->Free();
}

// The storage is kept (a recycled list reuses it); the items are detached before the
// first goes, so none of them finds the collection while it is being freed.
void TCollection::DiscardItems() {
    for (TCollectionItem* Item : FItems) DetachSilently(Item);
    for (TCollectionItem* Item : FItems) Item->Free();
    FItems.clear();
}

void TCollection::BeforeDestruction() {
    FreeItems();
    TPersistent::BeforeDestruction();
}

void TCollection::MoveItem(int CurIndex, int NewIndex) {
    NewIndex = std::clamp(NewIndex, 0, Count() - 1);
    if (CurIndex == NewIndex) return;
    const auto Begin = FItems.begin();
    if (CurIndex < NewIndex)
        std::rotate(Begin + CurIndex, Begin + CurIndex + 1, Begin + NewIndex + 1);
    else
        std::rotate(Begin + NewIndex, Begin + CurIndex, Begin + CurIndex + 1);
    Renumber(std::min(CurIndex, NewIndex));
}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FIndex = Count() - 1;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    Notify(Item, cnExtracting);
    const int Index = Item->FIndex;
    FItems.erase(FItems.begin() + Index);
    Item->FCollection = nullptr;
    Item->FIndex = -1;
    Renumber(Index);
    Changed();
}

void TCollection::Renumber(int From) noexcept {
    for (int Index = From; Index < Count(); ++Index) FItems[static_cast<std::size_t>(Index)]->FIndex = Index;
}

}  // namespace fzl
