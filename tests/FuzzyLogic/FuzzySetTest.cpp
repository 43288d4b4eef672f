#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzySet.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<double, double>>;

TPoints PointsOf(const TFuzzySet& Set) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Set.GetValues()) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}

void ExpectPoints(const TFuzzySet& Set, const TPoints& Expected) {
    const TPoints Actual = PointsOf(Set);
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        EXPECT_NEAR(Actual[I].first, Expected[I].first, 1e-12) << "point " << I;
        EXPECT_NEAR(Actual[I].second, Expected[I].second, 1e-12) << "point " << I;
    }
}

// A component with one variable over [Min, Max] and no automatic terms.
struct TModel {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = nullptr;
    TModel(double Min, double Max) {
        Logic->SetAutoTerms(false);
        Variable = Logic->GetItems().Add("x");
        Variable->SetMaximum(Max);
        Variable->SetMinimum(Min);
    }
    TFuzzySet* AddSet(const std::string& Name) { return Variable->GetItems().Add(Name); }
};

TEST(FuzzySet, TriangleAndCurveGenerators) {
    auto Set = Make<TFuzzySet>();
    Set->CreateTriangleFunctionValues(10, 30, 20);  // middle clamped to the right end
    ExpectPoints(*Set, {{10, 0}, {20, 1}, {20, 0}});
    EXPECT_EQ(Set->GetSetType(), fstTriangle);

    Set->GetValues().Clear();
    Set->CreateCurveValues(5, 0, 4, 2, true);
    ExpectPoints(*Set, {{0, 0}, {1, 0.125}, {2, 0.5}, {3, 0.875}, {4, 1}});
    EXPECT_EQ(Set->GetSetType(), fstGrowthCurve);
    EXPECT_EQ(Set->GetInflectionPoint(), 2);

    Set->GetValues().Clear();
    Set->CreateCurveValues(5, 0, 4, 2, false);
    ExpectPoints(*Set, {{0, 1}, {1, 0.875}, {2, 0.5}, {3, 0.125}, {4, 0}});
    EXPECT_EQ(Set->GetSetType(), fstDeclineCurve);

    Set->GetValues().Clear();
    Set->CreateCurveValues(7, 0, 1, 0.5, true);
    EXPECT_EQ(Set->GetValues().Last()->GetX(), 1.0);  // a curve ends exactly at its right bound

    Set->GetValues().Clear();
    Set->CreateCurveValues(7, 3, 3, 3, false);  // zero width: every point at Left, degree 1
    ExpectPoints(*Set, {{3, 1}});

    Set->GetValues().Clear();
    try {
        Set->CreateCurveValues(5, 5, 1, 3, true);
        FAIL() << "expected EFzyException";
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid range arguments.  Left (5.0000) is greater than right (1.0000)");
    }
    EXPECT_EQ(Set->GetValues().Count(), 0);
}

TEST(FuzzySet, PiAndBetaGenerators) {
    auto Set = Make<TFuzzySet>();
    Set->CreatePIFunctionValues(7, 0, 6, 3);
    ExpectPoints(*Set, {{0, 0}, {1, 2.0 / 9}, {2, 7.0 / 9}, {3, 1}, {4, 7.0 / 9}, {5, 2.0 / 9}, {6, 0}});
    EXPECT_EQ(Set->GetSetType(), fstPICurve);

    Set->GetValues().Clear();
    Set->CreatePIFunctionValues(6, 0, 6, 3);  // even: no point at the centre
    ExpectPoints(*Set, {{0, 0}, {1, 2.0 / 9}, {2, 7.0 / 9}, {4, 7.0 / 9}, {5, 2.0 / 9}, {6, 0}});

    Set->GetValues().Clear();
    Set->CreatePIFunctionValues(7, 3, 3);  // the (range, centre) form
    EXPECT_EQ(Set->GetValues().First()->GetX(), 0);
    EXPECT_EQ(Set->GetValues().Last()->GetX(), 6);
    EXPECT_THROW(Set->CreatePIFunctionValues(7, -1, 3), EFzyException);  // negative span
    EXPECT_THROW(Set->CreatePIFunctionValues(7, 5, 1, 3), EFzyException);

    Set->GetValues().Clear();
    Set->CreateBetaCurveFunctionValues(5, 2, 0, 1);
    ExpectPoints(*Set, {{-2, 0.2}, {-1, 0.5}, {0, 1}, {1, 0.5}, {2, 0.2}});
    EXPECT_EQ(Set->GetSetType(), fstBetaCurve);

    Set->GetValues().Clear();
    Set->CreateBetaCurveFunctionValues(5, 2, 0, 1, 3);  // weight 3: 1 / (1 + 3) at centre +- inflection
    EXPECT_DOUBLE_EQ(Set->GetValues().GetItem(1)->GetY(), 0.25);

    Set->GetValues().Clear();
    Set->CreateBetaCurveFunctionValues(3, 2, 0, 0);  // no inflection width: a spike, not a division by zero
    ExpectPoints(*Set, {{-2, 0}, {0, 1}, {2, 0}});
}

TEST(FuzzySet, CrispValueAndReports) {
    auto Set = Make<TFuzzySet>();
    Set->CreateCrispValue(4);
    ExpectPoints(*Set, {{4, 0}, {4, 1}, {4, 0}});
    EXPECT_EQ(Set->GetExpression(), "4.0000");
    EXPECT_EQ(Set->GetSetType(), fstUserDefined);

    Set->CreateTriangleFunctionValues(0, 5, 10);
    Set->SetExpression("warm");
    Set->GetValues().GetItem(1)->SetY(0.5);  // any edit makes the set user-defined
    EXPECT_EQ(Set->GetSetType(), fstUserDefined);
    EXPECT_EQ(Set->GetExpression(), "");
}

TEST(FuzzySet, DegreeOfMembership) {
    auto Set = Make<TFuzzySet>();
    EXPECT_EQ(Set->DegreeOfMembership(3), 0);  // empty
    Set->CreateTriangleFunctionValues(15, 45, 75);
    EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(30), 0.5);
    EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(45), 1);
    EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(75), 0);
    EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(100), 0);
    EXPECT_DOUBLE_EQ(Set->DegreeOfMembership(-20), 0);

    auto Step = Make<TFuzzySet>();
    Step->GetValues().Add(10, 0);
    Step->GetValues().Add(10, 0.4);
    Step->GetValues().Add(10, 1);
    Step->GetValues().Add(20, 0);
    EXPECT_DOUBLE_EQ(Step->DegreeOfMembership(10), 1);  // a vertical step reads its highest point
    EXPECT_DOUBLE_EQ(Step->DegreeOfMembership(15), 0.5);
    EXPECT_DOUBLE_EQ(Step->DegreeOfMembership(5), 0);  // the first degree extends to the left

    auto Growth = Make<TFuzzySet>();
    Growth->CreateCurveValues(7, 30, 60, 45, true);
    EXPECT_DOUBLE_EQ(Growth->DegreeOfMembership(100), 1);  // the last degree extends to the right
    EXPECT_EQ(Growth->GetMaxYValueOfX(0, 1), 0);
}

TEST(FuzzySet, NamesAndRanges) {
    auto Set = Make<TFuzzySet>();
    Set->SetName("warm");
    for (const char* Reserved : {"very", "and", "or-sum", "*", "<=X"}) {
        try {
            Set->SetName(Reserved);
            FAIL() << Reserved;
        } catch (const EFzyException& E) {
            EXPECT_EQ(std::string(E.what()), std::string("Invalid fuzzy set name, \"") + Reserved + "\" is a reserved word");
        }
        EXPECT_EQ(Set->GetName(), "warm");
    }
    Set->SetName("very warm");  // blanks are fine; such names read back as expressions
    EXPECT_EQ(Set->GetDisplayName(), "very warm");
    Set->SetName("");
    EXPECT_EQ(Set->GetDisplayName(), "TFuzzySet");

    EXPECT_EQ(Set->GetXRange(0), 2147483647.0);
    EXPECT_EQ(Set->GetXRange(1), -2147483647.0);
    try {
        static_cast<void>(Set->GetXRange(2));
        FAIL();
    } catch (const EFzyException& E) {
        EXPECT_STREQ(E.what(), "Invalid index argument to GetXRange.  Index = 2");
    }
}

TEST(FuzzySet, TextForms) {
    auto Set = Make<TFuzzySet>();
    Set->SetName("low");
    Set->CreateTriangleFunctionValues(15, 45, 75);
    EXPECT_EQ(Set->ToString(), "(low (15.0000 0.0000) (45.0000 1.0000) (75.0000 0.0000) )");
    EXPECT_EQ(Set->GetValuesToString(), "((15.0000 0.0000) (45.0000 1.0000) (75.0000 0.0000) )");
    auto Empty = Make<TFuzzySet>();
    Empty->SetName("e");
    EXPECT_EQ(Empty->ToString(), "(e )");
    EXPECT_EQ(Empty->GetValuesToString(), "()");
}

TEST(FuzzySet, SetTypeShapesOverTheVariableRange) {
    TModel Model(0, 90);
    TFuzzySet* Set = Model.AddSet("s");
    Set->SetSetType(fstTriangle);
    ExpectPoints(*Set, {{15, 0}, {45, 1}, {75, 0}});
    EXPECT_EQ(Set->GetSetType(), fstTriangle);  // the requested type is kept

    Set->SetSetType(fstGrowthCurve);
    ASSERT_EQ(Set->GetValues().Count(), 7);
    for (int I = 0; I < 7; ++I) EXPECT_DOUBLE_EQ(Set->GetValues().GetItem(I)->GetX(), 30 + 5 * I);
    EXPECT_EQ(Set->GetSetType(), fstGrowthCurve);

    Model.Logic->SetNumFunctionValues(5);
    Set->SetSetType(fstPICurve);
    EXPECT_EQ(Set->GetValues().Count(), 5);
    Set->SetSetType(fstUserDefined);  // keeps the points
    EXPECT_EQ(Set->GetValues().Count(), 5);

    // Stored points read back before the type survive: no shape while loading.
    Model.Logic->BeginLoading();
    Set->SetSetType(fstBetaCurve);
    EXPECT_EQ(Set->GetValues().Count(), 5);
    EXPECT_EQ(Set->GetSetType(), fstBetaCurve);
    Model.Logic->Loaded();

    // Points beyond the range are clamped into it.
    TFuzzySet* Wide = Model.AddSet("wide");
    Wide->CreateTriangleFunctionValues(-30, 45, 120);
    ExpectPoints(*Wide, {{0, 0}, {45, 1}, {90, 0}});
}

TEST(FuzzySet, AssignAndClone) {
    TModel Model(0, 100);
    TFuzzySet* Low = Model.AddSet("low");
    Low->CreateCurveValues(5, 0, 40, 20, false);
    Low->SetExpression("low");
    Low->SetComment("not copied");

    TFuzzySet* Copy = Low->Clone();
    EXPECT_EQ(Copy->GetVariable(), Model.Variable);
    EXPECT_EQ(Model.Variable->GetItems().Count(), 2);
    EXPECT_EQ(Copy->GetName(), "low");
    EXPECT_EQ(PointsOf(*Copy), PointsOf(*Low));
    EXPECT_EQ(Copy->GetSetType(), fstDeclineCurve);
    EXPECT_EQ(Copy->GetExpression(), "low");
    EXPECT_EQ(Copy->GetComment(), "");

    auto Free = Make<TFuzzySet>();  // a set outside any variable clones into a detached set
    Free->CreateTriangleFunctionValues(0, 1, 2);
    TOwned<TFuzzySet> Detached(Free->Clone());
    EXPECT_EQ(Detached->GetCollection(), nullptr);
    EXPECT_EQ(PointsOf(*Detached), PointsOf(*Free));
}

}  // namespace
}  // namespace fzl
