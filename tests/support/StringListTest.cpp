#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Collection.h"
#include "support/Exceptions.h"
#include "support/StringList.h"

namespace fzl {
namespace {

std::vector<std::string> Lines(const TStrings& List) {
    std::vector<std::string> Result;
    for (const auto& Item : List) Result.push_back(Item.String);
    return Result;
}

using TLines = std::vector<std::string>;

TEST(StringList, NameValueLookupIsCaseInsensitiveByDefault) {
    auto List = Make<TStringList>();
    EXPECT_FALSE(List->GetCaseSensitive());
    List->Add("Name=Value");
    List->Add("Other=1");
    List->Add("Formula=a=b");
    List->Add("plain line");

    EXPECT_EQ(List->GetValue("name"), "Value");
    EXPECT_EQ(List->GetValue("NAME"), "Value");
    EXPECT_EQ(List->IndexOfName("OTHER"), 1);
    EXPECT_EQ(List->GetValue("Formula"), "a=b");
    EXPECT_EQ(List->GetValue("missing"), "");
    EXPECT_EQ(List->IndexOfName("plain line"), -1);
    EXPECT_EQ(List->IndexOf("name=value"), 0);
    EXPECT_EQ(List->IndexOf("PLAIN LINE"), 3);
    EXPECT_EQ(List->GetName(2), "Formula");
    EXPECT_EQ(List->GetName(3), "");

    List->SetCaseSensitive(true);
    EXPECT_EQ(List->GetValue("name"), "");
    EXPECT_EQ(List->GetValue("Name"), "Value");
    EXPECT_EQ(List->IndexOfName("OTHER"), -1);
    EXPECT_EQ(List->IndexOfName("Other"), 1);
    EXPECT_EQ(List->IndexOf("name=value"), -1);
    EXPECT_EQ(List->IndexOf("Name=Value"), 0);
    List->SetCaseSensitive(false);

    // SetValue replaces in place, appends a new name, and removes on an empty value.
    List->SetValue("NAME", "New");
    EXPECT_EQ(List->GetString(0), "NAME=New");
    List->SetValue("Third", "3");
    EXPECT_EQ(List->GetString(4), "Third=3");
    List->SetValue("other", "");
    EXPECT_EQ(List->IndexOfName("Other"), -1);
    EXPECT_EQ(List->Count(), 4);
    List->SetValue("absent", "");
    EXPECT_EQ(List->Count(), 4);
}

TEST(StringList, ObjectsAndIndexes) {
    auto List = Make<TStringList>();
    auto Attached = Make<TStringList>();
    EXPECT_EQ(List->AddObject("one", Attached.get()), 0);
    EXPECT_EQ(List->Add("two"), 1);
    List->Append("three");
    EXPECT_EQ(List->GetObject(0), Attached.get());
    EXPECT_EQ(List->GetObject(1), nullptr);
    EXPECT_EQ(List->Count(), 3);

    List->SetString(1, "TWO");
    List->Delete(0);
    EXPECT_EQ(Lines(*List), (TLines{"TWO", "three"}));
    EXPECT_EQ(List->GetObject(0), nullptr);

    EXPECT_THROW(static_cast<void>(List->GetString(2)), EListError);
    EXPECT_THROW(static_cast<void>(List->GetObject(-1)), EListError);
    EXPECT_THROW(List->Delete(5), EListError);
    EXPECT_THROW(List->SetString(-1, "x"), EListError);
    EXPECT_EQ(List->Count(), 2);

    List->Clear();
    EXPECT_EQ(List->Count(), 0);
    EXPECT_EQ(List->GetText(), "");
}

TEST(StringList, TextSplitsAtAnyLineEnd) {
    auto List = Make<TStringList>();
    List->SetText("a\r\nb\rc\nd");
    EXPECT_EQ(Lines(*List), (TLines{"a", "b", "c", "d"}));
    EXPECT_EQ(List->GetText(), "a\nb\nc\nd\n");

    List->SetText("x\n\ny\r\n");
    EXPECT_EQ(Lines(*List), (TLines{"x", "", "y"}));
    List->SetText("a\r\r\nb\n\r");
    EXPECT_EQ(Lines(*List), (TLines{"a", "", "b", ""}));
    List->SetText("\r\n");
    EXPECT_EQ(Lines(*List), (TLines{""}));
    List->SetText("only");
    EXPECT_EQ(Lines(*List), (TLines{"only"}));
    List->SetText("");
    EXPECT_EQ(List->Count(), 0);

    // Round trip.
    const TLines Original{"first", "", "  indented  ", "last=1"};
    for (const auto& Line : Original) List->Add(Line);
    auto Copy = Make<TStringList>();
    Copy->SetText(List->GetText());
    EXPECT_EQ(Lines(*Copy), Original);
    EXPECT_EQ(Copy->GetText(), List->GetText());
}

TEST(StringList, Assign) {
    auto Source = Make<TStringList>();
    auto Attached = Make<TStringList>();
    Source->AddObject("k=v", Attached.get());
    Source->Add("second");
    auto Target = Make<TStringList>();
    Target->Add("old");

    Target->Assign(*Source);
    EXPECT_EQ(Lines(*Target), (TLines{"k=v", "second"}));
    EXPECT_EQ(Target->GetObject(0), Attached.get());
    EXPECT_EQ(Target->GetValue("K"), "v");

    // The copy is independent of its source.
    Source->SetString(1, "changed");
    EXPECT_EQ(Target->GetString(1), "second");

    Target->Assign(*Target);
    EXPECT_EQ(Lines(*Target), (TLines{"k=v", "second"}));

    auto Items = Make<TCollection>(TItemClass<TCollectionItem>::FromFactory(nullptr));
    EXPECT_THROW(Target->Assign(*Items), EConvertError);
    EXPECT_EQ(Target->Count(), 2);
}

}  // namespace
}  // namespace fzl
