#pragma once
// TFuzzyLogicTokenStream: the tokenizer of the definition and expression language.

#include <cstddef>
#include <string>
#include <vector>

#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/support/TextStream.h>

namespace fzl {

/// Turns language text into tokens (TFuzzyStreamToken): words, strings, numbers,
/// variables and one-character punctuation, each with the line it stands on. It reads
/// one whole parenthesised construct ahead, lets the parser put tokens back, and keeps
/// an echo of the tokens handed out in the current construct for error messages.
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
    /// Reads the next construct onto the token stack and starts a new echo.
    bool PrepareSExp();
    /// The token handed out (or put back) last; reads the first one when there is none yet.
    TIntfPtr<IFuzzyStreamToken> GetCurrentToken();
    /// The token handed out (or put back) last, or nil before the first; reads nothing.
    [[nodiscard]] const TIntfPtr<IFuzzyStreamToken>& PeekCurrentToken() const noexcept {
        return FCurrentToken;
    }

    // ---- Properties --------------------------------------------------------------------------
    [[nodiscard]] int GetLineNumber() const noexcept { return FLineNumber; }
    void SetLineNumber(int Value) noexcept { FLineNumber = Value; }
    /// Parentheses opened and not yet closed by the tokens handed out; never below 0.
    [[nodiscard]] int GetParenthesisLevel() const noexcept { return FParenthesisLevel; }
    /// The echo of the tokens handed out in the current construct, each followed by a
    /// blank, with a line break where the line changes.
    [[nodiscard]] std::string ToString() const { return FEcho; }
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
    ~TFuzzyLogicTokenStream() override = default;

private:
    /// What one hand-out changed, so that putting its token back restores it exactly.
    struct TEcho {
        TIntfPtr<IFuzzyStreamToken> Token;
        std::size_t Length;  // of the echo before the token
        int Level;           // parenthesis level before the token
        int Line;            // line of the token echoed before it
    };

    TIntfPtr<IFuzzyStreamToken> BuildWord(char First);
    void ReadEscaped(std::string& Into, int StringLine);
    void RewindEcho();

    std::vector<TIntfPtr<IFuzzyStreamToken>> FStack;  // top at the back
    int FLineNumber = 1;
    std::string FText;
    TObject* FOwner = nullptr;
    std::string FEcho;  // what ToString gives
    TIntfPtr<IFuzzyStreamToken> FCurrentToken;
    int FParenthesisLevel = 0;
    std::string FWhiteSpace;
    char FCommentChar = ';';
    char FQuoteChar = '"';
    char FEscapeChar = '\\';
    std::vector<TEcho> FEchoes;  // hand-outs of the current construct
    int FEchoLine = 0;           // line of the token echoed last
};

}  // namespace fzl
