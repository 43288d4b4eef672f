#pragma once
// Helpers shared by the tests of the reference-counted model.

#include <string>
#include <vector>

#include <fzl/fzl.h>

#include "FuzzyLogic/TestModel.h"

namespace fzl::test {

/// "x,y x,y ... " of a set reached through its interface.
inline std::string TextOf(const TIntfPtr<IFuzzySet>& Set) {
    std::string Result;
    for (int Index = 0; Index < Set->GetCount(); ++Index)
        Result += Number(Set->GetXValues(Index)) + "," + Number(Set->GetYValues(Index)) + " ";
    return Result;
}

/// The implementation behind Set (a TIFuzzySet).
inline TIFuzzySet& Impl(const TIntfPtr<IFuzzySet>& Set) { return *DownCast<TIFuzzySet>(Set.Get()); }

/// A variable over [Min, Max].
inline TIntfPtr<TIFuzzyVariable> MakeVariable(const std::string& Name, double Min, double Max) {
    TIntfPtr<TIFuzzyVariable> Variable = MakeIntf<TIFuzzyVariable>(Name);
    Variable->SetMaximum(Max);
    Variable->SetMinimum(Min);
    return Variable;
}

/// A defined set of Variable with the triangle (Left, Middle, Right).
inline TIntfPtr<IFuzzySet> AddTriangle(const TIntfPtr<TIFuzzyVariable>& Variable, const std::string& Name,
                                       double Left, double Middle, double Right) {
    TIntfPtr<IFuzzySet> Set = Variable->Add(Name);
    Set->CreateTriangleFunctionValues(Left, Middle, Right);
    return Set;
}

/// The names held by Variable in table order, blank-separated.
inline std::string NamesOf(const IFuzzyVariable& Variable) {
    std::string Names;
    for (int Index = 0; Index < Variable.GetCount(); ++Index)
        Names += Variable.GetFuzzySet(Index)->GetName() + " ";
    return Names;
}

/// A parser stand-in: prints a set as "<name>" and a variable as "[name]".
template <class TBase>
class TPrinterParser : public TBase {
public:
    using TBase::TBase;
    TFzyFloat EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& /*Variable*/,
                                  const std::string& /*Expression*/,
                                  TIntfPtr<IFuzzySet>& /*Result*/) override {
        return 0;
    }
    TIntfPtr<IFuzzySet> EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& /*Variable*/,
                                            const std::string& /*Expression*/) override {
        return nullptr;
    }
    TIntfPtr<IFuzzySet> ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& /*Variable*/,
                                      const std::string& /*Text*/) override {
        return nullptr;
    }
    TIntfPtr<IFuzzyVariable> ParseFuzzyVariableIntf(const std::string& /*Text*/) override { return nullptr; }
    std::string PrettyPrint(const TIntfPtr<IFuzzySet>& FuzzySet, bool /*AsDefinition*/) override {
        return "<" + FuzzySet->GetName() + ">";
    }
    std::string PrettyPrint(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) override {
        return "[" + FuzzyVariable->GetName() + "]";
    }
};

/// A parser component: references to it do not keep it alive; its owner frees it.
class TComponentParser : public TPrinterParser<TUncountedInterfaced<TComponent, IFuzzyParser>> {
public:
    TComponentParser() : TPrinterParser(nullptr) {}
    void Destroy() { TComponent::Free(); }
};

/// A parser that lives by its references.
class TCountedParser : public TPrinterParser<TInterfaced<TObject, IFuzzyParser>> {};

}  // namespace fzl::test
