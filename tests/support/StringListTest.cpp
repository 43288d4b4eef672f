#include <gtest/gtest.h>

#include <string>

#include <fzl/support/Collection.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>

namespace fzl {
namespace {

TEST(StringList, NamesAndValues) {
    auto List = Make<TStringList>();
    List->SetText("Name=Value\nOther=1\nFormula=a=b\nplain line");
    EXPECT_EQ(List->GetValue("NAME"), "Value");  // case-insensitive by default
    EXPECT_EQ(List->IndexOf("PLAIN LINE"), 3);
    EXPECT_EQ(List->GetValue("Formula"), "a=b");
    List->SetCaseSensitive(true);
    EXPECT_EQ(List->GetValue("name"), "");  // as good as missing
    EXPECT_EQ(List->IndexOfName("OTHER"), -1);
    List->SetCaseSensitive(false);
    List->SetValue("NAME", "New");  // replaces in place
    List->SetValue("Third", "3");   // appends
    List->SetValue("other", "");    // an empty value removes the line
    EXPECT_EQ(List->GetText(), "NAME=New\nFormula=a=b\nplain line\nThird=3\n");
}

TEST(StringList, TextSplitsAtAnyLineEndAndRoundTrips) {
    auto List = Make<TStringList>();
    List->SetText("a\r\nb\rc\nd\r\r\ne\n\rf");  // CR LF, CR, LF; a last line needs no end
    EXPECT_EQ(List->GetText(), "a\nb\nc\nd\n\ne\n\nf\n");
    const std::string Text = "first\n\n  indented  \nlast=1\n";
    List->SetText(Text);
    EXPECT_EQ(List->GetText(), Text);
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
    Copy->Assign(*Copy);
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
