#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "TestModel.h"

namespace fzl {
namespace {

// Two inputs and one output over [0, 100], five triangles each (step 25, end triangles cut by
// the range), 25 rules with consequent clamp(i + j - 2, 0, 4), product correlation and max
// inference: the benchmark's first controller.
struct TController {
    test::TModel Model{0, 100};
    TFuzzyVariable* Variables[3] = {Model.Variable, Model.Logic->GetItems().Add(),
                                    Model.Logic->GetItems().Add()};

    TController() {
        Model.Logic->SetCorrelationMethod(fcmProduct);
        for (TFuzzyVariable* Variable : Variables) {
            Variable->SetMaximum(100);
            for (int T = 0; T < 5; ++T)
                Variable->GetItems().Add()->CreateTriangleFunctionValues(25.0 * T - 25, 25.0 * T,
                                                                         25.0 * T + 25);
            Variable->SetThreshold(1e-9);
        }
    }
    [[nodiscard]] TFuzzySet& Term(int Variable, int Index) const {
        return *Variables[Variable]->GetItems().GetItem(Index);
    }
    double Output(double X0, double X1) {
        TOwned<TFuzzySet> Conclusion;
        for (int I = 0; I < 5; ++I)
            for (int J = 0; J < 5; ++J)
                Variables[2]->AssertRule(
                    std::min(Term(0, I).DegreeOfMembership(X0), Term(1, J).DegreeOfMembership(X1)),
                    Term(2, std::clamp(I + J - 2, 0, 4)), Conclusion);
        return Conclusion->Defuzzify();
    }
};

double Triangle(double Center, double X) { return std::max(0.0, 1.0 - std::fabs(X - Center) / 25); }

// The same controller computed independently: the aggregated membership
// sampled finely and integrated by the midpoint rule.
double SampledOutput(double X0, double X1) {
    constexpr int Samples = 400000;
    double Area = 0;
    double Moment = 0;
    for (int S = 0; S < Samples; ++S) {
        const double X = (S + 0.5) * 100.0 / Samples;
        double Degree = 0;
        for (int I = 0; I < 5; ++I)
            for (int J = 0; J < 5; ++J) {
                const double Strength = std::min(Triangle(25.0 * I, X0), Triangle(25.0 * J, X1));
                Degree = std::max(Degree, Strength * Triangle(25.0 * std::clamp(I + J - 2, 0, 4), X));
            }
        Area += Degree;
        Moment += Degree * X;
    }
    return Moment / Area;
}

TEST(Controller, CrispOutputsAreExact) {
    TController Controller;
    EXPECT_DOUBLE_EQ(Controller.Output(50, 50), 50);  // symmetric rules: the middle of the range
    EXPECT_DOUBLE_EQ(Controller.Output(25, 75), 50);
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Input(0, 100);
    for (int Case = 0; Case < 5; ++Case) {
        const double X0 = Case == 0 ? 20 : Input(Random);
        const double X1 = Case == 0 ? 70 : Input(Random);
        EXPECT_NEAR(Controller.Output(X0, X1), SampledOutput(X0, X1), 1e-6) << X0 << ", " << X1;
    }
    EXPECT_EQ(Controller.Variables[2]->GetItems().Count(), 5);  // every intermediate set was freed
}

}  // namespace
}  // namespace fzl
