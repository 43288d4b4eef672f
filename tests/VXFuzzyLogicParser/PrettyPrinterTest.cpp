// The written forms that the round-trip table cannot reach: whole variables, short forms,
// units, and sets made by code whose points a call might not make again.

#include <gtest/gtest.h>

#include <string>

#include <fzl/fzl.h>

#include "FuzzyLogic/TestModel.h"

namespace fzl {
namespace {

using TParser = TVXFuzzyLogicParser;

/// A class-model variable "x" over [Min, Max] linked both ways to a parser.
struct TPrinted : test::TModel {
    TOwned<TParser> Parser = Make<TParser>();
    TPrinted(double Min, double Max) : TModel(Min, Max) {
        Logic->SetParser(Parser.get());
        Parser->SetFuzzyLogic(Logic.get());
    }
    TFuzzySet* Set(const std::string& Name) { return Variable->GetItems().Add(Name); }
    std::string Definition(const std::string& Name) {
        return Parser->PrettyPrint(*Variable->GetItems().GetItemByName(Name), true);
    }
};

TEST(PrettyPrinter, VariablesShortFormsAndUnits) {
    TPrinted M(0, 100);
    M.Variable->SetName("temp");
    M.Variable->SetComment("room");
    M.Variable->SetUnits("C");
    M.Set("warm")->CreateTriangleFunctionValues(10, 20, 30);
    EXPECT_EQ(M.Variable->ToString(), M.Parser->PrettyPrint(*M.Variable));  // through the linked parser
    EXPECT_EQ(M.Parser->PrettyPrint(*M.Variable),
              "(deffuzzy temp \r\n  \"room\"\r\n  (range 0.0000 100.0000)\r\n  (units C)\r\n  (values \r\n"
              "    (term warm (tri 10.0000 20.0000 30.0000))\r\n  )\r\n)");

    // Short forms: the name, else the expression; an IFuzzySet shows its name alone.
    TFuzzySet* Unnamed = M.Set("__Empty");
    Unnamed->SetExpression("[very hot]");
    EXPECT_EQ(M.Parser->PrettyPrint(*M.Variable->GetItems().GetItemByName("warm"), false), "warm");
    EXPECT_EQ(M.Parser->PrettyPrint(*Unnamed, false), "[very hot]");
    EXPECT_EQ(Unnamed->ToString(), "[very hot]");
    const TIntfPtr<TIFuzzyVariable> Counted = MakeIntf<TIFuzzyVariable>("v");
    Counted->SetParser(M.Parser->AsIntf<IFuzzyParser>());
    Counted->Add("hot")->CreateTriangleFunctionValues(0, 0.5, 1);
    const TIntfPtr<IFuzzySet> Empty = Counted->Add(std::string(SEmptyFuzzy));
    Empty->SetExpression("[very hot]");
    EXPECT_EQ(Empty->ToString(), "");
    EXPECT_EQ(Counted->GetFuzzySetByName("hot")->ToString(), "hot");

    // Units that a number would read back as another text are quoted.
    const std::pair<const char*, const char*> Units[] = {
        {"5", "5"}, {"1.50", "\"1.50\""}, {"a\\b", "\"a\\\\b\""}};
    for (const auto& [Unit, Written] : Units) {
        M.Variable->SetUnits(Unit);
        EXPECT_NE(M.Parser->PrettyPrint(*M.Variable).find(std::string("(units ") + Written + ")\r\n"),
                  std::string::npos);
    }
}

TEST(PrettyPrinter, ShapesAreWrittenAsCallsOnlyWhenTheCallMakesTheSamePoints) {
    TPrinted M(0, 100);
    M.Logic->SetNumFunctionValues(6);
    // Six points: no point at the centre, whose mean of maxima is not the centre.
    M.Set("b6")->CreateBetaCurveFunctionValues(6, 10.1, 50.3, 1.0 / 3, 2.7);
    EXPECT_EQ(M.Definition("b6"), "(term b6 (beta 10.1000 50.3000 0.3333333333333333 2.7000))");
    // Made with another number of points than the reader's: points.
    M.Set("p7")->CreatePIFunctionValues(7, 0, 10, 3);
    EXPECT_EQ(M.Definition("p7").substr(0, 30), "(term p7 ((0.0000 0.0000) (1.0");
    M.Set("std")->SetSetType(fstGrowthCurve);
    EXPECT_EQ(M.Definition("std"), "(term std (s 33.33333333333333 66.66666666666666))");
    // Automatic terms name themselves, which no set answers when the text is read: their shapes.
    M.Logic->AddAutoTerms(M.Variable);
    EXPECT_EQ(M.Definition("low"), "(term low ((0.0000 1.0000) (100.0000 0.0000) ))");
}

}  // namespace
}  // namespace fzl
