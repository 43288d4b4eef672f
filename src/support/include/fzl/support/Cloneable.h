#pragma once
// ICloneable: objects reached through interfaces that copy, clone and compare
// themselves.

#include <concepts>
#include <cstdint>

#include <fzl/support/Interface.h>
#include <fzl/support/IntfPtr.h>
#include <fzl/support/Persistent.h>

namespace fzl {

/// Copy, clone, compare and tag an object reached through an interface.
class ICloneable : public IInterface {
public:
    using TInterface = ICloneable;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{644CA342-5C94-436A-90E3-FB9BEB7E8BA6}");

    /// Copies Source into this object; what is copied from which kinds is the implementer's.
    virtual void Assign(const TIntfPtr<IInterface>& Source) = 0;
    /// Copies a persistent object into this one (the framework's Assign).
    virtual void Assign(const TPersistent& Source) = 0;
    /// Copies this object into Dest (the framework's AssignTo).
    virtual void AssignTo(TPersistent& Dest) const = 0;
    /// A new object equal to this one. (Not const, so that a class can also keep
    /// a const Clone of its own with another result type.)
    [[nodiscard]] virtual TIntfPtr<IInterface> Clone() = 0;
    /// The equality test against any interface.
    [[nodiscard]] virtual bool Equals(const TIntfPtr<IInterface>& Other) const = 0;
    [[nodiscard]] virtual std::intptr_t GetTag() const = 0;
    virtual void SetTag(std::intptr_t Value) = 0;

protected:
    ~ICloneable() = default;
};

/// Clone() of Source seen through Source's own interface I (nil for nil).
template <class I>
requires std::derived_from<I, ICloneable>
[[nodiscard]] TIntfPtr<I> CloneOf(const TIntfPtr<I>& Source) {
    if (!Source) return nullptr;
    return Source->Clone().template Query<I>();
}

}  // namespace fzl
