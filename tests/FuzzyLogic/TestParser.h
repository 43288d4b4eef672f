#pragma once
// A parser component whose abstract operations are inert, for tests of the parser base
// and of what links to a parser.

#include <string>

#include <fzl/FuzzyLogic/FuzzyLogicParser.h>

namespace fzl::test {

/// Every abstract operation answers nothing; tests override what they need.
struct TStubParser : TCustomFuzzyLogicParser {
    using TCustomFuzzyLogicParser::TCustomFuzzyLogicParser;

    void ParseFuzzyLogic(const std::string& /*AString*/) override {}
    TFuzzySet* EvalFuzzyExpression(TFuzzyVariable* /*Variable*/, const std::string& /*Expression*/) override {
        return nullptr;
    }
    TFzyFloat EvalFuzzyExpression(TFuzzyVariable* /*Variable*/, const std::string& /*Expression*/,
                                  TFuzzySet*& /*FuzzySet*/) override {
        return 0;
    }
    TFuzzySet* ParseFuzzySet(TFuzzyVariable* /*Variable*/, const std::string& /*AString*/) override {
        return nullptr;
    }
    TFuzzyVariable* ParseFuzzyVariable(const std::string& /*AString*/) override { return nullptr; }
    std::string PrettyPrint(const TFuzzySet& /*FuzzySet*/, bool /*AsDefinition*/) override { return {}; }
    std::string PrettyPrint(const TFuzzyVariable& /*FuzzyVariable*/) override { return {}; }
    TFzyFloat EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& /*Variable*/,
                                  const std::string& /*Expression*/,
                                  TIntfPtr<IFuzzySet>& /*Result*/) override {
        return 0;
    }
    TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& /*Variable*/,
                                            const std::string& /*Expression*/) override {
        return nullptr;
    }
    TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& /*Variable*/,
                                      const std::string& /*Text*/) override {
        return nullptr;
    }
    TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf(const std::string& /*Text*/) override { return nullptr; }
    std::string PrettyPrint(const TIntfPtr<IFuzzySet>& /*FuzzySet*/, bool /*AsDefinition*/) override {
        return {};
    }
    std::string PrettyPrint(const TIntfPtr<IFuzzyVariable>& /*FuzzyVariable*/) override { return {}; }
};

}  // namespace fzl::test
