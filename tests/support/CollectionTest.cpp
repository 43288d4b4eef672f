#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>
#include <fzl/support/TypedCollection.h>
#include <fzl/support/UpdateGuard.h>

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
};

struct TDerivedItem : TNamedItem {
    using TNamedItem::TNamedItem;
    [[nodiscard]] std::string ClassName() const override { return "TDerivedItem"; }
};

struct TLogged : TTypedCollection<TNamedItem> {
    /// Starts with one item per character of Names, and an empty log.
    explicit TLogged(std::string_view Names = "",
                     TItemClass<TNamedItem> Class = TItemClass<TNamedItem>::Of<TNamedItem>())
        : TTypedCollection(Class) {
        for (char Name : Names) Add()->Name = Name;
        Log.clear();
    }
    /// The item names in order, "?" marking an item that does not know its index.
    [[nodiscard]] std::string Names() const {
        std::string Result;
        for (const TNamedItem* Item : *this)
            Result += Item->Name + (GetItem(Item->GetIndex()) == Item ? "" : "?");
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
    List->Add()->Name = "E";
    EXPECT_EQ(Take(), (TLog{"added:", "update:*"}));  // joined before the caller named it
    List->Delete(1);
    EXPECT_EQ(Take(), (TLog{"deleting:B", "extracting:B", "update:*"}));
    List->GetItem(1)->Free();
    List->First()->Touch();
    EXPECT_EQ(Take(), (TLog{"extracting:C", "update:*", "update:A"}));
    List->Insert(0)->Name = "I";
    List->Last()->SetIndex(1);
    EXPECT_EQ(List->Names(), "IEAD");
    Take();
    List->Clear();
    List->Clear();  // empty: nothing more to report
    EXPECT_EQ(Take(), (TLog{"extracting:D", "extracting:A", "extracting:E", "extracting:I", "update:*"}));

    List->BeginUpdate();
    List->Add()->Touch();
    List->Delete(0);
    List->Add()->Name = "F";
    List->EndUpdate();
    EXPECT_EQ(Take(), (TLog{"added:", "deleting:", "extracting:", "added:", "update:*"}));
    auto Other = Make<TLogged>("X");
    List->First()->SetCollection(Other.get());
    EXPECT_EQ(Take(), (TLog{"extracting:F", "update:*", "added:F", "update:*"}));
    Other.reset();  // frees the items without reporting Update
    EXPECT_EQ(Take(), (TLog{"extracting:F", "extracting:X"}));
}

TEST(Collection, ItemClassLookupBadIndexesAndAssign) {
    auto List = Make<TLogged>("", TItemClass<TNamedItem>::Of<TDerivedItem>());
    EXPECT_EQ(List->Add()->GetDisplayName(), "TDerivedItem");
    auto Named = Make<TLogged>("ABA");
    EXPECT_EQ(Named->Find("A"), Named->First());
    EXPECT_EQ(Named->Find("b"), nullptr);  // exact, case-sensitive
    Named->Delete(0);
    EXPECT_THROW(static_cast<void>(Named->GetItem(-1)), EListError);
    EXPECT_THROW(Named->Delete(2), EListError);
    Take();
    // Assign replaces the items with copies inside one bracket; self-assignment changes nothing.
    List->Assign(*Named);
    List->Assign(*List);
    EXPECT_EQ(List->Names() + "|" + Named->Names(), "BA|BA");
    EXPECT_EQ(std::ranges::count(Take(), "update:*"), 1);
    EXPECT_EQ(List->First()->ClassName(), "TDerivedItem");
    auto Strings = Make<TStringList>();  // unrelated classes: an error, the target untouched
    EXPECT_THROW(List->Assign(*Strings), EConvertError);
    EXPECT_EQ(List->Names(), "BA");
}

// A bracket whose closing report can fail.
struct TTarget {
    int Depth = 0, Reports = 0;
    bool FailReport = false;
    void BeginUpdate() { ++Depth; }
    void EndUpdate() {
        if (--Depth > 0) return;
        ++Reports;
        if (FailReport) throw std::runtime_error("report");
    }
};

TEST(UpdateGuard, ClosesOnceAndNeverThrowsOverAnotherException) {
    TTarget Target;
    {
        const TUpdateGuard Outer(Target);
        const TUpdateGuard Inner(Target);
        EXPECT_EQ(Target.Depth, 2);
    }
    EXPECT_EQ(Target.Reports, 1);  // only the outermost close reports
    Target.FailReport = true;
    // Left normally: the report's exception comes through, and the bracket is closed.
    EXPECT_THROW({ const TUpdateGuard Guard(Target); }, std::runtime_error);
    // Left by an exception: that one comes through; the failing report is dropped, not terminating.
    EXPECT_THROW(
        {
            const TUpdateGuard Guard(Target);
            throw std::logic_error("body");
        },
        std::logic_error);
    EXPECT_EQ(std::pair(Target.Depth, Target.Reports), std::pair(0, 3));
}

}  // namespace
}  // namespace fzl
