#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

using test::AddTriangle;
using test::ErrorOf;
using test::Impl;
using test::MakeVariable;
using test::NamesOf;
using test::TextOf;

// Which sets a table holds after each edit is checked by the registration property test; here
// what it does not see: unique names, a refused rename, and the key of an assigned copy.
TEST(FuzzySetIntf, TableKeysFollowNamesAndAssignments) {
    const int First = GetUniqueID();
    const auto Variable = MakeVariable("x", 0, 40);
    const TIntfPtr<IFuzzySet> Taken = Variable->Add("FuzzySet" + IntToStr(First + 1));
    EXPECT_EQ(GetUniqueName(Variable), "FuzzySet" + IntToStr(First + 2));  // skips names in use
    EXPECT_EQ(GetUniqueName(nullptr), "FuzzySet" + IntToStr(First + 3));
    EXPECT_EQ(ErrorOf([&] { Taken->SetName("very"); }),
              "Invalid fuzzy set name, \"very\" is a reserved word");
    EXPECT_EQ(Variable->ContainsFuzzySet(Taken->GetName()), Taken);  // checked before the old key went
    Variable->Remove(Taken);
    Variable->Remove(Taken);  // not there (and the table is empty): nothing happens
    EXPECT_EQ(Variable->GetCount(), 0);

    // The copy of a defined set through the class-model assignment takes the source's name;
    // its key must follow, or the set would be listed twice and could never be removed.
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

TEST(FuzzySetIntf, TheVariableGivesRangeSettingsAndThreshold) {
    const auto Variable = MakeVariable("x", 20, 30);
    const TIntfPtr<IFuzzySet> Set = Variable->Add("warm");
    Set->Add(0, 0.5);  // clamped through the variable's range
    Set->Add(35, 1);
    EXPECT_EQ(TextOf(Set), "20,0.5 30,1 ");
    EXPECT_EQ(std::pair(Set->GetXMinimum(), Set->GetXMaximum()), std::pair(20.0, 30.0));
    // Without a variable: its points, or no bound at all.
    const auto Free = MakeIntf<TIFuzzySet>(nullptr, "free");
    EXPECT_EQ(std::pair(Free->GetXMinimum(), Free->GetXMaximum()), std::pair(-2147483647.0, 2147483647.0));
    Free->Add(-5, 1);
    EXPECT_EQ(Free->GetXMinimum(), -5);
    Variable->SetNumFunctionValues(5);
    Set->SetSetType(fstGrowthCurve);
    EXPECT_EQ(Set->GetCount(), 5);
    // A set of this model has no component: centre of gravity whatever the variable says.
    Variable->SetDefuzzificationMethod(dmMeanOfMaxima);
    EXPECT_EQ(Set->Defuzzify(), Set->CenterOfGravity());

    const auto Wide = MakeVariable("y", 0, 30);
    const TIntfPtr<IFuzzySet> A = AddTriangle(Wide, "a", 0, 10, 20);
    const TIntfPtr<IFuzzySet> B = AddTriangle(Wide, "b", 10, 20, 30);
    Wide->SetThreshold(0.6);
    EXPECT_FALSE(A->Equals(B));
    Wide->SetThreshold(0.5);
    EXPECT_TRUE(A->Equals(B));
    EXPECT_EQ(A->FuzzyEquals(B), 0.5);
    EXPECT_FALSE(A->Equals(TIntfPtr<IInterface>(Wide)));  // not a set
    EXPECT_EQ(A->FuzzyEquals(TIntfPtr<IInterface>(Wide)), 0);
    // Without a variable: the component's default threshold, 0.01.
    const TIntfPtr<IFuzzySet> Touching = MakeIntf<TIFuzzySet>(nullptr, "t");
    Touching->Add(19.9, 0);
    Touching->Add(30, 1);
    EXPECT_NEAR(A->Clone(nullptr)->FuzzyEquals(Touching), 0.004975, 1e-6);
    EXPECT_FALSE(A->Clone(nullptr)->Equals(Touching));
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
    EXPECT_EQ(std::tuple(Moved->GetTag(), Moved->GetComment(), Moved->GetExpression(), Moved->GetDefined()),
              std::tuple(std::intptr_t{0}, std::string(), std::string(), false));  // none of these is copied

    const TIntfPtr<IFuzzySet> Twin = CloneOf(Warm);  // same variable, not one of its terms
    EXPECT_EQ(std::tuple(Twin->GetSetType(), Twin->GetExpression()), std::tuple(fstTriangle, "warm"));
    EXPECT_EQ(Twin->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
    EXPECT_EQ(Variable->GetCount(), 1);

    const TIntfPtr<IFuzzySet> Target = Other->Add("target");
    Target->Assign(TIntfPtr<IInterface>(Warm));  // moves to the source's variable, keeps its name
    EXPECT_EQ(Target->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
    EXPECT_EQ(std::tuple(Target->GetName(), Target->GetSetType()), std::tuple("target", fstTriangle));
    EXPECT_EQ(NamesOf(*Other), "");

    const TIntfPtr<IFuzzySet> Cut = Warm->AlphaCutoff(0.25, false);
    EXPECT_EQ(Cut->GetName(), "warm (alpha=0.2500)");
    EXPECT_EQ(Cut->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));

    // Assigning or appending a set to itself must neither wipe it nor read past its end.
    Warm->Assign(TIntfPtr<IInterface>(Warm));
    Impl(Warm).Assign(Impl(Warm));
    Warm->AssignValues(Warm);
    const TIntfPtr<IFuzzySet> Empty = MakeIntf<TIFuzzySet>(nullptr, "e");
    Warm->Append(Empty);
    Warm->Append(Empty, -1, 5);
    Warm->Append(Warm, 1, 1);  // its own middle point, read before writing
    Warm->Append(Warm, 7, 3);  // Start clamped to the last point
    EXPECT_EQ(TextOf(Warm), "0,0 5,1 10,0 ");
    EXPECT_EQ(ErrorOf([&] { Warm->Append(nullptr); }), "Argument out of range");
    EXPECT_EQ(Warm->Insert(1, 2, 0.4), 1);
    EXPECT_EQ(TextOf(Warm), "0,0 2,0.4 5,1 10,0 ");
    EXPECT_EQ(ErrorOf([&] { Warm->Insert(9, 2, 0.4); }), "List index out of bounds (9)");
}

TEST(FuzzySetIntf, CombinationsCreateResultsOfTheVariable) {
    const auto Variable = MakeVariable("x", 0, 30);
    const TIntfPtr<IFuzzySet> A = AddTriangle(Variable, "A", 0, 10, 20);
    const TIntfPtr<IFuzzySet> B = AddTriangle(Variable, "B", 10, 20, 30);

    const TIntfPtr<IFuzzySet> And = A->Intersection(B);
    EXPECT_EQ(TextOf(And), "10,0 15,0.5 20,0 ");
    EXPECT_EQ(std::tuple(And->GetName(), And->GetExpression()), std::tuple("A and B", "A and B"));
    EXPECT_EQ(And->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable));
    EXPECT_FALSE(And->GetDefined());
    EXPECT_EQ(Variable->GetCount(), 2);
    // A hand-written operator through the interface gives the same set.
    EXPECT_EQ(TextOf(A->Operator(B, "and", &TIFuzzySet::FuzzyOperatorMin)), TextOf(And));
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
