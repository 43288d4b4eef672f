#pragma once
// Naming of derived sets and recognition of the words of the expression
// language. All comparisons are exact and case-sensitive.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include <fzl/FuzzyConsts/FuzzyTypes.h>

namespace fzl {

/// Name of a set modified by a hedge: "very hot", "not [very hot]".
[[nodiscard]] std::string CreateFuzzyName(TFuzzyHedge Hedge, std::string_view Name);

/// Name of a set modified by a base hedge: "+ hot" when AxisFlag (degrees), "+X hot" otherwise (X values).
[[nodiscard]] std::string CreateFuzzyName(TBaseFuzzyHedge Hedge, bool AxisFlag, std::string_view Name);

/// Name of a combination of two sets: "hot or-sum [very cold]".
[[nodiscard]] std::string CreateFuzzyName(std::string_view FirstName, std::string_view SecondName,
                                          std::string_view Operation);

/// Name of a set combined with a number: "hot and 0.5000".
[[nodiscard]] std::string CreateFuzzyName(std::string_view Name, std::string_view Operation, TFzyFloat Value);

/// The same names appended to Result, for callers that keep their buffers (Result must not
/// hold the names read).
void AppendFuzzyName(std::string& Result, TFuzzyHedge Hedge, std::string_view Name);
void AppendFuzzyName(std::string& Result, TBaseFuzzyHedge Hedge, bool AxisFlag, std::string_view Name);
void AppendFuzzyName(std::string& Result, std::string_view FirstName, std::string_view SecondName,
                     std::string_view Operation);
void AppendFuzzyName(std::string& Result, std::string_view Name, std::string_view Operation, TFzyFloat Value);

/// S as one bracketed unit unless it has no blank or already is one: " very hot " gives "[ very hot ]".
[[nodiscard]] std::string FormatFuzzyExpression(std::string_view S);
/// Appends FormatFuzzyExpression(S) to Result (Result must not hold S).
void AppendFuzzyExpression(std::string& Result, std::string_view S);
/// Appends the expression of a combination: FormatFuzzyExpression of each operand's text
/// around the operation, "[very hot] or cold" (Result must not hold the texts).
void AppendFuzzyExpression(std::string& Result, std::string_view First, std::string_view Operation,
                           std::string_view Second);

/// The one keyword lookup of the library: true when S is an entry of Table (exactly,
/// case-sensitively); Value then receives the enumeration value at that index.
/// Nothing is written when S is not found.
template <class E, std::size_t N>
[[nodiscard]] constexpr bool FindKeyword(const std::array<std::string_view, N>& Table, std::string_view S,
                                         E& Value) noexcept {
    for (std::size_t I = 0; I < N; ++I) {
        if (Table[I] == S) {
            Value = static_cast<E>(I);
            return true;
        }
    }
    return false;
}

/// True when S is one of the hedge words.
[[nodiscard]] bool IsFuzzyHedge(std::string_view S);

/// True when S is a hedge word; Hedge receives it on success only.
[[nodiscard]] bool IsFuzzyHedge(std::string_view S, TFuzzyHedge& Hedge);

/// True when S is a base hedge symbol, plain ("<=") or with "X" appended ("<=X").
[[nodiscard]] bool IsFuzzyHedgeOperator(std::string_view S);

/// As above; on success Hedge receives the base hedge and AxisFlag is true for the plain symbol,
/// false for the "X" form. Nothing is written on failure.
[[nodiscard]] bool IsFuzzyHedgeOperator(std::string_view S, TBaseFuzzyHedge& Hedge, bool& AxisFlag);

/// True when S is an intersection ("and", ...) or union ("or", ...) keyword. IsUnion is set true on
/// entry whatever the outcome, and false for an intersection keyword; Operation is written on success only.
[[nodiscard]] bool IsFuzzyKeyword(std::string_view S, bool& IsUnion, TFuzzyOperation& Operation);

/// True when S is an operation name ("zadeh", ...); Operation is written on success only.
[[nodiscard]] bool IsFuzzyOperation(std::string_view S, TFuzzyOperation& Operation);

/// True when S is a correlation method word ("minimum", "product"); Method is written on success only.
[[nodiscard]] bool IsFuzzyCorrelation(std::string_view S, TFuzzyCorrelationMethod& Method);

/// True when S is an inference method word ("min-max", ...); Method is written on success only.
[[nodiscard]] bool IsFuzzyInference(std::string_view S, TFuzzyInferenceMethod& Method);

}  // namespace fzl
