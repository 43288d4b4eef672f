#pragma once
// What a fuzzy set reads from its surroundings, gathered in one place so that the
// numeric engine never reaches up to the logic component itself.

#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>

namespace fzl {

class TFuzzySet;

/// Writes a set in the definition language (the logic component's parser is one).
class TFuzzySetPrinter {
public:
    /// The set's definition (AsDefinition) or its short form (name or expression).
    [[nodiscard]] virtual std::string PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) = 0;

protected:
    TFuzzySetPrinter() = default;
    ~TFuzzySetPrinter() = default;
    TFuzzySetPrinter(const TFuzzySetPrinter&) = default;
    TFuzzySetPrinter& operator=(const TFuzzySetPrinter&) = default;
};

/// The settings a set works with. The member initialisers are those of a set on its
/// own (no variable, no logic component); TFuzzySet::GetSettings gives the real ones.
struct TFuzzySetSettings {
    /// Points of the shapes SetSetType generates.
    int NumFunctionValues = 7;
    /// Least overlap at which Equals holds. A free set uses the component's default
    /// rather than 0, with which every pair of sets would be equal.
    TFzyFloat Threshold = 0.01;
    TFuzzyCorrelationMethod CorrelationMethod = fcmMinimum;
    TFuzzyInferenceMethod InferenceMethod = fimMinMax;
    TDefuzzificationMethod DefuzzificationMethod = dmCenterOfGravity;
    /// Stored data is being read back: SetSetType keeps the stored points.
    bool Loading = false;
    /// Edited in a designer: sets made then start out Defined.
    bool Designing = false;
    /// Writes ToString's text; without one the set prints "(name (x y) ... )".
    TFuzzySetPrinter* Printer = nullptr;
};

}  // namespace fzl
