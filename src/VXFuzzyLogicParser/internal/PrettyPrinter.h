#pragma once
// TFuzzyPrettyPrinter: writes sets and variables of either model as definition text.
// (A minimal form: names, expressions and point lists.)

#include <string>

#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>

namespace fzl {

class TFuzzyPrettyPrinter {
public:
    [[nodiscard]] static std::string Print(const TFuzzySet& FuzzySet, bool AsDefinition);
    [[nodiscard]] static std::string Print(const TFuzzyVariable& FuzzyVariable);
    [[nodiscard]] static std::string Print(const IFuzzySet& FuzzySet, bool AsDefinition);
    [[nodiscard]] static std::string Print(const IFuzzyVariable& FuzzyVariable);
};

}  // namespace fzl
