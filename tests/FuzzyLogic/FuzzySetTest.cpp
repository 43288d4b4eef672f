#include <gtest/gtest.h>

#include <tuple>

#include "TestModel.h"

namespace fzl {
namespace {

using namespace test;  // TModel, FreeSet, PointsOf, Text, ErrorOf

// The points (four decimals) and the type a generator left; the set is emptied for the next.
std::string Shape(TFuzzySet& Set) {
    std::string Result = test::Text(Set) + std::string(GetEnumName(Set.GetSetType()));
    Set.GetValues().Clear();
    return Result;
}

TEST(FuzzySet, Generators) {
    auto Set = Make<TFuzzySet>();
    Set->CreateTriangleFunctionValues(10, 30, 20);  // the middle clamped to the right end
    EXPECT_EQ(Shape(*Set), "10,0 20,1 20,0 fstTriangle");
    Set->CreateCurveValues(5, 0, 4, 2, true);
    EXPECT_EQ(Set->GetInflectionPoint(), 2);
    EXPECT_EQ(Shape(*Set), "0,0 1,0.125 2,0.5 3,0.875 4,1 fstGrowthCurve");
    Set->CreateCurveValues(5, 0, 4, 2, false);
    EXPECT_EQ(Shape(*Set), "0,1 1,0.875 2,0.5 3,0.125 4,0 fstDeclineCurve");
    Set->CreateCurveValues(7, 0, 1, 0.5, true);
    EXPECT_EQ(Set->GetValues().Last()->GetX(), 1.0);  // exactly the right bound
    Set->GetValues().Clear();
    Set->CreateCurveValues(7, 3, 3, 3, false);  // Left = Right: every point at Left, degree 1
    EXPECT_EQ(Shape(*Set), "3,1 fstDeclineCurve");
    EXPECT_EQ(ErrorOf([&] { Set->CreateCurveValues(5, 5, 1, 3, true); }),
              "Invalid range arguments.  Left (5.0000) is greater than right (1.0000)");
    EXPECT_EQ(Set->GetValues().Count(), 0);

    const std::string Pi = "0,0 1,0.2222 2,0.7778 3,1 4,0.7778 5,0.2222 6,0 fstPICurve";
    Set->CreatePIFunctionValues(7, 0, 6, 3);
    EXPECT_EQ(Shape(*Set), Pi);
    Set->CreatePIFunctionValues(7, 3, 3);  // the (range, centre) form; a negative range: the guide's errors
    EXPECT_EQ(Shape(*Set), Pi);
    Set->CreatePIFunctionValues(6, 0, 6, 3);  // even: no point at the centre
    EXPECT_EQ(Shape(*Set), "0,0 1,0.2222 2,0.7778 4,0.7778 5,0.2222 6,0 fstPICurve");
    Set->CreateBetaCurveFunctionValues(5, 2, 0, 1, 3);  // 1 / (1 + weight ((x - centre) / inflection)^2)
    EXPECT_EQ(Shape(*Set), "-2,0.0769 -1,0.25 0,1 1,0.25 2,0.0769 fstBetaCurve");
    Set->CreateBetaCurveFunctionValues(3, 2, 0, 0);  // no inflection width: a spike, not a division by zero
    EXPECT_EQ(Shape(*Set), "-2,0 0,1 2,0 fstBetaCurve");

    Set->CreateCrispValue(4);
    EXPECT_EQ(Set->GetExpression(), "4.0000");
    EXPECT_EQ(Shape(*Set), "4,0 4,1 4,0 fstUserDefined");
    Set->CreateTriangleFunctionValues(0, 5, 10);
    Set->SetExpression("warm");
    Set->GetValues().GetItem(1)->SetY(0.5);  // any edit makes the set user-defined, without an expression
    EXPECT_EQ(std::pair(Set->GetSetType(), Set->GetExpression()), std::pair(fstUserDefined, std::string()));
}

TEST(FuzzySet, DegreeOfMembership) {
    EXPECT_EQ(Make<TFuzzySet>()->DegreeOfMembership(3), 0);  // empty
    // Vertical steps read their highest point; the end degrees extend beyond the ends.
    auto Set = test::FreeSet({{10, 0}, {10, 0.4}, {10, 1}, {20, 0}, {20, 0.7}, {30, 0.2}, {30, 0.9}});
    for (const auto& [X, Y] :
         TPoints{{5, 0}, {10, 1}, {15, 0.5}, {20, 0.7}, {25, 0.45}, {30, 0.9}, {40, 0.9}})
        EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(X), Y) << X;
    // A step whose two X lie within the tolerance: at the first X the higher point counts,
    // between them the line, at the second X its own point.
    auto Close = test::FreeSet({{0, 0}, {10, 1}, {10.00005, 0}, {20, 0}});
    EXPECT_EQ(Close->DegreeOfMembership(10), 1);
    EXPECT_NEAR(Close->DegreeOfMembership(10.00002), 0.6, 1e-9);
    EXPECT_EQ(Close->DegreeOfMembership(10.00005), 0);
    // A long list is searched by halving: the same answers deep inside it.
    TPoints Long;
    for (int I = 0; I < 500; ++I) Long.emplace_back(I, (I % 7) / 6.0);
    Long.insert(Long.begin() + 251, {{250, 0.95}, {250, 0.1}});
    auto Searched = test::FreeSet(Long);
    EXPECT_EQ(Searched->DegreeOfMembership(250), 0.95);
    EXPECT_DOUBLE_EQ(Searched->DegreeOfMembership(123.5), (123 % 7 + 124 % 7) / 12.0);
    EXPECT_DOUBLE_EQ(Searched->DegreeOfMembership(250.5), 0.1 + (251 % 7 / 6.0 - 0.1) / 2);
    EXPECT_DOUBLE_EQ(Searched->DegreeOfMembership(498), 498 % 7 / 6.0);
}

TEST(FuzzySet, NamesTextsAndRanges) {
    auto Set = Make<TFuzzySet>();
    Set->SetName("low");
    for (const std::string Reserved : {"very", "or-sum", "<=X"})  // hedges, operations, hedge operators
        EXPECT_EQ(ErrorOf([&] { Set->SetName(Reserved); }) + Set->GetName(),
                  "Invalid fuzzy set name, \"" + Reserved + "\" is a reserved wordlow");
    EXPECT_EQ(Set->ToString() + "|" + Set->GetValuesToString(), "(low )|()");
    Set->CreateTriangleFunctionValues(15, 45, 75);
    EXPECT_EQ(Set->ToString(), "(low (15.0000 0.0000) (45.0000 1.0000) (75.0000 0.0000) )");
    EXPECT_EQ(Set->GetValuesToString(), "((15.0000 0.0000) (45.0000 1.0000) (75.0000 0.0000) )");
    EXPECT_EQ(std::pair(Set->GetXRange(0), Set->GetXRange(1)), std::pair(2147483647.0, -2147483647.0));
    EXPECT_EQ(ErrorOf([&] { (void)Set->GetXRange(2); }), "Invalid index argument to GetXRange.  Index = 2");
}

TEST(FuzzySet, ShapesOverTheVariableRangeAndClone) {
    TModel Model(0, 90);
    TFuzzySet* Set = Model.Add({}, "s");
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
    Model.Logic->SetNumFunctionValues(1);  // at least 2, and the generators take at least 3
    Set->SetSetType(fstGrowthCurve);
    EXPECT_EQ(std::pair(Model.Logic->GetNumFunctionValues(), Set->GetValues().Count()), std::pair(2, 3));
    Model.Logic->SetNumFunctionValues(5);
    Set->SetSetType(fstPICurve);
    EXPECT_EQ(Set->GetValues().Count(), 5);
    Set->SetSetType(fstUserDefined);  // keeps the points
    EXPECT_EQ(Set->GetValues().Count(), 5);
    Model.Logic->BeginLoading();  // stored points read back before the type survive
    Set->SetSetType(fstBetaCurve);
    EXPECT_EQ(std::pair(Set->GetValues().Count(), Set->GetSetType()), std::pair(5, fstBetaCurve));

    // On [20, 80] the triangle's middle is half the width from 0 (30) and its left end (10)
    // is clamped; the curves are placed from the minimum (40 to 60).
    TModel Offset(20, 80);
    TFuzzySet* Shape = Offset.Add({}, "s");
    Shape->SetSetType(fstTriangle);
    EXPECT_EQ(PointsOf(*Shape), (TPoints{{20, 0}, {30, 1}, {50, 0}}));
    Shape->SetSetType(fstGrowthCurve);
    EXPECT_EQ(std::pair(Shape->GetValues().First()->GetX(), Shape->GetValues().Last()->GetX()),
              std::pair(40.0, 60.0));

    TFuzzySet* Wide = Model.Add({}, "wide");
    Wide->CreateCurveValues(5, 0, 40, 20, false);
    Wide->SetExpression("wide");
    Wide->SetComment("not copied");
    TOwned<TFuzzySet> Copy = Wide->Clone();
    EXPECT_EQ(Model.Variable->GetItems().Last(), Copy.get());  // listed in the variable
    EXPECT_EQ(std::tuple(PointsOf(*Copy), Copy->GetName(), Copy->GetSetType(), Copy->GetInflectionPoint(),
                         Copy->GetExpression(), Copy->GetComment()),
              std::tuple(PointsOf(*Wide), std::string("wide"), fstDeclineCurve, 20.0, std::string("wide"),
                         std::string()));
    Copy.reset();
    EXPECT_EQ(Model.Variable->GetItems().Count(), 2);                       // the handle took it out again
    EXPECT_EQ(test::FreeSet({{0, 0}})->Clone()->GetCollection(), nullptr);  // a free set clones detached
}

// A set that takes its settings elsewhere overrides the one hook.
struct TTunedSet final : TFuzzySet, TFuzzySetPrinter {
    using TFuzzySet::TFuzzySet;
    TFuzzySetSettings Settings;
    [[nodiscard]] TFuzzySetSettings GetSettings() const override { return Settings; }
    std::string PrettyPrint(const TFuzzySet& Set, bool) override { return "printed " + Set.GetName(); }
};

TEST(FuzzySet, SettingsComeThroughOneHook) {
    const TFuzzySetSettings Free = Make<TFuzzySet>()->GetSettings();
    EXPECT_EQ(std::tuple(Free.NumFunctionValues, Free.Threshold, Free.CorrelationMethod, Free.InferenceMethod,
                         Free.DefuzzificationMethod, Free.Loading, Free.Designing, Free.Printer),
              std::tuple(7, 0.01, fcmMinimum, fimMinMax, dmCenterOfGravity, false, false, nullptr));
    // In a variable they come from it and its component (whose effects the other tests check).
    TModel M(0, 10);
    M.Logic->SetDesigning(true);
    EXPECT_TRUE(M.Add({})->GetDefined());  // made while designing

    auto Tuned = Make<TTunedSet>();
    Tuned->SetName("t");
    Tuned->Settings = {4, 0.5, fcmProduct, fimAdditive, dmMeanOfMaxima, false, false, Tuned.get()};
    Tuned->SetSetType(fstPICurve);
    EXPECT_EQ(Tuned->GetValues().Count(), 4);
    Tuned->GetValues().Clear();
    Tuned->GetValues().Add(0, 0.4), Tuned->GetValues().Add(5, 1);
    EXPECT_EQ(test::Text(*Tuned->Correlate(0.5)), "0,0.2 5,0.5 ");  // scaled, not clipped
    EXPECT_EQ(Tuned->Defuzzify(), 5);                               // the mean of maxima
    EXPECT_EQ(Tuned->Infer(*Tuned, false)->GetName(), "[t * 0.5000] or-sum [t * 0.5000]");
    EXPECT_EQ(Tuned->ToString(), "printed t * 0.5000");
}

}  // namespace
}  // namespace fzl
