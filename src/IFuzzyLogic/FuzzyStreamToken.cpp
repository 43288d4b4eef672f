#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/IFuzzyLogic/FuzzyStreamToken.h>
#include <fzl/support/BlockCache.h>

namespace fzl {

namespace {
/// Room for the tokens of a large construct between two parses (under 300 KB a thread).
using TTokenCache = Detail::TBlockCache<sizeof(TFuzzyStreamToken), 2048>;
}  // namespace

// NOLINTNEXTLINE(misc-new-delete-overloads): paired with the sized operator delete below
void* TFuzzyStreamToken::operator new(std::size_t Size) {
    // A descendant class has its own size: it goes to the general heap.
    return Size == sizeof(TFuzzyStreamToken) ? TTokenCache::Allocate() : ::operator new(Size);
}

void TFuzzyStreamToken::operator delete(void* Block, std::size_t Size) noexcept {
    if (Size == sizeof(TFuzzyStreamToken))
        TTokenCache::Release(Block);
    else
        ::operator delete(Block);
}

void TFuzzyStreamToken::StoreIntf(const TIntfPtr<IInterface>& Value, TFuzzyStreamTokenType Kind) {
    FIntfValue = Value;
    SetDataType(Value ? Kind : fstNone);
}

void TFuzzyStreamToken::StoreObj(TObject* Value, TFuzzyStreamTokenType Kind) {
    FObjValue = Value;
    SetDataType(Value != nullptr ? Kind : fstNone);
}

void TFuzzyStreamToken::SetIntfValue(const TIntfPtr<IInterface>& Value) { StoreIntf(Value, fstInterface); }
void TFuzzyStreamToken::SetList(const TIntfPtr<IFuzzyStreamTokenList>& Value) { StoreIntf(Value, fstList); }
void TFuzzyStreamToken::SetFuzzySetIntf(const TIntfPtr<IFuzzySet>& Value) { StoreIntf(Value, fstIFuzzySet); }
void TFuzzyStreamToken::SetObjValue(TObject* Value) { StoreObj(Value, fstObject); }
void TFuzzyStreamToken::SetFuzzySet(TFuzzySet* Value) { StoreObj(Value, fstFuzzySet); }

TIntfPtr<IFuzzyStreamTokenList> TFuzzyStreamToken::GetList() const {
    return FIntfValue.Query<IFuzzyStreamTokenList>();
}

TIntfPtr<IFuzzySet> TFuzzyStreamToken::GetFuzzySetIntf() const { return FIntfValue.Query<IFuzzySet>(); }

TFuzzySet* TFuzzyStreamToken::GetFuzzySet() const { return DownCast<TFuzzySet>(FObjValue); }

void TFuzzyStreamToken::Assign(const TIntfPtr<IInterface>& Source) {
    TBaseStreamToken::Assign(Source);
    if (const auto Token = Source.Query<IFuzzyStreamToken>()) {
        FIntfValue = Token->GetIntfValue();
        FObjValue = Token->GetObjValue();
    }
}

bool TFuzzyStreamToken::Equals(const TIntfPtr<IInterface>& Other) const {
    if (!TBaseStreamToken::Equals(Other)) return false;
    const auto Token = Other.Query<IFuzzyStreamToken>();
    const TIntfPtr<IInterface> Value = Token ? Token->GetIntfValue() : nullptr;
    return SameObject(Value, FIntfValue) && (Token ? Token->GetObjValue() : nullptr) == FObjValue;
}

std::string TFuzzyStreamToken::ToString() const {
    switch (GetDataType()) {
        case fstInterface: return "<interface>";
        case fstList: {
            const auto List = GetList();
            if (!List) return {};
            // Appended rather than "(" + ...: g++ 12 at -O3 warns falsely on the prefix form.
            std::string Text = "(";
            Text += List->ToString();
            Text += ')';
            return Text;
        }
        case fstIFuzzySet: {
            const auto Set = GetFuzzySetIntf();
            return Set ? Set->ToString() : std::string();
        }
        case fstObject: return "<object>";
        case fstFuzzySet: {
            const TFuzzySet* Set = GetFuzzySet();
            return Set != nullptr ? Set->GetExpression() : std::string();
        }
        default: return TBaseStreamToken::ToString();
    }
}

void TFuzzyStreamToken::AppendPrintedForm(std::string& Into) const {
    switch (GetDataType()) {
        case fstInterface:
        case fstList:
        case fstIFuzzySet:
        case fstObject:
        case fstFuzzySet: Into += TFuzzyStreamToken::ToString(); return;
        default: TBaseStreamToken::AppendPrintedForm(Into);
    }
}

TIntfPtr<IFuzzyStreamToken> TFuzzyStreamToken::NewToken() const { return MakeIntf<TFuzzyStreamToken>(); }

}  // namespace fzl
