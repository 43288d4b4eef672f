#pragma once
// The benchmark controllers: inputs with evenly spaced triangular terms over
// [0, 100] (the outer vertex of the end terms outside the range), an output with
// the same terms, and rules over the full grid whose consequent index is the
// clamped sum of the premise indices less the centre offset.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <fzl/fzl.h>

namespace fzl::bench {

/// Fixed pseudo-random inputs in [0, 100).
class TInputSequence {
public:
    TInputSequence(int Inputs, std::size_t Length) {
        std::uint64_t State = 0x9E3779B97F4A7C15ULL;
        FValues.resize(Length * static_cast<std::size_t>(Inputs));
        for (double& Value : FValues) {
            State ^= State << 13;
            State ^= State >> 7;
            State ^= State << 17;
            Value = 100.0 * static_cast<double>(State >> 11) * (1.0 / 9007199254740992.0);
        }
        FInputs = Inputs;
    }
    /// The inputs of tuple Index (cycling).
    [[nodiscard]] const double* Tuple(std::size_t Index) const {
        const std::size_t Tuples = FValues.size() / static_cast<std::size_t>(FInputs);
        return &FValues[(Index % Tuples) * static_cast<std::size_t>(FInputs)];
    }

private:
    std::vector<double> FValues;
    int FInputs = 1;
};

/// A Mamdani controller built with the class model.
class TMamdaniModel {
public:
    TMamdaniModel(int Inputs, int Terms) : FInputs(Inputs), FTerms(Terms) {
        FLogic->SetAutoTerms(false);
        FLogic->SetCorrelationMethod(fcmProduct);
        FLogic->SetInferenceMethod(fimMinMax);
        FLogic->SetDefuzzificationMethod(dmCenterOfGravity);
        for (int I = 0; I < Inputs; ++I) FInputVariables.push_back(AddVariable(NumberedName("in", I)));
        FOutput = AddVariable("out");
        FLogic->SetThreshold(1e-9);  // only rules with a positive strength fire
        FFacts.resize(static_cast<std::size_t>(Inputs));
        FPremises.resize(static_cast<std::size_t>(Inputs));
        for (int I = 0; I < Inputs; ++I)
            FFacts[static_cast<std::size_t>(I)] =
                FInputVariables[static_cast<std::size_t>(I)]->GetItems().Add("fact");
    }

    /// Fires every rule on crisp inputs (strength: minimum of the premises' degrees) and defuzzifies.
    double Cycle(const double* X) {
        std::vector<int>& Index = ResetIndex();
        TOwned<TFuzzySet> Conclusion;  // each rule that fires replaces it by the combined set
        for (;;) {
            double Strength = 1.0;
            for (int I = 0; I < FInputs; ++I)
                Strength =
                    std::min(Strength, Term(I, Index[static_cast<std::size_t>(I)])->DegreeOfMembership(X[I]));
            FOutput->AssertRule(Strength, *Consequent(Index), Conclusion);
            if (!Next(Index)) break;
        }
        return Conclusion ? Conclusion->Defuzzify() : 0.0;
    }

    /// The same with each input given as a crisp fact set and the strength from the sweep.
    double CycleWithFacts(const double* X) {
        for (int I = 0; I < FInputs; ++I) FFacts[static_cast<std::size_t>(I)]->CreateCrispValue(X[I]);
        std::vector<int>& Index = ResetIndex();
        std::vector<TFuzzySet*>& Premises = FPremises;
        TOwned<TFuzzySet> Conclusion;
        for (;;) {
            for (int I = 0; I < FInputs; ++I)
                Premises[static_cast<std::size_t>(I)] = Term(I, Index[static_cast<std::size_t>(I)]);
            FOutput->AssertRule(Premises, FFacts, *Consequent(Index), Conclusion);
            if (!Next(Index)) break;
        }
        return Conclusion ? Conclusion->Defuzzify() : 0.0;
    }

    [[nodiscard]] TFuzzyVariable& Output() const { return *FOutput; }
    [[nodiscard]] TFuzzyLogic& Logic() const { return *FLogic; }
    /// Term Index of input variable Input.
    [[nodiscard]] TFuzzySet* Term(int Input, int Index) const {
        return FInputVariables[static_cast<std::size_t>(Input)]->GetItems().GetItem(Index);
    }

private:
    static std::string NumberedName(const char* Prefix, int Number) {
        std::string Name(Prefix);
        Name += std::to_string(Number);
        return Name;
    }

    TFuzzyVariable* AddVariable(const std::string& Name) {
        TFuzzyVariable* Variable = FLogic->GetItems().Add(Name);
        Variable->SetMaximum(100);
        const double Step = 100.0 / (FTerms - 1);
        for (int T = 0; T < FTerms; ++T) {
            TFuzzySet* Term = Variable->GetItems().Add(NumberedName("t", T));
            Term->CreateTriangleFunctionValues(T * Step - Step, T * Step, T * Step + Step);
        }
        return Variable;
    }

    [[nodiscard]] TFuzzySet* Consequent(const std::vector<int>& Index) const {
        int Sum = 0;
        for (int Value : Index) Sum += Value;
        const int Offset = (FInputs - 1) * (FTerms - 1) / 2;
        return FOutput->GetItems().GetItem(std::clamp(Sum - Offset, 0, FTerms - 1));
    }

    // Reused from cycle to cycle, so the harness allocates nothing per operation.
    std::vector<int>& ResetIndex() {
        FIndex.assign(static_cast<std::size_t>(FInputs), 0);
        return FIndex;
    }

    bool Next(std::vector<int>& Index) const {
        for (int& Digit : Index) {
            if (++Digit < FTerms) return true;
            Digit = 0;
        }
        return false;
    }

    int FInputs;
    int FTerms;
    TOwned<TFuzzyLogic> FLogic = Make<TFuzzyLogic>(nullptr);
    std::vector<TFuzzyVariable*> FInputVariables;
    TFuzzyVariable* FOutput = nullptr;
    std::vector<TFuzzySet*> FFacts;
    std::vector<int> FIndex;
    std::vector<TFuzzySet*> FPremises;
};

/// Cycle of TMamdaniModel built with the reference-counted model: the same variables,
/// terms and rules, reached through IFuzzyVariable and IFuzzySet. Rules fire by hand (a
/// scaled copy of the consequent united with the running conclusion), since the variable's
/// AssertRule always clips and this controller scales.
class TMamdaniModelIntf {
public:
    TMamdaniModelIntf(int Inputs, int Terms) : FInputs(Inputs), FTerms(Terms) {
        FLogic->SetAutoTerms(false);
        for (int I = 0; I < Inputs; ++I) FInputVariables.push_back(AddVariable("in" + std::to_string(I)));
        FOutput = AddVariable("out");
    }

    double Cycle(const double* X) {
        FIndex.assign(static_cast<std::size_t>(FInputs), 0);
        TIntfPtr<IFuzzySet> Conclusion;
        for (;;) {
            double Strength = 1.0;
            for (int I = 0; I < FInputs; ++I)
                Strength = std::min(Strength,
                                    Term(I, FIndex[static_cast<std::size_t>(I)])->DegreeOfMembership(X[I]));
            if (Strength >= 1e-9) {  // only rules with a positive strength fire
                const TIntfPtr<IFuzzySet> Scaled = CloneOf(Consequent())->Correlate(Strength, fcmProduct);
                Conclusion = Conclusion ? Conclusion->Infer(Scaled, fimMinMax, false) : Scaled;
            }
            if (!Next()) break;
        }
        return Conclusion ? Conclusion->Defuzzify() : 0.0;
    }

    [[nodiscard]] const IFuzzyVariable& Output() const { return *FOutput; }

private:
    TIntfPtr<IFuzzyVariable> AddVariable(const std::string& Name) {
        const TIntfPtr<IFuzzyVariable> Variable = MakeIntf<TIFuzzyVariable>(Name);
        Variable->SetMaximum(100);
        const double Step = 100.0 / (FTerms - 1);
        std::vector<TIntfPtr<IFuzzySet>>& Terms = FTermSets.emplace_back();
        for (int T = 0; T < FTerms; ++T) {
            Terms.push_back(Variable->Add(std::string("t").append(std::to_string(T))));
            Terms.back()->CreateTriangleFunctionValues(T * Step - Step, T * Step, T * Step + Step);
        }
        FLogic->GetItems().Add(Variable);
        return Variable;
    }

    // The terms by index, kept beside the tables (whose order is the hash order).
    [[nodiscard]] const TIntfPtr<IFuzzySet>& Term(int Input, int Index) const {
        return FTermSets[static_cast<std::size_t>(Input)][static_cast<std::size_t>(Index)];
    }
    [[nodiscard]] const TIntfPtr<IFuzzySet>& Consequent() const {
        int Sum = 0;
        for (int Value : FIndex) Sum += Value;
        const int Offset = (FInputs - 1) * (FTerms - 1) / 2;
        return FTermSets.back()[static_cast<std::size_t>(std::clamp(Sum - Offset, 0, FTerms - 1))];
    }
    bool Next() {
        for (int& Digit : FIndex) {
            if (++Digit < FTerms) return true;
            Digit = 0;
        }
        return false;
    }

    int FInputs;
    int FTerms;
    TOwned<TIFuzzyLogic> FLogic = Make<TIFuzzyLogic>(nullptr);
    std::vector<TIntfPtr<IFuzzyVariable>> FInputVariables;
    TIntfPtr<IFuzzyVariable> FOutput;
    std::vector<std::vector<TIntfPtr<IFuzzySet>>> FTermSets;  // inputs, then the output
    std::vector<int> FIndex;
};

}  // namespace fzl::bench
