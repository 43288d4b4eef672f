#pragma once
// IBaseStreamToken: a lexical token of a text stream (kind, line, value, the
// white space before it), and TBaseStreamToken, its implementation template.

#include <concepts>
#include <cstdint>
#include <string>

#include <fzl/support/Cloneable.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/Interfaced.h>

namespace fzl {

/// A token read from a text stream.
class IBaseStreamToken : public ICloneable {
public:
    using TInterface = IBaseStreamToken;
    using TInherited = ICloneable;
    static constexpr TGUID IID = TGUID::Parse("{5F4E9911-A62A-42A5-AA22-6590B7F3BA02}");

    /// The token kind (a token-type value, or a punctuation character's code).
    [[nodiscard]] virtual int GetDataType() const = 0;
    virtual void SetDataType(int Value) = 0;
    /// The line of the text the token came from.
    [[nodiscard]] virtual int GetLineNumber() const = 0;
    virtual void SetLineNumber(int Value) = 0;
    /// The value of a number token.
    [[nodiscard]] virtual double GetNumber() const = 0;
    virtual void SetNumber(double Value) = 0;
    /// The text of a word, string or punctuation token.
    [[nodiscard]] virtual std::string GetText() const = 0;
    virtual void SetText(const std::string& Value) = 0;
    /// White space and comments that preceded the token.
    [[nodiscard]] virtual std::string GetWhitespace() const = 0;
    virtual void SetWhitespace(const std::string& Value) = 0;
    /// The printed form: words their text, strings their text without quotes, numbers a decimal form.
    [[nodiscard]] virtual std::string ToString() const = 0;

protected:
    ~IBaseStreamToken() = default;
};

/// The kinds a base token prints as numbers (the language's integer and float kinds).
inline constexpr int btInteger = 3;
inline constexpr int btFloat = 4;

/// The decimal form of a number token's value: integers without a fraction, other
/// numbers in the shortest form that reads back as the same value ("150", "0.5", "1e+300").
[[nodiscard]] std::string NumberTokenText(int DataType, double Number);

/// Implementation of IBaseStreamToken for I = IBaseStreamToken or a descendant
/// interface (`class TMyToken : public TBaseStreamToken<IMyToken>`), so there is one
/// IBaseStreamToken base. Descendants say which class their clones are (NewToken).
template <class I = IBaseStreamToken>
requires std::derived_from<I, IBaseStreamToken>
class TBaseStreamToken : public TInterfaced<TPersistent, I> {
public:
    // ---- ICloneable --------------------------------------------------------------------
    /// Copies kind, line, number, text and white space from any base token (not the tag).
    /// Anything else raises EConvertError.
    void Assign(const TIntfPtr<IInterface>& Source) override {
        const auto Token = Source.template Query<IBaseStreamToken>();
        if (!Token) throw EConvertError(Format(SAssignError, {"interface", this->ClassName()}));
        FDataType = Token->GetDataType();
        FLineNumber = Token->GetLineNumber();
        FNumber = Token->GetNumber();
        FText = Token->GetText();
        FWhitespace = Token->GetWhitespace();
    }
    void Assign(const TPersistent& Source) override { TPersistent::Assign(Source); }
    void AssignTo(TPersistent& Dest) const override { TPersistent::AssignTo(Dest); }
    /// A new token of this token's class with its values.
    [[nodiscard]] TIntfPtr<IInterface> Clone() override {
        TIntfPtr<I> Copy = NewToken();
        Copy->Assign(this->template AsIntf<IInterface>());
        return Copy;
    }
    /// True for a base token of the same kind, number and text (line, white space and tag aside).
    [[nodiscard]] bool Equals(const TIntfPtr<IInterface>& Other) const override {
        const auto Token = Other.template Query<IBaseStreamToken>();
        return Token && Token->GetDataType() == FDataType && Token->GetNumber() == FNumber &&
               Token->GetText() == FText;
    }
    [[nodiscard]] std::intptr_t GetTag() const override { return FTag; }
    void SetTag(std::intptr_t Value) override { FTag = Value; }

    // ---- IBaseStreamToken --------------------------------------------------------------
    [[nodiscard]] int GetDataType() const override { return FDataType; }
    void SetDataType(int Value) override { FDataType = Value; }
    [[nodiscard]] int GetLineNumber() const override { return FLineNumber; }
    void SetLineNumber(int Value) override { FLineNumber = Value; }
    [[nodiscard]] double GetNumber() const override { return FNumber; }
    void SetNumber(double Value) override { FNumber = Value; }
    [[nodiscard]] std::string GetText() const override { return FText; }
    void SetText(const std::string& Value) override { FText = Value; }
    [[nodiscard]] std::string GetWhitespace() const override { return FWhitespace; }
    void SetWhitespace(const std::string& Value) override { FWhitespace = Value; }
    /// Number kinds their decimal form (NumberTokenText), every other kind its text.
    [[nodiscard]] std::string ToString() const override {
        return FDataType == btInteger || FDataType == btFloat ? NumberTokenText(FDataType, FNumber) : FText;
    }
    /// Appends this class's printed form (as ToString above) to Into; a text goes in without a copy first.
    void AppendPrintedForm(std::string& Into) const {
        if (FDataType == btInteger || FDataType == btFloat)
            Into += NumberTokenText(FDataType, FNumber);
        else
            Into += FText;
    }

    [[nodiscard]] std::string ClassName() const override { return "TBaseStreamToken"; }

protected:
    ~TBaseStreamToken() override = default;
    /// A new, empty token of this token's class (for Clone).
    [[nodiscard]] virtual TIntfPtr<I> NewToken() const = 0;

private:
    int FDataType = 0;
    int FLineNumber = 0;
    double FNumber = 0;
    std::string FText;
    std::string FWhitespace;
    std::intptr_t FTag = 0;
};

}  // namespace fzl
