#pragma once
// The two exception classes of the fuzzy library: model errors and errors in
// definition or expression text (which carry the line where parsing failed).

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>

namespace fzl {

/// Every error of the fuzzy model and of the built-in functions.
class EFzyException : public EVXException {
public:
    /// An exception with a finished message.
    explicit EFzyException(std::string Message) : EVXException(std::move(Message)) {}

    /// An exception whose message is Pattern (one of the message constants) formatted with Args.
    EFzyException(std::string_view Pattern, std::initializer_list<TFormatArg> Args)
        : EVXException(Format(Pattern, Args)) {}
};

/// An error in definition or expression text, with the line at which parsing failed.
class EFzyParseException : public EFzyException {
public:
    /// An exception with a finished message and the failing line (0 when unknown).
    explicit EFzyParseException(std::string Message, int LineNumber = 0)
        : EFzyException(std::move(Message)), FLineNumber(LineNumber) {}

    /// An exception whose message is Pattern formatted with Args. The line is required: a
    /// two-argument form would compete with (Message, LineNumber) for calls like (Pattern, {5}).
    EFzyParseException(std::string_view Pattern, std::initializer_list<TFormatArg> Args, int LineNumber)
        : EFzyException(Pattern, Args), FLineNumber(LineNumber) {}

    /// The line of the text at which parsing failed.
    [[nodiscard]] int LineNumber() const noexcept { return FLineNumber; }
    void SetLineNumber(int Value) noexcept { FLineNumber = Value; }

private:
    int FLineNumber = 0;
};

}  // namespace fzl
