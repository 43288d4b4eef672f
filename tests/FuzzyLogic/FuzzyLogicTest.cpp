#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "TestModel.h"
#include "TestParser.h"
#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using namespace test;  // TModel, FreeSet, PointsOf, Text, ErrorOf, ParseErrorOf
using TLog = std::vector<std::string>;

// The names of sets or variables, by range-for.
template <class TItems>
std::string Names(const TItems& Items) {
    std::string Text;
    for (const auto* Item : Items) Text += " " + Item->GetName();
    return Text.empty() ? Text : Text.substr(1);
}

// What an added or deleted item holds: a variable's set count, a set's point count and variable.
std::string Content(const TFuzzyVariable* V) { return " [" + std::to_string(V->GetItems().Count()) + "]"; }
std::string Content(const TFuzzySet* S) {
    return " [" + std::to_string(S->GetValues().Count()) + "] of " + S->GetVariable()->GetName();
}

// A component's events as "Var+ name [sets]", "Var~ name", "Var- name [sets]", "Set+ name [points] of
// variable", "Set~ name", "Set- ..." and "Change"; consecutive repeats are written once.
struct TRecorder {
    TLog Log;
    void Write(std::string Entry) {
        if (Log.empty() || Log.back() != Entry) Log.push_back(std::move(Entry));
    }
    explicit TRecorder(TFuzzyLogic& Logic) {
        auto On = [this, &Logic](std::string Tag, bool WithContent) {
            return [=, this, &Logic](TObject* Sender, auto* Item) {
                Write(Tag + Item->GetName() + (WithContent ? Content(Item) : "") +
                      (Sender == &Logic ? "" : "?"));
            };
        };
        Logic.OnChange = [this](TObject*) { Write("Change"); };
        Logic.OnVariableAdded = On("Var+ ", true);
        Logic.OnVariableChange = On("Var~ ", false);
        Logic.OnVariableDeleted = On("Var- ", true);
        Logic.OnFuzzySetAdded = On("Set+ ", true);
        Logic.OnFuzzySetChange = On("Set~ ", false);
        Logic.OnFuzzySetDeleted = On("Set- ", true);
    }
    TLog Take() { return std::exchange(Log, {}); }
};

TOwned<TStringList> LinesOf(std::string_view Text) {
    auto Lines = Make<TStringList>();
    Lines->SetText(Text);
    return Lines;
}

// Reads one variable name per line ("fail" raises) and prints "printed <name>".
struct TLineParser final : test::TStubParser {
    using TStubParser::PrettyPrint;
    void ParseFuzzyLogic(const std::string& AString) override {
        const auto Lines = LinesOf(AString);
        for (const TStrings::TItem& Line : *Lines) {
            if (Line.String == "fail") throw EFzyParseException("bad line", 2);
            dynamic_cast<TFuzzyLogic*>(GetFuzzyLogic())->GetItems().Add(Line.String);
        }
    }
    std::string PrettyPrint(const TFuzzySet& Set, bool) override { return "set " + Set.GetName(); }
    std::string PrettyPrint(const TFuzzyVariable& V) override { return "printed " + V.GetName(); }
};

TEST(FuzzyLogic, EventsReportEveryEditInOrder) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->GetItems().Add("speed");
    Logic->GetItems().Add("load");
    TRecorder Recorder(*Logic);
    // The automatic terms come after OnVariableAdded, whose handler sees no sets; names follow each add.
    TFuzzyVariable* Temp = Logic->GetItems().Add("temp");
    EXPECT_EQ(Recorder.Take(),
              (TLog{"Var+  [0]", "Set+  [0] of ", "Var~ ", "Set~ low", "Set+  [0] of ", "Var~ ",
                    "Set~ medium", "Set+  [0] of ", "Var~ ", "Set~ high", "Change", "Var~ temp"}));
    TFuzzySet* Low = Temp->GetItems().GetItem(0);
    TFuzzySet* Warm = Temp->GetItems().Add("warm");
    Low->GetValues().GetItem(0)->SetY(0.5);
    Warm->GetValues().Add(0.5, 1.0);
    Low->SetName("cold");
    Temp->SetUnits("C");
    Temp->GetItems().Delete(1);
    EXPECT_EQ(Recorder.Take(), (TLog{"Set+  [0] of temp", "Var~ temp", "Set~ warm", "Set~ low", "Set~ warm",
                                     "Set~ cold", "Var~ temp", "Set- medium [3] of temp", "Var~ temp"}));
    EXPECT_EQ(Names(Temp->GetItems()), "cold high warm");
    Warm->SetCollection(&Logic->GetItems().GetItem(0)->GetItems());  // moved, with both sides reported
    EXPECT_EQ(Recorder.Take(),
              (TLog{"Set- warm [1] of temp", "Var~ temp", "Set+ warm [1] of speed", "Var~ speed"}));

    // A deleted variable reports its sets first, each while whole, then itself, by name.
    Logic->GetItems().Delete(2);
    Logic->GetItems().GetItemByName("load")->Free();
    EXPECT_EQ(Recorder.Take(), (TLog{"Set- high [2] of temp", "Set- cold [2] of temp", "Var- temp [0]",
                                     "Change", "Set- high [2] of load", "Set- medium [3] of load",
                                     "Set- low [2] of load", "Var- load [0]", "Change"}));
    Logic.reset();  // destroying the component, with "speed" left, fires nothing
    EXPECT_TRUE(Recorder.Log.empty());
}

TEST(FuzzyLogic, AutomaticTermsSpanTheRange) {
    // The middle of medium is half the width (clamped into the range), not the centre.
    const std::vector<std::pair<std::pair<double, double>, std::vector<TPoints>>> Cases{
        {{20, 30}, {{{20, 1}, {30, 0}}, {{20, 0}, {20, 1}, {30, 0}}, {{20, 0}, {30, 1}}}},
        {{-10, 10}, {{{-10, 1}, {10, 0}}, {{-10, 0}, {10, 1}, {10, 0}}, {{-10, 0}, {10, 1}}}},
        {{5, 5}, {{{5, 1}, {5, 0}}, {{5, 0}, {5, 1}, {5, 0}}, {{5, 0}, {5, 1}}}},  // vertical steps
    };
    for (const auto& [Range, Terms] : Cases) {
        test::TModel Model(Range.first, Range.second);
        Model.Logic->AddAutoTerms(Model.Variable);
        std::vector<TPoints> Actual;
        for (const TFuzzySet* Term : Model.Variable->GetItems()) {
            Actual.push_back(test::PointsOf(*Term));
            EXPECT_TRUE(Term->GetDefined() && Term->GetExpression() == Term->GetName());
        }
        EXPECT_EQ(Names(Model.Variable->GetItems()), "low medium high");
        EXPECT_EQ(Actual, Terms) << Range.first << " .. " << Range.second;
    }
}

TEST(FuzzyLogic, TextParsingRegenerationAndTheParserLink) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    Logic->GetItems().Add("old");
    auto State = [&] { return Logic->GetStrings().GetText() + Names(Logic->GetItems()); };
    // Without a parser a stale text raises once; the text is stored before parsing, which raises.
    const std::string NoParser = "Parser not assigned.  Cannot parse";
    EXPECT_EQ(ErrorOf([&] { (void)Logic->GetStrings(); }), NoParser);
    EXPECT_EQ(ErrorOf([&] { Logic->SetStrings(*LinesOf("x")); }), NoParser);
    EXPECT_EQ(State(), "x\nold");
    // While loading nothing is parsed or regenerated, and nothing raises.
    auto Parser = Make<TLineParser>();
    Logic->BeginLoading();
    Logic->Parse();
    Logic->SetParser(Parser.get());
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetStrings(*LinesOf("y"));
    Logic->GetItems().GetItem(0)->SetUnits("C");
    Logic->UpdateStrings();
    EXPECT_FALSE(Logic->GetNeedsUpdate());
    EXPECT_EQ(State(), "y\nold");
    Logic->Loaded();

    // Assigning the text parses it at once, replacing the variables; the parsed text is kept.
    TRecorder Recorder(*Logic);
    Parser->OnParsing = [&](TObject*) { Recorder.Write("Parsing"); };
    Parser->OnParsed = [&](TObject*) { Recorder.Write("Parsed"); };
    Logic->SetStrings(*LinesOf("a\nb"));
    EXPECT_EQ(Recorder.Take(), (TLog{"Var- old [0]", "Change", "Parsing", "Var+  [0]", "Change", "Var~ a",
                                     "Var+  [0]", "Change", "Var~ b", "Parsed"}));
    EXPECT_EQ(State(), "a\nb\na b");
    // Any edit makes the text stale; reading it, or UpdateStrings, prints it anew.
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetItems().Add("s")->ToString(), "set s");
    EXPECT_TRUE(Logic->GetNeedsUpdate());
    EXPECT_EQ(State(), "printed a\nprinted b\na b");
    Logic->GetItems().GetItem(0)->SetComment("c");
    Logic->UpdateStrings();
    EXPECT_FALSE(Logic->GetNeedsUpdate());
    // Parse reads the current text; an error keeps what was read, leaves the text stale and skips OnParsed.
    Logic->GetStrings().SetText("c\nfail\nd");
    EXPECT_EQ(ErrorOf([&] { Logic->Parse(); }), "bad line");
    EXPECT_EQ(Recorder.Log.back(), "Var~ c");
    EXPECT_TRUE(Logic->GetNeedsUpdate());
    // Freeing the parser leaves the component without one; Parse raises and keeps the variables.
    Parser.reset();
    EXPECT_EQ(ErrorOf([&] { Logic->Parse(); }), NoParser);
    EXPECT_EQ(Names(Logic->GetItems()), "c");
    // A parser needs a component.
    EXPECT_EQ(ErrorOf([] { Make<TLineParser>()->Parse("a"); }),
              "Fuzzy Logic component must be specified to parse");
}

// Reports a fixed parsed text and line, as a parser in the middle of a text would.
struct TTextParser final : test::TStubParser {
    std::string Text;
    int Line = 0;
    std::string GetParsedText() const override { return Text; }
    int GetLineNumber() const override { return Line; }
};

TEST(FuzzyLogicParser, ParseErrorFormShorteningAndQuoting) {
    auto Parser = Make<TTextParser>();
    Parser->Text = "( term x ";
    Parser->Line = 3;
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseError("ParseFuzzySet", "Expected \")\""); }),
              "Parsing Error, Expected \")\" in ParseFuzzySet at line 3: \"( term x \" @3");

    // 255 characters are quoted whole; 256 become the first 128, "... ", CR LF and the 128
    // before the last, counted in characters (here two-byte ones), never splitting one.
    auto Quoted = [&](const std::string& Text) {
        Parser->Text = Text;
        const std::string Message = ParseErrorOf([&] { Parser->ParseError("W", "M"); });
        const std::string Prefix = "Parsing Error, M in W at line 3: \"", Suffix = "\" @3";
        return Message.substr(Prefix.size(), Message.size() - Prefix.size() - Suffix.size());
    };
    std::string Letters;
    for (int Index = 0; Index < 256; ++Index) Letters += static_cast<char>('a' + Index % 26);
    EXPECT_EQ(Quoted(Letters.substr(0, 255)), Letters.substr(0, 255));
    const std::string Short = Quoted(Letters);
    EXPECT_EQ(Short.size(), 262U);
    EXPECT_EQ(Short, Letters.substr(0, 128) + "... \r\n" + Letters.substr(127, 128));
    std::string Wide;
    for (int Index = 0; Index < 255; ++Index) Wide += "é";
    EXPECT_EQ(Quoted(Wide), Wide);
    Wide += "ü";
    std::string Half;
    for (int Index = 0; Index < 128; ++Index) Half += "é";
    EXPECT_EQ(Quoted(Wide), Half + "... \r\n" + Half);

    // Message, text and arguments are quoted, never formatted again.
    Parser->Text = "%d";
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseError("W", "%s%n"); }),
              "Parsing Error, %s%n in W at line 3: \"%d\" @3");
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseError("W", "Unknown function name: \"%s\"", {"%s%n"}); }),
              "Parsing Error, Unknown function name: \"%s%n\" in W at line 3: \"%d\" @3");
}

}  // namespace
}  // namespace fzl
