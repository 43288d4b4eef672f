// libFuzzer target: arbitrary bytes evaluated as a fuzzy expression over a small fixed
// model (a variable x over [0, 10] with cold, warm and hot, and stored texts for ?name
// operands, some of them circular), in both models, as a set and as a crisp value. Every
// input either evaluates or raises EFzyParseException with a line above 0 or EFzyException;
// any other exception escapes and is a finding. An evaluation never leaves a set behind:
// once its result is dropped, the variable has the sets it had before (the "__Empty" set
// aside, which an empty operand may add once).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include <fzl/fzl.h>

#include "FuzzCheck.h"

namespace {

using namespace fzl;

const char* const ModelText =
    "(deffuzzy x (range 0 10) (values (term cold ((0 1) (5 0))) (term warm (tri 2 5 8))\n"
    "  (term hot ((5 0) (10 1))) (term notso \"a comment\" very warm)))";
const char* const StoredTexts =
    "a=hot or cold\nb=?a and warm\nself=?self\nm1=very ?m2\nm2=?m1\nbad=warm or\n";

template <class TLogic>
struct TModel {
    TOwned<TLogic> Logic = Make<TLogic>(nullptr);
    TOwned<TVXFuzzyLogicParser> Parser = Make<TVXFuzzyLogicParser>(nullptr);
    TModel() {
        Logic->SetAutoTerms(false);
        Parser->SetFuzzyLogic(Logic.get());
        Logic->SetParser(Parser.get());
        Parser->ParseFuzzyLogic(ModelText);
        Logic->GetVariables().SetText(StoredTexts);
    }
};

/// Runs Call; a text or model error is an outcome, anything else escapes.
template <class F>
void Outcome(F Call) {
    try {
        Call();
    } catch (const EFzyParseException& Error) {
        FZL_FUZZ_CHECK(Error.LineNumber() >= 1);
    } catch (const EFzyException&) {
    }
}

/// The set count, "__Empty" not counted.
int SetCount(TFuzzyVariable& X) {
    const int Count = X.GetItems().Count();
    return X.GetItems().Find(std::string(SEmptyFuzzy)) ? Count - 1 : Count;
}
int SetCount(const TIntfPtr<IFuzzyVariable>& X) {
    const int Count = X->GetCount();
    return X->ContainsFuzzySet(std::string(SEmptyFuzzy)) ? Count - 1 : Count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TModel<TFuzzyLogic> Class;
    static TModel<TIFuzzyLogic> Intf;
    const std::string Expression(reinterpret_cast<const char*>(Data), Size);

    TFuzzyVariable* X = Class.Logic->GetItems().GetItemByName("x");
    const int ClassSets = SetCount(*X);
    Outcome([&] {
        const TFuzzyExpressionResult Result = Class.Parser->Evaluate(X, Expression);
        FZL_FUZZ_CHECK(Result.get() != nullptr);
    });
    Outcome([&] { FZL_FUZZ_CHECK(!std::isnan(Class.Parser->EvaluateCrisp(X, Expression))); });
    FZL_FUZZ_CHECK(SetCount(*X) == ClassSets);

    const TIntfPtr<IFuzzyVariable> XI = Intf.Logic->GetItems().ContainsVariable("x");
    const int IntfSets = SetCount(XI);
    Outcome([&] { FZL_FUZZ_CHECK(Intf.Parser->EvalFuzzyExpression(XI, Expression)); });
    FZL_FUZZ_CHECK(SetCount(XI) == IntfSets);
    return 0;
}
