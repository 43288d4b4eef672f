// The fan controller of fan_controller.cpp built with the reference-counted model:
// variables and sets live as long as references to them, and everything is reached
// through IFuzzyVariable and IFuzzySet. It prints the same fan speeds.
//
// Usage: fzl_fan_controller_intf

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <string>

#include <fzl/fzl.h>

namespace {

using namespace fzl;

struct TTerm {
    const char* Name;
    double Left, Middle, Right;
};

// A variable over [0, Max] with triangular terms. The component's table holds the
// variable, the variable's table its sets; the returned reference is one more holder.
TIntfPtr<IFuzzyVariable> AddVariable(TIFuzzyLogic& Logic, const std::string& Name, double Max,
                                     const std::string& Units, std::initializer_list<TTerm> Terms) {
    const TIntfPtr<IFuzzyVariable> Variable = MakeIntf<TIFuzzyVariable>(Name);
    Variable->SetMaximum(Max);
    Variable->SetUnits(Units);
    for (const TTerm& Term : Terms)
        Variable->Add(Term.Name)->CreateTriangleFunctionValues(Term.Left, Term.Middle, Term.Right);
    Logic.GetItems().Add(Variable);
    return Variable;
}

class TFanController {
public:
    TFanController() {
        FLogic->SetAutoTerms(false);
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
    }

    /// One controller cycle: fire the rules for the crisp inputs and defuzzify.
    double Speed(double Temperature, double Humidity) const {
        static constexpr std::array<const char*, 4> TemperatureTerms{"cold", "cool", "warm", "hot"};
        static constexpr std::array<const char*, 3> HumidityTerms{"dry", "normal", "humid"};
        static constexpr std::array<std::array<const char*, 3>, 4> Rules{{{"off", "off", "low"},
                                                                          {"off", "low", "medium"},
                                                                          {"low", "medium", "high"},
                                                                          {"medium", "high", "max"}}};
        // The variable's AssertRule clips the consequent; this controller scales it (product
        // correlation), as the class-model one does, so it fires its rules by hand: a scaled copy
        // of the consequent, united (max) with the running conclusion. Each result is a new set
        // that lives while Conclusion refers to it.
        TIntfPtr<IFuzzySet> Conclusion;
        for (std::size_t T = 0; T < TemperatureTerms.size(); ++T) {
            for (std::size_t H = 0; H < HumidityTerms.size(); ++H) {
                const double Strength = std::min(
                    FTemperature->GetFuzzySetByName(TemperatureTerms[T])->DegreeOfMembership(Temperature),
                    FHumidity->GetFuzzySetByName(HumidityTerms[H])->DegreeOfMembership(Humidity));
                if (Strength < 1e-9) continue;  // fire every rule that holds at all
                const TIntfPtr<IFuzzySet> Scaled =
                    CloneOf(FSpeed->GetFuzzySetByName(Rules[T][H]))->Correlate(Strength, fcmProduct);
                Conclusion = Conclusion ? Conclusion->Infer(Scaled, fimMinMax, false) : Scaled;
            }
        }
        return Conclusion ? Conclusion->Defuzzify() : 0.0;
    }

private:
    TOwned<TIFuzzyLogic> FLogic = Make<TIFuzzyLogic>(nullptr);  // frees the whole model
    TIntfPtr<IFuzzyVariable> FTemperature;
    TIntfPtr<IFuzzyVariable> FHumidity;
    TIntfPtr<IFuzzyVariable> FSpeed;
};

}  // namespace

int main() {
    const TFanController Controller;
    std::printf("temperature  humidity  fan speed\n");
    for (const double Temperature : {5.0, 15.0, 22.0, 30.0, 38.0})
        for (const double Humidity : {20.0, 50.0, 85.0})
            std::printf("%8.1f C  %6.1f %%  %8.4f %%\n", Temperature, Humidity,
                        Controller.Speed(Temperature, Humidity));
    return 0;
}
