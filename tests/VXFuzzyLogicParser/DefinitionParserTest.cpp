#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl::test {
namespace {

const char* const SpeedText =
    "(deffuzzy speed \"how fast\" (range 0 200) (units kmh)\n"
    "  (values (term slow \"calm\" ((0 1) (50 1) (80 0))) (term fast (s 60 120))\n"
    "          (term brisk [very fast] ) (term rapid fast)))";

TEST(DefinitionParser, ReadsClausesAndEveryBodyInBothModels) {
    TClassParsed Class;
    Class.Parse(SpeedText);
    TFuzzyVariable* Speed = Class.Logic->GetItems().GetItemByName("speed");
    EXPECT_EQ(Speed->GetComment(), "how fast");
    EXPECT_EQ(Speed->GetUnits(), "kmh");
    EXPECT_EQ(Speed->GetMaximum(), 200);
    EXPECT_EQ(Names(*Speed), "slow fast brisk rapid ");
    const TFuzzySet* Slow = Speed->GetItems().GetItemByName("slow");
    EXPECT_EQ(Text(*Slow), "0,1 50,1 80,0 ");
    EXPECT_EQ(Slow->GetComment(), "calm");
    EXPECT_EQ(Speed->GetItems().GetItemByName("fast")->GetSetType(), fstGrowthCurve);
    EXPECT_EQ(Speed->GetItems().GetItemByName("brisk")->GetExpression(), "[very fast]");
    // A body naming an existing set gives a copy.
    EXPECT_EQ(Text(*Speed->GetItems().GetItemByName("rapid")),
              Text(*Speed->GetItems().GetItemByName("fast")));
    for (const TFuzzySet* Set : Speed->GetItems()) EXPECT_TRUE(Set->GetDefined()) << Set->GetName();

    TIntfParsed Intf;
    Intf.Parse(SpeedText);
    const TIntfPtr<IFuzzyVariable> Variable = Intf.Logic->GetItems().ContainsVariable("speed");
    ASSERT_TRUE(Variable);
    EXPECT_EQ(Variable->GetCount(), 4);  // each set held under its own name, no leftovers
    EXPECT_EQ(Variable->GetParser().Get(), Intf.Parser->AsIntf<IFuzzyParser>().Get());

    // Clauses in any order: points written before the range are not clamped into [0, 1].
    Class.Parse("(deffuzzy t (values (term hot ((50 0) (100 1)))) (units \"deg C\") (range 0 100))");
    const TFuzzyVariable* T = Class.Logic->GetItems().GetItemByName("t");
    EXPECT_EQ(Text(*T->GetItems().GetItemByName("hot")), "50,0 100,1 ");
    EXPECT_EQ(T->GetUnits(), "deg C");
    // A broken range clause applies nothing, so every set stays inside the variable's range.
    const std::string Head = ErrorHead(SFzyMissingCloseParens, "ParseFuzzyVariable", 2);
    EXPECT_EQ(ParseErrorOf([&] {
                  Class.Parse("(deffuzzy w (values (term a (tri 0 0.5 1)))\n (range 2 5 x))");
              }).substr(0, Head.size()),
              Head);
    const TFuzzyVariable* W = Class.Logic->GetItems().GetItemByName("w");
    EXPECT_EQ(W->GetMaximum(), 1);
    EXPECT_EQ(Text(*W->GetItems().GetItemByName("a")), "0,0 0.5,1 1,0 ");
    Class.Logic->GetItems().Clear();
    // A range clause after sets were read moves what lies outside onto the new range, the
    // points the same as under that range from the start; a set ending exactly at the new
    // maximum keeps its shape and expression.
    Class.Parse(
        "(deffuzzy r (range 0 10) (values (term a (tri 1 2 3)) (term b (tri 2 4 6)))"
        " ; (range 8 9)\n (range 0 3))"
        "(deffuzzy s (range 0 3) (values (term b (tri 2 4 6))))");
    const TFuzzySets& R = Class.Logic->GetItems().GetItemByName("r")->GetItems();
    EXPECT_EQ(Text(*R.GetItemByName("a")), "1,0 2,1 3,0 ");
    EXPECT_EQ(R.GetItemByName("a")->GetSetType(), fstTriangle);
    EXPECT_EQ(Text(*R.GetItemByName("b")), "2,0 3,1 3,0 ");
    EXPECT_EQ(Text(*R.GetItemByName("b")),
              Text(*Class.Logic->GetItems().GetItemByName("s")->GetItems().GetItemByName("b")));
    EXPECT_EQ(R.GetItemByName("b")->GetSetType(), fstUserDefined);
    Class.Logic->GetItems().Clear();
    Intf.Parse("(deffuzzy r (range 0 10) (values (term b ((2 0) (4 1) (6 0)))) (range 0 3))");
    EXPECT_EQ(TextOf(Intf.Logic->GetItems().ContainsVariable("r")->GetFuzzySetByName("b")), "2,0 3,1 3,0 ");
    // Only white space and comments: nothing; no text after the last ")" needed.
    Class.Parse("  ; nothing\n\n");
    EXPECT_EQ(Class.Logic->GetItems().Count(), 0);
}

/// A tokenizer that spells the word "tepid" as "warm", through the override that makes tokens.
class TDialectStream : public TFuzzyLogicTokenStream {
public:
    using TFuzzyLogicTokenStream::TFuzzyLogicTokenStream;
    TIntfPtr<IFuzzyStreamToken> FinishToken(int TokenType, const std::string& Text) override {
        return TFuzzyLogicTokenStream::FinishToken(TokenType, Text == "tepid" ? std::string("warm") : Text);
    }

protected:
    ~TDialectStream() override = default;
};

/// A parser that reads with TDialectStream and names every variable "my" + its written name.
class TDialectParser : public TVXFuzzyLogicParser {
public:
    using TVXFuzzyLogicParser::TVXFuzzyLogicParser;
    std::vector<std::string> Headers;

protected:
    TOwned<TFuzzyLogicTokenStream> CreateStream(std::string Text) override {
        return TOwned<TFuzzyLogicTokenStream>(Make<TDialectStream>(std::move(Text)).release());
    }
    TIntfPtr<IFuzzyStreamToken> ParseHeader(std::string& Name, std::string& Comment, bool HasComment,
                                            const std::string& Keyword, const std::string& Where,
                                            const std::string& ErrorMessage) override {
        TIntfPtr<IFuzzyStreamToken> Token =
            TVXFuzzyLogicParser::ParseHeader(Name, Comment, HasComment, Keyword, Where, ErrorMessage);
        Headers.push_back(Keyword + " " + Name);
        if (Keyword == "deffuzzy") Name = "my" + Name;
        return Token;
    }
    ~TDialectParser() override = default;
};

TEST(DefinitionParser, ADescendantReadsThroughItsOwnTokenizerAndHeaders) {
    const auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);
    const auto Parser = Make<TDialectParser>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());
    // "tepid" names no set: only the descendant's tokenizer makes the expression readable.
    Parser->ParseFuzzyLogic(
        "(deffuzzy x (range 0 10) (values (term warm (tri 2 5 8))\n (term mild very tepid) (term c warm)))");
    const TFuzzyVariable* X = Logic->GetItems().GetItemByName("myx");
    ASSERT_NE(X, nullptr);
    EXPECT_EQ(Names(*X), "warm mild c ");
    EXPECT_EQ(X->GetItems().GetItemByName("mild")->GetExpression(), "[very warm]");
    EXPECT_EQ(Parser->Headers, (std::vector<std::string>{"deffuzzy x", "term warm", "term mild", "term c"}));
    // An error still names the line and the echo of what was read, as the tokens were made.
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseFuzzyLogic("(deffuzzy y (values\n (term a tepid or)))"); }),
              ErrorHead("Missing fuzzy operand to be modified by hedge: or", "EvalFuzzyExpression", 2) +
                  "\"( deffuzzy y ( values \r\n( term a warm or \" @2");
}

TEST(DefinitionParser, AFunctionHandlerSeesTheArgumentsAsWritten) {
    TClassParsed Class;
    std::vector<std::string> Seen;
    Class.Parser->OnCalcFuzzyFunction = [&Seen](TObject*, const std::string& Name,
                                                const TIntfPtr<IFuzzyStreamTokenList>& List, TFuzzySet*&,
                                                bool& Handled) {
        Seen.push_back(Name + ":" + List->ToString());
        for (int Index = 0; Index < List->GetCount(); ++Index) {
            const TIntfPtr<IFuzzyStreamToken> Token = List->Get(Index);
            Seen.push_back(std::to_string(Token->GetDataType()) + " [" + Token->GetText() + "] [" +
                           Token->GetWhitespace() + "] @" + std::to_string(Token->GetLineNumber()));
        }
        Handled = false;
    };
    // In a set body and inside an expression, with a comment and a group among the arguments.
    EXPECT_EQ(ParseErrorOf([&] {
                  Class.Parse(
                      "(deffuzzy x (values (term a (tri 2 ; low\n 5 8))\n"
                      " (term b warm or (pi \"q\\\"\" (1 2)))))");
              }).substr(0, 70),
              ErrorHead("Invalid item in fuzzy expression: warm", "EvalFuzzyExpression", 3).substr(0, 70));
    EXPECT_EQ(Seen,
              (std::vector<std::string>{"tri:2 5 8", "3 [] [ ] @1", "3 [] [ ; low\r\n ] @2", "3 [] [ ] @2"}));
    Seen.clear();
    const std::string Head = ErrorHead(
        "Data Types of arguments for function, pi, incorrect.  Expected numeric", "CalcFuzzyFunction", 2);
    EXPECT_EQ(
        ParseErrorOf([&] {
            Class.Parse(
                "(deffuzzy y (values (term warm (tri 1 2 3))\n (term b warm or (pi \"q\\\"\" (1 2)))))");
        }).substr(0, Head.size()),
        Head);
    EXPECT_EQ(Seen, (std::vector<std::string>{"tri:1 2 3", "3 [] [ ] @1", "3 [] [ ] @1", "3 [] [ ] @1",
                                              "pi:q\" (1 2)", "2 [q\"] [ ] @2", "7 [(] [ ] @2"}));
}

struct TFailure {
    const char* Text;
    std::string Msg;
    const char* Where;
    int Line;
};

TEST(DefinitionParser, EveryErrorWithItsMessageWhereAndLine) {
    const std::vector<TFailure> Failures = {
        {"(deffuzzy x)\n\n(term a (tri 0 1 2))", SFzyExpectedFuzzyDefinition, "ParseFuzzyVariable", 3},
        {"(deffuzzy x\n (values (foo a 1)))", SFzyExpectedFuzzySet, "ParseFuzzySet", 2},
        {"(deffuzzy x (values\n (term a ())))", SFzyMissingName, "ParseFuzzyFunction", 2},
        {"(deffuzzy x range)", SFzyMissingOpenParens, "ParseFuzzyVariable", 1},
        {"(deffuzzy x (values (term a (tri 0 0.5 1)\n x)))", SFzyMissingCloseParens, "ParseFuzzySet", 2},
        {"(deffuzzy x\n\n (size 1 2))", Format(SFzyExpectedKeyword, {"range, units, or values"}),
         "ParseFuzzyVariable", 3},
        {"(deffuzzy x (range a 2))", SFzyExpectedNumber, "ParseFuzzyVariable", 1},
        {"(deffuzzy x (range 10\n 5))", Format(SFzyInvalidRange, {10.0, 5.0}), "ParseFuzzyVariable", 2},
        {"(deffuzzy x)\nfoo", Format(SFzyUnexpectedToken, {"foo"}), "ParseFuzzyLogic", 2},
        {"(deffuzzy x (values (term a (very warm))))", Format(SUnknownFunctionName, {"very"}),
         "CalcFuzzyFunction", 1},
        {"(deffuzzy x (values (term a frost)))", Format(SFzyInvalidToken, {"frost"}), "EvalFuzzyExpression",
         1},
    };
    for (const TFailure& Failure : Failures) {
        for (const bool Intf : {false, true}) {
            const std::string Error = Intf ? ParseErrorOf([&] { TIntfParsed().Parse(Failure.Text); })
                                           : ParseErrorOf([&] { TClassParsed().Parse(Failure.Text); });
            const std::string Head = ErrorHead(Failure.Msg, Failure.Where, Failure.Line);
            EXPECT_EQ(Error.substr(0, Head.size()), Head) << Failure.Text << (Intf ? " (intf)" : "");
            EXPECT_EQ(Error.substr(Error.rfind(" @")), " @" + std::to_string(Failure.Line)) << Failure.Text;
        }
    }
    // The component must be there and of the model the text is read into.
    const auto Parser = Make<TVXFuzzyLogicParser>(nullptr);
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseFuzzyLogic("(deffuzzy x)"); }),
              std::string(SFuzzyLogicNotSet) + " @0");
    TClassParsed Class;
    EXPECT_EQ(ParseErrorOf([&] { (void)Class.Parser->ParseFuzzyVariableIntf("(deffuzzy x)"); }),
              std::string(SFuzzyLogicNotTIFuzzyLogic) + " @1");
    TIntfParsed Intf;
    EXPECT_EQ(ParseErrorOf([&] { (void)Intf.Parser->ParseFuzzyVariable("(deffuzzy x)"); }),
              std::string(SFuzzyLogicNotTFuzzyLogic) + " @1");
}

TEST(DefinitionParser, ModelErrorsKeepTheirMessageAndGainTheLine) {
    TClassParsed Class;
    const std::string Reserved = Format(SInvalidFuzzySetName, {"very"});
    EXPECT_EQ(ParseErrorOf([&] { Class.Parse("(deffuzzy x\n(values (term very (tri 0 0.5 1))))"); }),
              Reserved + " @2");
    TIntfParsed Intf;
    EXPECT_EQ(ParseErrorOf([&] {
                  Intf.Parse("(deffuzzy x (values (term a (tri 0 0.5 1))\n\n(term b a and-sum a)))");
              }),
              Format(SInvalidFuzzyOperation, {"foSum"}) + " @3");
    // Still an EFzyException for handlers that know no parse errors.
    EXPECT_THROW(Class.Parse("(deffuzzy y (values (term not (tri 0 0.5 1))))"), EFzyException);
}

TEST(DefinitionParser, AutomaticTermsAreTakenOutAndPutBackOverTheParsedRange) {
    TClassParsed Class(true);
    Class.Parse("(deffuzzy t (range 0 100) (values (term low (tri 0 0 40))))");
    const TFuzzyVariable* T = Class.Logic->GetItems().GetItemByName("t");
    EXPECT_EQ(Names(*T), "low medium high ");
    EXPECT_EQ(Text(*T->GetItems().GetItemByName("low")), "0,0 0,1 40,0 ");
    EXPECT_EQ(Text(*T->GetItems().GetItemByName("high")), "0,0 100,1 ");
    Class.Parse("(deffuzzy u (values (term high (tri 0 1 1)) (term medium 0.5) (term low 0)))");
    EXPECT_EQ(Names(*Class.Logic->GetItems().GetItemByName("u")), "high medium low ");
}

TEST(DefinitionParser, WhatAFailedParseLeaves) {
    const char* const Broken =
        "(deffuzzy a (values (term one (tri 0 0.5 1))))\n"
        "(deffuzzy b (values (term two (tri 0 0.5 1)) (term three (pi 0.5)) (term four 1)))";
    TClassParsed Class;
    EXPECT_NE(ParseErrorOf([&] { Class.Parse(Broken); }), "none");
    // The variable read before stays; the failing one stays with the sets read before the
    // error; the set whose definition failed leaves nothing behind.
    EXPECT_EQ(Class.Logic->GetItems().Count(), 2);
    EXPECT_EQ(Names(*Class.Logic->GetItems().GetItemByName("b")), "two ");
    TIntfParsed Intf;
    EXPECT_NE(ParseErrorOf([&] { Intf.Parse(Broken); }), "none");
    EXPECT_TRUE(Intf.Logic->GetItems().ContainsVariable("a"));
    EXPECT_FALSE(Intf.Logic->GetItems().ContainsVariable("b"));  // stored only once complete
}

TEST(Components, StringsParseAtOnceWithTheLinesAsWritten) {
    TClassParsed Class;
    auto Lines = Make<TStringList>();
    // Every line end counts once, whatever its form: errors name the line the user sees.
    Lines->SetText("(deffuzzy a)\r\n(deffuzzy b)\r(deffuzzy c)\n(deffuzzy d (range x 1))");
    EXPECT_EQ(ParseErrorOf([&] { Class.Logic->SetStrings(*Lines); }).substr(0, 40),
              ErrorHead(SFzyExpectedNumber, "ParseFuzzyVariable", 4).substr(0, 40));
    EXPECT_EQ(Class.Logic->GetItems().Count(), 4);  // d stays, as read up to the error
    Lines->SetText("(deffuzzy e)");
    Class.Logic->SetStrings(*Lines);
    EXPECT_EQ(Class.Logic->GetItems().Count(), 1);
    EXPECT_FALSE(Class.Logic->GetNeedsUpdate());

    // A handler may parse into another variable, but not restart the parse it runs in.
    std::string Nested;
    Class.Parser->OnParseFuzzyVariable = [&](TObject*, TFuzzyVariable* Variable) {
        (void)Class.Parser->ParseFuzzySet(Variable, "(term added (tri 0 0.5 1))");
        Nested = ParseErrorOf([&] { Class.Logic->Parse(); });
    };
    Class.Logic->SetStrings(*Lines);
    EXPECT_EQ(Nested, std::string(SParseInProgress) + " @0");
    EXPECT_EQ(Names(*Class.Logic->GetItems().GetItemByName("e")), "added ");
}

}  // namespace
}  // namespace fzl::test
