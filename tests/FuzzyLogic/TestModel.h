#pragma once
// Helpers shared by the engine's tests.

#include <string>
#include <utility>
#include <vector>

#include <fzl/fzl.h>

namespace fzl::test {

using TPoints = std::vector<std::pair<double, double>>;

/// A component with one variable "x" over [Min, Max] and no automatic terms; the
/// variable's collection owns every set made in it (derived sets, until their handle goes).
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;

    TModel(double Min, double Max) {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(Max);
        Variable->SetMinimum(Min);
    }
    /// A set named Name with the given points.
    TFuzzySet* Add(const TPoints& Points, const std::string& Name = "hot") {
        return WithPoints(Variable->GetItems().Add(Name), Points);
    }
    static TFuzzySet* WithPoints(TFuzzySet* Set, const TPoints& Points) {
        for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
        return Set;
    }
};

/// A set outside any variable.
inline TOwned<TFuzzySet> FreeSet(const TPoints& Points, const std::string& Name = "") {
    TOwned<TFuzzySet> Set = Make<TFuzzySet>();
    Set->SetName(Name);
    TModel::WithPoints(Set.get(), Points);
    return Set;
}

inline TPoints PointsOf(const TFuzzySetValues& Values) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Values) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}
inline TPoints PointsOf(const TFuzzySet& Set) { return PointsOf(Set.GetValues()); }

/// V with four decimals, trailing zeros dropped.
inline std::string Number(double V) {
    std::string S = FormatFixed(V, 4);
    S.erase(S.find_last_not_of('0') + 1);
    return S.back() == '.' ? S.substr(0, S.size() - 1) : S;
}

/// "x,y x,y ... " with four decimals, trailing zeros dropped.
inline std::string Text(const TFuzzySet& Set) {
    std::string Result;
    for (const auto& [X, Y] : PointsOf(Set)) Result += Number(X) + "," + Number(Y) + " ";
    return Result;
}

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
