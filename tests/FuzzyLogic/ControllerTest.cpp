#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "../../bench/MamdaniModel.h"

namespace fzl {
namespace {

// The benchmark's first controller (two inputs of five triangles over [0, 100], 25 rules with
// consequent clamp(i + j - 2, 0, 4), product correlation, max inference) computed independently:
// the aggregated membership sampled finely and integrated by the midpoint rule.
double SampledOutput(const double* In) {
    const auto Triangle = [](double Center, double X) {
        return std::max(0.0, 1.0 - std::fabs(X - Center) / 25);
    };
    double Area = 0, Moment = 0;
    for (double X = 0.5 / 4000; X < 100; X += 1.0 / 4000) {
        double Degree = 0;
        for (int I = 0; I < 25; ++I)
            Degree =
                std::max(Degree, std::min(Triangle(25.0 * (I % 5), In[0]), Triangle(25.0 * (I / 5), In[1])) *
                                     Triangle(25.0 * std::clamp(I % 5 + I / 5 - 2, 0, 4), X));
        Area += Degree;
        Moment += Degree * X;
    }
    return Moment / Area;
}

TEST(Controller, CrispOutputsAreExact) {
    bench::TMamdaniModel Controller(2, 5);
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Input(0, 100);
    for (int Case = 0; Case < 6; ++Case) {
        const double In[] = {Case == 0 ? 20 : Input(Random), Case == 0 ? 70 : Input(Random)};
        EXPECT_NEAR(Controller.Cycle(In), SampledOutput(In), 1e-6) << In[0] << ", " << In[1];
    }
    const double Symmetric[] = {25, 75};
    EXPECT_DOUBLE_EQ(Controller.Cycle(Symmetric), 50);     // the middle of the range
    EXPECT_EQ(Controller.Output().GetItems().Count(), 5);  // every intermediate set was freed
}

}  // namespace
}  // namespace fzl
