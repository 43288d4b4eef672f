#pragma once
// A parser component whose abstract operations are inert, for tests of the parser base
// and of what links to a parser.

#include <string>

#include <fzl/FuzzyLogic/FuzzyLogicParser.h>

namespace fzl::test {

/// Every abstract operation answers nothing; tests override what they need.
struct TStubParser : TCustomFuzzyLogicParser {
    using TCustomFuzzyLogicParser::TCustomFuzzyLogicParser;
    using TVariable = TIntfPtr<IFuzzyVariable>;
    using TSet = TIntfPtr<IFuzzySet>;

    void ParseFuzzyLogic(const std::string&) override {}
    TFuzzySet* EvalFuzzyExpression(TFuzzyVariable*, const std::string&) override { return nullptr; }
    TFzyFloat EvalFuzzyExpression(TFuzzyVariable*, const std::string&, TFuzzySet*&) override { return 0; }
    TFuzzySet* ParseFuzzySet(TFuzzyVariable*, const std::string&) override { return nullptr; }
    TFuzzyVariable* ParseFuzzyVariable(const std::string&) override { return nullptr; }
    std::string PrettyPrint(const TFuzzySet&, bool) override { return {}; }
    std::string PrettyPrint(const TFuzzyVariable&) override { return {}; }
    TFzyFloat EvalFuzzyExpression(const TVariable&, const std::string&, TSet&) override { return 0; }
    TSet EvalFuzzyExpression(const TVariable&, const std::string&) override { return nullptr; }
    TSet ParseFuzzySet(const TVariable&, const std::string&) override { return nullptr; }
    TVariable ParseFuzzyVariableIntf(const std::string&) override { return nullptr; }
    std::string PrettyPrint(const TSet&, bool) override { return {}; }
    std::string PrettyPrint(const TVariable&) override { return {}; }
};

}  // namespace fzl::test
