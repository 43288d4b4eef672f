#pragma once
// Components of both models linked to a TVXFuzzyLogicParser, and readers of what a
// parse or an evaluation gave.

#include <string>

#include <fzl/fzl.h>

#include "FuzzyLogic/TestModel.h"
#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl::test {

/// A logic component of either model (TLogic) with its parser linked both ways.
template <class TLogic>
struct TParsed {
    TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);

    explicit TParsed(bool AutoTerms = false) {
        Logic->SetAutoTerms(AutoTerms);
        Parser->SetFuzzyLogic(Logic.get());
        Logic->SetParser(Parser.get());
    }
    void Parse(const std::string& Text) { Parser->ParseFuzzyLogic(Text); }
};
using TClassParsed = TParsed<TFuzzyLogic>;
using TIntfParsed = TParsed<TIFuzzyLogic>;

/// "message @line" of the EFzyParseException Call raises, "other: message" for any other
/// exception of the library, "none" without one.
template <typename F>
std::string ParseErrorOf(F Call) {
    try {
        Call();
    } catch (const EFzyParseException& Error) {
        return Error.Message() + " @" + std::to_string(Error.LineNumber());
    } catch (const Exception& Error) {
        return std::string("other: ") + Error.what();
    }
    return "none";
}

/// The form of every text error: "Parsing Error, Msg in Where at line N: ".
inline std::string ErrorHead(const std::string& Msg, const std::string& Where, int Line) {
    return "Parsing Error, " + Msg + " in " + Where + " at line " + std::to_string(Line) + ": ";
}

/// The names of a class-model variable's sets, in order, blank-separated.
inline std::string Names(const TFuzzyVariable& Variable) {
    std::string Result;
    for (const TFuzzySet* Set : Variable.GetItems()) Result += Set->GetName() + " ";
    return Result;
}

}  // namespace fzl::test
