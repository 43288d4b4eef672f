#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <fzl/support/Collection.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>

namespace fzl {
namespace {

TEST(StringList, NamesValuesAndLineEnds) {
    auto List = Make<TStringList>();
    List->SetText("Name=Value\r\nOther=1\rFormula=a=b\nplain line");  // CR LF, CR, LF; no end needed
    EXPECT_EQ(List->GetValue("NAME") + List->GetValue("Formula"), "Valuea=b");  // case-insensitive by default
    EXPECT_EQ(List->IndexOf("PLAIN LINE"), 3);
    List->SetCaseSensitive(true);
    EXPECT_EQ(List->GetValue("name") + std::to_string(List->IndexOfName("OTHER")), "-1");
    List->SetCaseSensitive(false);
    List->SetValue("NAME", "New");  // replaces in place
    List->SetValue("Third", "3");   // appends
    List->SetValue("other", "");    // an empty value removes the line
    EXPECT_EQ(List->GetText(), "NAME=New\nFormula=a=b\nplain line\nThird=3\n");
    List->SetText("a\r\r\nb\n\rc\n");
    EXPECT_EQ(List->GetText(), "a\n\nb\n\nc\n");
}

TEST(StringList, ObjectsBadIndexesAndAssign) {
    auto List = Make<TStringList>();
    auto Attached = Make<TStringList>();
    EXPECT_EQ(List->AddObject("k=v", Attached.get()), 0);
    EXPECT_EQ(List->Add("second"), 1);
    EXPECT_THROW(static_cast<void>(List->GetObject(-1)), EListError);
    EXPECT_THROW(List->Delete(2), EListError);
    auto Copy = Make<TStringList>();
    Copy->Add("old");
    Copy->Assign(*List);
    auto Items = Make<TCollection>(TItemClass<TCollectionItem>::FromFactory(nullptr));
    EXPECT_THROW(Copy->Assign(*Items), EConvertError);  // unrelated classes: the target untouched
    List->SetString(1, "changed");                      // the copy is independent
    List->Delete(0);
    EXPECT_EQ(Copy->GetText() + List->GetText(), "k=v\nsecond\nchanged\n");
    EXPECT_EQ(Copy->GetObject(0), Attached.get());
    EXPECT_EQ(List->GetObject(0), nullptr);  // the object went with its line
}

}  // namespace
}  // namespace fzl
