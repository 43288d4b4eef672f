// Defuzzification side by side: the centre of gravity and the mean of maxima of a
// few shapes, computed exactly on their points.
//
// Things to try: add your own points to a shape, or change the range of the
// variable and watch the shoulders (a degree above 0 at either end of the points
// extends flat to the end of the range) move the centre of gravity.

#include <cstdio>
#include <initializer_list>
#include <utility>

#include <fzl/fzl.h>

using namespace fzl;

namespace {

// A set of the variable with the given (X, degree) points.
TFuzzySet* AddShape(TFuzzyVariable& Variable, const char* Name,
                    std::initializer_list<std::pair<double, double>> Points) {
    TFuzzySet* Set = Variable.GetItems().Add(Name);
    for (const auto& [X, Y] : Points) Set->GetValues().Add(X, Y);
    return Set;
}

void PrintRow(const TFuzzySet& Set) {
    std::printf("%-16s %8.4f %8.4f   %s\n", Set.GetName().c_str(), Set.CenterOfGravity(), Set.MeanOfMaxima(),
                Set.GetValuesToString().c_str());
}

}  // namespace

int main() {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    TFuzzyVariable* Output = Logic->GetItems().Add("output");
    Output->SetMaximum(100);  // the range is [0, 100]

    std::printf("%-16s %8s %8s   %s\n", "shape", "centre", "maxima", "points");
    PrintRow(*AddShape(*Output, "symmetric", {{20, 0}, {50, 1}, {80, 0}}));
    PrintRow(*AddShape(*Output, "skewed", {{10, 0}, {20, 1}, {90, 0}}));
    PrintRow(*AddShape(*Output, "plateau", {{10, 0}, {30, 1}, {60, 1}, {90, 0}}));
    // The last degree is 1, so the set stays at 1 from 80 up to the end of the range.
    PrintRow(*AddShape(*Output, "right shoulder", {{50, 0}, {80, 1}}));

    // A typical rule output: "low" fired at 0.7, "high" at 0.3 (clipped: the default
    // correlation). The centre of gravity weighs both; the mean of maxima sees only the
    // stronger one.
    TFuzzySet* Low = AddShape(*Output, "low", {{0, 0}, {20, 1}, {40, 0}});
    TFuzzySet* High = AddShape(*Output, "high", {{60, 0}, {80, 1}, {100, 0}});
    TOwned<TFuzzySet> Conclusion;
    Output->AssertRule(0.7, *Low, Conclusion);
    Output->AssertRule(0.3, *High, Conclusion);
    Conclusion->SetName("rule output");
    PrintRow(*Conclusion);

    // Defuzzify() follows the component's setting.
    std::printf("\nDefuzzify() of the rule output: %.4f (centre of gravity, the default)\n",
                Conclusion->Defuzzify());
    Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    std::printf("Defuzzify() of the rule output: %.4f (mean of maxima)\n", Conclusion->Defuzzify());
    return 0;
}
