#pragma once
// Implementing interfaces: the intrusive reference count, the implementation
// templates that add counting and QueryInterface to any TObject descendant, and
// the factories that hand out the first reference of a new object.
//
// Lifetime rules:
// - A counted object is created only by MakeIntf<T>(...) or a TIntfClassRef. Its
//   count is 1 while the constructor and AfterConstruction() run (so references
//   taken and dropped there cannot free it), and that reference becomes the one
//   the factory returns.
// - When the last reference goes, the count is parked at a large value and the
//   object is freed the framework way (Free(): BeforeDestruction(), then the
//   destructor); references to itself taken while it goes cannot free it twice.
// - A debug build asserts that no reference is left when an object is destroyed
//   (for example one freed by hand through Free()).

#include <atomic>
#include <cassert>
#include <concepts>
#include <cstdint>
#include <type_traits>
#include <utility>

#include <fzl/support/IntfPtr.h>
#include <fzl/support/Object.h>

namespace fzl {

/// Number of counted objects alive in the process (for leak checks in tests).
[[nodiscard]] std::int64_t LiveRefCountedObjects() noexcept;

namespace Detail {
void CountObjectCreated() noexcept;
void CountObjectDestroyed() noexcept;
}  // namespace Detail

/// The atomic reference count embedded in every counted object.
class TRefCount {
public:
    TRefCount() noexcept { Detail::CountObjectCreated(); }
    TRefCount(const TRefCount&) = delete;
    TRefCount& operator=(const TRefCount&) = delete;
    TRefCount(TRefCount&&) = delete;
    TRefCount& operator=(TRefCount&&) = delete;
    ~TRefCount() {
        // Either the last reference went (Destroying), or the constructor failed
        // before any factory handed the object out.
        assert((FCount.load() == Destroying || (!FComplete && FCount.load() == 1)) &&
               "reference-counted object destroyed while references to it remain");
        Detail::CountObjectDestroyed();
    }

    [[nodiscard]] int Get() const noexcept {
        const int Count = FCount.load(std::memory_order_relaxed);
        return Count >= Destroying ? 0 : Count;
    }
    int AddRef() noexcept { return FCount.fetch_add(1, std::memory_order_relaxed) + 1; }
    /// The new count; 0 means the caller must destroy the object (after BeginDestroy).
    int Release() noexcept { return FCount.fetch_sub(1, std::memory_order_acq_rel) - 1; }
    /// Parks the count far from 0 so that references taken during destruction never reach it again.
    void BeginDestroy() noexcept { FCount.store(Destroying, std::memory_order_relaxed); }
    /// The factory has handed the object out.
    void MarkComplete() noexcept { FComplete = true; }

private:
    static constexpr int Destroying = 1 << 30;
    std::atomic<int> FCount{1};  // the construction guard, later the factory's reference
    bool FComplete = false;
};

namespace Detail {

/// Finds IID along the parent chain of interface I, starting at Intf.
template <class I>
bool FindInterface(I* Intf, const TGUID& IID, void*& Obj) noexcept {
    using TDeclared = typename I::TInterface;
    TDeclared* Declared = Intf;
    if (IID == TDeclared::IID) {
        Obj = Declared;
        return true;
    }
    if constexpr (std::is_void_v<typename TDeclared::TInherited>) {
        return false;
    } else {
        return FindInterface<typename TDeclared::TInherited>(Declared, IID, Obj);
    }
}

/// QueryInterface over the interfaces TIntfs of Self (the first one answers for IInterface).
template <class... TIntfs, class TSelf>
bool FindInterfaceOf(TSelf* Self, const TGUID& IID, void*& Obj) noexcept {
    Obj = nullptr;
    return (FindInterface<TIntfs>(static_cast<TIntfs*>(Self), IID, Obj) || ...);
}

/// The pointer to Self through J, via the first interface when J is a shared root.
template <class J, class TFirst, class TSelf>
J* InterfaceOf(TSelf* Self) noexcept {
    if constexpr (std::is_convertible_v<TSelf*, J*>) {
        return Self;
    } else {
        return static_cast<TFirst*>(Self);
    }
}

}  // namespace Detail

/// Adds a reference count and QueryInterface for TIntfs to TBase (a TObject
/// descendant). List only the most derived interfaces; their parents are found
/// through them. To reuse one implementation for an interface and its
/// descendants, parameterise the implementation by the interface:
///     template <class I = IBase> class TBaseImpl : public TInterfaced<TObject, I> {...};
///     class TDerived : public TBaseImpl<IDerived> {...};  // IDerived extends IBase
template <class TBase, class TFirst, class... TIntfs>
requires std::derived_from<TBase, TObject>
class TInterfaced : public TBase, public TFirst, public TIntfs... {
public:
    using TBase::TBase;
    using TRefCountedTag = void;

    /// The current number of references (for diagnostics and tests).
    [[nodiscard]] int GetRefCount() const noexcept { return FRefCount.Get(); }

    /// A new reference to this object through J (hand out `this`, or keep the
    /// object alive while a method that can drop its last reference runs).
    template <class J = TFirst>
    [[nodiscard]] TIntfPtr<J> AsIntf() noexcept {
        return TIntfPtr<J>::Retain(Detail::InterfaceOf<J, TFirst>(this));
    }

protected:
    ~TInterfaced() override = default;

private:
    template <class>
    friend class TIntfPtr;
    friend struct TIntfFactory;
    using TBase::Free;  // only the last release frees a counted object

    THResult QueryInterface(const TGUID& IID, void*& Obj) noexcept override {
        if (!Detail::FindInterfaceOf<TFirst, TIntfs...>(this, IID, Obj)) return E_NOINTERFACE;
        FRefCount.AddRef();
        return S_OK;
    }
    int _AddRef() noexcept override { return FRefCount.AddRef(); }  // NOLINT(bugprone-reserved-identifier)
    int _Release() noexcept override {                              // NOLINT(bugprone-reserved-identifier)
        const int Count = FRefCount.Release();
        if (Count == 0) {
            FRefCount.BeginDestroy();
            this->Free();
        }
        return Count;
    }

    TRefCount FRefCount;
};

/// QueryInterface for TIntfs on an object whose lifetime is not counted (a
/// component, freed by its owner): references neither keep it alive nor free it.
template <class TBase, class TFirst, class... TIntfs>
requires std::derived_from<TBase, TObject>
class TUncountedInterfaced : public TBase, public TFirst, public TIntfs... {
public:
    using TBase::TBase;

    template <class J = TFirst>
    [[nodiscard]] TIntfPtr<J> AsIntf() noexcept {
        return TIntfPtr<J>::Retain(Detail::InterfaceOf<J, TFirst>(this));
    }

protected:
    ~TUncountedInterfaced() override = default;

private:
    template <class>
    friend class TIntfPtr;

    THResult QueryInterface(const TGUID& IID, void*& Obj) noexcept override {
        return Detail::FindInterfaceOf<TFirst, TIntfs...>(this, IID, Obj) ? S_OK : E_NOINTERFACE;
    }
    int _AddRef() noexcept override { return -1; }   // NOLINT(bugprone-reserved-identifier)
    int _Release() noexcept override { return -1; }  // NOLINT(bugprone-reserved-identifier)
};

/// Creates counted objects and hands out their first reference once complete.
struct TIntfFactory {
    template <class T, class... TArgs>
    [[nodiscard]] static TIntfPtr<T> Make(TArgs&&... Args) {
        // The guard reference of construction becomes the returned one; if
        // AfterConstruction throws, dropping it frees the object.
        TIntfPtr<T> Object = TIntfPtr<T>::Adopt(new T(std::forward<TArgs>(Args)...));
        Object->AfterConstruction();
        Object->FRefCount.MarkComplete();
        return Object;
    }
};

/// Creates a counted object; the result holds its first reference.
template <class T, class... TArgs>
[[nodiscard]] TIntfPtr<T> MakeIntf(TArgs&&... Args) {
    return TIntfFactory::Make<T>(std::forward<TArgs>(Args)...);
}

/// Class reference for counted classes: a virtual constructor returning a
/// reference through TBase, which an application can point at a descendant.
template <class TBase, class... TArgs>
class TIntfClassRef {
public:
    template <class T>
    requires std::derived_from<T, TBase>
    [[nodiscard]] static constexpr TIntfClassRef Of() noexcept { return TIntfClassRef(&Construct<T>); }

    [[nodiscard]] TIntfPtr<TBase> Create(TArgs... Args) const { return FFactory(Args...); }
    friend constexpr bool operator==(TIntfClassRef, TIntfClassRef) noexcept = default;

private:
    using TFactory = TIntfPtr<TBase> (*)(TArgs...);
    constexpr explicit TIntfClassRef(TFactory Factory) noexcept : FFactory(Factory) {}

    template <class T>
    static TIntfPtr<TBase> Construct(TArgs... Args) {
        return MakeIntf<T>(Args...);
    }

    TFactory FFactory;
};

}  // namespace fzl
