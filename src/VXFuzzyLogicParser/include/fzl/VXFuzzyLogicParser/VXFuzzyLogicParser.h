#pragma once
// TVXFuzzyLogicParser: the parser component of the library. Reads definition text into
// variables and sets of either model, evaluates fuzzy expressions, prints sets and
// variables back as definition text.
//
// Who owns what an evaluation makes:
// - The evaluator frees every intermediate set it made (copies before a hedge, operands
//   written as numbers or lists, partial results), also when it raises; only the result
//   is left.
// - An expression that is a lone set name gives that very set, never a copy; the evaluator
//   never reshapes or renames a set it did not make itself (a hedge on a set of the
//   variable works on a copy).
// - Class model: the raw-pointer operations (EvalFuzzyExpression) are the ones a
//   descendant overrides; a new result they return stays in the variable's sets, which
//   own it, until someone frees it. Evaluate returns a TFuzzyExpressionResult instead,
//   which frees a new result when dropped and only borrows an existing set.
// - Reference-counted model: a new result is a set of the variable that is not in its
//   table (not Defined), so it lives exactly as long as the references to it.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamTokenList.h>
#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/VXFuzzyLogicParser/FuzzyExpressionResult.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>

namespace fzl {

class TFuzzySet;
class TFuzzyVariable;
struct TParserState;
template <class TModel>
class TExpressionEvaluator;

/// The concrete parser component. Link it to a TFuzzyLogic or a TIFuzzyLogic
/// (SetFuzzyLogic) and set it as that component's parser (SetParser).
///
/// Every error found in a text is an EFzyParseException with the line of the text where
/// it was found (handlers of EFzyException catch it too). Errors of the model raised
/// while reading a text (a reserved word as a set name, an operation that does not
/// exist) keep their message and gain the line: they pass as EFzyParseException.
class TVXFuzzyLogicParser : public TCustomFuzzyLogicParser {
public:
    /// The deepest chain of ?name operands (a stored text naming another) one evaluation follows.
    static constexpr int MaxReferenceDepth = 32;
    /// The most operands one evaluation evaluates, stored texts of ?name operands included.
    static constexpr int MaxOperandEvaluations = 10000;
    /// The most operators (hedges, base hedges, keywords) one expression may hold.
    static constexpr int MaxExpressionOperators = 256;
    /// The most points a set written as value pairs, or made by one operator of an expression, may have.
    static constexpr int MaxSetPoints = 10000;

    explicit TVXFuzzyLogicParser(TComponent* AOwner = nullptr);

    // ---- Whole texts ---------------------------------------------------------------------------
    /// Reads every variable definition of AString into the linked component (either model).
    /// Variables read before an error stay. Raises without a linked component.
    void ParseFuzzyLogic(const std::string& AString) override;

    // ---- Class model ---------------------------------------------------------------------------
    /// Reads one variable definition into the linked TFuzzyLogic and returns the variable
    /// (owned by the component's collection).
    [[nodiscard]] TFuzzyVariable* ParseFuzzyVariable(const std::string& AString) override;
    /// Reads one set definition into Variable's sets and returns the set (owned by them).
    [[nodiscard]] TFuzzySet* ParseFuzzySet(TFuzzyVariable* Variable, const std::string& AString) override;
    /// The set of Expression: an existing set of Variable for a lone set name, else a new
    /// set left in Variable's sets (the caller frees it when done; see Evaluate).
    [[nodiscard]] TFuzzySet* EvalFuzzyExpression(TFuzzyVariable* Variable,
                                                 const std::string& Expression) override;
    /// The same into FuzzySet; returns its crisp value (mean of maxima when the linked
    /// component says dmMeanOfMaxima, else centre of gravity).
    TFzyFloat EvalFuzzyExpression(TFuzzyVariable* Variable, const std::string& Expression,
                                  TFuzzySet*& FuzzySet) override;
    /// A tokenized expression (round-parenthesised groups as list tokens); as above.
    [[nodiscard]] TFuzzySet* EvalFuzzyExpression(TFuzzyVariable* Variable,
                                                 const TIntfPtr<IFuzzyStreamTokenList>& List);
    /// One operand: a set name, a number, a ?name, a list (value pairs or a function call)
    /// or a token holding a set. A new set is left in Variable's sets.
    [[nodiscard]] TFuzzySet* EvalFuzzyExpression(TFuzzyVariable* Variable,
                                                 const TIntfPtr<IFuzzyStreamToken>& Token);
    /// Evaluates Expression through EvalFuzzyExpression and hands the result over safely:
    /// a new set is owned by the handle (freed when it goes), an existing one borrowed.
    [[nodiscard]] TFuzzyExpressionResult Evaluate(TFuzzyVariable* Variable, const std::string& Expression);
    /// The crisp value of Expression (as the three-argument form); no set is left behind.
    [[nodiscard]] TFzyFloat EvaluateCrisp(TFuzzyVariable* Variable, const std::string& Expression);

    // ---- Reference-counted model ---------------------------------------------------------------------
    /// Reads one variable definition into the linked TIFuzzyLogic's table and returns it.
    [[nodiscard]] TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf(const std::string& Text) override;
    /// Reads one set definition for Variable; the set is Defined (held by the variable).
    [[nodiscard]] TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable,
                                                    const std::string& Text) override;
    /// The set of Expression: an existing set for a lone set name, else a new set of Variable
    /// that is not in its table (freed with the last reference).
    [[nodiscard]] TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                          const std::string& Expression) override;
    /// The same into Result; returns its crisp value (mean of maxima when the linked
    /// component says dmMeanOfMaxima; without a component, as the variable's method says).
    TFzyFloat EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable, const std::string& Expression,
                                  TIntfPtr<IFuzzySet>& Result) override;
    [[nodiscard]] TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                          const TIntfPtr<IFuzzyStreamTokenList>& List);
    [[nodiscard]] TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                          const TIntfPtr<IFuzzyStreamToken>& Token);
    /// The crisp value of Expression.
    [[nodiscard]] TFzyFloat EvaluateCrisp(const TIntfPtr<IFuzzyVariable>& Variable,
                                          const std::string& Expression);

    // ---- Printing ------------------------------------------------------------------------------------
    [[nodiscard]] std::string PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) override;
    [[nodiscard]] std::string PrettyPrint(const TFuzzyVariable& FuzzyVariable) override;
    [[nodiscard]] std::string PrettyPrint(const TIntfPtr<IFuzzySet>& FuzzySet, bool AsDefinition) override;
    [[nodiscard]] std::string PrettyPrint(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) override;

    // ---- Value lists and names ---------------------------------------------------------------------
    /// Adds the points of a value-pair list ((x y) (x y) ...) to FuzzySet; returns it.
    TFuzzySet* ConvertListToValues(TFuzzySet* FuzzySet, const TIntfPtr<IFuzzyStreamTokenList>& List);
    TIntfPtr<IFuzzySet> ConvertListToValues(const TIntfPtr<IFuzzySet>& FuzzySet,
                                            const TIntfPtr<IFuzzyStreamTokenList>& List);
    /// "FuzzySet" followed by the next library-wide unique number.
    [[nodiscard]] static std::string GetUniqueName();

    // ---- Token classes of the expression language ----------------------------------------------------
    /// The bracket token "[".
    [[nodiscard]] static bool IsOpenParen(const TIntfPtr<IInterface>& Item);
    /// The bracket token "]".
    [[nodiscard]] static bool IsCloseParen(const TIntfPtr<IInterface>& Item);
    /// A token that stands for a set: a ?name, a list, a token holding a set, a string, or any
    /// other token that is not an operation keyword, a base hedge, a bracket or a hedge word.
    [[nodiscard]] static bool IsOperand(const TIntfPtr<IInterface>& Item);
    /// "[" 4, keywords and base hedges 3, hedge words 2, anything else 1.
    [[nodiscard]] static int InStackPriority(const TIntfPtr<IInterface>& Item);
    /// "[" 0, keywords and base hedges 3, anything else 1.
    [[nodiscard]] static int IncomingPriority(const TIntfPtr<IInterface>& Item);
    /// Appends the tokens of Source to Dest, flattening nested token lists in place.
    static void FillExpression(std::span<const TIntfPtr<IInterface>> Source,
                               const TIntfPtr<IFuzzyStreamTokenList>& Dest);

    // ---- Where a parse stands -------------------------------------------------------------------------
    /// The line of the current token of the parse in progress (0 when none).
    [[nodiscard]] int GetLineNumber() const override;
    /// The echo of the construct being read ("" when no parse is in progress).
    [[nodiscard]] std::string GetParsedText() const override;

    [[nodiscard]] std::string ClassName() const override { return "TVXFuzzyLogicParser"; }

protected:
    ~TVXFuzzyLogicParser() override;
    void BeforeDestruction() override;

    // ---- The grammar, on the tokenizer of the parse in progress (GetStream) ---------------------------
    /// A new tokenizer over Text.
    [[nodiscard]] virtual TOwned<TFuzzyLogicTokenStream> CreateStream(std::string Text);
    /// "(" "term" name [comment] body ")"; returns the new set, named.
    virtual TFuzzySet* ParseFuzzySet(TFuzzyVariable* Variable);
    virtual TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable);
    /// "(" "deffuzzy" name [comment] {clause} ")".
    virtual TFuzzyVariable* ParseFuzzyVariable();
    virtual TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf();
    /// "(" function-name {argument} ")" on a new set.
    virtual TFuzzySet* ParseFuzzyFunction(TFuzzyVariable* Variable);
    virtual TIntfPtr<IFuzzySet> ParseFuzzyFunction(const TIntfPtr<IFuzzyVariable>& Variable);
    /// A set body: value pairs, a function call or an expression. Always a set made for the
    /// body: an expression naming an existing set gives a copy of it.
    virtual TFuzzySet* ParseFuzzyValues(TFuzzyVariable* Variable);
    virtual TIntfPtr<IFuzzySet> ParseFuzzyValues(const TIntfPtr<IFuzzyVariable>& Variable);
    /// "(" "(" x y ")" {"(" x y ")"} ")" on a new set.
    virtual TFuzzySet* ParseFuzzyValuePairs(TFuzzyVariable* Variable);
    virtual TIntfPtr<IFuzzySet> ParseFuzzyValuePairs(const TIntfPtr<IFuzzyVariable>& Variable);
    /// "(" Keyword name [comment]: fills Name and Comment, returns the first token after them.
    virtual TIntfPtr<IFuzzyStreamToken> ParseHeader(std::string& Name, std::string& Comment, bool HasComment,
                                                    const std::string& Keyword, const std::string& Where,
                                                    const std::string& ErrorMessage);
    /// Reads variable definitions until the text ends.
    void ParseFuzzyLogic();
    /// Tokens up to the ")" or the end that closes the current group (left unread), nested
    /// round-parenthesised groups as list tokens.
    [[nodiscard]] TIntfPtr<IFuzzyStreamTokenList> ParseTokenList();
    /// The tokenizer of the parse in progress, or nullptr.
    [[nodiscard]] TFuzzyLogicTokenStream* GetStream() const noexcept;

private:
    template <class TModel>
    friend class TExpressionEvaluator;

    /// The evaluation of a token list, with the set it gives held as its caller should.
    [[nodiscard]] TFuzzyExpressionResult EvaluateTokens(TFuzzyVariable* Variable,
                                                        const TIntfPtr<IFuzzyStreamTokenList>& List);
    [[nodiscard]] TIntfPtr<IFuzzySet> EvaluateTokens(const TIntfPtr<IFuzzyVariable>& Variable,
                                                     const TIntfPtr<IFuzzyStreamTokenList>& List);
    /// The same for tokens as ParseTokens reads them.
    [[nodiscard]] TFuzzyExpressionResult EvaluateTokens(TFuzzyVariable* Variable,
                                                        std::span<const TIntfPtr<IFuzzyStreamToken>> Tokens);
    [[nodiscard]] TIntfPtr<IFuzzySet> EvaluateTokens(const TIntfPtr<IFuzzyVariable>& Variable,
                                                     std::span<const TIntfPtr<IFuzzyStreamToken>> Tokens);
    /// The same for lexemes as ParseLexemes reads them.
    [[nodiscard]] TFuzzyExpressionResult EvaluateTokens(TFuzzyVariable* Variable,
                                                        std::span<const TLexeme> Tokens);
    [[nodiscard]] TIntfPtr<IFuzzySet> EvaluateTokens(const TIntfPtr<IFuzzyVariable>& Variable,
                                                     std::span<const TLexeme> Tokens);
    /// ParseTokenList's tokens of the current group as lexemes, a group followed by its
    /// contents, appended to Into (an expression is read once, in order, by the evaluator alone).
    void ParseLexemes(std::vector<TLexeme>& Into);
    /// ParseHeader's reading, on lexemes; with Leave, the token returned is put back.
    [[nodiscard]] TLexeme ReadHeader(std::string& Name, std::string& Comment, bool HasComment,
                                     const std::string& Keyword, const std::string& Where,
                                     const std::string& ErrorMessage, bool Leave = false);
    /// ReadHeader, or a descendant's ParseHeader when there may be one.
    [[nodiscard]] TLexeme Header(std::string& Name, std::string& Comment, bool HasComment,
                                 const std::string& Keyword, const std::string& Where,
                                 const std::string& ErrorMessage, bool Leave = false);
    /// The crisp value of Set by the linked component's method (Fallback without one).
    [[nodiscard]] TFzyFloat CrispValue(const TFuzzySet& Set, TDefuzzificationMethod Fallback) const;
    [[nodiscard]] TFzyFloat CrispValue(const IFuzzySet& Set, TDefuzzificationMethod Fallback) const;
    [[nodiscard]] TDefuzzificationMethod Method(TDefuzzificationMethod Fallback) const;

    std::unique_ptr<TParserState> FState;
};

}  // namespace fzl
