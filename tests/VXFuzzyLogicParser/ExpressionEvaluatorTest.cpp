#include <gtest/gtest.h>

#include <string>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl::test {
namespace {

/// One variable x over [0, 10] with cold, warm and hot, in both models.
struct TExpressions {
    TClassParsed Class;
    TIntfParsed Intf;
    TFuzzyVariable* X = nullptr;
    TIntfPtr<IFuzzyVariable> XI;

    static constexpr const char* DefaultText =
        "(deffuzzy x (range 0 10) (values (term cold ((0 1) (5 0))) (term warm (tri 2 5 8))\n"
        "  (term hot ((5 0) (10 1)))))";

    explicit TExpressions(const char* Text = DefaultText) {
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
    /// Evaluating Expression fails with Msg at Line (the parsed text after it aside).
    void ExpectError(const std::string& Expression, const std::string& Msg, int Line) {
        const std::string Expected = ErrorHead(Msg, "EvalFuzzyExpression", Line);
        EXPECT_EQ(Error(Expression).substr(0, Expected.size()), Expected) << Expression;
    }
    void SetEntries(const std::string& Lines) {
        Class.Logic->GetVariables().SetText(Lines);
        Intf.Logic->GetVariables().SetText(Lines);
    }
};

TEST(ExpressionEvaluator, PrioritiesBracketsAndBaseHedges) {
    TExpressions E;
    EXPECT_EQ(E.Points("very hot or cold"), E.Points("[very hot] or cold"));
    EXPECT_NE(E.Points("cold and warm or hot"), E.Points("cold and [warm or hot]"));
    EXPECT_EQ(E.Points("very not hot"), E.Points("very [not hot]"));  // hedges from the inside out
    EXPECT_NE(E.Points("very not hot"), E.Points("not very hot"));
    // Base hedges share the keywords' level and group from the left as well; they use the
    // number as written.
    EXPECT_EQ(E.Points("hot * 2 * 3"), "5,0 10,6 ");
    EXPECT_EQ(E.Points("hot +X 2"), "7,0 10,1 ");
    EXPECT_EQ(E.Points("hot ^ -1"), "5,0 10,1 ");                 // 0 and 1 stay under a power
    EXPECT_EQ(E.Points("hot * (tri 0 0.25 1)"), "5,0 10,0.25 ");  // a set: its mean of maxima
    EXPECT_EQ(E.Points("hot * ((2 1e160))"), "5,0 10,2 ");        // even of a huge degree
    EXPECT_EQ(E.Error("hot / 0"), std::string(SArgumentOutOfRange) + " @1");
    // In a range that does not hold the number it is still the number (not the bound).
    TClassParsed Far;
    Far.Parse("(deffuzzy t (range 20 30) (values (term h ((20 0) (30 1)))))");
    EXPECT_EQ(Text(*Far.Parser->Evaluate(Far.Logic->GetItems().GetItemByName("t"), "h * 0.5")),
              "20,0 30,0.5 ");
}

TEST(ExpressionEvaluator, EveryKeywordAndHedgeMatchesTheSetOperation) {
    TExpressions E;
    const TFuzzySet& Warm = *E.X->GetItems().GetItemByName("warm");
    const TFuzzySet& Hot = *E.X->GetItems().GetItemByName("hot");
    for (int Op = foZadeh; Op <= foSum; ++Op) {
        const auto Operation = static_cast<TFuzzyOperation>(Op);
        const std::string Or(FuzzyUnionKeywords[Operation]), And(FuzzyIntersectionKeywords[Operation]);
        EXPECT_EQ(E.Points("warm " + Or + " hot"), Text(*Warm.Union(Hot, Operation))) << Or;
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

TEST(ExpressionEvaluator, OperandsOfEveryKindAndErrorsNamingTheTokenAndItsLine) {
    TExpressions E;
    EXPECT_EQ(E.Class.Parser->EvalFuzzyExpression(E.X, "hot"), E.X->GetItems().GetItemByName("hot"));
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

    E.ExpectError("hot\nvery", Format(SFzyMissingOperator, {"very"}), 2);
    E.ExpectError("hot )junk", Format(SFzyInvalidToken, {")"}), 1);
    E.ExpectError("hot and", Format(SFzyMissingOperand, {"and"}), 1);
    E.ExpectError("[hot or cold", Format(SFzyUnmatchedBracket, {"["}), 1);
    E.ExpectError("hot]", Format(SFzyUnmatchedBracket, {"]"}), 1);
    const std::string BadPair = ErrorHead(Format(SFzyInvalidValuePair, {"2"}), "ConvertListToValues", 1);
    EXPECT_EQ(E.Error("very ((0 1) 2)").substr(0, BadPair.size()), BadPair);
}

TEST(ExpressionEvaluator, NamedSubExpressionsAreBounded) {
    TExpressions E;
    std::string Entries =
        "a=hot or cold\nB=?a and warm\nm1=very ?m2\nm2=?m1\nbad=warm or\nx0=hot\ndeep0=hot\n";
    for (int Index = 1; Index <= 32; ++Index) {
        const std::string Previous = std::to_string(Index - 1);
        if (Index <= 16)
            Entries += "x" + std::to_string(Index) + "=?x" + Previous + " or ?x" + Previous + "\n";
        Entries += "deep" + std::to_string(Index) + "=?deep" + Previous + "\n";
    }
    E.SetEntries(Entries);
    EXPECT_EQ(E.Points("?b"), E.Points("[hot or cold] and warm"));          // names ignore case
    EXPECT_EQ(E.Class.Parser->Evaluate(E.X, "?b")->GetExpression(), "?b");  // so that it reads back
    EXPECT_EQ(E.Points("?missing"), "");          // a missing entry is the empty set
    EXPECT_EQ(E.Points("?x11"), "5,0 10,1 ");     // 6,142 operands
    EXPECT_EQ(E.Points("?deep31"), "5,0 10,1 ");  // follows 32 stored texts, the most allowed
    // Cycles, depth and size: each an error at the line of the ?name that led there.
    E.ExpectError("warm or\n?m1", Format(SFzyCircularReference, {"m1"}), 2);
    E.ExpectError("warm or\n?x16", Format(SFzyTooManyOperands, {10000}), 2);
    E.ExpectError("warm or\n?bad", Format(SFzyMissingOperand, {"or"}), 2);
    E.ExpectError("?deep32", Format(SFzyReferenceTooDeep, {32}), 1);
    // Without a component there is no list to look the name up in.
    const auto Lone = Make<TVXFuzzyLogicParser>(nullptr);
    const std::string NotSet = ErrorHead(SFuzzyLogicNotSet, "EvalFuzzyExpression", 1);
    EXPECT_EQ(ParseErrorOf([&] { (void)Lone->Evaluate(E.X, "?a"); }).substr(0, NotSet.size()), NotSet);
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
    EXPECT_NE(E.Error("very hot or cold and frost"), "none");  // failing evaluations leave nothing either
    EXPECT_EQ(E.X->GetItems().Count(), Count);
    EXPECT_EQ(E.XI->GetCount(), IntfCount);
    EXPECT_EQ(LiveRefCountedObjects(), Live);
    EXPECT_EQ(Host->GetName(), "host");
    EXPECT_EQ(Text(*Host), "0,0 10,1 ");
    // The raw form leaves its new result to the variable, which owns it.
    EXPECT_EQ(E.Class.Parser->EvalFuzzyExpression(E.X, "not hot")->GetCollection(), &E.X->GetItems());

    // A handler may replace the result (the replaced one goes) or answer nothing.
    TFuzzySet* Cold = E.X->GetItems().GetItemByName("cold");
    std::string Seen;
    E.Class.Parser->OnEvalExpression = [&](TObject*, TFuzzyVariable*, const std::string& Text,
                                           TFuzzySet*& Result) {
        Seen = Text;
        if (Text == "hot not") Result = Cold;
        if (Text == "warm") Result = nullptr;
    };
    EXPECT_EQ(E.Class.Parser->Evaluate(E.X, "not hot").get(), Cold);
    EXPECT_EQ(Seen, "hot not");
    EXPECT_EQ(E.X->GetItems().Count(), Count + 1);  // only the raw form's result above
    EXPECT_EQ(E.Class.Parser->Evaluate(E.X, "warm")->GetName(), "warm");
}

/// Everything of Set a user can see: name, expression, ID and each point with its ID.
std::string Seen(const TFuzzySet& Set) {
    std::string Result = Set.GetName() + "|" + Set.GetExpression() + "|" + std::to_string(Set.GetID()) + "|";
    for (const TFuzzySetValue* Point : Set.GetValues())
        Result +=
            Number(Point->GetX()) + "," + Number(Point->GetY()) + "#" + std::to_string(Point->GetID()) + " ";
    return Result;
}

// With nobody watching, an evaluation holds its sets' reports back and the named hedges skip
// the naming no one sees; the outcome must be the watched one's to the last ID and flag.
TEST(ExpressionEvaluator, NobodyWatchingLeavesWhatAWatchedEvaluationLeaves) {
    TExpressions Quiet;
    TExpressions Watched;
    int Changes = 0;
    Watched.Class.Logic->OnFuzzySetChange = [&Changes](TObject*, TFuzzySet*) { ++Changes; };
    const auto Outcome = [](TExpressions& E, const std::string& Expression, bool Bracket) {
        E.X->SetItemIndex(1);
        E.Class.Logic->UpdateStrings();  // the text is current: no report has marked it stale
        if (Bracket) E.X->GetItems().BeginUpdate();
        std::string Set;
        std::string Result = ParseErrorOf([&] { Set = Seen(*E.Class.Parser->Evaluate(E.X, Expression)); });
        Result += " " + Set + " stale " + std::to_string(E.Class.Logic->GetNeedsUpdate());
        if (Bracket) E.X->GetItems().EndUpdate();
        Result += " index " + std::to_string(E.X->GetItemIndex());
        // The IDs used up: the next set's.
        const TOwned<TFuzzySet> Next = E.X->GetItems().GetItem(0)->Clone();
        return Result + " next " + std::to_string(Next->GetID());
    };
    for (const char* const Expression :
         {"hot", "very hot", "very hot or warm and-product [somewhat cold]",
          "extremely [plus warm or-mean hot]", "not very cold and-sum warm", "[somewhat hot] * 2 or 0.5",
          "?nothing or very warm", "very hot or \"very hot\"", "hot or cold and \"hot or cold\""})
        for (const bool Bracket : {false, true})
            EXPECT_EQ(Outcome(Quiet, Expression, Bracket), Outcome(Watched, Expression, Bracket))
                << Expression << (Bracket ? " in a bulk update" : "");
    EXPECT_GT(Changes, 0);

    // Sets whose copies the list itself cleans up: vertical steps, a run of four points on one X,
    // a spike, points within the tolerance, degrees that a hedge makes equal, a segment barely
    // longer than the tolerance for new points to crowd, and (once the range shrinks) points
    // outside the range, which a copy clamps onto one X.
    const char* const Awkward =
        "(deffuzzy x (range 0 10) (values (term step ((2 0) (2 1) (6 1) (6 0)))\n"
        "  (term run ((4 0) (4 0.25) (4 0.5) (4 0.75) (8 1))) (term spike (tri 5 5 5))\n"
        "  (term fine ((3 0) (3.00000000001 1) (3.00000000002 0.5) (9 0))) (term low ((0 1) (0.5 1) (1 0)))\n"
        "  (term tall ((1 0) (2 1.5) (2 2) (5 0))) (term faint ((1 0) (2 0.01) (2 0.0102) (6 0)))\n"
        "  (term narrow ((4 0) (4.00025 1) (9 0)))))";
    TExpressions AwkwardQuiet(Awkward);
    TExpressions AwkwardWatched(Awkward);
    AwkwardWatched.Class.Logic->OnFuzzySetChange = [](TObject*, TFuzzySet*) {};
    for (TExpressions* E : {&AwkwardQuiet, &AwkwardWatched}) E->X->SetMinimum(0.75);
    for (const char* const Expression :
         {"not step or very run", "very step and-product extremely spike", "somewhat fine or-sum not run",
          "plus low or-mean very step and not fine", "very low or not low", "greatly spike or-meansqr run",
          "[very step or run] and [not spike or-boundedsum fine]", "very step and-sum run",
          "not tall or faint", "very faint or tall", "extremely narrow or-product somewhat faint"})
        EXPECT_EQ(Outcome(AwkwardQuiet, Expression, false), Outcome(AwkwardWatched, Expression, false))
            << Expression;
}

// Deep nesting, huge numbers and NUL bytes: an outcome with a line (the fuzz targets try the rest).
TEST(Hostile, EveryTextParsesOrRaisesWithALine) {
    TExpressions E;
    E.ExpectError(std::string(300, '[') + "hot", Format(SFzyUnmatchedBracket, {"["}), 1);
    EXPECT_EQ(E.Error("hot ^ 1e308 ^ 1e308"), "none");
    EXPECT_EQ(E.Error(std::string("hot\0or cold", 12)), "none");
    const std::string Deep = "(deffuzzy x (values (term a " + std::string(300, '(') + "tri";
    EXPECT_EQ(ParseErrorOf([&] { E.Class.Parse(Deep); }),
              "Parentheses nested too deeply: more than 256 levels @1");
}

TEST(Hostile, SizeCapsHoldExactlyAtTheirLimits) {
    TExpressions E;
    std::string Ors = "hot";
    for (int Index = 0; Index < TVXFuzzyLogicParser::MaxExpressionOperators; ++Index) Ors += " or hot";
    EXPECT_EQ(E.Points(Ors), "5,0 10,1 ");
    E.ExpectError(Ors + "\nor hot", Format(SFzyTooManyOperators, {256}), 2);
    // Each "slightly" doubles the points: 13 give 8,197, a 14th would give 16,389.
    std::string Slightly = "hot * 5.5";
    for (int Hedges = 0; Hedges < 13; ++Hedges) Slightly = "slightly " + Slightly;
    EXPECT_EQ(E.Error(Slightly), "none");
    E.ExpectError("hot or\nslightly " + Slightly, Format(SFzyTooManyPoints, {10000}), 2);

    const auto PairsText = [](int Count) {
        std::string Text = "(deffuzzy x (values (term a (";
        for (int Index = 0; Index < Count; ++Index) Text += "(1 1)";
        return Text + "))))";
    };
    EXPECT_EQ(ParseErrorOf([&] { E.Class.Parse(PairsText(TVXFuzzyLogicParser::MaxSetPoints)); }), "none");
    const std::string TooMany = ErrorHead(Format(SFzyTooManyPoints, {10000}), "ParseFuzzyValuePairs", 1);
    EXPECT_EQ(ParseErrorOf([&] { E.Class.Parse(PairsText(10001)); }).substr(0, TooMany.size()), TooMany);
}

}  // namespace
}  // namespace fzl::test
