// The reference-counted component saves its definition text and rebuilds itself from it:
// models built by code and at random come back equal, names, comments, units, settings,
// expressions and points exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include <fzl/fzl.h>

#include "Describe.h"
#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using test::TParsed;

void ExpectRoundTrip(TIFuzzyLogic& Logic, const std::string& Context) {
    const std::string Text = SaveComponent(Logic);
    TParsed<TIFuzzyLogic> Loaded;
    int Events = 0;
    Loaded.Logic->OnVariableAdded = [&](const TIntfPtr<IFuzzyVariable>&) { ++Events; };
    LoadComponent(Text, *Loaded.Logic);
    EXPECT_EQ(test::Describe(*Loaded.Logic), test::Describe(Logic)) << Context << "\n" << Text;
    EXPECT_EQ(SaveComponent(*Loaded.Logic), Text) << Context;
    EXPECT_EQ(Events, 0) << Context;
}

TEST(IntfStreamRoundTrip, ModelBuiltByCode) {
    TParsed<TIFuzzyLogic> Intf(true);
    Intf.Logic->SetThreshold(0.3);
    Intf.Logic->SetInferenceMethod(fimMean);
    const TIntfPtr<IFuzzyVariable> Temp = MakeIntf<TIFuzzyVariable>("temp");
    Temp->SetMinimum(-12.5);
    Temp->SetMaximum(0.1 + 0.2);
    Temp->SetUnits(
        "\xC2\xB0"
        "C");
    Temp->SetComment("says \"cold\"\nand more");
    Intf.Logic->GetItems().Add(Temp);  // with the automatic terms
    const TIntfPtr<IFuzzySet> Odd = Temp->Add("odd");
    Odd->SetComment("points off the four-decimal grid");
    for (const double X : {-12.5, -1.0 / 3, 0.1 + 0.2}) Odd->Add(X, std::min(1.0, X * X / 7));
    Temp->Add("bell")->CreatePIFunctionValues(Intf.Logic->GetNumFunctionValues(), 2.5, -5);
    Temp->Add("peak")->CreateBetaCurveFunctionValues(Intf.Logic->GetNumFunctionValues(), 3, -6, 1.5, 2);
    const TIntfPtr<IFuzzySet> Result = Intf.Parser->EvalFuzzyExpression(Temp, "very bell and-product odd");
    const TIntfPtr<IFuzzySet> Mix = Temp->Add("mix");  // an expression set, as a definition makes one
    Mix->Append(Result, 0, Result->GetCount());
    Mix->SetExpression(Result->GetExpression());
    EXPECT_NE(SaveComponent(*Intf.Logic).find("(term mix [very bell] and-product odd)"), std::string::npos);
    ExpectRoundTrip(*Intf.Logic, "by code");
}

/// Points of any precision; curves inside the range with arguments of two decimals. (A curve
/// clipped by the range, or whose arguments its points do not give back exactly, reads back
/// as the points the text holds.)
std::string RandomModelText(std::mt19937& Random) {
    auto Pick = [&](int Count) { return static_cast<int>(Random() % static_cast<unsigned>(Count)); };
    auto Uniform = [&](double Low, double High) {
        return std::uniform_real_distribution<double>(Low, High)(Random);
    };
    auto Number = [&](double Low, double High) { return FormatFixed(Uniform(Low, High), 2); };
    auto Coordinate = [&](double Low, double High) {
        return Pick(2) == 0 ? FloatToStr(Uniform(Low, High)) : Number(Low, High);
    };
    std::string Text;
    for (int V = 0, Variables = 1 + Pick(3); V < Variables; ++V) {
        const double Low = std::floor(Uniform(-500, 0));
        const double High = Low + 10 + std::floor(Uniform(0, 500));
        const double Span = High - Low, Center = Low + Span / 2;
        Text += "(deffuzzy v" + IntToStr(V) + (Pick(2) == 0 ? " \"note\"" : "") + " (range " +
                FloatToStr(Low) + " " + FloatToStr(High) + ")" + (Pick(2) == 0 ? " (units kg)" : "") +
                " (values";
        for (int S = 0, Sets = 1 + Pick(6); S < Sets; ++S) {
            Text += " (term s" + IntToStr(S) + " ";
            switch (S == 0 ? Pick(5) : Pick(6)) {
                case 0:
                    Text += "(";
                    for (int P = 0, Count = 1 + Pick(8); P < Count; ++P)
                        Text += "(" + Coordinate(Low + P * Span / 8, Low + (P + 1) * Span / 8) + " " +
                                Coordinate(0, 1) + ")";
                    Text += ")";
                    break;
                case 1:
                    Text += "(tri " + Number(Low, Low + Span / 3) + " " + Number(Low + Span / 3, Center) +
                            " " + Number(Center, High) + ")";
                    break;
                case 2:
                    Text += "(pi " + Number(1, Span / 4) + " " +
                            Number(Center - Span / 4, Center + Span / 4) + ")";
                    break;
                case 3:
                    Text += (Pick(2) == 0 ? "(s " : "(z ") + Number(Low, Center) + " " +
                            Number(Center, High) + ")";
                    break;
                case 4:
                    Text += "(beta " + Number(1, Span / 4) + " " +
                            Number(Center - Span / 4, Center + Span / 4) + " " + Number(1, 10) + " 2)";
                    break;
                default: {
                    const std::string A = "s" + IntToStr(Pick(S)), B = "s" + IntToStr(Pick(S));
                    const std::string Forms[] = {"very " + A + " or " + B, "not " + A,
                                                 "somewhat " + A + " and-product " + B,
                                                 A + " or-sum [extremely " + B + "]"};
                    Text += Forms[Pick(4)];
                }
            }
            Text += ")";
        }
        Text += "))\n";
    }
    return Text;
}

TEST(IntfStreamRoundTrip, RandomModelsComeBackEqual) {
    for (const unsigned Start : {7u, 20240613u}) {
        std::mt19937 Random(Start);
        for (int Index = 0; Index < 20; ++Index) {
            TParsed<TIFuzzyLogic> Intf(Random() % 2 == 0);
            Intf.Logic->SetNumFunctionValues(3 + static_cast<int>(Random() % 15));
            Intf.Logic->SetThreshold(0.25);
            Intf.Logic->SetCorrelationMethod(fcmProduct);
            Intf.Logic->SetInferenceMethod(static_cast<TFuzzyInferenceMethod>(Random() % 5));
            Intf.Logic->GetVariables().Add("w=s0");
            const std::string Definition = RandomModelText(Random);
            Intf.Parse(Definition);
            ExpectRoundTrip(*Intf.Logic, "random start " + IntToStr(Start) + " model " + IntToStr(Index) +
                                             "\n" + Definition);
        }
    }
}

}  // namespace
}  // namespace fzl
