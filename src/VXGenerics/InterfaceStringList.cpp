#include <algorithm>
#include <utility>

#include <fzl/VXGenerics/InterfaceStringList.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/StringList.h>

namespace fzl {
namespace {

char LowerAscii(char C) noexcept { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

}  // namespace

int TInterfaceStringList::AddObject(const std::string& S, TObject* Object, const TIntfPtr<IInterface>& Data) {
    int Index = Count();
    if (FSorted && Find(S, Index)) {
        if (FDuplicates == dupIgnore) return Index;
        if (FDuplicates == dupError) throw EListError(SDuplicateString);
    }
    InsertItem(Index, S, Object, Data);
    return Index;
}

void TInterfaceStringList::Insert(int Index, const std::string& S, TObject* Object,
                                  const TIntfPtr<IInterface>& Data) {
    RequireUnsorted();
    InsertItem(Index, S, Object, Data);
}

void TInterfaceStringList::InsertItem(int Index, const std::string& S, TObject* Object,
                                      const TIntfPtr<IInterface>& Data) {
    if (Index < 0 || Index > Count()) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    Changing();
    if (FItems.size() == FItems.capacity()) {
        const std::size_t Needed = FItems.size() + 1;
        std::size_t Capacity = FItems.capacity() == 0 ? Needed : FItems.capacity();
        while (Capacity < Needed) Capacity *= 2;
        FItems.reserve(Capacity);
    }
    FItems.insert(FItems.begin() + Index, TItem{S, Object, Data});
    Changed();
}

void TInterfaceStringList::Delete(int Index) {
    static_cast<void>(ItemAt(Index));
    Changing();
    TItem Old = std::move(FItems[static_cast<std::size_t>(Index)]);
    FItems.erase(FItems.begin() + Index);
    FreeObject(Old.Object);
    Changed();
}  // Old.Data is released here, once the list is consistent and reported

void TInterfaceStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    std::vector<TItem> Old = std::exchange(FItems, {});
    for (const TItem& Item : Old) FreeObject(Item.Object);
    Changed();
}

void TInterfaceStringList::SetString(int Index, const std::string& S) {
    RequireUnsorted();
    static_cast<void>(ItemAt(Index));
    Changing();
    ItemAt(Index).String = S;
    Changed();
}

void TInterfaceStringList::SetObject(int Index, TObject* Object) {
    static_cast<void>(ItemAt(Index));
    Changing();
    ItemAt(Index).Object = Object;
    Changed();
}

void TInterfaceStringList::PutData(int Index, const TIntfPtr<IInterface>& Value) {
    static_cast<void>(ItemAt(Index));
    Changing();
    TIntfPtr<IInterface> Old = std::exchange(ItemAt(Index).Data, Value);
    Changed();
}

int TInterfaceStringList::IndexOf(std::string_view S) const {
    if (FSorted) {
        int Index = 0;
        return Find(S, Index) ? Index : -1;
    }
    for (int Index = 0; Index < Count(); ++Index)
        if (CompareStrings(FItems[static_cast<std::size_t>(Index)].String, S) == 0) return Index;
    return -1;
}

bool TInterfaceStringList::Find(std::string_view S, int& Index) const {
    if (!FSorted) {
        Index = IndexOf(S);
        if (Index >= 0) return true;
        Index = Count();
        return false;
    }
    const auto First = std::lower_bound(
        FItems.begin(), FItems.end(), S,
        [this](const TItem& Item, std::string_view Key) { return CompareStrings(Item.String, Key) < 0; });
    Index = static_cast<int>(First - FItems.begin());
    return First != FItems.end() && CompareStrings(First->String, S) == 0;
}

void TInterfaceStringList::Sort() {
    if (FItems.size() < 2) return;
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(), [this](const TItem& A, const TItem& B) {
        return CompareStrings(A.String, B.String) < 0;
    });
    Changed();
}

void TInterfaceStringList::SetSorted(bool Value) {
    if (Value == FSorted) return;
    if (Value) Sort();
    FSorted = Value;
}

void TInterfaceStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive) return;
    FCaseSensitive = Value;
    if (FSorted) Sort();
}

std::string TInterfaceStringList::GetText() const {
    std::string Text;
    for (const TItem& Item : FItems) {
        Text += Item.String;
        Text += '\n';
    }
    return Text;
}

void TInterfaceStringList::SetText(std::string_view Text) {
    BeginUpdate();
    try {
        Clear();
        std::size_t Start = 0;
        while (Start < Text.size()) {
            const std::size_t End = Text.find_first_of("\r\n", Start);
            if (End == std::string_view::npos) {
                Add(std::string(Text.substr(Start)));
                break;
            }
            Add(std::string(Text.substr(Start, End - Start)));
            Start = End + 1;
            if (Text[End] == '\r' && Start < Text.size() && Text[Start] == '\n') ++Start;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TInterfaceStringList::BeginUpdate() {
    if (FUpdateCount == 0) Changing();
    ++FUpdateCount;
}

void TInterfaceStringList::EndUpdate() {
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) Changed();
}

void TInterfaceStringList::Assign(const TPersistent& Source) {
    if (&Source == this) return;
    const auto* List = dynamic_cast<const TInterfaceStringList*>(&Source);
    const auto* Strings = dynamic_cast<const TStrings*>(&Source);
    if (List == nullptr && Strings == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        if (List != nullptr) {
            for (const TItem& Item : *List) AddObject(Item.String, Item.Object, Item.Data);
        } else {
            for (const TStrings::TItem& Item : *Strings) AddObject(Item.String, Item.Object);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TInterfaceStringList::AssignTo(TPersistent& Dest) const {
    if (auto* Strings = dynamic_cast<TStrings*>(&Dest)) {
        Strings->BeginUpdate();
        Strings->Clear();
        for (const TItem& Item : FItems) Strings->AddObject(Item.String, Item.Object);
        Strings->EndUpdate();
        return;
    }
    TPersistent::AssignTo(Dest);
}

void TInterfaceStringList::BeforeDestruction() {
    OnChanging = nullptr;
    OnChanged = nullptr;
    std::vector<TItem> Old = std::exchange(FItems, {});
    for (const TItem& Item : Old) FreeObject(Item.Object);
    TPersistent::BeforeDestruction();
}

void TInterfaceStringList::Changing() {
    if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TInterfaceStringList::Changed() {
    if (FUpdateCount == 0 && OnChanged) OnChanged(this);
}

int TInterfaceStringList::CompareStrings(std::string_view A, std::string_view B) const noexcept {
    if (FCaseSensitive) return A.compare(B);
    const std::size_t Common = std::min(A.size(), B.size());
    for (std::size_t I = 0; I < Common; ++I) {
        const auto X = static_cast<unsigned char>(LowerAscii(A[I]));
        const auto Y = static_cast<unsigned char>(LowerAscii(B[I]));
        if (X != Y) return X < Y ? -1 : 1;
    }
    if (A.size() == B.size()) return 0;
    return A.size() < B.size() ? -1 : 1;
}

const TInterfaceStringList::TItem& TInterfaceStringList::ItemAt(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
    return FItems[static_cast<std::size_t>(Index)];
}

TInterfaceStringList::TItem& TInterfaceStringList::ItemAt(int Index) {
    return const_cast<TItem&>(std::as_const(*this).ItemAt(Index));
}

void TInterfaceStringList::RequireUnsorted() const {
    if (FSorted) throw EListError(SSortedListError);
}

void TInterfaceStringList::FreeObject(TObject* Object) const {
    if (FOwnsObjects && Object != nullptr) Object->Free();
}

}  // namespace fzl
