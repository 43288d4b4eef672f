// Every reference-counted object goes when the last reference that reaches it goes:
// LiveRefCountedObjects() returns to where it started after each scenario.

#include <gtest/gtest.h>

#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

using test::AddTriangle;
using test::MakeVariable;

class LifetimeIntf : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(LiveRefCountedObjects(), FStart); }
    std::int64_t FStart = LiveRefCountedObjects();
};

TEST_F(LifetimeIntf, ComponentWithVariablesAndSets) {
    const auto Logic = Make<TIFuzzyLogic>(nullptr);
    for (const char* Name : {"a", "b", "c"}) {
        const auto Variable = MakeVariable(Name, 0, 10);
        Logic->GetItems().Add(Variable);
        AddTriangle(Variable, "warm", 0, 5, 10)->Hedge(fhVery);
    }
    const TIntfPtr<IFuzzyVariable> Output = Logic->GetItems().Get("c");
    TIntfPtr<IFuzzySet> Conclusion = Output->AssertRule(0.5, Output->GetFuzzySetByName("low"), nullptr);
    Conclusion = Output->AssertRule(0.7, Output->GetFuzzySetByName("high"), Conclusion);
    EXPECT_EQ(LiveRefCountedObjects(), FStart + 3 * 5 + 1);
    Logic->GetItems().Clear();
    Logic->GetItems().Add(MakeVariable("d", 0, 1));
}  // the component goes; the conclusion kept "c" alive until then

// A variable's sets do not keep it alive: dropping it frees it, and a set held elsewhere
// outlives it without a variable.
TEST_F(LifetimeIntf, VariableDroppedWhileItsSetsAreRegistered) {
    TIntfPtr<IFuzzySet> Survivor;
    {
        const auto Variable = MakeVariable("x", 0, 10);
        Survivor = AddTriangle(Variable, "warm", 0, 5, 10);
        AddTriangle(Variable, "cold", 0, 0, 5);
        EXPECT_EQ(LiveRefCountedObjects(), FStart + 3);
    }
    EXPECT_EQ(LiveRefCountedObjects(), FStart + 1);
    EXPECT_FALSE(Survivor->GetVariable());
    EXPECT_EQ(Survivor->GetXMaximum(), 10);  // its last point now
    Survivor->SetName("renamed");            // no table to re-key
    // A set whose construction fails (a reserved name) goes at once.
    EXPECT_THROW(static_cast<void>(MakeVariable("z", 0, 1)->Add("not")), EFzyException);

    // A result of an operation is not one of the variable's terms: it counts its variable.
    TIntfPtr<IFuzzySet> Result;
    {
        const auto Variable = MakeVariable("y", 0, 100);
        Result = AddTriangle(Variable, "a", 0, 50, 100)->Union(AddTriangle(Variable, "b", 50, 100, 100));
    }
    EXPECT_EQ(Result->GetVariable()->GetMaximum(), 100);
    EXPECT_EQ(Result->GetVariable()->GetCount(), 2);
}

// A set that removes itself from the table that held its last reference finishes its
// method on a live object (the leak check and the sanitizers watch the rest).
TEST_F(LifetimeIntf, SelfRemovalKeepsTheSetAliveUntilItReturns) {
    const auto Variable = MakeVariable("x", 0, 10);
    IFuzzySet* Raw = AddTriangle(Variable, "only", 0, 5, 10).Get();  // held by the table alone
    Raw->SetVariable(nullptr);
    EXPECT_EQ(Variable->GetCount(), 0);
    IFuzzySet* Other = AddTriangle(Variable, "other", 0, 5, 10).Get();
    Other->SetDefined(false);
    EXPECT_EQ(Variable->GetCount(), 0);
}

}  // namespace
}  // namespace fzl
