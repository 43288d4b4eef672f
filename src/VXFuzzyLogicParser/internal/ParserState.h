#pragma once
// What TVXFuzzyLogicParser keeps while a parse or an evaluation runs, and the scopes
// that set it up and take it down again whatever happens.

#include <span>
#include <string>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>

namespace fzl {

/// True when Token is of Kind (a TFuzzyStreamTokenType or a punctuation character).
inline bool IsKind(const TIntfPtr<IFuzzyStreamToken>& Token, int Kind) noexcept {
    return Token && Token->GetDataType() == Kind;
}
/// True for integer and float tokens.
inline bool IsNumber(const TIntfPtr<IFuzzyStreamToken>& Token) noexcept {
    return IsKind(Token, fstInteger) || IsKind(Token, fstFloat);
}

inline bool IsKind(const TLexeme& Lexeme, int Kind) noexcept { return Lexeme.Kind == Kind; }
inline bool IsNumber(const TLexeme& Lexeme) noexcept {
    return Lexeme.Kind == fstInteger || Lexeme.Kind == fstFloat;
}

/// The token object of the lexeme at Lexeme, a group's contents (the lexemes after it) as its list.
[[nodiscard]] TIntfPtr<IFuzzyStreamToken> TokenAt(const TLexeme* Lexeme);
/// The items of Contents (a group's contents, or lexemes as ParseLexemes reads them) as a token list.
[[nodiscard]] TIntfPtr<IFuzzyStreamTokenList> ListOf(std::span<const TLexeme> Contents);
/// What TokenAt(Lexeme)->ToString() gives, without making the token.
[[nodiscard]] std::string PrintedFormAt(const TLexeme* Lexeme);

/// A new set of Variable's set class named Name that is not in the variable's table (not
/// Defined): it lives as long as references to it.
[[nodiscard]] TIntfPtr<IFuzzySet> NewIntfSet(const TIntfPtr<IFuzzyVariable>& Variable,
                                             const std::string& Name);

struct TParserState {
    /// The tokenizer of the parse in progress (owned by the TStreamScope that installed it).
    TFuzzyLogicTokenStream* Stream = nullptr;
    /// While a ?name's stored text is evaluated: the line of the outermost ?name, which
    /// every error inside reports. 0 otherwise.
    int LineOverride = 0;
    /// Evaluations in progress (nested through ?name operands and event handlers).
    int EvalDepth = 0;
    /// Operands evaluated since the outermost evaluation began.
    int OperandCount = 0;
    /// Sets the evaluations have made (counted on, never reset: only changes of it matter).
    unsigned SetsMade = 0;
    /// Entries of the component's Variables list being evaluated, innermost last.
    std::vector<int> References;
    /// An expression read from a text of its own, quoted whole in error messages (the
    /// tokenizer's echo holds one construct, which for an expression is a single token).
    const TFuzzyLogicTokenStream* ExpressionStream = nullptr;
    const std::string* ExpressionText = nullptr;
};

/// Installs a new tokenizer over Text as the parse's stream and restores the previous
/// one when it goes, so that parses may nest (an event handler may parse).
class TStreamScope {
public:
    TStreamScope(TParserState& State, TOwned<TFuzzyLogicTokenStream> Stream)
        : FState(State), FSaved(State.Stream), FStream(std::move(Stream)) {
        FState.Stream = FStream.get();
    }
    ~TStreamScope() { FState.Stream = FSaved; }
    TStreamScope(const TStreamScope&) = delete;
    TStreamScope& operator=(const TStreamScope&) = delete;

private:
    TParserState& FState;
    TFuzzyLogicTokenStream* FSaved;
    TOwned<TFuzzyLogicTokenStream> FStream;
};

/// Counts one evaluation in progress; the outermost one starts the operand count afresh.
class TEvalScope {
public:
    explicit TEvalScope(TParserState& State) : FState(State) {
        if (FState.EvalDepth++ == 0) FState.OperandCount = 0;
    }
    ~TEvalScope() { --FState.EvalDepth; }
    TEvalScope(const TEvalScope&) = delete;
    TEvalScope& operator=(const TEvalScope&) = delete;

private:
    TParserState& FState;
};

/// Runs Body. An error of the model raised while a text is read (an EFzyException that is
/// no parse error: a reserved word as a name, an operation that does not exist) leaves as
/// an EFzyParseException with the same message and the line of the parse, so that every
/// error of a text carries its line and handlers of EFzyException still catch it.
template <class TBody>
decltype(auto) WithLine(const TVXFuzzyLogicParser& Parser, TBody&& Body) {
    try {
        return std::forward<TBody>(Body)();
    } catch (const EFzyParseException&) {
        throw;
    } catch (const EFzyException& Error) {
        throw EFzyParseException(Error.Message(), Parser.GetLineNumber());
    }
}

}  // namespace fzl
