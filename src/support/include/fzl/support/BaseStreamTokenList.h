#pragma once
// IBaseStreamTokenList: an ordered list of counted token references, and
// TBaseStreamTokenList, its implementation template.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

/// Nesting depth beyond which printed token lists show "..." (a list can reach itself
/// through a token of its own; printing it must still end).
inline constexpr int MaxTokenListPrintDepth = 256;

namespace Detail {
/// Counts the nesting of token-list printing on this thread.
class TTokenListPrintDepth {
public:
    TTokenListPrintDepth() noexcept { ++Depth(); }
    ~TTokenListPrintDepth() { --Depth(); }
    TTokenListPrintDepth(const TTokenListPrintDepth&) = delete;
    TTokenListPrintDepth& operator=(const TTokenListPrintDepth&) = delete;
    [[nodiscard]] static bool TooDeep() noexcept { return Depth() > MaxTokenListPrintDepth; }

private:
    static int& Depth() noexcept;
};
}  // namespace Detail

/// Implementation of IBaseStreamTokenList for I = IBaseStreamTokenList or a descendant
/// interface, so there is one IBaseStreamTokenList base. Items may be nil. Indexes
/// outside the list raise EListError. Descendants say which class their clones are (NewList).
template <class I = IBaseStreamTokenList>
requires std::derived_from<I, IBaseStreamTokenList>
class TBaseStreamTokenList : public TInterfaced<TPersistent, I> {
public:
    // The typed overloads of a descendant interface stay visible beside the base ones.
    using I::Add;
    using I::Append;
    using I::Equals;
    using I::IndexOf;
    using I::Insert;
    using I::Remove;
    // ---- ICloneable --------------------------------------------------------------------
    /// Takes the items (the same token references) of another token list; anything else
    /// raises EConvertError.
    void Assign(const TIntfPtr<IInterface>& Source) override {
        const auto List = Source.template Query<IBaseStreamTokenList>();
        if (!List) throw EConvertError(Format(SAssignError, {"interface", this->ClassName()}));
        std::vector<TIntfPtr<IBaseStreamToken>> Items = ItemsOf(List);
        FItems.swap(Items);
    }
    void Assign(const TPersistent& Source) override { TPersistent::Assign(Source); }
    void AssignTo(TPersistent& Dest) const override { TPersistent::AssignTo(Dest); }
    /// A new list of this list's class holding clones of the tokens (whose values, such
    /// as a nested list, are shared).
    [[nodiscard]] TIntfPtr<IInterface> Clone() override {
        TIntfPtr<I> Copy = NewList();
        for (const auto& Item : FItems) Copy->Add(CloneOf(Item));
        return Copy;
    }
    /// True for a token list of equal tokens (IBaseStreamToken::Equals) in the same order.
    [[nodiscard]] bool Equals(const TIntfPtr<IInterface>& Other) const override {
        const auto List = Other.template Query<IBaseStreamTokenList>();
        return List && Equals(List);
    }
    [[nodiscard]] std::intptr_t GetTag() const override { return FTag; }
    void SetTag(std::intptr_t Value) override { FTag = Value; }

    // ---- IBaseStreamTokenList ----------------------------------------------------------
    int Add(const TIntfPtr<IBaseStreamToken>& Item) override {
        return AddItem(TIntfPtr<IBaseStreamToken>(Item));
    }
    void Insert(int Index, const TIntfPtr<IBaseStreamToken>& Item) override {
        CheckIndex(Index, GetCount() + 1);
        FItems.insert(FItems.begin() + Index, Item);
    }
    [[nodiscard]] TIntfPtr<IBaseStreamToken> GetBaseStreamToken(int Index) const override {
        CheckIndex(Index, GetCount());
        return FItems[static_cast<std::size_t>(Index)];
    }
    void PutBaseStreamToken(int Index, const TIntfPtr<IBaseStreamToken>& Item) override {
        CheckIndex(Index, GetCount());
        FItems[static_cast<std::size_t>(Index)] = Item;
    }
    int Remove(const TIntfPtr<IBaseStreamToken>& Item) override {
        const int Index = IndexOf(Item);
        if (Index >= 0) Delete(Index);
        return Index;
    }
    void Delete(int Index) override {
        CheckIndex(Index, GetCount());
        // The reference goes only after the list is consistent (the token may hold the last
        // reference to something that reaches this list).
        TIntfPtr<IBaseStreamToken> Removed = std::move(FItems[static_cast<std::size_t>(Index)]);
        FItems.erase(FItems.begin() + Index);
    }
    void Clear() override {
        std::vector<TIntfPtr<IBaseStreamToken>> Removed;
        Removed.swap(FItems);
    }
    [[nodiscard]] int GetCount() const override { return static_cast<int>(FItems.size()); }
    /// The first token, or nil when the list is empty.
    [[nodiscard]] TIntfPtr<IBaseStreamToken> FirstBaseStreamToken() const override {
        return FItems.empty() ? nullptr : FItems.front();
    }
    /// The last token, or nil when the list is empty.
    [[nodiscard]] TIntfPtr<IBaseStreamToken> LastBaseStreamToken() const override {
        return FItems.empty() ? nullptr : FItems.back();
    }
    [[nodiscard]] int IndexOf(const TIntfPtr<IBaseStreamToken>& Item) const override {
        for (std::size_t Index = 0; Index < FItems.size(); ++Index)
            if (FItems[Index] == Item) return static_cast<int>(Index);
        return -1;
    }
    /// Appends the tokens of List as they are now (so a list appended to itself doubles).
    void Append(const TIntfPtr<IBaseStreamTokenList>& List) override {
        if (!List) return;
        std::vector<TIntfPtr<IBaseStreamToken>> Items = ItemsOf(List);
        FItems.insert(FItems.end(), Items.begin(), Items.end());
    }
    [[nodiscard]] bool Equals(const TIntfPtr<IBaseStreamTokenList>& List) const override {
        if (!List || List->GetCount() != GetCount()) return false;
        for (int Index = 0; Index < GetCount(); ++Index) {
            const TIntfPtr<IBaseStreamToken> Mine = FItems[static_cast<std::size_t>(Index)];
            const TIntfPtr<IBaseStreamToken> Theirs = List->GetBaseStreamToken(Index);
            if (!Mine || !Theirs ? Mine != Theirs : !Mine->Equals(Theirs)) return false;
        }
        return true;
    }
    /// The printed forms of the tokens separated by one blank (a nil item prints as "").
    [[nodiscard]] std::string ToString() const override {
        const Detail::TTokenListPrintDepth Depth;
        if (Detail::TTokenListPrintDepth::TooDeep()) return "...";
        std::string Result;
        for (std::size_t Index = 0; Index < FItems.size(); ++Index) {
            if (Index > 0) Result += ' ';
            if (FItems[Index]) Result += FItems[Index]->ToString();
        }
        return Result;
    }

    [[nodiscard]] std::string ClassName() const override { return "TBaseStreamTokenList"; }

protected:
    ~TBaseStreamTokenList() override = default;
    /// Add for a reference the caller hands over (no count traffic).
    int AddItem(TIntfPtr<IBaseStreamToken>&& Item) {
        // Most lists are short: room for a few items up front spares the first regrowths
        // (8, not more: a value pair is a list of 2, and a set may have 10000 of them).
        if (FItems.capacity() == 0) FItems.reserve(InitialCapacity);
        FItems.push_back(std::move(Item));
        return GetCount() - 1;
    }
    /// A new, empty list of this list's class (for Clone).
    [[nodiscard]] virtual TIntfPtr<I> NewList() const = 0;

private:
    static void CheckIndex(int Index, int Limit) {
        if (Index < 0 || Index >= Limit) throw EListError(Format(SListIndexError, {Index}));
    }
    static std::vector<TIntfPtr<IBaseStreamToken>> ItemsOf(const TIntfPtr<IBaseStreamTokenList>& List) {
        std::vector<TIntfPtr<IBaseStreamToken>> Items;
        Items.reserve(static_cast<std::size_t>(List->GetCount()));
        for (int Index = 0; Index < List->GetCount(); ++Index)
            Items.push_back(List->GetBaseStreamToken(Index));
        return Items;
    }

    static constexpr std::size_t InitialCapacity = 8;

    std::vector<TIntfPtr<IBaseStreamToken>> FItems;
    std::intptr_t FTag = 0;
};

}  // namespace fzl
