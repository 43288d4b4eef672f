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

/// Saves Logic, loads the text into Loaded and checks both agree, to the byte when saved again.
template <class TLogic>
void ExpectRoundTrip(TLogic& Logic, TLogic& Loaded, const std::string& Context = "") {
    const std::string Text = SaveComponent(Logic);
    LoadComponent(Text, Loaded);
    EXPECT_EQ(Describe(Loaded), Describe(Logic)) << Context << "\n" << Text;
    EXPECT_EQ(SaveComponent(Loaded), Text) << Context;
}

}  // namespace fzl::test
