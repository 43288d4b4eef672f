// Saving and loading components: exact round trips, the loading state, refused streams.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include <fzl/fzl.h>

#include "Describe.h"
#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using test::Describe;
using test::ErrorOf;
using test::ExpectRoundTrip;

/// A set of the application's own, with a published property of its own.
class TWeightedSet : public TFuzzySet {
public:
    using TFuzzySet::TFuzzySet;
    [[nodiscard]] double GetWeight() const noexcept { return FWeight; }
    void SetWeight(double Value) noexcept { FWeight = Value; }
    void DefineProperties(TPropertyList& Properties) override {
        TFuzzySet::DefineProperties(Properties);
        Properties.Float<&TWeightedSet::GetWeight, &TWeightedSet::SetWeight>("Weight", this, 1.0);
    }
    [[nodiscard]] std::string ClassName() const override { return "TWeightedSet"; }
    [[nodiscard]] TFuzzySetClass ClassType() const override { return TFuzzySetClass::Of<TWeightedSet>(); }

private:
    double FWeight = 1.0;
};

/// A component that counts its Loaded calls and every event it fires.
class TCountingLogic : public TFuzzyLogic {
public:
    explicit TCountingLogic(TComponent* AOwner) : TFuzzyLogic(AOwner) {
        OnChange = [this](TObject*) { ++Events; };
        OnVariableAdded = OnVariableChange =
            OnVariableDeleted = [this](TObject*, TFuzzyVariable*) { ++Events; };
        OnFuzzySetAdded = OnFuzzySetChange = OnFuzzySetDeleted = [this](TObject*, TFuzzySet*) { ++Events; };
    }
    void Loaded() override {
        TFuzzyLogic::Loaded();
        ++LoadedCalls;
    }
    [[nodiscard]] std::string ClassName() const override { return "TCountingLogic"; }
    int Events = 0;
    int LoadedCalls = 0;
};

/// A model built by code: every shape, a set of the application's class, a vertical run of
/// four points, a point left outside a narrowed range, awkward texts and numbers.
TOwned<TFuzzyLogic> BuildModel() {
    TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetName("Plant");
    Logic->SetTag(-7);
    Logic->SetThreshold(0.125);
    Logic->SetNumFunctionValues(9);
    Logic->SetCorrelationMethod(fcmProduct);
    Logic->SetInferenceMethod(fimBoundedSum);
    Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    Logic->GetVariables().Add("hotter=very hot");
    TFuzzyVariable* Temp = Logic->GetItems().Add("temp");  // with the automatic terms
    Temp->SetUnits(
        "\xC2\xB0"
        "C 'quoted'");
    Temp->SetComment("line1\nline2\ttab");
    Temp->SetMinimum(-20);
    Temp->SetMaximum(45.5);
    Temp->SetThreshold(0.5);
    for (int Type = fstUserDefined; Type <= fstGrowthCurve; ++Type)
        Temp->GetItems().Add("shape" + IntToStr(Type))->SetSetType(static_cast<TFuzzySetType>(Type));
    Temp->SetItemIndex(1);
    Logic->SetAutoTerms(false);
    TFuzzyVariable* Speed = Logic->GetItems().Add("speed");
    Speed->SetMaximum(100);
    TFuzzySet* Step = Speed->GetItems().Add("step");
    {
        const TUpdateGuard Bulk(Step->GetValues());
        for (const double Y : {0.0, 0.3, 0.6, 1.0}) Step->GetValues().Add(5, Y);
        Step->GetValues().Add(0.1 + 0.2, 5e-324);
        Step->GetValues().Add(100, 1e-300);
    }
    Speed->SetMaximum(50);  // the point at 100 now lies outside the range; it stays
    auto* Weighted =
        static_cast<TWeightedSet*>(TFuzzySetClass::Of<TWeightedSet>().Create(&Speed->GetItems()));
    Weighted->SetWeight(2.5);
    Weighted->SetComment("weighted");
    Weighted->SetTag(42);
    Speed->GetItems().Add();  // unnamed, undefined, empty
    return Logic;
}

TEST(ComponentStreaming, ClassModelRoundTripFromCode) {
    RegisterClass<TWeightedSet>();
    const TOwned<TFuzzyLogic> Logic = BuildModel();
    const std::string Text = SaveComponent(*Logic);
    for (const char* Line :
         {"object TFuzzyLogic\n  Name = 'Plant'\n  Tag = -7\n  AutoTerms = False\n",
          "  Variables = (\n    'hotter=very hot'\n  )\n",
          "Units = '\xC2\xB0"
          "C ''quoted'''\n",
          "Comment = 'line1'#10'line2'#9'tab'\n", "        item TWeightedSet\n", "          Weight = 2.5\n",
          "              X = 0.30000000000000004\n              Y = 5e-324\n", "          Values = <>\n",
          "      ItemIndex = 1\n"})
        EXPECT_NE(Text.find(Line), std::string::npos) << Line;
    EXPECT_EQ(Text.find("Strings"), std::string::npos);  // stale, and no parser to print it
    // The weight and the class of the set come back in the re-saved bytes.
    ExpectRoundTrip(*Logic, *Make<TFuzzyLogic>(nullptr));
}

TEST(ComponentStreaming, RandomModelsRoundTripExactly) {
    std::mt19937 Random(20240613);
    auto Uniform = [&](double Low, double High) {
        return std::uniform_real_distribution<double>(Low, High)(Random);
    };
    auto Pick = [&](int Count) { return static_cast<int>(Random() % static_cast<unsigned>(Count)); };
    for (int Model = 0; Model < 30; ++Model) {
        const TOwned<TFuzzyLogic> Logic = Make<TFuzzyLogic>(nullptr);
        Logic->SetAutoTerms(Pick(2) == 0);
        Logic->SetThreshold(Uniform(0, 1));
        Logic->SetNumFunctionValues(2 + Pick(20));
        Logic->SetInferenceMethod(static_cast<TFuzzyInferenceMethod>(Pick(5)));
        for (int V = Pick(4); V >= 0; --V) {
            TFuzzyVariable* Variable = Logic->GetItems().Add("v" + IntToStr(V));
            Variable->SetMinimum(Uniform(-1000, 0));
            Variable->SetMaximum(Uniform(0, 1000));
            for (int S = Pick(6); S > 0; --S) {
                TFuzzySet* Set = Variable->GetItems().Add("s" + IntToStr(S));
                switch (Pick(4)) {
                    case 0: Set->SetSetType(static_cast<TFuzzySetType>(Pick(6))); break;
                    case 1: Set->CreateCrispValue(Uniform(-100, 100)); break;
                    case 2:
                        for (int P = Pick(12); P > 0; --P)
                            Set->GetValues().Add(Pick(3) * 10.0 + Uniform(0, 1e-3), Uniform(0, 2));
                        break;
                    default:
                        Set->SetSetType(fstPICurve);
                        Set->Hedge(static_cast<TFuzzyHedge>(Pick(9)));
                        static_cast<void>(Set->Union(*Variable->GetItems().First(), foMean).release());
                }
            }
        }
        ExpectRoundTrip(*Logic, *Make<TFuzzyLogic>(nullptr));
    }
}

TEST(ComponentStreaming, RefusedStreamsNameTheLineAndChangeNothingAGoodOneLoadsQuietly) {
    const std::string Head = "object TCountingLogic\n";
    const std::string Var = "  Items = <\n    item TFuzzyVariable\n      Maximum = 10\n";
    const std::string Point =
        "      Items = <\n        item TFuzzySet\n          Values = <\n            item\n"
        "              X = 5\n            end\n            item\n";
    const struct {
        std::string Text;
        std::string Message;
    } Cases[] = {
        {"", "Unexpected end of the stream in LoadComponent at line 1: \"\""},
        {"object TIFuzzyLogic\nend\n",
         "The stream holds a TIFuzzyLogic; the component is a TCountingLogic in "
         "LoadComponent at line 1: \"object TIFuzzyLogic\""},
        {Head + "  Colour = 1\nend\n",
         "Unknown property \"Colour\" of TCountingLogic in LoadComponent at line 2"},
        {Head + "  Threshold = '0.5'\nend\n", "Invalid value for property \"Threshold\": expected a number"},
        {Head + "  Threshold = 1e999\nend\n", "Value out of range for property \"Threshold\": 1e999"},
        {Head + "  NumFunctionValues = 7.0\nend\n", "expected an integer"},
        {Head + "  AutoTerms = yes\nend\n", "expected one of False, True in LoadComponent at line 2"},
        {Head + "  Name = 'unclosed\nend\n", "expected a quoted string"},
        {Head + "end\nend\n", "Text after the end of the component in LoadComponent at line 3"},
        {Head + "  Items = <\n    item TNoSuchClass\n",
         "Unknown class \"TNoSuchClass\" in LoadComponent at line 3"},
        {Head + "  Items = <\n    item TFuzzySet\n", "Cannot assign a TFuzzySet to a TFuzzyVariables"},
        {Head + Var + "      Items = <\n        item\n          Name = 'very'\n",
         "Invalid fuzzy set name, \"very\" is a reserved word in LoadComponent at line 7"},
        {Head + Var + "      ItemIndex = 0\n", "List index out of bounds (0) in LoadComponent at line 5"},
        {Head + Var + Point + "              X = 4.9998\n            end\n",
         "X lies before the X of the point ahead of it in LoadComponent at line 11: \"item\""},
        {Head + Var + Point + "              X = 5\n            end\n",
         "it equals the point ahead of it in LoadComponent at line 11"},
    };
    const TOwned<TCountingLogic> Logic = Make<TCountingLogic>(nullptr);
    static_cast<void>(Logic->GetItems().Add("kept"));
    Logic->SetThreshold(0.7);
    const TFuzzyVariable* Kept = Logic->GetItems().First();
    Logic->Events = 0;
    const std::string Before = Describe(*Logic);
    for (const auto& Case : Cases) {
        const std::string Error = ErrorOf([&] { LoadComponent(Case.Text, *Logic); });
        EXPECT_NE(Error.find(Case.Message), std::string::npos) << Error;
        EXPECT_EQ(Error.substr(0, 15), "Parsing Error, ");
        EXPECT_EQ(Describe(*Logic), Before) << Case.Text;
        EXPECT_EQ(Logic->GetItems().First(), Kept);
    }
    EXPECT_EQ(Logic->Events + Logic->LoadedCalls, 0);

    // A good stream then loads without firing events, keeps its stored points and ends with
    // one Loaded.
    LoadComponent(
        "object TCountingLogic\n Threshold = 0.2\n Items = <\n  item TFuzzyVariable\n   Name = 'v'\n"
        "   Maximum = 10\n   Items = <\n    item TFuzzySet\n     Values = <\n      item\n       X = 2\n"
        "       Y = 1\n      end\n     >\n     SetType = fstTriangle\n    end\n   >\n  end\n >\nend\n",
        *Logic);
    EXPECT_EQ(Logic->Events, 0);
    EXPECT_EQ(Logic->LoadedCalls, 1);
    EXPECT_FALSE(Logic->ComponentState().Contains(csLoading));
    ASSERT_EQ(Logic->GetItems().Count(), 1);  // the kept variable went, no automatic terms came
    const TFuzzyVariable* V = Logic->GetItems().First();
    EXPECT_EQ(V->GetThreshold(), 0);  // its own, not the component's
    ASSERT_EQ(V->GetItems().Count(), 1);
    EXPECT_EQ(test::Text(*V->GetItems().First()), "2,1 ");
    EXPECT_EQ(V->GetItems().First()->GetSetType(), fstTriangle);
    Logic->GetItems().First()->SetUnits("m");
    EXPECT_EQ(Logic->Events, 1);  // loaded: events fire again
}

TEST(ComponentStreaming, ReferenceCountedModelStreamsItsTextAndReadsLegacyTableProperties) {
    test::TIntfParsed M(true);
    const TOwned<TStringList> Lines = Make<TStringList>();
    Lines->SetText("(deffuzzy alpha)\n(deffuzzy beta)");
    M.Logic->SetStrings(*Lines);
    M.Logic->SetThreshold(0.25);
    const std::string Text = SaveComponent(*M.Logic);
    EXPECT_EQ(Text,
              "object TIFuzzyLogic\n  Threshold = 0.25\n  Strings = (\n    '(deffuzzy alpha)'\n"
              "    '(deffuzzy beta)'\n  )\nend\n");

    const auto Other = Make<TVXFuzzyLogicParser>(nullptr);
    const TOwned<TIFuzzyLogic> Loaded = Make<TIFuzzyLogic>(nullptr);
    int Events = 0;
    Loaded->OnVariableAdded = [&](const TIntfPtr<IFuzzyVariable>&) { ++Events; };
    // Without a parser the load fails as Parse does, and nothing changes.
    const std::string Legacy =
        "object TIFuzzyLogic\n  Items.LoadFactor = 0.75\n  Items.HashType = 1\n"
        "  Items.Capacity = 16\n" +
        Text.substr(Text.find('\n') + 1);
    EXPECT_EQ(ErrorOf([&] { LoadComponent(Legacy, *Loaded); }), "Parser not assigned.  Cannot parse");
    EXPECT_EQ(Loaded->GetThreshold(), 0.01);
    Loaded->SetParser(Other.get());
    Other->SetFuzzyLogic(Loaded.get());
    LoadComponent(Legacy, *Loaded);
    EXPECT_EQ(Loaded->GetItems().Count(), 2);
    EXPECT_EQ(Loaded->GetItems().Get("alpha")->GetThreshold(), 0.25);
    EXPECT_EQ(Events, 0);
    EXPECT_EQ(SaveComponent(*Loaded), Text);  // the legacy properties are never written
    const TIntfPtr<IFuzzyVariable> Alpha = Loaded->GetItems().Get("alpha");
    EXPECT_NE(ErrorOf([&] {
                  LoadComponent("object TIFuzzyLogic\n  Items.Capacity = 1.5\nend\n", *Loaded);
              }).find("at line 2"),
              std::string::npos);
    EXPECT_EQ(Loaded->GetItems().Get("alpha"), Alpha);  // the same variables, still hooked
    static_cast<void>(Alpha->Add("x"));
    EXPECT_TRUE(Loaded->GetNeedsUpdate());
    EXPECT_EQ(StreamClassName(Text), "TIFuzzyLogic");
    EXPECT_EQ(StreamClassName("(deffuzzy x (0 1))"), "");
}

}  // namespace
}  // namespace fzl
