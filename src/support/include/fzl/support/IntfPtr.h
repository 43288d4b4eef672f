#pragma once
// TIntfPtr: the counted reference through which reference-counted objects are
// held. Copying takes a reference, destruction drops one, moving transfers it
// without touching the count. Parameters take `const TIntfPtr<I>&` (borrowed,
// no count traffic); results are returned as TIntfPtr<I>.

#include <cassert>
#include <concepts>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

#include <fzl/support/Interface.h>

namespace fzl {

struct TIntfFactory;

/// A counted, nullable reference to an object through its interface (or class) I.
template <class I>
class TIntfPtr {
public:
    using element_type = I;

    constexpr TIntfPtr() noexcept = default;
    // NOLINTNEXTLINE(google-explicit-constructor): nullptr converts, as for a pointer.
    constexpr TIntfPtr(std::nullptr_t) noexcept {}
    TIntfPtr(const TIntfPtr& Other) noexcept : FPtr(Other.FPtr) { AddRef(); }
    TIntfPtr(TIntfPtr&& Other) noexcept : FPtr(std::exchange(Other.FPtr, nullptr)) {}
    /// Widening from a derived interface or from an implementing class.
    template <class U>
    requires std::convertible_to<U*, I*>
    // NOLINTNEXTLINE(google-explicit-constructor): widening is implicit, as for pointers.
    TIntfPtr(const TIntfPtr<U>& Other)
    noexcept : FPtr(Other.Get()) { AddRef(); }
    template <class U>
    requires std::convertible_to<U*, I*>
    // NOLINTNEXTLINE(google-explicit-constructor)
    TIntfPtr(TIntfPtr<U>&& Other)
    noexcept : FPtr(Other.Detach()) {}
    ~TIntfPtr() { Release(FPtr); }

    /// Takes the new reference before dropping the old one, so assigning a value
    /// that only the old object kept alive is safe.
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment): the reference is taken first
    TIntfPtr& operator=(const TIntfPtr& Other) noexcept {
        Other.AddRef();
        Release(std::exchange(FPtr, Other.FPtr));
        return *this;
    }
    TIntfPtr& operator=(TIntfPtr&& Other) noexcept {
        TIntfPtr(std::move(Other)).Swap(*this);
        return *this;
    }
    TIntfPtr& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    /// A new counted reference to a live object that the caller reaches by a raw
    /// pointer (a method handing out `this`, an event sender); null stays null.
    [[nodiscard]] static TIntfPtr Retain(I* Object) noexcept {
        TIntfPtr Result;
        Result.FPtr = Object;
        Result.AddRef();
        return Result;
    }

    [[nodiscard]] I* Get() const noexcept { return FPtr; }
    I* operator->() const noexcept {
        assert(FPtr != nullptr && "TIntfPtr: dereferencing nil");
        return FPtr;
    }
    I& operator*() const noexcept {
        assert(FPtr != nullptr && "TIntfPtr: dereferencing nil");
        return *FPtr;
    }
    explicit operator bool() const noexcept { return FPtr != nullptr; }

    /// Drops the reference (the object goes if it was the last).
    void Reset() noexcept { Release(std::exchange(FPtr, nullptr)); }
    void Swap(TIntfPtr& Other) noexcept { std::swap(FPtr, Other.FPtr); }

    /// The same object through interface J, or nil when it does not implement J
    /// (or this reference is nil). Widening needs no query, except to IInterface:
    /// Query<IInterface>() is the object's identity, the same pointer from every
    /// interface of one object.
    template <class J>
    requires std::is_convertible_v<I*, J*> || CInterface<J>
    [[nodiscard]] TIntfPtr<J> Query() const noexcept {
        if constexpr (std::is_convertible_v<I*, J*> && !std::is_same_v<J, IInterface>) {
            return TIntfPtr<J>(*this);
        } else {
            if (FPtr == nullptr) return {};
            void* Obj = nullptr;
            if (FPtr->QueryInterface(J::IID, Obj) != S_OK || Obj == nullptr) return {};
            return TIntfPtr<J>::Adopt(static_cast<J*>(Obj));
        }
    }

    friend bool operator==(const TIntfPtr& A, const TIntfPtr& B) noexcept { return A.FPtr == B.FPtr; }
    friend bool operator==(const TIntfPtr& A, std::nullptr_t) noexcept { return A.FPtr == nullptr; }

private:
    template <class>
    friend class TIntfPtr;
    friend struct TIntfFactory;

    /// Takes over a reference the caller already holds (a query result, a new object).
    [[nodiscard]] static TIntfPtr Adopt(I* Object) noexcept {
        TIntfPtr Result;
        Result.FPtr = Object;
        return Result;
    }
    [[nodiscard]] I* Detach() noexcept { return std::exchange(FPtr, nullptr); }
    void AddRef() const noexcept {
        if (FPtr != nullptr) FPtr->_AddRef();
    }
    static void Release(I* Object) noexcept {
        if (Object != nullptr) Object->_Release();
    }

    I* FPtr = nullptr;
};

/// True when Source's object implements J.
template <class J, class I>
[[nodiscard]] bool Supports(const TIntfPtr<I>& Source) noexcept {
    return static_cast<bool>(Source.template Query<J>());
}

/// True when Source's object implements J; Target then refers to it through J
/// (else Target is nil).
template <class J, class I>
bool Supports(const TIntfPtr<I>& Source, TIntfPtr<J>& Target) noexcept {
    Target = Source.template Query<J>();
    return static_cast<bool>(Target);
}

/// True when A and B refer to the same object (through any interfaces), or are both nil.
template <class I, class J>
[[nodiscard]] bool SameObject(const TIntfPtr<I>& A, const TIntfPtr<J>& B) noexcept {
    return A.template Query<IInterface>() == B.template Query<IInterface>();
}

}  // namespace fzl

template <class I>
struct std::hash<fzl::TIntfPtr<I>> {
    std::size_t operator()(const fzl::TIntfPtr<I>& Ptr) const noexcept { return std::hash<I*>{}(Ptr.Get()); }
};
