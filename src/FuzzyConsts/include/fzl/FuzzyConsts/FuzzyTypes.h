#pragma once
// The shared vocabulary of the library: the number type, the enumerations,
// their sets, and the keyword tables used by naming, parsing and evaluation.

#include <array>
#include <cstdint>
#include <string_view>

#include <fzl/support/EnumInfo.h>

namespace fzl {

/// Type of every X value, membership degree, range bound and hedge number.
using TFzyFloat = double;

/// How a consequent is shaped by the strength of a rule: clipping or scaling.
enum TFuzzyCorrelationMethod : std::uint8_t { fcmMinimum, fcmProduct };

/// How a fired consequent is united with the running conclusion.
enum TFuzzyInferenceMethod : std::uint8_t { fimMinMax, fimAdditive, fimMean, fimProduct, fimBoundedSum };

/// Base hedges: arithmetic and cut-off operators with a crisp right operand.
/// The seventh identifier really is bfgCutLessEq; other modules rely on it.
enum TBaseFuzzyHedge : std::uint8_t {
    bfhAdd,
    bfhSubtract,
    bfhMultiply,
    bfhDivide,
    bfhPower,
    bfhCutLess,
    bfgCutLessEq,
    bfhCutGreater,
    bfhCutGreaterEq
};

/// How a set is turned into one crisp value.
enum TDefuzzificationMethod : std::uint8_t { dmCenterOfGravity, dmMeanOfMaxima };

/// The generator that shaped a set; any point edit makes it fstUserDefined.
enum TFuzzySetType : std::uint8_t {
    fstUserDefined,
    fstTriangle,
    fstDeclineCurve,
    fstPICurve,
    fstBetaCurve,
    fstGrowthCurve
};

/// The linguistic hedges, in the order of HedgeNames and HedgeModifiers.
enum TFuzzyHedge : std::uint8_t {
    fhNot,
    fhSomewhat,
    fhMoreOrLess,
    fhGreatly,
    fhPlus,
    fhVery,
    fhExtremely,
    fhAbove,
    fhBelow,
    fhSlightly,
    fhNormalize,
    fhAbout,
    fhVicinity,
    fhClose,
    fhNear,
    fhNeighboring,
    fhPositively,
    fhAbsolutely,
    fhDefinitely,
    fhGenerally
};

/// The seven ways of combining two sets (intersection or union).
enum TFuzzyOperation : std::uint8_t {
    foZadeh,
    foMean,
    foMeanSqr,
    foMeanSqrt,
    foProduct,
    foBoundedSum,
    foSum
};

/// Which coordinate of a point changed.
enum TXYUpdateType : std::uint8_t { utX, utY };

/// Kinds of value a token of the definition and expression language carries.
enum TFuzzyStreamTokenType : std::uint8_t {
    fstNone,
    fstAtom,
    fstString,
    fstInteger,
    fstFloat,
    fstVariable,
    fstInterface,
    fstList,
    fstIFuzzySet,
    fstObject,
    fstFuzzySet
};

template <>
struct TEnumInfo<TFuzzyCorrelationMethod> {
    static constexpr auto Names = std::to_array<std::string_view>({"fcmMinimum", "fcmProduct"});
};

template <>
struct TEnumInfo<TFuzzyInferenceMethod> {
    static constexpr auto Names = std::to_array<std::string_view>(
        {"fimMinMax", "fimAdditive", "fimMean", "fimProduct", "fimBoundedSum"});
};

template <>
struct TEnumInfo<TBaseFuzzyHedge> {
    static constexpr auto Names =
        std::to_array<std::string_view>({"bfhAdd", "bfhSubtract", "bfhMultiply", "bfhDivide", "bfhPower",
                                         "bfhCutLess", "bfgCutLessEq", "bfhCutGreater", "bfhCutGreaterEq"});
};

template <>
struct TEnumInfo<TDefuzzificationMethod> {
    static constexpr auto Names = std::to_array<std::string_view>({"dmCenterOfGravity", "dmMeanOfMaxima"});
};

template <>
struct TEnumInfo<TFuzzySetType> {
    static constexpr auto Names = std::to_array<std::string_view>(
        {"fstUserDefined", "fstTriangle", "fstDeclineCurve", "fstPICurve", "fstBetaCurve", "fstGrowthCurve"});
};

template <>
struct TEnumInfo<TFuzzyHedge> {
    static constexpr auto Names = std::to_array<std::string_view>(
        {"fhNot",         "fhSomewhat",   "fhMoreOrLess", "fhGreatly",    "fhPlus",
         "fhVery",        "fhExtremely",  "fhAbove",      "fhBelow",      "fhSlightly",
         "fhNormalize",   "fhAbout",      "fhVicinity",   "fhClose",      "fhNear",
         "fhNeighboring", "fhPositively", "fhAbsolutely", "fhDefinitely", "fhGenerally"});
};

template <>
struct TEnumInfo<TFuzzyOperation> {
    static constexpr auto Names = std::to_array<std::string_view>(
        {"foZadeh", "foMean", "foMeanSqr", "foMeanSqrt", "foProduct", "foBoundedSum", "foSum"});
};

template <>
struct TEnumInfo<TXYUpdateType> {
    static constexpr auto Names = std::to_array<std::string_view>({"utX", "utY"});
};

template <>
struct TEnumInfo<TFuzzyStreamTokenType> {
    static constexpr auto Names = std::to_array<std::string_view>(
        {"fstNone", "fstAtom", "fstString", "fstInteger", "fstFloat", "fstVariable", "fstInterface",
         "fstList", "fstIFuzzySet", "fstObject", "fstFuzzySet"});
};

// Each table holds exactly one entry per value of its enumeration: std::to_array
// sizes the list from its entries, so a missing or extra word does not compile.
static_assert(TEnumInfo<TFuzzyCorrelationMethod>::Names.size() == fcmProduct + 1);
static_assert(TEnumInfo<TFuzzyInferenceMethod>::Names.size() == fimBoundedSum + 1);
static_assert(TEnumInfo<TBaseFuzzyHedge>::Names.size() == bfhCutGreaterEq + 1);
static_assert(TEnumInfo<TDefuzzificationMethod>::Names.size() == dmMeanOfMaxima + 1);
static_assert(TEnumInfo<TFuzzySetType>::Names.size() == fstGrowthCurve + 1);
static_assert(TEnumInfo<TFuzzyHedge>::Names.size() == fhGenerally + 1);
static_assert(TEnumInfo<TFuzzyOperation>::Names.size() == foSum + 1);
static_assert(TEnumInfo<TXYUpdateType>::Names.size() == utY + 1);
static_assert(TEnumInfo<TFuzzyStreamTokenType>::Names.size() == fstFuzzySet + 1);

/// Set of correlation methods.
using TFuzzyCorrelationMethods = TEnumSet<TFuzzyCorrelationMethod>;
/// Set of inference methods.
using TFuzzyInferenceMethods = TEnumSet<TFuzzyInferenceMethod>;
/// Which coordinates of a point changed (passed to point-list updates).
using TXYUpdateTypes = TEnumSet<TXYUpdateType>;
/// Set of token kinds.
using TFuzzyStreamTokenTypes = TEnumSet<TFuzzyStreamTokenType>;

/// Hedge words indexed by TFuzzyHedge.
using TFuzzyHedgeNames = std::array<std::string_view, fhGenerally + 1>;
/// Base hedge symbols indexed by TBaseFuzzyHedge.
using TBaseFuzzyHedgeNames = std::array<std::string_view, bfhCutGreaterEq + 1>;
/// Hedge numbers indexed by TFuzzyHedge.
using TFuzzyHedgeModifiers = std::array<TFzyFloat, fhGenerally + 1>;
/// Operation words or keywords indexed by TFuzzyOperation.
using TFuzzyOperationKeywords = std::array<std::string_view, foSum + 1>;
/// Correlation method words indexed by TFuzzyCorrelationMethod.
using TFuzzyCorrelationMethodNames = std::array<std::string_view, fcmProduct + 1>;
/// Inference method words indexed by TFuzzyInferenceMethod.
using TFuzzyInferenceMethodNames = std::array<std::string_view, fimBoundedSum + 1>;

/// One third and two thirds as the nearest doubles.
inline constexpr TFzyFloat ONE_THIRD = 1.0 / 3.0;
inline constexpr TFzyFloat TWO_THIRDS = 2.0 / 3.0;

// The string constants are immutable here: nothing in the library needs to
// change them at run time, and constants cannot be corrupted by a host.

/// Format of every number in set names and written definition text.
inline constexpr std::string_view FuzzyFormatStr = "%.4f";
/// Brackets around a name or expression that contains a blank.
inline constexpr std::string_view LeftFuzzyParentheses = "[";
inline constexpr std::string_view RightFuzzyParentheses = "]";
/// Reserved name that marks an undefined set.
inline constexpr std::string_view SEmptyFuzzy = "__Empty";

/// Operator symbols of the base hedges; "X" appended selects the X axis.
inline constexpr TBaseFuzzyHedgeNames BaseHedgeNames =
    std::to_array<std::string_view>({"+", "-", "*", "/", "^", "<", "<=", ">", ">="});

/// Hedge words as written in expressions and set names.
inline constexpr TFuzzyHedgeNames HedgeNames = std::to_array<std::string_view>(
    {"not",   "somewhat",    "moreorless", "greatly",    "plus",       "very",     "extremely",
     "above", "below",       "slightly",   "normalize",  "about",      "vicinity", "close",
     "near",  "neighboring", "positively", "absolutely", "definitely", "generally"});

/// The number each hedge works with (exponent, width factor, ...); 0 where unused.
inline constexpr TFuzzyHedgeModifiers HedgeModifiers =
    std::to_array<TFzyFloat>({0.0, 1.0 / 3.0, 0.5, 0.7, 1.25, 2.0, 3.0, 0.0, 0.0, 0.0,
                              0.0, 2.0,       4.0, 1.2, 1.2,  1.2, 2.0, 2.0, 2.0, 0.5});

/// Names of the operations as used for method settings.
inline constexpr TFuzzyOperationKeywords FuzzyOperationNames = std::to_array<std::string_view>(
    {"zadeh", "mean", "mean-sqr", "mean-sqrt", "product", "bounded-sum", "sum"});
/// Expression keywords that intersect two sets with an operation.
inline constexpr TFuzzyOperationKeywords FuzzyIntersectionKeywords = std::to_array<std::string_view>(
    {"and", "and-mean", "and-meansqr", "and-meansqrt", "and-product", "and-boundedsum", "and-sum"});
/// Expression keywords that unite two sets with an operation.
inline constexpr TFuzzyOperationKeywords FuzzyUnionKeywords = std::to_array<std::string_view>(
    {"or", "or-mean", "or-meansqr", "or-meansqrt", "or-product", "or-boundedsum", "or-sum"});

/// Words of the correlation methods.
inline constexpr TFuzzyCorrelationMethodNames FuzzyCorrelationNames =
    std::to_array<std::string_view>({"minimum", "product"});
/// Words of the inference methods.
inline constexpr TFuzzyInferenceMethodNames FuzzyInferenceNames =
    std::to_array<std::string_view>({"min-max", "sum", "mean", "product", "bounded-sum"});

/// Display lists for pick lists and help texts; nothing parses them.
inline constexpr std::string_view FuzzyCorrelationNameList = "fcmMinimum, fcmProduct";
inline constexpr std::string_view FuzzyCorrelationSuffixNameList = "Minimum, Product";
inline constexpr std::string_view FuzzyInferenceNameList =
    "fimMinMax, fimAdditive, fimMean, fimProduct, fimBoundedSum";
inline constexpr std::string_view FuzzyInferenceSuffixNameList =
    "MinMax, Additive, Mean, Product, BoundedSum";

}  // namespace fzl
