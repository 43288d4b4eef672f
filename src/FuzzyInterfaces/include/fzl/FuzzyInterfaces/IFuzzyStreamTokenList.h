#pragma once
// IFuzzyStreamTokenList: the token list of the language, typed for fuzzy tokens.

#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/support/BaseStreamTokenList.h>

namespace fzl {

/// Fuzzy tokens in insertion order; the list holds a reference to each.
class IFuzzyStreamTokenList : public IBaseStreamTokenList {
public:
    using TInterface = IFuzzyStreamTokenList;
    using TInherited = IBaseStreamTokenList;
    static constexpr TGUID IID = TGUID::Parse("{7CA1B834-1685-41E1-93C5-6BC8D86665B6}");
    using IBaseStreamTokenList::Add;
    using IBaseStreamTokenList::Append;
    using IBaseStreamTokenList::Equals;
    using IBaseStreamTokenList::IndexOf;
    using IBaseStreamTokenList::Insert;
    using IBaseStreamTokenList::Remove;

    [[nodiscard]] virtual TIntfPtr<IFuzzyStreamToken> Get(int Index) const = 0;
    virtual void Put(int Index, const TIntfPtr<IFuzzyStreamToken>& Item) = 0;
    [[nodiscard]] virtual bool Equals(const TIntfPtr<IFuzzyStreamTokenList>& List) const = 0;
    /// Appends Item; returns its index.
    virtual int Add(const TIntfPtr<IFuzzyStreamToken>& Item) = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzyStreamToken> First() const = 0;
    [[nodiscard]] virtual int IndexOf(const TIntfPtr<IFuzzyStreamToken>& Item) const = 0;
    virtual void Insert(int Index, const TIntfPtr<IFuzzyStreamToken>& Item) = 0;
    [[nodiscard]] virtual TIntfPtr<IFuzzyStreamToken> Last() const = 0;
    /// Appends every token of List.
    virtual void Append(const TIntfPtr<IFuzzyStreamTokenList>& List) = 0;
    /// Removes the first occurrence of Item; returns its former index, or -1.
    virtual int Remove(const TIntfPtr<IFuzzyStreamToken>& Item) = 0;

protected:
    ~IFuzzyStreamTokenList() = default;
};

}  // namespace fzl
