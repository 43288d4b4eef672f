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

#include <memory>
#include <string>
#include <typeinfo>
#include <utility>

namespace fzl {

/// Root class: a name for diagnostics and display, and Free() as the only way out.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    TObject(TObject&&) = delete;
    TObject& operator=(TObject&&) = delete;

    /// Detaches the object from everything that refers to it, then deletes it.
    void Free() {
        BeforeDestruction();
        delete this;
    }

    /// The class identifier ("TFuzzySet"); descendants override it.
    [[nodiscard]] virtual std::string ClassName() const { return "TObject"; }

    /// Runs once the most derived constructor has finished; overrides call the inherited one first.
    virtual void AfterConstruction() {}

protected:
    virtual ~TObject() = default;
    /// Runs while the object is still whole; overrides must call the inherited one last.
    virtual void BeforeDestruction() {}
};

/// dynamic_cast with a fast path for the exact class, which is what hot paths
/// meet almost always (a full dynamic_cast walks the class hierarchy).
template <class T, class U>
[[nodiscard]] T* DownCast(U* Object) noexcept {
    using TTarget = std::remove_cv_t<T>;
    if (Object != nullptr && typeid(*Object) == typeid(TTarget)) return static_cast<T*>(Object);
    return dynamic_cast<T*>(Object);
}

/// Deleter of TOwned: frees the object the framework way.
struct TFreeDeleter {
    void operator()(TObject* Object) const {
        if (Object != nullptr) Object->Free();
    }
};

/// Sole ownership of a framework object.
template <class T>
using TOwned = std::unique_ptr<T, TFreeDeleter>;

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
