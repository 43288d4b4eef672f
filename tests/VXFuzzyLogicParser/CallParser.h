#pragma once
// A parser that reads function calls "(name args...)" with the tokenizer and computes
// them through the parser base, reporting lines and parsed text as the definition
// parser does.

#include <string>
#include <utility>

#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>

#include "FuzzyLogic/TestParser.h"

namespace fzl::test {

struct TCallParser : TStubParser {
    using TStubParser::TStubParser;
    TOwned<TFuzzyLogicTokenStream> Stream;

    int GetLineNumber() const override {
        return Stream && Stream->PeekCurrentToken() ? Stream->PeekCurrentToken()->GetLineNumber() : 0;
    }
    std::string GetParsedText() const override { return Stream ? Stream->ToString() : std::string(); }

    static bool Is(const TIntfPtr<IFuzzyStreamToken>& Token, int Kind) {
        return Token->GetDataType() == Kind;
    }

    /// Tokens up to the ")" or the end that closes the group, nested groups as list tokens.
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

    /// Computes every call of Text on a new set of Variable; returns the last result.
    TFuzzySet* Run(std::string Text, TFuzzyVariable& Variable) {
        Stream = Make<TFuzzyLogicTokenStream>(std::move(Text));
        TFuzzySet* Result = nullptr;
        for (;;) {
            const TIntfPtr<IFuzzyStreamToken> Open = Stream->NextToken();
            if (Is(Open, fstNone)) return Result;
            if (!Is(Open, '(')) ParseError("ParseFuzzyLogic", SFzyUnexpectedToken, {Open->ToString()});
            const TIntfPtr<IFuzzyStreamToken> Name = Stream->NextToken();
            if (!Is(Name, fstAtom)) ParseError("ParseFuzzyFunction", SFzyMissingName);
            const TIntfPtr<IFuzzyStreamTokenList> Args = ReadTokenList();
            Result = CalcFuzzyFunction(Variable.GetItems().Add(), Name->GetText(), Args);
            (void)Stream->NextToken();
        }
    }
};

}  // namespace fzl::test
