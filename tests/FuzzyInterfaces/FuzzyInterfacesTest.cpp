#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <type_traits>

#include <fzl/FuzzyInterfaces/IFuzzyParser.h>
#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamTokenList.h>
#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/support/Interfaced.h>
#include <fzl/support/StringIterator.h>

namespace fzl {
namespace {

static_assert(std::is_same_v<IFuzzySet::TInherited, ICloneable>);
static_assert(std::is_same_v<IFuzzyVariable::TInherited, ICloneable>);
static_assert(std::is_same_v<IFuzzyParser::TInherited, IInterface>);
static_assert(std::is_same_v<IFuzzyStreamToken::TInherited, IBaseStreamToken>);
static_assert(std::is_same_v<IFuzzyStreamTokenList::TInherited, IBaseStreamTokenList>);
static_assert(std::is_same_v<IBaseStreamToken::TInherited, ICloneable>);

TEST(FuzzyInterfaces, IdentifiersAreFixedAndDistinct) {
    const std::set<std::string> Identifiers = {
        IInterface::IID.ToString(),           ICloneable::IID.ToString(),
        IStringIterator::IID.ToString(),      IBaseStreamToken::IID.ToString(),
        IBaseStreamTokenList::IID.ToString(), IFuzzySet::IID.ToString(),
        IFuzzyVariable::IID.ToString(),       IFuzzyParser::IID.ToString(),
        IFuzzyStreamToken::IID.ToString(),    IFuzzyStreamTokenList::IID.ToString()};
    EXPECT_EQ(Identifiers.size(), 10U);
    EXPECT_EQ(IFuzzySet::IID.ToString(), "{810BD8EA-60BE-44A0-B947-A38B7691A7AE}");
    EXPECT_EQ(IFuzzyVariable::IID.ToString(), "{5DFA4DF2-B274-48A1-A49E-D99C760B726A}");
}

// The token pattern: one implementation of the base token interface, reused by the
// fuzzy token through the interface parameter, without ambiguous bases.
template <class I = IBaseStreamToken>
class TTestBaseToken : public TInterfaced<TPersistent, I> {
public:
    void Assign(const TIntfPtr<IInterface>& Source) override {
        if (const auto Token = Source.Query<IBaseStreamToken>()) {
            FDataType = Token->GetDataType();
            FText = Token->GetText();
        }
    }
    void Assign(const TPersistent& Source) override { TPersistent::Assign(Source); }
    void AssignTo(TPersistent& Dest) const override { TPersistent::AssignTo(Dest); }
    [[nodiscard]] TIntfPtr<IInterface> Clone() override {
        TIntfPtr<I> Copy = NewToken();
        Copy->Assign(this->template AsIntf<IInterface>());
        return Copy;
    }
    [[nodiscard]] bool Equals(const TIntfPtr<IInterface>& Other) const override {
        const auto Token = Other.Query<IBaseStreamToken>();
        return Token && Token->GetDataType() == FDataType && Token->GetText() == FText;
    }
    [[nodiscard]] std::intptr_t GetTag() const override { return FTag; }
    void SetTag(std::intptr_t Value) override { FTag = Value; }
    [[nodiscard]] int GetDataType() const override { return FDataType; }
    void SetDataType(int Value) override { FDataType = Value; }
    [[nodiscard]] int GetLineNumber() const override { return 0; }
    void SetLineNumber(int /*Value*/) override {}
    [[nodiscard]] double GetNumber() const override { return 0; }
    void SetNumber(double /*Value*/) override {}
    [[nodiscard]] std::string GetText() const override { return FText; }
    void SetText(const std::string& Value) override { FText = Value; }
    [[nodiscard]] std::string GetWhitespace() const override { return {}; }
    void SetWhitespace(const std::string& /*Value*/) override {}
    [[nodiscard]] std::string ToString() const override { return FText; }

protected:
    [[nodiscard]] virtual TIntfPtr<I> NewToken() const = 0;

private:
    int FDataType = fstNone;
    std::string FText;
    std::intptr_t FTag = 0;
};

class TTestPlainToken final : public TTestBaseToken<> {
protected:
    [[nodiscard]] TIntfPtr<IBaseStreamToken> NewToken() const override { return MakeIntf<TTestPlainToken>(); }
};

class TTestFuzzyToken final : public TTestBaseToken<IFuzzyStreamToken> {
public:
    [[nodiscard]] TIntfPtr<IInterface> GetIntfValue() const override { return FValue; }
    [[nodiscard]] TIntfPtr<IFuzzySet> GetFuzzySetIntf() const override { return FValue.Query<IFuzzySet>(); }
    [[nodiscard]] TIntfPtr<IFuzzyStreamTokenList> GetList() const override {
        return FValue.Query<IFuzzyStreamTokenList>();
    }
    [[nodiscard]] TObject* GetObjValue() const override { return nullptr; }
    void SetFuzzySetIntf(const TIntfPtr<IFuzzySet>& Value) override { Store(Value, fstIFuzzySet); }
    void SetIntfValue(const TIntfPtr<IInterface>& Value) override { Store(Value, fstInterface); }
    void SetList(const TIntfPtr<IFuzzyStreamTokenList>& Value) override { Store(Value, fstList); }
    void SetObjValue(TObject* /*Value*/) override {}

protected:
    [[nodiscard]] TIntfPtr<IFuzzyStreamToken> NewToken() const override {
        return MakeIntf<TTestFuzzyToken>();
    }

private:
    void Store(const TIntfPtr<IInterface>& Value, TFuzzyStreamTokenType Type) {
        FValue = Value;
        SetDataType(Value ? Type : fstNone);
    }
    TIntfPtr<IInterface> FValue;
};

TEST(FuzzyInterfaces, TokenImplementationsShareOneBaseTemplate) {
    const auto Before = LiveRefCountedObjects();
    {
        const TIntfPtr<IFuzzyStreamToken> Token = MakeIntf<TTestFuzzyToken>();
        Token->SetText("warm");
        const TIntfPtr<IBaseStreamToken> AsBase = Token;  // widening along the chain
        const TIntfPtr<ICloneable> AsCloneable = AsBase;
        EXPECT_EQ(AsCloneable.Query<IFuzzyStreamToken>(), Token);  // and back by query
        EXPECT_EQ(AsBase->ToString(), "warm");

        const TIntfPtr<IBaseStreamToken> Plain = MakeIntf<TTestPlainToken>();
        EXPECT_FALSE(Plain.Query<IFuzzyStreamToken>());  // the base token is no fuzzy token
        Plain->Assign(Token);
        EXPECT_TRUE(Plain->Equals(Token));

        const TIntfPtr<IFuzzyStreamToken> Copy = CloneOf(Token);  // a clone of the same class
        ASSERT_TRUE(Copy);
        EXPECT_EQ(Copy->GetText(), "warm");

        Token->SetIntfValue(Plain);  // a counted value, not a list
        EXPECT_EQ(Token->GetDataType(), fstInterface);
        EXPECT_FALSE(Token->GetList());
        Token->SetList(nullptr);
        EXPECT_EQ(Token->GetDataType(), fstNone);
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

}  // namespace
}  // namespace fzl
