#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/Collection.h"
#include "support/Exceptions.h"
#include "support/GCollection.h"
#include "support/StringList.h"

namespace fzl {
namespace {

using TLog = std::vector<std::string>;

/// An item with derived data (a name) that the hooks read.
class TNamedItem : public TGCollectionItem {
public:
    explicit TNamedItem(TCollection* /*Collection*/) {}

    std::string Name;

    [[nodiscard]] std::string GetName() const override { return Name; }
    [[nodiscard]] std::string ClassName() const override { return "TNamedItem"; }
    void Assign(const TPersistent& Source) override {
        if (const auto* Other = dynamic_cast<const TNamedItem*>(&Source)) {
            Name = Other->Name;
            return;
        }
        TGCollectionItem::Assign(Source);
    }
    /// Reports a change of this item alone.
    void Touch() { Changed(false); }

protected:
    ~TNamedItem() override = default;
};

class TDerivedItem : public TNamedItem {
public:
    using TNamedItem::TNamedItem;
    [[nodiscard]] std::string ClassName() const override { return "TDerivedItem"; }
};

/// Records every hook call as "<event>:<item name>".
class TRecordingCollection : public TGCollection {
public:
    explicit TRecordingCollection(TLog& Log,
                                  TCollectionItemClass ItemClass = TItemClass<TNamedItem>::Of<TNamedItem>())
        : TGCollection(ItemClass), FLog(Log) {}

    TNamedItem* AddNamed(const std::string& Name) {
        auto* Item = static_cast<TNamedItem*>(Add());
        Item->Name = Name;
        return Item;
    }
    [[nodiscard]] TNamedItem* Named(int Index) const { return static_cast<TNamedItem*>(GetItem(Index)); }
    [[nodiscard]] std::string Names() const {
        std::string Result;
        for (int I = 0; I < Count(); ++I) Result += Named(I)->Name + (Named(I)->GetIndex() == I ? "" : "?");
        return Result;
    }

protected:
    void Update(TCollectionItem* Item) override {
        FLog.push_back(Item == nullptr ? "update:*" : "update:" + static_cast<TNamedItem*>(Item)->Name);
    }
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
        const char* Kinds[] = {"added", "extracting", "deleting"};
        // The item must still be a complete TNamedItem here, also when it is being freed.
        const auto* Named = dynamic_cast<const TNamedItem*>(Item);
        FLog.push_back(std::string(Kinds[Action]) + ":" + (Named != nullptr ? Named->Name : "<not whole>"));
    }

private:
    TLog& FLog;
};

TEST(Collection, HookOrderOfAddDeleteAndFree) {
    TLog Log;
    auto List = Make<TRecordingCollection>(Log);

    TNamedItem* A = List->AddNamed("A");
    EXPECT_EQ(Log, (TLog{"added:", "update:*"}));  // joined before the caller named it
    List->AddNamed("B");
    List->AddNamed("C");
    EXPECT_EQ(List->Names(), "ABC");
    EXPECT_EQ(A->GetCollection(), List.get());
    EXPECT_EQ(A->GetOwner(), List.get());

    Log.clear();
    List->Delete(1);
    EXPECT_EQ(Log, (TLog{"deleting:B", "extracting:B", "update:*"}));
    EXPECT_EQ(List->Names(), "AC");

    Log.clear();
    List->Named(1)->Free();
    EXPECT_EQ(Log, (TLog{"extracting:C", "update:*"}));
    EXPECT_EQ(List->Names(), "A");

    Log.clear();
    A->Touch();
    EXPECT_EQ(Log, (TLog{"update:A"}));

    // Insert places the new item at Index and ends with a whole-collection report.
    Log.clear();
    auto* I = static_cast<TNamedItem*>(List->Insert(0));
    I->Name = "I";
    EXPECT_EQ(List->Names(), "IA");
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front(), "added:");
    EXPECT_EQ(Log.back(), "update:*");

    // Freeing the collection frees its items without reporting Update.
    Log.clear();
    List.reset();
    EXPECT_EQ(Log, (TLog{"extracting:A", "extracting:I"}));
}

TEST(Collection, ClearAndNestedBracketsReportOnce) {
    TLog Log;
    auto List = Make<TRecordingCollection>(Log);
    for (const char* Name : {"A", "B", "C"}) List->AddNamed(Name);

    Log.clear();
    List->Clear();
    EXPECT_EQ(List->Count(), 0);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.back(), "update:*");
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "update:*"), 1);
    for (const char* Name : {"A", "B", "C"})
        EXPECT_EQ(std::count(Log.begin(), Log.end(), std::string("extracting:") + Name), 1) << Name;
    EXPECT_EQ(List->UpdateCount(), 0);

    Log.clear();
    List->Clear();  // empty: nothing to report
    EXPECT_TRUE(Log.empty());

    List->BeginUpdate();
    List->BeginUpdate();
    TNamedItem* A = List->AddNamed("A");
    List->AddNamed("B");
    A->Touch();
    List->Delete(1);
    List->EndUpdate();
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "update:*"), 0);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "update:A"), 0);
    List->EndUpdate();
    EXPECT_EQ(Log, (TLog{"added:", "added:", "deleting:B", "extracting:B", "update:*"}));
    EXPECT_EQ(List->UpdateCount(), 0);

    // An unmatched EndUpdate neither reports nor underflows.
    Log.clear();
    List->EndUpdate();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(List->UpdateCount(), 0);
    List->AddNamed("C");
    EXPECT_EQ(Log.back(), "update:*");
}

TEST(Collection, MovingItems) {
    TLog Log;
    TLog OtherLog;
    auto List = Make<TRecordingCollection>(Log);
    auto Other = Make<TRecordingCollection>(OtherLog);
    for (const char* Name : {"A", "B", "C", "D"}) List->AddNamed(Name);

    Log.clear();
    List->Named(3)->SetIndex(0);
    EXPECT_EQ(List->Names(), "DABC");
    EXPECT_EQ(Log, (TLog{"update:*"}));
    List->Named(1)->SetIndex(2);
    EXPECT_EQ(List->Names(), "DBAC");
    List->Named(0)->SetIndex(99);  // clamped to the end
    EXPECT_EQ(List->Names(), "BACD");

    Log.clear();
    TNamedItem* B = List->Named(0);
    Other->AddNamed("X");
    OtherLog.clear();
    B->SetCollection(Other.get());
    EXPECT_EQ(Log, (TLog{"extracting:B", "update:*"}));
    EXPECT_EQ(OtherLog, (TLog{"added:B", "update:*"}));
    EXPECT_EQ(List->Names(), "ACD");
    EXPECT_EQ(Other->Names(), "XB");
    EXPECT_EQ(B->GetCollection(), Other.get());
    EXPECT_EQ(B->GetIndex(), 1);

    // Detached, the item belongs to nobody until it is freed.
    B->SetCollection(nullptr);
    EXPECT_EQ(B->GetCollection(), nullptr);
    EXPECT_EQ(B->GetIndex(), -1);
    EXPECT_EQ(Other->Names(), "X");
    OtherLog.clear();
    B->Touch();
    B->Free();
    EXPECT_TRUE(OtherLog.empty());
}

TEST(Collection, ItemClassAndNames) {
    TLog Log;
    const TCollectionItemClass Derived = TItemClass<TNamedItem>::Of<TDerivedItem>();
    auto List = Make<TRecordingCollection>(Log, Derived);
    EXPECT_EQ(List->ItemClass(), Derived);
    EXPECT_NE(List->ItemClass(), TCollectionItemClass(TItemClass<TNamedItem>::Of<TNamedItem>()));

    TCollectionItem* Item = List->Add();
    EXPECT_NE(dynamic_cast<TDerivedItem*>(Item), nullptr);
    EXPECT_EQ(Item->GetDisplayName(), "TDerivedItem");
    EXPECT_EQ(List->Insert(0)->GetDisplayName(), "TDerivedItem");

    auto Plain = Make<TRecordingCollection>(Log);
    EXPECT_EQ(Plain->Add()->GetDisplayName(), "TNamedItem");
    EXPECT_EQ(dynamic_cast<TDerivedItem*>(Plain->GetItem(0)), nullptr);

    // A detached item made from a class reference joins nothing.
    TNamedItem* Loose = TItemClass<TNamedItem>::Of<TDerivedItem>().Create(nullptr);
    EXPECT_EQ(Loose->GetCollection(), nullptr);
    EXPECT_EQ(Loose->ClassName(), "TDerivedItem");
    Loose->Free();

    // IndexOf: first exact (case-sensitive) name match.
    auto Named = Make<TRecordingCollection>(Log);
    for (const char* Name : {"Alpha", "Beta", "Alpha"}) Named->AddNamed(Name);
    EXPECT_EQ(Named->IndexOf("Alpha"), 0);
    EXPECT_EQ(Named->IndexOf("Beta"), 1);
    EXPECT_EQ(Named->IndexOf("beta"), -1);
    EXPECT_EQ(Named->IndexOf("Gamma"), -1);
    EXPECT_EQ(Named->IndexOf(""), -1);
    Named->Delete(0);
    EXPECT_EQ(Named->IndexOf("Alpha"), 1);
}

TEST(Collection, BadIndexesRaiseListError) {
    TLog Log;
    auto List = Make<TRecordingCollection>(Log);
    EXPECT_THROW(static_cast<void>(List->GetItem(0)), EListError);
    List->AddNamed("A");
    List->AddNamed("B");
    EXPECT_THROW(static_cast<void>(List->GetItem(-1)), EListError);
    EXPECT_THROW(static_cast<void>(List->GetItem(2)), EListError);
    Log.clear();
    EXPECT_THROW(List->Delete(2), EListError);
    EXPECT_THROW(List->Delete(-1), EListError);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(List->Names(), "AB");
}

TEST(Collection, Assign) {
    TLog Log;
    TLog SourceLog;
    auto Source = Make<TRecordingCollection>(SourceLog);
    for (const char* Name : {"A", "B"}) Source->AddNamed(Name);
    auto Target = Make<TRecordingCollection>(Log);
    Target->AddNamed("Old");

    Log.clear();
    Target->Assign(*Source);
    EXPECT_EQ(Target->Names(), "AB");
    EXPECT_EQ(Source->Names(), "AB");
    EXPECT_EQ(Log.back(), "update:*");
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "update:*"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "extracting:Old"), 1);

    Target->Assign(*Target);  // self: unchanged
    EXPECT_EQ(Target->Names(), "AB");

    // SetItem assigns into the existing item.
    TNamedItem* First = Target->Named(0);
    Target->SetItem(0, *Source->Named(1));
    EXPECT_EQ(Target->Named(0), First);
    EXPECT_EQ(Target->Names(), "BB");

    // Unrelated classes cannot be assigned; the target is untouched.
    auto Strings = Make<TStringList>();
    EXPECT_THROW(Target->Assign(*Strings), EConvertError);
    EXPECT_THROW(Strings->Assign(*Target), EConvertError);
    EXPECT_EQ(Target->Names(), "BB");
    EXPECT_EQ(Target->UpdateCount(), 0);
}

}  // namespace
}  // namespace fzl
