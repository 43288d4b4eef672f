#include <gtest/gtest.h>

#include <sstream>

#include "TestModel.h"

namespace fzl {
namespace {

using test::ErrorOf;

// "name units [min, max] threshold #ItemIndex: sets", an undefined set marked with '-'.
std::string Describe(const TFuzzyVariable& V) {
    std::ostringstream S;
    S << V.GetName() << " " << V.GetUnits() << " [" << V.GetMinimum() << ", " << V.GetMaximum() << "] "
      << V.GetThreshold() << " #" << V.GetItemIndex() << ":";
    for (const TFuzzySet* Set : V.GetItems()) S << " " << (Set->GetDefined() ? "" : "-") << Set->GetName();
    return S.str();
}

TEST(FuzzyVariable, RangeThresholdAssignSetsAndLookups) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    TFuzzyVariable* V = Logic->GetItems().Add("v");
    V->GetItems().Add("s")->GetValues().Add(0.25, 1.0);
    int Changes = 0;  // variable changes, and set changes by the hundred
    Logic->OnVariableChange = [&](TObject*, TFuzzyVariable*) { ++Changes; };
    Logic->OnFuzzySetChange = [&](TObject*, TFuzzySet*) { Changes += 100; };
    auto Take = [&] { return std::exchange(Changes, 0); };
    auto State = [&] { return Describe(*V) + " changes " + std::to_string(Take()); };
    V->SetMaximum(-5);  // the dragged bound reports its own change
    EXPECT_EQ(State(), "v  [-5, -5] 0.01 #0: s changes 2");
    V->SetMinimum(10);
    EXPECT_EQ(State(), "v  [10, 10] 0.01 #0: s changes 2");
    V->SetMaximum(20);
    EXPECT_EQ(State(), "v  [10, 20] 0.01 #0: s changes 1");
    EXPECT_EQ(V->GetItems().GetItem(0)->GetValues().First()->GetX(), 0.25);  // sets are not moved
    // Writing a stored value back, or any threshold, reports nothing; the threshold is clamped into [0, 1].
    V->SetMaximum(20);
    V->SetMinimum(10);
    V->SetUnits("");
    for (const auto& [In, Out] : {std::pair{1.5, 1.0}, {-0.2, 0.0}, {0.4, 0.4}})
        EXPECT_EQ((V->SetThreshold(In), V->GetThreshold()), Out);
    // The component's threshold (clamped too) reaches every variable when it changes, and only then.
    TFuzzyVariable* Other = Logic->GetItems().Add("other");
    Take();
    Logic->SetThreshold(0.01);
    EXPECT_EQ(std::pair(V->GetThreshold(), Other->GetThreshold()), std::pair(0.4, 0.01));  // no change
    Logic->SetThreshold(-3);
    EXPECT_EQ(std::pair(V->GetThreshold(), Other->GetThreshold()), std::pair(0.0, 0.0));
    V->SetThreshold(0.4);
    EXPECT_EQ(Take(), 0);
    Other->Free();
    V->SetUnits("K");
    V->SetItemIndex(-1);  // selecting is a change too
    EXPECT_EQ(Take(), 2);

    // Assign copies the fields, the comment among them, and the sets, reported once, when the
    // sets are in place.
    TFuzzyVariable* Copy = Logic->GetItems().Add("copy");
    V->SetComment("note"), Copy->GetItems().Add("old"), Take();
    Copy->Assign(*V);
    EXPECT_EQ(Take(), 1);
    EXPECT_EQ(Describe(*Copy) + " " + Copy->GetComment(), "v K [10, 20] 0.4 #-1: -s note");  // -: undefined
    EXPECT_EQ(Copy->GetItems().GetItem(0)->GetValues().Count(), 1);
    EXPECT_THROW(Copy->Assign(*V->GetItems().GetItem(0)), EConvertError);
    Logic->GetItems().Clear();

    TFuzzyVariable* Variable = Logic->GetItems().Add("temp");
    TFuzzySets& Sets = Variable->GetItems();
    for (const char* Name : {"warm", "", "__Empty"}) Sets.Add(Name);
    EXPECT_EQ(Describe(*Variable), "temp  [0, 1] 0 #2: warm - -__Empty");  // adding selects the new set
    // A reserved word raises after the set was appended; that set stays, unnamed.
    EXPECT_EQ(ErrorOf([&] { Sets.Add("very"); }), R"(Invalid fuzzy set name, "very" is a reserved word)");
    EXPECT_EQ(Describe(*Variable), "temp  [0, 1] 0 #3: warm - -__Empty -");
    // Lookups are exact and case-sensitive.
    EXPECT_EQ(Sets.GetItemByName("__Empty"), Sets.GetItem(2));
    EXPECT_EQ(ErrorOf([&] { (void)Sets.GetItemByName("Warm"); }), R"(Unknown Fuzzy Set name: "Warm")");
    TFuzzyVariables& Variables = Logic->GetItems();
    EXPECT_EQ(Variables.GetItemByName("temp"), Variable);
    EXPECT_EQ(ErrorOf([&] { (void)Variables.GetItemByName("pressure"); }),
              R"(Unknown Fuzzy Variable name: "pressure")");
    // Insert puts the new variable at the index, clamped to the end.
    Variables.Insert(0)->SetName("first"), Variables.Insert(1)->SetName("second");
    Variables.Insert(9)->SetName("last");
    EXPECT_EQ(Variables.First()->GetName() + Variables.GetItem(1)->GetName() + Variables.Last()->GetName(),
              "firstsecondlast");

    // Deleting the selected set moves the selection; the count and beyond are refused.
    Sets.Delete(3);
    EXPECT_EQ(Variable->GetItemIndex(), 2);
    EXPECT_EQ(ErrorOf([&] { Variable->SetItemIndex(3); }), "List index out of bounds (3)");
    Variable->SetItemIndex(1);
    Sets.Insert(0);  // inserting does not select
    EXPECT_EQ(Describe(*Variable), "temp  [0, 1] 0 #1: - warm - -__Empty");

    // AssignTo replaces a string list's lines with the set names and objects.
    auto Lines = Make<TStringList>();
    Lines->Add("stale line");
    Variable->AssignTo(*Lines);
    EXPECT_EQ(Lines->GetText(), "\nwarm\n\n__Empty\n");
    EXPECT_EQ(Lines->GetObject(3), Sets.GetItem(3));
    Sets.Clear();
    EXPECT_EQ(Variable->GetItemIndex(), -1);
}

}  // namespace
}  // namespace fzl
