#include <gtest/gtest.h>

#include <string>

#include <fzl/IFuzzyLogic/FuzzyStreamToken.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>

#include "FuzzyLogic/TestModel.h"

namespace fzl {
namespace {

using test::ErrorOf;
using TToken = TIntfPtr<IFuzzyStreamToken>;
using TList = TIntfPtr<IFuzzyStreamTokenList>;

TToken Token(int Kind, const std::string& Text = {}, double Number = 0) {
    TToken Result = MakeIntf<TFuzzyStreamToken>();
    Result->SetDataType(Kind);
    Result->SetText(Text);
    Result->SetNumber(Number);
    return Result;
}

TList ListOf(std::initializer_list<TToken> Tokens) {
    TList Result = MakeIntf<TFuzzyStreamTokenList>();
    for (const TToken& Item : Tokens) Result->Add(Item);
    return Result;
}

TToken ListToken(const TList& List) {
    TToken Result = MakeIntf<TFuzzyStreamToken>();
    Result->SetList(List);
    return Result;
}

// A base token that is no fuzzy token: the implementation template serves the base interface alone too.
class TPlainToken final : public TBaseStreamToken<> {
protected:
    [[nodiscard]] TIntfPtr<IBaseStreamToken> NewToken() const override { return MakeIntf<TPlainToken>(); }
};

// Tokens and lists hold each other by reference: every scenario leaves no object behind.
class FuzzyStreamToken : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(LiveRefCountedObjects(), FStart); }
    std::int64_t FStart = LiveRefCountedObjects();
};

TEST_F(FuzzyStreamToken, PrintedForms) {
    EXPECT_EQ(Token(fstInteger, "", 100000000)->ToString(), "100000000");  // no exponent for integers
    EXPECT_EQ(Token(fstInteger, "", 0.5)->ToString(), "0.5");              // set by hand: no whole number
    EXPECT_EQ(Token(fstFloat, "", 1e300)->ToString(), "1e+300");
    // A list token prints its list in parentheses, nested groups as written.
    const TList Args = ListOf({Token(fstAtom, "tri"), Token(fstInteger, "", 0),
                               ListToken(ListOf({Token(fstInteger, "", 5)})), Token(fstFloat, "", 2.5)});
    EXPECT_EQ(ListToken(Args)->ToString(), "(tri 0 (5) 2.5)");
    EXPECT_EQ(Args->ToString(), "tri 0 (5) 2.5");
    // The form appended in place (the tokenizer's echo) is the printed form, for every kind.
    const TToken Interface = MakeIntf<TFuzzyStreamToken>();
    Interface->SetIntfValue(Args);
    for (const TToken& Each : {Token(fstInteger, "", 0.5), Token(fstAtom, "tri"), Token('(', "("),
                               ListToken(Args), Interface, Token(fstNone, "EOF")}) {
        std::string Appended = "x ";
        static_cast<const TFuzzyStreamToken&>(*Each).AppendPrintedForm(Appended);
        std::string Expected = "x ";
        Expected += Each->ToString();
        EXPECT_EQ(Appended, Expected);
    }
}

TEST_F(FuzzyStreamToken, AssignAndEquality) {
    const TIntfPtr<IBaseStreamToken> Plain = MakeIntf<TPlainToken>();
    EXPECT_FALSE(Plain.Query<IFuzzyStreamToken>());
    Plain->Assign(Token(fstInteger, "", 12));
    EXPECT_TRUE(Token(fstInteger, "", 12)->Equals(Plain));
    EXPECT_FALSE(Token(fstInteger, "", 13)->Equals(Plain));
    EXPECT_EQ(ErrorOf([&] { Plain->Assign(ListOf({})); }), "Cannot assign a interface to a TBaseStreamToken");
}

TEST_F(FuzzyStreamToken, ListBoundsAndSelfReference) {
    const TToken A = Token(fstAtom, "a");
    const TList List = ListOf({A});
    List->Insert(0, Token(fstAtom, "b"));
    List->Insert(2, Token(fstInteger, "", 1));  // at the end
    EXPECT_EQ(List->ToString(), "b a 1");
    EXPECT_EQ(ErrorOf([&] { List->Insert(4, A); }), "List index out of bounds (4)");
    EXPECT_EQ(ErrorOf([&] { (void)List->Get(3); }), "List index out of bounds (3)");
    List->Put(2, A);
    EXPECT_EQ(List->Remove(A), 1);                     // the first occurrence
    EXPECT_EQ(List->Remove(Token(fstAtom, "a")), -1);  // by identity, not equality

    // Appending a list to itself doubles it once.
    List->Append(List);
    EXPECT_EQ(List->ToString(), "b a b a");
    // A list that reaches itself through one of its tokens still prints, cut off, and goes once
    // the cycle is broken by hand.
    List->Add(ListToken(List));
    EXPECT_EQ(List->ToString().substr(0, 17), "b a b a (b a b a ");
    EXPECT_NE(List->ToString().find("..."), std::string::npos);
    List->Clear();
}

}  // namespace
}  // namespace fzl
