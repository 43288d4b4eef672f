// Benchmarks of the engine's hot paths and of two Mamdani controllers.

#include <benchmark/benchmark.h>

#include "MamdaniModel.h"

namespace fzl::bench {
namespace {

// A variable over [0, 1000] holding bell-shaped sets of a chosen resolution.
struct TSetPair {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzySet* A = nullptr;
    TFuzzySet* B = nullptr;
    explicit TSetPair(int Points) {
        Logic->SetAutoTerms(false);
        TFuzzyVariable* Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(1000);
        A = Variable->GetItems().Add("a");
        A->CreatePIFunctionValues(Points, 100, 700, 400);
        B = Variable->GetItems().Add("b");
        B->CreatePIFunctionValues(Points, 300, 900, 600);
    }
};

void BM_DegreeOfMembership(benchmark::State& State) {
    const TSetPair Sets(static_cast<int>(State.range(0)));
    double X = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Sets.A->DegreeOfMembership(X));
        X = X >= 1000 ? 0 : X + 0.731;
    }
}
BENCHMARK(BM_DegreeOfMembership)->Arg(7)->Arg(50)->Arg(500);

template <class TCombine>
void Combine(benchmark::State& State, TCombine&& Operation) {
    const TSetPair Sets(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        const TOwned<TFuzzySet> Result = Operation(*Sets.A, *Sets.B);  // freed, leaving the variable
        benchmark::DoNotOptimize(Result.get());
    }
}

void BM_UnionZadeh(benchmark::State& State) {
    Combine(State, [](TFuzzySet& A, TFuzzySet& B) { return A.Union(B); });
}
void BM_IntersectionZadeh(benchmark::State& State) {
    Combine(State, [](TFuzzySet& A, TFuzzySet& B) { return A.Intersection(B); });
}
void BM_UnionProduct(benchmark::State& State) {
    Combine(State, [](TFuzzySet& A, TFuzzySet& B) { return A.Union(B, foProduct); });
}
void BM_IntersectionProduct(benchmark::State& State) {
    Combine(State, [](TFuzzySet& A, TFuzzySet& B) { return A.Intersection(B, foProduct); });
}
BENCHMARK(BM_UnionZadeh)->Arg(7)->Arg(50)->Arg(500);
BENCHMARK(BM_IntersectionZadeh)->Arg(7)->Arg(50)->Arg(500);
BENCHMARK(BM_UnionProduct)->Arg(7)->Arg(50)->Arg(500);
BENCHMARK(BM_IntersectionProduct)->Arg(7)->Arg(50)->Arg(500);

void BM_CenterOfGravity(benchmark::State& State) {
    const TSetPair Sets(static_cast<int>(State.range(0)));
    for (auto _ : State) benchmark::DoNotOptimize(Sets.A->CenterOfGravity());
}
BENCHMARK(BM_CenterOfGravity)->Arg(7)->Arg(500);

void RunCycles(benchmark::State& State, int Inputs, int Terms, bool WithFacts) {
    TMamdaniModel Model(Inputs, Terms);
    const TInputSequence Inputs_(Inputs, 4096);
    std::size_t Index = 0;
    for (auto _ : State) {
        const double* X = Inputs_.Tuple(Index++);
        benchmark::DoNotOptimize(WithFacts ? Model.CycleWithFacts(X) : Model.Cycle(X));
    }
}

void BM_MamdaniCycleA(benchmark::State& State) { RunCycles(State, 2, 5, false); }
void BM_MamdaniCycleB(benchmark::State& State) { RunCycles(State, 3, 7, false); }
void BM_MamdaniCycleA_FactSets(benchmark::State& State) { RunCycles(State, 2, 5, true); }

// Cycle A with the reference-counted model: the same controller through the interfaces.
void BM_MamdaniCycleA_Intf(benchmark::State& State) {
    TMamdaniModelIntf Model(2, 5);
    const TInputSequence Inputs(2, 4096);
    std::size_t Index = 0;
    for (auto _ : State) benchmark::DoNotOptimize(Model.Cycle(Inputs.Tuple(Index++)));
}

// The same controllers with their rules given as text to the rule base, which takes each
// crisp input as a fact set and fires every rule of the full grid.
std::string GridRules(int Inputs, int Terms) {
    std::string Text;
    std::vector<int> Index(static_cast<std::size_t>(Inputs), 0);
    for (;;) {
        int Sum = 0;
        for (int I = 0; I < Inputs; ++I) {
            Text += I == 0 ? "IF in" : " AND in";
            Text += std::to_string(I) + " IS t" + std::to_string(Index[static_cast<std::size_t>(I)]);
            Sum += Index[static_cast<std::size_t>(I)];
        }
        const int Offset = (Inputs - 1) * (Terms - 1) / 2;
        Text += " THEN out IS t" + std::to_string(std::clamp(Sum - Offset, 0, Terms - 1)) + "\n";
        std::size_t Digit = 0;
        while (Digit < Index.size() && ++Index[Digit] == Terms) Index[Digit++] = 0;
        if (Digit == Index.size()) return Text;
    }
}

void RunRuleBase(benchmark::State& State, int Inputs, int Terms) {
    const TMamdaniModel Model(Inputs, Terms);
    const TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Parser->SetFuzzyLogic(&Model.Logic());
    Model.Logic().SetParser(Parser.get());
    const TOwned<TFuzzyRuleBase> Rules = Make<TFuzzyRuleBase>(&Model.Logic());
    Rules->SetRules(GridRules(Inputs, Terms));
    const TInputSequence Sequence(Inputs, 4096);
    TFuzzyInputs Given;
    std::size_t Index = 0;
    for (auto _ : State) {
        const double* X = Sequence.Tuple(Index++);
        for (int I = 0; I < Inputs; ++I) Given.Values["in" + std::to_string(I)] = X[I];
        benchmark::DoNotOptimize(Rules->Evaluate(Given));
    }
}

void BM_RuleBaseCycleA(benchmark::State& State) { RunRuleBase(State, 2, 5); }
void BM_RuleBaseCycleB(benchmark::State& State) { RunRuleBase(State, 3, 7); }

BENCHMARK(BM_MamdaniCycleA);
BENCHMARK(BM_MamdaniCycleA_Intf);
BENCHMARK(BM_MamdaniCycleB);
BENCHMARK(BM_MamdaniCycleA_FactSets);
BENCHMARK(BM_RuleBaseCycleA);
BENCHMARK(BM_RuleBaseCycleB);

}  // namespace
}  // namespace fzl::bench
