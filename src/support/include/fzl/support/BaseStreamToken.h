#pragma once
// IBaseStreamToken: a lexical token of a text stream (kind, line, value, the
// white space before it).

#include <string>

#include <fzl/support/Cloneable.h>

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

}  // namespace fzl
