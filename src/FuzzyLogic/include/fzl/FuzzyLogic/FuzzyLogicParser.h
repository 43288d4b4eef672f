#pragma once
// The abstract parser component a logic component delegates its text work to:
// the events, the built-in membership functions and the one error form of the
// definition language.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyInterfaces/FuzzyIntfEvents.h>
#include <fzl/FuzzyInterfaces/IFuzzyParser.h>
#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamTokenList.h>
#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/FuzzyLogic/FuzzyEvents.h>
#include <fzl/FuzzyLogic/FuzzySetSettings.h>
#include <fzl/support/Component.h>
#include <fzl/support/Format.h>
#include <fzl/support/Interfaced.h>

namespace fzl {

class TCustomFuzzyLogic;
class TFuzzySet;
class TFuzzyVariable;

/// An expression was evaluated for FuzzyVariable into Result; the handler may replace Result.
using TFuzzyExpressionEvent = std::function<void(TObject* Sender, TFuzzyVariable* FuzzyVariable,
                                                 const std::string& Expression, TFuzzySet*& Result)>;
/// Offers a function call (name and argument tokens) to the application: set Handled and
/// shape Result (or point it at another set) to take it over from the built-in functions.
using TCalcFuzzyFunctionEvent =
    std::function<void(TObject* Sender, const std::string& FuncName,
                       const TIntfPtr<IFuzzyStreamTokenList>& List, TFuzzySet*& Result, bool& Handled)>;
/// The reference-counted model's TCalcFuzzyFunctionEvent.
using TCalcFuzzyIntfFunctionEvent = std::function<void(TObject* Sender, const std::string& FuncName,
                                                       const TIntfPtr<IFuzzyStreamTokenList>& List,
                                                       TIntfPtr<IFuzzySet>& Result, bool& Handled)>;

/// Parses definition text into a linked logic component (of either model), evaluates
/// expressions, prints sets and variables back as text, computes the built-in functions
/// pi, tri, s, z and beta, and raises every text error in one form. Concrete parsers
/// implement the abstract operations. A component: references to it through
/// IFuzzyParser neither keep it alive nor free it. The sets of a linked component
/// print through it (their settings' printer).
class TCustomFuzzyLogicParser : public TUncountedInterfaced<TComponent, IFuzzyParser>,
                                public TFuzzySetPrinter {
public:
    /// Parsed text longer than this many characters is shortened in error messages.
    static constexpr int MaxErrorTextLength = 255;
    /// The most points a built-in curve may have.
    static constexpr int MaxFunctionValues = 10000;

    explicit TCustomFuzzyLogicParser(TComponent* AOwner = nullptr) : TUncountedInterfaced(AOwner) {}

    [[nodiscard]] TCustomFuzzyLogic* GetFuzzyLogic() const noexcept { return FFuzzyLogic; }
    /// Links the component parsed into (not owned; either model); dropped when that component is freed.
    void SetFuzzyLogic(TCustomFuzzyLogic* Value);

    // ---- Whole texts ---------------------------------------------------------------------------
    /// Parses a whole definition text (UTF-8) into the linked component, between OnParsing and
    /// OnParsed; without a component raises EFzyParseException before anything fires.
    virtual void Parse(const std::string& AString);
    /// The parsing proper.
    virtual void ParseFuzzyLogic(const std::string& AString) = 0;

    // ---- Class model ---------------------------------------------------------------------------
    /// The set of Expression, created in Variable's sets (or an existing set of it).
    [[nodiscard]] virtual TFuzzySet* EvalFuzzyExpression(TFuzzyVariable* Variable,
                                                         const std::string& Expression) = 0;
    /// The same into FuzzySet; returns its crisp value.
    virtual TFzyFloat EvalFuzzyExpression(TFuzzyVariable* Variable, const std::string& Expression,
                                          TFuzzySet*& FuzzySet) = 0;
    /// Reads one set definition into Variable's sets.
    [[nodiscard]] virtual TFuzzySet* ParseFuzzySet(TFuzzyVariable* Variable, const std::string& AString) = 0;
    /// Reads one variable definition into the linked component.
    [[nodiscard]] virtual TFuzzyVariable* ParseFuzzyVariable(const std::string& AString) = 0;
    /// A set's text: its definition (AsDefinition) or its short form (name or expression).
    [[nodiscard]] std::string PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) override = 0;
    /// A variable's definition text with its sets.
    [[nodiscard]] virtual std::string PrettyPrint(const TFuzzyVariable& FuzzyVariable) = 0;

    // ---- Reference-counted model (IFuzzyParser) -----------------------------------------------------
    TFzyFloat EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable, const std::string& Expression,
                                  TIntfPtr<IFuzzySet>& Result) override = 0;
    [[nodiscard]] TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                          const std::string& Expression) override = 0;
    [[nodiscard]] TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable,
                                                    const std::string& Text) override = 0;
    [[nodiscard]] TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf(const std::string& Text) override = 0;
    [[nodiscard]] std::string PrettyPrint(const TIntfPtr<IFuzzySet>& FuzzySet,
                                          bool AsDefinition) override = 0;
    [[nodiscard]] std::string PrettyPrint(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) override = 0;

    // ---- Functions -----------------------------------------------------------------------------------
    /// Shapes FuzzySet by the built-in function FuncName ("pi", "tri", "s", "z", "beta") with the
    /// number tokens of List. Checks the name, then the argument kinds, then their count,
    /// then their values; every error is a parse error ("CalcFuzzyFunction").
    virtual void CalcFuzzyFunction(const std::string& FuncName, const TIntfPtr<IFuzzyStreamTokenList>& List,
                                   TFuzzySet*& FuzzySet);
    /// The reference-counted model's built-in functions, step for step the same.
    virtual void CalcFuzzyFunction(const std::string& FuncName, const TIntfPtr<IFuzzyStreamTokenList>& List,
                                   TIntfPtr<IFuzzySet>& FuzzySet);
    /// Offers the call to OnCalcFuzzyFunction, then (unless a handler took it) to the built-in
    /// functions, and returns the shaped set. A handler takes a call by setting Handled and
    /// leaving a set in Result; when that is another set, FuzzySet is freed if a collection
    /// holds it (a detached set stays its caller's).
    [[nodiscard]] TFuzzySet* CalcFuzzyFunction(TFuzzySet* FuzzySet, const std::string& FuncName,
                                               const TIntfPtr<IFuzzyStreamTokenList>& List);
    /// The same with OnCalcFuzzyIntfFunction; a replaced FuzzySet leaves its variable.
    [[nodiscard]] TIntfPtr<IFuzzySet> CalcFuzzyFunction(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                        const std::string& FuncName,
                                                        const TIntfPtr<IFuzzyStreamTokenList>& List);

    // ---- Errors --------------------------------------------------------------------------------------
    /// Raises EFzyParseException "Parsing Error, <Msg> in <Where> at line <Line>: "<Text>"" with
    /// LineNumber() = Line. A Text of more than 255 characters shows its first 128, "... ", a
    /// line break and the 128 before its last. Msg and Text are quoted, never formatted.
    [[noreturn]] virtual void ParseError(const std::string& Where, const std::string& Msg, std::string Text,
                                         int Line);
    /// ParseError with the parsed text and the line of the parse in progress.
    [[noreturn]] void ParseError(const std::string& Where, const std::string& Msg);
    /// ParseError with Msg (a message pattern) formatted with Args.
    [[noreturn]] void ParseError(const std::string& Where, std::string_view Msg,
                                 std::initializer_list<TFormatArg> Args);
    /// The line of the parse in progress (0 when there is none).
    [[nodiscard]] virtual int GetLineNumber() const { return 0; }
    /// The text read so far by the parse in progress ("" when there is none).
    [[nodiscard]] virtual std::string GetParsedText() const { return {}; }
    /// True when every token of List (none for a nil list) has a kind in Types.
    [[nodiscard]] bool VerifyAll(const TIntfPtr<IFuzzyStreamTokenList>& List,
                                 TFuzzyStreamTokenTypes Types) const;

    // ---- Events (cleared when destruction starts) ------------------------------------------------------
    TNotifyEvent OnParsing;
    TNotifyEvent OnParsed;
    TFuzzySetEvent OnParseFuzzySet;
    TFuzzyVariableEvent OnParseFuzzyVariable;
    TFuzzyExpressionEvent OnEvalExpression;
    TCalcFuzzyFunctionEvent OnCalcFuzzyFunction;
    TIFuzzySetEvent OnParseFuzzySetIntf;
    TIFuzzyVariableEvent OnParseFuzzyVariableIntf;
    TCalcFuzzyIntfFunctionEvent OnCalcFuzzyIntfFunction;
    TIFuzzyExpressionEvent OnEvalExpressionIntf;

    [[nodiscard]] std::string ClassName() const override { return "TCustomFuzzyLogicParser"; }

protected:
    ~TCustomFuzzyLogicParser() override = default;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

private:
    TCustomFuzzyLogic* FFuzzyLogic = nullptr;
};

}  // namespace fzl
