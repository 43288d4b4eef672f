// libFuzzer target: arbitrary bytes loaded as a component stream. The first byte picks the
// model (even: the class model, odd: the reference-counted model, which parses its text when
// loading completes); the rest is the stream. Every input either loads or raises
// EFzyParseException with a line above 0 (any other exception is a finding). A failed load
// leaves the component as it was (its saved text unchanged); a good one saves a text that
// loads again into a fresh component and saves to the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyStreaming/ComponentStreaming.h>
#include <fzl/IFuzzyLogic/FuzzyLogicIntf.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>

#include "FuzzCheck.h"

namespace {

using namespace fzl;

/// A component of TLogic linked both ways to its own parser, holding one variable.
template <class TLogic>
struct TLinked {
    TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    TLinked() {
        Parser->SetFuzzyLogic(Logic.get());
        Logic->SetParser(Parser.get());
    }
};

/// Loads Text; true when it loaded. Only a parse error with a line is an accepted refusal.
bool Load(std::string_view Text, TCustomFuzzyLogic& Logic) {
    try {
        LoadComponent(Text, Logic);
        return true;
    } catch (const EFzyParseException& Error) {
        FZL_FUZZ_CHECK(Error.LineNumber() > 0);
        return false;
    }
}

/// Links a fresh component holding the one variable that a failed load must leave in place.
template <class TLogic>
void Prepare(TLinked<TLogic>& Target) {
    Target.Parser->ParseFuzzyLogic("(deffuzzy kept (range 0 10) (values (term a (tri 1 2 3))))");
}

template <class TLogic>
void Run(std::string_view Text) {
    // The prepared component saves the same text every time; saving it once keeps runs fast.
    static const std::string Before = [] {
        TLinked<TLogic> Fresh;
        Prepare(Fresh);
        return SaveComponent(*Fresh.Logic);
    }();
    TLinked<TLogic> Target;
    Prepare(Target);
    if (!Load(Text, *Target.Logic)) {
        FZL_FUZZ_CHECK(SaveComponent(*Target.Logic) == Before);
        return;
    }
    const std::string Saved = SaveComponent(*Target.Logic);
    TLinked<TLogic> Again;
    FZL_FUZZ_CHECK(Load(Saved, *Again.Logic));
    FZL_FUZZ_CHECK(SaveComponent(*Again.Logic) == Saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0) return 0;
    const std::string_view Text(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    if (Data[0] % 2 == 0)
        Run<TFuzzyLogic>(Text);
    else
        Run<TIFuzzyLogic>(Text);
    return 0;
}
