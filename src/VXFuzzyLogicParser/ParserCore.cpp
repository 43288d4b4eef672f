// TVXFuzzyLogicParser: life cycle, the tokenizer of the parse in progress, where a parse
// stands, and the small readers the grammar and the evaluator share.

#include <cstddef>
#include <span>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>
#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>
#include <fzl/support/Format.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/Lease.h"
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
    return Stream != nullptr ? Stream->CurrentLine() : 0;
}

std::string TVXFuzzyLogicParser::GetParsedText() const {
    if (FState->Stream != nullptr && FState->Stream == FState->ExpressionStream)
        return *FState->ExpressionText;
    return FState->Stream != nullptr ? FState->Stream->ToString() : std::string();
}

std::string TVXFuzzyLogicParser::GetUniqueName() { return "FuzzySet" + IntToStr(GetUniqueID()); }

TIntfPtr<IFuzzyStreamToken> TokenAt(const TLexeme* Lexeme) {
    TIntfPtr<IFuzzyStreamToken> Token = TFuzzyLogicTokenStream::TokenOf(*Lexeme);
    if (Lexeme->Group) Token->SetList(ListOf({Lexeme + 1, static_cast<std::size_t>(Lexeme->Span)}));
    return Token;
}

TIntfPtr<IFuzzyStreamTokenList> ListOf(std::span<const TLexeme> Contents) {
    TIntfPtr<IFuzzyStreamTokenList> List = MakeIntf<TFuzzyStreamTokenList>();
    for (std::size_t Index = 0; Index < Contents.size();
         Index += 1 + static_cast<std::size_t>(Contents[Index].Span))
        List->Add(TokenAt(&Contents[Index]));
    return List;
}

std::string PrintedFormAt(const TLexeme* Lexeme) {
    if (!Lexeme->Group) return TFuzzyLogicTokenStream::PrintedForm(*Lexeme);
    // As a list token prints: "(", the items with one blank between, ")"; as deep as lists print.
    std::string Text = "(";
    {
        const Detail::TTokenListPrintDepth Depth;
        if (Detail::TTokenListPrintDepth::TooDeep()) {
            Text += "...";
        } else {
            const std::span<const TLexeme> Contents(Lexeme + 1, static_cast<std::size_t>(Lexeme->Span));
            for (std::size_t Index = 0; Index < Contents.size();
                 Index += 1 + static_cast<std::size_t>(Contents[Index].Span)) {
                if (Index > 0) Text += ' ';
                Text += PrintedFormAt(&Contents[Index]);
            }
        }
    }
    Text += ')';
    return Text;
}

namespace {

/// Lexemes up to the ")" or the end that closes the current group (left unread), into Into;
/// a nested group is its "(" (made a group) followed by its contents.
void ReadGroup(TFuzzyLogicTokenStream& Stream, std::vector<TLexeme>& Into) {
    for (;;) {
        // The token that closes the group is looked at where the tokenizer holds it as a
        // value, rather than read and put back.
        if (const TLexeme* Next = Stream.Ahead();
            Next != nullptr && (IsKind(*Next, fstNone) || IsKind(*Next, ')'))) {
            (void)Stream.PeekLexeme();
            return;
        }
        const TLexeme& Token = Stream.TakeLexeme();
        if (IsKind(Token, fstNone) || IsKind(Token, ')')) {
            Stream.PutBackLexeme(Token);
            return;
        }
        const std::size_t At = Into.size();
        const bool Opens = IsKind(Token, '(');
        Into.push_back(Token);
        if (Opens) {
            ReadGroup(Stream, Into);
            TLexeme& Group = Into[At];
            Group.Kind = fstList;
            Group.Group = true;
            Group.Span = static_cast<int>(Into.size() - At - 1);
            (void)Stream.TakeLexeme();  // the group's ")"
        }
    }
}

}  // namespace

TIntfPtr<IFuzzyStreamTokenList> TVXFuzzyLogicParser::ParseTokenList() {
    const TLease<std::vector<TLexeme>> Lexemes = TLease<std::vector<TLexeme>>::Take();
    ParseLexemes(*Lexemes);
    return ListOf(*Lexemes);
}

void TVXFuzzyLogicParser::ParseLexemes(std::vector<TLexeme>& Into) { ReadGroup(*GetStream(), Into); }

TLexeme TVXFuzzyLogicParser::ReadHeader(std::string& Name, std::string& Comment, bool HasComment,
                                        const std::string& Keyword, const std::string& Where,
                                        const std::string& ErrorMessage, bool Leave) {
    TFuzzyLogicTokenStream& Stream = *GetStream();
    const bool Opens = IsKind(Stream.TakeLexeme(), '(');
    const TLexeme& Word = Stream.TakeLexeme();
    if (!Opens || !IsKind(Word, fstAtom) || Word.Text != Keyword) ParseError(Where, ErrorMessage);
    TLexeme Token = Stream.NextLexeme();
    // A quoted name is how the printer writes a name no word can spell ("12", "?q", "").
    if (!IsKind(Token, fstAtom) && !IsKind(Token, fstString)) ParseError(Where, SFzyMissingName);
    Name = Token.Text;
    if (HasComment && Leave)
        // The token after the header stays unread; looked at, where the tokenizer allows,
        // rather than read and put back.
        if (const TLexeme* Next = Stream.PeekLexeme()) {
            Comment.clear();
            if (IsKind(*Next, fstString)) {
                Comment = Next->Text;
                (void)Stream.TakeLexeme();
                Next = Stream.PeekLexeme();  // not nullptr: the tokenizer allowed the first look
            }
            return *Next;
        }
    if (HasComment) {
        Token = Stream.NextLexeme();
        Comment.clear();
        if (IsKind(Token, fstString)) {
            Comment = Token.Text;
            Token = Stream.NextLexeme();
        }
    }
    if (Leave) Stream.PutBackLexeme(Token);
    return Token;
}

TIntfPtr<IFuzzyStreamToken> TVXFuzzyLogicParser::ParseHeader(std::string& Name, std::string& Comment,
                                                             bool HasComment, const std::string& Keyword,
                                                             const std::string& Where,
                                                             const std::string& ErrorMessage) {
    const TLexeme Token = ReadHeader(Name, Comment, HasComment, Keyword, Where, ErrorMessage);
    // The token handed out last, as the object NextToken gave.
    return Token.Object ? Token.Object : GetStream()->PeekCurrentToken();
}

TLexeme TVXFuzzyLogicParser::Header(std::string& Name, std::string& Comment, bool HasComment,
                                    const std::string& Keyword, const std::string& Where,
                                    const std::string& ErrorMessage, bool Leave) {
    if (typeid(*this) == typeid(TVXFuzzyLogicParser))
        return ReadHeader(Name, Comment, HasComment, Keyword, Where, ErrorMessage, Leave);
    TLexeme Token =
        GetStream()->LexemeOf(ParseHeader(Name, Comment, HasComment, Keyword, Where, ErrorMessage));
    if (Leave) GetStream()->PutBackLexeme(Token);
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
