#pragma once
// A non-owning reference to a callable: the cheap callback type of the
// library's sweeps, accepting free functions, lambdas and bound members alike.

#include <memory>
#include <type_traits>
#include <utility>

namespace fzl {

template <class TSignature>
class TFunctionRef;

/// Refers to a callable for the duration of a call; never store one beyond it.
template <class TResult, class... TArgs>
class TFunctionRef<TResult(TArgs...)> {
public:
    // clang-format off
    template <class TCallable>
        requires(!std::is_same_v<std::remove_cvref_t<TCallable>, TFunctionRef> &&
                 std::is_invocable_r_v<TResult, TCallable&, TArgs...>)
    // Implicit on purpose: any callable converts, as a function pointer would.
    // NOLINTNEXTLINE(google-explicit-constructor,bugprone-forwarding-reference-overload)
    TFunctionRef(TCallable&& Callable) noexcept
        : FObject(const_cast<void*>(static_cast<const void*>(std::addressof(Callable)))),
          FInvoke([](void* Object, TArgs... Args) -> TResult {
              return (*static_cast<std::remove_reference_t<TCallable>*>(Object))(std::forward<TArgs>(Args)...);
          }) {}
    // clang-format on

    TResult operator()(TArgs... Args) const { return FInvoke(FObject, std::forward<TArgs>(Args)...); }

private:
    void* FObject;
    TResult (*FInvoke)(void*, TArgs...);
};

}  // namespace fzl
