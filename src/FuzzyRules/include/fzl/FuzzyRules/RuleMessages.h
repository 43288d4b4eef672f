#pragma once
// Message texts of the rule text reader and the rule base. Errors of a rule are raised
// in the library's text-error form (SFzyParseError) with the rule's line; the texts
// below are their particular messages.

namespace fzl {

/// A rule that does not begin with its first separator.
inline constexpr const char* SFzyRuleExpectedIf = "Expected \"IF\" at the start of the rule";
/// A clause without its variable name; the word found instead ("" at the end of the rule).
inline constexpr const char* SFzyRuleMissingVariable = "Missing variable name before \"%s\"";
/// A variable name not followed by the separator IS; the variable name.
inline constexpr const char* SFzyRuleExpectedIs = "Expected \"IS\" after the variable name \"%s\"";
/// A clause whose expression is empty; the variable name.
inline constexpr const char* SFzyRuleMissingExpression = "Missing expression after \"%s IS\"";
/// A rule without its conclusion.
inline constexpr const char* SFzyRuleMissingThen =
    "Missing \"THEN\": a rule ends with \"THEN variable IS expression\"";
/// More than one conclusion, or a second THEN.
inline constexpr const char* SFzyRuleOneConclusion = "A rule has one conclusion: \"%s\" after \"THEN\"";
/// A clause's expression could not be evaluated; the evaluator's message and the clause.
inline constexpr const char* SFzyRuleBadExpression = "%s (in \"%s IS %s\")";
/// A variable that the premises use was given no input; the variable name.
inline constexpr const char* SFzyRuleNoInput = "No input for variable \"%s\", which the rules' premises use";
/// A variable given both a number and a fact; the variable name.
inline constexpr const char* SFzyRuleTwoInputs = "Two inputs for variable \"%s\": a number and a fact";
/// A crisp input that is not a finite number; the variable name.
inline constexpr const char* SFzyRuleInputNotFinite =
    "Invalid input for variable \"%s\": not a finite number";
/// A fact whose expression could not be evaluated; the evaluator's message and the variable.
inline constexpr const char* SFzyRuleBadFact = "%s (in the fact for \"%s\")";
/// The logic component of a rule base was freed before the rule base.
inline constexpr const char* SFzyRuleBaseUnlinked = "The logic component of the rule base was freed";

}  // namespace fzl
