#pragma once
// Class references for objects that are not collection items: a virtual
// constructor an application can point at its own descendant.

#include <concepts>

#include <fzl/support/Object.h>

namespace fzl {

/// Creates instances of a descendant of TBase with the arguments TArgs.
template <class TBase, class... TArgs>
class TClassRef {
public:
    template <class T>
    requires std::derived_from<T, TBase>
    [[nodiscard]] static constexpr TClassRef Of() noexcept { return TClassRef(&Construct<T>); }

    [[nodiscard]] TBase* Create(TArgs... Args) const { return FFactory(Args...); }
    friend constexpr bool operator==(TClassRef, TClassRef) noexcept = default;

private:
    using TFactory = TBase* (*)(TArgs...);
    constexpr explicit TClassRef(TFactory Factory) noexcept : FFactory(Factory) {}

    template <class T>
    static TBase* Construct(TArgs... Args) {
        static_assert(!IsRefCounted<T>, "a reference-counted class needs a TIntfClassRef");
        TOwned<T> Object(new T(Args...));
        Object->AfterConstruction();
        return Object.release();
    }

    TFactory FFactory;
};

}  // namespace fzl
