#pragma once
// Event and callback types of the reference-counted model. Events are
// std::function (empty when unassigned, tested before every call); the sweep
// callbacks are TFunctionRef, a non-owning reference valid for one call.

#include <functional>
#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/support/FunctionRef.h>
#include <fzl/support/IntfPtr.h>
#include <fzl/support/NotifyEvent.h>

namespace fzl {

class IFuzzySet;
class IFuzzyVariable;

/// A set of the variable Sender was added, changed or deleted.
using TIFuzzySetEvent =
    std::function<void(const TIntfPtr<IFuzzyVariable>& Sender, const TIntfPtr<IFuzzySet>& FuzzySet)>;
/// A variable was added, changed or deleted.
using TIFuzzyVariableEvent = std::function<void(const TIntfPtr<IFuzzyVariable>& FuzzyVariable)>;
/// Evaluates Expression for the variable Sender into Result (the parser's hook for expressions).
using TIFuzzyExpressionEvent = std::function<void(
    const TIntfPtr<IFuzzyVariable>& Sender, const std::string& Expression, TIntfPtr<IFuzzySet>& Result)>;
/// Called once per event of the merge sweep with the result set, A's event (X1, Y1)
/// and B's (X2, Y2); appends result points; true stops the sweep.
using TIFuzzyOperator = TFunctionRef<bool(const TIntfPtr<IFuzzySet>& Result, TFzyFloat X1, TFzyFloat Y1,
                                          TFzyFloat X2, TFzyFloat Y2)>;
/// Called once per event of the merge sweep; true stops the sweep.
using TIFuzzyComparison = TFunctionRef<bool(TFzyFloat X1, TFzyFloat Y1, TFzyFloat X2, TFzyFloat Y2)>;

}  // namespace fzl
