#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzyVariable.h"
#include "support/Exceptions.h"
#include "support/StringList.h"

namespace fzl {
namespace {

// A component without automatic terms that counts the changes it hears of.
struct TCountingModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    int VariableChanges = 0;
    int SetChanges = 0;
    int Events = 0;

    TCountingModel() {
        Logic->SetAutoTerms(false);
        Logic->OnVariableChange = [this](TObject*, TFuzzyVariable*) { ++VariableChanges, ++Events; };
        Logic->OnFuzzySetChange = [this](TObject*, TFuzzySet*) { ++SetChanges, ++Events; };
        Logic->OnChange = [this](TObject*) { ++Events; };
        Logic->OnVariableAdded = [this](TObject*, TFuzzyVariable*) { ++Events; };
        Logic->OnFuzzySetAdded = [this](TObject*, TFuzzySet*) { ++Events; };
    }
    void Reset() { VariableChanges = SetChanges = Events = 0; }
};

std::vector<std::string> NamesOf(const TFuzzySets& Sets) {
    std::vector<std::string> Names;
    for (const TFuzzySet* Set : Sets) Names.push_back(Set->GetName());
    return Names;
}

template <class TException, class TBody>
std::string MessageOf(TBody&& Body) {
    try {
        Body();
    } catch (const TException& E) {
        return E.what();
    }
    return "<nothing raised>";
}

TEST(FuzzyVariable, NewVariableDefaults) {
    auto Detached = Make<TFuzzyVariable>();
    EXPECT_EQ(Detached->GetMinimum(), 0.0);
    EXPECT_EQ(Detached->GetMaximum(), 1.0);
    EXPECT_EQ(Detached->GetThreshold(), 0.0);
    EXPECT_EQ(Detached->GetItemIndex(), -1);
    EXPECT_EQ(Detached->GetItems().Count(), 0);
    EXPECT_EQ(Detached->GetItems().GetVariable(), Detached.get());
    EXPECT_EQ(Detached->GetCollection(), nullptr);
    EXPECT_EQ(Detached->GetFuzzy(), nullptr);
    // Without a name (and without a parser) the text forms fall back to the class name.
    EXPECT_EQ(Detached->GetDisplayName(), "TFuzzyVariable");
    EXPECT_EQ(Detached->ToString(), "TFuzzyVariable");
    Detached->SetName("speed");
    EXPECT_EQ(Detached->ToString(), "speed");

    TCountingModel Model;
    TFuzzyVariable* Variable = Model.Logic->GetItems().Add("temp");
    EXPECT_EQ(Variable->GetFuzzy(), Model.Logic.get());
    EXPECT_EQ(Variable->GetCollection(), &Model.Logic->GetItems());
    EXPECT_EQ(Variable->GetItems().Count(), 0);
    EXPECT_EQ(Variable->ToString(), "temp");
}

TEST(FuzzyVariable, MinimumAndMaximumDragEachOther) {
    TCountingModel Model;
    TFuzzyVariable* Variable = Model.Logic->GetItems().Add("v");
    TFuzzySet* Set = Variable->GetItems().Add("s");
    Set->GetValues().Add(0.25, 1.0);
    Model.Reset();

    Variable->SetMaximum(-5);
    EXPECT_EQ(Variable->GetMaximum(), -5);
    EXPECT_EQ(Variable->GetMinimum(), -5);
    EXPECT_EQ(Model.VariableChanges, 2);  // the dragged bound reports its own change
    // The sets are not touched by a range change.
    EXPECT_EQ(Set->GetValues().First()->GetX(), 0.25);

    Model.Reset();
    Variable->SetMinimum(10);
    EXPECT_EQ(Variable->GetMinimum(), 10);
    EXPECT_EQ(Variable->GetMaximum(), 10);
    EXPECT_EQ(Model.VariableChanges, 2);

    Model.Reset();
    Variable->SetMaximum(20);  // no drag needed: one change
    EXPECT_EQ(Variable->GetMinimum(), 10);
    EXPECT_EQ(Model.VariableChanges, 1);

    // Writing the stored value back is no change at all.
    Model.Reset();
    Variable->SetMaximum(20);
    Variable->SetMinimum(10);
    Variable->SetName("v");
    Variable->SetUnits("");
    Variable->SetComment("");
    EXPECT_EQ(Model.Events, 0);
    Variable->SetUnits("K");
    Variable->SetComment("note");
    EXPECT_EQ(Model.VariableChanges, 2);
    EXPECT_EQ(Variable->GetUnits(), "K");
    EXPECT_EQ(Variable->GetComment(), "note");
}

TEST(FuzzyVariable, ThresholdIsClampedSilently) {
    TCountingModel Model;
    TFuzzyVariable* Variable = Model.Logic->GetItems().Add("v");
    Model.Reset();
    Variable->SetThreshold(1.5);
    EXPECT_EQ(Variable->GetThreshold(), 1.0);
    Variable->SetThreshold(-0.2);
    EXPECT_EQ(Variable->GetThreshold(), 0.0);
    Variable->SetThreshold(0.3);
    EXPECT_EQ(Variable->GetThreshold(), 0.3);
    EXPECT_EQ(Model.Events, 0);
}

TEST(FuzzyVariable, ItemIndexFollowsAddsAndDeletions) {
    TCountingModel Model;
    TFuzzyVariable* Variable = Model.Logic->GetItems().Add("v");
    TFuzzySets& Sets = Variable->GetItems();
    Sets.Add("a");
    Sets.Add("b");
    Sets.Add("c");
    EXPECT_EQ(Variable->GetItemIndex(), 2);

    Sets.Delete(2);
    EXPECT_EQ(Variable->GetItemIndex(), 1);

    // Selecting is a change of the variable; at or beyond the count it is refused.
    Model.Reset();
    Variable->SetItemIndex(0);
    EXPECT_EQ(Variable->GetItemIndex(), 0);
    EXPECT_EQ(Model.VariableChanges, 1);
    EXPECT_EQ(MessageOf<EFzyException>([&] { Variable->SetItemIndex(2); }), "List index out of bounds (2)");
    EXPECT_EQ(Variable->GetItemIndex(), 0);
    // Values below -1 are not refused.
    Variable->SetItemIndex(-1);
    EXPECT_EQ(Variable->GetItemIndex(), -1);
    Variable->SetItemIndex(-3);
    EXPECT_EQ(Variable->GetItemIndex(), -3);

    // Insert is the plain collection insert: it does not select the new set.
    Variable->SetItemIndex(1);
    TFuzzySet* Inserted = Sets.Insert(0);
    EXPECT_EQ(Inserted->GetIndex(), 0);
    EXPECT_EQ(Variable->GetItemIndex(), 1);

    Sets.Clear();
    EXPECT_EQ(Variable->GetItemIndex(), -1);
}

TEST(FuzzyVariable, NamedSetsAndLookups) {
    TCountingModel Model;
    TFuzzyVariables& Variables = Model.Logic->GetItems();
    TFuzzyVariable* Variable = Variables.Add("temp");
    TFuzzySets& Sets = Variable->GetItems();

    EXPECT_TRUE(Sets.Add("warm")->GetDefined());
    EXPECT_FALSE(Sets.Add("")->GetDefined());
    EXPECT_FALSE(Sets.Add("__Empty")->GetDefined());
    EXPECT_EQ(Sets.GetItemByName("__Empty")->GetIndex(), 2);

    // A reserved word raises after the set was appended; that set stays, unnamed.
    EXPECT_EQ(MessageOf<EFzyException>([&] { Sets.Add("very"); }),
              R"(Invalid fuzzy set name, "very" is a reserved word)");
    ASSERT_EQ(Sets.Count(), 4);
    EXPECT_EQ(Sets.GetItem(3)->GetName(), "");
    EXPECT_FALSE(Sets.GetItem(3)->GetDefined());
    EXPECT_EQ(Variable->GetItemIndex(), 3);

    // Lookups are exact and case-sensitive.
    EXPECT_EQ(Sets.GetItemByName("warm"), Sets.GetItem(0));
    EXPECT_EQ(MessageOf<EFzyException>([&] { (void)Sets.GetItemByName("Warm"); }),
              R"(Unknown Fuzzy Set name: "Warm")");
    EXPECT_EQ(Variables.GetItemByName("temp"), Variable);
    EXPECT_EQ(MessageOf<EFzyException>([&] { (void)Variables.GetItemByName("pressure"); }),
              R"(Unknown Fuzzy Variable name: "pressure")");

    // Assigning by name copies into the existing set; an unknown name changes nothing.
    auto Source = Make<TFuzzySet>();
    Source->SetName("hot");
    Source->GetValues().Add(0.5, 1.0);
    Sets.SetItemByName("warm", *Source);
    EXPECT_EQ(Sets.GetItem(0)->GetName(), "hot");
    EXPECT_EQ(Sets.GetItem(0)->GetValues().Count(), 1);
    EXPECT_THROW(Sets.SetItemByName("warm", *Source), EFzyException);
    EXPECT_EQ(Sets.Count(), 4);
}

TEST(FuzzyVariable, AssignToStringsAndRangeFor) {
    auto Variable = Make<TFuzzyVariable>();
    for (const char* Name : {"low", "mid", "high"}) Variable->GetItems().Add(Name);

    auto Lines = Make<TStringList>();
    Lines->Add("stale line");
    Variable->AssignTo(*Lines);
    ASSERT_EQ(Lines->Count(), 3);
    int Index = 0;
    for (TFuzzySet* Set : Variable->GetItems()) {
        EXPECT_EQ(Lines->GetString(Index), Set->GetName());
        EXPECT_EQ(Lines->GetObject(Index), Set);
        ++Index;
    }
    EXPECT_EQ(Index, 3);
    EXPECT_EQ(Lines->UpdateCount(), 0);  // the bracket is closed again
}

TEST(FuzzyVariable, AssignCopiesFieldsAndSets) {
    TCountingModel Model;
    TFuzzyVariable* Source = Model.Logic->GetItems().Add("source");
    Source->SetMaximum(50);
    Source->SetMinimum(10);
    Source->SetUnits("C");
    Source->SetComment("room");
    Source->SetThreshold(0.4);
    Source->GetItems().Add("a")->GetValues().Add(20, 1);
    Source->GetItems().Add("b");
    Source->SetItemIndex(0);

    TFuzzyVariable* Copy = Model.Logic->GetItems().Add("copy");
    Copy->GetItems().Add("old");
    Model.Reset();
    Copy->Assign(*Source);
    EXPECT_EQ(Copy->GetName(), "source");
    EXPECT_EQ(Copy->GetMinimum(), 10);
    EXPECT_EQ(Copy->GetMaximum(), 50);
    EXPECT_EQ(Copy->GetUnits(), "C");
    EXPECT_EQ(Copy->GetComment(), "room");
    EXPECT_EQ(Copy->GetThreshold(), 0.4);
    EXPECT_EQ(Copy->GetItemIndex(), 0);
    EXPECT_EQ(NamesOf(Copy->GetItems()), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Copy->GetItems().GetItem(0)->GetValues().First()->GetX(), 20);
    EXPECT_NE(Copy->GetItems().GetItem(0), Source->GetItems().GetItem(0));
    // The copy is reported once, as a change of the variable, when its sets are in place.
    EXPECT_EQ(Model.VariableChanges, 1);
    EXPECT_EQ(Model.SetChanges, 0);

    // Other sources are refused.
    EXPECT_THROW(Copy->Assign(*Source->GetItems().GetItem(0)), EConvertError);
}

}  // namespace
}  // namespace fzl
