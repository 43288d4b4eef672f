#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>

#include <fzl/fzl.h>

#include "../../examples/FanController.h"
#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

std::string ReadExample(const std::string& Name) {
    std::ifstream File(FZL_TEST_SOURCE_DIR "/../examples/" + Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), {}};
}

/// A component of either model with its parser and a rule base over it.
template <class TLogic, class TRuleBase>
struct TRuleModel : test::TParsed<TLogic> {
    TOwned<TRuleBase> Rules;

    explicit TRuleModel(const std::string& Model, bool AutoTerms = true) : test::TParsed<TLogic>(AutoTerms) {
        this->Parser->Parse(Model);
        Rules = Make<TRuleBase>(this->Logic.get());
    }
};
using TClassModel = TRuleModel<TFuzzyLogic, TFuzzyRuleBase>;
using TRefModel = TRuleModel<TIFuzzyLogic, TIFuzzyRuleBase>;

constexpr const char* SmallModel =
    "(deffuzzy t (range 0 10) (values (term cold (tri 0 0 5)) (term hot (tri 5 10 10))))\n"
    "(deffuzzy f (range 0 100) (values (term slow (tri 0 0 50)) (term fast (tri 50 100 100))))";

TEST(FuzzyRuleBase, TextFanControllerIsTheCppOneInBothModels) {
    examples::TFanController Cpp;
    TClassModel Class(ReadExample("fan_controller.fzl"));
    TRefModel Ref(ReadExample("fan_controller.fzl"));
    const auto AsTheCppOne = [](auto& Model) {
        Model.Logic->SetCorrelationMethod(fcmProduct);
        Model.Logic->SetThreshold(1e-9);
        Model.Rules->SetRules(ReadExample("fan_controller.rules"));
    };
    AsTheCppOne(Class);
    AsTheCppOne(Ref);
    ASSERT_EQ(Class.Rules->GetRules().size(), 12U);
    EXPECT_EQ(Class.Rules->GetInputNames(), (std::vector<std::string>{"temperature", "humidity"}));
    EXPECT_EQ(Class.Rules->GetOutputNames(), std::vector<std::string>{"fan"});
    for (double Temperature = 0; Temperature <= 40; Temperature += 1) {
        for (double Humidity = 0; Humidity <= 100; Humidity += 5) {
            const std::map<std::string, TFzyFloat> Inputs{{"temperature", Temperature},
                                                          {"humidity", Humidity}};
            const auto FromClass = Class.Rules->Evaluate(Inputs);
            const auto FromRef = Ref.Rules->Evaluate(Inputs);
            ASSERT_TRUE(FromClass.at(0).Value) << Temperature << ", " << Humidity;
            EXPECT_NEAR(*FromClass[0].Value, Cpp.Speed(Temperature, Humidity), 1e-9)
                << Temperature << ", " << Humidity;
            EXPECT_EQ(FromRef.at(0).Value, FromClass[0].Value) << Temperature << ", " << Humidity;
        }
    }
}

template <class TModel>
void CheckFiringDefaultsAndErrors() {
    TModel Model(SmallModel, false);
    Model.Rules->SetRules("IF t IS cold THEN f IS slow\n\nIF t IS very hot THEN f IS fast");
    // At 5 neither cold nor hot holds: no rule fires, and no number is made up.
    auto Outputs = Model.Rules->Evaluate({{"t", 5}});
    EXPECT_FALSE(Outputs.at(0).Fired);
    EXPECT_FALSE(Outputs[0].Value);
    Outputs = Model.Rules->Evaluate(TFuzzyInputs{{{"t", 5}}, {}, {{"f", 42}}});
    EXPECT_TRUE(Outputs[0].Defaulted);
    EXPECT_EQ(Outputs[0].Value, 42);
    // At 7.5 very hot, squared on hot's points resampled at 6, 7, 8, ..., is between 0.16 and
    // 0.36: 0.26; the threshold is the component's 0.01.
    Outputs = Model.Rules->Evaluate({{"t", 7.5}});
    EXPECT_EQ(Model.Rules->GetRuleStates()[0].Strength, 0);
    EXPECT_FALSE(Model.Rules->GetRuleStates()[0].Fired);
    const TFzyFloat Strength = Model.Rules->GetRuleStates()[1].Strength;
    EXPECT_NEAR(Strength, 0.26, 1e-12);
    EXPECT_TRUE(Model.Rules->GetRuleStates()[1].Fired);
    // Clipped at 0.26, the fast triangle's centre of gravity lies right of its peak's middle.
    ASSERT_TRUE(Outputs[0].Value);
    EXPECT_GT(*Outputs[0].Value, 75);
    // A strength exactly at the threshold fires; a fact may be an expression.
    Model.Logic->SetThreshold(Strength);
    EXPECT_TRUE(Model.Rules->Evaluate({{"t", 7.5}})[0].Fired);
    Model.Logic->SetThreshold(std::nextafter(Strength, 1.0));
    EXPECT_FALSE(Model.Rules->Evaluate({{"t", 7.5}})[0].Fired);
    Outputs = Model.Rules->Evaluate(TFuzzyInputs{{}, {{"t", "somewhat cold"}}, {}});
    EXPECT_DOUBLE_EQ(Model.Rules->GetRuleStates()[0].Strength, 1);
    // Inputs out of the range are clamped into it: 12 reads as 10, where hot is 1.
    (void)Model.Rules->Evaluate({{"t", 12}});
    EXPECT_DOUBLE_EQ(Model.Rules->GetRuleStates()[1].Strength, 1);

    // Errors name the rule's line, or the input.
    const auto RulesError = [&](const std::string& Rules) {
        return test::ParseErrorOf([&] { Model.Rules->SetRules(Rules); });
    };
    EXPECT_EQ(
        RulesError("IF t IS cold THEN f IS slow\nIF speed IS cold THEN f IS slow"),
        "Parsing Error, Unknown Fuzzy Variable name: \"speed\" in ParseRule at line 2: \"IF speed IS cold "
        "THEN f IS slow\" @2");
    EXPECT_EQ(
        RulesError(";\n;\nIF t IS frost THEN f IS slow"),
        "Parsing Error, Invalid item in fuzzy expression: frost (in \"t IS frost\") in ParseRule at line 3: "
        "\"IF t IS frost THEN f IS slow\" @3");
    EXPECT_TRUE(Model.Rules->GetRules().empty());  // a failed SetRules leaves no rules
    Model.Rules->SetRules("IF t IS cold THEN f IS slow");
    const auto InputError = [&](const TFuzzyInputs& Inputs) {
        return test::ErrorOf([&] { (void)Model.Rules->Evaluate(Inputs); });
    };
    EXPECT_EQ(InputError({}), "No input for variable \"t\", which the rules' premises use");
    EXPECT_EQ(InputError({{{"t", 1}, {"speed", 2}}, {}, {}}), "Unknown Fuzzy Variable name: \"speed\"");
    EXPECT_EQ(InputError({{{"t", 1}}, {{"t", "cold"}}, {}}),
              "Two inputs for variable \"t\": a number and a fact");
    EXPECT_EQ(InputError({{{"t", 1.0 / 0.0}}, {}, {}}),
              "Invalid input for variable \"t\": not a finite number");
    EXPECT_EQ(InputError({{}, {{"t", "frost"}}, {}}),
              "Invalid item in fuzzy expression: frost (in the fact for \"t\")");
    EXPECT_EQ(InputError({{{"t", 1}, {"f", 3}}, {}, {}}),
              "no exception");  // an input no premise uses is ignored
}

TEST(FuzzyRuleBase, FiresAtTheThresholdSaysWhenNothingFiredAndNamesWhatIsWrong) {
    CheckFiringDefaultsAndErrors<TClassModel>();
    CheckFiringDefaultsAndErrors<TRefModel>();
}

TEST(FuzzyRuleBase, OwnsEverySetItMakes) {
    const std::int64_t Alive = LiveRefCountedObjects();
    {
        TClassModel Class(SmallModel, false);
        TRefModel Ref(SmallModel, false);
        const char* Rules =
            "IF t IS very cold and not hot THEN f IS somewhat slow\nIF t IS hot THEN f IS fast * 0.5";
        Class.Rules->SetRules(Rules);
        Ref.Rules->SetRules(Rules);
        TFuzzyVariable& F = *Class.Logic->GetItems().GetItemByName("f");
        const int Bound = F.GetItems().Count();
        for (int Cycle = 0; Cycle < 50; ++Cycle) {
            const TFuzzyInputs Inputs{{}, {{"t", Cycle % 2 == 0 ? "(tri 1 2 3)" : "very hot"}}, {}};
            EXPECT_EQ(Class.Rules->Evaluate(Inputs)[0].Value, Ref.Rules->Evaluate(Inputs)[0].Value);
        }
        // One conclusion more than when bound; nothing piles up.
        EXPECT_EQ(F.GetItems().Count(), Bound + 1);
        ASSERT_NE(Class.Rules->GetConclusion(0), nullptr);
        EXPECT_FALSE(Class.Rules->GetConclusion(0)->GetDefined());
        Class.Rules.reset();
        EXPECT_EQ(F.GetItems().Count(), 2);  // its own sets only
        // A rule base whose component went raises instead of reaching freed variables.
        auto Orphan = Make<TIFuzzyRuleBase>(Ref.Logic.get());
        Ref.Parser.reset();
        Ref.Logic.reset();
        EXPECT_THROW((void)Orphan->Evaluate({{"t", 1}}), EFzyException);
    }
    EXPECT_EQ(LiveRefCountedObjects(), Alive);
}

// Three inputs of six terms (five triangles and a spike, zero but at 50) and their full grid: 216
// rules, more than one word of the index of stopped rules. Inputs at the terms' edges, on the spike
// and just beside it; thresholds switching between 0 (every rule fires), a small one and 0.5.
constexpr const char* GridTerms =
    "(values (term t0 (tri 0 0 25)) (term t1 (tri 0 25 50)) (term t2 (tri 25 50 75))"
    " (term t3 (tri 50 75 100)) (term t4 (tri 75 100 100)) (term s (tri 50 50 50))))";
constexpr const char* GridTermNames[] = {"t0", "t1", "t2", "t3", "t4", "s"};

std::string GridModel() {
    std::string Model;
    for (const char* Name : {"a", "b", "c", "o"}) {
        Model += "(deffuzzy ";
        Model += Name;
        Model += " (range 0 100) ";
        Model += GridTerms;
    }
    return Model;
}

std::string GridRules() {
    std::string Rules;
    for (int C = 0; C < 6; ++C)
        for (int B = 0; B < 6; ++B)
            for (int A = 0; A < 6; ++A) {
                Rules += "IF a IS ";
                Rules += GridTermNames[A];
                Rules += " AND b IS ";
                Rules += GridTermNames[B];
                Rules += " AND c IS ";
                Rules += GridTermNames[C];
                Rules += " THEN o IS t";
                Rules += std::to_string((A + B + C) % 5);
                Rules += '\n';
            }
    return Rules;
}

TEST(FuzzyRuleBase, RulesWithAPremiseAtZeroGetTheStatesFiringWouldGive) {
    TClassModel Class(GridModel(), false);
    TRefModel Ref(GridModel(), false);
    Class.Rules->SetRules(GridRules());
    Ref.Rules->SetRules(GridRules());
    // The strength of each term of Variable at X, read as the rule base reads a number.
    const auto TermStrengths = [&](const char* Variable, double X) {
        std::array<TFzyFloat, 6> Strengths{};
        TFuzzySets& Terms = Class.Logic->GetItems().GetItemByName(Variable)->GetItems();
        for (int Index = 0; Index < 6; ++Index)
            Strengths[static_cast<std::size_t>(Index)] =
                Terms.GetItemByName(GridTermNames[Index])->GetCrispCorrelationStrength(X);
        return Strengths;
    };
    const double Xs[] = {0, 12.5, 49.99995, 50, 50.0002, 100};
    const double Thresholds[] = {0.01, 0, 0.5, 0};
    int Evaluation = 0;
    for (const double A : Xs) {
        for (const double B : Xs) {
            for (const double C : Xs) {
                const double Threshold = Thresholds[Evaluation++ % 4];
                Class.Logic->SetThreshold(Threshold);
                Ref.Logic->SetThreshold(Threshold);
                const std::map<std::string, TFzyFloat> Inputs{{"a", A}, {"b", B}, {"c", C}};
                const auto FromClass = Class.Rules->Evaluate(Inputs);
                const auto FromRef = Ref.Rules->Evaluate(Inputs);
                ASSERT_EQ(FromClass.at(0).Value, FromRef.at(0).Value) << A << ", " << B << ", " << C;
                bool AnyFired = false;
                const auto OfA = TermStrengths("a", A);
                const auto OfB = TermStrengths("b", B);
                const auto OfC = TermStrengths("c", C);
                for (std::size_t Rule = 0; Rule < 216; ++Rule) {
                    const TFzyFloat Expected = std::min({OfA[Rule % 6], OfB[Rule / 6 % 6], OfC[Rule / 36]});
                    for (const auto* States : {&Class.Rules->GetRuleStates(), &Ref.Rules->GetRuleStates()}) {
                        const TFuzzyRuleState& State = States->at(Rule);
                        ASSERT_EQ(State.Strength, Expected) << Rule << " at " << A << ", " << B << ", " << C;
                        ASSERT_FALSE(std::signbit(State.Strength));
                        ASSERT_EQ(State.Fired, Expected >= Threshold)
                            << Rule << " at " << A << ", " << B << ", " << C;
                    }
                    AnyFired = AnyFired || Expected >= Threshold;
                }
                EXPECT_EQ(FromClass[0].Fired, AnyFired);
            }
        }
    }
}

// A handler run by a firing rule lowers the threshold to 0: from then on rules at strength 0 fire.
TEST(FuzzyRuleBase, AThresholdLoweredWhileFiringCountsForTheRulesAfter) {
    TClassModel Model(SmallModel, false);
    Model.Rules->SetRules(
        "IF t IS hot THEN f IS slow\nIF t IS cold THEN f IS fast\nIF t IS hot THEN f IS fast\n"
        "IF t IS cold THEN f IS slow");
    Model.Logic->SetThreshold(0.5);
    Model.Logic->OnFuzzySetAdded = [&](TObject*, TFuzzySet*) { Model.Logic->SetThreshold(0); };
    (void)Model.Rules->Evaluate({{"t", 2}});  // cold 0.6, hot 0
    const auto& States = Model.Rules->GetRuleStates();
    EXPECT_FALSE(States.at(0).Fired);  // before any handler ran
    EXPECT_TRUE(States[1].Fired);
    EXPECT_EQ(States[2].Strength, 0);
    EXPECT_TRUE(States[2].Fired);  // at strength 0, after the threshold went to 0
    EXPECT_TRUE(States[3].Fired);
}

// Numbers are matched to the premises' variables by name, whatever the order of first use, with
// names that other names begin with and inputs for variables no premise uses among them.
TEST(FuzzyRuleBase, NumbersReachTheirOwnVariables) {
    TClassModel Model(
        "(deffuzzy x (range 0 10) (values (term lo (tri 0 0 10)) (term hi (tri 0 10 10))))"
        "(deffuzzy x2 (range 0 10) (values (term lo (tri 0 0 10)) (term hi (tri 0 10 10))))"
        "(deffuzzy w (range 0 10) (values (term lo (tri 0 0 10))))"
        "(deffuzzy f (range 0 10) (values (term lo (tri 0 0 10))))",
        false);
    Model.Rules->SetRules("IF x2 IS hi AND x IS lo THEN f IS lo\nIF x IS hi THEN f IS lo");
    const auto Strengths = [&](const TFuzzyInputs& Inputs) {
        (void)Model.Rules->Evaluate(Inputs);
        return std::make_pair(Model.Rules->GetRuleStates().at(0).Strength,
                              Model.Rules->GetRuleStates()[1].Strength);
    };
    EXPECT_EQ(Strengths({{{"w", 1}, {"x", 2.5}, {"x2", 10}}, {}, {}}), std::make_pair(0.75, 0.25));
    EXPECT_EQ(Strengths({{{"x", 7.5}, {"x2", 2.5}}, {}, {}}), std::make_pair(0.25, 0.75));
    EXPECT_EQ(Strengths({{{"x2", 5}, {"w", 3}}, {{"x", "(tri 2.5 2.5 2.5)"}}, {}}),
              std::make_pair(0.5, 0.25));
    EXPECT_EQ(Strengths({{{"x", 5}, {"f", 7}, {"x2", 10}}, {}, {}}), std::make_pair(0.5, 0.5));
}

TEST(FuzzyRuleBase, GuideExample) {
    // [guide:rules-as-text]
    auto Logic = Make<TFuzzyLogic>(nullptr);
    auto Parser = Make<TVXFuzzyLogicParser>(nullptr);  // reads the model and the rules' expressions
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    Logic->SetAutoTerms(false);
    Parser->Parse(
        "(deffuzzy temperature (range 0 40) (values (term cool (tri 8 16 24)) (term warm (tri 18 25 32))))"
        "(deffuzzy fan (range 0 100) (values (term low (tri 5 25 45)) (term high (tri 55 75 95))))");

    auto Rules = Make<TFuzzyRuleBase>(Logic.get());  // owns every set it makes
    Rules->SetRules(
        "IF temperature IS cool THEN fan IS low    ; one rule a line\n"
        "IF temperature IS very warm THEN fan IS high");

    std::vector<TFuzzyOutput> Outputs = Rules->Evaluate({{"temperature", 22}});
    double Speed = *Outputs[0].Value;                                // fan: 54.1391
    double Strength = Rules->GetRuleStates()[1].Strength;            // very warm at 22: 0.3492
    const TFuzzySet* Conclusion = Rules->GetConclusion(0);           // the rule base's, not yours
    bool Nothing = !Rules->Evaluate({{"temperature", 2}})[0].Value;  // true: no rule fired
    // [/guide:rules-as-text]
    EXPECT_NEAR(Speed, 54.1391, 5e-5);
    EXPECT_NEAR(Strength, 0.3492, 5e-5);
    EXPECT_NE(Conclusion, nullptr);
    EXPECT_TRUE(Nothing);
}

}  // namespace
}  // namespace fzl
