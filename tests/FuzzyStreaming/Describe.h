#pragma once
// What a stream must restore, read through the getters, numbers exactly: two models agree
// when their descriptions do.

#include <gtest/gtest.h>

#include <string>

#include <fzl/fzl.h>

namespace fzl::test {

/// The component's settings, and (WithText) its definition text unless it is stale. (The
/// reference-counted model is compared by its saved text or as its own round-trip test does.)
inline std::string Settings(TCustomFuzzyLogic& Logic, bool WithText) {
    return Logic.ClassName() + "|" + Logic.GetName() + "|" + IntToStr(Logic.GetTag()) + "|" +
           IntToStr(Logic.GetAutoTerms()) + IntToStr(Logic.GetCorrelationMethod()) +
           IntToStr(Logic.GetInferenceMethod()) + IntToStr(Logic.GetDefuzzificationMethod()) + "|" +
           IntToStr(Logic.GetNumFunctionValues()) + "|" + FloatToStr(Logic.GetThreshold()) + "|" +
           Logic.GetVariables().GetText() + "|" +
           (!WithText                ? std::string()
            : Logic.GetNeedsUpdate() ? "stale"
                                     : Logic.GetStrings().GetText()) +
           "\n";
}

inline std::string Describe(TFuzzyLogic& Logic) {
    std::string D = Settings(Logic, true);
    for (const TFuzzyVariable* V : Logic.GetItems()) {
        D += V->ClassName() + "|" + V->GetName() + "|" + V->GetUnits() + "|" + V->GetComment() + "|" +
             FloatToStr(V->GetMinimum()) + "|" + FloatToStr(V->GetMaximum()) + "|" +
             FloatToStr(V->GetThreshold()) + "|" + IntToStr(V->GetItemIndex()) + "\n";
        for (const TFuzzySet* S : V->GetItems()) {
            D += "  " + S->ClassName() + "|" + S->GetName() + "|" + S->GetComment() + "|" +
                 IntToStr(S->GetDefined()) + IntToStr(S->GetSetType()) + "|" + IntToStr(S->GetTag()) + "|" +
                 S->GetExpression() + "|";
            for (const TFuzzySetValue* P : S->GetValues())
                D += FloatToStr(P->GetX()) + "," + FloatToStr(P->GetY()) + " ";
            D += "\n";
        }
    }
    return D;
}

/// The reference-counted model, variables and sets in table order; its text is compared by
/// saving it again. An automatic term marks itself with its own name as expression, which
/// the text cannot say (it reads back as its points), so that mark is left out.
inline std::string Describe(TIFuzzyLogic& Logic) {
    std::string D = Settings(Logic, false);
    const TFuzzyVariableTable& Table = Logic.GetItems();
    for (int I = 0; I < Table.Count(); ++I) {
        const TIntfPtr<IFuzzyVariable> V = Table.GetItemByIndex(I);
        D += V->GetName() + "|" + V->GetUnits() + "|" + V->GetComment() + "|" + FloatToStr(V->GetMinimum()) +
             "|" + FloatToStr(V->GetMaximum()) + "|" + FloatToStr(V->GetThreshold()) + "\n";
        for (int J = 0; J < V->GetCount(); ++J) {
            const TIntfPtr<IFuzzySet> S = V->GetFuzzySet(J);
            D += "  " + S->GetName() + "|" + S->GetComment() + "|" + IntToStr(S->GetDefined()) +
                 IntToStr(S->GetSetType()) + "|" +
                 (S->GetExpression() == S->GetName() ? "" : S->GetExpression()) + "|";
            for (int P = 0; P < S->GetCount(); ++P)
                D += FloatToStr(S->GetXValues(P)) + "," + FloatToStr(S->GetYValues(P)) + " ";
            D += "\n";
        }
    }
    return D;
}

/// Saves Logic, loads the text into Loaded and checks both agree, to the byte when saved again.
template <class TLogic>
void ExpectRoundTrip(TLogic& Logic, TLogic& Loaded, const std::string& Context = "") {
    const std::string Text = SaveComponent(Logic);
    LoadComponent(Text, Loaded);
    EXPECT_EQ(Describe(Loaded), Describe(Logic)) << Context << "\n" << Text;
    EXPECT_EQ(SaveComponent(Loaded), Text) << Context;
}

}  // namespace fzl::test
