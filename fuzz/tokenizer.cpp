// libFuzzer target: arbitrary bytes through the tokenizer until the end token. Every input
// either tokenizes or raises EFzyParseException with a line above 0; lines never go back,
// the parenthesis level never goes below 0, every token but the end consumes input, the
// echo stays within a small multiple of the input, and putting a token back and taking it
// again leaves the echo as it was.

#include <cstddef>
#include <cstdint>
#include <string>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    using namespace fzl;
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    try {
        const auto Stream = Make<TFuzzyLogicTokenStream>(Text);
        int Line = 1;
        std::size_t Count = 0;
        for (;;) {
            const TIntfPtr<IFuzzyStreamToken> Token = Stream->NextToken();
            FZL_FUZZ_CHECK(Token->GetLineNumber() >= Line);
            Line = Token->GetLineNumber();
            FZL_FUZZ_CHECK(Stream->GetParenthesisLevel() >= 0);
            FZL_FUZZ_CHECK(Stream->ToString().size() <= 4 * Size + 16);
            FZL_FUZZ_CHECK(Token->GetWhitespace().size() <=
                           2 * Size + 2);  // a comment's line end is kept as CR LF
            if (Token->GetDataType() == fstNone) break;
            FZL_FUZZ_CHECK(++Count <= Size);
            if (Token->GetDataType() == '(' || Count % 7 == 0) {
                const std::string Echo = Stream->ToString();
                const int Level = Stream->GetParenthesisLevel();
                Stream->PutBackToken(Token);
                FZL_FUZZ_CHECK(Stream->NextToken() == Token);
                FZL_FUZZ_CHECK(Stream->ToString() == Echo && Stream->GetParenthesisLevel() == Level);
            }
        }
        FZL_FUZZ_CHECK(Stream->NextToken()->GetDataType() == fstNone);  // and again at the end
    } catch (const EFzyParseException& Error) {
        FZL_FUZZ_CHECK(Error.LineNumber() >= 1);
    }
    return 0;
}
