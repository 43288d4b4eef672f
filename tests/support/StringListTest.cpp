#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <fzl/support/Collection.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>

namespace fzl {
namespace {

TEST(StringList, NamesValuesLineEndsAndAssign) {
    auto List = Make<TStringList>();
    List->SetText("Name=Value\r\nOther=1\rFormula=a=b\n\nplain line");  // CR LF, CR, LF; no end needed
    EXPECT_EQ(List->GetValue("NAME") + List->GetValue("Formula"), "Valuea=b");  // case-insensitive by default
    List->SetCaseSensitive(true);
    EXPECT_EQ(List->GetValue("name") + std::to_string(List->IndexOfName("OTHER")), "-1");
    List->SetCaseSensitive(false);
    List->SetValue("NAME", "New");  // replaces in place
    List->SetValue("Third", "3");   // appends
    List->SetValue("other", "");    // an empty value removes the line
    EXPECT_EQ(List->GetText(), "NAME=New\nFormula=a=b\n\nplain line\nThird=3\n");
    EXPECT_THROW(List->Delete(5), EListError);
    auto Copy = Make<TStringList>();
    Copy->AddObject("old", List.get());
    Copy->Assign(*List);  // the lines and their objects (none); independent of the source afterwards
    List->SetString(0, "changed");
    EXPECT_EQ(Copy->GetText(), "NAME=New\nFormula=a=b\n\nplain line\nThird=3\n");
    EXPECT_EQ(Copy->IndexOf("PLAIN LINE"), 3);
    EXPECT_EQ(Copy->GetObject(0), nullptr);
    auto Items = Make<TCollection>(TItemClass<TCollectionItem>::FromFactory(nullptr));
    EXPECT_THROW(Copy->Assign(*Items), EConvertError);  // unrelated classes
}

}  // namespace
}  // namespace fzl
