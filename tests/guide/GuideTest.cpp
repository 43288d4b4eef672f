// The code of the user guide (docs/guide.md) and of the README. Each region between
// "[guide:NAME]" and "[/guide:NAME]" is copied verbatim into a code block there, and
// GuideFragmentsTest checks that the copies are identical; the checks after each region
// hold the numbers the guide's comments promise.
#include <gtest/gtest.h>

#include <string>

#include <fzl/fzl.h>

#include "FuzzyLogic/TestModel.h"

namespace fzl {
namespace {

// One continuous program, as the guide tells it: each section builds on the one before.
TEST(Guide, TheModelInFiveMinutes) {
    // [guide:variables]
    auto Logic = Make<TFuzzyLogic>(nullptr);  // yours: freed with everything in it when the handle goes
    Logic->SetAutoTerms(false);               // no automatic terms: we add our own

    TFuzzyVariable* Temperature = Logic->GetItems().Add("temperature");  // owned by Logic
    Temperature->SetMaximum(40);                                         // the range is now [0, 40]
    Temperature->SetUnits("degC");

    TFuzzyVariable* Humidity = Logic->GetItems().Add("humidity");
    Humidity->SetMaximum(100);
    Logic->AddAutoTerms(Humidity);  // low, medium and high over [0, 100], now that the range is set
    // [/guide:variables]
    EXPECT_EQ(Logic->GetItems().Find("temperature"), Temperature);
    EXPECT_EQ(Temperature->GetMinimum(), 0);
    EXPECT_EQ(Humidity->GetItems().GetItemByName("medium")->GetValuesToString(),
              "((0.0000 0.0000) (50.0000 1.0000) (100.0000 0.0000) )");

    // [guide:sets]
    TFuzzySet* Warm = Temperature->GetItems().Add("warm");  // owned by the variable
    Warm->CreateTriangleFunctionValues(16, 22, 28);         // the points (16, 0), (22, 1), (28, 0)

    TFuzzySet* Hot = Temperature->GetItems().Add("hot");
    Hot->GetValues().Add(25, 0);  // or point by point
    Hot->GetValues().Add(35, 1);  // beyond its last point a set keeps its last degree

    double WarmAt19 = Warm->DegreeOfMembership(19);  // 0.5, on the line from (16, 0) to (22, 1)
    double HotAt40 = Hot->DegreeOfMembership(40);    // 1
    // [/guide:sets]
    EXPECT_DOUBLE_EQ(WarmAt19, 0.5);
    EXPECT_DOUBLE_EQ(HotAt40, 1);

    // [guide:hedges]
    TFuzzySet* VeryWarm = Warm->Clone().release();   // a copy, left to the variable for good
    VeryWarm->Hedge(fhVery);                         // in place: every degree squared, renamed
    std::string Name = VeryWarm->GetName();          // "very warm"
    double At20 = VeryWarm->DegreeOfMembership(20);  // 0.4444 = (2/3)^2, at one of its points
    double At19 = VeryWarm->DegreeOfMembership(19);  // 0.2778, the line between two points
    // [/guide:hedges]
    EXPECT_EQ(Name, "very warm");
    EXPECT_DOUBLE_EQ(At20, 4.0 / 9);
    EXPECT_DOUBLE_EQ(At19, (1.0 / 9 + 4.0 / 9) / 2);
    EXPECT_EQ(Temperature->GetItems().Count(), 3);

    // [guide:operations]
    TFuzzySet* Cool = Temperature->GetItems().Add("cool");
    Cool->CreateTriangleFunctionValues(10, 16, 22);

    TOwned<TFuzzySet> CoolOrWarm = Cool->Union(*Warm);                 // "cool or warm"
    TOwned<TFuzzySet> Product = Cool->Intersection(*Warm, foProduct);  // "cool and-product warm"
    TOwned<TFuzzySet> Bounded = Cool->Union(*Warm, foBoundedSum);      // "cool or-boundedsum warm"
    double Max = CoolOrWarm->DegreeOfMembership(19);                   // 0.5 = max(0.5, 0.5)
    double Times = Product->DegreeOfMembership(19);                    // 0.25 = 0.5 * 0.5
    double Sum = Bounded->DegreeOfMembership(19);                      // 1 = min(1, 0.5 + 0.5)
    // [/guide:operations]
    EXPECT_EQ(CoolOrWarm->GetName() + ", " + Product->GetName() + ", " + Bounded->GetName(),
              "cool or warm, cool and-product warm, cool or-boundedsum warm");
    EXPECT_DOUBLE_EQ(Max, 0.5);
    EXPECT_DOUBLE_EQ(Times, 0.25);
    EXPECT_DOUBLE_EQ(Sum, 1);
    EXPECT_EQ(Temperature->GetItems().Count(), 7);  // warm, hot, very warm, cool and the three results

    // [guide:rules]
    TFuzzyVariable* Fan = Logic->GetItems().Add("fan");
    Fan->SetMaximum(100);
    TFuzzySet* Slow = Fan->GetItems().Add("slow");
    Slow->CreateTriangleFunctionValues(0, 25, 50);
    TFuzzySet* Fast = Fan->GetItems().Add("fast");
    Fast->CreateTriangleFunctionValues(50, 75, 100);

    const double Reading = 27;     // degrees C
    TOwned<TFuzzySet> Conclusion;  // empty until a rule fires
    // if temperature is warm then fan is slow: fires with strength 1/6
    Fan->AssertRule(Warm->DegreeOfMembership(Reading), *Slow, Conclusion);
    // if temperature is hot then fan is fast: fires with strength 0.2
    Fan->AssertRule(Hot->DegreeOfMembership(Reading), *Fast, Conclusion);
    // if temperature is cool then fan is slow: strength 0, below the threshold, fires nothing
    Fan->AssertRule(Cool->DegreeOfMembership(Reading), *Slow, Conclusion);
    // [/guide:rules]
    ASSERT_TRUE(Conclusion);
    EXPECT_EQ(Conclusion->GetName(), "[slow > 0.1667] or [fast > 0.2000]");

    // [guide:defuzzification]
    double Centre = Conclusion->CenterOfGravity();  // 52.2727
    double Maxima = Conclusion->MeanOfMaxima();     // 75: the X of the highest point
    double Crisp = Conclusion->Defuzzify();         // the component's method: the centre, 52.2727
    Logic->SetDefuzzificationMethod(dmMeanOfMaxima);
    double CrispNow = Conclusion->Defuzzify();  // 75
    // [/guide:defuzzification]
    EXPECT_NEAR(Centre, 52.2727, 1e-4);
    EXPECT_DOUBLE_EQ(Maxima, 75);
    EXPECT_EQ(Crisp, Centre);
    EXPECT_EQ(CrispNow, Maxima);

    // [guide:ownership]
    TOwned<TFuzzySet> Kept = Warm->Clone();     // listed in the variable while Kept holds it
    TFuzzySet* Copy = Warm->Clone().release();  // left to the variable, which frees it
    Copy->SetName("warm copy");
    Kept.reset();  // Kept's set leaves the variable and is freed

    TOwned<TFuzzySet> Later = Warm->Clone();
    Logic.reset();        // frees the variables, their sets and their points
    bool Empty = !Later;  // true: Later let go when its set went
    // [/guide:ownership]
    EXPECT_TRUE(Empty);
}

// The message of the exception of class E that Call raises, or what went otherwise.
template <class E, class TCall>
std::string MessageOf(TCall Call) {
    try {
        Call();
    } catch (const E& Error) {
        return Error.what();
    } catch (const std::exception& Error) {
        return std::string("another exception: ") + Error.what();
    }
    return "no exception";
}

// The guide's table of errors, row by row: class, message and the calls that raise it.
TEST(Guide, ErrorMessages) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = Logic->GetItems().Add("temperature");  // with low, medium, high
    TFuzzySets& Sets = Variable->GetItems();
    TFuzzySet* Low = Sets.GetItemByName("low");

    // [guide:errors]
    std::string Message;
    try {
        (void)Low->Intersection(*Low, foSum);  // the unbounded sum has no intersection
    } catch (const EFzyException& Error) {
        Message = Error.what();  // Invalid fuzzy operation: "foSum:
    }
    // [/guide:errors]
    EXPECT_EQ(Message, "Invalid fuzzy operation: \"foSum:");
    // The rows no other test holds; the rest are the modules' own tests.
    EXPECT_EQ(MessageOf<EFzyException>([&] { Low->Correlate(0.5, static_cast<TFuzzyCorrelationMethod>(7)); }),
              "Invalid fuzzy operation: \"7:");
    EXPECT_EQ(MessageOf<EFzyException>([&] { Low->CreatePIFunctionValues(7, -1, 3); }),
              "Invalid range arguments.  Left (4.0000) is greater than right (2.0000)");
    TFuzzySet* Empty = Sets.Add("empty");
    EXPECT_EQ(MessageOf<EFzyException>([&] { (void)Empty->Cutoff(0.5, true); }),
              "Invalid operation: \"Cutoff\".  Fuzzy set is empty");
    EXPECT_EQ(MessageOf<EFzyException>([&] { Empty->Hedge(fhNear); }),
              "Invalid operation: \"Fuzzy Approximation\".  Fuzzy set is empty");
    EXPECT_EQ(Sets.Count(), 4);  // no failed call left a set behind
    EXPECT_EQ(MessageOf<EFzyException>([&] { Variable->SetItemIndex(5); }), "List index out of bounds (5)");
    TFuzzySet* const Premises[] = {Low, Low};
    TFuzzySet* const OneFact[] = {Low};
    EXPECT_EQ(MessageOf<EListError>([&] { (void)Variable->AssertRule(Premises, OneFact, *Low, nullptr); }),
              "List index out of bounds (1)");
    TFuzzySet* const NullFact[] = {Low, nullptr};
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>(
                  [&] { (void)Variable->AssertRule(Premises, NullFact, *Low, nullptr); }),
              "Argument out of range");
    EXPECT_EQ(MessageOf<EConvertError>([&] { Low->SetCollection(&Low->GetValues()); }),
              "Cannot assign a TFuzzySet to a TFuzzySetValues");
}

// The numbers the guide's prose promises (the numeric guarantees and the notes on terms).
TEST(Guide, NumericGuarantees) {
    // The tolerance's bound is included.
    EXPECT_EQ(test::FreeSet({{0, 0}, {0, 0.0001}})->GetValues().Count(), 1);
    EXPECT_EQ(test::FreeSet({{0, 0}, {0, 0.00011}})->GetValues().Count(), 2);
    const TOwned<TFuzzySet> Step = test::FreeSet({{3, 1}, {3.00005, 0.5}});
    EXPECT_EQ(Step->GetValues().Count(), 2);
    EXPECT_EQ(Step->DegreeOfMembership(3), 1);
    EXPECT_NEAR(Step->DegreeOfMembership(3.00002), 0.8, 1e-9);

    test::TModel M(20, 100);
    M.Logic->AddAutoTerms(M.Variable);
    EXPECT_EQ(M.Variable->GetItems().GetItemByName("medium")->GetValuesToString(),
              "((20.0000 0.0000) (40.0000 1.0000) (100.0000 0.0000) )");
    TFuzzySet* A = M.Add({{20, 0.75}}, "a");
    EXPECT_EQ(A->Union(*M.Add({{20, 0.75}}, "b"), foSum)->DegreeOfMembership(50), 1.5);  // no limit of 1

    EXPECT_EQ(M.Add({}, "none")->CenterOfGravity(), 0);
    TFuzzySet* Spike = M.Add({}, "spike");
    Spike->CreateCrispValue(30);
    EXPECT_EQ(Spike->CenterOfGravity(), 60);  // the middle of [20, 100]
    TFuzzySet* Zero = M.Add({}, "zero");
    Zero->CreateTriangleFunctionValues(30, 50, 70);
    Zero->Hedge(bfhMultiply, 0, true);
    EXPECT_EQ(Zero->CenterOfGravity(), 0);
}

// The definition language: reading a text, evaluating expressions, errors with their line.
TEST(Guide, TheDefinitionLanguage) {
    // [guide:definitions]
    auto Logic = Make<TFuzzyLogic>(nullptr);
    auto Parser = Make<TVXFuzzyLogicParser>(nullptr);
    Parser->SetFuzzyLogic(Logic.get());  // the parser reads into Logic ...
    Logic->SetParser(Parser.get());      // ... and Logic reads its Strings through the parser
    Logic->SetAutoTerms(false);

    Parser->ParseFuzzyLogic(
        "(deffuzzy temperature \"room air\" (range 0 40) (units degC)\n"
        "  (values (term cold (z 5 15)) (term warm (tri 16 22 28)) (term hot ((25 0) (35 1)))\n"
        "          (term muggy very warm or hot)))");  // a set defined by an expression
    TFuzzyVariable* Temperature = Logic->GetItems().GetItemByName("temperature");  // owned by Logic

    // A new set for an expression, owned by the handle: freed when it goes.
    TFuzzyExpressionResult Mild = Parser->Evaluate(Temperature, "somewhat warm and not hot");
    double MildAt20 = Mild->DegreeOfMembership(20);                    // 0.8736
    double HalfHot = Parser->EvaluateCrisp(Temperature, "hot * 0.5");  // 34.5833, no set left behind

    int Line = 0;
    try {
        Parser->ParseFuzzyLogic("(deffuzzy wind\n  (range 0 fast))");
    } catch (const EFzyParseException& Error) {  // "Parsing Error, Expected number in ..."
        Line = Error.LineNumber();               // 2
    }
    // [/guide:definitions]
    EXPECT_EQ(Temperature->GetItems().Count(), 5);  // cold, warm, hot, muggy and Mild's set
    EXPECT_EQ(Temperature->GetComment(), "room air");
    EXPECT_NEAR(MildAt20, 0.8736, 5e-5);
    EXPECT_NEAR(HalfHot, 34.5833, 5e-5);
    EXPECT_EQ(Line, 2);
}

// The README's example.
TEST(Guide, ReadmeExample) {
    // [guide:readme]
    auto Logic = Make<TFuzzyLogic>(nullptr);  // owned by the caller; freed with it
    Logic->SetAutoTerms(false);
    Logic->SetCorrelationMethod(fcmProduct);

    TFuzzyVariable* Temperature = Logic->GetItems().Add("temperature");
    Temperature->SetMaximum(40);
    Temperature->GetItems().Add("warm")->CreateTriangleFunctionValues(18, 25, 32);

    TFuzzyVariable* Fan = Logic->GetItems().Add("fan");
    Fan->SetMaximum(100);
    TFuzzySet* Medium = Fan->GetItems().Add("medium");  // owned by the variable
    Medium->CreateTriangleFunctionValues(30, 50, 70);

    // Fire "if temperature is warm then fan is medium" for a reading of 22 degrees.
    double Strength = Temperature->GetItems().GetItemByName("warm")->DegreeOfMembership(22);
    TOwned<TFuzzySet> Conclusion;                    // the running conclusion, freed with its handle
    Fan->AssertRule(Strength, *Medium, Conclusion);  // one call per rule; below the threshold it stays
    double Speed = Conclusion->Defuzzify();          // exact centre of gravity: 50
    // [/guide:readme]
    EXPECT_DOUBLE_EQ(Strength, 4.0 / 7);
    EXPECT_DOUBLE_EQ(Speed, 50);
}

}  // namespace
}  // namespace fzl
