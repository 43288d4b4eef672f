#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <iterator>
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

/// Byte classes for the short way of reading a token: white space (one of three) and the
/// bytes that end a plain run of a word or of a string.
constexpr unsigned char ClassBlank = 1;  // a blank or control character, not a line end
constexpr unsigned char ClassLineEnd = 2;
constexpr unsigned char ClassNul = 3;
constexpr unsigned char ClassSpace = 3;  // the mask of the three above
constexpr unsigned char ClassWordStop = 4;
constexpr unsigned char ClassStringStop = 8;

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

/// The length of Text's leading white space as the tokenizer skips it before a token
/// (blanks, control characters and line ends, CR LF as one), counting the line ends in Lines.
std::size_t SpaceLength(std::string_view Text, int& Lines) noexcept {
    std::size_t Length = 0;
    for (;;) {
        while (Length < Text.size() && static_cast<unsigned char>(Text[Length]) <= ' ' &&
               Text[Length] != CR && Text[Length] != LF)
            ++Length;
        if (Length == Text.size() || (Text[Length] != CR && Text[Length] != LF)) return Length;
        Length += Text[Length] == CR && Length + 1 < Text.size() && Text[Length + 1] == LF ? 2 : 1;
        ++Lines;
        if (Length == Text.size()) return Length;
    }
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

/// Makes Lexeme (an atom of text Word) a number when Word reads as one.
[[gnu::noinline]] void ClassifyNumber(TLexeme& Lexeme, std::string_view Word) {
    double Value = 0;
    const TNumberKind Kind = ReadNumber(Word, Value);
    if (Kind == TNumberKind::None) return;
    Lexeme.Kind = Kind == TNumberKind::Integer ? fstInteger : fstFloat;
    Lexeme.Text = {};
    Lexeme.Number = Value;
}

/// Gives Lexeme the kind, text and value of Word (not empty). Inline: most words are
/// atoms, settled by a look at the first byte.
inline void ClassifyWord(TLexeme& Lexeme, std::string_view Word) {
    if (Word[0] == '?') {
        Lexeme.Kind = fstVariable;
        Lexeme.Text = Word.substr(1);
        return;
    }
    Lexeme.Kind = fstAtom;
    Lexeme.Text = Word;
    if (Word.size() == 1 && IsNumberSymbol(Word[0])) return;  // a lone sign, point or exponent mark
    if (IsNumberChar(Word[0])) ClassifyNumber(Lexeme, Word);
}

bool IsKind(const TIntfPtr<IFuzzyStreamToken>& Token, int Kind) {
    return Token && Token->GetDataType() == Kind;
}

/// Appends Token's printed form (its ToString) to Into. The tokens this tokenizer makes are
/// exactly TFuzzyStreamToken, which appends its text where it lies rather than through a copy.
void AppendObjectForm(std::string& Into, const IFuzzyStreamToken& Token) {
    if (typeid(Token) == typeid(TFuzzyStreamToken))
        static_cast<const TFuzzyStreamToken&>(Token).AppendPrintedForm(Into);
    else
        Into += Token.ToString();
}

/// A lexeme for a token object as a descendant tokenizer builds it: what the read-ahead needs.
TLexeme ObjectLexeme(TIntfPtr<IFuzzyStreamToken> Token) {
    TLexeme Lexeme;
    if (Token) {
        Lexeme.Kind = Token->GetDataType();
        Lexeme.Line = Token->GetLineNumber();
    }
    Lexeme.Object = std::move(Token);
    return Lexeme;
}

}  // namespace

TFuzzyLogicTokenStream::TFuzzyLogicTokenStream(std::string Text) : TGTextStream(std::move(Text)) {
    FSpaceStart = GetPosition();
    TakeSpareBuffers();
}

TFuzzyLogicTokenStream::~TFuzzyLogicTokenStream() { ReturnBuffers(); }

namespace {

/// Set once this thread's spare buffers are gone (a flag with no destructor stays readable
/// to the end of the thread): a tokenizer that goes later keeps its buffers to itself.
thread_local bool SpareGone = false;

/// The read-ahead buffers of tokenizers gone on this thread (emptied, their room kept), for
/// the next ones: a parse per text would otherwise grow them anew to its largest construct.
template <class TLexemes, class TEchoes>
struct TSpareBuffers {
    std::vector<TLexemes> Ahead;
    std::vector<TEchoes> Echoes;
    TSpareBuffers() = default;
    TSpareBuffers(const TSpareBuffers&) = delete;
    TSpareBuffers& operator=(const TSpareBuffers&) = delete;
    ~TSpareBuffers() { SpareGone = true; }
};

template <class TLexemes, class TEchoes>
TSpareBuffers<TLexemes, TEchoes>* SpareBuffers() noexcept {
    if (SpareGone) return nullptr;
    thread_local TSpareBuffers<TLexemes, TEchoes> Spare;
    return &Spare;
}

/// Buffers this large are not kept: one huge text does not hold its room for the thread's life.
constexpr std::size_t MaxSpareLexemes = 1 << 14;

}  // namespace

void TFuzzyLogicTokenStream::TakeSpareBuffers() noexcept {
    auto* Spare = SpareBuffers<std::vector<TLexeme>, std::vector<TEcho>>();
    if (Spare == nullptr) return;
    if (!Spare->Ahead.empty()) {
        FAhead.swap(Spare->Ahead.back());
        Spare->Ahead.pop_back();
    }
    if (!Spare->Echoes.empty()) {
        FEchoes.swap(Spare->Echoes.back());
        Spare->Echoes.pop_back();
    }
}

void TFuzzyLogicTokenStream::ReturnBuffers() noexcept {
    auto* Spare = SpareBuffers<std::vector<TLexeme>, std::vector<TEcho>>();
    if (Spare == nullptr) return;
    try {
        if (FAhead.capacity() > 0 && FAhead.capacity() <= MaxSpareLexemes) {
            FAhead.clear();
            Spare->Ahead.push_back(std::move(FAhead));
        }
        if (FEchoes.capacity() > 0 && FEchoes.capacity() <= MaxSpareLexemes) {
            FEchoes.clear();
            Spare->Echoes.push_back(std::move(FEchoes));
        }
    } catch (...) {
        // No room to keep them: they go with the tokenizer.
    }
}

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

bool TFuzzyLogicTokenStream::IsPlain() const noexcept {
    // A descendant may build or hand out tokens its own way: it is read through its overrides.
    // Asked for every token, and the class does not change once constructed: told once.
    if (FPlain < 0) FPlain = typeid(*this) == typeid(TFuzzyLogicTokenStream) ? 1 : 0;
    return FPlain != 0;
}

TFuzzyLogicTokenStream::TScanned TFuzzyLogicTokenStream::Scan(bool Skipped) {
    for (;;
         Skipped = false) {  // a loop, not recursion, over comments: a thousand comment lines stay one frame
        if (!Skipped)
            while (SkipInLineSpaces() && !IsEof()) {
            }
        char C = '\0';
        if (!GetChar(C)) return {-1, {}};
        if (IsPunctuation(C)) return {static_cast<unsigned char>(C), Input().substr(GetPosition() - 1, 1)};
        if (C == '"') return ScanString();
        if (C == ';') {
            FWhiteSpace += C;
            GetLine();
            continue;
        }
        return ScanWord();  // C starts it
    }
}

TFuzzyLogicTokenStream::TScanned TFuzzyLogicTokenStream::ScanWord() {
    // A word without escapes is a run of the input (from the byte just read) and is viewed
    // there; from the first escape on it is spelled in FText.
    const std::size_t Start = GetPosition() - 1;
    std::string_view Rest = Unread();
    std::size_t Plain = PlainWordLength(Rest, FEscapeChar);
    Consume(Plain);
    char C = '\0';
    if (!GetChar(C)) return {-1, Input().substr(Start, Plain + 1)};
    // White space and delimiters end the word and are read again: the line end after a
    // word is counted where line ends are counted, so the word keeps its own line.
    if (WordStops[static_cast<unsigned char>(C)]) {
        PutBack();
        return {0, Input().substr(Start, Plain + 1)};
    }
    FText.assign(Input().substr(Start, Plain + 1));
    for (;;) {
        if (IsEof()) break;  // C is the escape character, with nothing left to escape
        ReadEscaped(FText, FLineNumber);
        Rest = Unread();
        Plain = PlainWordLength(Rest, FEscapeChar);
        FText.append(Rest.data(), Plain);
        Consume(Plain);
        if (!GetChar(C)) break;
        if (WordStops[static_cast<unsigned char>(C)]) {
            PutBack();
            return {0, FText};
        }
    }
    return {-1, FText};
}

TFuzzyLogicTokenStream::TScanned TFuzzyLogicTokenStream::ScanString() {
    // A string of plain bytes up to its closing quote is viewed in the input.
    const std::string_view Rest = Unread();
    const std::size_t Plain = PlainStringLength(Rest, FEscapeChar, FQuoteChar);
    const bool Closes =
        FQuoteChar != CR && FQuoteChar != LF && FQuoteChar != '\0' && FQuoteChar != FEscapeChar;
    if (Closes && Plain < Rest.size() && Rest[Plain] == FQuoteChar) {
        Consume(Plain);
        char Quote = '\0';
        (void)GetChar(Quote);
        return {'"', Rest.substr(0, Plain)};
    }
    FText = ReadString(std::string());
    return {'"', FText};
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::BuildNextToken() {
    const TScanned Scanned = Scan(false);
    if (Scanned.Text.data() != FText.data()) FText.assign(Scanned.Text);
    return FinishToken(Scanned.Type, FText);
}

void TFuzzyLogicTokenStream::RefreshClasses() {
    const unsigned Key =
        static_cast<unsigned char>(FEscapeChar) << 8 | static_cast<unsigned char>(FQuoteChar);
    if (Key == FClassesFor) return;
    FClassesFor = Key;
    for (std::size_t Byte = 0; Byte < 256; ++Byte) {
        const char C = static_cast<char>(Byte);
        unsigned char Class = Byte <= ' ' ? ClassBlank : 0;
        if (C == CR || C == LF) Class = ClassLineEnd;
        if (C == '\0') Class = ClassNul;
        if (WordStops[Byte] || C == FEscapeChar) Class |= ClassWordStop;
        if (C == CR || C == LF || C == '\0' || C == FEscapeChar || C == FQuoteChar) Class |= ClassStringStop;
        FClasses[Byte] = Class;
    }
    FQuoteCloses = FQuoteChar != CR && FQuoteChar != LF && FQuoteChar != '\0' && FQuoteChar != FEscapeChar;
}

bool TFuzzyLogicTokenStream::BuildSimpleLexeme(TLexeme& Lexeme) {
    // The bytes are classified by one look-up each, and the NUL that ends the text (Rest
    // views the held string up to its end) stops every run without a bounds check.
    const std::string_view Rest = Unread();
    const char* const Bytes = Rest.data();
    const std::size_t Size = Rest.size();
    const auto ClassOf = [this, Bytes](std::size_t Index) {
        return FClasses[static_cast<unsigned char>(Bytes[Index])];
    };
    // The white space before the token, as SpaceLength measures it.
    std::size_t Start = 0;
    int Line = FLineNumber;
    for (;;) {
        unsigned char Class = 0;
        while ((Class = ClassOf(Start) & ClassSpace) == ClassBlank) ++Start;
        if (Class == ClassNul) {
            if (Start == Size) return false;  // the end of the text
            ++Start;
        } else if (Class == ClassLineEnd) {
            Start += Bytes[Start] == CR && Bytes[Start + 1] == LF ? 2 : 1;
            ++Line;
        } else {
            break;
        }
    }
    const char C = Bytes[Start];
    std::size_t End = Start + 1;
    bool Word = false;
    if (IsPunctuation(C)) {
        Lexeme.Kind = static_cast<unsigned char>(C);
        Lexeme.Text = Rest.substr(Start, 1);
    } else if (C == '"') {
        while ((ClassOf(End) & ClassStringStop) == 0) ++End;
        if (End == Size || Bytes[End] != FQuoteChar || !FQuoteCloses) return false;
        Lexeme.Kind = fstString;
        Lexeme.Text = Rest.substr(Start + 1, End - Start - 1);
        ++End;
    } else if (C != ';') {
        while ((ClassOf(End) & ClassWordStop) == 0) ++End;
        if (End != Size && !WordStops[static_cast<unsigned char>(Bytes[End])]) return false;  // an escape
        ClassifyWord(Lexeme, Rest.substr(Start, End - Start));
        Word = true;
    } else {
        return false;  // a comment
    }
    // The reader is left as Scan leaves it: a punctuation character or a closing quote can
    // be put back; a word's end was read and put back, which leaves nothing to put back.
    if (Word) {
        Consume(End);
    } else {
        Consume(End - 1);
        char Last = '\0';
        (void)GetChar(Last);
    }
    FLineNumber = Line;
    Lexeme.Line = Line;
    Lexeme.Serial = ++FSerial;
    Lexeme.Whitespace = Rest.substr(0, Start);
    FSpaceStart = GetPosition();
    return true;
}

void TFuzzyLogicTokenStream::BuildLexeme(TLexeme& Lexeme) {
    // White space of blanks and line ends alone is viewed in the input where it lies, not
    // collected; a comment (or white space collected already) takes the collecting way.
    std::string_view Space;
    bool Viewed = false;
    if (FWhiteSpace.empty()) {
        const std::string_view Rest = Unread();
        Space = Rest.substr(0, SpaceLength(Rest, FLineNumber));
        Consume(Space.size());
        Viewed = !NextIs(';');
        if (!Viewed) FWhiteSpace.assign(Space);
    }
    TScanned Scanned = Scan(FWhiteSpace.empty());
    if (!Scanned.Text.empty() && Scanned.Text.data() == FText.data()) Scanned.Text = Keep(Scanned.Text);
    FinishLexeme(Lexeme, Scanned.Type, Scanned.Text);
    if (Viewed) Lexeme.Whitespace = Space;
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

std::string_view TFuzzyLogicTokenStream::Keep(std::string_view Text) { return FKept.emplace_front(Text); }

std::string_view TFuzzyLogicTokenStream::TakeWhitespace() {
    // The white space is most often the very bytes of the input before the token (comments
    // change line ends to CR LF): then it is viewed there.
    std::string_view Space;
    if (!FWhiteSpace.empty()) {
        const std::string_view Text = Input();
        Space = Text.substr(std::min(FSpaceStart, Text.size()), FWhiteSpace.size());
        if (Space != FWhiteSpace) Space = Keep(FWhiteSpace);
        // Emptied after every token: white space handed on would grow with the square of the text.
        FWhiteSpace.clear();
    }
    FSpaceStart = GetPosition();
    return Space;
}

void TFuzzyLogicTokenStream::FinishLexeme(TLexeme& Lexeme, int TokenType, std::string_view Text) {
    if (TokenType == -1 && !Text.empty()) TokenType = 0;
    Lexeme.Line = FLineNumber;
    Lexeme.Serial = ++FSerial;
    if (TokenType == -1) {
        Lexeme.Kind = fstNone;
        Lexeme.Text = "EOF";
    } else if (TokenType == 0) {
        ClassifyWord(Lexeme, Text);
    } else {
        Lexeme.Kind = TokenType == '"' ? fstString : TokenType;
        Lexeme.Text = Text;
    }
    Lexeme.Whitespace = TakeWhitespace();
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::FinishToken(int TokenType, const std::string& Text) {
    if (TokenType == -1 && !Text.empty()) return FinishToken(0, Text);
    if (TokenType != -1 && TokenType != 0 && TokenType != '"' && !IsPunctuationKind(TokenType))
        throw EFzyParseException(Format(SInvalidBaseTokenHint, {IntToStr(TokenType)}), FLineNumber);
    TLexeme Lexeme;
    FinishLexeme(Lexeme, TokenType, Text);
    return TokenOf(Lexeme);
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::TokenOf(const TLexeme& Lexeme) {
    if (Lexeme.Object) return Lexeme.Object;
    // Held by its class, not its interface: the setters below need no dispatch.
    TIntfPtr<TFuzzyStreamToken> Token = MakeIntf<TFuzzyStreamToken>();
    Token->SetLineNumber(Lexeme.Line);
    Token->SetDataType(Lexeme.Kind);
    Token->SetNumber(Lexeme.Number);
    Token->SetText(std::string(Lexeme.Text));
    Token->SetWhitespace(std::string(Lexeme.Whitespace));
    return Token;
}

TLexeme TFuzzyLogicTokenStream::LexemeOf(const TIntfPtr<IFuzzyStreamToken>& Token,
                                         std::forward_list<std::string>& Texts) {
    TLexeme Lexeme;
    if (!Token) {
        Lexeme.Kind = -1;
        return Lexeme;
    }
    Lexeme.Kind = Token->GetDataType();
    Lexeme.Line = Token->GetLineNumber();
    Lexeme.Number = Token->GetNumber();
    Lexeme.Text = Texts.emplace_front(Token->GetText());
    Lexeme.Object = Token;
    return Lexeme;
}

void TFuzzyLogicTokenStream::AppendPrintedForm(std::string& Into, const TLexeme& Lexeme) {
    if (Lexeme.Object)
        AppendObjectForm(Into, *Lexeme.Object);
    else if (Lexeme.Kind == fstInteger || Lexeme.Kind == fstFloat)
        Into += NumberTokenText(Lexeme.Kind, Lexeme.Number);
    else
        Into += Lexeme.Text;
}

std::string TFuzzyLogicTokenStream::PrintedForm(const TLexeme& Lexeme) {
    std::string Text;
    AppendPrintedForm(Text, Lexeme);
    return Text;
}

void TFuzzyLogicTokenStream::RewindEcho() {
    FEcho.clear();
    FEchoes.clear();
    FEchoed = 0;
}

void TFuzzyLogicTokenStream::AppendEcho(std::string& Into, const TEcho& Echo) {
    if (Echo.Break) Into += "\r\n";
    if (Echo.Kind == fstInteger || Echo.Kind == fstFloat)
        Into += NumberTokenText(Echo.Kind, Echo.Number);
    else
        Into += Echo.Text;
    Into += ' ';
}

void TFuzzyLogicTokenStream::WriteEcho() {
    for (; FEchoed < FEchoes.size(); ++FEchoed) {
        TEcho& Echo = FEchoes[FEchoed];
        Echo.Length = FEcho.size();
        AppendEcho(FEcho, Echo);
    }
}

std::string TFuzzyLogicTokenStream::ToString() const {
    std::string Echo = FEcho;
    for (std::size_t Index = FEchoed; Index < FEchoes.size(); ++Index) AppendEcho(Echo, FEchoes[Index]);
    return Echo;
}

void TFuzzyLogicTokenStream::ReadConstruct(std::vector<TLexeme>& Into) {
    const bool Plain = IsPlain();
    if (Plain) RefreshClasses();
    int Depth = 0;
    do {
        if (Plain) {
            // Built in place (a lexeme is not small). Most tokens are a punctuation character,
            // a word without escapes or a string without escapes or line ends, after white
            // space without comments: they take the short way.
            TLexeme& Token = Into.emplace_back();
            if (!FWhiteSpace.empty() || !BuildSimpleLexeme(Token)) BuildLexeme(Token);
        } else {
            Into.push_back(ObjectLexeme(BuildNextToken()));
            Into.back().Serial = ++FSerial;
        }
        const TLexeme& Token = Into.back();
        const int Kind = Token.Kind;
        if (Kind == fstNone) break;
        if (Kind == '(') {
            if (++Depth > MaxNestingDepth)
                throw EFzyParseException(Format(SFzyNestingTooDeep, {MaxNestingDepth}), Token.Line);
        } else if (Kind == ')' && Depth > 0) {
            --Depth;  // a ")" with nothing open is a construct of its own
        }
    } while (Depth != 0);
}

bool TFuzzyLogicTokenStream::PrepareSExp() {
    RewindEcho();
    if (!HasAhead()) {
        // Nothing is pending (the usual case): the construct takes the buffer over.
        FAhead.clear();
        FNext = 0;
        try {
            ReadConstruct(FAhead);
        } catch (...) {
            FAhead.clear();
            throw;
        }
        // A record for each token handed out: room for the whole construct, at once.
        FEchoes.reserve(FAhead.size());
        return true;
    }
    // Tokens are pending: the construct comes before them.
    std::vector<TLexeme> Construct;
    ReadConstruct(Construct);
    FAhead.erase(FAhead.begin(), FAhead.begin() + static_cast<std::ptrdiff_t>(FNext));
    FAhead.insert(FAhead.begin(), std::make_move_iterator(Construct.begin()),
                  std::make_move_iterator(Construct.end()));
    FNext = 0;
    return true;
}

void TFuzzyLogicTokenStream::TakeNext() {
    if (!HasAhead()) PrepareSExp();
    FCurrent = std::move(FAhead[FNext++]);
    FHasCurrent = true;
    if (FCurrent.Object) {
        TakeObject();
        return;
    }
    // The echo is written when someone reads it: a hand-out only records what it shows.
    // The record is filled in place: a temporary would cost a copy and a release.
    const int Line = FCurrent.Line;
    TEcho& Echo = FEchoes.emplace_back();
    Echo.Serial = FCurrent.Serial;
    Echo.Length = FEcho.size();
    Echo.Level = FParenthesisLevel;
    Echo.Line = FEchoLine;
    Echo.Break = FEchoLine != 0 && FEchoLine < Line;
    Echo.Kind = FCurrent.Kind;
    Echo.Number = FCurrent.Number;
    Echo.Text = FCurrent.Text;
    FEchoLine = Line;
    if (FCurrent.Kind == ')')
        FParenthesisLevel = std::max(FParenthesisLevel - 1, 0);
    else if (FCurrent.Kind == '(')
        ++FParenthesisLevel;
}

void TFuzzyLogicTokenStream::TakeObject() {
    // Handed in: read as it is now, and its printed form of now is written at once, after
    // those before it.
    FCurrent.Kind = FCurrent.Object->GetDataType();
    FCurrent.Line = FCurrent.Object->GetLineNumber();
    const int Line = FCurrent.Line;
    const bool Break = FEchoLine != 0 && FEchoLine < Line;
    WriteEcho();
    FEchoes.push_back({FCurrent.Serial, FCurrent.Object, FEcho.size(), FParenthesisLevel, FEchoLine, Break,
                       FCurrent.Kind, FCurrent.Number, FCurrent.Text});
    FEchoLine = Line;
    if (Break) FEcho += "\r\n";
    AppendObjectForm(FEcho, *FCurrent.Object);
    FEcho += ' ';
    FEchoed = FEchoes.size();
    if (FCurrent.Kind == ')')
        FParenthesisLevel = std::max(FParenthesisLevel - 1, 0);
    else if (FCurrent.Kind == '(')
        ++FParenthesisLevel;
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::NextToken() {
    TakeNext();
    if (!FCurrent.Object) {
        FCurrent.Object = TokenOf(FCurrent);
        FEchoes.back().Token = FCurrent.Object;
    }
    return FCurrent.Object;
}

TLexeme TFuzzyLogicTokenStream::NextLexeme() {
    if (!IsPlain()) return LexemeOf(NextToken(), FKept);
    return TakeLexeme();
}

const TLexeme& TFuzzyLogicTokenStream::TakeLexeme() {
    if (!IsPlain()) {
        FTaken = LexemeOf(NextToken(), FKept);
        return FTaken;
    }
    TakeNext();
    if (FCurrent.Object) {
        FCurrent.Number = FCurrent.Object->GetNumber();
        FCurrent.Text = Keep(FCurrent.Object->GetText());
    }
    return FCurrent;
}

void TFuzzyLogicTokenStream::Restack(TLexeme Lexeme, bool Exact) {
    if (FNext == 0) {
        // More put back than read ahead: room is made in front a block at a time, so that a
        // long run of put-backs stays linear.
        const std::size_t Room = std::max<std::size_t>(FAhead.size(), 16);
        FAhead.insert(FAhead.begin(), Room, TLexeme{});
        FNext = Room;
    }
    FAhead[--FNext] = std::move(Lexeme);
    FCurrent = FAhead[FNext];
    FHasCurrent = true;
    if (Exact) {
        // The token handed out last: everything its hand-out changed goes back.
        const TEcho& Echo = FEchoes.back();
        if (FEchoed == FEchoes.size()) {
            FEcho.resize(Echo.Length);
            --FEchoed;
        }
        FParenthesisLevel = Echo.Level;
        FEchoLine = Echo.Line;
        FEchoes.pop_back();
        return;
    }
    // Any other token: its printed form and the blank after it are taken off the end.
    WriteEcho();
    const TLexeme& Token = FAhead[FNext];
    const std::size_t Cut = PrintedForm(Token).size() + 1;
    std::size_t Keep = FEcho.size() > Cut ? FEcho.size() - Cut : 0;
    while (Keep > 0 && FEcho[Keep - 1] == ' ') --Keep;
    FEcho.resize(Keep);
    FEcho += ' ';
    FEchoes.clear();
    FEchoed = 0;
    const int Kind = Token.Object ? Token.Object->GetDataType() : Token.Kind;
    if (Kind == ')')
        ++FParenthesisLevel;
    else if (Kind == '(')
        FParenthesisLevel = std::max(FParenthesisLevel - 1, 0);
}

void TFuzzyLogicTokenStream::PutBackToken(const TIntfPtr<IFuzzyStreamToken>& Token) {
    if (!Token) return;  // nothing to hand out again
    const bool Exact = !FEchoes.empty() && FEchoes.back().Token == Token;
    TLexeme Lexeme;
    if (FCurrent.Object == Token) {
        Lexeme = FCurrent;
    } else {
        Lexeme = ObjectLexeme(Token);
        Lexeme.Serial = ++FSerial;
    }
    Restack(std::move(Lexeme), Exact);
}

void TFuzzyLogicTokenStream::PutBackLexeme(TLexeme Lexeme) {
    if (!IsPlain() || Lexeme.Object) {
        PutBackToken(Lexeme.Object);
        return;
    }
    const bool Exact = !FEchoes.empty() && FEchoes.back().Serial == Lexeme.Serial;
    // Its object, if someone asked for it meanwhile, is handed out again with it.
    if (Exact && FEchoes.back().Token) Lexeme.Object = FEchoes.back().Token;
    Restack(std::move(Lexeme), Exact);
}

const TLexeme* TFuzzyLogicTokenStream::PeekLexeme() {
    if (!IsPlain()) return nullptr;
    if (!HasAhead()) PrepareSExp();
    if (FAhead[FNext].Object) {
        // Handed in or asked for as an object: the object's hand-out writes the echo.
        const TLexeme Token = NextLexeme();
        PutBackLexeme(Token);
        return &FCurrent;
    }
    // Handing out a value and putting it straight back leaves only the current token changed.
    FCurrent = FAhead[FNext];
    FHasCurrent = true;
    return &FCurrent;
}

const TIntfPtr<IFuzzyStreamToken>& TFuzzyLogicTokenStream::PeekCurrentToken() const {
    if (FHasCurrent && !FCurrent.Object) {
        FCurrent.Object = TokenOf(FCurrent);
        // The records of the same hand-out get the object: handed out again or put back, it
        // is the same object.
        if (!FEchoes.empty() && FEchoes.back().Serial == FCurrent.Serial && !FEchoes.back().Token)
            FEchoes.back().Token = FCurrent.Object;
        if (HasAhead() && FAhead[FNext].Serial == FCurrent.Serial && !FAhead[FNext].Object)
            FAhead[FNext].Object = FCurrent.Object;
    }
    return FCurrent.Object;
}

int TFuzzyLogicTokenStream::CurrentLine() const {
    if (!FHasCurrent) return 0;
    return FCurrent.Object ? FCurrent.Object->GetLineNumber() : FCurrent.Line;
}

std::string TFuzzyLogicTokenStream::Head() {
    const TIntfPtr<IFuzzyStreamToken> Token = NextToken();
    if (!IsKind(Token, '(') || !HasAhead()) return {};
    const TLexeme Next = FAhead[FNext];
    PutBackToken(Token);
    if (const TIntfPtr<IFuzzyStreamToken>& Object = Next.Object) {
        if (IsKind(Object, fstAtom))
            return Object->GetText().empty() ? Object->ToString() : Object->GetText();
        if (IsKind(Object, '=')) return "=";
        return {};
    }
    if (Next.Kind == fstAtom) return Next.Text.empty() ? PrintedForm(Next) : std::string(Next.Text);
    if (Next.Kind == '=') return "=";
    return {};
}

void TFuzzyLogicTokenStream::Clear() {
    FAhead.clear();
    FNext = 0;
    RewindEcho();
}

void TFuzzyLogicTokenStream::DiscardUntilEOL() { GetLine(); }

void TFuzzyLogicTokenStream::MoveToNextConstruct() {
    while (FParenthesisLevel != 0)
        if (IsKind(NextToken(), fstNone)) break;
}

TIntfPtr<IFuzzyStreamToken> TFuzzyLogicTokenStream::GetCurrentToken() {
    if (!FHasCurrent) NextToken();
    return PeekCurrentToken();
}

}  // namespace fzl
