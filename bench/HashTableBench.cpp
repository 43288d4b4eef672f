// Benchmarks of the name-keyed hash table: lookup by name and loops by index over the
// sets of a reference-counted variable, and building a bare table.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXGenerics/StringHashTable.h>
#include <fzl/support/Interfaced.h>

namespace fzl::bench {
namespace {

class INumber : public IInterface {
public:
    using TInterface = INumber;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{05E072F6-90A4-4C58-9787-6951103E5A39}");
    [[nodiscard]] virtual int Value() const = 0;

protected:
    ~INumber() = default;
};

class TNumber final : public TInterfaced<TObject, INumber> {
public:
    explicit TNumber(int Value) : FValue(Value) {}
    [[nodiscard]] int Value() const override { return FValue; }

private:
    int FValue;
};

using TTable = TVXStringHashTable<INumber>;

/// A table of Count entries named "set0" .. and those names in a shuffled order.
struct TFilledTable {
    TOwned<TTable> Table = Make<TTable>();
    std::vector<std::string> Names;
    explicit TFilledTable(int Count) {
        for (int N = 0; N < Count; ++N) {
            Names.push_back("set" + std::to_string(N));
            Table->Add(Names.back(), MakeIntf<TNumber>(N));
        }
        std::shuffle(Names.begin(), Names.end(), std::mt19937(7));
    }
};

/// A variable holding Count sets named "set0" .., and those names in a shuffled order.
struct TFilledVariable {
    TIntfPtr<IFuzzyVariable> Variable = MakeIntf<TIFuzzyVariable>("x");
    std::vector<std::string> Names;
    explicit TFilledVariable(int Count) {
        Variable->SetMaximum(static_cast<double>(Count));
        for (int N = 0; N < Count; ++N) {
            Names.push_back("set" + std::to_string(N));
            Variable->Add(Names.back())->CreateTriangleFunctionValues(N, N + 0.5, N + 1.0);
        }
        std::shuffle(Names.begin(), Names.end(), std::mt19937(7));
    }
};

// Lookup by name in a variable's table of real sets (a counted reference handed out).
void BM_HashTableGetByName(benchmark::State& State) {
    const TFilledVariable Filled(static_cast<int>(State.range(0)));
    std::size_t Next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Filled.Variable->GetFuzzySetByName(Filled.Names[Next])->GetCount());
        Next = Next + 1 == Filled.Names.size() ? 0 : Next + 1;
    }
}
BENCHMARK(BM_HashTableGetByName)->Arg(10000);

// The lookup that answers nil for a missing name.
void BM_HashTableContainsFuzzySet(benchmark::State& State) {
    const TFilledVariable Filled(static_cast<int>(State.range(0)));
    std::size_t Next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Filled.Variable->ContainsFuzzySet(Filled.Names[Next]));
        Next = Next + 1 == Filled.Names.size() ? 0 : Next + 1;
    }
}
BENCHMARK(BM_HashTableContainsFuzzySet)->Arg(10000);

void BM_HashTableMissByName(benchmark::State& State) {
    const TFilledVariable Filled(static_cast<int>(State.range(0)));
    const std::string Missing = "no such set";
    for (auto _ : State) benchmark::DoNotOptimize(Filled.Variable->ContainsFuzzySet(Missing));
}
BENCHMARK(BM_HashTableMissByName)->Arg(10000);

// One iteration reads every set of the variable by index, 0 .. Count - 1: linear overall.
void BM_HashTableIndexLoop(benchmark::State& State) {
    const TFilledVariable Filled(static_cast<int>(State.range(0)));
    const IFuzzyVariable& Variable = *Filled.Variable;
    for (auto _ : State) {
        long Sum = 0;
        for (int Index = 0; Index < Variable.GetCount(); ++Index)
            Sum += Variable.GetFuzzySet(Index)->GetCount();
        benchmark::DoNotOptimize(Sum);
    }
    State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_HashTableIndexLoop)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN);

// The same walk with the table's iterator, for comparison.
void BM_HashTableRangeLoop(benchmark::State& State) {
    const TFilledVariable Filled(static_cast<int>(State.range(0)));
    const TIFuzzySets& Sets = DownCast<TIFuzzyVariable>(Filled.Variable.Get())->GetItems();
    for (auto _ : State) {
        long Sum = 0;
        for (const auto& Item : Sets) Sum += Item.Value->GetCount();
        benchmark::DoNotOptimize(Sum);
    }
}
BENCHMARK(BM_HashTableRangeLoop)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_HashTableBuild(benchmark::State& State) {
    const TFilledTable Filled(static_cast<int>(State.range(0)));
    std::vector<TIntfPtr<INumber>> Values;
    for (int N = 0; N < State.range(0); ++N) Values.push_back(MakeIntf<TNumber>(N));
    for (auto _ : State) {
        auto Table = Make<TTable>();
        for (std::size_t N = 0; N < Values.size(); ++N) Table->Put(Filled.Names[N], Values[N]);
        benchmark::DoNotOptimize(Table->Count());
    }
}
BENCHMARK(BM_HashTableBuild)->Arg(10000);

}  // namespace
}  // namespace fzl::bench
