#pragma once
// A set held by value, for intermediate results that nobody sees.

#include <memory>
#include <variant>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyLogic/FuzzySet.h>

namespace fzl {

class TFuzzySets;

/// The name, expression and points that a set of the base class in a variable's set
/// collection would hold, held by value: for results that are only combined further and
/// that nobody can watch meanwhile (the intermediate sets of an unwatched expression).
/// A draft standing for a set uses up the collection ID that set would have taken, so the
/// sets made later get the same IDs either way. Drafts are reusable: each assignment keeps
/// the buffers of the last.
class TFuzzySetDraft {
public:
    /// A set (of the base class, in the collection the draft is for) or a draft.
    using TOperand = std::variant<const TFuzzySet*, const TFuzzySetDraft*>;

    TFuzzySetDraft();
    ~TFuzzySetDraft();
    TFuzzySetDraft(const TFuzzySetDraft&) = delete;
    TFuzzySetDraft& operator=(const TFuzzySetDraft&) = delete;

    /// Becomes the copy that Source.Clone() and then Hedge(Which) would leave, Source being a
    /// set of the base class in Sets, which nobody watches. Only for the hedges that reshape the
    /// degrees of a clean point list ("not" and the intensifiers), and only when the copy's
    /// points stay in order; otherwise false, with nothing used up.
    [[nodiscard]] bool AssignHedged(const TFuzzySet& Source, TFuzzyHedge Which, TFuzzySets& Sets);
    /// Becomes the set that A's Union (IsUnion) or Intersection with B under Operation would
    /// make in Sets; false, with nothing used up, when that set's point list would have to
    /// sort itself. Raises as they do for an operation that has no such form.
    [[nodiscard]] bool AssignCombined(TOperand A, TOperand B, TFuzzyOperation Operation, bool IsUnion,
                                      TFuzzySets& Sets);
    /// The set that A's Union or Intersection with B makes in Sets, either of them a draft.
    [[nodiscard]] static TOwned<TFuzzySet> Combine(TOperand A, TOperand B, TFuzzyOperation Operation,
                                                   bool IsUnion, TFuzzySets& Sets);
    /// The number of points.
    [[nodiscard]] int Count() const noexcept;

private:
    friend class TFuzzySet;
    /// Call(A, B), each operand read as the sweep drivers read one.
    template <class TCall>
    static decltype(auto) WithOperands(TOperand A, TOperand B, TCall&& Call);
    /// The operator Union or Intersection applies to First and Second under Operation.
    template <class TFirst, class TSecond>
    static TFuzzySet::TOperatorFunction OperatorOf(const TFirst& First, const TSecond& Second,
                                                   TFuzzyOperation Operation, bool IsUnion);

    std::unique_ptr<detail::TSetCopy> FCopy;
};

}  // namespace fzl
