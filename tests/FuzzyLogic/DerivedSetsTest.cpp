// Derived sets (clones, scaled copies, combinations) as the engine makes them quickly: a
// descendant still sees every rename through its own SetName, and a recycled set of the
// base class carries nothing over from its previous use.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <fzl/fzl.h>

namespace fzl {
namespace {

class TWatchedSet : public TFuzzySet {
public:
    using TFuzzySet::TFuzzySet;
    void SetName(const std::string& Value) override {
        Log.push_back(Value);
        TFuzzySet::SetName(Value);
    }
    [[nodiscard]] TFuzzySetClass ClassType() const override { return TFuzzySetClass::Of<TWatchedSet>(); }
    static inline std::vector<std::string> Log;

protected:
    ~TWatchedSet() override = default;
};

std::string PointsText(const TFuzzySet& Set) {
    std::string Text;
    for (const TFuzzySetValue* Point : Set.GetValues())
        Text += std::to_string(Point->GetID()) + ':' + FormatFixed(Point->GetX(), 1) + ',' +
                FormatFixed(Point->GetY(), 2) + ' ';
    return Text;
}

TEST(DerivedSets, DescendantsAreRenamedThroughSetNameAndRecycledSetsLookNew) {
    TWatchedSet::Log.clear();
    const TOwned<TFuzzySet> A = Make<TWatchedSet>(nullptr);
    A->SetName("a b");
    A->CreateTriangleFunctionValues(0, 10, 20);
    const TOwned<TFuzzySet> B = Make<TWatchedSet>(nullptr);
    B->SetName("c");
    B->CreateTriangleFunctionValues(10, 20, 30);
    A->Correlate(0.5, fcmProduct);
    const TOwned<TFuzzySet> Union = A->Union(*B);
    EXPECT_EQ(TWatchedSet::Log,
              (std::vector<std::string>{"a b", "c", "[a b] * 0.5000", "[[a b] * 0.5000] or c"}));

    const TOwned<TFuzzySet> Term = Make<TFuzzySet>(nullptr);
    Term->SetName("t");
    Term->CreateTriangleFunctionValues(0, 10, 20);
    {
        const TOwned<TFuzzySet> First = Term->Clone();  // goes back to the pool below
        First->SetComment("used");
        First->SetTag(7);
        First->Correlate(0.25, fcmProduct);
        First->GetValues().Add(30, 0.5);
    }
    const TOwned<TFuzzySet> Second = Term->Clone();
    EXPECT_EQ(Second->GetName(), "t");
    EXPECT_EQ(Second->GetComment(), "");
    EXPECT_EQ(Second->GetTag(), 0);
    EXPECT_EQ(PointsText(*Second), "0:0.0,0.00 1:10.0,1.00 2:20.0,0.00 ");
    Second->Correlate(0.5, fcmProduct);
    EXPECT_EQ(Second->GetName(), "t * 0.5000");
    EXPECT_EQ(PointsText(*Second), "0:0.0,0.00 1:10.0,0.50 2:20.0,0.00 ");
}

}  // namespace
}  // namespace fzl
