#pragma once
// Constants of the support layer's text tools: the printer's indent unit and the
// messages of the token readers built on TGTextStream.

#include <string_view>

namespace fzl {

/// One level of indentation in printed definition text.
inline constexpr std::string_view IndentString = "  ";

/// The text ends inside a string.
inline constexpr const char* SUnbalancedString = "Unbalanced string: the text ends before its closing quote";
/// A token reader asked to finish a token of a kind it does not know; the kind.
inline constexpr const char* SInvalidBaseTokenHint = "Invalid token type hint: %s";

}  // namespace fzl
