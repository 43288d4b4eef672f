#pragma once
// The fan controller of fan_controller.cpp: fan speed from room temperature and humidity,
// twelve rules fired through AssertRule, an exact centre-of-gravity output. Its twin in
// text, examples/fan_controller.fzl with examples/fan_controller.rules, gives the same
// speeds (the tests check it on a grid of inputs).

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>

#include <fzl/fzl.h>

namespace fzl::examples {

struct TTerm {
    const char* Name;
    double Left, Middle, Right;
};

inline TFuzzyVariable* AddVariable(TFuzzyLogic& Logic, const std::string& Name, double Max,
                                   const std::string& Units, std::initializer_list<TTerm> Terms) {
    TFuzzyVariable* Variable = Logic.GetItems().Add(Name);
    Variable->SetMaximum(Max);
    Variable->SetUnits(Units);
    for (const TTerm& Term : Terms)
        Variable->GetItems().Add(Term.Name)->CreateTriangleFunctionValues(Term.Left, Term.Middle, Term.Right);
    return Variable;
}

class TFanController {
public:
    TFanController() {
        FLogic->SetAutoTerms(false);
        FLogic->SetCorrelationMethod(fcmProduct);
        FTemperature =
            AddVariable(*FLogic, "temperature", 40, "degC",
                        {{"cold", 0, 0, 12}, {"cool", 8, 16, 24}, {"warm", 18, 25, 32}, {"hot", 28, 40, 40}});
        FHumidity = AddVariable(*FLogic, "humidity", 100, "%",
                                {{"dry", 0, 0, 45}, {"normal", 25, 50, 75}, {"humid", 55, 100, 100}});
        FSpeed = AddVariable(*FLogic, "fan", 100, "%",
                             {{"off", 0, 0, 20},
                              {"low", 5, 25, 45},
                              {"medium", 30, 50, 70},
                              {"high", 55, 75, 95},
                              {"max", 80, 100, 100}});
        FLogic->SetThreshold(1e-9);  // fire every rule that holds at all
    }

    /// One controller cycle: fire the rules for the crisp inputs and defuzzify.
    double Speed(double Temperature, double Humidity) {
        // Rows: temperature terms; columns: humidity terms; entries: fan terms.
        static constexpr std::array<std::array<int, 3>, 4> Rules{
            {{0, 0, 1}, {0, 1, 2}, {1, 2, 3}, {2, 3, 4}}};
        // The running conclusion: each rule that fires replaces it by the combined set (the
        // previous one is freed); a rule below the threshold leaves it. Freed with the handle.
        TOwned<TFuzzySet> Conclusion;
        for (int T = 0; T < 4; ++T) {
            for (int H = 0; H < 3; ++H) {
                const double Strength =
                    std::min(FTemperature->GetItems().GetItem(T)->DegreeOfMembership(Temperature),
                             FHumidity->GetItems().GetItem(H)->DegreeOfMembership(Humidity));
                FSpeed->AssertRule(Strength, *FSpeed->GetItems().GetItem(Rules[T][H]), Conclusion);
            }
        }
        return Conclusion ? Conclusion->Defuzzify() : 0.0;
    }

private:
    TOwned<TFuzzyLogic> FLogic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* FTemperature = nullptr;
    TFuzzyVariable* FHumidity = nullptr;
    TFuzzyVariable* FSpeed = nullptr;
};

}  // namespace fzl::examples
