#pragma once
// A scoped bulk update: BeginUpdate when made, EndUpdate when the scope ends.

#include <exception>

namespace fzl {

/// Keeps a bulk update of Target open for its own lifetime: `const TUpdateGuard Update(List);`.
/// Target is anything with BeginUpdate() and EndUpdate() (collections, point lists, string lists).
///
/// The closing EndUpdate may report the change, and the report may throw (an event handler, a
/// clean-up that fails). The bracket is closed before the report runs, so it is closed either way.
/// - Leaving the scope normally: the report's exception propagates from the guard.
/// - Leaving it by an exception (any exception in flight): the report's exception is dropped and
///   the first one goes on, since a destructor may not throw during unwinding.
template <class T>
class [[nodiscard]] TUpdateGuard {
public:
    [[nodiscard]] explicit TUpdateGuard(T& Target) : FTarget(Target) { FTarget.BeginUpdate(); }
    // The handler costs nothing unless the report throws; inside it, the report's own exception
    // counts as caught, so any exception still uncaught is one being unwound past the guard.
    // NOLINTNEXTLINE(bugprone-exception-escape): throwing is allowed unless unwinding, see above
    ~TUpdateGuard() noexcept(false) {
        try {
            FTarget.EndUpdate();
        } catch (...) {
            if (std::uncaught_exceptions() == 0) throw;
        }
    }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    T& FTarget;
};

}  // namespace fzl
