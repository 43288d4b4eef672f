#pragma once
// Message texts of the definition parser and the expression evaluator, mostly
// passed as the particular message of a parse error.

namespace fzl {

/// A variable, set or function without its name.
inline constexpr const char* SFzyMissingName = "Missing name";
/// A set definition that does not start with its opening parenthesis and keyword.
inline constexpr const char* SFzyExpectedFuzzySet = "Expected \"( term\"";
/// A variable definition that does not start with its opening parenthesis and keyword.
inline constexpr const char* SFzyExpectedFuzzyDefinition = "Expected \"( deffuzzy\"";
/// Missing parentheses around definitions, value pairs and arguments.
inline constexpr const char* SFzyMissingOpenParens = "Expected \"(\"";
inline constexpr const char* SFzyMissingCloseParens = "Expected \")\"";
/// A token where a number must stand.
inline constexpr const char* SFzyExpectedNumber = "Expected number";
/// A missing language keyword; the keyword.
inline constexpr const char* SFzyExpectedKeyword = "Missing keyword.  Expected \"%s\"";
/// A hedge with nothing to modify; the hedge.
inline constexpr const char* SFzyMissingOperand = "Missing fuzzy operand to be modified by hedge: %s";
/// An expression evaluated without its variable.
inline constexpr const char* SFzyUndefinedVariable = "fuzzy variable is not defined";
/// A token an expression cannot use; the token.
inline constexpr const char* SFzyInvalidToken = "Invalid item in fuzzy expression: %s";
/// A malformed point of a value list; the text.
inline constexpr const char* SFzyInvalidValuePair = "Invalid X/Y value pair: %s";
/// A token outside any definition; the token.
inline constexpr const char* SFzyUnexpectedToken = "Unexpected token: \"%s\"";
/// A NUL character inside a string or right after an escape character.
inline constexpr const char* SFzyNulCharacter =
    "Invalid character #0 in a string or after an escape character";
/// Parentheses nested deeper than the reader accepts; the limit.
inline constexpr const char* SFzyNestingTooDeep = "Parentheses nested too deeply: more than %d levels";

}  // namespace fzl
