#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>

namespace fzl {

TIntfPtr<IFuzzyStreamToken> TFuzzyStreamTokenList::Get(int Index) const {
    return GetBaseStreamToken(Index).Query<IFuzzyStreamToken>();
}

void TFuzzyStreamTokenList::Put(int Index, const TIntfPtr<IFuzzyStreamToken>& Item) {
    PutBaseStreamToken(Index, Item);
}

bool TFuzzyStreamTokenList::Equals(const TIntfPtr<IFuzzyStreamTokenList>& List) const {
    return TBase::Equals(TIntfPtr<IBaseStreamTokenList>(List));
}

int TFuzzyStreamTokenList::Add(const TIntfPtr<IFuzzyStreamToken>& Item) {
    return AddItem(TIntfPtr<IBaseStreamToken>(Item));
}

TIntfPtr<IFuzzyStreamToken> TFuzzyStreamTokenList::First() const {
    return FirstBaseStreamToken().Query<IFuzzyStreamToken>();
}

int TFuzzyStreamTokenList::IndexOf(const TIntfPtr<IFuzzyStreamToken>& Item) const {
    return TBase::IndexOf(TIntfPtr<IBaseStreamToken>(Item));
}

void TFuzzyStreamTokenList::Insert(int Index, const TIntfPtr<IFuzzyStreamToken>& Item) {
    TBase::Insert(Index, TIntfPtr<IBaseStreamToken>(Item));
}

TIntfPtr<IFuzzyStreamToken> TFuzzyStreamTokenList::Last() const {
    return LastBaseStreamToken().Query<IFuzzyStreamToken>();
}

void TFuzzyStreamTokenList::Append(const TIntfPtr<IFuzzyStreamTokenList>& List) {
    TBase::Append(TIntfPtr<IBaseStreamTokenList>(List));
}

int TFuzzyStreamTokenList::Remove(const TIntfPtr<IFuzzyStreamToken>& Item) {
    return TBase::Remove(TIntfPtr<IBaseStreamToken>(Item));
}

TIntfPtr<IFuzzyStreamTokenList> TFuzzyStreamTokenList::NewList() const {
    return MakeIntf<TFuzzyStreamTokenList>();
}

}  // namespace fzl
