#pragma once
// IBaseStreamTokenList: an ordered list of counted token references.

#include <string>

#include <fzl/support/BaseStreamToken.h>

namespace fzl {

/// Tokens in insertion order; the list holds a reference to each.
class IBaseStreamTokenList : public ICloneable {
public:
    using TInterface = IBaseStreamTokenList;
    using TInherited = ICloneable;
    static constexpr TGUID IID = TGUID::Parse("{8BC20243-F330-4A08-92FD-F700CC14C1E9}");
    using ICloneable::Equals;

    /// Appends Item; returns its index.
    virtual int Add(const TIntfPtr<IBaseStreamToken>& Item) = 0;
    virtual void Insert(int Index, const TIntfPtr<IBaseStreamToken>& Item) = 0;
    [[nodiscard]] virtual TIntfPtr<IBaseStreamToken> GetBaseStreamToken(int Index) const = 0;
    virtual void PutBaseStreamToken(int Index, const TIntfPtr<IBaseStreamToken>& Item) = 0;
    /// Removes the first occurrence of Item; returns its former index, or -1.
    virtual int Remove(const TIntfPtr<IBaseStreamToken>& Item) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    [[nodiscard]] virtual int GetCount() const = 0;
    [[nodiscard]] virtual TIntfPtr<IBaseStreamToken> FirstBaseStreamToken() const = 0;
    [[nodiscard]] virtual TIntfPtr<IBaseStreamToken> LastBaseStreamToken() const = 0;
    [[nodiscard]] virtual int IndexOf(const TIntfPtr<IBaseStreamToken>& Item) const = 0;
    /// Appends every token of List.
    virtual void Append(const TIntfPtr<IBaseStreamTokenList>& List) = 0;
    [[nodiscard]] virtual bool Equals(const TIntfPtr<IBaseStreamTokenList>& List) const = 0;
    /// The printed forms of the tokens, joined.
    [[nodiscard]] virtual std::string ToString() const = 0;

protected:
    ~IBaseStreamTokenList() = default;
};

}  // namespace fzl
