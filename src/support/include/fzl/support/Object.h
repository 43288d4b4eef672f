#pragma once
// Root of the framework's object model and its ownership rule.
//
// Framework objects live on the heap and are destroyed only through Free():
// Free() first runs BeforeDestruction(), while the whole object still exists,
// so that collections and listeners can be told about the departure of a
// complete object; only then is the object deleted. Destructors are protected
// to make `delete` and stack instances of these classes a compile error.
// Owners hold their parts in TOwned<T>, which calls Free().
//
// Construction mirrors it: objects are made by Make<T>, a class reference or a
// collection's Add, which run AfterConstruction() once the constructor is done,
// so that a class can call virtual factories (CreateValues, CreateItems) and
// reach the overrides of its descendants.

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace fzl {

class TOwnedBase;

/// Root class: a name for diagnostics and display, and Free() as the only way out.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    TObject(TObject&&) = delete;
    TObject& operator=(TObject&&) = delete;

    /// Detaches the object from everything that refers to it, then deletes it.
    /// An owning handle that still holds the object lets go of it first.
    void Free();

    /// The class identifier ("TFuzzySet"); descendants override it.
    [[nodiscard]] virtual std::string ClassName() const { return "TObject"; }

    /// Runs once the most derived constructor has finished; overrides call the inherited one first.
    virtual void AfterConstruction() {}

protected:
    virtual ~TObject() = default;
    /// Runs while the object is still whole; overrides must call the inherited one last.
    virtual void BeforeDestruction() {}
    /// The last step of Free(), once BeforeDestruction has run: deletes the object. A class
    /// that recycles its instances (keeps them for reuse) overrides it.
    virtual void FreeInstance() { delete this; }

private:
    friend class TOwnedBase;
    TOwnedBase* FOwnerHandle = nullptr;  // the handle holding this object, if any
};

/// dynamic_cast with a fast path for the exact class, which is what hot paths
/// meet almost always (a full dynamic_cast walks the class hierarchy).
template <class T, class U>
[[nodiscard]] T* DownCast(U* Object) noexcept {
    using TTarget = std::remove_cv_t<T>;
    if (Object != nullptr && typeid(*Object) == typeid(TTarget)) return static_cast<T*>(Object);
    return dynamic_cast<T*>(Object);
}

/// The untyped part of TOwned: the link between a handle and its object.
class TOwnedBase {
public:
    TOwnedBase(const TOwnedBase&) = delete;
    TOwnedBase& operator=(const TOwnedBase&) = delete;

protected:
    TOwnedBase() = default;
    explicit TOwnedBase(TObject* Object) noexcept { Attach(Object); }
    TOwnedBase(TOwnedBase&& Other) noexcept { Attach(Other.Detach()); }
    ~TOwnedBase() { Reset(nullptr); }

    /// Frees the object held (if any) and takes Object.
    void Reset(TObject* Object) noexcept {
        TObject* Old = Detach();
        Attach(Object);
        if (Old != nullptr) Old->Free();
    }
    /// Lets go of the object without freeing it.
    TObject* Detach() noexcept {
        TObject* Object = FObject;
        if (Object != nullptr) Object->FOwnerHandle = nullptr;
        FObject = nullptr;
        return Object;
    }
    void Attach(TObject* Object) noexcept {
        FObject = Object;
        if (Object != nullptr) Object->FOwnerHandle = this;
    }
    [[nodiscard]] TObject* Object() const noexcept { return FObject; }

private:
    friend class TObject;
    TObject* FObject = nullptr;
};

inline void TObject::Free() {
    // Freed by someone else (a set by its collection's owner, say): the handle
    // holding it lets go, so it can neither dangle nor free the object twice.
    if (FOwnerHandle != nullptr) FOwnerHandle->Detach();
    BeforeDestruction();
    FreeInstance();
}

/// Sole ownership of a framework object, like std::unique_ptr, except that the
/// handle empties itself when the object is freed by another owner first (a
/// result set freed with its variable): it never dangles.
template <class T>
class TOwned : private TOwnedBase {
public:
    using element_type = T;

    TOwned() noexcept = default;
    TOwned(std::nullptr_t) noexcept {}  // NOLINT(google-explicit-constructor)
    /// Takes ownership of Object (nullptr allowed).
    explicit TOwned(T* Object) noexcept : TOwnedBase(Object) {}
    TOwned(TOwned&& Other) noexcept = default;
    template <class U>
    requires std::is_convertible_v<U*, T*> TOwned(TOwned<U>&& Other)
    noexcept  // NOLINT(google-explicit-constructor)
        : TOwnedBase(static_cast<T*>(Other.release())) {}
    ~TOwned() = default;

    TOwned& operator=(TOwned&& Other) noexcept {
        if (this != &Other) reset(Other.release());
        return *this;
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> TOwned& operator=(TOwned<U>&& Other) noexcept {
        reset(Other.release());
        return *this;
    }
    TOwned& operator=(std::nullptr_t) noexcept {
        reset();
        return *this;
    }

    [[nodiscard]] T* get() const noexcept { return static_cast<T*>(Object()); }
    T* operator->() const noexcept { return get(); }
    T& operator*() const noexcept { return *get(); }
    explicit operator bool() const noexcept { return Object() != nullptr; }

    /// Frees the object held and takes Value.
    void reset(T* Value = nullptr) noexcept { Reset(Value); }
    /// Gives up ownership without freeing (the object's collection, if any, keeps it).
    T* release() noexcept { return static_cast<T*>(Detach()); }

    friend bool operator==(const TOwned& A, std::nullptr_t) noexcept { return !A; }
    template <class U>
    friend bool operator==(const TOwned& A, const TOwned<U>& B) noexcept {
        return A.get() == B.get();
    }
};

/// True for reference-counted classes (Interfaced.h), which only MakeIntf creates.
template <class T>
inline constexpr bool IsRefCounted = requires {
    typename T::TRefCountedTag;
};

/// Creates a framework object owned by the caller.
template <class T, class... TArgs>
[[nodiscard]] TOwned<T> Make(TArgs&&... Args) {
    static_assert(!IsRefCounted<T>, "a reference-counted object is created by MakeIntf");
    TOwned<T> Object(new T(std::forward<TArgs>(Args)...));
    Object->AfterConstruction();
    return Object;
}

}  // namespace fzl
