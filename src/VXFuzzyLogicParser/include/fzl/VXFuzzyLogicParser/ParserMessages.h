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
/// An operand, a hedge or a bracket where an expression needs an operator; the token.
inline constexpr const char* SFzyMissingOperator = "Missing fuzzy operator before: %s";
/// A bracket of an expression without its partner; the bracket.
inline constexpr const char* SFzyUnmatchedBracket = "Unmatched bracket in fuzzy expression: %s";
/// An expression with more operators than the evaluator accepts; the limit.
inline constexpr const char* SFzyTooManyOperators = "Too many operators in fuzzy expression: more than %d";
/// A value-pair list with more points than a set may have; the limit.
inline constexpr const char* SFzyTooManyPoints = "Too many points in fuzzy set: more than %d";
/// A ?name whose stored text leads back to itself; the name.
inline constexpr const char* SFzyCircularReference = "Circular reference: ?%s refers back to itself";
/// Stored texts of ?name operands nested deeper than the evaluator follows; the limit.
inline constexpr const char* SFzyReferenceTooDeep =
    "References nested too deeply: more than %d levels of ?names";
/// An evaluation that evaluates more operands than allowed; the limit.
inline constexpr const char* SFzyTooManyOperands = "Expression too large: more than %d operands evaluated";
/// A variable range whose bounds are the wrong way round; the bounds.
inline constexpr const char* SFzyInvalidRange =
    "Invalid range: minimum (%.4f) is greater than maximum (%.4f)";

}  // namespace fzl
