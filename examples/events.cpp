// Listening to a component's events: every edit of a variable or a set travels up
// to the logic component, which reports it through seven events. This program
// prints each event as it arrives, for a few typical edits.
//
// Things to try: turn the automatic terms back on (SetAutoTerms(true)) and watch
// three more sets arrive with every variable; or leave some events unassigned.

#include <cstdio>

#include <fzl/fzl.h>

using namespace fzl;

namespace {

void Step(const char* What) { std::printf("\n== %s\n", What); }

const char* Plural(int Count) { return Count == 1 ? "" : "s"; }

// [guide:handler]
// Event handlers are std::function members of the component; any callable will do.
TFuzzySetEvent PrintSet(const char* Event) {
    return [Event](TObject* /*Sender: the component*/, TFuzzySet* Set) {
        const int Points = Set->GetValues().Count();
        std::printf("%-18s set \"%s\", %d point%s\n", Event, Set->GetName().c_str(), Points, Plural(Points));
    };
}
// [/guide:handler]

TFuzzyVariableEvent PrintVariable(const char* Event) {
    return [Event](TObject* /*Sender*/, TFuzzyVariable* Variable) {
        const int Sets = Variable->GetItems().Count();
        std::printf("%-18s variable \"%s\", %d set%s\n", Event, Variable->GetName().c_str(), Sets,
                    Plural(Sets));
    };
}

}  // namespace

int main() {
    auto Logic = Make<TFuzzyLogic>(nullptr);
    Logic->SetAutoTerms(false);

    // [guide:listen]
    Logic->OnVariableAdded = PrintVariable("OnVariableAdded");
    Logic->OnVariableChange = PrintVariable("OnVariableChange");
    Logic->OnVariableDeleted = PrintVariable("OnVariableDeleted");
    Logic->OnFuzzySetAdded = PrintSet("OnFuzzySetAdded");
    Logic->OnFuzzySetChange = PrintSet("OnFuzzySetChange");
    Logic->OnFuzzySetDeleted = PrintSet("OnFuzzySetDeleted");
    Logic->OnChange = [](TObject*) { std::printf("OnChange           (the variables as a whole)\n"); };
    // [/guide:listen]

    // Add(Name) adds first and names afterwards: the added event sees no name yet.
    Step("add the variable \"speed\"");
    TFuzzyVariable* Speed = Logic->GetItems().Add("speed");
    Step("set its range to [0, 100]");
    Speed->SetMaximum(100);

    Step("add the set \"fast\"");
    TFuzzySet* Fast = Speed->GetItems().Add("fast");
    Step("shape it as a triangle (one report for all three points)");
    Fast->CreateTriangleFunctionValues(50, 100, 100);
    Step("move one point");
    Fast->GetValues().GetItem(1)->SetY(0.9);

    // A derived set joins the variable while its handle lives.
    Step("a union, freed with its handle at the end of the statement");
    std::printf("(the union is named \"%s\")\n", Fast->Union(*Fast)->GetName().c_str());

    Step("change the threshold (reports nothing)");
    Logic->SetThreshold(0.2);

    // A variable that goes reports its sets first, each still whole, then itself.
    Step("free the variable");
    Speed->Free();

    Step("free the component (reports nothing)");
    Logic.reset();
    return 0;
}
