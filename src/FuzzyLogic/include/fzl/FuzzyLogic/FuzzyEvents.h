#pragma once
// Event types of the logic component and its parser. An unassigned event is an
// empty std::function; callers test it before every call.

#include <functional>

namespace fzl {

class TObject;
class TFuzzySet;
class TFuzzyVariable;

/// A plain notification; Sender is the component.
using TNotifyEvent = std::function<void(TObject* Sender)>;
/// A set was added, changed or deleted; Sender is the component.
using TFuzzySetEvent = std::function<void(TObject* Sender, TFuzzySet* FuzzySet)>;
/// A variable was added, changed or deleted; Sender is the component.
using TFuzzyVariableEvent = std::function<void(TObject* Sender, TFuzzyVariable* FuzzyVariable)>;

}  // namespace fzl
