#pragma once
// TFuzzyStreamTokenList: the token list of the language, typed for fuzzy tokens.

#include <fzl/FuzzyInterfaces/IFuzzyStreamTokenList.h>
#include <fzl/support/BaseStreamTokenList.h>

namespace fzl {

/// Fuzzy tokens in insertion order, each held by a counted reference. The typed
/// operations forward to the base list; typed reads give nil for an item that is not a
/// fuzzy token. Made by MakeIntf.
class TFuzzyStreamTokenList : public TBaseStreamTokenList<IFuzzyStreamTokenList> {
    using TBase = TBaseStreamTokenList<IFuzzyStreamTokenList>;

public:
    using TBase::Add;
    using TBase::Append;
    using TBase::Equals;
    using TBase::IndexOf;
    using TBase::Insert;
    using TBase::Remove;

    [[nodiscard]] TIntfPtr<IFuzzyStreamToken> Get(int Index) const override;
    void Put(int Index, const TIntfPtr<IFuzzyStreamToken>& Item) override;
    [[nodiscard]] bool Equals(const TIntfPtr<IFuzzyStreamTokenList>& List) const override;
    int Add(const TIntfPtr<IFuzzyStreamToken>& Item) override;
    [[nodiscard]] TIntfPtr<IFuzzyStreamToken> First() const override;
    [[nodiscard]] int IndexOf(const TIntfPtr<IFuzzyStreamToken>& Item) const override;
    void Insert(int Index, const TIntfPtr<IFuzzyStreamToken>& Item) override;
    [[nodiscard]] TIntfPtr<IFuzzyStreamToken> Last() const override;
    void Append(const TIntfPtr<IFuzzyStreamTokenList>& List) override;
    int Remove(const TIntfPtr<IFuzzyStreamToken>& Item) override;

    [[nodiscard]] std::string ClassName() const override { return "TFuzzyStreamTokenList"; }

protected:
    ~TFuzzyStreamTokenList() override = default;
    [[nodiscard]] TIntfPtr<IFuzzyStreamTokenList> NewList() const override;
};

}  // namespace fzl
