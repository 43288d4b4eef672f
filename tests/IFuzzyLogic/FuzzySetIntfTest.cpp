#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

using test::AddTriangle;
using test::ErrorOf;
using test::Impl;
using test::MakeVariable;
using test::NamesOf;
using test::TextOf;

TEST(FuzzySetIntf, UniqueIdsCountUpAndUniqueNamesSkipNamesInUse) {
    const int First = GetUniqueID();
    EXPECT_EQ(GetUniqueID(), First + 1);
    const auto Variable = MakeVariable("x", 0, 10);
    const TIntfPtr<IFuzzySet> Taken = Variable->Add("FuzzySet" + IntToStr(First + 2));
    EXPECT_EQ(GetUniqueName(Variable), "FuzzySet" + IntToStr(First + 3));
    EXPECT_EQ(GetUniqueName(nullptr), "FuzzySet" + IntToStr(First + 4));
}

// Which sets a table holds after each edit is checked by the registration property test; here
// what it does not see: a refused rename leaves the key in place.
TEST(FuzzySetIntf, RegistrationFollowsDefinitionNameAndVariable) {
    const auto Variable = MakeVariable("x", 0, 10);
    const auto Loose = MakeIntf<TIFuzzySet>(Variable, "loose");
    EXPECT_FALSE(Loose->GetDefined());
    EXPECT_FALSE(Variable->ContainsFuzzySet("loose"));
    const TIntfPtr<IFuzzySet> Low = Variable->Add("low");
    EXPECT_TRUE(Low->GetDefined());
    Low->SetName("small");  // the key moves with the name
    EXPECT_EQ(ErrorOf([&] { Low->SetName("very"); }), "Invalid fuzzy set name, \"very\" is a reserved word");
    EXPECT_EQ(Variable->ContainsFuzzySet("small"), Low);  // checked before the old key went
    Variable->Remove(Low);
    Variable->Remove(Low);  // not there (and the table is empty): nothing happens
    EXPECT_EQ(Variable->GetCount(), 0);
}

// The copy of a defined set through the class-model assignment takes the source's name;
// its key must follow, or the set would be listed twice and could never be removed.
TEST(FuzzySetIntf, AssignedNameMovesTheKeyAndDisplacesTheHolder) {
    const auto Variable = MakeVariable("x", 0, 40);
    const TIntfPtr<IFuzzySet> Hot = AddTriangle(Variable, "hot", 20, 30, 40);
    const TIntfPtr<IFuzzySet> Copy = Variable->Add("FuzzySet7");
    std::vector<std::string> Deleted;
    Variable->SetOnFuzzySetDeleted([&](const TIntfPtr<IFuzzyVariable>&, const TIntfPtr<IFuzzySet>& Set) {
        Deleted.push_back(Set->GetName());
    });

    Impl(Copy).Assign(Impl(Hot));  // takes the name "hot": the original is displaced
    EXPECT_EQ(Variable->ContainsFuzzySet("hot"), Copy);
    EXPECT_FALSE(Hot->GetDefined());
    EXPECT_EQ(Deleted, (std::vector<std::string>{"FuzzySet7", "hot"}));

    Copy->Hedge(fhVery);
    EXPECT_EQ(NamesOf(*Variable), "very hot ");
    Variable->Remove(Copy);
    EXPECT_EQ(Variable->GetCount(), 0);
}

TEST(FuzzySetIntf, TheVariableGivesRangeAndSettings) {
    const auto Variable = MakeVariable("x", 20, 30);
    const TIntfPtr<IFuzzySet> Set = Variable->Add("warm");
    Set->Add(0, 0.5);  // clamped through the variable's range
    Set->Add(35, 1);
    EXPECT_EQ(TextOf(Set), "20,0.5 30,1 ");
    EXPECT_EQ(Set->GetXMinimum(), 20);
    EXPECT_EQ(Set->GetXMaximum(), 30);
    EXPECT_NEAR(Set->CenterOfGravity(), 25.5555555556, 1e-9);

    Variable->SetNumFunctionValues(5);
    Set->SetSetType(fstGrowthCurve);
    EXPECT_EQ(Set->GetCount(), 5);
    EXPECT_EQ(Set->GetSetType(), fstGrowthCurve);

    // A set of this model has no component: centre of gravity whatever the variable says.
    Variable->SetDefuzzificationMethod(dmMeanOfMaxima);
    EXPECT_EQ(Set->Defuzzify(), Set->CenterOfGravity());

    const auto Free = MakeIntf<TIFuzzySet>(nullptr, "free");
    EXPECT_EQ(Free->GetXMaximum(), 2147483647.0);
    EXPECT_EQ(Free->GetXMinimum(), -2147483647.0);
    Free->Add(-5, 1);
    Free->Add(5, 0);
    EXPECT_EQ(Free->GetXMinimum(), -5);
}

TEST(FuzzySetIntf, EqualsReadsTheVariablesThreshold) {
    const auto Variable = MakeVariable("x", 0, 30);
    const TIntfPtr<IFuzzySet> A = AddTriangle(Variable, "a", 0, 10, 20);
    const TIntfPtr<IFuzzySet> B = AddTriangle(Variable, "b", 10, 20, 30);
    Variable->SetThreshold(0.6);
    EXPECT_FALSE(A->Equals(B));
    Variable->SetThreshold(0.5);
    EXPECT_TRUE(A->Equals(B));
    EXPECT_FALSE(A->Equals(TIntfPtr<IInterface>(Variable)));  // not a set
    EXPECT_EQ(A->FuzzyEquals(B), 0.5);
    EXPECT_EQ(A->FuzzyEquals(TIntfPtr<IInterface>(Variable)), 0);

    // Without a variable: the component's default threshold, 0.01.
    const TIntfPtr<IFuzzySet> Free = A->Clone(nullptr);
    const TIntfPtr<IFuzzySet> Touching = MakeIntf<TIFuzzySet>(nullptr, "t");
    Touching->Add(19.9, 0);
    Touching->Add(30, 1);
    EXPECT_NEAR(Free->FuzzyEquals(Touching), 0.004975, 1e-6);
    EXPECT_FALSE(Free->Equals(Touching));
}

TEST(FuzzySetIntf, CopiesCarryWhatTheyShould) {
    const auto Variable = MakeVariable("x", 0, 10);
    const TIntfPtr<IFuzzySet> Warm = AddTriangle(Variable, "warm", 0, 5, 10);
    Warm->SetTag(7);
    Warm->SetComment("a b");
    Warm->SetExpression("warm");

    const auto Other = MakeVariable("y", 0, 100);
    const TIntfPtr<IFuzzySet> Moved = Warm->Clone(Other);
    EXPECT_EQ(TextOf(Moved), "0,0 5,1 10,0 ");
    EXPECT_EQ(std::tuple(Moved->GetTag(), Moved->GetComment(), Moved->GetExpression()),
              std::tuple(std::intptr_t{0}, std::string(), std::string()));  // none of these is copied
    EXPECT_FALSE(Moved->GetDefined());

    const TIntfPtr<IFuzzySet> Twin = CloneOf(Warm);  // same variable, not one of its terms
    EXPECT_EQ(Twin->GetSetType(), fstTriangle);
    EXPECT_EQ(Twin->GetExpression(), "warm");
    EXPECT_EQ(Twin->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
    EXPECT_EQ(Variable->GetCount(), 1);

    const TIntfPtr<IFuzzySet> Target = Other->Add("target");
    Target->Assign(TIntfPtr<IInterface>(Warm));  // moves to the source's variable, keeps its name
    EXPECT_EQ(Target->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
    EXPECT_EQ(Target->GetName(), "target");
    EXPECT_EQ(Target->GetSetType(), fstTriangle);
    EXPECT_EQ(NamesOf(*Other), "");

    const TIntfPtr<IFuzzySet> Cut = Warm->AlphaCutoff(0.25, false);
    EXPECT_EQ(Cut->GetName(), "warm (alpha=0.2500)");
    EXPECT_EQ(Cut->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
}

// Assigning or appending a set to itself must neither wipe it nor read past its end.
TEST(FuzzySetIntf, SelfAssignmentAndEmptySources) {
    const auto Variable = MakeVariable("x", 0, 10);
    const TIntfPtr<IFuzzySet> Set = AddTriangle(Variable, "s", 0, 5, 10);
    Set->Assign(TIntfPtr<IInterface>(Set));
    Impl(Set).Assign(Impl(Set));
    Set->AssignValues(Set);
    EXPECT_EQ(TextOf(Set), "0,0 5,1 10,0 ");

    const TIntfPtr<IFuzzySet> Empty = MakeIntf<TIFuzzySet>(nullptr, "e");
    Set->Append(Empty);
    Set->Append(Empty, -1, 5);
    Set->Append(Set, 1, 1);  // its own middle point, read before writing
    EXPECT_EQ(TextOf(Set), "0,0 5,1 10,0 ");
    Set->Append(Set, 7, 3);  // Start clamped to the last point
    EXPECT_EQ(TextOf(Set), "0,0 5,1 10,0 ");
    EXPECT_EQ(ErrorOf([&] { Set->Append(nullptr); }), "Argument out of range");
    EXPECT_EQ(Set->Insert(1, 2, 0.4), 1);
    EXPECT_EQ(TextOf(Set), "0,0 2,0.4 5,1 10,0 ");
    EXPECT_EQ(ErrorOf([&] { Set->Insert(9, 2, 0.4); }), "List index out of bounds (9)");
}

TEST(FuzzySetIntf, CombinationsCreateResultsOfTheVariable) {
    const auto Variable = MakeVariable("x", 0, 30);
    const TIntfPtr<IFuzzySet> A = AddTriangle(Variable, "A", 0, 10, 20);
    const TIntfPtr<IFuzzySet> B = AddTriangle(Variable, "B", 10, 20, 30);

    const TIntfPtr<IFuzzySet> And = A->Intersection(B);
    EXPECT_EQ(TextOf(And), "10,0 15,0.5 20,0 ");
    EXPECT_EQ(And->GetName(), "A and B");
    EXPECT_EQ(And->GetExpression(), "A and B");
    EXPECT_EQ(And->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
    EXPECT_FALSE(And->GetDefined());
    EXPECT_EQ(Variable->GetCount(), 2);

    // A hand-written operator through the interface gives the same set.
    const TIntfPtr<IFuzzySet> ByHand = A->Operator(B, "and", &TIFuzzySet::FuzzyOperatorMin);
    EXPECT_EQ(TextOf(ByHand), TextOf(And));
    EXPECT_EQ(ErrorOf([&] { static_cast<void>(A->Union(nullptr)); }), "Argument out of range");
    EXPECT_EQ(TextOf(A->Infer(B, fimProduct, true)), "10,0 15,0.25 20,0 ");
    const TIntfPtr<IFuzzySet> Very = CloneOf(B);
    EXPECT_EQ(Very->Hedge(fhVery), Very);  // in place
    EXPECT_EQ(Very->GetName(), "very B");
}

// Sets print through a parser while it exists; a parser component that goes leaves no
// dangling link, a counted one is kept alive by the link.
TEST(FuzzySetIntf, ParserLinksCannotDangle) {
    auto Parser = Make<test::TComponentParser>();
    const auto Variable = MakeVariable("x", 0, 10);
    Variable->SetParser(Parser->AsIntf<IFuzzyParser>());
    const TIntfPtr<IFuzzySet> Set = AddTriangle(Variable, "warm", 0, 5, 10);
    EXPECT_EQ(Set->ToString(), "<warm>");
    EXPECT_EQ(Variable->ToString(), "[x]");
    Parser.reset();
    EXPECT_FALSE(Set->GetParser());
    EXPECT_EQ(Set->ToString(), "(warm (0.0000 0.0000) (5.0000 1.0000) (10.0000 0.0000) )");
    EXPECT_EQ(Variable->ToString(), "x");

    const std::int64_t Before = LiveRefCountedObjects();
    Set->SetParser(MakeIntf<test::TCountedParser>());
    EXPECT_EQ(LiveRefCountedObjects(), Before + 1);
    EXPECT_EQ(Set->ToString(), "<warm>");
    Set->SetParser(nullptr);
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

}  // namespace
}  // namespace fzl
