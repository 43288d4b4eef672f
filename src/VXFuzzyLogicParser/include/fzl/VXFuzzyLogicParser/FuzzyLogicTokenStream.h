#pragma once
// TFuzzyLogicTokenStream: the tokenizer of the definition and expression language.

#include <array>
#include <cstddef>
#include <cstdint>
#include <forward_list>
#include <string>
#include <string_view>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/support/TextStream.h>

namespace fzl {

/// A token as the parser reads it: a value, so that reading one costs no object and no
/// counted reference. Text and Whitespace view the tokenizer's input or text the tokenizer
/// keeps; they stay valid as long as the tokenizer that made the lexeme.
struct TLexeme {
    int Kind = fstNone;  ///< a TFuzzyStreamTokenType or a punctuation character's code
    int Line = 0;
    double Number = 0;
    std::string_view Text;
    std::string_view Whitespace;
    /// Tells hand-outs apart, as the identity of a token object does: the lexeme handed out
    /// last, put back, restores the echo exactly.
    std::uint64_t Serial = 0;
    /// The token object this lexeme stands for, when a public call made one or handed one in.
    /// The object is then the truth: the lexeme's fields are read from it.
    TIntfPtr<IFuzzyStreamToken> Object;
    /// A "(" group read by the parser (kind fstList): the Span lexemes after it are its
    /// contents, nested groups included.
    bool Group = false;
    int Span = 0;
};

/// Turns language text into tokens (TFuzzyStreamToken): words, strings, numbers,
/// variables and one-character punctuation, each with the line it stands on. It reads
/// one whole parenthesised construct ahead, lets the parser put tokens back, and keeps
/// an echo of the tokens handed out in the current construct for error messages. The
/// parser reads the tokens as values (NextLexeme); token objects are made only for the
/// calls that return them.
/// Created per parse (Make<TFuzzyLogicTokenStream>(Text)); not reused after it raised.
class TFuzzyLogicTokenStream : public TGTextStream {
public:
    /// Deepest nesting of parentheses a construct may reach; deeper raises a parse error.
    static constexpr int MaxNestingDepth = 256;

    /// A tokenizer over Text (UTF-8, held by value; a leading byte-order mark is skipped).
    explicit TFuzzyLogicTokenStream(std::string Text);

    // ---- Characters and lines ------------------------------------------------------------
    /// Skips blanks and control characters (NUL included) up to and including one line
    /// end, collecting them as white space; true, and one more line, when a line end was read.
    bool SkipInLineSpaces() override;
    /// The rest of the line, collected as white space; a line more only when a line end
    /// was there to read.
    std::string GetLine() override;

    // ---- Tokens ------------------------------------------------------------------------------
    /// Reads the next token from the text (comments and white space are collected, not returned).
    virtual TIntfPtr<IFuzzyStreamToken> BuildNextToken();
    /// Makes the token of a kind hint: -1 end of input (a pending word first), 0 a word
    /// (classified), 34 a string, or a punctuation character's code. Other hints raise.
    virtual TIntfPtr<IFuzzyStreamToken> FinishToken(int TokenType, const std::string& Text);
    /// Drops the tokens read ahead and the echo.
    virtual void Clear();
    /// Skips the rest of the current line.
    virtual void DiscardUntilEOL();
    /// Takes tokens until the parenthesis level is back at 0 (or the text ends).
    virtual void MoveToNextConstruct();
    /// Hands out the next token, reading the next construct ahead when none is left. After
    /// the end of the text every call gives another end token (kind fstNone, text "EOF").
    virtual TIntfPtr<IFuzzyStreamToken> NextToken();
    /// Returns Token to the input: the next NextToken gives it again. The echo and the
    /// parenthesis level go back to what they were before Token was handed out.
    virtual void PutBackToken(const TIntfPtr<IFuzzyStreamToken>& Token);
    /// For "(" followed by a word: that word ("=" for "="), with the "(" put back; otherwise
    /// "" (the token taken stays taken).
    virtual std::string Head();

    /// Reads a string after its opening quote, appending it to S (escapes resolved).
    std::string ReadString(const std::string& S);
    /// Reads the next construct ahead, before any tokens still to come, and starts a new echo.
    bool PrepareSExp();
    /// The token handed out (or put back) last; reads the first one when there is none yet.
    TIntfPtr<IFuzzyStreamToken> GetCurrentToken();
    /// The token handed out (or put back) last, or nil before the first; reads nothing. For
    /// a token the parser read as a lexeme, the object is made on the first request (so this
    /// may allocate).
    [[nodiscard]] const TIntfPtr<IFuzzyStreamToken>& PeekCurrentToken() const;

    // ---- Lexemes: the parser's form of NextToken and PutBackToken --------------------------
    /// NextToken as a value: the echo, the level and the current token change alike, but no
    /// token object is made. A descendant tokenizer is read through its NextToken.
    TLexeme NextLexeme();
    /// NextLexeme without a copy: the lexeme is valid until the next call on the tokenizer.
    const TLexeme& TakeLexeme();
    /// PutBackToken for a lexeme of this tokenizer (one standing for an object goes back as
    /// that object).
    void PutBackLexeme(TLexeme Lexeme);
    /// NextLexeme followed by PutBackLexeme of what it gave, in one step: the echo, the level
    /// and the current token end as they would. nullptr (and nothing done) for a descendant
    /// tokenizer, whose NextToken and PutBackToken have to see the two calls. The lexeme is
    /// valid until the next call on the tokenizer.
    const TLexeme* PeekLexeme();
    /// The lexeme the next NextLexeme gives, when it is read ahead as a value by this very
    /// class; nullptr otherwise. Changes nothing.
    [[nodiscard]] const TLexeme* Ahead() const noexcept {
        // Asked for every token of a group, so inline. Lexemes are read ahead only once the
        // first read has told the class (FPlain).
        return FPlain == 1 && HasAhead() && !FAhead[FNext].Object ? &FAhead[FNext] : nullptr;
    }
    /// The line of the current token, 0 before the first.
    [[nodiscard]] int CurrentLine() const;
    /// A new token object with Lexeme's values (its own object when it has one; a group's
    /// contents are not included).
    [[nodiscard]] static TIntfPtr<IFuzzyStreamToken> TokenOf(const TLexeme& Lexeme);
    /// A lexeme standing for Token, its text kept in Texts (nil gives a lexeme of kind -1).
    [[nodiscard]] static TLexeme LexemeOf(const TIntfPtr<IFuzzyStreamToken>& Token,
                                          std::forward_list<std::string>& Texts);
    /// The same, its text kept by this tokenizer.
    [[nodiscard]] TLexeme LexemeOf(const TIntfPtr<IFuzzyStreamToken>& Token) {
        return LexemeOf(Token, FKept);
    }
    /// Appends what TokenOf(Lexeme)->ToString() gives to Into (not for groups).
    static void AppendPrintedForm(std::string& Into, const TLexeme& Lexeme);
    [[nodiscard]] static std::string PrintedForm(const TLexeme& Lexeme);

    // ---- Properties --------------------------------------------------------------------------
    [[nodiscard]] int GetLineNumber() const noexcept { return FLineNumber; }
    void SetLineNumber(int Value) noexcept { FLineNumber = Value; }
    /// Parentheses opened and not yet closed by the tokens handed out; never below 0.
    [[nodiscard]] int GetParenthesisLevel() const noexcept { return FParenthesisLevel; }
    /// The echo of the tokens handed out in the current construct, each followed by a
    /// blank, with a line break where the line changes.
    [[nodiscard]] std::string ToString() const;
    [[nodiscard]] std::string AsString() const { return ToString(); }
    /// Stored only: comments always start with ";".
    [[nodiscard]] char GetCommentChar() const noexcept { return FCommentChar; }
    void SetCommentChar(char Value) noexcept { FCommentChar = Value; }
    /// The character that closes a string (strings always open with a double quote).
    [[nodiscard]] char GetQuoteChar() const noexcept { return FQuoteChar; }
    void SetQuoteChar(char Value) noexcept { FQuoteChar = Value; }
    /// The character that takes the next one literally, in strings and after a word's first character.
    [[nodiscard]] char GetEscapeChar() const noexcept { return FEscapeChar; }
    void SetEscapeChar(char Value) noexcept { FEscapeChar = Value; }
    /// A slot for the owner's use; the tokenizer does not use it.
    [[nodiscard]] TObject* GetOwner() const noexcept { return FOwner; }
    void SetOwner(TObject* Value) noexcept { FOwner = Value; }

    [[nodiscard]] std::string ClassName() const override { return "TFuzzyLogicTokenStream"; }

protected:
    ~TFuzzyLogicTokenStream() override;

private:
    /// What one hand-out changed, so that putting its token back restores it exactly.
    struct TEcho {
        std::uint64_t Serial;
        TIntfPtr<IFuzzyStreamToken> Token;  // the object handed out, if one was
        std::size_t Length;                 // of the echo before the token, once written
        int Level;                          // parenthesis level before the token
        int Line;                           // line of the token echoed before it
        // What the echo shows of the token (unless a token handed in, written at once).
        bool Break;  // a line break before it
        int Kind;
        double Number;
        std::string_view Text;
    };
    /// A token's kind hint (as FinishToken takes it) and its text.
    struct TScanned {
        int Type;
        std::string_view Text;
    };

    [[nodiscard]] bool IsPlain() const noexcept;
    TScanned Scan(bool Skipped);  // Skipped: the white space before the token is read already
    TScanned ScanWord();
    TScanned ScanString();
    void FinishLexeme(TLexeme& Lexeme, int TokenType, std::string_view Text);
    void BuildLexeme(TLexeme& Lexeme);
    bool BuildSimpleLexeme(TLexeme& Lexeme);
    void RefreshClasses();
    void ReadConstruct(std::vector<TLexeme>& Into);
    [[nodiscard]] bool HasAhead() const noexcept { return FNext < FAhead.size(); }
    std::string_view TakeWhitespace();
    std::string_view Keep(std::string_view Text);
    void ReadEscaped(std::string& Into, int StringLine);
    void RewindEcho();
    static void AppendEcho(std::string& Into, const TEcho& Echo);
    void WriteEcho();
    void TakeNext();
    void TakeObject();
    void Restack(TLexeme Lexeme, bool Exact);
    void TakeSpareBuffers() noexcept;
    void ReturnBuffers() noexcept;

    // The tokens read ahead, in text order: those from FNext on are still to come. Handing
    // one out moves past it and putting one back steps back onto its slot, so that neither
    // shifts the others. The object PeekCurrentToken makes goes to the records of the same
    // lexeme too (mutable): handed out again or put back, the token stays that object.
    mutable std::vector<TLexeme> FAhead;
    std::size_t FNext = 0;
    int FLineNumber = 1;
    std::string FText;  // a word or string that is not a plain run of the input
    TObject* FOwner = nullptr;
    std::string FEcho;         // the echo of the hand-outs written so far (FEchoed)
    mutable TLexeme FCurrent;  // the token handed out (or put back) last
    TLexeme FTaken;            // TakeLexeme's lexeme of a descendant's token
    bool FHasCurrent = false;
    int FParenthesisLevel = 0;
    std::string FWhiteSpace;
    std::size_t FSpaceStart = 0;  // where the white space collected in FWhiteSpace began
    char FCommentChar = ';';
    char FQuoteChar = '"';
    char FEscapeChar = '\\';
    mutable std::vector<TEcho> FEchoes;  // hand-outs of the current construct
    int FEchoLine = 0;                   // line of the token echoed last
    std::size_t FEchoed = 0;             // hand-outs written into FEcho
    std::uint64_t FSerial = 0;
    std::forward_list<std::string> FKept;  // texts lexemes view that are not in the input
    // The class of each byte for the short way of reading a token (BuildSimpleLexeme), made
    // for the escape and quote characters of FClassesFor (escape << 8 | quote).
    std::array<unsigned char, 256> FClasses{};
    unsigned FClassesFor = ~0U;
    bool FQuoteCloses = false;        // a string can end at FQuoteChar
    mutable signed char FPlain = -1;  // IsPlain, once told (-1 before)
};

}  // namespace fzl
