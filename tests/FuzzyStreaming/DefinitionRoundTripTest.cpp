// Components built from definition texts, saved and loaded with the real parser: the class
// model keeps its points exactly, the reference-counted model rebuilds itself from its text.

#include <gtest/gtest.h>

#include <iostream>
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
    ExpectRoundTrip(*Class.Logic, *Loaded.Logic, "class model");  // (without a parser: the streaming tests)

    TParsed<TIFuzzyLogic> Intf;  // points on the text's own four-decimal grid come back exactly
    Intf.Logic->SetName("Controller");
    Intf.Logic->SetTag(12);
    Intf.Logic->SetCorrelationMethod(fcmProduct);
    Intf.Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    Intf.Parse("(deffuzzy temp (range -10.5 40) (values (term warm ((5 0) (20 1) (30 0.0001)))))");
    TParsed<TIFuzzyLogic> IntfLoaded(true);  // its settings and text come back to the byte
    const std::string Saved = SaveComponent(*Intf.Logic);
    LoadComponent(Saved, *IntfLoaded.Logic);
    EXPECT_EQ(SaveComponent(*IntfLoaded.Logic), Saved);
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
