#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl::test {
namespace {

/// One variable x over [0, 10] with cold, warm and hot, in both models.
struct TExpressions {
    TClassParsed Class;
    TIntfParsed Intf;
    TFuzzyVariable* X = nullptr;
    TIntfPtr<IFuzzyVariable> XI;

    TExpressions() {
        const char* const Text =
            "(deffuzzy x (range 0 10) (values (term cold ((0 1) (5 0))) (term warm (tri 2 5 8))\n"
            "  (term hot ((5 0) (10 1)))))";
        Class.Parse(Text);
        Intf.Parse(Text);
        X = Class.Logic->GetItems().GetItemByName("x");
        XI = Intf.Logic->GetItems().ContainsVariable("x");
    }
    /// The points of Expression, the same in both models.
    std::string Points(const std::string& Expression) {
        const std::string Result = Text(*Class.Parser->Evaluate(X, Expression));
        EXPECT_EQ(TextOf(Intf.Parser->EvalFuzzyExpression(XI, Expression)), Result) << Expression;
        return Result;
    }
    /// "message @line" of evaluating Expression, the same in both models.
    std::string Error(const std::string& Expression) {
        const std::string Result = ParseErrorOf([&] { (void)Class.Parser->Evaluate(X, Expression); });
        EXPECT_EQ(ParseErrorOf([&] { (void)Intf.Parser->EvalFuzzyExpression(XI, Expression); }), Result);
        return Result;
    }
    void SetEntries(const std::string& Lines) {
        Class.Logic->GetVariables().SetText(Lines);
        Intf.Logic->GetVariables().SetText(Lines);
    }
};

std::string Head(const std::string& Msg, int Line) { return ErrorHead(Msg, "EvalFuzzyExpression", Line); }

TEST(ExpressionEvaluator, PrioritiesBracketsAndBaseHedges) {
    TExpressions E;
    EXPECT_EQ(E.Points("very hot or cold"), E.Points("[very hot] or cold"));
    EXPECT_NE(E.Points("cold and warm or hot"), E.Points("cold and [warm or hot]"));
    EXPECT_NE(E.Points("very not hot"), E.Points("not very hot"));
    // Base hedges share the keywords' level and group from the left as well.
    EXPECT_EQ(E.Points("hot * 2 * 3"), "5,0 10,6 ");
    // The number is used as written.
    EXPECT_EQ(E.Points("hot +X 2"), "7,0 10,1 ");
    EXPECT_EQ(E.Points("hot ^ -1"), "5,0 10,1 ");                 // 0 and 1 stay under a power
    EXPECT_EQ(E.Points("hot * (tri 0 0.25 1)"), "5,0 10,0.25 ");  // a set: its mean of maxima
    // In a range that does not hold the number it is still the number (not the bound).
    TClassParsed Far;
    Far.Parse("(deffuzzy t (range 20 30) (values (term h ((20 0) (30 1)))))");
    TFuzzyVariable* T = Far.Logic->GetItems().GetItemByName("t");
    EXPECT_EQ(Text(*Far.Parser->Evaluate(T, "h * 0.5")), "20,0 30,0.5 ");
    EXPECT_EQ(E.Error("hot / 0"), std::string(SArgumentOutOfRange) + " @1");
}

TEST(ExpressionEvaluator, EveryKeywordAndHedgeMatchesTheSetOperation) {
    TExpressions E;
    const TFuzzySet& Warm = *E.X->GetItems().GetItemByName("warm");
    const TFuzzySet& Hot = *E.X->GetItems().GetItemByName("hot");
    for (int Op = foZadeh; Op <= foSum; ++Op) {
        const auto Operation = static_cast<TFuzzyOperation>(Op);
        const std::string Or(FuzzyUnionKeywords[Operation]);
        EXPECT_EQ(E.Points("warm " + Or + " hot"), Text(*Warm.Union(Hot, Operation))) << Or;
        const std::string And(FuzzyIntersectionKeywords[Operation]);
        if (Operation != foSum) {
            EXPECT_EQ(E.Points("warm " + And + " hot"), Text(*Warm.Intersection(Hot, Operation))) << And;
        }
    }
    EXPECT_EQ(E.Error("warm\nand-sum hot"), Format(SInvalidFuzzyOperation, {"foSum"}) + " @2");
    for (int Which = fhNot; Which <= fhGenerally; ++Which) {
        const auto Hedge = static_cast<TFuzzyHedge>(Which);
        const std::string Word(HedgeNames[Hedge]);
        EXPECT_EQ(E.Points(Word + " warm"), Text(*Warm.Clone()->Hedge(Hedge))) << Word;
    }
}

TEST(ExpressionEvaluator, OperandsOfEveryKind) {
    TExpressions E;
    TFuzzySet* Hot = E.X->GetItems().GetItemByName("hot");
    EXPECT_EQ(E.Class.Parser->EvalFuzzyExpression(E.X, "hot"), Hot);  // the set itself
    EXPECT_EQ(E.Intf.Parser->EvalFuzzyExpression(E.XI, "\"hot\"").Get(),
              E.XI->GetFuzzySetByName("hot").Get());
    const TFuzzyExpressionResult Very = E.Class.Parser->Evaluate(E.X, "very hot");
    EXPECT_TRUE(Very.Owns());
    EXPECT_EQ(Very->GetName(), "very hot");
    EXPECT_EQ(E.Points("7"), "7,0 7,1 7,0 ");
    EXPECT_EQ(E.Intf.Parser->EvalFuzzyExpression(E.XI, "7")->GetExpression(), "7");
    // The empty expression is the variable's "__Empty" set; the raw form leaves it there.
    TFuzzySet* Empty = E.Class.Parser->EvalFuzzyExpression(E.X, "");
    EXPECT_EQ(Empty->GetName(), "__Empty");
    EXPECT_EQ(E.Class.Parser->EvalFuzzyExpression(E.X, "  "), Empty);
}

TEST(ExpressionEvaluator, ShapeErrorsNameTheTokenAndItsLine) {
    TExpressions E;
    const std::vector<std::pair<std::string, std::string>> Cases = {
        {"hot\nvery", Head(Format(SFzyMissingOperator, {"very"}), 2)},
        {"hot )junk", Head(Format(SFzyInvalidToken, {")"}), 1)},
        {"hot and", Head(Format(SFzyMissingOperand, {"and"}), 1)},
        {"[hot or cold", Head(Format(SFzyUnmatchedBracket, {"["}), 1)},
        {"hot]", Head(Format(SFzyUnmatchedBracket, {"]"}), 1)},
        {"very ((0 1) 2)", ErrorHead(Format(SFzyInvalidValuePair, {"2"}), "ConvertListToValues", 1)},
    };
    for (const auto& [Expression, Expected] : Cases) {
        const std::string Error = E.Error(Expression);
        EXPECT_EQ(Error.substr(0, Expected.size()), Expected) << Expression;
    }
}

TEST(ExpressionEvaluator, NamedSubExpressionsAreBounded) {
    TExpressions E;
    std::string Entries = "a=hot or cold\nB=?a and warm\nm1=very ?m2\nm2=?m1\nbad=warm or\nx0=hot\n";
    for (int Index = 1; Index <= 16; ++Index) {
        const std::string Previous = "?x" + std::to_string(Index - 1);
        Entries += "x" + std::to_string(Index) + "=" + Previous + " or " + Previous + "\n";
    }
    E.SetEntries(Entries);
    EXPECT_EQ(E.Points("?b"), E.Points("[hot or cold] and warm"));          // names ignore case
    EXPECT_EQ(E.Class.Parser->Evaluate(E.X, "?b")->GetExpression(), "?b");  // so that it reads back
    EXPECT_EQ(E.Points("?missing"), "");       // a missing entry is the empty set
    EXPECT_EQ(E.Points("?x11"), "5,0 10,1 ");  // 6,142 operands
    // Cycles, depth and size: each an error at the line of the ?name that led there.
    const auto Check = [&E](const std::string& Expression, const std::string& Msg) {
        const std::string Expected = Head(Msg, 2);
        EXPECT_EQ(E.Error(Expression).substr(0, Expected.size()), Expected) << Expression;
    };
    Check("warm or\n?m1", Format(SFzyCircularReference, {"m1"}));
    Check("warm or\n?x16", Format(SFzyTooManyOperands, {10000}));
    Check("warm or\n?bad", Format(SFzyMissingOperand, {"or"}));
    // Without a component there is no list to look the name up in.
    const auto Lone = Make<TVXFuzzyLogicParser>(nullptr);
    EXPECT_EQ(ParseErrorOf([&] { (void)Lone->Evaluate(E.X, "?a"); }).substr(0, 80),
              Head(SFuzzyLogicNotSet, 1).substr(0, 80));
}

TEST(ExpressionEvaluator, CrispValuesByEitherMethod) {
    TExpressions E;
    TIntfPtr<IFuzzySet> Set;
    const TFzyFloat Crisp = E.Intf.Parser->EvalFuzzyExpression(E.XI, "warm or hot", Set);
    EXPECT_EQ(Crisp, Set->CenterOfGravity());
    EXPECT_DOUBLE_EQ(Crisp, 6.5026371308016886);
    E.Class.Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    EXPECT_EQ(E.Class.Parser->EvaluateCrisp(E.X, "warm or hot"), 7.5);  // (5 + 10) / 2
    // Without a linked component: the centre of gravity, or the reference-counted variable's own method.
    const auto Lone = Make<TVXFuzzyLogicParser>(nullptr);
    EXPECT_DOUBLE_EQ(Lone->EvaluateCrisp(E.X, "warm or hot"), Crisp);
    E.XI->SetDefuzzificationMethod(dmMeanOfMaxima);
    EXPECT_EQ(Lone->EvaluateCrisp(E.XI, "warm or hot"), 7.5);
}

TEST(ExpressionEvaluator, NothingAccumulatesAndNoHostSetIsReshaped) {
    TExpressions E;
    // A set of the host that is not one of the variable's terms is no evaluation's to change.
    TFuzzySet* Host = TModel::WithPoints(E.X->GetItems().Add(), {{0, 0}, {10, 1}});
    Host->SetName("host");
    const int Count = E.X->GetItems().Count();
    const int IntfCount = E.XI->GetCount();
    const int Live = LiveRefCountedObjects();
    for (int Round = 0; Round < 1000; ++Round) {
        EXPECT_NE(E.Class.Parser->EvaluateCrisp(E.X, "very hot or cold * 0.5 and (tri 1 2 3) or ?x"), -1);
        (void)E.Intf.Parser->EvalFuzzyExpression(E.XI, "very hot or cold * 0.5 and (tri 1 2 3) or ?x");
        (void)E.Class.Parser->Evaluate(E.X, "very host");
    }
    EXPECT_EQ(E.X->GetItems().Count(), Count);
    EXPECT_EQ(E.XI->GetCount(), IntfCount);
    EXPECT_EQ(LiveRefCountedObjects(), Live);
    EXPECT_EQ(Host->GetName(), "host");
    EXPECT_EQ(Text(*Host), "0,0 10,1 ");
    // Failing evaluations leave nothing either.
    EXPECT_NE(E.Error("very hot or cold and frost"), "none");
    EXPECT_EQ(E.X->GetItems().Count(), Count);
    // The raw form leaves its new result to the variable, which owns it.
    TFuzzySet* Left = E.Class.Parser->EvalFuzzyExpression(E.X, "not hot");
    EXPECT_EQ(Left->GetCollection(), &E.X->GetItems());
}

TEST(ExpressionEvaluator, HandlersMayReplaceTheResult) {
    TExpressions E;
    TFuzzySet* Cold = E.X->GetItems().GetItemByName("cold");
    std::string Seen;
    E.Class.Parser->OnEvalExpression = [&](TObject*, TFuzzyVariable*, const std::string& Text,
                                           TFuzzySet*& Result) {
        Seen = Text;
        if (Text == "hot not") Result = Cold;
        if (Text == "warm") Result = nullptr;  // answers nothing: the result stays
    };
    const int Count = E.X->GetItems().Count();
    EXPECT_EQ(E.Class.Parser->Evaluate(E.X, "not hot").get(), Cold);
    EXPECT_EQ(Seen, "hot not");
    EXPECT_EQ(E.X->GetItems().Count(), Count);  // the replaced result went
    EXPECT_EQ(E.Class.Parser->Evaluate(E.X, "warm")->GetName(), "warm");
}

struct THostile {
    std::string Text;
    bool Expression;
};

TEST(Hostile, EveryTextParsesOrRaisesWithALine) {
    const std::vector<THostile> Texts = {
        {std::string(300, '[') + "hot", true},
        {std::string(200, '(') + std::string(200, ')'), false},
        {"(deffuzzy x (values (term a " + std::string(300, '(') + "tri", false},
        {"(deffuzzy x (units) (range) (values (term) (term a) (term b ) (term \"c\" d)))", false},
        {"(deffuzzy x (values (term a \"never closed", false},
        {"(deffuzzy x (values (term a (pi 1e308 1e308))))", false},
        {"?a ?a", true},
        {"hot ^ 1e308 ^ 1e308", true},
        {std::string("hot\0or cold", 12), true},
    };
    for (const THostile& Hostile : Texts) {
        TExpressions E;
        E.SetEntries("a=?a");
        const std::string Error =
            Hostile.Expression ? E.Error(Hostile.Text) : ParseErrorOf([&] { E.Class.Parse(Hostile.Text); });
        const bool Parsed = Error == "none";
        const bool WithLine =
            !Parsed && Error.rfind(" @0") == std::string::npos && Error.find("other:") == std::string::npos;
        EXPECT_TRUE(Parsed || WithLine) << Hostile.Text.substr(0, 60) << " -> " << Error.substr(0, 200);
    }
}

TEST(Hostile, SizeCapsHoldExactlyAtTheirLimits) {
    TExpressions E;
    std::string Ors = "hot";
    for (int Index = 0; Index < TVXFuzzyLogicParser::MaxExpressionOperators; ++Index) Ors += " or hot";
    EXPECT_EQ(E.Points(Ors), "5,0 10,1 ");
    const std::string TooMany = Head(Format(SFzyTooManyOperators, {256}), 2);
    EXPECT_EQ(E.Error(Ors + "\nor hot").substr(0, TooMany.size()), TooMany);

    const auto PairsText = [](int Count) {
        std::string Text = "(deffuzzy x (values (term a (";
        for (int Index = 0; Index < Count; ++Index) Text += "(1 1)";
        return Text + "))))";
    };
    TClassParsed Class;
    EXPECT_EQ(ParseErrorOf([&] { Class.Parse(PairsText(TVXFuzzyLogicParser::MaxSetPoints)); }), "none");
    const std::string TooManyPoints =
        ErrorHead(Format(SFzyTooManyPoints, {10000}), "ParseFuzzyValuePairs", 1);
    EXPECT_EQ(ParseErrorOf([&] { Class.Parse(PairsText(10001)); }).substr(0, TooManyPoints.size()),
              TooManyPoints);

    // ?deep31 follows 32 stored texts, the most allowed; ?deep32 one more.
    std::string Entries = "deep0=hot\n";
    for (int Index = 1; Index <= 32; ++Index)
        Entries += "deep" + std::to_string(Index) + "=?deep" + std::to_string(Index - 1) + "\n";
    E.SetEntries(Entries);
    EXPECT_EQ(E.Points("?deep31"), "5,0 10,1 ");
    const std::string TooDeep = Head(Format(SFzyReferenceTooDeep, {32}), 1);
    EXPECT_EQ(E.Error("?deep32").substr(0, TooDeep.size()), TooDeep);
}

}  // namespace
}  // namespace fzl::test
