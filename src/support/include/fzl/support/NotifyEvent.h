#pragma once
// The plain notification event of the framework.

#include <functional>

namespace fzl {

class TObject;

/// A plain notification; Sender is the object that reports. Empty when unassigned.
using TNotifyEvent = std::function<void(TObject* Sender)>;

}  // namespace fzl
