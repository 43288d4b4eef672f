#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzyConsts/FuzzyExceptions.h"
#include "FuzzyLogic/FuzzyLogic.h"
#include "FuzzyLogic/FuzzyLogicParser.h"
#include "FuzzyLogic/FuzzyVariable.h"
#include "support/StringList.h"

namespace fzl {
namespace {

using TPoints = std::vector<std::pair<double, double>>;
using TLog = std::vector<std::string>;

TPoints PointsOf(const TFuzzySet& Set) {
    TPoints Points;
    for (const TFuzzySetValue* Point : Set.GetValues()) Points.emplace_back(Point->GetX(), Point->GetY());
    return Points;
}

std::vector<std::string> NamesOf(const TFuzzySets& Sets) {
    std::vector<std::string> Names;
    for (const TFuzzySet* Set : Sets) Names.push_back(Set->GetName());
    return Names;
}

// Writes every event of a component as "Event:name"; a deleted set also shows its
// point count and a deleted variable its set count, to prove they are still whole.
struct TRecorder {
    TLog Log;
    TFuzzyLogic* Logic = nullptr;

    explicit TRecorder(TFuzzyLogic& ALogic) : Logic(&ALogic) {
        Logic->OnChange = [this](TObject* Sender) { Write(Sender, "Change"); };
        Logic->OnVariableAdded = [this](TObject* Sender, TFuzzyVariable* Variable) {
            Write(Sender, "VariableAdded:" + Variable->GetName() +
                              " sets=" + std::to_string(Variable->GetItems().Count()));
        };
        Logic->OnVariableChange = [this](TObject* Sender, TFuzzyVariable* Variable) {
            Write(Sender, "VariableChange:" + Variable->GetName());
        };
        Logic->OnVariableDeleted = [this](TObject* Sender, TFuzzyVariable* Variable) {
            Write(Sender, "VariableDeleted:" + Variable->GetName() +
                              " sets=" + std::to_string(Variable->GetItems().Count()));
        };
        Logic->OnFuzzySetAdded = [this](TObject* Sender, TFuzzySet* Set) {
            Write(Sender, "SetAdded:" + Set->GetName());
        };
        Logic->OnFuzzySetChange = [this](TObject* Sender, TFuzzySet* Set) {
            Write(Sender, "SetChange:" + Set->GetName());
        };
        Logic->OnFuzzySetDeleted = [this](TObject* Sender, TFuzzySet* Set) {
            Write(Sender, "SetDeleted:" + Set->GetName() +
                              " points=" + std::to_string(Set->GetValues().Count()) + " of " +
                              Set->GetVariable()->GetName());
        };
    }

    void Write(TObject* Sender, std::string Entry) {
        if (Sender != Logic) Entry += " (wrong sender)";
        Log.push_back(std::move(Entry));
    }

    // The log without the point-by-point set changes.
    [[nodiscard]] TLog WithoutSetChanges() const {
        TLog Result;
        for (const std::string& Entry : Log)
            if (!Entry.starts_with("SetChange:")) Result.push_back(Entry);
        return Result;
    }
    [[nodiscard]] TLog Take() { return std::exchange(Log, {}); }
};

TOwned<TStringList> LinesOf(std::string_view Text) {
    auto Lines = Make<TStringList>();
    Lines->SetText(Text);
    return Lines;
}

// Reads one variable name per line ("fail" raises) and prints a variable as
// "printed <name>", so regenerated text is told apart from parsed text.
class TLineParser final : public TCustomFuzzyLogicParser {
public:
    using TCustomFuzzyLogicParser::TCustomFuzzyLogicParser;

    int Parses = 0;

    void ParseFuzzyLogic(const std::string& AString) override {
        ++Parses;
        auto* Logic = dynamic_cast<TFuzzyLogic*>(GetFuzzyLogic());
        const auto Lines = LinesOf(AString);
        for (const TStrings::TItem& Line : *Lines) {
            if (Line.String == "fail") throw EFzyParseException("bad line", 2);
            Logic->GetItems().Add(Line.String);
        }
    }
    std::string PrettyPrint(const TFuzzySet& FuzzySet, bool /*AsDefinition*/) override {
        return "set " + FuzzySet.GetName();
    }
    std::string PrettyPrint(const TFuzzyVariable& FuzzyVariable) override {
        return "printed " + FuzzyVariable.GetName();
    }
    [[nodiscard]] std::string ClassName() const override { return "TLineParser"; }

protected:
    ~TLineParser() override = default;
};

template <class TException, class TBody>
std::string MessageOf(TBody&& Body) {
    try {
        Body();
    } catch (const TException& E) {
        return E.what();
    }
    return "<nothing raised>";
}

TEST(FuzzyLogic, Defaults) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    EXPECT_EQ(Logic->GetNumFunctionValues(), 7);
    EXPECT_EQ(Logic->GetThreshold(), 0.01);
    EXPECT_TRUE(Logic->GetAutoTerms());
    EXPECT_EQ(Logic->GetCorrelationMethod(), fcmMinimum);
    EXPECT_EQ(Logic->GetInferenceMethod(), fimMinMax);
    EXPECT_EQ(Logic->GetDefuzzificationMethod(), dmCenterOfGravity);
    EXPECT_EQ(Logic->GetParser(), nullptr);
    EXPECT_EQ(Logic->GetItems().Count(), 0);
    EXPECT_EQ(Logic->GetItems().GetFuzzy(), Logic.get());
    EXPECT_EQ(Logic->GetItems().ClassName(), "TFuzzyVariables");
    EXPECT_FALSE(Logic->GetNeedsUpdate());
    EXPECT_EQ(Logic->GetStrings().Count(), 0);

    // Named sub-expressions are looked up without regard to case.
    Logic->GetVariables().SetValue("Warm", "very hot");
    EXPECT_EQ(Logic->GetVariables().GetValue("WARM"), "very hot");
    const auto Other = LinesOf("x=y");
    Logic->SetVariables(*Other);
    EXPECT_EQ(Logic->GetVariables().GetValue("X"), "y");
}

TEST(FuzzyLogic, NumFunctionValuesAndThresholdClamps) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetNumFunctionValues(1);
    EXPECT_EQ(Logic->GetNumFunctionValues(), 2);
    Logic->SetNumFunctionValues(-5);
    EXPECT_EQ(Logic->GetNumFunctionValues(), 2);
    Logic->SetNumFunctionValues(9);
    EXPECT_EQ(Logic->GetNumFunctionValues(), 9);

    TFuzzyVariable* A = Logic->GetItems().Add("a");
    TFuzzyVariable* B = Logic->GetItems().Add("b");
    EXPECT_EQ(A->GetThreshold(), 0.01);  // a new variable takes the component's threshold
    TRecorder Recorder(*Logic);

    Logic->SetThreshold(2);
    EXPECT_EQ(Logic->GetThreshold(), 1.0);
    EXPECT_EQ(A->GetThreshold(), 1.0);
    EXPECT_EQ(B->GetThreshold(), 1.0);

    // A variable's own threshold is its own until the component's changes again.
    B->SetThreshold(0.2);
    Logic->SetThreshold(0.5);
    EXPECT_EQ(A->GetThreshold(), 0.5);
    EXPECT_EQ(B->GetThreshold(), 0.5);
    B->SetThreshold(0.2);
    Logic->SetThreshold(0.5);  // unchanged: nothing is pushed
    EXPECT_EQ(B->GetThreshold(), 0.2);

    Logic->SetThreshold(-3);
    EXPECT_EQ(Logic->GetThreshold(), 0.0);
    EXPECT_EQ(A->GetThreshold(), 0.0);
    EXPECT_TRUE(Recorder.Log.empty());
}

TEST(FuzzyLogic, AddingAVariableReportsTheVariableBeforeItsAutomaticTerms) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    TRecorder Recorder(*Logic);
    double ThresholdSeen = -1;
    Logic->OnVariableAdded = [&](TObject* Sender, TFuzzyVariable* Variable) {
        Recorder.Write(Sender, "VariableAdded:" + Variable->GetName() +
                                   " sets=" + std::to_string(Variable->GetItems().Count()));
        ThresholdSeen = Variable->GetThreshold();
    };
    Logic->SetThreshold(0.25);

    TFuzzyVariable* Temp = Logic->GetItems().Add("temp");
    // Names come after the add, so the added events see unnamed items; the set
    // collection grows as a change of the variable; the collection changes as a whole.
    EXPECT_EQ(Recorder.WithoutSetChanges(),
              (TLog{"VariableAdded: sets=0", "SetAdded:", "VariableChange:", "SetAdded:", "VariableChange:",
                    "SetAdded:", "VariableChange:", "Change", "VariableChange:temp"}));
    EXPECT_EQ(ThresholdSeen, 0.25);
    // Each term's own edits (name, points) are reported as changes of that term.
    TLog SetChanges;
    for (const std::string& Entry : Recorder.Take())
        if (Entry.starts_with("SetChange:") && (SetChanges.empty() || SetChanges.back() != Entry))
            SetChanges.push_back(Entry);
    EXPECT_EQ(SetChanges, (TLog{"SetChange:low", "SetChange:medium", "SetChange:high"}));
    EXPECT_TRUE(Logic->GetNeedsUpdate());

    // Adding, editing and deleting a set.
    TFuzzySet* Warm = Temp->GetItems().Add("warm");
    EXPECT_EQ(Recorder.Take(), (TLog{"SetAdded:", "VariableChange:temp", "SetChange:warm"}));
    Warm->GetValues().Add(0.5, 1.0);
    EXPECT_EQ(Recorder.Take(), (TLog{"SetChange:warm"}));
    TFuzzySet* Low = Temp->GetItems().GetItemByName("low");
    Low->GetValues().GetItem(0)->SetY(0.5);
    EXPECT_EQ(Recorder.Take(), (TLog{"SetChange:low"}));
    Low->SetName("cold");
    EXPECT_EQ(Recorder.Take(), (TLog{"SetChange:cold"}));
    Temp->GetItems().Delete(Temp->GetItems().IndexOf("medium"));
    EXPECT_EQ(Recorder.Take(), (TLog{"SetDeleted:medium points=3 of temp", "VariableChange:temp"}));
    EXPECT_EQ(NamesOf(Temp->GetItems()), (std::vector<std::string>{"cold", "high", "warm"}));

    // Editing the variable.
    Temp->SetUnits("C");
    EXPECT_EQ(Recorder.Take(), (TLog{"VariableChange:temp"}));
    Temp->SetIndex(0);  // already there: nothing
    EXPECT_TRUE(Recorder.Log.empty());
}

TEST(FuzzyLogic, DeletedVariablesReportTheirSetsFirstWhileWhole) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->GetItems().Add("temp");
    Logic->GetItems().Add("speed");
    Logic->GetItems().Add("load");
    TRecorder Recorder(*Logic);

    Logic->GetItems().Delete(0);
    EXPECT_EQ(Recorder.Take(),
              (TLog{"SetDeleted:high points=2 of temp", "SetDeleted:medium points=3 of temp",
                    "SetDeleted:low points=2 of temp", "VariableDeleted:temp sets=0", "Change"}));

    // Freeing a variable directly reports the same way.
    Logic->GetItems().GetItemByName("load")->Free();
    EXPECT_EQ(Recorder.Take(),
              (TLog{"SetDeleted:high points=2 of load", "SetDeleted:medium points=3 of load",
                    "SetDeleted:low points=2 of load", "VariableDeleted:load sets=0", "Change"}));

    // Clearing reports the whole-collection change once, at the end.
    Logic->GetItems().Add("x")->GetItems().Clear();
    Recorder.Log.clear();
    Logic->GetItems().Clear();
    EXPECT_EQ(Recorder.Take(),
              (TLog{"VariableDeleted:x sets=0", "SetDeleted:high points=2 of speed",
                    "SetDeleted:medium points=3 of speed", "SetDeleted:low points=2 of speed",
                    "VariableDeleted:speed sets=0", "Change"}));
    EXPECT_EQ(Logic->GetItems().Count(), 0);
}

TEST(FuzzyLogic, DestroyingTheComponentFiresNothing) {
    TLog Log;
    {
        auto Logic = Make<TFuzzyLogic>(nullptr);
        Logic->GetItems().Add("temp");
        Logic->GetItems().Add("speed");
        TRecorder Recorder(*Logic);
        Logic->OnVariableDeleted = [&Log](TObject*, TFuzzyVariable* V) {
            Log.push_back("deleted " + V->GetName());
        };
        Logic->OnFuzzySetDeleted = [&Log](TObject*, TFuzzySet* S) {
            Log.push_back("deleted " + S->GetName());
        };
        Logic->OnChange = [&Log](TObject*) { Log.push_back("change"); };
        Logic.reset();
        EXPECT_TRUE(Recorder.Log.empty());
    }
    EXPECT_TRUE(Log.empty());
}

struct TAutoTermsCase {
    double Min, Max;
    TPoints Low, Medium, High;
};

TEST(FuzzyLogic, AutomaticTermsSpanTheRange) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Unit = Logic->GetItems().Add("unit");
    ASSERT_EQ(NamesOf(Unit->GetItems()), (std::vector<std::string>{"low", "medium", "high"}));
    EXPECT_EQ(Unit->GetItemIndex(), 2);
    for (const TFuzzySet* Term : Unit->GetItems()) {
        EXPECT_TRUE(Term->GetDefined()) << Term->GetName();
        EXPECT_EQ(Term->GetExpression(), Term->GetName());  // written as its name by a printer
    }
    EXPECT_EQ(PointsOf(*Unit->GetItems().GetItem(0)), (TPoints{{0, 1}, {1, 0}}));
    EXPECT_EQ(PointsOf(*Unit->GetItems().GetItem(1)), (TPoints{{0, 0}, {0.5, 1}, {1, 0}}));
    EXPECT_EQ(PointsOf(*Unit->GetItems().GetItem(2)), (TPoints{{0, 0}, {1, 1}}));

    // The middle of medium is half the width (clamped into the range), not the centre.
    const std::vector<TAutoTermsCase> Cases = {
        {20, 30, {{20, 1}, {30, 0}}, {{20, 0}, {20, 1}, {30, 0}}, {{20, 0}, {30, 1}}},
        {-10, 10, {{-10, 1}, {10, 0}}, {{-10, 0}, {10, 1}, {10, 0}}, {{-10, 0}, {10, 1}}},
        {0, 100, {{0, 1}, {100, 0}}, {{0, 0}, {50, 1}, {100, 0}}, {{0, 0}, {100, 1}}},
        // A zero-width range gives vertical steps.
        {5, 5, {{5, 1}, {5, 0}}, {{5, 0}, {5, 1}, {5, 0}}, {{5, 0}, {5, 1}}},
    };
    Logic->SetAutoTerms(false);
    for (const TAutoTermsCase& Case : Cases) {
        TFuzzyVariable* Variable = Logic->GetItems().Add("v");
        EXPECT_EQ(Variable->GetItems().Count(), 0);
        Variable->SetMaximum(Case.Max);
        Variable->SetMinimum(Case.Min);
        Logic->AddAutoTerms(Variable);
        const TFuzzySets& Sets = Variable->GetItems();
        SCOPED_TRACE("range " + std::to_string(Case.Min) + " .. " + std::to_string(Case.Max));
        EXPECT_EQ(PointsOf(*Sets.GetItemByName("low")), Case.Low);
        EXPECT_EQ(PointsOf(*Sets.GetItemByName("medium")), Case.Medium);
        EXPECT_EQ(PointsOf(*Sets.GetItemByName("high")), Case.High);
        Variable->Free();
    }

    // Only missing terms are added; a second call adds nothing.
    TFuzzyVariable* Partial = Logic->GetItems().Add("partial");
    Partial->GetItems().Add("medium");
    Logic->AddAutoTerms(Partial);
    Logic->AddAutoTerms(Partial);
    EXPECT_EQ(NamesOf(Partial->GetItems()), (std::vector<std::string>{"medium", "low", "high"}));
    EXPECT_EQ(Partial->GetItems().GetItem(0)->GetValues().Count(), 0);
}

TEST(FuzzyLogic, ParseStringsAndTheStaleFlag) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    auto Parser = Make<TLineParser>(nullptr);
    Logic->SetParser(Parser.get());
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetAutoTerms(false);
    Logic->GetItems().Add("old");
    TRecorder Recorder(*Logic);
    Parser->OnParsing = [&](TObject*) { Recorder.Log.push_back("Parsing"); };
    Parser->OnParsed = [&](TObject*) { Recorder.Log.push_back("Parsed"); };

    // Assigning the text parses it at once and replaces the variables.
    Logic->SetStrings(*LinesOf("a\nb"));
    EXPECT_EQ(Parser->Parses, 1);
    EXPECT_EQ(Recorder.WithoutSetChanges(),
              (TLog{"VariableDeleted:old sets=0", "Change", "Parsing", "VariableAdded: sets=0", "Change",
                    "VariableChange:a", "VariableAdded: sets=0", "Change", "VariableChange:b", "Parsed"}));
    ASSERT_EQ(Logic->GetItems().Count(), 2);
    EXPECT_EQ(Logic->GetItems().GetItem(1)->GetName(), "b");
    EXPECT_FALSE(Logic->GetNeedsUpdate());
    EXPECT_EQ(Logic->GetStrings().GetText(), "a\nb\n");  // the parsed text, not a regenerated one

    // Variables and sets print through the parser.
    TFuzzyVariable* A = Logic->GetItems().GetItem(0);
    EXPECT_EQ(A->ToString(), "printed a");
    EXPECT_EQ(A->GetItems().Add("s")->ToString(), "set s");

    // Any edit makes the text stale; reading it regenerates it.
    EXPECT_TRUE(Logic->GetNeedsUpdate());
    EXPECT_EQ(Logic->GetStrings().GetText(), "printed a\nprinted b\n");
    EXPECT_FALSE(Logic->GetNeedsUpdate());
    A->SetComment("c");
    EXPECT_TRUE(Logic->GetNeedsUpdate());
    Logic->UpdateStrings();
    EXPECT_FALSE(Logic->GetNeedsUpdate());

    // Parse reads the current text.
    Logic->GetStrings().SetText("c");
    Logic->Parse();
    EXPECT_EQ(Parser->Parses, 2);
    ASSERT_EQ(Logic->GetItems().Count(), 1);
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetName(), "c");

    // A parse error keeps what was read so far; the text stays stale and OnParsed does not fire.
    Recorder.Log.clear();
    EXPECT_EQ(MessageOf<EFzyParseException>([&] { Logic->SetStrings(*LinesOf("d\nfail\ne")); }), "bad line");
    EXPECT_NE(std::find(Recorder.Log.begin(), Recorder.Log.end(), "Parsing"), Recorder.Log.end());
    EXPECT_EQ(std::find(Recorder.Log.begin(), Recorder.Log.end(), "Parsed"), Recorder.Log.end());
    ASSERT_EQ(Logic->GetItems().Count(), 1);
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetName(), "d");
    EXPECT_TRUE(Logic->GetNeedsUpdate());

    // Range-for over the variables and their sets.
    std::string Seen;
    for (TFuzzyVariable* Variable : Logic->GetItems()) {
        Seen += Variable->GetName();
        for (TFuzzySet* Set : Variable->GetItems()) Seen += "/" + Set->GetName();
    }
    EXPECT_EQ(Seen, "d");
}

TEST(FuzzyLogic, MissingParser) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->GetItems().Add("temp");
    TRecorder Recorder(*Logic);
    const std::string Expected = "Parser not assigned.  Cannot parse";

    // Adding made the (empty) text stale: the first read raises, the next returns it.
    EXPECT_EQ(MessageOf<EFzyException>([&] { (void)Logic->GetStrings(); }), Expected);
    EXPECT_EQ(Logic->GetStrings().Count(), 0);

    // Parse raises before the variables go.
    EXPECT_EQ(MessageOf<EFzyException>([&] { Logic->Parse(); }), Expected);
    EXPECT_EQ(Logic->GetItems().Count(), 1);
    EXPECT_TRUE(Recorder.Log.empty());
    EXPECT_EQ(MessageOf<EFzyException>([&] { Logic->SetStrings(*LinesOf("x")); }), Expected);
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetName(), "temp");
    EXPECT_EQ(Logic->GetStrings().GetText(), "x\n");  // the text was stored before parsing

    // A stale text raises once; the next read returns the old text.
    Logic->GetItems().GetItem(0)->SetUnits("C");
    EXPECT_EQ(MessageOf<EFzyException>([&] { (void)Logic->GetStrings(); }), Expected);
    EXPECT_EQ(Logic->GetStrings().GetText(), "x\n");
}

TEST(FuzzyLogic, LoadingSuppressesParsing) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    Logic->GetItems().Add("streamed");
    Logic->BeginLoading();

    // Without a parser nothing raises while loading.
    Logic->SetStrings(*LinesOf("text"));
    Logic->Parse();
    Logic->GetItems().GetItem(0)->SetUnits("C");
    EXPECT_EQ(Logic->GetStrings().GetText(), "text\n");
    EXPECT_FALSE(Logic->GetNeedsUpdate());

    // With a parser it is not called, and the text is not regenerated.
    auto Parser = Make<TLineParser>(nullptr);
    Logic->SetParser(Parser.get());
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetStrings(*LinesOf("other"));
    Logic->GetItems().GetItem(0)->SetUnits("K");
    Logic->UpdateStrings();
    EXPECT_EQ(Parser->Parses, 0);
    EXPECT_EQ(Logic->GetStrings().GetText(), "other\n");
    ASSERT_EQ(Logic->GetItems().Count(), 1);
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetName(), "streamed");

    Logic->Loaded();
    Logic->Parse();
    EXPECT_EQ(Parser->Parses, 1);
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetName(), "other");
}

TEST(FuzzyLogic, ParserAndComponentForgetEachOtherWhenFreed) {
    // Parsing needs a component; OnParsing does not fire without one.
    auto Parser = Make<TLineParser>(nullptr);
    bool Parsing = false;
    Parser->OnParsing = [&](TObject*) { Parsing = true; };
    EXPECT_EQ(MessageOf<EFzyParseException>([&] { Parser->Parse("a"); }),
              "Fuzzy Logic component must be specified to parse");
    EXPECT_FALSE(Parsing);

    // Freeing the parser leaves the component without one; its model survives.
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetParser(Parser.get());
    Parser->SetFuzzyLogic(Logic.get());
    Logic->GetItems().Add("temp");
    Parser.reset();
    EXPECT_EQ(Logic->GetParser(), nullptr);
    EXPECT_EQ(MessageOf<EFzyException>([&] { Logic->Parse(); }), "Parser not assigned.  Cannot parse");
    EXPECT_EQ(Logic->GetItems().Count(), 1);
    EXPECT_EQ(Logic->GetItems().GetItem(0)->ToString(), "temp");

    // Freeing the component leaves the parser without one.
    Parser = Make<TLineParser>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    Logic.reset();
    EXPECT_EQ(Parser->GetFuzzyLogic(), nullptr);

    // One side letting go must not cost the other its notification.
    Logic = Make<TFuzzyLogic>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    Logic->SetParser(nullptr);
    Logic.reset();
    EXPECT_EQ(Parser->GetFuzzyLogic(), nullptr);

    Logic = Make<TFuzzyLogic>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());
    Logic->SetParser(Parser.get());
    Parser->SetFuzzyLogic(nullptr);
    Parser.reset();
    EXPECT_EQ(Logic->GetParser(), nullptr);
}

// Descendants an application could substitute at each level.
class TMySet final : public TFuzzySet {
public:
    using TFuzzySet::TFuzzySet;
    [[nodiscard]] std::string ClassName() const override { return "TMySet"; }
    [[nodiscard]] TFuzzySetClass ClassType() const override { return TFuzzySetClass::Of<TMySet>(); }

protected:
    ~TMySet() override = default;
};

class TMySets final : public TFuzzySets {
public:
    using TFuzzySets::TFuzzySets;
    [[nodiscard]] std::string ClassName() const override { return "TMySets"; }

protected:
    ~TMySets() override = default;
};

class TMyVariable final : public TFuzzyVariable {
public:
    using TFuzzyVariable::TFuzzyVariable;
    [[nodiscard]] std::string ClassName() const override { return "TMyVariable"; }

protected:
    ~TMyVariable() override = default;
    TOwned<TFuzzySets> CreateItems() override { return Make<TMySets>(this, GetSetClass()); }
};

class TMyVariables final : public TFuzzyVariables {
public:
    explicit TMyVariables(TFuzzyLogic* AOwner)
        : TFuzzyVariables(AOwner, TFuzzyVariableClass::Of<TMyVariable>(), TFuzzySetClass::Of<TMySet>()) {}
    [[nodiscard]] std::string ClassName() const override { return "TMyVariables"; }

protected:
    ~TMyVariables() override = default;
};

TEST(FuzzyLogic, DescendantsAreCreatedEverywhere) {
    auto Logic = Make<TFuzzyLogic>(nullptr, TFuzzyVariablesClass::Of<TMyVariables>());
    EXPECT_EQ(Logic->GetItems().ClassName(), "TMyVariables");
    TFuzzyVariable* Variable = Logic->GetItems().Add("temp");
    EXPECT_EQ(Variable->ClassName(), "TMyVariable");
    EXPECT_EQ(Variable->GetItems().ClassName(), "TMySets");
    EXPECT_EQ(Variable->GetDisplayName(), "temp");
    for (const TFuzzySet* Term : Variable->GetItems()) EXPECT_EQ(Term->ClassName(), "TMySet");
    EXPECT_EQ(Logic->GetItems().Insert(0)->ClassName(), "TMyVariable");
    EXPECT_EQ(Logic->GetItems().GetItem(0)->GetDisplayName(), "TMyVariable");

    // A variable collection or a variable can be given the classes directly.
    auto Variables = Make<TFuzzyVariables>(nullptr, TFuzzyVariableClass::Of<TMyVariable>());
    EXPECT_EQ(Variables->Add()->ClassName(), "TMyVariable");
    EXPECT_EQ(Variables->GetSetClass(), TFuzzySetClass::Of<TFuzzySet>());
    auto Detached = Make<TFuzzyVariable>(nullptr, TFuzzySetClass::Of<TMySet>());
    EXPECT_EQ(Detached->GetItems().Add("s")->ClassName(), "TMySet");
    EXPECT_EQ(Detached->GetItems().ClassName(), "TFuzzySets");
}

}  // namespace
}  // namespace fzl
