#pragma once
// Message texts of the fuzzy model. Each is a Format pattern; a translation
// must keep the placeholders in the same order and of the same kinds.

namespace fzl {

/// Statistics of an empty set; the operation name.
inline constexpr const char* SFuzzySetEmpty = "Invalid operation: \"%s\".  Fuzzy set is empty";
/// A set name that is a hedge, hedge operator or keyword; the name.
inline constexpr const char* SInvalidFuzzySetName = "Invalid fuzzy set name, \"%s\" is a reserved word";
/// An unusable variable name; the name.
inline constexpr const char* SInvalidFuzzyVarName = "Invalid fuzzy variable name, \"%s\"";
/// A set without the variable an operation needs.
inline constexpr const char* SMissingFuzzyVariable = "Missing fuzzy linguistic variable";
/// Too many points on one X; the X value.
inline constexpr const char* SMax3XValues = "Invalid x value.  Maximum of 3 values with same X value: %.4f";
/// An operation that is not one of the fuzzy operations; its text. The text has no closing quote.
inline constexpr const char* SInvalidFuzzyOperation = "Invalid fuzzy operation: \"%s:";
/// GetXRange with an invalid index; the index.
inline constexpr const char* SInvalidXRangeIndex = "Invalid index argument to GetXRange.  Index = %d";
/// A curve or PI generator whose left bound exceeds its right; both bounds.
inline constexpr const char* SInvalidRangeArguments =
    "Invalid range arguments.  Left (%.4f) is greater than right (%.4f)";
/// Parsing requested without a parser component.
inline constexpr const char* SParserUnassigned = "Parser not assigned.  Cannot parse";
/// Parsing requested (by an event handler) while the component's own parse is running.
inline constexpr const char* SParseInProgress = "Cannot parse: the component is being parsed already";
/// Every text error; the particular message, the parse operation, the line and the text read.
inline constexpr const char* SFzyParseError = "Parsing Error, %s in %s at line %s: \"%s\"";
/// A built-in function called with the wrong number of arguments; its name and the expected list.
inline constexpr const char* SFzyArgNumWrong =
    "Number of arguments for function, %s, incorrect.  Expected \"%s\"";
/// A function called with too few arguments; its name and the minimum.
inline constexpr const char* SFzyArgMinNumWrong =
    "Minimum number of arguments for function, %s, incorrect.  Expected %d or more";
/// A built-in function called with arguments of the wrong kinds; its name and the expected list.
inline constexpr const char* SFzyArgTypeWrong =
    "Data Types of arguments for function, %s, incorrect.  Expected %s";
/// Expected argument lists of the built-in functions; the outer quotes are part of the text.
inline constexpr const char* SPIArgsExpected = "\"Left Right Center\" or \"Range Center\"";
inline constexpr const char* STriArgsExpected = "\"Left Middle Right\"";
inline constexpr const char* SCurveArgsExpected = "\"Left Right Inflection_Point\"";
inline constexpr const char* SBetaArgsExpected =
    "\"Range Center Inflection_Point\" or \"Range Center Inflection_Point Weight\"";
/// Parsing without a logic component.
inline constexpr const char* SFuzzyLogicNotSet = "Fuzzy Logic component must be specified to parse";
/// Class-model parsing linked to a component of another kind.
inline constexpr const char* SFuzzyLogicNotTFuzzyLogic =
    "FuzzyLogic property must be of type TFuzzyLogic or descendant";
/// Reference-counted parsing linked to a component of another kind.
inline constexpr const char* SFuzzyLogicNotTIFuzzyLogic =
    "FuzzyLogic property must be of type TIFuzzyLogic or descendant";
/// Lookups by name that found nothing; the name.
inline constexpr const char* SUnknownFuzzySetName = "Unknown Fuzzy Set name: \"%s\"";
inline constexpr const char* SUnknownFuzzyVarName = "Unknown Fuzzy Variable name: \"%s\"";
inline constexpr const char* SUnknownFunctionName = "Unknown function name: \"%s\"";
/// A built-in function whose arguments give a point that is not a finite number; its name.
inline constexpr const char* SFzyFunctionNotFinite =
    "Invalid arguments for function, %s.  Its values are not finite numbers";
/// A beta function with a negative weight; its name and the weight.
inline constexpr const char* SFzyNegativeWeight =
    "Invalid weight for function, %s: %.4f.  Expected 0 or more";
/// A beta function with an inflection point of 0; its name.
inline constexpr const char* SFzyZeroInflectionPoint =
    "Invalid inflection point for function, %s: 0.  Expected a value other than 0";
/// A curve function asked for more points than a curve may have; its name, the count and the limit.
inline constexpr const char* SFzyTooManyFunctionValues =
    "Too many points for function, %s: %d.  Expected %d or fewer";
/// Default names of the three automatic terms of a variable.
inline constexpr const char* SLowFuzzyTerm = "low";
inline constexpr const char* SMediumFuzzyTerm = "medium";
inline constexpr const char* SHighFuzzyTerm = "high";

/// Points of a stream that a point list would not keep as they are.
inline constexpr const char* SStreamedPointOutOfOrder =
    "Invalid point: its X lies before the X of the point ahead of it";
inline constexpr const char* SStreamedPointRepeated = "Invalid point: it equals the point ahead of it";

}  // namespace fzl
