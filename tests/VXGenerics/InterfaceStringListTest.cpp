#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <fzl/VXGenerics/InterfaceStringList.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>

#include "FuzzyLogic/TestModel.h"
#include "VXGenerics/TestValue.h"

namespace fzl {
namespace {

using test::IValue;
using test::RefCount;
using test::Value;

TEST(InterfaceStringList, SortedListsAndDuplicates) {
    auto List = Make<TInterfaceStringList>();
    for (const char* S : {"pear", "Apple", "fig"}) List->Add(S);
    List->SetSorted(true);
    EXPECT_EQ(List->GetText(), "Apple\nfig\npear\n");  // letter case ignored
    EXPECT_EQ(List->Add("APPLE"), 0);                  // ignored: the present index
    EXPECT_EQ(List->Count(), 3);
    List->SetDuplicates(dupError);
    EXPECT_EQ(test::ErrorOf([&] { List->Add("FIG"); }), "String list does not allow duplicates");
    List->SetDuplicates(dupAccept);
    EXPECT_EQ(List->Add("Fig"), 1);  // before the equal one
    EXPECT_EQ(List->GetText(), "Apple\nFig\nfig\npear\n");
    int Index = -1;
    EXPECT_FALSE(List->Find("banana", Index));
    EXPECT_EQ(Index, 1);  // where it would go
    EXPECT_EQ(List->IndexOf("PEAR"), 3);
    List->SetCaseSensitive(true);  // re-sorted by bytes: upper case first
    EXPECT_EQ(List->GetText(), "Apple\nFig\nfig\npear\n");
    EXPECT_EQ(List->IndexOf("PEAR"), -1);
    EXPECT_THROW(List->Insert(0, "x"), EListError);
    EXPECT_THROW(List->SetString(0, "x"), EListError);
    List->SetSorted(false);
    List->Insert(4, "last");
    EXPECT_THROW(List->Insert(6, "far"), EArgumentOutOfRangeException);
    EXPECT_THROW(List->Insert(-1, "before"), EArgumentOutOfRangeException);
    EXPECT_EQ(List->GetString(4), "last");
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

TEST(InterfaceStringList, ChangeEventsCapacityAndOwnedObjects) {
    auto List = Make<TInterfaceStringList>(true);
    std::vector<std::string> Log;
    List->OnChanging = [&Log](TObject*) { Log.emplace_back("changing"); };
    List->OnChanged = [&Log](TObject*) { Log.emplace_back("changed"); };
    List->AddObject("owned", Make<TStringList>().release());  // freed with its line
    EXPECT_EQ(Log, (std::vector<std::string>{"changing", "changed"}));
    EXPECT_EQ(List->GetCapacity(), 1);  // from 0 straight to what is needed
    List->BeginUpdate();
    List->Add("b");
    List->Add("c");
    EXPECT_EQ(List->GetCapacity(), 4);  // then doubling
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
