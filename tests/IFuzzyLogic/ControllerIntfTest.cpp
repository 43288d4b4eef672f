// Both models compute the same controller outputs. Each model's AssertRule is checked at its
// threshold edge in its own tests, and unions by the merge-sweep property test.

#include <gtest/gtest.h>

#include <random>

#include "../../bench/MamdaniModel.h"
#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

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
