// The name-keyed table and the string list it assigns with. (The table's legacy stream properties
// are read and dropped: see the component streaming tests.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <fzl/VXGenerics/EqualityComparer.h>
#include <fzl/VXGenerics/InterfaceStringList.h>
#include <fzl/VXGenerics/StringHashTable.h>
#include <fzl/support/Component.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>

#include "FuzzyLogic/TestModel.h"
#include "VXGenerics/TestValue.h"

namespace fzl {
namespace {

using test::IValue;
using test::RefCount;
using test::Value;
using TTable = TVXStringHashTable<IValue>;
using TLog = std::vector<std::string>;

/// Keys in index order.
std::vector<std::string> IndexOrder(const TTable& Table) {
    std::vector<std::string> Keys;
    for (int Index = 0; Index < Table.Count(); ++Index) Keys.push_back(Table.GetKeyByIndex(Index));
    return Keys;
}

/// Logs the events of a table as "key+", "value-7", "change" and so on.
void Record(TTable& Table, TLog& Log) {
    auto Action = [](TDictionaryNotification A) { return A == dnAdded ? "+" : A == dnRemoved ? "-" : "x"; };
    Table.OnKeyNotify = [&Log, Action](TObject*, const std::string& Key, TDictionaryNotification A) {
        Log.push_back(Key + Action(A));
    };
    Table.OnValueNotify = [&Log, Action](TObject*, const TIntfPtr<IValue>& V, TDictionaryNotification A) {
        Log.push_back("value" + std::string(Action(A)) + std::to_string(V->Number()));
    };
    Table.OnChange = [&Log](TObject*) { Log.push_back("change"); };
}

TEST(HashTable, GrowsInPowersOfTwoAtThreeQuartersAndOnlyForNewKeys) {
    auto Table = Make<TTable>();
    EXPECT_EQ(Table->GetCapacity(), 0);
    Table->Add("a", Value(1));
    EXPECT_EQ(Table->GetCapacity(), 4);
    Table->Add("b", Value(2));
    Table->Add("c", Value(3));
    EXPECT_EQ(Table->GetCapacity(), 4);
    const std::string SecondKey = Table->GetKeyByIndex(1);  // the cursor stands on index 1
    Table->Put("a", Value(10));                             // at the threshold: replaces, no growth
    EXPECT_EQ(Table->GetCapacity(), 4);
    EXPECT_EQ(Table->GetKeyByIndex(1), SecondKey);
    Table->Add("d", Value(4));  // the fourth entry: 3 >= 3, so 8 buckets first
    EXPECT_EQ(Table->GetCapacity(), 8);
    EXPECT_EQ(Table->Get("a")->Number(), 10);

    // A rehash moves entries; the cursor restarts rather than reading the old layout.
    static_cast<void>(Table->GetKeyByIndex(3));
    Table->SetCapacity(64);
    std::vector<std::string> Iterated;
    for (const auto& Item : *Table) Iterated.push_back(Item.Key);
    EXPECT_EQ(IndexOrder(*Table), Iterated);

    // Shrinking never fills the table: four entries need 8 buckets, not 4.
    Table->TrimExcess();
    EXPECT_EQ(Table->GetCapacity(), 8);
    Table->Remove("d");
    Table->TrimExcess();
    EXPECT_EQ(Table->GetCapacity(), 4);
    EXPECT_THROW(Table->SetCapacity(2), EArgumentOutOfRangeException);  // below Count
    EXPECT_THROW(Table->SetCapacity(-1), EArgumentOutOfRangeException);
    auto Empty = Make<TTable>(5);
    EXPECT_EQ(Empty->GetCapacity(), 8);
    Empty->TrimExcess();
    EXPECT_EQ(Empty->GetCapacity(), 0);
}

// Reachability after removals and index reads in both directions: see the property test.
TEST(HashTable, KeysIndexReadsAndErrors) {
    auto Table = Make<TTable>();
    Table->Add("Low", Value(1));
    Table->Add("low", Value(2));
    EXPECT_EQ(Table->Get("low")->Number(), 2);  // keys are exact
    EXPECT_FALSE(Table->ContainsKey("LOW"));
    EXPECT_EQ(HashFNV1a(""), 2166136261U);  // FNV-1a: the same layout on every platform
    EXPECT_EQ(HashFNV1a("a"), 0xE40C292CU);

    EXPECT_EQ(test::ErrorOf([&] { Table->Add("low", Value(3)); }), "Duplicates not allowed");
    EXPECT_EQ(test::ErrorOf([&] { static_cast<void>(Table->Get("b")); }), "Item not found");
    EXPECT_THROW(Table->SetItem("b", Value(2)), EListError);
    EXPECT_EQ(test::ErrorOf([&] { Table->Put("n", nullptr); }),
              "A hash table cannot hold a nil value (key \"n\")");
    EXPECT_THROW(Table->SetItem("low", nullptr), EGHashtableError);
    EXPECT_EQ(Table->Get("low")->Number(), 2);
    TIntfPtr<IValue> Found = Value(9);
    EXPECT_FALSE(Table->ContainsKey("b", Found));
    EXPECT_FALSE(Found);  // emptied first
    EXPECT_TRUE(Table->ContainsKey("low", Found) && Table->ContainsItem(Found));
    EXPECT_FALSE(Table->ContainsItem(Value(2)));  // another object with the same number

    // The index cursor restarts after a change.
    for (int N = 0; N < 8; ++N) Table->Add("key" + std::to_string(N), Value(N));
    const std::string Second = Table->GetKeyByIndex(1);
    Table->Remove(Table->GetKeyByIndex(0));
    EXPECT_EQ(Table->GetPairByIndex(0).Key, Second);
    EXPECT_THROW(static_cast<void>(Table->GetItemByIndex(9)), EListError);
    EXPECT_EQ(test::ErrorOf([&] { static_cast<void>(Table->GetKeyByIndex(-1)); }),
              "List index out of bounds (-1)");
}

TEST(HashTable, EventsInOrderAndHeldBackByTheUpdateBracket) {
    auto Table = Make<TTable>();
    TLog Log;
    Record(*Table, Log);
    Table->Add("a", Value(1));
    Table->Put("a", Value(2));
    Table->Put("b", Value(3));
    EXPECT_EQ(Log,
              (TLog{"a+", "value+1", "change", "value-1", "value+2", "change", "b+", "value+3", "change"}));
    Log.clear();
    Table->Remove("zzz");  // absent: nothing at all
    const auto Pair = Table->ExtractPair("b");
    Table->Remove("a");
    EXPECT_EQ(Log, (TLog{"bx", "valuex3", "change", "a-", "value-2", "change"}));
    EXPECT_EQ(Pair.Value->Number(), 3);
    EXPECT_EQ(test::ErrorOf([&] { Table->Remove("a"); }), "Hash table is empty");

    Log.clear();
    Table->BeginUpdate();
    Table->BeginUpdate();
    Table->Add("c", Value(4));
    Table->Put("c", Value(5));
    Table->EndUpdate();
    EXPECT_TRUE(Log.empty());
    Table->EndUpdate();
    Table->EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(Log, TLog{"change"});
    Table->BeginUpdate();  // a bracket opened after the stray EndUpdate still holds events back
    Table->Add("d", Value(6));
    EXPECT_EQ(Log, TLog{"change"});
    Table->EndUpdate();

    Log.clear();
    Table->Clear();  // one change, no key or value events
    EXPECT_EQ(Log, TLog{"change"});
    EXPECT_EQ(Table->GetCapacity(), 0);
}

TEST(HashTable, HoldsOneReferencePerEntry) {
    const auto Before = LiveRefCountedObjects();
    {
        const TIntfPtr<IValue> Kept = Value(1);
        auto Table = Make<TTable>();
        Table->Put("a", Kept);
        EXPECT_EQ(RefCount(Kept), 2);
        Table->Put("a", Value(2));  // the replaced value is released
        EXPECT_EQ(RefCount(Kept), 1);
        for (const char* Key : {"b", "c", "d"}) Table->Put(Key, Kept);
        Table->Remove("b");
        EXPECT_EQ(RefCount(Kept), 3);
        const auto Extracted = Table->ExtractPair("c");  // handed out, not released
        EXPECT_EQ(RefCount(Kept), 3);
        Table->Clear();
        EXPECT_EQ(RefCount(Kept), 2);
        Table->Put("f", Kept);
    }  // freeing the table releases the rest
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

TEST(HashTable, AssignsWithStringLists) {
    auto Table = Make<TTable>();
    for (const char* Key : {"one", "two", "three"})
        Table->Add(Key, Value(static_cast<int>(std::string(Key).size())));
    auto Lines = Make<TStringList>();
    Lines->Add("old");
    Table->AssignTo(*Lines);
    std::string Expected;
    for (const std::string& Key : IndexOrder(*Table)) Expected += Key + "\n";
    EXPECT_EQ(Lines->GetText(), Expected);  // keys in bucket order

    auto Carried = Make<TInterfaceStringList>();
    Lines->Assign(*Carried);
    Table->AssignTo(*Carried);  // keys with their references
    EXPECT_EQ(Carried->GetData(0).Query<IValue>(), Table->GetItemByIndex(0));

    auto Copy = Make<TTable>();
    Copy->Put("x", Value(0));
    Copy->Assign(*Carried);
    EXPECT_EQ(IndexOrder(*Copy), IndexOrder(*Table));
    EXPECT_EQ(Copy->Get("three"), Table->Get("three"));
    Copy->Assign(*Copy);  // self: nothing
    EXPECT_EQ(Copy->Count(), 3);

    Lines->SetText("a\nb");  // a plain list carries no values: refused, nothing changed
    EXPECT_THROW(Copy->Assign(*Lines), EGHashtableError);
    Carried->AddObject("one", nullptr, Value(7));  // a repeated line: refused, nothing changed
    EXPECT_THROW(Copy->Assign(*Carried), EListError);
    EXPECT_EQ(Copy->Count(), 3);
    Lines->Clear();
    Copy->Assign(*Lines);  // an empty list empties the table
    EXPECT_TRUE(Copy->IsEmpty());

    Copy->Assign(*Table);  // another table: its entries
    EXPECT_EQ(Copy->ToArray().size(), 3U);
    auto Names = Make<TStringList>();
    Names->Assign(*Copy);  // a string list asks the table to assign itself
    EXPECT_EQ(Names->Count(), 3);
    auto Unrelated = Make<TComponent>(nullptr);
    EXPECT_THROW(Copy->Assign(*Unrelated), EConvertError);
    EXPECT_EQ(Copy->Count(), 3);
}

TEST(HashTable, KeyIteratorWalksACopyInBucketOrder) {
    auto Table = Make<TTable>();
    for (int N = 0; N < 6; ++N) Table->Add("k" + std::to_string(N), Value(N));
    const std::vector<std::string> Expected = IndexOrder(*Table);
    const TIntfPtr<IStringIterator> Keys = Table->Indices();
    Table.reset();  // the iterator outlives the table
    std::vector<std::string> Walked;
    while (Keys->HasMoreElements()) Walked.push_back(Keys->NextElement());
    EXPECT_EQ(Walked, Expected);
}

/// A descendant whose hooks change the table they are called from.
class TReentrantTable final : public TTable {
protected:
    void DoAdd(std::int32_t HashCode, int BucketIndex, const std::string& Key,
               const TIntfPtr<IValue>& V) override {
        TTable::DoAdd(HashCode, BucketIndex, Key, V);
        if (Key != "spawn") return;
        for (int N = 0; N < 20; ++N) Add("s" + std::to_string(N), Value(100 + N));  // grows twice
        Remove("a");
    }
    TIntfPtr<IValue> DoRemove(const std::string& Key, std::int32_t HashCode,
                              TDictionaryNotification Action) override {
        TIntfPtr<IValue> Removed = TTable::DoRemove(Key, HashCode, Action);
        if (Key == "b") Put("c", Value(Removed->Number() + 1000));  // replaces inside the removal
        return Removed;
    }
};

TEST(HashTable, HooksMayChangeTheTableTheyRunIn) {
    auto Table = Make<TReentrantTable>();
    TLog Log;
    Table->OnChange = [&Log](TObject*) { Log.push_back("change"); };
    Table->Add("a", Value(1));
    Table->Add("b", Value(2));
    Table->Add("c", Value(3));
    Table->Add("spawn", Value(4));
    Table->Remove("b");
    EXPECT_EQ(Table->Count(), 22);  // c, spawn, s0 .. s19
    EXPECT_FALSE(Table->ContainsKey("a"));
    EXPECT_EQ(Table->Get("c")->Number(), 1002);
    for (int N = 0; N < 20; ++N) EXPECT_EQ(Table->Get("s" + std::to_string(N))->Number(), 100 + N);
    std::vector<std::string> Iterated;
    for (const auto& Item : *Table) Iterated.push_back(Item.Key);
    EXPECT_EQ(IndexOrder(*Table), Iterated);
    EXPECT_EQ(Log.size(), 3U + 1U + 20U + 1U + 1U + 1U);  // every add, remove and replace once
}

TEST(InterfaceStringList, SortedListsAndDuplicates) {
    auto List = Make<TInterfaceStringList>();
    for (const char* S : {"pear", "Apple", "fig"}) List->Add(S);
    List->SetSorted(true);
    EXPECT_EQ(List->GetText(), "Apple\nfig\npear\n");  // letter case ignored
    EXPECT_EQ(List->Add("APPLE"), 0);                  // ignored: the present index
    List->SetDuplicates(dupError);
    EXPECT_EQ(test::ErrorOf([&] { List->Add("FIG"); }), "String list does not allow duplicates");
    List->SetDuplicates(dupAccept);
    EXPECT_EQ(List->Add("Fig"), 1);  // before the equal one
    int Index = -1;
    EXPECT_FALSE(List->Find("banana", Index));
    EXPECT_EQ(Index, 1);  // where it would go
    List->SetCaseSensitive(true);
    EXPECT_EQ(List->IndexOf("PEAR"), -1);
    EXPECT_THROW(List->Insert(0, "x"), EListError);  // sorted: no place of the caller's choosing
    List->SetSorted(false);
    List->Insert(4, "last");  // at the end: allowed; beyond it: refused
    EXPECT_THROW(List->Insert(6, "far"), EArgumentOutOfRangeException);
}

TEST(InterfaceStringList, ReferencesTakenAndReleased) {
    const auto Before = LiveRefCountedObjects();
    {
        const TIntfPtr<IValue> Kept = Value(1);
        auto List = Make<TInterfaceStringList>();
        List->AddObject("a", nullptr, Kept);
        List->AddObject("b", nullptr, Kept);
        List->AddObject("c", nullptr, Value(3));
        EXPECT_EQ(RefCount(Kept), 3);
        List->Delete(0);
        EXPECT_EQ(RefCount(Kept), 2);
        List->PutData(0, Value(2));
        EXPECT_EQ(RefCount(Kept), 1);
        EXPECT_EQ(List->GetData(0).Query<IValue>()->Number(), 2);
        List->PutData(1, Kept);
        auto Copy = Make<TInterfaceStringList>();
        Copy->Assign(*List);  // copies the references
        EXPECT_EQ(RefCount(Kept), 3);
        List->Clear();
        EXPECT_EQ(RefCount(Kept), 2);
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

TEST(InterfaceStringList, ChangeEventsAndOwnedObjects) {
    auto List = Make<TInterfaceStringList>(true);
    std::vector<std::string> Log;
    List->OnChanging = [&Log](TObject*) { Log.emplace_back("changing"); };
    List->OnChanged = [&Log](TObject*) { Log.emplace_back("changed"); };
    List->AddObject("owned", Make<TStringList>().release());  // freed with its line
    EXPECT_EQ(Log, (std::vector<std::string>{"changing", "changed"}));
    List->BeginUpdate();
    List->Add("b");
    List->Add("c");
    List->Delete(0);
    List->EndUpdate();
    EXPECT_EQ(Log.size(), 4U);  // one more pair for the whole bracket

    auto Plain = Make<TStringList>();
    List->AssignTo(*Plain);
    EXPECT_EQ(Plain->GetText(), "b\nc\n");
    Plain->Add("d");
    List->Assign(*Plain);
    EXPECT_EQ(List->GetText(), "b\nc\nd\n");
    EXPECT_THROW(static_cast<void>(List->GetData(3)), EListError);
}

}  // namespace
}  // namespace fzl
