#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IFuzzyLogic/IntfTestModel.h"
#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using test::ErrorOf;
using test::MakeVariable;
using test::NamesOf;
using test::TextOf;

/// Records a component's events as "added x", "deleted x", "set added v.s", "set deleted v.s",
/// "set change v.s"; VariableAdded also notes how many sets the variable had then.
struct TLogicEvents {
    std::vector<std::string> Log;
    explicit TLogicEvents(TIFuzzyLogic& Logic) {
        Logic.OnVariableAdded = [this](const TIntfPtr<IFuzzyVariable>& V) {
            Log.push_back("added " + V->GetName() + "/" + IntToStr(V->GetCount()));
        };
        Logic.OnVariableDeleted = [this](const TIntfPtr<IFuzzyVariable>& V) {
            Log.push_back("deleted " + V->GetName());
        };
        const auto Set = [this](const char* What) {
            return [this, What](const TIntfPtr<IFuzzyVariable>& V, const TIntfPtr<IFuzzySet>& S) {
                Log.push_back(std::string(What) + " " + V->GetName() + "." + S->GetName());
            };
        };
        Logic.OnFuzzySetAdded = Set("set added");
        Logic.OnFuzzySetDeleted = Set("set deleted");
        Logic.OnFuzzySetChange = Set("set change");
    }
};

TEST(FuzzyLogicIntf, NewVariablesGetThresholdTermsAndHooks) {
    const auto Logic = Make<TIFuzzyLogic>(nullptr);
    Logic->SetThreshold(0.3);
    TLogicEvents Events(*Logic);
    const auto Temp = MakeVariable("temp", 20, 30);
    Logic->GetItems().Add(Temp);
    EXPECT_EQ(Events.Log, std::vector<std::string>{"added temp/3"});  // terms made before, and unreported
    EXPECT_EQ(Temp->GetThreshold(), 0.3);
    EXPECT_EQ(TextOf(Temp->GetFuzzySetByName("low")), "20,1 30,0 ");
    EXPECT_EQ(TextOf(Temp->GetFuzzySetByName("medium")),
              "20,0 20,1 30,0 ");  // peak at half the width, clamped
    EXPECT_EQ(Temp->GetFuzzySetByName("high")->GetExpression(), "high");

    Events.Log.clear();
    const TIntfPtr<IFuzzySet> Warm = Temp->Add("warm");
    Warm->Add(25, 1);
    Warm->SetName("mild");
    Temp->Remove(Warm);
    EXPECT_EQ(Events.Log, (std::vector<std::string>{"set added temp.warm", "set change temp.warm",
                                                    "set deleted temp.warm", "set added temp.mild",
                                                    "set deleted temp.mild"}));
    Logic->SetThreshold(0.7);
    EXPECT_EQ(Temp->GetThreshold(), 0.7);
}

TEST(FuzzyLogicIntf, VariablesLeavingTheTableAreUnhooked) {
    const auto Logic = Make<TIFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    TLogicEvents Events(*Logic);
    const auto First = MakeVariable("x", 0, 1);
    const auto Second = MakeVariable("x", 0, 1);
    const TIntfPtr<IFuzzySet> Old = First->Add("a");
    Logic->GetItems().Add(First);
    Logic->GetItems().Add(Second);  // replaces First: added twice, deleted never
    EXPECT_EQ(Events.Log, (std::vector<std::string>{"added x/1", "added x/0"}));
    Events.Log.clear();
    Old->Add(0.5, 1);  // First is unhooked
    static_cast<void>(Second->Add("b"));
    EXPECT_EQ(Events.Log, std::vector<std::string>{"set added x.b"});

    // A variable held by two components reports to the one that took it last; the other
    // lets it go without touching those hooks.
    const auto Other = Make<TIFuzzyLogic>(nullptr);
    Other->SetAutoTerms(false);
    TLogicEvents OtherEvents(*Other);
    Other->GetItems().Add(Second);
    Logic->GetItems().Remove(Second);
    EXPECT_EQ(Events.Log.back(), "deleted x");
    static_cast<void>(Second->Add("c"));
    EXPECT_EQ(OtherEvents.Log.back(), "set added x.c");
    EXPECT_EQ(Events.Log.back(), "deleted x");

    // Cleared: unhooked, no deletion reports.
    Other->GetItems().Clear();
    OtherEvents.Log.clear();
    static_cast<void>(Second->Add("d"));
    EXPECT_TRUE(OtherEvents.Log.empty());

    // A variable renamed in the table keeps its key; Remove looks up the new name.
    Logic->GetItems().Add(First);
    First->SetName("renamed");
    EXPECT_EQ(Logic->GetItems().ContainsVariable("x"), TIntfPtr<IFuzzyVariable>(First));
    EXPECT_FALSE(Logic->GetItems().ContainsVariable("renamed"));
    Logic->GetItems().Remove(First);
    EXPECT_EQ(Logic->GetItems().Count(), 1);
}

// The text shows every variable and defined set: every change to them makes it stale.
TEST(FuzzyLogicIntf, TextGoesStaleOnEveryChangeItShows) {
    const auto Logic = Make<TIFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    const auto Temp = MakeVariable("temp", 0, 10);
    Logic->GetItems().Add(Temp);
    const TIntfPtr<IFuzzySet> Warm = Temp->Add("warm");
    const std::vector<std::pair<const char*, std::function<void()>>> Changes = {
        {"range", [&] { Temp->SetMaximum(20); }},
        {"units", [&] { Temp->SetUnits("C"); }},
        {"comment", [&] { Temp->SetComment("room"); }},
        {"name", [&] { Temp->SetName("t"); }},
        {"points", [&] { Warm->Add(5, 1); }},
        {"set comment", [&] { Warm->SetComment("nice"); }},
        {"set name", [&] { Warm->SetName("mild"); }},
        {"new set", [&] { static_cast<void>(Temp->Add("hot")); }},
        {"removal", [&] { Temp->Remove(Warm); }},
        {"new variable", [&] { Logic->GetItems().Add(MakeVariable("wind", 0, 1)); }},
        {"cleared", [&] { Logic->GetItems().Clear(); }},
    };
    for (const auto& [What, Change] : Changes) {
        EXPECT_EQ(ErrorOf([&] { static_cast<void>(Logic->GetStrings()); }),
                  "Parser not assigned.  Cannot parse")
            << What;
        EXPECT_FALSE(Logic->GetNeedsUpdate());  // cleared before raising
        Change();
        EXPECT_TRUE(Logic->GetNeedsUpdate()) << What;
    }
    EXPECT_EQ(ErrorOf([&] { Logic->Parse(); }), "Parser not assigned.  Cannot parse");
    Logic->BeginLoading();
    EXPECT_EQ(ErrorOf([&] { Logic->Loaded(); }), "Parser not assigned.  Cannot parse");
}

TEST(FuzzyLogicIntf, ParsingAndTextInTableOrder) {
    test::TIntfParsed M(true);
    const std::int64_t Before = LiveRefCountedObjects();
    const std::vector<std::string> Added = {"alpha", "beta", "gamma", "delta", "epsilon"};
    const TOwned<TStringList> Text = Make<TStringList>();
    for (const std::string& Name : Added) Text->Add("(deffuzzy " + Name + ")");
    M.Logic->SetStrings(*Text);
    EXPECT_EQ(M.Logic->GetItems().Count(), 5);
    EXPECT_FALSE(M.Logic->GetNeedsUpdate());
    EXPECT_EQ(LiveRefCountedObjects(), Before + 5 * 4);  // each with its three terms
    M.Logic->SetStrings(*Text);                          // a second parse replaces everything
    EXPECT_EQ(LiveRefCountedObjects(), Before + 5 * 4);

    // The regenerated text follows the table, whose order is not the order of adding.
    M.Logic->GetItems().Get("beta")->SetMaximum(2);
    const std::string Printed = M.Logic->GetStrings().GetText();
    std::vector<std::string> InTableOrder;
    std::size_t At = 0;
    for (const std::string& Name : M.Logic->GetItems().Keys()) {
        InTableOrder.push_back(Name);
        At = Printed.find("(deffuzzy " + Name + " ", At);
        EXPECT_NE(At, std::string::npos) << Name << " out of order in\n" << Printed;
    }
    EXPECT_NE(InTableOrder, Added);

    M.Logic->BeginLoading();  // while loading, a parse waits for Loaded
    M.Logic->GetItems().Clear();
    M.Logic->Parse();
    EXPECT_EQ(M.Logic->GetItems().Count(), 0);
    M.Logic->Loaded();
    EXPECT_EQ(M.Logic->GetItems().Count(), 5);
}

TEST(FuzzyLogicIntf, TeardownReportsNothingAndLeavesNoHooks) {
    auto Logic = Make<TIFuzzyLogic>(nullptr);
    TLogicEvents Events(*Logic);
    const auto Kept = MakeVariable("kept", 0, 1);
    Logic->GetItems().Add(Kept);
    Logic->GetItems().Add(MakeVariable("dropped", 0, 1));
    const TOwned<TFuzzyVariableStrings> View = Make<TFuzzyVariableStrings>(Logic.get());
    View->Add("viewed");
    View->PutData(0, MakeIntf<TIFuzzyVariable>("viewed"));  // reported as added, hooked
    const TIntfPtr<IFuzzyVariable> Viewed = View->GetData(0);
    EXPECT_EQ(Viewed->GetCount(), 3);
    EXPECT_EQ(Events.Log.back(), "added viewed/3");
    Events.Log.clear();

    Logic.reset();
    EXPECT_TRUE(Events.Log.empty());
    EXPECT_FALSE(Kept->GetOnFuzzySetAdded());
    Kept->Add("still")->Add(0.5, 1);   // the component is gone: nothing to call
    Viewed->Add("also")->Add(0.5, 1);  // its hooks were left in place, and do nothing
    View->PutData(0, nullptr);
    EXPECT_EQ(Kept->GetCount(), 4);
}

}  // namespace
}  // namespace fzl
