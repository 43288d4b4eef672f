#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzySet.h>

#include "TestModel.h"

namespace fzl {
namespace {

using test::ErrorOf;
using test::TModel;

using TPoints = std::vector<std::pair<double, double>>;

TPoints PointsOf(const TFuzzySet& Set) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Set.GetValues()) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}

// Checks the points (to 1e-12) and the type a generator left, then empties the set.
void ExpectShape(TFuzzySet& Set, const TPoints& Expected, TFuzzySetType Type) {
    const TPoints Actual = PointsOf(Set);
    EXPECT_EQ(Set.GetSetType(), Type);
    Set.GetValues().Clear();
    ASSERT_EQ(Actual.size(), Expected.size()) << testing::PrintToString(Actual);
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        EXPECT_NEAR(Actual[I].first, Expected[I].first, 1e-12) << "point " << I;
        EXPECT_NEAR(Actual[I].second, Expected[I].second, 1e-12) << "point " << I;
    }
}

TEST(FuzzySet, Generators) {
    auto Set = Make<TFuzzySet>();
    Set->CreateTriangleFunctionValues(10, 30, 20);  // the middle clamped to the right end
    ExpectShape(*Set, {{10, 0}, {20, 1}, {20, 0}}, fstTriangle);
    Set->CreateCurveValues(5, 0, 4, 2, true);
    EXPECT_EQ(Set->GetInflectionPoint(), 2);
    ExpectShape(*Set, {{0, 0}, {1, 0.125}, {2, 0.5}, {3, 0.875}, {4, 1}}, fstGrowthCurve);
    Set->CreateCurveValues(5, 0, 4, 2, false);
    ExpectShape(*Set, {{0, 1}, {1, 0.875}, {2, 0.5}, {3, 0.125}, {4, 0}}, fstDeclineCurve);
    Set->CreateCurveValues(7, 0, 1, 0.5, true);
    EXPECT_EQ(Set->GetValues().Last()->GetX(), 1.0);  // exactly the right bound
    Set->GetValues().Clear();
    Set->CreateCurveValues(7, 3, 3, 3, false);  // Left = Right: every point at Left, degree 1
    ExpectShape(*Set, {{3, 1}}, fstDeclineCurve);
    EXPECT_EQ(ErrorOf([&] { Set->CreateCurveValues(5, 5, 1, 3, true); }),
              "Invalid range arguments.  Left (5.0000) is greater than right (1.0000)");
    EXPECT_EQ(Set->GetValues().Count(), 0);

    const TPoints Pi = {{0, 0}, {1, 2.0 / 9}, {2, 7.0 / 9}, {3, 1}, {4, 7.0 / 9}, {5, 2.0 / 9}, {6, 0}};
    Set->CreatePIFunctionValues(7, 0, 6, 3);
    ExpectShape(*Set, Pi, fstPICurve);
    Set->CreatePIFunctionValues(7, 3, 3);  // the (range, centre) form
    ExpectShape(*Set, Pi, fstPICurve);
    Set->CreatePIFunctionValues(6, 0, 6, 3);  // even: no point at the centre
    ExpectShape(*Set, {{0, 0}, {1, 2.0 / 9}, {2, 7.0 / 9}, {4, 7.0 / 9}, {5, 2.0 / 9}, {6, 0}}, fstPICurve);
    EXPECT_THROW(Set->CreatePIFunctionValues(7, -1, 3), EFzyException);  // negative span
    EXPECT_THROW(Set->CreatePIFunctionValues(7, 5, 1, 3), EFzyException);
    Set->CreateBetaCurveFunctionValues(5, 2, 0, 1);  // 1 / (1 + weight ((x - centre) / inflection)^2)
    ExpectShape(*Set, {{-2, 0.2}, {-1, 0.5}, {0, 1}, {1, 0.5}, {2, 0.2}}, fstBetaCurve);
    Set->CreateBetaCurveFunctionValues(5, 2, 0, 1, 3);
    ExpectShape(*Set, {{-2, 1.0 / 13}, {-1, 0.25}, {0, 1}, {1, 0.25}, {2, 1.0 / 13}}, fstBetaCurve);
    Set->CreateBetaCurveFunctionValues(3, 2, 0, 0);  // no inflection width: a spike, not a division by zero
    ExpectShape(*Set, {{-2, 0}, {0, 1}, {2, 0}}, fstBetaCurve);

    Set->CreateCrispValue(4);
    EXPECT_EQ(Set->GetExpression(), "4.0000");
    ExpectShape(*Set, {{4, 0}, {4, 1}, {4, 0}}, fstUserDefined);
    Set->CreateTriangleFunctionValues(0, 5, 10);
    Set->SetExpression("warm");
    Set->GetValues().GetItem(1)->SetY(0.5);  // any edit makes the set user-defined, without an expression
    EXPECT_EQ(std::pair(Set->GetSetType(), Set->GetExpression()), std::pair(fstUserDefined, std::string()));
}

TEST(FuzzySet, DegreeOfMembership) {
    auto Set = Make<TFuzzySet>();
    EXPECT_EQ(Set->DegreeOfMembership(3), 0);  // empty
    // Vertical steps read their highest point; the end degrees extend beyond the ends.
    for (const auto& [X, Y] : TPoints{{10, 0}, {10, 0.4}, {10, 1}, {20, 0}, {20, 0.7}, {30, 0.2}, {30, 0.9}})
        Set->GetValues().Add(X, Y);
    for (const auto& [X, Y] :
         TPoints{{5, 0}, {10, 1}, {15, 0.5}, {20, 0.7}, {25, 0.45}, {30, 0.9}, {40, 0.9}})
        EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(X), Y) << X;
    EXPECT_EQ(Set->GetMaxYValueOfX(0, 1), 2);
}

TEST(FuzzySet, NamesTextsAndRanges) {
    auto Set = Make<TFuzzySet>();
    Set->SetName("low");
    for (const std::string Reserved : {"very", "and", "or-sum", "*", "<=X"}) {
        EXPECT_EQ(ErrorOf([&] { Set->SetName(Reserved); }),
                  "Invalid fuzzy set name, \"" + Reserved + "\" is a reserved word");
        EXPECT_EQ(Set->GetName(), "low");
    }
    EXPECT_EQ(Set->ToString() + "|" + Set->GetValuesToString(), "(low )|()");
    Set->CreateTriangleFunctionValues(15, 45, 75);
    EXPECT_EQ(Set->ToString(), "(low (15.0000 0.0000) (45.0000 1.0000) (75.0000 0.0000) )");
    EXPECT_EQ(Set->GetValuesToString(), "((15.0000 0.0000) (45.0000 1.0000) (75.0000 0.0000) )");
    Set->SetName("very warm");  // blanks are fine; such names read back as expressions
    EXPECT_EQ(Set->GetDisplayName(), "very warm");
    Set->SetName("");
    EXPECT_EQ(Set->GetDisplayName(), "TFuzzySet");
    EXPECT_EQ(std::pair(Set->GetXRange(0), Set->GetXRange(1)), std::pair(2147483647.0, -2147483647.0));
    EXPECT_EQ(ErrorOf([&] { (void)Set->GetXRange(2); }), "Invalid index argument to GetXRange.  Index = 2");
}

TEST(FuzzySet, ShapesOverTheVariableRangeAndClone) {
    TModel Model(0, 90);
    TFuzzySet* Set = Model.AddSet("s");
    const double Beta30 = (9.0 / 73 + 9.0 / 25) / 2;  // inflection 7.5: 1 / (1 + (d / 7.5)^2) at d = 20, 10
    // {type, points, degrees at 15, 30, 45, 60 and 75}
    using TShapes = std::vector<std::tuple<TFuzzySetType, int, std::vector<double>>>;
    for (const auto& [Type, Count, Degrees] :
         TShapes{{fstTriangle, 3, {0, 0.5, 1, 0.5, 0}},
                 {fstGrowthCurve, 7, {0, 0, 0.5, 1, 1}},
                 {fstDeclineCurve, 7, {1, 1, 0.5, 0, 0}},
                 {fstPICurve, 7, {0, 0.5, 1, 0.5, 0}},
                 {fstBetaCurve, 7, {1.0 / 17, Beta30, 1, Beta30, 1.0 / 17}}}) {
        Set->SetSetType(Type);
        EXPECT_EQ(Set->GetSetType(), Type);  // kept, not turned user-defined by the new points
        EXPECT_EQ(Set->GetValues().Count(), Count) << Type;
        for (int I = 0; I < 5; ++I)
            EXPECT_NEAR(Set->DegreeOfMembership(15 + 15 * I), Degrees[I], 1e-12) << Type;
    }
    Model.Logic->SetNumFunctionValues(5);
    Set->SetSetType(fstPICurve);
    EXPECT_EQ(Set->GetValues().Count(), 5);
    Set->SetSetType(fstUserDefined);  // keeps the points
    EXPECT_EQ(Set->GetValues().Count(), 5);
    Model.Logic->BeginLoading();  // stored points read back before the type survive
    Set->SetSetType(fstBetaCurve);
    EXPECT_EQ(std::pair(Set->GetValues().Count(), Set->GetSetType()), std::pair(5, fstBetaCurve));
    Model.Logic->Loaded();
    TFuzzySet* Wide = Model.AddSet("wide");  // points beyond the range are clamped into it
    Wide->CreateTriangleFunctionValues(-30, 45, 120);
    EXPECT_EQ(PointsOf(*Wide), (TPoints{{0, 0}, {45, 1}, {90, 0}}));

    Wide->GetValues().Clear();
    Wide->CreateCurveValues(5, 0, 40, 20, false);
    Wide->SetExpression("wide");
    Wide->SetComment("not copied");
    TFuzzySet* Copy = Wide->Clone();
    EXPECT_EQ(Copy->GetVariable(), Model.Variable);
    EXPECT_EQ(Model.Variable->GetItems().Count(), 3);
    EXPECT_EQ(PointsOf(*Copy), PointsOf(*Wide));
    EXPECT_EQ(std::tuple(Copy->GetName(), Copy->GetSetType(), Copy->GetInflectionPoint(),
                         Copy->GetExpression(), Copy->GetComment()),
              std::tuple(std::string("wide"), fstDeclineCurve, 20.0, std::string("wide"), std::string()));
    auto Free = Make<TFuzzySet>();  // a set outside any variable clones into a detached set
    Free->CreateTriangleFunctionValues(0, 1, 2);
    TOwned<TFuzzySet> Detached(Free->Clone());
    EXPECT_EQ(Detached->GetCollection(), nullptr);
    EXPECT_EQ(PointsOf(*Detached), PointsOf(*Free));
}

}  // namespace
}  // namespace fzl
