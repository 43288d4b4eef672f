#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

using test::AddTriangle;
using test::ErrorOf;
using test::MakeVariable;
using test::NamesOf;
using test::TextOf;

/// Records a variable's events as "added x", "deleted x", "change x", "OnChange", "variable".
struct TVariableEvents {
    std::vector<std::string> Log;
    explicit TVariableEvents(IFuzzyVariable& Variable) {
        const auto Named = [this](const char* What) {
            return [this, What](const TIntfPtr<IFuzzyVariable>&, const TIntfPtr<IFuzzySet>& Set) {
                Log.push_back(std::string(What) + " " + Set->GetName());
            };
        };
        Variable.SetOnFuzzySetAdded(Named("added"));
        Variable.SetOnFuzzySetDeleted(Named("deleted"));
        Variable.SetOnFuzzySetChange(Named("change"));
        Variable.SetOnChange([this](TObject*) { Log.emplace_back("OnChange"); });
        Variable.SetOnVariableChange(
            [this](const TIntfPtr<IFuzzyVariable>&) { Log.emplace_back("variable"); });
    }
};

TEST(FuzzyVariableIntf, DefaultsEventsAndNumbering) {
    const auto Variable = MakeIntf<TIFuzzyVariable>("temp");
    EXPECT_EQ(std::tuple(Variable->GetMinimum(), Variable->GetMaximum(), Variable->GetNumFunctionValues(),
                         Variable->GetThreshold(), Variable->GetCount()),
              std::tuple(0.0, 1.0, 7, 0.0, 0));

    TVariableEvents Events(*Variable);
    const TIntfPtr<IFuzzySet> Low = Variable->Add("low");
    Low->Add(0, 1);
    Variable->SetUnits("C");
    Variable->SetName("t");
    Variable->SetMaximum(-5);  // drags Minimum down: two changes
    EXPECT_EQ(Variable->GetMinimum(), -5);
    EXPECT_EQ(Events.Log,
              (std::vector<std::string>{"added low", "OnChange", "variable", "change low", "OnChange",
                                        "variable", "OnChange", "variable", "OnChange", "variable"}));

    // Numbers grow as sets enter (a rename re-enters), and start again after Clear.
    const TIntfPtr<IFuzzySet> High = Variable->Add("high");
    EXPECT_EQ(Low->GetIndex(), 0);
    EXPECT_EQ(High->GetIndex(), 1);
    High->SetName("top");
    EXPECT_EQ(High->GetIndex(), 2);
    Events.Log.clear();
    Variable->Clear();
    EXPECT_EQ(Events.Log, (std::vector<std::string>{"OnChange", "variable"}));  // no report per set
    EXPECT_FALSE(Low->GetDefined());
    EXPECT_EQ(Variable->Add("next")->GetIndex(), 0);
    EXPECT_EQ(ErrorOf([&] { static_cast<void>(Variable->GetFuzzySetByName("nothing")); }), "Item not found");
    EXPECT_EQ(ErrorOf([&] { static_cast<void>(Variable->Add("not")); }),
              "Invalid fuzzy set name, \"not\" is a reserved word");
    EXPECT_EQ(Variable->GetCount(), 1);
}

TEST(FuzzyVariableIntf, MovingASetLeavesTheOldTable) {
    const auto From = MakeVariable("from", 0, 10);
    const auto To = MakeVariable("to", 0, 100);
    const TIntfPtr<IFuzzySet> Set = AddTriangle(From, "warm", 0, 5, 10);
    TVariableEvents FromEvents(*From);
    TVariableEvents ToEvents(*To);
    To->Add(Set);
    EXPECT_EQ(From->GetCount(), 0);
    EXPECT_EQ(NamesOf(*To), "warm ");
    EXPECT_EQ(Set->GetVariable(), TIntfPtr<IFuzzyVariable>(To));
    EXPECT_EQ(FromEvents.Log.front(), "deleted warm");
    EXPECT_EQ(ToEvents.Log.front(), "added warm");
    To->Add(Set);  // already there: nothing
    EXPECT_EQ(To->GetCount(), 1);

    // The table holds a set under its own name, in its own variable, while it is defined.
    const auto Stranger = MakeIntf<TIFuzzySet>(From, "stranger");
    Stranger->SetDefined(true);
    for (const auto& Offer : {std::pair(To, "stranger"), std::pair(From, "other")}) {
        EXPECT_EQ(ErrorOf([&] { Offer.first->GetItems().Put(Offer.second, Stranger); }),
                  Format(SFuzzySetKeyMismatch, {"stranger", Offer.second}));
    }
    EXPECT_EQ(To->GetCount(), 1);
}

TEST(FuzzyVariableIntf, AssignCloneAndEquals) {
    const auto Source = MakeVariable("speed", 0, 100);
    Source->SetUnits("km/h");
    AddTriangle(Source, "slow", 0, 0, 50);
    AddTriangle(Source, "fast", 50, 100, 100);
    Source->SetComment("road");
    Source->SetThreshold(0.2);

    const TIntfPtr<IFuzzyVariable> Copy = CloneOf<IFuzzyVariable>(Source);
    EXPECT_EQ(Copy->GetUnits(), "km/h");
    EXPECT_EQ(Copy->GetComment(), "");  // not copied, nor the threshold
    EXPECT_EQ(Copy->GetThreshold(), 0);
    EXPECT_EQ(TextOf(Copy->GetFuzzySetByName("fast")), "50,0 100,1 100,0 ");
    EXPECT_EQ(Copy->GetFuzzySetByName("fast")->GetVariable(), Copy);
    EXPECT_TRUE(Copy->Equals(TIntfPtr<IInterface>(Source)));
    EXPECT_TRUE(Source->Equals(TIntfPtr<IInterface>(Copy)));

    const TIntfPtr<IFuzzySet> Fast = Copy->GetFuzzySetByName("fast");
    Fast->Clear();
    Fast->CreateTriangleFunctionValues(0, 0, 10);  // no longer meets the original
    Copy->SetThreshold(0.5);
    EXPECT_FALSE(Copy->Equals(TIntfPtr<IInterface>(Source)));
    Copy->SetUnits("mph");
    EXPECT_FALSE(Source->Equals(TIntfPtr<IInterface>(Copy)));

    Source->AssignFuzzySets(Source);  // itself: nothing changes
    EXPECT_EQ(Source->GetCount(), 2);
    const auto Target = MakeVariable("target", 0, 1);
    Target->Assign(TIntfPtr<IInterface>(Source));
    EXPECT_EQ(Target->GetMaximum(), 100);
    EXPECT_EQ(NamesOf(*Target), NamesOf(*Source));
    Target->Assign(TIntfPtr<IInterface>(Target));
    EXPECT_EQ(Target->GetCount(), 2);
}

TEST(FuzzyVariableIntf, RulesFireWithFixedMethods) {
    const auto In = MakeVariable("in", 0, 20);
    const auto Out = MakeVariable("out", 0, 10);
    const TIntfPtr<IFuzzySet> A = AddTriangle(In, "a", 0, 10, 20);
    const TIntfPtr<IFuzzySet> Fact = MakeIntf<TIFuzzySet>(In, "fact");
    Fact->CreateCrispValue(15);
    const TIntfPtr<IFuzzySet> Consequent = AddTriangle(Out, "c", 0, 5, 10);

    Out->SetThreshold(0.5);
    EXPECT_FALSE(Out->AssertRule(0.3, Consequent, nullptr));
    Out->SetThreshold(0.3);
    const TIntfPtr<IFuzzySet> Fired = Out->AssertRule(0.3, Consequent, nullptr);  // the test is strictly less
    EXPECT_EQ(TextOf(Fired), "0,0 5,0.3 10,0 ");                                  // clipped, not scaled
    EXPECT_EQ(TextOf(Consequent), "0,0 5,1 10,0 ");
    EXPECT_EQ(Out->GetCount(), 1);

    const TIntfPtr<IFuzzySet> Combined = Out->AssertRule(A, Consequent, Fact, Fired);
    EXPECT_EQ(TextOf(Combined), "0,0 5,0.5 10,0 ");  // strength 0.5, united by max
    const std::array<TIntfPtr<IFuzzySet>, 2> Premises{A, A};
    const std::array<TIntfPtr<IFuzzySet>, 1> Facts{Fact};
    EXPECT_EQ(ErrorOf([&] { static_cast<void>(Out->GetCorrelationStrength(Premises, Facts)); }),
              "List index out of bounds (1)");
    EXPECT_EQ(Out->GetCorrelationStrength({}, {}), 1);
    EXPECT_EQ(Out->GetCorrelationStrength(std::span(Premises).first(1), Facts), 0.5);
}

}  // namespace
}  // namespace fzl
