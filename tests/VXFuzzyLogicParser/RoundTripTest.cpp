#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include <fzl/fzl.h>

#include "ParserTestModel.h"

namespace fzl {
namespace {

// ---- Random models --------------------------------------------------------------------------------

struct TRandom {
    std::mt19937 Rng;
    double Real(double A, double B) { return std::uniform_real_distribution<double>(A, B)(Rng); }
    int Int(int A, int B) { return std::uniform_int_distribution<int>(A, B)(Rng); }
    // A short decimal most of the time, a full double sometimes.
    double Number(double A, double B) {
        const double V = Real(A, B);
        return Int(0, 3) == 0 ? V : std::round(V * 100) / 100;
    }
    template <class T>
    const T& Pick(const std::vector<T>& Items) {
        return Items[static_cast<std::size_t>(Int(0, static_cast<int>(Items.size()) - 1))];
    }
};

const std::vector<std::string> Names{"a", "b", "hot", "cold", "a b", "12", "?q", "x<y", "t\\", "(p", "", "e"};
const std::vector<std::string> Comments{"", "", "a b", "q\"uote", "back\\", "two\r\nlines"};
const std::vector<std::string> Units{"", "C", "km h", "007", "a\\b", "1.50"};
const std::vector<std::string> Expressions{
    "very A",          "A or B", "not A and B", "A * 0.5", "5", "(tri 1 2 3) or A", "somewhat [A or-sum B]",
    "A and-product B", "[A]",    "A > 0.3"};

// Gives Set a random body (some fail: a shape's arguments may be refused, an expression may not
// evaluate). Shapes reach at most an eighth of the range beyond it, so that a clipped curve piles at
// most three points on the bound: a longer run at one X is thinned by the point list when read.
void Shape(TFuzzySet& Set, TRandom& R, double Min, double Max, int N) {
    const double W = Max - Min;
    const auto X = [&] { return R.Number(Min - W / 8, Max + W / 8); };
    const double Left = R.Number(Min - W / 8, Min + W / 4), Right = Left + R.Number(W / 2, W * 3 / 4);
    const double Width = R.Number(W / 4, W / 2), Centre = R.Number(Min + W * 3 / 8, Min + W * 5 / 8);
    switch (R.Int(0, 8)) {
        case 0:
            for (int I = R.Int(1, 4); I > 0; --I) Set.GetValues().Add(X(), R.Number(0, 1));
            break;
        case 1: {
            double P[3] = {X(), X(), X()};
            std::sort(P, P + 3);
            Set.CreateTriangleFunctionValues(P[0], P[1], P[2]);
        } break;
        case 2: Set.CreateCurveValues(N, Left, Right, 0, R.Int(0, 1) == 1); break;
        case 3: Set.CreatePIFunctionValues(N, Width, Centre); break;
        case 4: Set.CreatePIFunctionValues(N, Left, Right, R.Number(Left + W / 8, Right - W / 8)); break;
        case 5:
            Set.CreateBetaCurveFunctionValues(N, Width, Centre, R.Number(W / 20, W / 4),
                                              R.Int(0, 1) ? 1.0 : R.Number(0.5, 3));
            break;
        case 6:
            if (Min <= 0 && Max >= 100) Set.SetSetType(static_cast<TFuzzySetType>(R.Int(1, 5)));
            break;  // its default shape
        case 7: Set.CreateCrispValue(X()); break;
        default: break;  // no points
    }
}

/// Builds a random class model: variables with awkward names, units and comments, sets of every
/// shape, expression sets over the sets before them, automatic terms.
void Build(TFuzzyLogic& Logic, TCustomFuzzyLogicParser& Parser, TRandom& R, bool AutoTerms) {
    Logic.SetAutoTerms(false);
    Logic.SetNumFunctionValues(R.Pick(std::vector{7, 6, 9}));
    for (int V = R.Int(1, 3); V > 0; --V) {
        TFuzzyVariable* Variable = Logic.GetItems().Add(R.Pick(Names) + std::to_string(V));
        const double Min = R.Pick(std::vector{0.0, -10.0, 20.0, R.Number(-100, 100)});
        Variable->SetMaximum(Min + R.Pick(std::vector{100.0, 10.0, 1.0, R.Number(1, 50)}));
        Variable->SetMinimum(Min);
        Variable->SetUnits(R.Pick(Units));
        Variable->SetComment(R.Pick(Comments));
        if (AutoTerms || R.Int(0, 2) == 0) Logic.AddAutoTerms(Variable);
        std::vector<std::string> Made{"low", "medium", "high"};
        for (int S = R.Int(0, 6); S > 0; --S) {
            const std::string Name = R.Pick(Names) + std::to_string(S);
            TFuzzySet* Set = nullptr;
            try {
                if (R.Int(0, 3) == 0) {
                    std::string Expression = R.Pick(Expressions);
                    for (const char* Operand : {"A", "B"})
                        if (const auto At = Expression.find(Operand); At != std::string::npos)
                            Expression.replace(At, 1, R.Pick(Made));
                    Set = Parser.EvalFuzzyExpression(Variable, Expression);
                    if (Set->GetDefined()) continue;  // an existing set
                } else {
                    Set = Variable->GetItems().Add();
                    Shape(*Set, R, Variable->GetMinimum(), Variable->GetMaximum(),
                          Logic.GetNumFunctionValues());
                }
                Set->SetName(Name);
                Set->SetComment(R.Pick(Comments));
                Set->SetDefined(true);
                Made.push_back(Name);
            } catch (const EFzyException&) {
                if (Set != nullptr) Set->Free();
            }
        }
    }
    // Shapes made with another number of points than the reader's.
    if (R.Int(0, 3) == 0) Logic.SetNumFunctionValues(Logic.GetNumFunctionValues() + 1);
}

// ---- Comparing models --------------------------------------------------------------------------------

// Everything a text can say of a model: names, comments, units, ranges and the points of every
// defined set. Types and expressions are what the printed body makes of them, checked by the
// fixed point of the text. Variables are keyed by their head: a reference-counted component lists
// them in the order of its name-keyed table, which depends on the order of adding.
using TSetView = std::pair<std::string, test::TPoints>;  // name|comment, points
using TModelView = std::map<std::string, std::vector<TSetView>>;

template <class TVariable>
std::string HeadOf(const TVariable& V) {
    return V.GetName() + "|" + V.GetComment() + "|" + V.GetUnits() + "|" + FloatToStr(V.GetMinimum()) + "|" +
           FloatToStr(V.GetMaximum());
}

TModelView View(const TFuzzyLogic& L) {
    TModelView Model;
    for (const TFuzzyVariable* V : L.GetItems()) {
        std::vector<TSetView>& Sets = Model[HeadOf(*V)];
        for (const TFuzzySet* S : V->GetItems())
            if (S->GetDefined()) Sets.emplace_back(S->GetName() + "|" + S->GetComment(), test::PointsOf(*S));
    }
    return Model;
}

TModelView View(const TIFuzzyLogic& L) {
    TModelView Model;
    for (const auto& Item : L.GetItems()) {
        std::vector<TIntfPtr<IFuzzySet>> Sets;
        for (int I = 0; I < Item.Value->GetCount(); ++I) Sets.push_back(Item.Value->GetFuzzySet(I));
        std::stable_sort(Sets.begin(), Sets.end(),
                         [](const auto& A, const auto& B) { return A->GetIndex() < B->GetIndex(); });
        std::vector<TSetView>& Views = Model[HeadOf(*Item.Value)];
        for (const auto& S : Sets) {
            test::TPoints Points;
            for (int I = 0; I < S->GetCount(); ++I) Points.emplace_back(S->GetXValues(I), S->GetYValues(I));
            Views.emplace_back(S->GetName() + "|" + S->GetComment(), std::move(Points));
        }
    }
    return Model;
}

// Whether two models agree, points within the tolerance of point comparisons.
bool SameModel(const TModelView& Read, const TModelView& Original) {
    const auto SamePoint = [](const auto& P, const auto& Q) {
        return FloatEquals(P.first, Q.first) && FloatEquals(P.second, Q.second);
    };
    const auto SameSet = [&](const TSetView& A, const TSetView& B) {
        return A.first == B.first && std::ranges::equal(A.second, B.second, SamePoint);
    };
    return std::ranges::equal(Read, Original, [&](const auto& A, const auto& B) {
        return A.first == B.first && std::ranges::equal(A.second, B.second, SameSet);
    });
}

// The entries of Strings (one per variable), sorted when Sorted (see TModelView).
std::vector<std::string> Entries(TStrings& Strings, bool Sorted) {
    std::vector<std::string> Result;
    for (int I = 0; I < Strings.Count(); ++I) Result.push_back(Strings.GetString(I));
    if (Sorted) std::sort(Result.begin(), Result.end());
    return Result;
}

/// Prints Logic's model (through its stale Strings), assigns the text to a fresh component of
/// the same model and settings, and checks that the text is a fixed point and the models agree.
/// Returns the printed text.
template <class TLogic>
std::string RoundTrip(test::TParsed<TLogic>& Original, const std::string& Context) {
    constexpr bool Counted = std::is_same_v<TLogic, TIFuzzyLogic>;
    // The model changed since its text was made: reading the text regenerates it.
    EXPECT_TRUE(Original.Logic->GetNeedsUpdate()) << Context;
    TStrings& Text = Original.Logic->GetStrings();
    test::TParsed<TLogic> Copy(Original.Logic->GetAutoTerms());
    Copy.Logic->SetNumFunctionValues(Original.Logic->GetNumFunctionValues());
    Copy.Logic->SetVariables(Original.Logic->GetVariables());
    try {
        Copy.Logic->SetStrings(Text);
    } catch (const Exception& Error) {
        ADD_FAILURE() << Context << ": " << Error.what() << "\n" << Text.GetText();
        return Text.GetText();
    }
    Copy.Logic->UpdateStrings();
    EXPECT_EQ(Entries(Copy.Logic->GetStrings(), Counted), Entries(Text, Counted)) << Context;
    EXPECT_TRUE(SameModel(View(*Copy.Logic), View(*Original.Logic))) << Context << "\n" << Text.GetText();
    return Text.GetText();
}

// ---- The awkward cases -------------------------------------------------------------------------------

struct TAwkward {
    const char* Source;   // read into the original model
    const char* Printed;  // a piece of its printed text
    int NumFunctionValues = 7;
};

const TAwkward Awkward[] = {
    // Base-hedge results and cut operators leave expressions that make nothing ("* ",
    // "<= [> or hot]"): their points.
    {"(deffuzzy x (range 0 10) (values (term hot (tri 0 5 10)) (term half hot * 0.5)))",
     "(term half ((0.0000 0.0000) (5.0000 0.5000) (10.0000 0.0000) ))"},
    {"(deffuzzy x (range 0 10) (values (term hot (tri 0 5 10)) (term c hot > 0.3 or hot <= 0.2)))",
     "(term c ((0.0000 0.2000) (5.0000 1.0000)"},
    // List operands, bracketed in the expression, read back as written.
    {"(deffuzzy x (range 0 40) (values (term cold (z 0 20)) (term l cold or (tri 10 20 30))))",
     "(term l cold or [(tri 10 20 30)])"},
    // An empty body: the empty set; a comment with quotes and backslashes.
    {"(deffuzzy x (range 0 10) (values (term e \"say \\\"hi\\\" \\\\\" \"\")))",
     "(term e \"say \\\"hi\\\" \\\\\" __Empty)"},
    // Every written form of a body.
    {"(deffuzzy x (range 0 100) (values (term l ((0 1) (50 1) (80 0))) (term p (pi 10 50)) (term s \"a b\" "
     "(s 0 10)) (term w (beta 10 50 5 2))))",
     "(term l ((0.0000 1.0000) (50.0000 1.0000) (80.0000 0.0000) ))\r\n    (term p (pi 10.0000 50.0000))\r\n"
     "    (term s \"a b\" (s 0.0000 10.0000))\r\n    (term w (beta 10.0000 50.0000 5.0000 2.0000))"},
    // Names no word spells: escaped or quoted.
    {"(deffuzzy x (range 0 10) (values (term a\\ b (tri 0 1 2)) (term \"12\" (tri 1 2 3)) (term \"?q\" (s 2 "
     "4))))",
     "(term a\\ b (tri 0.0000 1.0000 2.0000))\r\n    (term \"12\" (tri"},
    {"(deffuzzy x (range 0 10) (values (term x\\<y 1) (term x>y 2) (term t\\\\ 3) (term \"(p\" 4) "
     "(term 1e 5) (term +a 7) (term a\\;b 8)))",
     "(term x\\<y 1)\r\n    (term x>y 2)\r\n    (term t\\\\ 3)\r\n    (term \"(p\" 4)\r\n    (term 1e 5)\r\n"
     "    (term +a 7)\r\n    (term a\\;b 8)"},
    // A ?name operand reads the component's Variables list, which the copy shares (no entry y).
    {"(deffuzzy \"?v\" (range 0 10) (values (term b (tri 0 1 2)) (term r ?y or b)))", "(term r ?y or b)"},
    // Units and comments that no word spells.
    {"(deffuzzy x \"back\\\\slash\" (range 0 1) (units \"007\") (values (term a \"end\\\\\" (tri 0 0.5 1))))",
     "(units \"007\")"},
    // Numbers that "%.4f" would move.
    {"(deffuzzy x (range 0 0.00001) (values (term t (tri 0 0.000005 0.00001))))",
     "(term t (tri 0.0000 5e-06 1e-05))"},
    {"(deffuzzy x (range -1e-9 123456.78901) (values (term p ((0.123456 0.5) (1 0.99999)))))",
     "((0.123456 0.5000) (1.0000 0.99999) )"},
    // Curves with six points, whose mean of maxima is not their centre.
    {"(deffuzzy x (range 0 10) (values (term p (pi 0 10 3)) (term q (pi 2 5)) (term b (beta 2 5 1 3))))",
     "(term p (pi 0.0000 10.0000 3.0000))", 6},
    // Curves clipped by the range: their points.
    {"(deffuzzy x (range 0 10) (values (term p (pi 5 8)) (term s (s -5 5)) (term b (beta 4 9 2))))",
     "(term s ((0.0000 0.0000) (0.0000 0.05555555555555555)", 7},
    // A number operand keeps its expression.
    {"(deffuzzy x (range 0 10) (values (term n 5) (term m 2.5 or 7)))", "(term n 5)"},
    // Beta curves whose inflection point is the midpoint.
    {"(deffuzzy x (range 0 100) (values (term b (beta 10 50 5)) (term w (beta 10 50 5 1.0))))",
     "(term b (beta 10.0000 50.0000 5.0000))"},
    // A variable without sets.
    {"(deffuzzy x)", "(deffuzzy x \r\n  (range 0.0000 1.0000)\r\n  (values \r\n"},
};

template <class TLogic>
std::string ReadAndRoundTrip(const TAwkward& Case, bool AutoTerms, const std::string& Context) {
    test::TParsed<TLogic> Model(AutoTerms);
    Model.Logic->SetNumFunctionValues(Case.NumFunctionValues);
    Model.Parse(Case.Source);
    return RoundTrip(Model, Context);
}

TEST(RoundTrip, AwkwardCasesReadBackToTheSameModelInBothModels) {
    for (const TAwkward& Case : Awkward) {
        for (const bool AutoTerms : {false, true}) {
            const std::string Context = std::string(Case.Source) + (AutoTerms ? " (AutoTerms)" : "");
            const std::string Text = ReadAndRoundTrip<TFuzzyLogic>(Case, AutoTerms, Context);
            EXPECT_NE(Text.find(Case.Printed), std::string::npos) << Context << "\n" << Text;
            // One variable: the same order.
            EXPECT_EQ(ReadAndRoundTrip<TIFuzzyLogic>(Case, AutoTerms, Context), Text) << Context;
        }
    }
}

// Sets made or renamed through the model, not through a text.
TEST(RoundTrip, EditedModelsReadBack) {
    test::TClassParsed M(false);
    M.Parse("(deffuzzy x (range 0 10) (values (term a (tri 0 1 2)) (term b (tri 3 4 5)) (term c a or b)))");
    TFuzzyVariable* X = M.Logic->GetItems().GetItemByName("x");
    // Renamed after an expression named it: the expression means something else now.
    X->GetItems().GetItemByName("a")->SetName("z");
    EXPECT_NE(RoundTrip(M, "renamed").find("(term c ((0.0000 0.0000)"), std::string::npos);
    // Automatic terms, which name themselves, a set without points, a set without a name, and an
    // expression starting with a list operand (a body starting with "(" would be a call).
    M.Logic->AddAutoTerms(X);
    X->GetItems().Add("none");
    TFuzzySet* Unnamed = X->GetItems().Add("");
    Unnamed->CreateTriangleFunctionValues(1, 2, 3);
    Unnamed->SetDefined(true);
    TFuzzySet* Listed = M.Parser->EvalFuzzyExpression(X, "(tri 6 7 8) or b");
    Listed->SetName("listed");
    Listed->SetDefined(true);
    const std::string Text = RoundTrip(M, "automatic terms");
    EXPECT_NE(Text.find("(term medium (tri 0.0000 5.0000 10.0000))"), std::string::npos) << Text;
    EXPECT_NE(Text.find("(term none __Empty)"), std::string::npos) << Text;
    EXPECT_NE(Text.find("(term \"\" (tri 1.0000 2.0000 3.0000))"), std::string::npos) << Text;
    EXPECT_NE(Text.find("(term listed [(tri 6 7 8)] or b)"), std::string::npos) << Text;
}

// (Variables the host adds to a reference-counted component: its stream round-trip test.)

TEST(RoundTrip, RandomModelsPrintAsFixedPointsOfPrintParsePrint) {
    for (unsigned Start = 1; Start <= 60; ++Start) {
        TRandom R{std::mt19937(Start)};
        const bool AutoTerms = Start % 2 == 0;
        test::TClassParsed Original(AutoTerms);
        Build(*Original.Logic, *Original.Parser, R, AutoTerms);
        Original.Logic->SetAutoTerms(AutoTerms);
        const std::string Context = "random start " + std::to_string(Start);
        const std::string Text = RoundTrip(Original, Context);

        // The reference-counted model reads the same text; its table orders the variables by name.
        test::TIntfParsed Counted(AutoTerms);
        Counted.Logic->SetNumFunctionValues(Original.Logic->GetNumFunctionValues());
        Counted.Parse(Text);
        (void)RoundTrip(Counted, Context);
    }
}

}  // namespace
}  // namespace fzl
