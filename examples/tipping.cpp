// A tipping controller: the tip (in % of the bill) from the quality of the service
// and of the food, both rated 0 to 10. It shows hedges ("very", "somewhat") that
// make new terms from existing ones, and a union under a non-Zadeh operation.
//
// Things to try: change the hedges (fhExtremely, fhMoreOrLess), the operation of
// the union (foZadeh, foBoundedSum), or the correlation method (fcmMinimum).

#include <algorithm>
#include <cstdio>

#include <fzl/fzl.h>

using namespace fzl;

int main() {
    auto Logic = Make<TFuzzyLogic>(nullptr);  // owns every variable and set below
    Logic->SetAutoTerms(false);               // no automatic low/medium/high terms
    Logic->SetCorrelationMethod(fcmProduct);  // a rule scales its consequent by its strength

    TFuzzyVariable* Service = Logic->GetItems().Add("service");
    Service->SetMaximum(10);
    TFuzzySet* Poor = Service->GetItems().Add("poor");
    Poor->CreateTriangleFunctionValues(0, 0, 5);
    TFuzzySet* Good = Service->GetItems().Add("good");
    Good->CreateTriangleFunctionValues(0, 5, 10);
    TFuzzySet* Excellent = Service->GetItems().Add("excellent");
    Excellent->CreateTriangleFunctionValues(5, 10, 10);

    TFuzzyVariable* Food = Logic->GetItems().Add("food");
    Food->SetMaximum(10);
    TFuzzySet* Rancid = Food->GetItems().Add("rancid");
    Rancid->CreateTriangleFunctionValues(0, 0, 6);
    TFuzzySet* Delicious = Food->GetItems().Add("delicious");
    Delicious->CreateTriangleFunctionValues(4, 10, 10);

    TFuzzyVariable* Tip = Logic->GetItems().Add("tip");
    Tip->SetMaximum(30);
    TFuzzySet* Cheap = Tip->GetItems().Add("cheap");
    Cheap->CreateTriangleFunctionValues(0, 5, 10);
    TFuzzySet* Average = Tip->GetItems().Add("average");
    Average->CreateTriangleFunctionValues(10, 15, 20);
    TFuzzySet* Generous = Tip->GetItems().Add("generous");
    Generous->CreateTriangleFunctionValues(20, 25, 30);

    // Hedges change a set in place, so apply them to a copy. Clone creates the copy in
    // the same variable and hands it over owned; release() leaves it to the variable,
    // where it stays as a term of its own ("somewhat poor", "very excellent").
    TFuzzySet* SomewhatPoor = Poor->Clone().release()->Hedge(fhSomewhat);    // degree d becomes d^(1/3)
    TFuzzySet* VeryExcellent = Excellent->Clone().release()->Hedge(fhVery);  // d becomes d^2

    // A union under the probabilistic sum (a + b - a*b) instead of the maximum: service
    // that is good or excellent, where the two reinforce each other.
    TFuzzySet* Decent = Good->Union(*Excellent, foProduct).release();

    std::printf("terms of service:");
    for (const TFuzzySet* Term : Service->GetItems()) std::printf(" [%s]", Term->GetName().c_str());
    std::printf("\n");
    // The Zadeh union (maximum) for comparison. Its handle is a temporary here, so the set
    // leaves the variable again at the end of the statement.
    std::printf("at service 7.5: [good or excellent] %.2f, [%s] %.2f\n\n",
                Good->Union(*Excellent)->DegreeOfMembership(7.5), Decent->GetName().c_str(),
                Decent->DegreeOfMembership(7.5));
    std::printf(" service  food   tip\n");

    for (const double ServiceRating : {1.0, 4.0, 7.5, 9.5}) {
        for (const double FoodRating : {2.0, 8.0}) {
            const double IsPoor = SomewhatPoor->DegreeOfMembership(ServiceRating);
            const double IsDecent = Decent->DegreeOfMembership(ServiceRating);
            const double IsVeryExcellent = VeryExcellent->DegreeOfMembership(ServiceRating);
            const double IsRancid = Rancid->DegreeOfMembership(FoodRating);
            const double IsDelicious = Delicious->DegreeOfMembership(FoodRating);

            // Each rule that fires is united into the conclusion; one whose strength is below the
            // threshold (0.01 by default) fires nothing.
            TOwned<TFuzzySet> Conclusion;
            // if service is somewhat poor or food is rancid then tip is cheap
            Tip->AssertRule(std::max(IsPoor, IsRancid), *Cheap, Conclusion);
            // if service is good or-product excellent then tip is average
            Tip->AssertRule(IsDecent, *Average, Conclusion);
            // if service is very excellent and food is delicious then tip is generous
            Tip->AssertRule(std::min(IsVeryExcellent, IsDelicious), *Generous, Conclusion);

            std::printf("%8.1f %5.1f %6.2f %%\n", ServiceRating, FoodRating,
                        Conclusion ? Conclusion->Defuzzify() : 0.0);
        }
    }
    return 0;
}
