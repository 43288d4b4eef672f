// Random edits of sets and variables: after every step each table holds exactly the
// defined, named sets of its variable, each under its own name; at the end nothing is left.

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "IFuzzyLogic/IntfTestModel.h"

namespace fzl {
namespace {

bool IsKeyable(const IFuzzySet& Set) {
    const std::string Name = Set.GetName();
    return Set.GetDefined() && !Name.empty() && Name != "__Empty";
}

void CheckTables(const std::array<TIntfPtr<TIFuzzyVariable>, 3>& Variables,
                 const std::vector<TIntfPtr<IFuzzySet>>& Held, int Step) {
    for (const auto& Variable : Variables) {
        const TIFuzzySets& Table = Variable->GetItems();
        for (int Index = 0; Index < Table.Count(); ++Index) {
            const TIntfPtr<IFuzzySet>& Set = Table.GetItemByIndex(Index);
            ASSERT_EQ(Set->GetName(), Table.GetKeyByIndex(Index)) << Step;
            ASSERT_TRUE(IsKeyable(*Set)) << Step;
            ASSERT_EQ(Set->GetVariable(), TIntfPtr<IFuzzyVariable>(Variable)) << Step;
        }
    }
    for (const TIntfPtr<IFuzzySet>& Set : Held) {
        const TIntfPtr<IFuzzyVariable> Variable = Set->GetVariable();
        if (!Variable) continue;
        const bool Listed = Variable->ContainsFuzzySet(Set->GetName()) == Set;
        ASSERT_EQ(Listed, IsKeyable(*Set)) << Step << " " << Set->GetName();
    }
}

TEST(RegistrationProperty, RandomEditsKeepEveryTableConsistent) {
    const std::int64_t Start = LiveRefCountedObjects();
    {
        const std::array<TIntfPtr<TIFuzzyVariable>, 3> Variables = {
            test::MakeVariable("a", 0, 1), test::MakeVariable("b", 0, 1), test::MakeVariable("c", 0, 1)};
        const std::array<std::string, 5> Names = {"low", "mid", "high", "", "__Empty"};
        std::vector<TIntfPtr<IFuzzySet>> Held;
        std::mt19937 Random(5);
        const auto Pick = [&](std::size_t Count) { return static_cast<std::size_t>(Random() % Count); };
        for (int Step = 0; Step < 4000; ++Step) {
            const TIntfPtr<TIFuzzyVariable>& Variable = Variables[Pick(3)];
            const std::string& Name = Names[Pick(5)];
            const std::size_t Operation = Pick(10);
            if (Operation == 0 || Held.empty()) {
                Held.push_back(Variable->Add(Name));
                continue;
            }
            const TIntfPtr<IFuzzySet>& Set = Held[Pick(Held.size())];
            switch (Operation) {
                case 1: Set->SetName(Name); break;
                case 2: Set->SetDefined(Pick(2) == 0); break;
                case 3: Set->SetVariable(Pick(4) == 0 ? nullptr : TIntfPtr<IFuzzyVariable>(Variable)); break;
                case 4: Variable->Add(Set); break;
                case 5: Variable->Remove(Set); break;
                case 6:
                    if (Pick(10) == 0)
                        Variable->Clear();
                    else if (Pick(4) == 0)
                        Variable->AssignFuzzySets(Variables[Pick(3)]);
                    break;
                case 7: Held.erase(Held.begin() + static_cast<std::ptrdiff_t>(Pick(Held.size()))); break;
                case 8: test::Impl(Set).Assign(test::Impl(Held[Pick(Held.size())])); break;
                default: Set->Assign(TIntfPtr<IInterface>(Held[Pick(Held.size())])); break;
            }
            CheckTables(Variables, Held, Step);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(LiveRefCountedObjects(), Start);
}

}  // namespace
}  // namespace fzl
