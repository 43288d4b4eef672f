// Both models compute the same controller outputs.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "../../bench/MamdaniModel.h"
#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

struct TTerm {
    double Left, Middle, Right;
};
constexpr std::array<TTerm, 4> TemperatureTerms{{{0, 0, 12}, {8, 16, 24}, {18, 25, 32}, {28, 40, 40}}};
constexpr std::array<TTerm, 3> HumidityTerms{{{0, 0, 45}, {25, 50, 75}, {55, 100, 100}}};
constexpr std::array<TTerm, 5> SpeedTerms{
    {{0, 0, 20}, {5, 25, 45}, {30, 50, 70}, {55, 75, 95}, {80, 100, 100}}};
constexpr std::array<std::array<int, 3>, 4> Rules{{{0, 0, 1}, {0, 1, 2}, {1, 2, 3}, {2, 3, 4}}};

// The fan controller of the examples with the methods both models' AssertRule share:
// clipping and max.
template <class TSet, class TFire>
void Fire(const std::vector<TSet>& Temperature, const std::vector<TSet>& Humidity, double T, double H,
          TFire&& AssertRule) {
    for (std::size_t I = 0; I < Rules.size(); ++I)
        for (std::size_t J = 0; J < Rules[I].size(); ++J)
            AssertRule(std::min(Temperature[I]->DegreeOfMembership(T), Humidity[J]->DegreeOfMembership(H)),
                       static_cast<std::size_t>(Rules[I][J]));
}

TEST(ControllerIntf, BothModelsAgreeOnAGridOfInputs) {
    const auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    const auto ClassTerms = [&](const char* Name, double Max, const auto& Terms) {
        TFuzzyVariable* Variable = Logic->GetItems().Add(Name);
        Variable->SetMaximum(Max);
        std::vector<TFuzzySet*> Sets;
        for (const TTerm& Term : Terms) {
            Sets.push_back(Variable->GetItems().Add("t" + IntToStr(static_cast<int>(Sets.size()))));
            Sets.back()->CreateTriangleFunctionValues(Term.Left, Term.Middle, Term.Right);
        }
        return Sets;
    };
    const auto IntfLogic = Make<TIFuzzyLogic>(nullptr);
    IntfLogic->SetAutoTerms(false);
    const auto IntfTerms = [&](const char* Name, double Max, const auto& Terms) {
        const auto Variable = test::MakeVariable(Name, 0, Max);
        IntfLogic->GetItems().Add(Variable);
        std::vector<TIntfPtr<IFuzzySet>> Sets;
        for (const TTerm& Term : Terms)
            Sets.push_back(test::AddTriangle(Variable, "t" + IntToStr(static_cast<int>(Sets.size())),
                                             Term.Left, Term.Middle, Term.Right));
        return Sets;
    };
    const auto T1 = ClassTerms("temperature", 40, TemperatureTerms);
    const auto H1 = ClassTerms("humidity", 100, HumidityTerms);
    const auto S1 = ClassTerms("fan", 100, SpeedTerms);
    const auto T2 = IntfTerms("temperature", 40, TemperatureTerms);
    const auto H2 = IntfTerms("humidity", 100, HumidityTerms);
    const auto S2 = IntfTerms("fan", 100, SpeedTerms);
    Logic->SetThreshold(1e-9);
    IntfLogic->SetThreshold(1e-9);
    const TIntfPtr<IFuzzyVariable> Fan = IntfLogic->GetItems().Get("fan");

    int Compared = 0;
    for (double T = 0; T <= 40; T += 2.5) {
        for (double H = 0; H <= 100; H += 5) {
            TOwned<TFuzzySet> ClassResult;
            Fire(T1, H1, T, H, [&](double Strength, std::size_t Speed) {
                Logic->GetItems().GetItemByName("fan")->AssertRule(Strength, *S1[Speed], ClassResult);
            });
            TIntfPtr<IFuzzySet> IntfResult;
            Fire(T2, H2, T, H, [&](double Strength, std::size_t Speed) {
                if (auto Result = Fan->AssertRule(Strength, S2[Speed], IntfResult)) IntfResult = Result;
            });
            ASSERT_EQ(static_cast<bool>(ClassResult), static_cast<bool>(IntfResult)) << T << ", " << H;
            if (!ClassResult) continue;
            EXPECT_NEAR(ClassResult->Defuzzify(), IntfResult->Defuzzify(), 1e-12) << T << ", " << H;
            ++Compared;
        }
    }
    EXPECT_EQ(Compared, 17 * 21);
    EXPECT_EQ(Fan->GetCount(), 5);
}

// The benchmark's controller, scaled by hand through the interfaces, as the class model scales.
TEST(ControllerIntf, ProductCorrelationByHandMatchesTheClassModel) {
    bench::TMamdaniModel ClassModel(2, 5);
    bench::TMamdaniModelIntf IntfModel(2, 5);
    std::mt19937 Random(11);
    std::uniform_real_distribution<double> Input(0, 100);
    for (int Case = 0; Case < 50; ++Case) {
        const double In[] = {Input(Random), Input(Random)};
        EXPECT_NEAR(ClassModel.Cycle(In), IntfModel.Cycle(In), 1e-12) << In[0] << ", " << In[1];
    }
    EXPECT_EQ(IntfModel.Output().GetCount(), 5);
}

}  // namespace
}  // namespace fzl
