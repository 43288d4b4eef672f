// libFuzzer target: arbitrary bytes evaluated as a fuzzy expression over a small fixed
// model (a variable x over [0, 10] with cold, warm and hot, and stored texts for ?name
// operands, some of them circular), in both models, as a set and as a crisp value. Every
// input either evaluates or raises EFzyParseException with a line above 0 or EFzyException;
// any other exception escapes and is a finding. An evaluation never leaves a set behind:
// once its result is dropped, the variable has the sets it had before (the "__Empty" set
// aside, which an empty operand may add once). The class model is evaluated twice, unwatched
// and with a handler on the component (which keeps every intermediate a set of its own): both
// must give the same set, ID included, the same crisp value and the same error.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

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
    explicit TModel(bool Watched = false) {
        if constexpr (std::is_same_v<TLogic, TFuzzyLogic>)
            if (Watched) Logic->OnFuzzySetChange = [](TObject*, TFuzzySet*) {};
        Logic->SetAutoTerms(false);
        Parser->SetFuzzyLogic(Logic.get());
        Logic->SetParser(Parser.get());
        Parser->ParseFuzzyLogic(ModelText);
        Logic->GetVariables().SetText(StoredTexts);
    }
};

/// Runs Call; a text or model error is an outcome (its message and line returned), anything
/// else escapes.
template <class F>
std::string Outcome(F Call) {
    try {
        Call();
    } catch (const EFzyParseException& Error) {
        FZL_FUZZ_CHECK(Error.LineNumber() >= 1);
        return std::string(Error.what()) + " @" + std::to_string(Error.LineNumber());
    } catch (const EFzyException& Error) {
        return Error.what();
    }
    return {};
}

/// Whether two results are the same set: ID, name, expression and every point's bits.
bool SameSet(const TFuzzySet& A, const TFuzzySet& B) {
    const TFuzzySetValues& P = A.GetValues();
    const TFuzzySetValues& Q = B.GetValues();
    if (A.GetID() != B.GetID() || A.GetName() != B.GetName() || A.GetExpression() != B.GetExpression() ||
        P.Count() != Q.Count())
        return false;
    for (int Index = 0; Index < P.Count(); ++Index) {
        const TFzyFloat Coordinates[] = {P.GetItem(Index)->GetX(), P.GetItem(Index)->GetY(),
                                         Q.GetItem(Index)->GetX(), Q.GetItem(Index)->GetY()};
        if (std::memcmp(&Coordinates[0], &Coordinates[2], 2 * sizeof(TFzyFloat)) != 0 ||
            P.GetItem(Index)->GetID() != Q.GetItem(Index)->GetID())
            return false;
    }
    return true;
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
    static TModel<TFuzzyLogic> Watched(true);
    static TModel<TIFuzzyLogic> Intf;
    const std::string Expression(reinterpret_cast<const char*>(Data), Size);

    TFuzzyVariable* X = Class.Logic->GetItems().GetItemByName("x");
    TFuzzyVariable* W = Watched.Logic->GetItems().GetItemByName("x");
    const int ClassSets = SetCount(*X);
    TFuzzyExpressionResult Result;
    TFuzzyExpressionResult WatchedResult;
    const std::string Error = Outcome([&] {
        Result = Class.Parser->Evaluate(X, Expression);
        FZL_FUZZ_CHECK(Result.get() != nullptr);
    });
    FZL_FUZZ_CHECK(Outcome([&] { WatchedResult = Watched.Parser->Evaluate(W, Expression); }) == Error);
    FZL_FUZZ_CHECK(!Result == !WatchedResult);
    if (Result) FZL_FUZZ_CHECK(SameSet(*Result, *WatchedResult));
    Result = {};
    WatchedResult = {};
    TFzyFloat Crisp = 0;
    TFzyFloat WatchedCrisp = 0;
    const std::string CrispError = Outcome([&] { Crisp = Class.Parser->EvaluateCrisp(X, Expression); });
    FZL_FUZZ_CHECK(Outcome([&] { WatchedCrisp = Watched.Parser->EvaluateCrisp(W, Expression); }) ==
                   CrispError);
    FZL_FUZZ_CHECK(!std::isnan(Crisp) && std::memcmp(&Crisp, &WatchedCrisp, sizeof Crisp) == 0);
    FZL_FUZZ_CHECK(SetCount(*X) == ClassSets && SetCount(*W) == ClassSets);

    const TIntfPtr<IFuzzyVariable> XI = Intf.Logic->GetItems().ContainsVariable("x");
    const int IntfSets = SetCount(XI);
    Outcome([&] { FZL_FUZZ_CHECK(Intf.Parser->EvalFuzzyExpression(XI, Expression)); });
    FZL_FUZZ_CHECK(SetCount(XI) == IntfSets);
    return 0;
}
