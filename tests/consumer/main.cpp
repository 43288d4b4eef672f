// The smallest fzl user: one variable, one triangular set, two crisp numbers.
// Built against the installed package, through pkg-config and as a subproject;
// all three must print the same line.
#include <cstdio>

#include <fzl/fzl.h>

int main() {
    using namespace fzl;

    auto Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Speed = Logic->GetItems().Add("speed");
    Speed->SetMaximum(100);
    TFuzzySet* Fast = Speed->GetItems().Add("fast");
    Fast->CreateTriangleFunctionValues(20, 50, 90);

    // (40 - 20) / (50 - 20) and (20 + 50 + 90) / 3
    std::printf("membership %.4f centre of gravity %.4f\n", Fast->DegreeOfMembership(40),
                Fast->CenterOfGravity());
    return 0;
}
