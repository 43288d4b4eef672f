#pragma once
// What the definition fuzz targets share: reading arbitrary bytes as a whole definition
// text into a component of either model. Every input either parses or raises
// EFzyParseException with a line above 0 or EFzyException (a model error); any other
// exception escapes and is a finding. After either outcome, every variable left in the
// component is whole: Minimum <= Maximum and every point finite, inside the range
// (within the library's tolerance) and with a degree of at least 0.

#include <cmath>
#include <string>

#include <fzl/fzl.h>

#include "FuzzCheck.h"

namespace fzl::fuzz {

inline void CheckPoint(TFzyFloat X, TFzyFloat Y, TFzyFloat Minimum, TFzyFloat Maximum) {
    FZL_FUZZ_CHECK(std::isfinite(X) && std::isfinite(Y));
    FZL_FUZZ_CHECK(X >= Minimum - 1e-4 && X <= Maximum + 1e-4);
    FZL_FUZZ_CHECK(Y >= 0);
}

/// Parses Text into a new component of TLogic (with AutoTerms as given), then checks
/// what is left with Check(Logic).
template <class TLogic, class TCheck>
void ParseDefinitions(const std::string& Text, bool AutoTerms, TCheck Check) {
    const TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    const TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Logic->SetAutoTerms(AutoTerms);
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    try {
        Parser->ParseFuzzyLogic(Text);
    } catch (const EFzyParseException& Error) {
        FZL_FUZZ_CHECK(Error.LineNumber() >= 1);
    } catch (const EFzyException&) {
        // a model error of the text (kept message); the model stays usable
    }
    Check(*Logic);
}

/// Whether the input asks for AutoTerms: its first byte's low bit, so both settings
/// get explored without changing what the text reads.
inline bool AutoTermsOf(const std::string& Text) { return !Text.empty() && (Text[0] & 1) != 0; }

}  // namespace fzl::fuzz
