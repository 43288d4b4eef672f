// The printing operations of TVXFuzzyLogicParser, written by TFuzzyPrettyPrinter.

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>
#include <fzl/support/Format.h>

#include "internal/PrettyPrinter.h"

namespace fzl {

namespace {

std::string PointText(TFzyFloat X, TFzyFloat Y) {
    return "(" + FormatFixed(X, 4) + " " + FormatFixed(Y, 4) + ") ";
}

std::string SetText(const std::string& Name, const std::string& Expression, int Count,
                    TFunctionRef<std::string(int)> Point, bool AsDefinition) {
    const std::string Shown = Name == SEmptyFuzzy ? std::string() : Name;
    if (!AsDefinition) return Shown.empty() ? Expression : Shown;
    std::string Body = Expression;
    if (Body.empty()) {
        Body = "(";
        for (int Index = 0; Index < Count; ++Index) Body += Point(Index);
        Body += ")";
    }
    return "(term " + Shown + " " + Body + ")";
}

template <class TVariable>
std::string VariableText(const TVariable& Variable, TFunctionRef<void(std::string&)> Sets) {
    std::string Text = "(deffuzzy " + Variable.GetName() + " \r\n  (range " +
                       FormatFixed(Variable.GetMinimum(), 4) + " " + FormatFixed(Variable.GetMaximum(), 4) +
                       ")\r\n  (values \r\n";
    Sets(Text);
    return Text + "  )\r\n)";
}

}  // namespace

std::string TFuzzyPrettyPrinter::Print(const TFuzzySet& FuzzySet, bool AsDefinition) {
    const TFuzzySetValues& Points = FuzzySet.GetValues();
    return SetText(
        FuzzySet.GetName(), FuzzySet.GetExpression(), Points.Count(),
        [&Points](int Index) {
            return PointText(Points.GetItem(Index)->GetX(), Points.GetItem(Index)->GetY());
        },
        AsDefinition);
}

std::string TFuzzyPrettyPrinter::Print(const IFuzzySet& FuzzySet, bool AsDefinition) {
    return SetText(
        FuzzySet.GetName(), FuzzySet.GetExpression(), FuzzySet.GetCount(),
        [&FuzzySet](int Index) { return PointText(FuzzySet.GetXValues(Index), FuzzySet.GetYValues(Index)); },
        AsDefinition);
}

std::string TFuzzyPrettyPrinter::Print(const TFuzzyVariable& FuzzyVariable) {
    return VariableText(FuzzyVariable, [&FuzzyVariable](std::string& Text) {
        for (const TFuzzySet* Set : FuzzyVariable.GetItems())
            if (Set->GetDefined()) Text += "    " + Print(*Set, true) + "\r\n";
    });
}

std::string TFuzzyPrettyPrinter::Print(const IFuzzyVariable& FuzzyVariable) {
    return VariableText(FuzzyVariable, [&FuzzyVariable](std::string& Text) {
        for (int Index = 0; Index < FuzzyVariable.GetCount(); ++Index)
            Text += "    " + Print(*FuzzyVariable.GetFuzzySet(Index), true) + "\r\n";
    });
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) {
    return TFuzzyPrettyPrinter::Print(FuzzySet, AsDefinition);
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TFuzzyVariable& FuzzyVariable) {
    return TFuzzyPrettyPrinter::Print(FuzzyVariable);
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TIntfPtr<IFuzzySet>& FuzzySet, bool AsDefinition) {
    return FuzzySet ? TFuzzyPrettyPrinter::Print(*FuzzySet, AsDefinition) : std::string();
}

std::string TVXFuzzyLogicParser::PrettyPrint(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) {
    return FuzzyVariable ? TFuzzyPrettyPrinter::Print(*FuzzyVariable) : std::string();
}

}  // namespace fzl
