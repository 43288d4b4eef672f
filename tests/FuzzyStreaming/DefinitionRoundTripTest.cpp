// Components built from definition texts, saved and loaded with the real parser: the class
// model keeps its points exactly, the reference-counted model rebuilds itself from its text.

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <string>

#include <fzl/fzl.h>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using test::TParsed;

std::string Number(double Value) { return FloatToStr(Value); }

std::string Points(const TFuzzySetValues& Values) {
    std::string Text;
    for (const TFuzzySetValue* P : Values) Text += Number(P->GetX()) + "," + Number(P->GetY()) + " ";
    return Text;
}

/// The settings, and (WithText) the definition text.
std::string Settings(TCustomFuzzyLogic& Logic, bool WithText) {
    return Logic.GetName() + "|" + IntToStr(Logic.GetTag()) + "|" + IntToStr(Logic.GetAutoTerms()) +
           IntToStr(Logic.GetCorrelationMethod()) + IntToStr(Logic.GetInferenceMethod()) +
           IntToStr(Logic.GetDefuzzificationMethod()) + "|" + IntToStr(Logic.GetNumFunctionValues()) + "|" +
           FloatToStr(Logic.GetThreshold()) + "|" + Logic.GetVariables().GetText() + "|" +
           (WithText ? Logic.GetStrings().GetText() : std::string()) + "\n";
}

/// Everything the loaded model must restore, numbers exactly (class model).
std::string Describe(TFuzzyLogic& Logic) {
    std::string D = Settings(Logic, true);
    for (const TFuzzyVariable* V : Logic.GetItems()) {
        D += V->GetName() + "|" + V->GetUnits() + "|" + V->GetComment() + "|" + Number(V->GetMinimum()) +
             "|" + Number(V->GetMaximum()) + "|" + FloatToStr(V->GetThreshold()) + "|" +
             IntToStr(V->GetItemIndex()) + "\n";
        for (const TFuzzySet* S : V->GetItems())
            D += "  " + S->GetName() + "|" + S->GetComment() + "|" + IntToStr(S->GetDefined()) +
                 IntToStr(S->GetSetType()) + "|" + S->GetExpression() + "|" + Points(S->GetValues()) + "\n";
    }
    return D;
}

/// The same for the reference-counted model, variables and sets in table order; its text is
/// compared by saving it again.
std::string Describe(TIFuzzyLogic& Logic) {
    std::string D = Settings(Logic, false);
    const TFuzzyVariableTable& Table = Logic.GetItems();
    for (int I = 0; I < Table.Count(); ++I) {
        const TIntfPtr<IFuzzyVariable> V = Table.GetItemByIndex(I);
        D += V->GetName() + "|" + V->GetUnits() + "|" + V->GetComment() + "|" + Number(V->GetMinimum()) +
             "|" + Number(V->GetMaximum()) + "|" + FloatToStr(V->GetThreshold()) + "\n";
        for (int J = 0; J < V->GetCount(); ++J) {
            const TIntfPtr<IFuzzySet> S = V->GetFuzzySet(J);
            D += "  " + S->GetName() + "|" + S->GetComment() + "|" + IntToStr(S->GetDefined()) +
                 IntToStr(S->GetSetType()) + "|" + S->GetExpression() + "|";
            for (int P = 0; P < S->GetCount(); ++P)
                D += Number(S->GetXValues(P)) + "," + Number(S->GetYValues(P)) + " ";
            D += "\n";
        }
    }
    return D;
}

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

/// Saves Logic, loads it into a fresh component of the same model linked to its own
/// parser, checks both agree (numbers exactly) and that saving again gives the same bytes.
template <class TLogic>
void ExpectRoundTrip(TLogic& Logic, const std::string& Context) {
    const std::string Text = SaveComponent(Logic);
    TParsed<TLogic> Loaded(true);
    int Events = 0;
    Loaded.Logic->OnChange = [&](TObject*) { ++Events; };
    LoadComponent(Text, *Loaded.Logic);
    EXPECT_EQ(Events, 0) << Context;
    EXPECT_FALSE(Loaded.Logic->ComponentState().Contains(csLoading));
    EXPECT_EQ(Describe(*Loaded.Logic), Describe(Logic)) << Context << "\n" << Text;
    EXPECT_EQ(SaveComponent(*Loaded.Logic), Text) << Context;
}

template <class TLogic>
void SetOddSettings(TLogic& Logic) {
    Logic.SetName("Controller");
    Logic.SetTag(12);
    Logic.SetThreshold(0.3);
    Logic.SetNumFunctionValues(11);
    Logic.SetCorrelationMethod(fcmProduct);
    Logic.SetInferenceMethod(fimBoundedSum);
    Logic.SetDefuzzificationMethod(dmMeanOfMaxima);
    Logic.GetVariables().Add("hotter=very hot");
}

TEST(DefinitionRoundTrip, BothModelsFromADefinitionText) {
    TParsed<TFuzzyLogic> Class;
    SetOddSettings(*Class.Logic);
    Class.Parse(Definition);
    ASSERT_EQ(Class.Logic->GetItems().Count(), 2);
    ExpectRoundTrip(*Class.Logic, "class model");
    // The class model keeps its points, expressions included, so it loads without a parser.
    const TOwned<TFuzzyLogic> Bare = Make<TFuzzyLogic>(nullptr);
    LoadComponent(SaveComponent(*Class.Logic), *Bare);
    EXPECT_EQ(Describe(*Bare), Describe(*Class.Logic));
    EXPECT_EQ(Bare->GetItems().First()->GetItems().GetItem(6)->GetExpression(), "[very warm] and [not hot]");

    // Point lists on the text's own four-decimal grid come back exactly.
    TParsed<TIFuzzyLogic> Intf;
    SetOddSettings(*Intf.Logic);
    Intf.Parse(
        "(deffuzzy temp (range -10.5 40) (values (term cold ((-10.5 1) (0 1) (10 0)))"
        " (term warm ((5 0) (20 1) (30 0.0001)))))\n(deffuzzy load (values (term step ((50 0) (50 1)))))");
    ASSERT_EQ(Intf.Logic->GetItems().Count(), 2);
    ExpectRoundTrip(*Intf.Logic, "reference-counted model");
}

/// A definition text drawn from Random: variables with ranges, units and comments; sets as
/// point lists, every built-in shape, and (WithExpressions) expressions over earlier sets.
std::string RandomDefinition(std::mt19937& Random, bool WithExpressions) {
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
            switch (Pick(WithExpressions && S > 1 ? 7 : 6)) {
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
                    Text += "(s " + Grid(Low, Low + Span / 2) + " " + Grid(Low + Span / 2, High) + ")";
                    break;
                case 4:
                    Text += "(z " + Grid(Low, Low + Span / 2) + " " + Grid(Low + Span / 2, High) + ")";
                    break;
                case 5:
                    Text += "(beta " + Grid(1, Span / 2) + " " + Grid(Low, High) + " " + Grid(1, 10) + " 2)";
                    break;
                default: Text += "very s" + IntToStr(Pick(S)) + " or-sum not s" + IntToStr(Pick(S));
            }
            Text += ")";
        }
        Text += "))\n";
    }
    return Text;
}

TEST(DefinitionRoundTrip, RandomDefinitionsInBothModels) {
    for (const unsigned Seed : {1u, 7u, 42u, 1234u, 99991u, 20240613u}) {
        std::mt19937 Random(Seed);
        for (int Model = 0; Model < 8; ++Model) {
            const std::string Context = "seed " + IntToStr(Seed) + " model " + IntToStr(Model);
            TParsed<TFuzzyLogic> Class(Random() % 2 == 0);
            Class.Logic->SetNumFunctionValues(2 + static_cast<int>(Random() % 15));
            Class.Logic->SetThreshold(static_cast<double>(Random() % 1000) / 999);
            Class.Parse(RandomDefinition(Random, true));
            ExpectRoundTrip(*Class.Logic, Context);

            // The reference-counted model is its text: the loaded model is the one the saved
            // text describes (parsed after the settings), and saving it again gives the same bytes.
            TParsed<TIFuzzyLogic> Intf;
            Intf.Logic->SetNumFunctionValues(2 + static_cast<int>(Random() % 15));
            Intf.Parse(RandomDefinition(Random, false));
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
