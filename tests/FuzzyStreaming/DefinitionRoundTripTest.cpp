// Components built from definition texts, saved and loaded with the real parser: the class
// model keeps its points exactly, the reference-counted model rebuilds itself from its text.

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <string>

#include <fzl/fzl.h>

#include "Describe.h"
#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using test::Describe;
using test::ExpectRoundTrip;
using test::TParsed;

const char* const Definition = R"((deffuzzy temp "room \"air\""
  (range -10.5 40)
  (units "deg C")
  (values
    (term cold "below ten" ((-10.5 1) (0 1) (10 0)))
    (term warm (tri 5 20 30))
    (term hot (s 25 40))
    (term mild (pi 10 20))
    (term peak (beta 20 15 5 2))
    (term cool (z 0 20))
    (term pleasant very warm and not hot)))
(deffuzzy load
  (range 0 100)
  (values (term step ((50 0) (50 0.5) (50 1) (60 1))))))";

TEST(DefinitionRoundTrip, BothModelsFromADefinitionText) {
    TParsed<TFuzzyLogic> Class;
    Class.Logic->SetNumFunctionValues(11);
    Class.Logic->SetInferenceMethod(fimBoundedSum);
    Class.Logic->GetVariables().Add("hotter=very hot");
    Class.Parse(Definition);
    ASSERT_EQ(Class.Logic->GetItems().Count(), 2);
    TParsed<TFuzzyLogic> Loaded(true);
    ExpectRoundTrip(*Class.Logic, *Loaded.Logic, "class model");
    // The class model keeps its points, expressions included, so it loads without a parser.
    ExpectRoundTrip(*Class.Logic, *Make<TFuzzyLogic>(nullptr), "without a parser");
    EXPECT_EQ(Class.Logic->GetItems().First()->GetItems().GetItem(6)->GetExpression(),
              "[very warm] and [not hot]");

    TParsed<TIFuzzyLogic> Intf;  // points on the text's own four-decimal grid come back exactly
    Intf.Logic->SetName("Controller");
    Intf.Logic->SetTag(12);
    Intf.Logic->SetCorrelationMethod(fcmProduct);
    Intf.Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    Intf.Parse("(deffuzzy temp (range -10.5 40) (values (term warm ((5 0) (20 1) (30 0.0001)))))");
    TParsed<TIFuzzyLogic> IntfLoaded(true);
    ExpectRoundTrip(*Intf.Logic, *IntfLoaded.Logic, "reference-counted model");
}

/// A definition text drawn from Random: variables with ranges, units and comments; sets as
/// point lists and every built-in shape.
std::string RandomDefinition(std::mt19937& Random) {
    auto Pick = [&](int Count) { return static_cast<int>(Random() % static_cast<unsigned>(Count)); };
    // Numbers on the four-decimal grid the printer writes.
    auto Grid = [&](double Low, double High) {
        const double Steps = std::floor((High - Low) * 10000);
        return FormatFixed(Low + std::floor(std::uniform_real_distribution<double>(0, Steps)(Random)) / 10000,
                           4);
    };
    std::string Text;
    for (int V = 0, Variables = 1 + Pick(3); V < Variables; ++V) {
        const double Low = std::floor(std::uniform_real_distribution<double>(-500, 0)(Random));
        const double High = Low + 10 + std::floor(std::uniform_real_distribution<double>(0, 500)(Random));
        Text += "(deffuzzy v" + IntToStr(V) + (Pick(2) == 0 ? " \"note " + IntToStr(V) + "\"" : "") +
                " (range " + FloatToStr(Low) + " " + FloatToStr(High) + ")" +
                (Pick(2) == 0 ? " (units kg)" : "") + " (values";
        const double Span = High - Low;
        for (int S = 0, Sets = 1 + Pick(6); S < Sets; ++S) {
            Text += " (term s" + IntToStr(S) + " ";
            switch (Pick(5)) {
                case 0: {
                    Text += "(";
                    for (int P = 0, Count = 1 + Pick(8); P < Count; ++P)
                        Text +=
                            "(" + Grid(Low + P * Span / 8, Low + (P + 1) * Span / 8) + " " + Grid(0, 1) + ")";
                    Text += ")";
                    break;
                }
                case 1:
                    Text += "(tri " + Grid(Low, Low + Span / 3) + " " + Grid(Low + Span / 3, Low + Span / 2) +
                            " " + Grid(Low + Span / 2, High) + ")";
                    break;
                case 2:
                    Text += "(pi " + Grid(1, Span / 2) + " " + Grid(Low + Span / 3, High - Span / 3) + ")";
                    break;
                case 3:
                    Text += (Pick(2) == 0 ? "(s " : "(z ") + Grid(Low, Low + Span / 2) + " " +
                            Grid(Low + Span / 2, High) + ")";
                    break;
                default:
                    Text += "(beta " + Grid(1, Span / 2) + " " + Grid(Low, High) + " " + Grid(1, 10) + " 2)";
                    break;
            }
            Text += ")";
        }
        Text += "))\n";
    }
    return Text;
}

TEST(DefinitionRoundTrip, RandomDefinitionsRebuildTheReferenceCountedModel) {
    for (const unsigned Start : {7u, 20240613u}) {
        std::mt19937 Random(Start);
        for (int Model = 0; Model < 8; ++Model) {
            const std::string Context = "random start " + IntToStr(Start) + " model " + IntToStr(Model);
            // The reference-counted model is its text: the loaded model is the one the saved
            // text describes (parsed after the settings), and saving it again gives the same bytes.
            TParsed<TIFuzzyLogic> Intf;
            Intf.Logic->SetNumFunctionValues(2 + static_cast<int>(Random() % 15));
            Intf.Parse(RandomDefinition(Random));
            const std::string Text = SaveComponent(*Intf.Logic);
            TParsed<TIFuzzyLogic> Loaded;
            LoadComponent(Text, *Loaded.Logic);
            EXPECT_EQ(SaveComponent(*Loaded.Logic), Text) << Context;
            TParsed<TIFuzzyLogic> Described;
            Described.Logic->SetNumFunctionValues(Intf.Logic->GetNumFunctionValues());
            Described.Parse(Intf.Logic->GetStrings().GetText());
            EXPECT_EQ(Describe(*Loaded.Logic), Describe(*Described.Logic)) << Context << "\n" << Text;
        }
    }
}

// The saving and loading chapter of the user guide.
TEST(DefinitionRoundTrip, GuideSavingAndLoading) {
    // [guide:save-class]
    // A class-model component, built by code or by a definition text.
    const TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetThreshold(0.05);
    TFuzzyVariable* Speed = Logic->GetItems().Add("speed");  // with low, medium and high
    Speed->SetMaximum(120);
    const std::string Saved = SaveComponent(*Logic);  // the host keeps the text where it likes

    // Loading replaces the whole model. Handlers are not in the stream: set them on the
    // component you load into, before or after; none of them fires during the load.
    const TOwned<TFuzzyLogic> Restored = Make<TFuzzyLogic>(nullptr);
    int Added = 0;
    Restored->OnVariableAdded = [&](TObject*, TFuzzyVariable*) { ++Added; };
    LoadComponent(Saved, *Restored);
    // Restored holds "speed" with its three sets and their points, exactly; Added is 0.
    // [/guide:save-class]
    EXPECT_EQ(Added, 0);
    EXPECT_EQ(SaveComponent(*Restored), Saved);
    EXPECT_EQ(Restored->GetItems().First()->GetItems().Count(), 3);

    // [guide:save-intf]
    // The reference-counted component is its definition text: link the parser (both ways)
    // before loading, since loading ends by parsing the text.
    const TOwned<TIFuzzyLogic> Intf = Make<TIFuzzyLogic>(nullptr);
    const TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Parser->SetFuzzyLogic(Intf.get());
    Intf->SetParser(Parser.get());
    try {
        LoadComponent(
            "object TIFuzzyLogic\n"
            "  AutoTerms = False\n"
            "  Strings = (\n"
            "    '(deffuzzy level (range 0 10) (values (term full (tri 5 10 10))))'\n"
            "  )\n"
            "end\n",
            *Intf);
    } catch (const EFzyParseException& Error) {
        // "Parsing Error, <what> in LoadComponent at line <n>: "<line>"", and Intf unchanged
        std::cerr << Error.Message() << "\n";
    }
    // [/guide:save-intf]
    ASSERT_EQ(Intf->GetItems().Count(), 1);
    EXPECT_EQ(Intf->GetItems().Get("level")->GetCount(), 1);
}

}  // namespace
}  // namespace fzl
