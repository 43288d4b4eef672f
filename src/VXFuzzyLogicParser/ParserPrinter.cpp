// The printing operations of TVXFuzzyLogicParser, written by TFuzzyPrettyPrinter.

#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>

#include "internal/PrettyPrinter.h"

namespace fzl {

std::string TVXFuzzyLogicParser::PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) {
    return TFuzzyPrettyPrinter(*this).Print(FuzzySet, AsDefinition);
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TFuzzyVariable& FuzzyVariable) {
    return TFuzzyPrettyPrinter(*this).Print(FuzzyVariable);
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TIntfPtr<IFuzzySet>& FuzzySet, bool AsDefinition) {
    return TFuzzyPrettyPrinter(*this).Print(FuzzySet, AsDefinition);
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) {
    return TFuzzyPrettyPrinter(*this).Print(FuzzyVariable);
}

}  // namespace fzl
