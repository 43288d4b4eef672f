#pragma once
// Helpers shared by the engine's tests.

#include <string>
#include <utility>
#include <vector>

#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/support/Exceptions.h>

namespace fzl::test {

/// A component with one variable "x" over [Min, Max] and no automatic terms; the
/// variable's collection owns every set made in it, derived sets included.
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;

    TModel(double Min, double Max) {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(Max);
        Variable->SetMinimum(Min);
    }
    TFuzzySet* AddSet(const std::string& Name) { return Variable->GetItems().Add(Name); }
    /// A set named Name with the given points.
    TFuzzySet* Add(const std::vector<std::pair<double, double>>& Points, const std::string& Name = "hot") {
        TFuzzySet* Set = AddSet(Name);
        for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
        return Set;
    }
};

/// The message of the exception Call raises, or "no exception".
template <typename F>
std::string ErrorOf(F Call) {
    try {
        Call();
    } catch (const Exception& Error) {
        return Error.what();
    }
    return "no exception";
}

}  // namespace fzl::test
