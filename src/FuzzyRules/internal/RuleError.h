#pragma once
// The one form of a rule error: the library's text-error form with the rule's line.

#include <string>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/support/Format.h>

namespace fzl::rules {

/// Where rule errors are reported from (the name in the message).
inline constexpr const char* ParseRuleWhere = "ParseRule";

/// Raises EFzyParseException "Parsing Error, <Message> in ParseRule at line <Line>: "<Text>"".
[[noreturn]] inline void RaiseRuleError(const std::string& Message, int Line, const std::string& Text) {
    throw EFzyParseException(Format(SFzyParseError, {Message, ParseRuleWhere, IntToStr(Line), Text}), Line);
}

/// The particular message of a text error ("Invalid item ...") without the "Parsing Error,
/// ... in Where at line N: "text"" around it; any other message as it is.
[[nodiscard]] std::string ParticularMessage(const std::string& Message);

}  // namespace fzl::rules
