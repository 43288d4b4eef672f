// The code of the user guide (docs/guide.md) and of the README. Each region between
// "[guide:NAME]" and "[/guide:NAME]" is copied verbatim into a code block there, and
// GuideFragmentsTest checks that the copies are identical; the checks after each region
// hold the numbers the guide's comments promise.
#include <gtest/gtest.h>

#include <string>

#include <fzl/fzl.h>

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

// The messages of the guide's table of errors, raised as the table says.
TEST(Guide, ErrorMessages) {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    TFuzzyVariable* Variable = Logic->GetItems().Add("temperature");  // with low, medium, high
    TFuzzySet* Low = Variable->GetItems().GetItemByName("low");
    const auto MessageOf = [](auto Call) -> std::string {
        try {
            Call();
        } catch (const Exception& Error) {
            return Error.what();
        }
        return "no exception";
    };

    // [guide:errors]
    std::string Message;
    try {
        (void)Low->Intersection(*Low, foSum);  // the unbounded sum has no intersection
    } catch (const EFzyException& Error) {
        Message = Error.what();  // Invalid fuzzy operation: "foSum:
    }
    // [/guide:errors]
    EXPECT_EQ(Message, "Invalid fuzzy operation: \"foSum:");
    EXPECT_EQ(MessageOf([&] { Low->SetName("very"); }),
              "Invalid fuzzy set name, \"very\" is a reserved word");
    EXPECT_EQ(MessageOf([&] { (void)Variable->GetItems().GetItemByName("tepid"); }),
              "Unknown Fuzzy Set name: \"tepid\"");
    EXPECT_EQ(MessageOf([&] { (void)Logic->GetItems().GetItemByName("pressure"); }),
              "Unknown Fuzzy Variable name: \"pressure\"");
    EXPECT_EQ(MessageOf([&] { Low->CreateCurveValues(7, 5, 1, 3, true); }),
              "Invalid range arguments.  Left (5.0000) is greater than right (1.0000)");
    TFuzzySet* Empty = Variable->GetItems().Add("empty");
    EXPECT_EQ(MessageOf([&] { Empty->Normalize(); }),
              "Invalid operation: \"Get Maximum Y Value\".  Fuzzy set is empty");
    EXPECT_EQ(MessageOf([&] { (void)Empty->Cutoff(0.5, true); }),
              "Invalid operation: \"Cutoff\".  Fuzzy set is empty");
    EXPECT_EQ(MessageOf([&] { (void)Low->GetXRange(2); }), "Invalid index argument to GetXRange.  Index = 2");
    EXPECT_EQ(MessageOf([&] { Low->Hedge(bfhDivide, 0, true); }), "Argument out of range");
    EXPECT_EQ(MessageOf([&] { Variable->SetItemIndex(5); }), "List index out of bounds (5)");
    EXPECT_EQ(MessageOf([&] { Logic->Parse(); }), "Parser not assigned.  Cannot parse");
    EXPECT_EQ(MessageOf([&] { (void)Variable->GetItems().GetItem(7); }), "List index out of bounds (7)");
    EXPECT_EQ(MessageOf([&] { Low->SetCollection(&Low->GetValues()); }),
              "Cannot assign a TFuzzySet to a TFuzzySetValues");
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
