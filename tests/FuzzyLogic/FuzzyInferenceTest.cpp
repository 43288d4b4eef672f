#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "../../bench/MamdaniModel.h"
#include "TestModel.h"

namespace fzl {
namespace {

using namespace test;  // TModel, FreeSet, PointsOf, Text, ErrorOf
using TSets = std::vector<TFuzzySet*>;
const TPoints Tri = {{0, 0}, {5, 1}, {10, 0}};

TEST(FuzzyInference, CorrelationStrengthEqualsAndCorrelate) {
    TModel M(0, 30);
    TFuzzySet* A = M.Add({{0, 0}, {10, 1}, {20, 0}}, "a");
    TFuzzySet* B = M.Add({{10, 0}, {20, 1}, {30, 0}}, "b");
    EXPECT_DOUBLE_EQ(A->GetCorrelationStrength(*B), 0.5);  // the height of the overlap
    EXPECT_DOUBLE_EQ(A->FuzzyEquals(*A), 1.0);             // of a set with itself, its height
    EXPECT_DOUBLE_EQ(FreeSet({{0, 0}, {10, 1}})->GetCorrelationStrength(*FreeSet({{20, 0.5}, {30, 0}})), 0.5);
    // Equals holds from the threshold up: the overlap of 0.5 is equal at 0.5, not at 0.6.
    M.Variable->SetThreshold(0.5);
    EXPECT_TRUE(A->Equals(*B));
    M.Variable->SetThreshold(0.6);
    EXPECT_FALSE(A->Equals(*B));
    EXPECT_TRUE(FreeSet({})->Equals(*FreeSet({})));
    EXPECT_FALSE(FreeSet({{0, 0.005}})->Equals(*FreeSet({{0, 1}})));  // a free set compares at 0.01
    // Premise lists: the weakest premise/fact pair.
    TSets Facts = {M.Add({{0, 0}, {5, 0.8}, {10, 0}}), M.Add({{0, 0.3}, {10, 0.3}})};
    TSets Premises = {M.Add(Tri), M.Add(Tri)};
    EXPECT_DOUBLE_EQ(M.Variable->GetCorrelationStrength(Premises, Facts), 0.3);

    // Correlation clips (minimum, the default) or scales (product, here the component's) a set.
    EXPECT_EQ(PointsOf(*FreeSet(Tri)->Correlate(0.5, fcmMinimum)), (TPoints{{0, 0}, {5, 0.5}, {10, 0}}));
    M.Logic->SetCorrelationMethod(fcmProduct);
    EXPECT_EQ(PointsOf(*M.Add({{0, 0.4}, {5, 1}})->Correlate(0.5)), (TPoints{{0, 0.2}, {5, 0.5}}));
}

TEST(FuzzyInference, InferUnderEachMethod) {
    TModel M(0, 10);
    TFuzzySet *A = M.Add({{0, 0.2}, {10, 0.8}}, "a"), *B = M.Add({{0, 0.6}, {10, 0.4}}, "b");
    // Each method names the operation it combines with (whose degrees the operation tests check).
    using TCases = std::vector<std::tuple<TFuzzyInferenceMethod, bool, std::string>>;
    for (const auto& [Method, Intersect, Name] : TCases{{fimMinMax, false, "a or b"},
                                                        {fimMinMax, true, "a and b"},
                                                        {fimAdditive, false, "a or-sum b"},
                                                        {fimMean, true, "a and-mean b"},
                                                        {fimProduct, false, "a or-product b"},
                                                        {fimBoundedSum, true, "a and-boundedsum b"}})
        EXPECT_EQ(A->Infer(*B, Method, Intersect)->GetName(), Name);
    EXPECT_EQ(A->Infer(*B, false)->GetVariable(), M.Variable);
    EXPECT_THROW((void)A->Infer(*B, fimAdditive, true), EFzyException);
    M.Logic->SetInferenceMethod(fimBoundedSum);
    EXPECT_EQ(A->Infer(*B, false)->GetName(), "a or-boundedsum b");
    EXPECT_EQ(PointsOf(*A), (TPoints{{0, 0.2}, {10, 0.8}}));  // the operands stay
    EXPECT_EQ(M.Variable->GetItems().Count(), 2);             // every result went with its handle
}

TEST(FuzzyInference, Defuzzification) {
    const auto Cog = [](double Min, double Max, const TPoints& Points) {
        return TModel(Min, Max).Add(Points)->CenterOfGravity();
    };
    EXPECT_DOUBLE_EQ(Cog(0, 10, Tri), 5.0);  // an empty set and a spike in a variable: see the guide
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0}, {10, 1}}), 20.0 / 3);
    EXPECT_DOUBLE_EQ(Cog(-10, 10, {{0, 1}, {10, 0}}), (-5.0 * 10 + 10.0 / 3 * 5) / 15);    // left shoulder
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0}, {5, 1}}), (10.0 / 3 * 2.5 + 7.5 * 5) / 7.5);      // right shoulder
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0.5}, {10, 1}}), 50.0 / 9);                           // trapezoid
    EXPECT_DOUBLE_EQ(Cog(0, 10, {{0, 0}, {4, 0}, {4, 1}, {7, 1}, {7, 0}, {10, 0}}), 5.5);  // steps
    // A free set: the centroid of the area under its own points.
    EXPECT_DOUBLE_EQ(FreeSet({})->CenterOfGravity(), 0.0);
    EXPECT_DOUBLE_EQ(FreeSet({{0, 1}, {10, 0}})->Defuzzify(), 10.0 / 3);
    // Degrees or widths whose area overflows a double still give the centre, not NaN.
    EXPECT_DOUBLE_EQ(FreeSet({{3, 1e308}, {4, 1e308}})->CenterOfGravity(), 3.5);
    EXPECT_DOUBLE_EQ(Cog(-1e308, 1e308, {{-1e308, 0}, {1e308, 1}}), 1e308 / 3);

    EXPECT_DOUBLE_EQ(FreeSet({{0, 0}, {2, 1}, {4, 1}, {6, 0}})->MeanOfMaxima(), 3.0);
    EXPECT_DOUBLE_EQ(FreeSet({{0, 0}, {2, 1}, {3, 0.99995}, {4, 0}})->MeanOfMaxima(), 2.5);  // tolerance
    // A higher level replaces the points gathered at a lower one.
    EXPECT_DOUBLE_EQ(FreeSet({{0, 0.5}, {1, 0.5}, {2, 0.5}, {3, 1}, {5, 1}, {6, 0}})->MeanOfMaxima(), 4.0);
    EXPECT_DOUBLE_EQ(FreeSet({})->MeanOfMaxima(), 0.0);
    // Degrees so large that the tolerance is lost in their rounding: still the points' mean.
    EXPECT_DOUBLE_EQ(FreeSet({{2, 1e160}})->MeanOfMaxima(), 2.0);
    EXPECT_DOUBLE_EQ(FreeSet({{2, 1e16}, {4, 1e16}, {5, 1}})->MeanOfMaxima(), 3.0);
    TModel M(0, 10);
    M.Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    EXPECT_DOUBLE_EQ(M.Add({{0, 0}, {2, 1}, {4, 1}, {10, 0.5}})->Defuzzify(), 3.0);
    for (const TPoints& P : {TPoints{}, TPoints{{0, 1}, {10, 1}}, TPoints{{0, 0}, {5, 0}}})
        EXPECT_TRUE(FreeSet(P)->IsUndecidable());
    for (const TPoints& P : {TPoints{{0, 0.5}, {10, 0.5}}, TPoints{{0, 0}, {5, 1}}})
        EXPECT_FALSE(FreeSet(P)->IsUndecidable());
}

TEST(FuzzyInference, AssertRuleFiresAtOrAboveTheThreshold) {
    TModel M(0, 10);
    TFuzzySet* Consequent = M.Add(Tri, "c");
    TFuzzySets& Sets = M.Variable->GetItems();
    M.Variable->SetThreshold(0.5);
    EXPECT_EQ(M.Variable->AssertRule(0.3, *Consequent, nullptr), nullptr);  // below: nothing
    EXPECT_EQ(Sets.Count(), 1);
    M.Variable->SetThreshold(0.3);
    TOwned<TFuzzySet> Clipped = M.Variable->AssertRule(0.3, *Consequent, nullptr);  // at: a correlated clone
    EXPECT_EQ(PointsOf(*Clipped), (TPoints{{0, 0}, {5, 0.3}, {10, 0}}));
    EXPECT_EQ(PointsOf(*Consequent), Tri);

    M.Logic->SetCorrelationMethod(fcmProduct);  // with a conclusion: joined into it, which stays
    const TOwned<TFuzzySet> Second = M.Variable->AssertRule(0.5, *Consequent, Clipped.get());
    EXPECT_EQ(PointsOf(*Second), (TPoints{{0, 0}, {5, 0.5}, {10, 0}}));
    EXPECT_EQ(PointsOf(*Clipped), (TPoints{{0, 0}, {5, 0.3}, {10, 0}}));
    EXPECT_EQ(Sets.Count(), 3);  // c, Clipped, Second: the correlated clone is gone

    TFuzzySet* Premise = M.Add({{0, 0}, {10, 1}}, "p");
    TFuzzySet* Fact = M.Add({{0, 0.6}, {10, 0.6}}, "f");
    EXPECT_DOUBLE_EQ(M.Variable->AssertRule(*Premise, *Consequent, *Fact, nullptr)->DegreeOfMembership(5),
                     0.6);

    // Firing into an owned conclusion: a rule below the threshold keeps it, one that fires
    // replaces it and frees the previous one, so the variable does not grow.
    TOwned<TFuzzySet> Conclusion;
    M.Variable->SetThreshold(0.7);
    EXPECT_FALSE(M.Variable->AssertRule(*Premise, *Consequent, *Fact, Conclusion));
    EXPECT_EQ(Conclusion, nullptr);
    TSets Premises = {Premise}, Facts = {Fact};
    for (int I = 0; I < 1000; ++I) {
        EXPECT_TRUE(M.Variable->AssertRule(0.8, *Consequent, Conclusion));
        EXPECT_FALSE(M.Variable->AssertRule(Premises, Facts, *Consequent, Conclusion));
    }
    EXPECT_DOUBLE_EQ(Conclusion->DegreeOfMembership(5), 0.8);
    EXPECT_EQ(Sets.Count(), 6);  // c, Clipped, Second, p, f and the conclusion
}

// A rule fired with nobody watching correlates its copy outside the collection; the sets it
// leaves must be exactly those a watched variable makes: names, expressions, IDs, places and
// points (with their IDs), under every correlation and inference method, for consequents with
// steps, and for one reaching past the range (which takes the watched way).
TEST(FuzzyInference, AssertRuleUnwatchedLeavesWhatAWatchedOneDoes) {
    const auto Describe = [](const TFuzzySet& Set) {
        std::string Text = Set.GetName() + '|' + Set.GetExpression() + '|' + std::to_string(Set.GetID()) +
                           ' ' + std::to_string(Set.GetIndex()) + ' ' + std::to_string(Set.GetSetType()) +
                           ' ' + std::to_string(Set.GetTag()) + ' ' + std::to_string(Set.GetDefined()) + ' ' +
                           FloatToStr(Set.GetInflectionPoint()) + ' ' + Set.GetComment() + '|';
        for (const TFuzzySetValue* Point : Set.GetValues())
            Text += std::to_string(Point->GetID()) + ':' + FloatToStr(Point->GetX()) + ',' +
                    FloatToStr(Point->GetY()) + ' ';
        return Text;
    };
    const std::vector<TPoints> Shapes = {Tri,
                                         {{2, 0}, {2, 1}, {6, 1}, {6, 0}},
                                         {{0, 1}, {3, 0.25}, {3, 0.75}, {3, 0.5}, {7, 0}},
                                         {{4, 0}, {4.0000000001, 1}, {10, 1}},
                                         {{5, 0.5}}};
    for (const TFuzzyCorrelationMethod Correlation : {fcmMinimum, fcmProduct}) {
        for (int Inference = fimMinMax; Inference <= fimBoundedSum; ++Inference) {
            TModel Watched(0, 10), Quiet(0, 10);
            int Events = 0;
            Watched.Logic->OnFuzzySetAdded = [&Events](TObject*, TFuzzySet*) { ++Events; };
            std::vector<TFuzzySet*> WatchedTerms, QuietTerms;
            for (TModel* M : {&Watched, &Quiet}) {
                M->Logic->SetCorrelationMethod(Correlation);
                M->Logic->SetInferenceMethod(static_cast<TFuzzyInferenceMethod>(Inference));
                std::vector<TFuzzySet*>& Terms = M == &Watched ? WatchedTerms : QuietTerms;
                for (std::size_t K = 0; K < Shapes.size(); ++K)
                    Terms.push_back(M->Add(Shapes[K], "t" + std::to_string(K)));
                // Points past a range that shrank after they were placed.
                Terms.push_back(M->Add({{1, 0}, {9, 1}, {10, 0}}, "wide"));
                M->Variable->SetMaximum(9.5);
            }
            std::mt19937 Random(7 + Inference);
            TOwned<TFuzzySet> WatchedConclusion, QuietConclusion;
            for (int Rule = 0; Rule < 60; ++Rule) {
                // Full strength changes nothing; a tiny one brings the points of a step together.
                const double Strength = Rule % 10 == 9   ? 1.0
                                        : Rule % 10 == 8 ? 1e-13
                                                         : std::uniform_real_distribution(0.0, 1.0)(Random);
                const std::size_t Term = Random() % WatchedTerms.size();
                if (Rule % 7 == 6) {
                    // What the host wrote on the running conclusion does not pass to the next one.
                    for (TFuzzySet* Conclusion : {WatchedConclusion.get(), QuietConclusion.get()}) {
                        Conclusion->SetTag(Rule);
                        Conclusion->SetComment("noted");
                        Conclusion->SetDefined(true);
                    }
                }
                Watched.Variable->AssertRule(Strength, *WatchedTerms[Term], WatchedConclusion);
                Quiet.Variable->AssertRule(Strength, *QuietTerms[Term], QuietConclusion);
                ASSERT_EQ(Describe(*QuietConclusion), Describe(*WatchedConclusion))
                    << "correlation " << Correlation << ", inference " << Inference << ", rule " << Rule;
            }
            EXPECT_GT(Events, 60);
            EXPECT_EQ(Quiet.Variable->GetItems().Add("next")->GetID(),
                      Watched.Variable->GetItems().Add("next")->GetID());
            EXPECT_EQ(Quiet.Variable->GetItemIndex(), Watched.Variable->GetItemIndex());
        }
    }
    // A range past the X bounds of a free set (2^31 - 1): points there stay where they are.
    TModel Watched(0, 4e9), Quiet(0, 4e9);
    Watched.Logic->OnFuzzySetAdded = [](TObject*, TFuzzySet*) {};
    TOwned<TFuzzySet> WatchedConclusion, QuietConclusion;
    TFuzzySet* WatchedTerm = Watched.Add({{0, 0}, {3e9, 1}, {4e9, 0}}, "far");
    TFuzzySet* QuietTerm = Quiet.Add({{0, 0}, {3e9, 1}, {4e9, 0}}, "far");
    for (const double Strength : {0.5, 0.75}) {
        Watched.Variable->AssertRule(Strength, *WatchedTerm, WatchedConclusion);
        Quiet.Variable->AssertRule(Strength, *QuietTerm, QuietConclusion);
        EXPECT_EQ(Describe(*QuietConclusion), Describe(*WatchedConclusion));
    }
    EXPECT_DOUBLE_EQ(QuietConclusion->GetValues().GetItem(1)->GetX(), 3e9);
}

// An unwatched conclusion writes its name and expression only when they are read, after any
// number of rules: every reader (and every writer) sees what a watched one shows at once.
TEST(FuzzyInference, AConclusionNamedLateReadsAsOneNamedAtOnce) {
    TModel Watched(0, 10), Late(0, 10);
    Watched.Logic->OnFuzzySetAdded = [](TObject*, TFuzzySet*) {};
    for (TModel* M : {&Watched, &Late}) {
        M->Add(Tri, "t0");
        M->Add({{2, 0}, {2, 1}, {6, 1}, {6, 0}}, "t 1");
        M->Add({{0, 1}, {4, 0}}, "t2")->SetExpression("[very t0]");
    }
    const auto Term = [](TModel& M, int Index) { return M.Variable->GetItems().GetItem(Index); };
    TOwned<TFuzzySet> WatchedConclusion, LateConclusion;
    std::mt19937 Random(11);
    for (int Rule = 1; Rule <= 48; ++Rule) {
        const double Strength = std::uniform_real_distribution(0.05, 1.0)(Random);
        const int Index = static_cast<int>(Random() % 3);
        Watched.Variable->AssertRule(Strength, *Term(Watched, Index), WatchedConclusion);
        Late.Variable->AssertRule(Strength, *Term(Late, Index), LateConclusion);
        if (Rule % 6 != 0) continue;  // five rules unread, then one reader of each kind in turn
        const std::string Name = WatchedConclusion->GetName();
        switch (Rule / 6 % 8) {
            case 0: EXPECT_EQ(LateConclusion->GetName(), Name); break;
            case 1: EXPECT_EQ(LateConclusion->GetExpression(), WatchedConclusion->GetExpression()); break;
            case 2: EXPECT_EQ(Late.Variable->GetItems().GetItemByName(Name), LateConclusion.get()); break;
            case 3:
                EXPECT_EQ(LateConclusion->Clone()->GetExpression(), WatchedConclusion->GetExpression());
                break;
            case 4:
                EXPECT_EQ(LateConclusion->Union(*Term(Late, 0))->GetExpression(),
                          WatchedConclusion->Union(*Term(Watched, 0))->GetExpression());
                break;
            case 5: EXPECT_EQ(LateConclusion->ToString(), WatchedConclusion->ToString()); break;
            case 6:  // a point moved: the expression goes, the name written so far stays
                LateConclusion->GetValues().GetItem(0)->SetY(0.5);
                WatchedConclusion->GetValues().GetItem(0)->SetY(0.5);
                EXPECT_EQ(LateConclusion->GetName(), Name);
                EXPECT_EQ(LateConclusion->GetExpression(), "");
                break;
            default:
                LateConclusion->Hedge(fhVery);
                WatchedConclusion->Hedge(fhVery);
                EXPECT_EQ(LateConclusion->GetName(), WatchedConclusion->GetName());
                EXPECT_EQ(LateConclusion->GetExpression(), WatchedConclusion->GetExpression());
        }
    }
    EXPECT_GT(WatchedConclusion->GetName().size(), 100u);
    EXPECT_EQ(LateConclusion->GetName(), WatchedConclusion->GetName());
    EXPECT_EQ(LateConclusion->GetExpression(), WatchedConclusion->GetExpression());
}

// The benchmark's first controller (two inputs of five triangles over [0, 100], 25 rules with
// consequent clamp(i + j - 2, 0, 4), product correlation, max inference) computed independently:
// the aggregated membership sampled finely and integrated by the midpoint rule.
double SampledOutput(const double* In) {
    const auto Triangle = [](double Center, double X) {
        return std::max(0.0, 1.0 - std::fabs(X - Center) / 25);
    };
    double Area = 0, Moment = 0;
    for (double X = 0.5 / 4000; X < 100; X += 1.0 / 4000) {
        double Degree = 0;
        for (int I = 0; I < 25; ++I)
            Degree =
                std::max(Degree, std::min(Triangle(25.0 * (I % 5), In[0]), Triangle(25.0 * (I / 5), In[1])) *
                                     Triangle(25.0 * std::clamp(I % 5 + I / 5 - 2, 0, 4), X));
        Area += Degree;
        Moment += Degree * X;
    }
    return Moment / Area;
}

TEST(Controller, CrispOutputsAreExact) {
    bench::TMamdaniModel Controller(2, 5);
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Input(0, 100);
    for (int Case = 0; Case < 6; ++Case) {
        const double In[] = {Case == 0 ? 20 : Input(Random), Case == 0 ? 70 : Input(Random)};
        EXPECT_NEAR(Controller.Cycle(In), SampledOutput(In), 1e-6) << In[0] << ", " << In[1];
    }
    const double Symmetric[] = {25, 75};
    EXPECT_DOUBLE_EQ(Controller.Cycle(Symmetric), 50);     // the middle of the range
    EXPECT_EQ(Controller.Output().GetItems().Count(), 5);  // every intermediate set was freed
}

}  // namespace
}  // namespace fzl
