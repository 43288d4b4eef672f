#pragma once
// IFuzzyParser: what the reference-counted model asks of a parser component.
// A parser is a component: references to it neither keep it alive nor free it.

#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/support/Interface.h>
#include <fzl/support/IntfPtr.h>

namespace fzl {

class IFuzzySet;
class IFuzzyVariable;

/// Reads definition and expression text into sets and variables, and prints them back.
class IFuzzyParser : public IInterface {
public:
    using TInterface = IFuzzyParser;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{FDA3A878-6C95-4D40-9F3F-95C4429545C2}");

    /// Evaluates Expression for Variable into Result and returns Result defuzzified.
    virtual TFzyFloat EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                          const std::string& Expression, TIntfPtr<IFuzzySet>& Result) = 0;
    /// Evaluates Expression for Variable into a new set.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                                  const std::string& Expression) = 0;
    /// Reads one set definition (UTF-8 text) for Variable.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable,
                                                            const std::string& Text) = 0;
    /// Reads one variable definition (UTF-8 text).
    [[nodiscard]] virtual TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf(const std::string& Text) = 0;
    /// The set as text: its definition when AsDefinition, else its short form.
    [[nodiscard]] virtual std::string PrettyPrint(const TIntfPtr<IFuzzySet>& FuzzySet, bool AsDefinition) = 0;
    /// The variable's definition text.
    [[nodiscard]] virtual std::string PrettyPrint(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) = 0;

protected:
    ~IFuzzyParser() = default;
};

}  // namespace fzl
