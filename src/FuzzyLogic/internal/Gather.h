#pragma once
// The combination of two point lists gathered by value (private header): the degree rules of
// the built-in operators and the sweep that applies them, for the set operations and for drafts.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include <fzl/FuzzyLogic/FuzzySet.h>

#include "MergeSweep.h"
#include "PointBuilder.h"

namespace fzl::detail {

// The degree each built-in operator gives a pair of degrees. Degrees are finite and at least
// 0 but not capped, so a literal formula can overflow where its value does not (the mean of two
// huge degrees) or where its value is beyond the largest double (a product). The literal
// result stands whenever it is finite; otherwise the rule computes a form that cannot
// overflow, or saturates at the largest finite double, as the arithmetic hedges do.
using TDegreeRule = TFzyFloat (*)(TFzyFloat, TFzyFloat);

inline constexpr TFzyFloat LargestDegree = std::numeric_limits<TFzyFloat>::max();

inline TFzyFloat MinDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::min(Y1, Y2); }
inline TFzyFloat MaxDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::max(Y1, Y2); }
inline TFzyFloat MeanDegree(TFzyFloat Y1, TFzyFloat Y2) {
    const TFzyFloat Mean = (Y1 + Y2) / 2;
    return std::isfinite(Mean) ? Mean : Y1 / 2 + Y2 / 2;
}
inline TFzyFloat MeanSqrDegree(TFzyFloat Y1, TFzyFloat Y2) {
    const TFzyFloat Mean = MeanDegree(Y1, Y2);
    return std::min(Mean * Mean, LargestDegree);
}
inline TFzyFloat MeanSqrtDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::sqrt(MeanDegree(Y1, Y2)); }
inline TFzyFloat UnionMeanDegree(TFzyFloat Y1, TFzyFloat Y2) {
    const TFzyFloat Mean = (2 * std::min(Y1, Y2) + 4 * std::max(Y1, Y2)) / 6;
    return std::isfinite(Mean) ? Mean
                               : std::min(std::min(Y1, Y2) / 3 + std::max(Y1, Y2) / 3 * 2, LargestDegree);
}
inline TFzyFloat ProductDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::min(Y1 * Y2, LargestDegree); }
inline TFzyFloat UnionProductDegree(TFzyFloat Y1, TFzyFloat Y2) {
    const TFzyFloat Literal = Y1 + Y2 - Y1 * Y2;
    if (std::isfinite(Literal)) return Literal;
    // a + b·(1 − a): where the product overflows it outweighs a + b, and the value is negative.
    return std::clamp(Y1 + Y2 * (1 - Y1), -LargestDegree, LargestDegree);
}
inline TFzyFloat BoundedSumDegree(TFzyFloat Y1, TFzyFloat Y2) {
    return std::min(std::max(0.0, Y1 + Y2 - 1), LargestDegree);
}
inline TFzyFloat UnionBoundedSumDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::min(1.0, Y1 + Y2); }
inline TFzyFloat SumDegree(TFzyFloat Y1, TFzyFloat Y2) { return std::min(Y1 + Y2, LargestDegree); }

/// The degree rule of a built-in operator; nullptr for any other.
[[nodiscard]] TDegreeRule DegreeRuleOf(TFuzzySet::TOperatorFunction Op) noexcept;

// At most how many events the sweep of A and B reports: four a station (a crossing before
// it, arriving, a step's cut or top, leaving) and one where both start level.
template <class TPointsA, class TPointsB>
std::size_t SweepEventBound(const TPointsA& A, const TPointsB& B) noexcept {
    return 4 * static_cast<std::size_t>(A.Count() + B.Count()) + 1;
}

// A built-in operator's sweep with its points held by value, thinned as a combined set's
// points are (see SimplifyRuns) and cleaned as the list's closing report would clean them.
template <class TPointsA, class TPointsB, class TRule>
void Gather(TPointBuilder& Built, const TPointsA& A, const TPointsB& B, TRule Rule) {
    TPointAppender Out = Built.Appender();
    MergeSweep(A, B, [&Out, Rule](TFzyFloat X1, TFzyFloat Y1, TFzyFloat /*X2*/, TFzyFloat Y2) {
        Out.Add(X1, Rule(Y1, Y2));
        return false;
    });
    Built.Take(Out);
    if (A.Count() > 0 && B.Count() > 0) Built.SimplifyRuns();
    Built.RemoveDuplicates();
}

// Gather, with the rules of the default operators (those of rule firing) inline.
template <class TPointsA, class TPointsB>
void GatherByRule(TPointBuilder& Built, const TPointsA& A, const TPointsB& B, TDegreeRule Rule) {
    if (Rule == &MaxDegree)
        Gather(Built, A, B, [](TFzyFloat Y1, TFzyFloat Y2) { return MaxDegree(Y1, Y2); });
    else if (Rule == &MinDegree)
        Gather(Built, A, B, [](TFzyFloat Y1, TFzyFloat Y2) { return MinDegree(Y1, Y2); });
    else
        Gather(Built, A, B, Rule);
}

// The operand as it reads inside a combined expression: its own expression
// when it came from one, else its name.
inline std::string_view OperandText(const std::string& Name, const std::string& Expression) noexcept {
    return Expression.empty() ? Name : Expression;
}

}  // namespace fzl::detail
