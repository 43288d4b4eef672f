#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <typeinfo>
#include <utility>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/IFuzzyLogic/FuzzyStreamToken.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>
#include <fzl/support/FloatUtils.h>
#include <fzl/support/Format.h>
#include <fzl/support/VXConstants.h>

namespace fzl {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

bool IsDigit(char C) noexcept { return C >= '0' && C <= '9'; }

/// The one-character punctuation tokens; their kind is their character code.
constexpr std::string_view Punctuation = "&()=[]|~";
/// Characters that end a word (and are read again as the next token's start).
constexpr std::string_view WordEnds = "\"&();<[]|~";

/// A table of 256 flags that is true for the bytes of Chars and, when asked, for blanks
/// and control characters: a byte is classified by one look-up, for every byte read.
constexpr std::array<bool, 256> ByteSet(std::string_view Chars, bool WithBlanks) {
    std::array<bool, 256> Set{};
    if (WithBlanks)
        for (std::size_t Byte = 0; Byte <= ' '; ++Byte) Set[Byte] = true;
    for (const char C : Chars) Set[static_cast<unsigned char>(C)] = true;
    return Set;
}
constexpr std::array<bool, 256> PunctuationBytes = ByteSet(Punctuation, false);
/// The bytes that end a word: blanks, control characters and WordEnds.
constexpr std::array<bool, 256> WordStops = ByteSet(WordEnds, true);

bool IsPunctuation(char C) noexcept { return PunctuationBytes[static_cast<unsigned char>(C)]; }
bool IsPunctuationKind(int Kind) noexcept {
    return Kind > 0 && Kind < 128 && IsPunctuation(static_cast<char>(Kind));
}

/// The length of Text's leading run of bytes that a string takes as they are: up to a
/// line end, NUL, Escape or Quote.
std::size_t PlainStringLength(std::string_view Text, char Escape, char Quote) noexcept {
    std::size_t Length = 0;
    for (; Length < Text.size(); ++Length) {
        const char C = Text[Length];
        if (C == CR || C == LF || C == '\0' || C == Escape || C == Quote) break;
    }
    return Length;
}

/// The length of Text's leading run of bytes that a word takes as they are: up to a
/// blank, a control character, a delimiter or Escape.
std::size_t PlainWordLength(std::string_view Text, char Escape) noexcept {
    std::size_t Length = 0;
    while (Length < Text.size() && !WordStops[static_cast<unsigned char>(Text[Length])] &&
           Text[Length] != Escape)
        ++Length;
    return Length;
}

std::size_t SkipDigits(std::string_view Word, std::size_t Index) noexcept {
    while (Index < Word.size() && IsDigit(Word[Index])) ++Index;
    return Index;
}

/// The decimal exponent of the leading significant digit of a number out of a
/// double's range: below 0 it underflowed, otherwise it overflowed.
std::int64_t DecimalMagnitude(std::string_view Digits, std::string_view Fraction, std::string_view Exponent) {
    std::int64_t Power = 0;
    const auto Significant = Digits.find_first_not_of('0');
    if (Significant != std::string_view::npos) {
        Power = static_cast<std::int64_t>(Digits.size() - Significant) - 1;
    } else {
        const auto InFraction = Fraction.find_first_not_of('0');
        Power = -static_cast<std::int64_t>(InFraction == std::string_view::npos ? 0 : InFraction) - 1;
    }
    std::int64_t Scale = 0;
    const bool Negative = !Exponent.empty() && Exponent.front() == '-';
    for (const char C : Exponent)
        if (IsDigit(C)) Scale = std::min<std::int64_t>(Scale * 10 + (C - '0'), 1'000'000'000'000);
    return Power + (Negative ? -Scale : Scale);
}

enum class TNumberKind { None, Integer, Float };

/// Reads Word as [+-]?(D+(.D*)?|.D+)([eE][+-]?D+)?, locale-independently. An integer is
/// [+-]?D+ within 32 bits. A value too large for a double is no number; one too small
/// reads as a zero of its sign.
TNumberKind ReadNumber(std::string_view Word, double& Value) {
    std::size_t Index = Word[0] == '+' || Word[0] == '-' ? 1 : 0;
    const std::size_t DigitsStart = Index;
    Index = SkipDigits(Word, Index);
    const std::string_view Digits = Word.substr(DigitsStart, Index - DigitsStart);
    std::string_view Fraction;
    bool HasPoint = false;
    if (Index < Word.size() && Word[Index] == '.') {
        HasPoint = true;
        const std::size_t FractionStart = ++Index;
        Index = SkipDigits(Word, Index);
        Fraction = Word.substr(FractionStart, Index - FractionStart);
    }
    if (Digits.empty() && Fraction.empty()) return TNumberKind::None;
    std::string_view Exponent;
    if (Index < Word.size() && (Word[Index] == 'e' || Word[Index] == 'E')) {
        const std::size_t ExponentStart = ++Index;
        if (Index < Word.size() && (Word[Index] == '+' || Word[Index] == '-')) ++Index;
        const std::size_t ExponentDigits = Index;
        Index = SkipDigits(Word, Index);
        if (Index == ExponentDigits) return TNumberKind::None;
        Exponent = Word.substr(ExponentStart, Index - ExponentStart);
    }
    if (Index != Word.size()) return TNumberKind::None;

    const std::string_view Text = Word[0] == '+' ? Word.substr(1) : Word;  // from_chars takes no '+'
    const char* End = Text.data() + Text.size();
    if (!HasPoint && Exponent.empty()) {
        std::int32_t Integer = 0;
        const auto [Stop, Error] = std::from_chars(Text.data(), End, Integer);
        if (Error == std::errc{} && Stop == End) {
            Value = Integer;
            return TNumberKind::Integer;
        }
    }
    double Float = 0;
    const auto [Stop, Error] = std::from_chars(Text.data(), End, Float, std::chars_format::general);
    if (Error == std::errc::result_out_of_range && DecimalMagnitude(Digits, Fraction, Exponent) < 0) {
        Value = Word[0] == '-' ? -0.0 : 0.0;
        return TNumberKind::Float;
    }
    if (Error != std::errc{} || Stop != End) return TNumberKind::None;
    Value = Float;
    return TNumberKind::Float;
}

/// Gives Token the kind and value of Word.
void ClassifyWord(TFuzzyStreamToken& Token, const std::string& Word) {
    if (Word[0] == '?') {
        Token.SetDataType(fstVariable);
        Token.SetText(Word.substr(1));
        return;
    }
    if (Word.size() == 1 && IsNumberSymbol(Word[0])) {  // a lone sign, point or exponent mark
        Token.SetDataType(fstAtom);
        Token.SetText(Word);
        return;
    }
    double Value = 0;
    const TNumberKind Kind = IsNumberChar(Word[0]) ? ReadNumber(Word, Value) : TNumberKind::None;
    if (Kind == TNumberKind::None) {
        Token.SetDataType(fstAtom);
        Token.SetText(Word);
        return;
    }
    Token.SetDataType(Kind == TNumberKind::Integer ? fstInteger : fstFloat);
    Token.SetNumber(Value);
}

bool IsKind(const TIntfPtr<IFuzzyStreamToken>& Token, int Kind) {
    return Token && Token->GetDataType() == Kind;
}

/// Appends Token's printed form (its ToString) to Into. The tokens this tokenizer makes are
/// exactly TFuzzyStreamToken, which appends its text where it lies rather than through a copy.
void AppendPrintedForm(std::string& Into, const IFuzzyStreamToken& Token) {
    if (typeid(Token) == typeid(TFuzzyStreamToken))
        static_cast<const TFuzzyStreamToken&>(Token).AppendPrintedForm(Into);
    else
        Into += Token.ToString();
}

}  // namespace

TFuzzyLogicTokenStream::TFuzzyLogicTokenStream(std::string Text) : TGTextStream(std::move(Text)) {}

// ---- Characters and lines ---------------------------------------------------------------------

bool TFuzzyLogicTokenStream::SkipInLineSpaces() {
    const bool LineEnd = SkipBlanks(&FWhiteSpace);
    if (LineEnd) ++FLineNumber;
    return LineEnd;
}

std::string TFuzzyLogicTokenStream::GetLine() {
    std::string Line;
    const bool LineEnd = ReadLine(Line);
    FWhiteSpace += Line;
    if (LineEnd) {
        FWhiteSpace += "\r\n";
        ++FLineNumber;
    }
    return Line;
}

void TFuzzyLogicTokenStream::ReadEscaped(std::string& Into, int StringLine) {
    char C = '\0';
    if (!GetChar(C)) throw EFzyParseException(SUnbalancedString, StringLine);
    if (C == '\0') throw EFzyParseException(SFzyNulCharacter, FLineNumber);
    if (C == CR || C == LF) {
        CompleteLineEnd(C, Into);
        ++FLineNumber;
    } else {
        Into += C;
    }
}

// ---- Tokens -----------------------------------------------------------------------------------

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::BuildNextToken() {
    for (;;) {  // a loop, not recursion, over comments: a thousand comment lines stay one frame
        FText.clear();
        while (SkipInLineSpaces() && !IsEof()) {
        }
        char C = '\0';
        if (!GetChar(C)) return FinishToken(-1, FText);
        if (IsPunctuation(C)) {
            FText = C;
            return FinishToken(static_cast<unsigned char>(C), FText);
        }
        if (C == '"') {
            FText = ReadString(FText);
            return FinishToken('"', FText);
        }
        if (C == ';') {
            FWhiteSpace += C;
            GetLine();
            continue;
        }
        return BuildWord(C);
    }
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::BuildWord(char First) {
    FText = First;
    for (;;) {
        // The plain bytes of the word are taken in one piece; the byte after them, which
        // ends the word or escapes the next one, is read on its own.
        const std::string_view Rest = Unread();
        const std::size_t Plain = PlainWordLength(Rest, FEscapeChar);
        FText.append(Rest.data(), Plain);
        Consume(Plain);
        char C = '\0';
        if (!GetChar(C)) break;
        // White space and delimiters end the word and are read again: the line end after a
        // word is counted where line ends are counted, so the word keeps its own line.
        if (WordStops[static_cast<unsigned char>(C)]) {
            PutBack();
            return FinishToken(0, FText);
        }
        if (IsEof()) break;  // C is the escape character, with nothing left to escape
        ReadEscaped(FText, FLineNumber);
    }
    return FinishToken(-1, FText);
}

std::string TFuzzyLogicTokenStream::ReadString(const std::string& S) {
    std::string Result = S;
    const int OpeningLine = FLineNumber;
    char C = '\0';
    for (;;) {
        // The plain bytes of the string are taken in one piece; a line end, NUL, escape or
        // closing quote is read on its own.
        const std::string_view Rest = Unread();
        const std::size_t Plain = PlainStringLength(Rest, FEscapeChar, FQuoteChar);
        Result.append(Rest.data(), Plain);
        Consume(Plain);
        if (!GetChar(C)) break;
        if (C == CR || C == LF) {
            CompleteLineEnd(C, Result);
            ++FLineNumber;
        } else if (C == '\0') {
            throw EFzyParseException(SFzyNulCharacter, FLineNumber);
        } else if (C == FEscapeChar) {
            ReadEscaped(Result, OpeningLine);
        } else if (C == FQuoteChar) {
            return Result;
        } else {
            Result += C;
        }
    }
    throw EFzyParseException(SUnbalancedString, OpeningLine);
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::FinishToken(int TokenType, const std::string& Text) {
    if (TokenType == -1 && !Text.empty()) return FinishToken(0, Text);
    if (TokenType != -1 && TokenType != 0 && TokenType != '"' && !IsPunctuationKind(TokenType))
        throw EFzyParseException(Format(SInvalidBaseTokenHint, {IntToStr(TokenType)}), FLineNumber);
    // Held by its class, not its interface: the setters below need no dispatch.
    TIntfPtr<TFuzzyStreamToken> Token = MakeIntf<TFuzzyStreamToken>();
    Token->SetLineNumber(FLineNumber);
    if (TokenType == -1) {
        Token->SetDataType(fstNone);
        Token->SetText("EOF");
    } else if (TokenType == 0) {
        ClassifyWord(*Token, Text);
    } else {
        Token->SetDataType(TokenType == '"' ? fstString : TokenType);
        Token->SetText(Text);
    }
    // Emptied after every token: white space handed on would grow with the square of the text.
    Token->SetWhitespace(FWhiteSpace);
    FWhiteSpace.clear();
    return Token;
}

void TFuzzyLogicTokenStream::RewindEcho() {
    FEcho.clear();
    FEchoes.clear();
}

bool TFuzzyLogicTokenStream::PrepareSExp() {
    RewindEcho();
    // The construct goes onto the stack in text order and is then turned round, so that
    // its first token is on top.
    const std::size_t Below = FStack.size();
    try {
        int Depth = 0;
        do {
            FStack.push_back(BuildNextToken());
            const TIntfPtr<IFuzzyStreamToken>& Token = FStack.back();
            if (!Token) continue;  // nothing to count
            const int Kind = Token->GetDataType();
            if (Kind == fstNone) break;
            if (Kind == '(') {
                if (++Depth > MaxNestingDepth)
                    throw EFzyParseException(Format(SFzyNestingTooDeep, {MaxNestingDepth}),
                                             Token->GetLineNumber());
            } else if (Kind == ')' && Depth > 0) {
                --Depth;  // a ")" with nothing open is a construct of its own
            }
        } while (Depth != 0);
    } catch (...) {
        FStack.resize(Below);
        throw;
    }
    std::reverse(FStack.begin() + static_cast<std::ptrdiff_t>(Below), FStack.end());
    return true;
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::NextToken() {
    if (FStack.empty()) PrepareSExp();
    TIntfPtr<IFuzzyStreamToken> Token = std::move(FStack.back());
    FStack.pop_back();
    FEchoes.push_back({Token, FEcho.size(), FParenthesisLevel, FEchoLine});
    const int Line = Token->GetLineNumber();
    if (FEchoLine != 0 && FEchoLine < Line) FEcho += "\r\n";
    FEchoLine = Line;
    FCurrentToken = Token;
    AppendPrintedForm(FEcho, *Token);
    FEcho += ' ';
    const int Kind = Token->GetDataType();
    if (Kind == ')')
        FParenthesisLevel = std::max(FParenthesisLevel - 1, 0);
    else if (Kind == '(')
        ++FParenthesisLevel;
    return Token;
}

void TFuzzyLogicTokenStream::PutBackToken(const TIntfPtr<IFuzzyStreamToken>& Token) {
    if (!Token) return;  // nothing to hand out again
    FStack.push_back(Token);
    FCurrentToken = Token;
    if (!FEchoes.empty() && FEchoes.back().Token == Token) {
        // The token handed out last: everything its hand-out changed goes back.
        const TEcho& Echo = FEchoes.back();
        FEcho.resize(Echo.Length);
        FParenthesisLevel = Echo.Level;
        FEchoLine = Echo.Line;
        FEchoes.pop_back();
        return;
    }
    // Any other token: its printed form and the blank after it are taken off the end.
    const std::size_t Cut = Token->ToString().size() + 1;
    std::size_t Keep = FEcho.size() > Cut ? FEcho.size() - Cut : 0;
    while (Keep > 0 && FEcho[Keep - 1] == ' ') --Keep;
    FEcho.resize(Keep);
    FEcho += ' ';
    FEchoes.clear();
    if (IsKind(Token, ')'))
        ++FParenthesisLevel;
    else if (IsKind(Token, '('))
        FParenthesisLevel = std::max(FParenthesisLevel - 1, 0);
}

std::string TFuzzyLogicTokenStream::Head() {
    const TIntfPtr<IFuzzyStreamToken> Token = NextToken();
    if (!IsKind(Token, '(') || FStack.empty()) return {};
    const TIntfPtr<IFuzzyStreamToken> Next = FStack.back();
    PutBackToken(Token);
    if (IsKind(Next, fstAtom)) return Next->GetText().empty() ? Next->ToString() : Next->GetText();
    if (IsKind(Next, '=')) return "=";
    return {};
}

void TFuzzyLogicTokenStream::Clear() {
    FStack.clear();
    RewindEcho();
}

void TFuzzyLogicTokenStream::DiscardUntilEOL() { GetLine(); }

void TFuzzyLogicTokenStream::MoveToNextConstruct() {
    while (FParenthesisLevel != 0)
        if (IsKind(NextToken(), fstNone)) break;
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::GetCurrentToken() {
    if (!FCurrentToken) NextToken();
    return FCurrentToken;
}

}  // namespace fzl
