// Benchmarks of the definition parser and the expression evaluator.

#include <benchmark/benchmark.h>

#include <string>

#include <fzl/fzl.h>

namespace fzl::bench {
namespace {

/// A definition text of about 25 KB: 3 variables with 7 triangular terms each and 100
/// sets per variable defined by expressions over those terms (so the evaluator is part
/// of the cost).
std::string DefinitionText() {
    static const char* const Hedges[] = {"very", "somewhat", "not", "extremely", "plus"};
    static const char* const Keywords[] = {"or", "and", "or-sum", "and-product", "or-mean"};
    std::string Text;
    for (int V = 0; V < 3; ++V) {
        Text += "(deffuzzy v" + std::to_string(V) + " \"input " + std::to_string(V) +
                "\"\n  (range 0 100)\n  (units percent)\n  (values\n";
        for (int T = 0; T < 7; ++T) {
            const int Middle = T * 100 / 6;
            Text += "    (term t" + std::to_string(T) + " (tri " + std::to_string(Middle - 17) + " " +
                    std::to_string(Middle) + " " + std::to_string(Middle + 17) + "))\n";
        }
        for (int E = 0; E < 100; ++E) {
            const auto Term = [E](int Shift) {
                return std::string("t").append(std::to_string((E + Shift) % 7));
            };
            Text += "    (term e" + std::to_string(E) + " \"derived set " + std::to_string(E) + " of input " +
                    std::to_string(V) + "\" " + Hedges[E % 5] + " " + Term(0) + " " + Keywords[E % 5] + " " +
                    Term(3) + " " + Keywords[(E + 2) % 5] + " [" + Hedges[(E + 1) % 5] + " " + Term(5) +
                    "])\n";
        }
        Text += "  )\n)\n";
    }
    return Text;
}

template <class TLogic>
void ParseDefinitionText(benchmark::State& State) {
    const std::string Text = DefinitionText();
    const TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    Logic->SetAutoTerms(false);
    const TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());
    for (auto _ : State) {
        State.PauseTiming();
        Logic->GetItems().Clear();  // into an empty component each time
        State.ResumeTiming();
        Parser->ParseFuzzyLogic(Text);
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Text.size()));
    State.counters["bytes"] = static_cast<double>(Text.size());
}

void BM_ParseDefinitionText(benchmark::State& State) { ParseDefinitionText<TFuzzyLogic>(State); }
void BM_ParseDefinitionTextIntf(benchmark::State& State) { ParseDefinitionText<TIFuzzyLogic>(State); }
BENCHMARK(BM_ParseDefinitionText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDefinitionTextIntf)->Unit(benchmark::kMillisecond);

/// Ten operators: very, or, somewhat, and, not, or-sum, and-product, extremely, or, *.
const char* const TenOperators =
    "very t1 or somewhat t2 and not t3 or-sum t4 and-product extremely t5 or t6 * 0.5";

struct TEvalModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    TFuzzyVariable* Variable = nullptr;
    TEvalModel() {
        Logic->SetAutoTerms(false);
        Parser->SetFuzzyLogic(Logic.get());
        Parser->ParseFuzzyLogic(DefinitionText());
        Variable = Logic->GetItems().GetItemByName("v0");
    }
};

void BM_EvalExpression(benchmark::State& State) {
    const TEvalModel Model;
    for (auto _ : State) {
        const TFuzzyExpressionResult Result = Model.Parser->Evaluate(Model.Variable, TenOperators);
        benchmark::DoNotOptimize(Result.get());
    }
}
BENCHMARK(BM_EvalExpression)->Unit(benchmark::kMicrosecond);

/// The rule base's common cases: a lone set name and one hedge on a set.
void BM_EvalLoneName(benchmark::State& State) {
    const TEvalModel Model;
    for (auto _ : State) benchmark::DoNotOptimize(Model.Parser->Evaluate(Model.Variable, "t3").get());
}
void BM_EvalHedgedName(benchmark::State& State) {
    const TEvalModel Model;
    for (auto _ : State) {
        const TFuzzyExpressionResult Result = Model.Parser->Evaluate(Model.Variable, "very t3");
        benchmark::DoNotOptimize(Result.get());
    }
}
BENCHMARK(BM_EvalLoneName)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvalHedgedName)->Unit(benchmark::kMicrosecond);

/// Sets of thousands of points that lose most of them: each "slightly" about doubles the
/// points of its operand (Arg of them: 2 ^ Arg points), and the intersection with a term it
/// does not meet leaves a run of zeros to thin out.
std::string SlightlyChain(benchmark::State& State) {
    std::string Expression;
    for (auto Count = State.range(0); Count > 0; --Count) Expression += "slightly ";
    return Expression + "t3 and t6";
}

void BM_EvalSlightlyChain(benchmark::State& State) {
    const TEvalModel Model;
    const std::string Expression = SlightlyChain(State);
    for (auto _ : State) {
        const TFuzzyExpressionResult Result = Model.Parser->Evaluate(Model.Variable, Expression);
        benchmark::DoNotOptimize(Result.get());
    }
}
void BM_EvalSlightlyChainIntf(benchmark::State& State) {
    const TOwned<TIFuzzyLogic> Logic = Make<TIFuzzyLogic>(nullptr);
    const TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Logic->SetAutoTerms(false);
    Parser->SetFuzzyLogic(Logic.get());
    Parser->ParseFuzzyLogic(DefinitionText());
    const TIntfPtr<IFuzzyVariable> Variable = Logic->GetItems().ContainsVariable("v0");
    const std::string Expression = SlightlyChain(State);
    for (auto _ : State) benchmark::DoNotOptimize(Parser->EvalFuzzyExpression(Variable, Expression).Get());
}
BENCHMARK(BM_EvalSlightlyChain)->Arg(8)->Arg(12)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvalSlightlyChainIntf)->Arg(8)->Arg(12)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fzl::bench
