#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/IFuzzyLogic/FuzzyStreamToken.h>

namespace fzl {

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
