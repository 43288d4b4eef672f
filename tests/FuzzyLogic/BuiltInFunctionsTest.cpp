#include <gtest/gtest.h>

#include <string>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzySet.h>

#include "IFuzzyLogic/IntfTestModel.h"
#include "TestModel.h"
#include "VXFuzzyLogicParser/CallParser.h"

namespace fzl {
namespace {

using test::TCallParser;

/// A model over [0, 100] and a call parser not yet linked to it.
struct TCalls {
    test::TModel Model{0, 100};
    TOwned<TCallParser> Parser = Make<TCallParser>();

    /// The points of the set Text computes, or the error text with its line.
    std::string Run(const std::string& Text) {
        try {
            return Parser->Run(Text, *Model.Variable)->GetValuesToString();
        } catch (const EFzyParseException& Error) {
            return Error.Message() + " @" + std::to_string(Error.LineNumber());
        }
    }
    /// The points a generator call gives on a fresh set of the same variable.
    template <typename F>
    std::string Expected(F Generate) {
        TFuzzySet* Set = Model.Variable->GetItems().Add();
        Generate(*Set);
        std::string Points = Set->GetValuesToString();
        Set->Free();
        return Points;
    }
};

TEST(BuiltInFunctions, ShapesByNameAndCount) {
    TCalls Calls;
    EXPECT_EQ(Calls.Run("(tri 0 5 10)"), "((0.0000 0.0000) (5.0000 1.0000) (10.0000 0.0000) )");
    // Without a logic component 7 points; with one, its NumFunctionValues.
    const std::string PI7 = Calls.Expected([](TFuzzySet& S) { S.CreatePIFunctionValues(7, 10, 50); });
    EXPECT_EQ(Calls.Run("(pi 10 50)"), PI7);
    EXPECT_EQ(Calls.Run("(pi 40 60 50)"), PI7);
    EXPECT_EQ(Calls.Model.Variable->GetItems().GetItem(1)->GetValues().Count(), 7);
    Calls.Model.Logic->SetNumFunctionValues(9);
    Calls.Parser->SetFuzzyLogic(Calls.Model.Logic.get());
    EXPECT_EQ(Calls.Run("(s 0 10)"),
              Calls.Expected([](TFuzzySet& S) { S.CreateCurveValues(9, 0, 10, 10, true); }));
    TFuzzySet* Growth = Calls.Parser->Run("(s 0 10)", *Calls.Model.Variable);
    EXPECT_EQ(Growth->GetSetType(), fstGrowthCurve);
    EXPECT_EQ(Growth->GetInflectionPoint(), 10);  // the right bound
    EXPECT_EQ(Calls.Run("(z 0 10)"),
              Calls.Expected([](TFuzzySet& S) { S.CreateCurveValues(9, 0, 10, 10, false); }));
    EXPECT_EQ(Calls.Run("(beta 10 50 5)"),
              Calls.Expected([](TFuzzySet& S) { S.CreateBetaCurveFunctionValues(9, 10, 50, 5, 1); }));
    EXPECT_EQ(Calls.Run("(beta 10 50 5 2)"),
              Calls.Expected([](TFuzzySet& S) { S.CreateBetaCurveFunctionValues(9, 10, 50, 5, 2); }));
    EXPECT_EQ(Calls.Run("(beta 10 50 5 0)"),  // weight 0 is the flat top, allowed
              Calls.Expected([](TFuzzySet& S) { S.CreateBetaCurveFunctionValues(9, 10, 50, 5, 0); }));
}

TEST(BuiltInFunctions, ErrorsInOrderWithTheExactTexts) {
    const std::string Types = "Data Types of arguments for function, ";
    const std::string Count = "Number of arguments for function, ";
    // The kinds are checked before the count, the name before both; then the values that would give
    // infinite or undefined degrees, and the generators' own errors.
    const struct {
        std::string Input, Message, Echo;
        int Line = 1;
    } Cases[] = {
        {"(s 0 5 10)", Count + "s, incorrect.  Expected \"\"Left Right Inflection_Point\"\"", "( s 0 5 10 "},
        {"(tri 0 a)", Types + "tri, incorrect.  Expected numeric", "( tri 0 a "},
        // a punctuation kind is outside every set of kinds
        {"(tri 0 ~ 10)", Types + "tri, incorrect.  Expected numeric", "( tri 0 ~ 10 "},
        {"(tri 0 (5) 10)", Types + "tri, incorrect.  Expected numeric", "( tri 0 ( 5 ) 10 "},
        {"\n\n(TRI 0 a)", "Unknown function name: \"TRI\"", "( TRI 0 a ", 3},
        {"(pi)", Count + "pi, incorrect.  Expected \"\"Left Right Center\" or \"Range Center\"\"", "( pi "},
        {"(tri 1 2)", Count + "tri, incorrect.  Expected \"\"Left Middle Right\"\"", "( tri 1 2 "},
        {"(beta 1 2 3 4 5)",
         Count + "beta, incorrect.  Expected \"\"Range Center Inflection_Point\" or \"Range Center "
                 "Inflection_Point Weight\"\"",
         "( beta 1 2 3 4 5 "},
        {"(beta 6 50 2 -1)", "Invalid weight for function, beta: -1.0000.  Expected 0 or more",
         "( beta 6 50 2 -1 "},
        {"(beta 10 50 0)", "Invalid inflection point for function, beta: 0.  Expected a value other than 0",
         "( beta 10 50 0 "},
        {"(pi 1e308 1e308)", "Invalid arguments for function, pi.  Its values are not finite numbers",
         "( pi 1e+308 1e+308 "},
        {"(beta 1e308 -1e308 1)", "Invalid arguments for function, beta.  Its values are not finite numbers",
         "( beta 1e+308 -1e+308 1 "},
        {"(s 10\n 0)", "Invalid range arguments.  Left (10.0000) is greater than right (0.0000)",
         "( s 10 \r\n0 ", 2},
        {"(pi 1e309 2)", Types + "pi, incorrect.  Expected numeric",
         "( pi 1e309 2 "},  // too large: no number
    };
    TCalls Calls;
    auto Error = [](const std::string& Message, const std::string& Echo, int Line) {
        return "Parsing Error, " + Message + " in CalcFuzzyFunction at line " + std::to_string(Line) +
               ": \"" + Echo + "\" @" + std::to_string(Line);
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(Calls.Run(Case.Input), Error(Case.Message, Case.Echo, Case.Line));
    Calls.Parser->SetFuzzyLogic(Calls.Model.Logic.get());
    Calls.Model.Logic->SetNumFunctionValues(10001);
    EXPECT_EQ(Calls.Run("(z 0 1)"),
              Error("Too many points for function, z: 10001.  Expected 10000 or fewer", "( z 0 1 ", 1));
    EXPECT_EQ(Calls.Run("(tri 0 1 2)"), "((0.0000 0.0000) (1.0000 1.0000) (2.0000 0.0000) )");  // no curve
}

TEST(BuiltInFunctions, HandlersComeFirst) {
    TCalls Calls;
    TFuzzySets& Sets = Calls.Model.Variable->GetItems();
    TFuzzySet* Existing = Calls.Model.Add({{1, 1}}, "existing");
    std::string Seen;
    Calls.Parser->OnCalcFuzzyFunction = [&](TObject*, const std::string& Name,
                                            const TIntfPtr<IFuzzyStreamTokenList>& List, TFuzzySet*& Result,
                                            bool& Handled) {
        Seen = Name + " " + List->ToString();
        if (Name == "TRI") {  // takes over a name the built-ins do not know
            Result->CreateTriangleFunctionValues(0, 1, 2);
            Handled = true;
        } else if (Name == "tri") {  // and one they know: nothing is computed
            Handled = true;
        } else if (Name == "old") {  // answers with a set of its own: the new one goes
            Result = Existing;
            Handled = true;
        } else if (Name == "pi") {  // handled without a set: not handled
            Result = nullptr;
            Handled = true;
        }
    };
    EXPECT_EQ(Calls.Run("(TRI x (y))"), "((0.0000 0.0000) (1.0000 1.0000) (2.0000 0.0000) )");
    EXPECT_EQ(Seen, "TRI x (y)");
    EXPECT_EQ(Calls.Run("(tri 0 5 10)"), "()");
    EXPECT_EQ(Sets.Count(), 3);
    EXPECT_EQ(Calls.Parser->Run("(old 1)", *Calls.Model.Variable), Existing);
    EXPECT_EQ(Sets.Count(), 3);
    EXPECT_EQ(Calls.Run("(pi 10 50)"),
              Calls.Expected([](TFuzzySet& S) { S.CreatePIFunctionValues(7, 10, 50); }));
}

TEST(BuiltInFunctions, ReferenceCountedTwin) {
    const auto Before = LiveRefCountedObjects();
    {
        auto Parser = Make<TCallParser>();
        const auto Variable = test::MakeVariable("x", 0, 100);
        auto Args = [&](const std::string& Group) {  // the tokens of "(...)" after its "("
            Parser->Stream = Make<TFuzzyLogicTokenStream>(Group);
            (void)Parser->Stream->NextToken();
            return Parser->ReadTokenList();
        };
        const TIntfPtr<IFuzzySet> Set = Variable->Add("a");
        EXPECT_EQ(Parser->CalcFuzzyFunction(Set, "tri", Args("(0 5 10)")), Set);
        EXPECT_EQ(test::TextOf(Set), "0,0 5,1 10,0 ");
        // The arguments are checked as for the class model (the error table above).

        // A handler's own set replaces the new one, which leaves the variable; handled without a
        // set is not handled.
        Parser->OnCalcFuzzyIntfFunction = [&](TObject*, const std::string& Name,
                                              const TIntfPtr<IFuzzyStreamTokenList>&,
                                              TIntfPtr<IFuzzySet>& Result, bool& Handled) {
            Result = Name == "old" ? Set : nullptr;
            Handled = true;
        };
        EXPECT_EQ(Parser->CalcFuzzyFunction(Variable->Add("d"), "old", Args("()")), Set);
        EXPECT_FALSE(Variable->ContainsFuzzySet("d"));
        EXPECT_EQ(Parser->CalcFuzzyFunction(Variable->Add("e"), "s", Args("(0 10)"))->GetSetType(),
                  fstGrowthCurve);
        Variable->Clear();
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

// Input from users and other programs: each text reads through, or fails with a parse error on
// the line a person finds it on (the fuzz target tries the rest). Refused arguments: the table above.
TEST(BuiltInFunctions, HostileInputsParseOrFailWithALine) {
    std::string Comments;
    for (int Line = 0; Line < 2000; ++Line) Comments += "; comment\n";
    const std::string Tri = "((0.0000 0.0000) (5.0000 1.0000) (10.0000 0.0000) )";
    const struct {
        std::string Input, Result;
    } Cases[] = {
        {Comments + "(tri 0 a)",
         "Parsing Error, Data Types of arguments for function, tri, incorrect.  Expected numeric in "
         "CalcFuzzyFunction at line 2001: \"( tri 0 a \" @2001"},
        {"(%s%n%d 1 2 3)",
         "Parsing Error, Unknown function name: \"%s%n%d\" in CalcFuzzyFunction at line 1: \"( %s%n%d 1 2 3 "
         "\" @1"},
        {"((tri 1 2 3))", "Parsing Error, Missing name in ParseFuzzyFunction at line 1: \"( ( \" @1"},
        {std::string(300, '('), "Parentheses nested too deeply: more than 256 levels @1"},
        {"(tri 0 5 10", Tri},  // the end of the text closes the call
        {std::string("(tri\0 0\0 5 10)", 14), Tri},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(TCalls().Run(Case.Input), Case.Result) << Case.Input.substr(0, 40);
}

}  // namespace
}  // namespace fzl
