// libFuzzer target: arbitrary bytes read as function calls "(name args...)" and computed
// by the parser base's built-in functions (pi, tri, s, z, beta) on new sets of a variable.
// Every input either computes or raises EFzyParseException with a line above 0 (any other
// exception is a finding), and every computed set has finite points only.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>

#include "FuzzCheck.h"

namespace {

using namespace fzl;

bool Is(const TIntfPtr<IFuzzyStreamToken>& Token, int Kind) { return Token->GetDataType() == Kind; }

/// Reads calls with the tokenizer and reports lines and parsed text as the definition parser does.
struct TCallParser final : TCustomFuzzyLogicParser {
    using TCustomFuzzyLogicParser::TCustomFuzzyLogicParser;
    TOwned<TFuzzyLogicTokenStream> Stream;

    int GetLineNumber() const override {
        return Stream && Stream->PeekCurrentToken() ? Stream->PeekCurrentToken()->GetLineNumber() : 0;
    }
    std::string GetParsedText() const override { return Stream ? Stream->ToString() : std::string(); }

    TIntfPtr<IFuzzyStreamTokenList> ReadTokenList() {
        TIntfPtr<IFuzzyStreamTokenList> List = MakeIntf<TFuzzyStreamTokenList>();
        TIntfPtr<IFuzzyStreamToken> Token = Stream->NextToken();
        while (!Is(Token, fstNone) && !Is(Token, ')')) {
            if (Is(Token, '(')) {
                Token->SetList(ReadTokenList());
                (void)Stream->NextToken();
            }
            List->Add(Token);
            Token = Stream->NextToken();
        }
        Stream->PutBackToken(Token);
        return List;
    }

    void Run(const std::string& Text, TFuzzyVariable& Variable) {
        Stream = Make<TFuzzyLogicTokenStream>(Text);
        for (;;) {
            const TIntfPtr<IFuzzyStreamToken> Open = Stream->NextToken();
            if (Is(Open, fstNone)) return;
            if (!Is(Open, '(')) ParseError("ParseFuzzyLogic", SFzyUnexpectedToken, {Open->ToString()});
            const TIntfPtr<IFuzzyStreamToken> Name = Stream->NextToken();
            if (!Is(Name, fstAtom)) ParseError("ParseFuzzyFunction", SFzyMissingName);
            const TIntfPtr<IFuzzyStreamTokenList> Args = ReadTokenList();
            const TFuzzySet* Set = CalcFuzzyFunction(Variable.GetItems().Add(), Name->GetText(), Args);
            for (int Index = 0; Index < Set->GetValues().Count(); ++Index) {
                const TFuzzySetValue* Point = Set->GetValues().GetItem(Index);
                FZL_FUZZ_CHECK(std::isfinite(Point->GetX()) && std::isfinite(Point->GetY()));
            }
            (void)Stream->NextToken();
        }
    }

    // The rest of the parser is not needed here.
    void ParseFuzzyLogic(const std::string&) override {}
    TFuzzySet* EvalFuzzyExpression(TFuzzyVariable*, const std::string&) override { return nullptr; }
    TFzyFloat EvalFuzzyExpression(TFuzzyVariable*, const std::string&, TFuzzySet*&) override { return 0; }
    TFuzzySet* ParseFuzzySet(TFuzzyVariable*, const std::string&) override { return nullptr; }
    TFuzzyVariable* ParseFuzzyVariable(const std::string&) override { return nullptr; }
    std::string PrettyPrint(const TFuzzySet&, bool) override { return {}; }
    std::string PrettyPrint(const TFuzzyVariable&) override { return {}; }
    TFzyFloat EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>&, const std::string&,
                                  TIntfPtr<IFuzzySet>&) override {
        return 0;
    }
    TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>&, const std::string&) override {
        return nullptr;
    }
    TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>&, const std::string&) override {
        return nullptr;
    }
    TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf(const std::string&) override { return nullptr; }
    std::string PrettyPrint(const TIntfPtr<IFuzzySet>&, bool) override { return {}; }
    std::string PrettyPrint(const TIntfPtr<IFuzzyVariable>&) override { return {}; }
};

/// One model for the whole run; each input starts from an empty variable.
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TOwned<TCallParser> Parser = Make<TCallParser>(nullptr);
    TFuzzyVariable* Variable = nullptr;
    TModel() {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMinimum(-1e6);
        Variable->SetMaximum(1e6);
        Parser->SetFuzzyLogic(Logic.get());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TModel Model;
    Model.Variable->GetItems().Clear();
    // The first byte picks the curve size (2 to 65 points, or 10001: over the limit).
    const int N = Size > 0 && Data[0] == 0xFF ? 10001 : 2 + (Size > 0 ? Data[0] % 64 : 5);
    Model.Logic->SetNumFunctionValues(N);
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    try {
        Model.Parser->Run(Text, *Model.Variable);
    } catch (const EFzyParseException& Error) {
        FZL_FUZZ_CHECK(Error.LineNumber() >= 1);
    }
    return 0;
}
