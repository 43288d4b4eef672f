// TVXFuzzyLogicParser: life cycle, the tokenizer of the parse in progress, where a parse
// stands, and the small readers the grammar and the evaluator share.

#include <vector>

#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>
#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/ParserState.h"

namespace fzl {

namespace {

constexpr const char* ConvertWhere = "ConvertListToValues";

/// Adds the points of a value-pair list to Set (either model) in one bulk update.
template <class TSet>
void AddValuePairs(TVXFuzzyLogicParser& Parser, TSet& Set, const TIntfPtr<IFuzzyStreamTokenList>& List,
                   TFunctionRef<void(TFzyFloat, TFzyFloat)> AddPoint) {
    if (!List) return;
    if (List->GetCount() > TVXFuzzyLogicParser::MaxSetPoints)
        Parser.ParseError(ConvertWhere, SFzyTooManyPoints, {TVXFuzzyLogicParser::MaxSetPoints});
    const TUpdateGuard Update(Set);
    for (int Index = 0; Index < List->GetCount(); ++Index) {
        const TIntfPtr<IFuzzyStreamToken> Item = List->Get(Index);
        const TIntfPtr<IFuzzyStreamTokenList> Pair =
            IsKind(Item, fstList) ? Item->GetList() : TIntfPtr<IFuzzyStreamTokenList>();
        if (!Pair || Pair->GetCount() != 2)
            Parser.ParseError(ConvertWhere, SFzyInvalidValuePair, {Item ? Item->ToString() : std::string()});
        const TIntfPtr<IFuzzyStreamToken> X = Pair->Get(0);
        const TIntfPtr<IFuzzyStreamToken> Y = Pair->Get(1);
        if (!IsNumber(X) || !IsNumber(Y)) Parser.ParseError(ConvertWhere, SFzyExpectedNumber);
        AddPoint(X->GetNumber(), Y->GetNumber());
    }
}

}  // namespace

TIntfPtr<IFuzzySet> NewIntfSet(const TIntfPtr<IFuzzyVariable>& Variable, const std::string& Name) {
    const auto* Impl = dynamic_cast<const TIFuzzyVariable*>(Variable.Get());
    const TIFuzzySetClass Class =
        Impl != nullptr ? Impl->GetFuzzySetClass() : TIFuzzySetClass::Of<TIFuzzySet>();
    return TIntfPtr<IFuzzySet>(Class.Create(Variable, Name));
}

TVXFuzzyLogicParser::TVXFuzzyLogicParser(TComponent* AOwner)
    : TCustomFuzzyLogicParser(AOwner), FState(std::make_unique<TParserState>()) {}

TVXFuzzyLogicParser::~TVXFuzzyLogicParser() = default;

void TVXFuzzyLogicParser::BeforeDestruction() { TCustomFuzzyLogicParser::BeforeDestruction(); }

TOwned<TFuzzyLogicTokenStream> TVXFuzzyLogicParser::CreateStream(std::string Text) {
    return Make<TFuzzyLogicTokenStream>(std::move(Text));
}

TFuzzyLogicTokenStream* TVXFuzzyLogicParser::GetStream() const noexcept { return FState->Stream; }

int TVXFuzzyLogicParser::GetLineNumber() const {
    if (FState->LineOverride > 0) return FState->LineOverride;
    const TFuzzyLogicTokenStream* Stream = FState->Stream;
    if (Stream == nullptr || !Stream->PeekCurrentToken()) return 0;
    return Stream->PeekCurrentToken()->GetLineNumber();
}

std::string TVXFuzzyLogicParser::GetParsedText() const {
    if (FState->Stream != nullptr && FState->Stream == FState->ExpressionStream)
        return *FState->ExpressionText;
    return FState->Stream != nullptr ? FState->Stream->ToString() : std::string();
}

std::string TVXFuzzyLogicParser::GetUniqueName() { return "FuzzySet" + IntToStr(GetUniqueID()); }

TIntfPtr<IFuzzyStreamTokenList> TVXFuzzyLogicParser::ParseTokenList() {
    TIntfPtr<IFuzzyStreamTokenList> List = MakeIntf<TFuzzyStreamTokenList>();
    for (const TIntfPtr<IFuzzyStreamToken>& Token : ParseTokens()) List->Add(Token);
    return List;
}

std::vector<TIntfPtr<IFuzzyStreamToken>> TVXFuzzyLogicParser::ParseTokens() {
    TFuzzyLogicTokenStream& Stream = *GetStream();
    std::vector<TIntfPtr<IFuzzyStreamToken>> Tokens;
    Tokens.reserve(16);
    TIntfPtr<IFuzzyStreamToken> Token = Stream.NextToken();
    while (!IsKind(Token, fstNone) && !IsKind(Token, ')')) {
        if (IsKind(Token, '(')) {
            Token->SetList(ParseTokenList());
            (void)Stream.NextToken();  // the group's ")"
        }
        Tokens.push_back(std::move(Token));
        Token = Stream.NextToken();
    }
    Stream.PutBackToken(Token);
    return Tokens;
}

TIntfPtr<IFuzzyStreamToken> TVXFuzzyLogicParser::ParseHeader(std::string& Name, std::string& Comment,
                                                             bool HasComment, const std::string& Keyword,
                                                             const std::string& Where,
                                                             const std::string& ErrorMessage) {
    TFuzzyLogicTokenStream& Stream = *GetStream();
    const TIntfPtr<IFuzzyStreamToken> Open = Stream.NextToken();
    const TIntfPtr<IFuzzyStreamToken> Word = Stream.NextToken();
    if (!IsKind(Open, '(') || !IsKind(Word, fstAtom) || Word->GetText() != Keyword)
        ParseError(Where, ErrorMessage);
    TIntfPtr<IFuzzyStreamToken> Token = Stream.NextToken();
    // A quoted name is how the printer writes a name no word can spell ("12", "?q", "").
    if (!IsKind(Token, fstAtom) && !IsKind(Token, fstString)) ParseError(Where, SFzyMissingName);
    Name = Token->GetText();
    if (!HasComment) return Token;
    Token = Stream.NextToken();
    Comment.clear();
    if (IsKind(Token, fstString)) {
        Comment = Token->GetText();
        Token = Stream.NextToken();
    }
    return Token;
}

TFuzzySet* TVXFuzzyLogicParser::ConvertListToValues(TFuzzySet* FuzzySet,
                                                    const TIntfPtr<IFuzzyStreamTokenList>& List) {
    if (FuzzySet == nullptr) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    TFuzzySetValues& Points = FuzzySet->GetValues();
    AddValuePairs(*this, Points, List, [&Points](TFzyFloat X, TFzyFloat Y) { Points.Add(X, Y); });
    return FuzzySet;
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::ConvertListToValues(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                             const TIntfPtr<IFuzzyStreamTokenList>& List) {
    if (!FuzzySet) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    IFuzzySet& Set = *FuzzySet;
    AddValuePairs(*this, Set, List, [&Set](TFzyFloat X, TFzyFloat Y) { Set.Add(X, Y); });
    return FuzzySet;
}

}  // namespace fzl
