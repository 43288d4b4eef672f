// A fan controller: fan speed from room temperature and humidity, with twelve
// rules fired through AssertRule and an exact centre-of-gravity output.
//
// Usage: fzl_fan_controller [cycles]   (with cycles, runs that many controller
// cycles over varying inputs and prints the last output: memory stays flat)

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fzl/fzl.h>

namespace {

using namespace fzl;

struct TTerm {
    const char* Name;
    double Left, Middle, Right;
};

TFuzzyVariable* AddVariable(TFuzzyLogic& Logic, const std::string& Name, double Max, const std::string& Units,
                            std::initializer_list<TTerm> Terms) {
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

}  // namespace

int main(int argc, char** argv) {
    TFanController Controller;
    if (argc > 1) {
        const long Cycles = std::strtol(argv[1], nullptr, 10);
        double Output = 0;
        for (long I = 0; I < Cycles; ++I)
            Output = Controller.Speed(static_cast<double>(I % 400) / 10, static_cast<double>(I % 97));
        std::printf("%ld cycles, last fan speed %.4f %%\n", Cycles, Output);
        return 0;
    }
    std::printf("temperature  humidity  fan speed\n");
    for (const double Temperature : {5.0, 15.0, 22.0, 30.0, 38.0})
        for (const double Humidity : {20.0, 50.0, 85.0})
            std::printf("%8.1f C  %6.1f %%  %8.4f %%\n", Temperature, Humidity,
                        Controller.Speed(Temperature, Humidity));
    return 0;
}
