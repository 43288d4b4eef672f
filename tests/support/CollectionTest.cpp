#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fzl/support/Collection.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/GCollection.h>
#include <fzl/support/StringList.h>

namespace fzl {
namespace {

using TLog = std::vector<std::string>;
TLog Log;  // the hook calls of every TLogged, as "<event>:<item name>"
TLog Take() { return std::exchange(Log, {}); }

struct TNamedItem : TGCollectionItem {
    explicit TNamedItem(TCollection* /*Collection*/) {}
    std::string Name;
    [[nodiscard]] std::string GetName() const override { return Name; }
    void Assign(const TPersistent& Source) override { Name = dynamic_cast<const TNamedItem&>(Source).Name; }
    void Touch() { Changed(false); }
    TNamedItem* Rename(std::string NewName) { return Name = std::move(NewName), this; }
};

struct TDerivedItem : TNamedItem {
    using TNamedItem::TNamedItem;
    [[nodiscard]] std::string ClassName() const override { return "TDerivedItem"; }
};

struct TLogged : TGCollection {
    /// Starts with one item per character of Names, and an empty log.
    explicit TLogged(std::string_view Names = "",
                     TCollectionItemClass Class = TItemClass<TNamedItem>::Of<TNamedItem>())
        : TGCollection(Class) {
        for (char Name : Names) AddNamed(std::string(1, Name));
        Log.clear();
    }
    TNamedItem* AddNamed(const std::string& Name) { return static_cast<TNamedItem*>(Add())->Rename(Name); }
    [[nodiscard]] TNamedItem* Named(int Index) const { return static_cast<TNamedItem*>(GetItem(Index)); }
    /// The item names in order, "?" marking an item that does not know its index.
    [[nodiscard]] std::string Names() const {
        std::string Result;
        for (int I = 0; I < Count(); ++I) Result += Named(I)->Name + (Named(I)->GetIndex() == I ? "" : "?");
        return Result;
    }
    void Update(TCollectionItem* Item) override {
        Log.push_back("update:" + (Item == nullptr ? "*" : static_cast<TNamedItem*>(Item)->Name));
    }
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
        const auto* Whole = dynamic_cast<const TNamedItem*>(Item);  // still whole, even while being freed
        const char* Event = Action == cnAdded ? "added:" : Action == cnDeleting ? "deleting:" : "extracting:";
        Log.push_back(Event + (Whole != nullptr ? Whole->Name : "<not whole>"));
    }
};

TEST(Collection, HooksReportEachChangeOnceAndInOrder) {
    auto List = Make<TLogged>("ABCD");
    List->AddNamed("E");
    EXPECT_EQ(Take(), (TLog{"added:", "update:*"}));  // joined before the caller named it
    List->Delete(1);
    EXPECT_EQ(Take(), (TLog{"deleting:B", "extracting:B", "update:*"}));
    List->Named(1)->Free();
    List->Named(0)->Touch();
    EXPECT_EQ(Take(), (TLog{"extracting:C", "update:*", "update:A"}));
    static_cast<TNamedItem*>(List->Insert(0))->Rename("I");
    EXPECT_EQ(List->Names(), "IADE");
    Take();
    List->Clear();
    List->Clear();  // empty: nothing more to report
    EXPECT_EQ(Take(), (TLog{"extracting:E", "extracting:D", "extracting:A", "extracting:I", "update:*"}));

    List->BeginUpdate();
    List->AddNamed("A")->Touch();
    List->Delete(0);
    List->AddNamed("F");
    List->EndUpdate();
    EXPECT_EQ(Take(), (TLog{"added:", "deleting:A", "extracting:A", "added:", "update:*"}));
    List.reset();  // frees the items without reporting Update
    EXPECT_EQ(Take(), (TLog{"extracting:F"}));
}

TEST(Collection, MovingItems) {
    auto List = Make<TLogged>("ABCD");
    auto Other = Make<TLogged>("X");
    List->Named(3)->SetIndex(0);
    List->Named(1)->SetIndex(2);
    EXPECT_EQ(List->Names(), "DBAC");
    EXPECT_EQ(Take(), (TLog{"update:*", "update:*"}));

    TNamedItem* B = List->Named(1);
    B->SetCollection(Other.get());
    EXPECT_EQ(Take(), (TLog{"extracting:B", "update:*", "added:B", "update:*"}));
    EXPECT_EQ(List->Names() + "|" + Other->Names(), "DAC|XB");
    B->SetCollection(nullptr);  // detached, it belongs to nobody: freeing it reports nowhere
    B->Free();
    EXPECT_EQ(Take(), (TLog{"extracting:B", "update:*"}));
}

TEST(Collection, ItemClassLookupBadIndexesAndAssign) {
    auto List = Make<TLogged>("", TItemClass<TNamedItem>::Of<TDerivedItem>());
    EXPECT_EQ(List->Add()->GetDisplayName(), "TDerivedItem");

    auto Named = Make<TLogged>("ABA");
    EXPECT_EQ(Named->IndexOf("A"), 0);
    EXPECT_EQ(Named->IndexOf("b"), -1);  // exact, case-sensitive
    Named->Delete(0);
    EXPECT_THROW(static_cast<void>(Named->GetItem(-1)), EListError);
    EXPECT_THROW(Named->Delete(2), EListError);
    Take();

    // Assign replaces the items with copies inside one bracket; self-assignment changes nothing.
    List->Assign(*Named);
    List->Assign(*List);
    EXPECT_EQ(List->Names() + "|" + Named->Names(), "BA|BA");
    EXPECT_EQ(std::ranges::count(Take(), "update:*"), 1);
    EXPECT_EQ(List->Named(0)->ClassName(), "TDerivedItem");
    auto Strings = Make<TStringList>();  // unrelated classes: an error, the target untouched
    EXPECT_THROW(List->Assign(*Strings), EConvertError);
    EXPECT_EQ(List->Names(), "BA");
}

}  // namespace
}  // namespace fzl
