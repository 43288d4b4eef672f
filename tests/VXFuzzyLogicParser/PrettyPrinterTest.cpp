#include <gtest/gtest.h>

#include <string>

#include <fzl/fzl.h>

#include "../../src/VXFuzzyLogicParser/internal/PrettyPrinter.h"
#include "FuzzyLogic/TestModel.h"
#include "FuzzyLogic/TestParser.h"

namespace fzl {
namespace {

struct TPrinterParser : test::TStubParser {
    using TStubParser::TStubParser;
    TFuzzyPrettyPrinter Printer{*this};
    std::string PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) override {
        return Printer.Print(FuzzySet, AsDefinition);
    }
    std::string PrettyPrint(const TFuzzyVariable& FuzzyVariable) override { return Printer.Print(FuzzyVariable); }
};

TEST(PrettyPrinter, Spike) {
    test::TModel Model(0, 100);
    TOwned<TPrinterParser> Parser = Make<TPrinterParser>();
    Model.Logic->SetParser(Parser.get());
    Parser->SetFuzzyLogic(Model.Logic.get());
    Model.Variable->SetName("temp");
    Model.Variable->SetComment("room");
    Model.Variable->SetUnits("C");
    Model.Variable->GetItems().Add("warm")->CreateTriangleFunctionValues(10, 20, 30);
    Model.Add({{0, 1}, {50, 1}, {80, 0}}, "low");
    Model.Variable->GetItems().Add("p")->CreatePIFunctionValues(7, 10, 50);
    Model.Variable->GetItems().Add("q")->CreatePIFunctionValues(7, 0, 10, 3);
    Model.Variable->GetItems().Add("b")->CreateBetaCurveFunctionValues(7, 10, 50, 5, 2);
    Model.Variable->GetItems().Add("a b")->CreateCurveValues(7, 0, 10, 10, true);
    std::cout << Parser->PrettyPrint(*Model.Variable) << "\n";
    Model.Logic->SetNumFunctionValues(6);
    auto& Sets = Model.Variable->GetItems();
    Sets.Clear();
    Sets.Add("p6")->CreatePIFunctionValues(6, 0, 10, 3);
    Sets.Add("p6b")->CreatePIFunctionValues(6, 0.1, 10.3, 3.3);
    Sets.Add("p7")->CreatePIFunctionValues(7, 0, 10, 3);
    Sets.Add("clip")->CreatePIFunctionValues(6, 10, 5);
    Sets.Add("b6")->CreateBetaCurveFunctionValues(6, 10, 50, 5, 2);
    Sets.Add("b6b")->CreateBetaCurveFunctionValues(6, 10.1, 50.3, 1.0/3, 2.7);
    Sets.Add("12")->CreateTriangleFunctionValues(1, 2, 3);
    Sets.Add("?q")->CreateTriangleFunctionValues(1, 2, 3);
    Sets.Add("")->CreateTriangleFunctionValues(1, 2, 3);
    Sets.Add("a(b")->CreateTriangleFunctionValues(1, 2, 3);
    Sets.Add("c\\")->CreateTriangleFunctionValues(1, 2, 3);
    Sets.Add("t")->SetComment("a \\ \"q\" \\");
    Sets.Add("tiny")->CreateTriangleFunctionValues(0, 0.00001, 1.0/3);
    Sets.Add("st")->SetSetType(fstBetaCurve);
    Sets.Add("st2")->SetSetType(fstPICurve);
    Sets.Add("st3")->SetSetType(fstGrowthCurve);
    Model.Variable->SetUnits("007");
    std::cout << Parser->PrettyPrint(*Model.Variable) << "\n";
}

}  // namespace
}  // namespace fzl
