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

/// A parser stand-in: prints a set as "<name>" and a variable as "[name]", reads nothing.
template <class TBase>
class TPrinterParser : public TBase {
    using TVariable = TIntfPtr<IFuzzyVariable>;
    using TSet = TIntfPtr<IFuzzySet>;

public:
    using TBase::TBase;
    TFzyFloat EvalFuzzyExpression(const TVariable&, const std::string&, TSet&) override { return 0; }
    TSet EvalFuzzyExpression(const TVariable&, const std::string&) override { return nullptr; }
    TSet ParseFuzzySet(const TVariable&, const std::string&) override { return nullptr; }
    TVariable ParseFuzzyVariableIntf(const std::string&) override { return nullptr; }
    std::string PrettyPrint(const TSet& Set, bool) override { return "<" + Set->GetName() + ">"; }
    std::string PrettyPrint(const TVariable& Variable) override { return "[" + Variable->GetName() + "]"; }
};

/// A parser component: references to it do not keep it alive; its owner frees it.
class TComponentParser : public TPrinterParser<TUncountedInterfaced<TComponent, IFuzzyParser>> {
public:
    TComponentParser() : TPrinterParser(nullptr) {}
};

/// A parser that lives by its references.
class TCountedParser : public TPrinterParser<TInterfaced<TObject, IFuzzyParser>> {};

}  // namespace fzl::test
