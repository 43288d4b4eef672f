#pragma once
// IStringIterator: a forward walk over a sequence of strings (the keys of a
// string hash table).

#include <string>

#include <fzl/support/Interface.h>

namespace fzl {

/// Walks strings one by one: while HasMoreElements(), NextElement().
class IStringIterator : public IInterface {
public:
    using TInterface = IStringIterator;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{10D512F8-D42D-4EA2-8750-A50130695CF9}");

    /// Back to the start.
    virtual void Reset() = 0;
    [[nodiscard]] virtual bool HasMoreElements() const = 0;
    /// Steps to the next string and returns it.
    virtual std::string NextElement() = 0;
    /// The string NextElement returned last (empty before the first step).
    [[nodiscard]] virtual std::string CurrentElement() const = 0;
    /// The number of strings of the whole walk.
    [[nodiscard]] virtual int Count() const = 0;

protected:
    ~IStringIterator() = default;
};

}  // namespace fzl
