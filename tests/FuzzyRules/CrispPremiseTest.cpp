// A crisp input is measured on the premise sets directly, without a fact set. Random premises
// (vertical steps, runs of points within the tolerance, points at and beyond the range ends,
// hedges and operations on them) at random inputs (at the points, within and just beyond the
// tolerance of them, at the range ends and outside) give, to the bit, the strengths of the same
// number given as the fact (tri v v v): the sweep against the spike the crisp input once made.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include <fzl/fzl.h>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

struct TRandom {
    std::mt19937 Engine{20261206};
    double U(double Low, double High) { return std::uniform_real_distribution<double>(Low, High)(Engine); }
    int Int(int N) { return static_cast<int>(U(0, N)); }  // 0 .. N - 1
    bool Chance(double P) { return U(0, 1) < P; }
    double Degree() { return Chance(0.4) ? Int(5) / 4.0 : U(0, 1); }
};

/// V exactly: the shortest text that reads back as the same double.
std::string Exactly(double V) {
    char Buffer[32];
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, V).ptr;
    return {Buffer, End};
}

// Steps lie within the tolerance (1e-4) and just beyond it.
constexpr double Near[] = {0, 0.5e-4, 1e-4, 1.00001e-4, 1.5e-4, 2.5e-4};

/// A term's points: X anywhere in and around [Min, Max] (clamped when outside), at the ends, or
/// near the previous X (steps and runs within the tolerance).
std::vector<std::pair<double, double>> RandomPoints(TRandom& Random, double Min, double Max) {
    std::vector<std::pair<double, double>> Points;
    double X = Random.U(Min - 5, Max);
    for (int Count = 1 + Random.Int(7); Count > 0; --Count) {
        const int Kind = Random.Int(10);
        if (Kind == 0)
            X = Min;
        else if (Kind == 1)
            X = Max;
        else if (Kind < 5)
            X += Near[Random.Int(6)];
        else
            X += Random.U(0, (Max - Min) / 2);
        Points.emplace_back(X, Random.Degree());
    }
    return Points;
}

std::string TermText(const std::string& Name, const std::vector<std::pair<double, double>>& Points) {
    std::string Text = "(term ";
    Text += Name;
    Text += " (";
    for (const auto& [X, Y] : Points) {
        Text += '(';
        Text += Exactly(X);
        Text += ' ';
        Text += Exactly(Y);
        Text += ')';
    }
    Text += "))";
    return Text;
}

/// The inputs worth trying on a premise: at each point, near it, at and beyond the ends, between.
std::vector<double> Inputs(TRandom& Random, const std::vector<std::pair<double, double>>& Points, double Min,
                           double Max) {
    std::vector<double> Result{Min, Max, Min - 1, Max + 3, Random.U(Min, Max)};
    for (const auto& [X, Y] : Points)
        for (const double D : Near) {
            Result.push_back(X + D);
            Result.push_back(X - D);
        }
    return Result;
}

constexpr const char* Rules =
    "IF x IS p THEN y IS a\n"
    "IF x IS very p THEN y IS a\n"
    "IF x IS p or q THEN y IS a\n"
    "IF x IS not q THEN y IS a\n"
    "IF x IS somewhat q and p THEN y IS a";

std::uint64_t Bits(double V) { return std::bit_cast<std::uint64_t>(V); }

template <class TLogic, class TRuleBase>
void CheckAgainstTheSpike(const std::string& Model, const std::vector<double>& Values,
                          const std::string& Trial) {
    test::TParsed<TLogic> Parsed;
    Parsed.Parse(Model);
    auto RuleBase = Make<TRuleBase>(Parsed.Logic.get());
    RuleBase->SetRules(Rules);
    const auto LastStrengthOfP = [&] {
        if constexpr (std::is_same_v<TLogic, TFuzzyLogic>)
            return Parsed.Logic->GetItems().GetItemByName("x")->GetItems().GetItemByName("p")->GetMax();
        return 0.0;
    };
    for (const double V : Values) {
        const std::string Spike3 = Exactly(V) + " " + Exactly(V) + " " + Exactly(V);
        (void)RuleBase->Evaluate(TFuzzyInputs{{}, {{"x", "(tri " + Spike3 + ")"}}, {}});
        const std::vector<TFuzzyRuleState> Spike = RuleBase->GetRuleStates();
        const double SpikeMax = LastStrengthOfP();
        (void)RuleBase->Evaluate({{"x", V}});
        const std::vector<TFuzzyRuleState>& Crisp = RuleBase->GetRuleStates();
        // The premise set keeps its last correlation strength as the sweep left it.
        ASSERT_EQ(Bits(LastStrengthOfP()), Bits(SpikeMax)) << Trial << "\nat " << Exactly(V);
        if constexpr (std::is_same_v<TLogic, TFuzzyLogic>) {
            // Rule 0's premise is p itself; against the spike made as a crisp input once was.
            TFuzzyVariable& X = *Parsed.Logic->GetItems().GetItemByName("x");
            TOwned<TFuzzySet> Fact(X.GetItems().Add());
            Fact->CreateTriangleFunctionValues(V, V, V);
            ASSERT_EQ(Bits(Crisp[0].Strength),
                      Bits(X.GetItems().GetItemByName("p")->GetCorrelationStrength(*Fact)))
                << Trial << "\nat " << Exactly(V);
        }
        for (std::size_t Rule = 0; Rule < Spike.size(); ++Rule) {
            ASSERT_EQ(Bits(Crisp[Rule].Strength), Bits(Spike[Rule].Strength))
                << Trial << "\nrule " << Rule << " at " << Exactly(V) << ": " << Crisp[Rule].Strength
                << " against " << Spike[Rule].Strength;
            ASSERT_EQ(Crisp[Rule].Fired, Spike[Rule].Fired);
        }
    }
}

TEST(CrispPremise, StrengthIsTheSweepAgainstTheSpikeToTheBitInBothModels) {
    TRandom Random;
    for (int Trial = 0; Trial < 60; ++Trial) {
        const double Min = Random.Chance(0.2) ? 0 : Random.U(-50, 10);
        const double Max = Min + (Random.Chance(0.1) ? Random.U(0.0005, 0.01) : Random.U(1, 60));
        const auto P = RandomPoints(Random, Min, Max);
        const auto Q = RandomPoints(Random, Min, Max);
        const std::string Model = "(deffuzzy x (range " + Exactly(Min) + " " + Exactly(Max) + ") (values " +
                                  TermText("p", P) + " " + TermText("q", Q) +
                                  "))(deffuzzy y (range 0 1) (values (term a (tri 0 0.5 1))))";
        std::vector<double> Values = Inputs(Random, P, Min, Max);
        for (const double V : Inputs(Random, Q, Min, Max)) Values.push_back(V);
        CheckAgainstTheSpike<TFuzzyLogic, TFuzzyRuleBase>(Model, Values, Model);
        CheckAgainstTheSpike<TIFuzzyLogic, TIFuzzyRuleBase>(Model, Values, Model);
        if (HasFatalFailure()) return;
    }
}

// Only an expression fact is a set: a crisp input adds none to its variable, so the variable's
// set events come from the conclusion alone.
TEST(CrispPremise, ACrispInputMakesNoSet) {
    test::TClassParsed Parsed;
    Parsed.Parse(
        "(deffuzzy t (range 0 10) (values (term cold (tri 0 0 5))))"
        "(deffuzzy f (range 0 10) (values (term slow (tri 0 0 5))))");
    auto Rules = Make<TFuzzyRuleBase>(Parsed.Logic.get());
    Rules->SetRules("IF t IS cold THEN f IS slow");
    int InputSetEvents = 0;
    const auto CountInT = [&](TObject*, TFuzzySet* Set) {
        if (Set->GetVariable()->GetName() == "t") ++InputSetEvents;
    };
    Parsed.Logic->OnFuzzySetAdded = CountInT;
    Parsed.Logic->OnFuzzySetDeleted = CountInT;
    EXPECT_DOUBLE_EQ(*Rules->Evaluate({{"t", 2.5}})[0].Value, *Rules->Evaluate({{"t", 2.5}})[0].Value);
    EXPECT_EQ(Rules->GetRuleStates()[0].Strength, 0.5);
    EXPECT_EQ(InputSetEvents, 0);
    // An evaluation that fails on its inputs leaves the states cleared, as before it began.
    EXPECT_THROW((void)Rules->Evaluate(TFuzzyInputs{}), EFzyException);
    EXPECT_EQ(Rules->GetRuleStates()[0].Strength, 0);
    (void)Rules->Evaluate(TFuzzyInputs{{}, {{"t", "(tri 2.5 2.5 2.5)"}}, {}});
    EXPECT_EQ(Rules->GetRuleStates()[0].Strength, 0.5);
    EXPECT_EQ(InputSetEvents, 1);  // the fact joins t; it goes at the next evaluation
    // A premise without points: the sweep finds the fact's own height, 1, and so does a number.
    Parsed.Logic->GetItems().GetItemByName("t")->GetItems().GetItemByName("cold")->GetValues().Clear();
    (void)Rules->Evaluate(TFuzzyInputs{{}, {{"t", "(tri 7 7 7)"}}, {}});
    EXPECT_EQ(Rules->GetRuleStates()[0].Strength, 1);
    (void)Rules->Evaluate({{"t", 7}});
    EXPECT_EQ(Rules->GetRuleStates()[0].Strength, 1);
}

// A variable class of the application's may do more in AssertRule than the library's, so its
// rules are handed over also below the threshold.
class TCountingVariable : public TFuzzyVariable {
public:
    using TFuzzyVariable::AssertRule;
    using TFuzzyVariable::TFuzzyVariable;
    static inline int Calls = 0;
    TOwned<TFuzzySet> AssertRule(TFzyFloat Strength, const TFuzzySet& Consequent,
                                 TFuzzySet* Conclusion) override {
        ++Calls;
        return TFuzzyVariable::AssertRule(Strength, Consequent, Conclusion);
    }

protected:
    ~TCountingVariable() override = default;
};

class TCountingVariables : public TFuzzyVariables {
public:
    explicit TCountingVariables(TFuzzyLogic* Owner)
        : TFuzzyVariables(Owner, TFuzzyVariableClass::Of<TCountingVariable>()) {}

protected:
    ~TCountingVariables() override = default;
};

TEST(CrispPremise, ADescendantVariableSeesEveryRule) {
    auto Logic = Make<TFuzzyLogic>(nullptr, TFuzzyVariablesClass::Of<TCountingVariables>());
    auto Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    Logic->SetAutoTerms(false);
    Parser->ParseFuzzyLogic(
        "(deffuzzy t (range 0 10) (values (term cold (tri 0 0 5)) (term hot (tri 5 10 10))))"
        "(deffuzzy f (range 0 10) (values (term slow (tri 0 0 5))))");
    auto Rules = Make<TFuzzyRuleBase>(Logic.get());
    Rules->SetRules("IF t IS cold THEN f IS slow\nIF t IS hot THEN f IS slow");
    TCountingVariable::Calls = 0;
    (void)Rules->Evaluate({{"t", 1}});
    EXPECT_FALSE(Rules->GetRuleStates()[1].Fired);  // hot is 0 at 1, below the threshold
    EXPECT_EQ(TCountingVariable::Calls, 2);
}

// A set class of the application's may measure its own way: a crisp input is then measured
// through its GetCorrelationStrength against the spike, as it always was.
class TCountingSet : public TIFuzzySet {
public:
    using TIFuzzySet::GetCorrelationStrength;
    using TIFuzzySet::TIFuzzySet;
    static inline int Calls = 0;
    TFzyFloat GetCorrelationStrength(const TIntfPtr<IFuzzySet>& FuzzySet) override {
        ++Calls;
        return TIFuzzySet::GetCorrelationStrength(FuzzySet);
    }

protected:
    ~TCountingSet() override = default;
};

TEST(CrispPremise, ADescendantSetMeasuresItsOwnWay) {
    test::TIntfParsed Parsed;
    Parsed.Parse("(deffuzzy t (range 0 10))(deffuzzy f (range 0 10) (values (term slow (tri 0 0 5))))");
    const TIntfPtr<IFuzzyVariable> T = Parsed.Logic->GetItems().ContainsVariable("t");
    const TIntfPtr<IFuzzySet> Own = MakeIntf<TCountingSet>(T, "own");
    Own->CreateTriangleFunctionValues(2, 4, 8);
    Own->SetDefined(true);  // a term of t, found by name
    T->Add(Own);
    auto Rules = Make<TIFuzzyRuleBase>(Parsed.Logic.get());
    Rules->SetRules("IF t IS own THEN f IS slow");
    TCountingSet::Calls = 0;
    for (const double V : {3.0, 4.00005, 12.0}) {
        (void)Rules->Evaluate({{"t", V}});
        const TFzyFloat Crisp = Rules->GetRuleStates()[0].Strength;
        (void)Rules->Evaluate(
            TFuzzyInputs{{}, {{"t", "(tri " + Exactly(V) + " " + Exactly(V) + " " + Exactly(V) + ")"}}, {}});
        EXPECT_EQ(Bits(Crisp), Bits(Rules->GetRuleStates()[0].Strength)) << V;
    }
    EXPECT_EQ(TCountingSet::Calls, 6);
}

}  // namespace
}  // namespace fzl
