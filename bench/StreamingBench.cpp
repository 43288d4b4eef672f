// Saving and loading a component of 3 variables x 7 sets x 50 points, in both models.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include <fzl/fzl.h>

namespace fzl::bench {
namespace {

constexpr int Variables = 3;
constexpr int SetsPerVariable = 7;
constexpr int PointsPerSet = 50;

/// The definition text of the model: bell-like point lists with irregular numbers.
std::string ModelText() {
    std::string Text;
    for (int V = 0; V < Variables; ++V) {
        Text += "(deffuzzy v" + IntToStr(V) + " (range 0 1000) (units m) (values";
        for (int S = 0; S < SetsPerVariable; ++S) {
            Text += " (term s" + IntToStr(S) + " (";
            for (int P = 0; P < PointsPerSet; ++P) {
                const double X = S * 100 + P * 7.3183;
                Text += '(';
                Text +=
                    FormatFixed(X, 4) + " " + FormatFixed(std::exp(-std::pow((P - 25) / 9.0, 2)), 4) + ")";
            }
            Text += "))";
        }
        Text += "))\n";
    }
    return Text;
}

/// A component of TLogic linked to its parser, holding the model.
template <class TLogic>
struct TModel {
    TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    explicit TModel(bool Filled) {
        Logic->SetAutoTerms(false);
        Parser->SetFuzzyLogic(Logic.get());
        Logic->SetParser(Parser.get());
        if (Filled) Parser->ParseFuzzyLogic(ModelText());
    }
};

template <class TLogic>
void BM_SaveComponent(benchmark::State& State) {
    TModel<TLogic> Model(true);
    std::size_t Bytes = 0;
    for (auto _ : State) {
        const std::string Text = SaveComponent(*Model.Logic);
        Bytes += Text.size();
        benchmark::DoNotOptimize(Text.data());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(Bytes));
}

template <class TLogic>
void BM_LoadComponent(benchmark::State& State) {
    TModel<TLogic> Source(true);
    const std::string Text = SaveComponent(*Source.Logic);
    TModel<TLogic> Target(false);
    for (auto _ : State) LoadComponent(Text, *Target.Logic);  // replaces the model each time
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Text.size()));
    State.counters["stream_bytes"] = static_cast<double>(Text.size());
}

BENCHMARK(BM_SaveComponent<TFuzzyLogic>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadComponent<TFuzzyLogic>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveComponent<TIFuzzyLogic>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadComponent<TIFuzzyLogic>)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fzl::bench
