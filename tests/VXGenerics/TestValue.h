#pragma once
// A tiny counted value for the table tests: an interface with a number.

#include <string>

#include <fzl/support/Interface.h>
#include <fzl/support/Interfaced.h>
#include <fzl/support/IntfPtr.h>

namespace fzl::test {

class IValue : public IInterface {
public:
    using TInterface = IValue;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{BB4058A4-2BD2-4577-A7A4-6BEECD6EE3E5}");
    [[nodiscard]] virtual int Number() const = 0;

protected:
    ~IValue() = default;
};

class TValue final : public TInterfaced<TObject, IValue> {
public:
    explicit TValue(int Number) : FNumber(Number) {}
    [[nodiscard]] int Number() const override { return FNumber; }

private:
    int FNumber;
};

/// A new value numbered Number.
inline TIntfPtr<IValue> Value(int Number) { return MakeIntf<TValue>(Number); }

/// The reference count of Value's object (the caller's own reference included).
inline int RefCount(const TIntfPtr<IValue>& Value) {
    return static_cast<TValue*>(Value.Get())->GetRefCount();
}

}  // namespace fzl::test
