// Every event, every state of a set an event names (exact values) and every output the benchmark
// controllers give, cycle by cycle, against a 128-bit FNV-1a hash per cycle in
// tests/data/cycle-recording.txt. FZL_CYCLE_RECORDING=dump:PATH writes the records themselves;
// FZL_CYCLE_RECORDING=write rewrites the recording after an intended change of behaviour.

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "../../bench/MamdaniModel.h"

namespace fzl {
namespace {

void AppendFloat(std::string& Text, double Value) {
    char Buffer[40];
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::hex).ptr;
    Text.append(Buffer, End);
}

void AppendSet(std::string& Text, const TFuzzySet& Set) {
    Text += Set.GetName() + '|' + Set.GetExpression();
    Text += '|' + std::to_string(Set.GetSetType()) + ' ' + std::to_string(Set.GetDefined()) + ' ' +
            std::to_string(Set.GetID()) + ' ' + std::to_string(Set.GetIndex()) + '|';
    for (const TFuzzySetValue* Point : Set.GetValues()) {
        AppendFloat(Text += std::to_string(Point->GetID()) + ':', Point->GetX());
        AppendFloat(Text += ',', Point->GetY());
        Text += ' ';
    }
}

void AppendVariable(std::string& Text, const TFuzzyVariable& Variable) {
    Text += Variable.GetName() + ' ' + std::to_string(Variable.GetItemIndex()) + ' ' +
            std::to_string(Variable.GetItems().Count());
}

// Writes every event of Logic into Text.
void Listen(TFuzzyLogic& Logic, std::string& Text) {
    const auto SetEvent = [&Text, &Logic](const char* Kind) {
        return [&Text, &Logic, Kind](TObject* Sender, TFuzzySet* Set) {
            AppendSet(Text += std::string(Kind) + (Sender == &Logic ? " " : " ?"), *Set);
            Text += "| ";
            if (const TFuzzyVariable* Variable = Set->GetVariable()) AppendVariable(Text, *Variable);
            Text += '\n';
        };
    };
    const auto VariableEvent = [&Text, &Logic](const char* Kind) {
        return [&Text, &Logic, Kind](TObject* Sender, TFuzzyVariable* Variable) {
            AppendVariable(Text += std::string(Kind) + (Sender == &Logic ? " " : " ?"), *Variable);
            Text += '\n';
        };
    };
    Logic.OnChange = [&Text, &Logic](TObject* Sender) { Text += Sender == &Logic ? "C\n" : "C?\n"; };
    Logic.OnFuzzySetAdded = SetEvent("SA");
    Logic.OnFuzzySetChange = SetEvent("SC");
    Logic.OnFuzzySetDeleted = SetEvent("SD");
    Logic.OnVariableAdded = VariableEvent("VA");
    Logic.OnVariableChange = VariableEvent("VC");
    Logic.OnVariableDeleted = VariableEvent("VD");
}

std::string Hash(std::string_view Text) {
    __extension__ typedef unsigned __int128 TUInt128;
    const TUInt128 Prime = (TUInt128(1) << 88) + 0x13B;
    TUInt128 Hash = (TUInt128(0x6C62272E07BB0142ULL) << 64) + 0x62B821756295C58DULL;
    for (const char C : Text) {
        Hash ^= static_cast<unsigned char>(C);
        Hash *= Prime;
    }
    char Buffer[33];
    for (int I = 31; I >= 0; --I, Hash >>= 4) Buffer[I] = "0123456789abcdef"[static_cast<int>(Hash & 15)];
    return std::string(Buffer, 32);
}

struct TVariant {
    const char* Name;
    int Inputs;
    int Terms;
    bool Facts;
    std::size_t RandomCycles;
};

// Inputs at the term vertices, the range's ends and between, then random ones.
std::vector<double> Inputs(const TVariant& Variant) {
    const double Step = 100.0 / (Variant.Terms - 1);
    const std::vector<double> Edges{0.0, Step / 2, Step, 2 * Step, 50.0, 100.0 - 1e-9, 100.0};
    std::vector<double> Values;
    std::vector<std::size_t> Digit(static_cast<std::size_t>(Variant.Inputs), 0);
    for (bool More = true; More;) {
        for (const std::size_t D : Digit) Values.push_back(Edges[D]);
        More = false;
        for (std::size_t& D : Digit) {
            if (++D < Edges.size()) {
                More = true;
                break;
            }
            D = 0;
        }
    }
    const bench::TInputSequence Random(Variant.Inputs, Variant.RandomCycles);
    for (std::size_t I = 0; I < Variant.RandomCycles; ++I)
        Values.insert(Values.end(), Random.Tuple(I), Random.Tuple(I) + Variant.Inputs);
    return Values;
}

// One line per cycle of the variant: the hash of its record.
std::vector<std::string> Record(const TVariant& Variant, std::ostream* Dump) {
    bench::TMamdaniModel Model(Variant.Inputs, Variant.Terms);
    bench::TMamdaniModel Quiet(Variant.Inputs, Variant.Terms);  // no handlers: same results
    std::string Text;
    Listen(Model.Logic(), Text);
    const std::vector<double> Values = Inputs(Variant);
    std::vector<std::string> Lines;
    for (std::size_t At = 0; At < Values.size(); At += static_cast<std::size_t>(Variant.Inputs)) {
        Text.clear();
        const double* X = &Values[At];
        const double Output = Variant.Facts ? Model.CycleWithFacts(X) : Model.Cycle(X);
        const double QuietOutput = Variant.Facts ? Quiet.CycleWithFacts(X) : Quiet.Cycle(X);
        AppendFloat(Text += "out ", Output);
        AppendVariable(Text += ' ', Model.Output());
        Text += Model.Logic().GetNeedsUpdate() ? " stale" : " current";
        for (int I = 0; Variant.Facts && I < Variant.Inputs; ++I)
            for (int T = 0; T < Variant.Terms; ++T) AppendFloat(Text += ' ', Model.Term(I, T)->GetMax());
        Text += '\n';
        EXPECT_EQ(Output, QuietOutput) << Variant.Name << " cycle " << Lines.size();
        EXPECT_EQ(Quiet.Output().GetItemIndex(), Model.Output().GetItemIndex());
        EXPECT_EQ(Quiet.Output().GetItems().Count(), Model.Output().GetItems().Count());
        Lines.push_back(Hash(Text));
        if (Dump != nullptr) *Dump << "== " << Variant.Name << ' ' << Lines.size() - 1 << '\n' << Text;
    }
    return Lines;
}

TEST(CycleRecording, EveryEventSetAndOutputAsRecorded) {
    const std::vector<TVariant> Variants{{"A", 2, 5, false, 2000},
                                         {"A-facts", 2, 5, true, 2000},
                                         {"B", 3, 7, false, 700},
                                         {"B-facts", 3, 7, true, 700}};
    const std::string Path = std::string(FZL_TEST_SOURCE_DIR) + "/data/cycle-recording.txt";
    const char* Mode = std::getenv("FZL_CYCLE_RECORDING");
    const std::string_view ModeText = Mode != nullptr ? Mode : "";
    std::ofstream Dump;
    if (ModeText.starts_with("dump:")) Dump.open(std::string(ModeText.substr(5)));

    std::ostringstream Recorded;
    Recorded
        << "# One 128-bit FNV-1a hash per controller cycle; see tests/FuzzyLogic/CycleRecordingTest.cpp\n";
    for (const TVariant& Variant : Variants) {
        Recorded << '[' << Variant.Name << "]\n";
        for (const std::string& Line : Record(Variant, Dump.is_open() ? &Dump : nullptr))
            Recorded << Line << '\n';
    }
    if (ModeText == "write") {
        std::ofstream(Path) << Recorded.str();
        GTEST_SKIP() << "recording written to " << Path;
    }

    std::ifstream File(Path);
    ASSERT_TRUE(File) << Path;
    std::istringstream Now(Recorded.str());
    std::string Section;
    int Cycle = 0;
    for (std::string Expected, Actual; std::getline(File, Expected);) {
        ASSERT_TRUE(std::getline(Now, Actual)) << "recording has more cycles than the test";
        if (Expected.starts_with('[')) {
            Section = Expected;
            Cycle = -1;
        }
        ASSERT_EQ(Expected, Actual) << Section << " cycle " << Cycle
                                    << " differs; FZL_CYCLE_RECORDING=dump:PATH writes the records";
        ++Cycle;
    }
    std::string Extra;
    EXPECT_FALSE(std::getline(Now, Extra)) << "the test has more cycles than the recording";
}

}  // namespace
}  // namespace fzl
