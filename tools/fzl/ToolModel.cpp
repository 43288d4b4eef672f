#include "ToolModel.h"

#include <algorithm>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyStreaming/ComponentStreaming.h>
#include <fzl/IFuzzyLogic/FuzzyLogicIntf.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>

namespace fzl::tool {
namespace {

constexpr std::string_view EmptySetName = "__Empty";

void Configure(TCustomFuzzyLogic& Logic, const TModelSettings& Settings) {
    Logic.SetAutoTerms(Settings.AutoTerms);
    Logic.SetNumFunctionValues(Settings.NumFunctionValues);
    for (const std::string& Entry : Settings.Variables) Logic.GetVariables().Add(Entry);
    Logic.SetCorrelationMethod(Settings.Correlation);
    Logic.SetInferenceMethod(Settings.Inference);
    Logic.SetDefuzzificationMethod(Settings.Defuzzification);
    Logic.SetThreshold(Settings.Threshold);
}

/// Puts the settings the command line gave over those a stream loaded.
void Override(TCustomFuzzyLogic& Logic, const TModelSettings& Settings) {
    using S = TModelSettings;
    if (Settings.Given & S::GivenAutoTerms) Logic.SetAutoTerms(Settings.AutoTerms);
    if (Settings.Given & S::GivenNumFunctionValues) Logic.SetNumFunctionValues(Settings.NumFunctionValues);
    for (const std::string& Entry : Settings.Variables) {
        const std::size_t Equals = Entry.find('=');
        Logic.GetVariables().SetValue(Entry.substr(0, Equals), Entry.substr(Equals + 1));
    }
    if (Settings.Given & S::GivenCorrelation) Logic.SetCorrelationMethod(Settings.Correlation);
    if (Settings.Given & S::GivenInference) Logic.SetInferenceMethod(Settings.Inference);
    if (Settings.Given & S::GivenDefuzzification) Logic.SetDefuzzificationMethod(Settings.Defuzzification);
    if (Settings.Given & S::GivenThreshold) Logic.SetThreshold(Settings.Threshold);
}

std::string ShortForm(const std::string& Name, const std::string& Expression) {
    return Name.empty() || Name == EmptySetName ? Expression : Name;
}

[[noreturn]] void UnknownVariable(const std::string& Name) {
    throw EFzyException(SUnknownFuzzyVarName, {Name});
}
[[noreturn]] void UnknownSet(const std::string& Name) { throw EFzyException(SUnknownFuzzySetName, {Name}); }

/// Both components with their parser: the parser goes first, unlinking itself.
template <class TLogic>
class TLinkedComponent {
public:
    explicit TLinkedComponent(const TModelSettings& Settings) : FSettings(Settings) {
        Configure(*FLogic, Settings);
        FParser->SetFuzzyLogic(FLogic.get());
        FLogic->SetParser(FParser.get());
    }
    [[nodiscard]] TLogic& Logic() const { return *FLogic; }
    [[nodiscard]] TVXFuzzyLogicParser& Parser() const { return *FParser; }

    /// Parses a definition text or loads a stream; true for a stream.
    bool Load(const std::string& Text) const {
        if (!StreamModelKind(Text)) {
            FParser->Parse(Text);
            return false;
        }
        LoadComponent(Text, *FLogic);
        Override(*FLogic, FSettings);
        return true;
    }

private:
    TModelSettings FSettings;
    TOwned<TLogic> FLogic = Make<TLogic>(nullptr);
    TOwned<TVXFuzzyLogicParser> FParser = Make<TVXFuzzyLogicParser>(nullptr);
};

// ---- Class model ---------------------------------------------------------------------------------

TSetView ViewOf(const TFuzzySet& Set) {
    TSetView View{Set.GetName(), Set.GetExpression(), {}};
    for (int Index = 0; Index < Set.GetValues().Count(); ++Index) {
        const TFuzzySetValue& Point = *Set.GetValues().GetItem(Index);
        View.Points.emplace_back(Point.GetX(), Point.GetY());
    }
    return View;
}

class TClassToolModel final : public TToolModel {
public:
    explicit TClassToolModel(const TModelSettings& Settings) : FModel(Settings) {}

    void Load(const std::string& Text) override {
        FModel.Load(Text);
        FNames.clear();
        for (const TFuzzyVariable* Variable : FModel.Logic().GetItems())
            FNames.push_back(Variable->GetName());
    }
    [[nodiscard]] std::string Save() override { return SaveComponent(FModel.Logic()); }
    [[nodiscard]] const std::vector<std::string>& VariableNames() const override { return FNames; }
    [[nodiscard]] std::string Print(const std::string& Variable) const override {
        return FModel.Parser().PrettyPrint(Find(Variable));
    }
    [[nodiscard]] TVariableView Describe(const std::string& Name) const override {
        const TFuzzyVariable& Variable = Find(Name);
        TVariableView View{Variable.GetName(),    Variable.GetComment(), Variable.GetUnits(),
                           Variable.GetMinimum(), Variable.GetMaximum(), {}};
        for (const TFuzzySet* Set : Variable.GetItems())
            if (Set->GetDefined()) View.Sets.push_back(ViewOf(*Set));
        return View;
    }
    [[nodiscard]] TEvalView Eval(const std::string& Variable, const std::string& Expression) override {
        // The result stays in the variable (freed with the component).
        const TFuzzySet& Set = *FModel.Parser().EvalFuzzyExpression(&Find(Variable), Expression);
        return {ViewOf(Set), ShortForm(Set.GetName(), Set.GetExpression()), Set.CenterOfGravity(),
                Set.MeanOfMaxima(), Set.Defuzzify()};
    }
    [[nodiscard]] double Degree(const std::string& Variable, const std::string& Set,
                                double X) const override {
        const TFuzzySet* Found = Find(Variable).GetItems().Find(Set);
        if (Found == nullptr) UnknownSet(Set);
        return Found->DegreeOfMembership(X);
    }
    [[nodiscard]] TCustomFuzzyRuleBase& Rules() override { return *FRules; }
    [[nodiscard]] TSetView Conclusion(int Output) const override {
        const TFuzzySet* Set = FRules->GetConclusion(Output);
        return Set != nullptr ? ViewOf(*Set) : TSetView{};
    }

private:
    [[nodiscard]] TFuzzyVariable& Find(const std::string& Name) const {
        TFuzzyVariable* Variable = FModel.Logic().GetItems().Find(Name);
        if (Variable == nullptr) UnknownVariable(Name);
        return *Variable;
    }

    TLinkedComponent<TFuzzyLogic> FModel;
    TOwned<TFuzzyRuleBase> FRules = Make<TFuzzyRuleBase>(&FModel.Logic());
    std::vector<std::string> FNames;
};

// ---- Reference-counted model ---------------------------------------------------------------------

TSetView ViewOf(const IFuzzySet& Set) {
    TSetView View{Set.GetName(), Set.GetExpression(), {}};
    for (int Index = 0; Index < Set.GetCount(); ++Index)
        View.Points.emplace_back(Set.GetXValues(Index), Set.GetYValues(Index));
    return View;
}

class TRefToolModel final : public TToolModel {
public:
    explicit TRefToolModel(const TModelSettings& Settings) : FModel(Settings) {
        // The table keeps its own (hash) order; the text's order is the order of adding.
        FModel.Logic().OnVariableAdded = [this](const TIntfPtr<IFuzzyVariable>& Variable) {
            if (std::ranges::find(FNames, Variable->GetName()) == FNames.end())
                FNames.push_back(Variable->GetName());
        };
    }

    void Load(const std::string& Text) override {
        FNames.clear();
        // A load fires no event, so the names come from parsing the loaded text once more:
        // the component's text is its whole model, and it reads back to the same one.
        if (FModel.Load(Text)) FModel.Parser().Parse(FModel.Logic().GetStrings().GetText());
    }
    [[nodiscard]] std::string Save() override { return SaveComponent(FModel.Logic()); }
    [[nodiscard]] const std::vector<std::string>& VariableNames() const override { return FNames; }
    [[nodiscard]] std::string Print(const std::string& Variable) const override {
        return FModel.Parser().PrettyPrint(Find(Variable));
    }
    [[nodiscard]] TVariableView Describe(const std::string& Name) const override {
        const TIntfPtr<IFuzzyVariable> Variable = Find(Name);
        TVariableView View{Variable->GetName(),    Variable->GetComment(), Variable->GetUnits(),
                           Variable->GetMinimum(), Variable->GetMaximum(), {}};
        std::vector<TIntfPtr<IFuzzySet>> Sets;
        for (int Index = 0; Index < Variable->GetCount(); ++Index)
            if (TIntfPtr<IFuzzySet> Set = Variable->GetFuzzySet(Index); Set->GetDefined())
                Sets.push_back(Set);
        // Sets are numbered as they enter the table: the order of definition.
        std::ranges::sort(Sets, {}, [](const TIntfPtr<IFuzzySet>& Set) { return Set->GetIndex(); });
        for (const TIntfPtr<IFuzzySet>& Set : Sets) View.Sets.push_back(ViewOf(*Set));
        return View;
    }
    [[nodiscard]] TEvalView Eval(const std::string& Variable, const std::string& Expression) override {
        const TIntfPtr<IFuzzySet> Set = FModel.Parser().EvalFuzzyExpression(Find(Variable), Expression);
        const double Crisp = FModel.Logic().GetDefuzzificationMethod() == dmMeanOfMaxima
                                 ? Set->MeanOfMaxima()
                                 : Set->CenterOfGravity();
        return {ViewOf(*Set), ShortForm(Set->GetName(), Set->GetExpression()), Set->CenterOfGravity(),
                Set->MeanOfMaxima(), Crisp};
    }
    [[nodiscard]] double Degree(const std::string& Variable, const std::string& Set,
                                double X) const override {
        const TIntfPtr<IFuzzySet> Found = Find(Variable)->ContainsFuzzySet(Set);
        if (!Found) UnknownSet(Set);
        return Found->DegreeOfMembership(X);
    }
    [[nodiscard]] TCustomFuzzyRuleBase& Rules() override { return *FRules; }
    [[nodiscard]] TSetView Conclusion(int Output) const override {
        const TIntfPtr<IFuzzySet> Set = FRules->GetConclusion(Output);
        return Set ? ViewOf(*Set) : TSetView{};
    }

private:
    [[nodiscard]] TIntfPtr<IFuzzyVariable> Find(const std::string& Name) const {
        TIntfPtr<IFuzzyVariable> Variable = FModel.Logic().GetItems().ContainsVariable(Name);
        if (!Variable) UnknownVariable(Name);
        return Variable;
    }

    std::vector<std::string> FNames;
    TLinkedComponent<TIFuzzyLogic> FModel;
    TOwned<TIFuzzyRuleBase> FRules = Make<TIFuzzyRuleBase>(&FModel.Logic());
};

}  // namespace

std::optional<TModelKind> StreamModelKind(const std::string& Text) {
    const std::string ClassName = StreamClassName(Text);
    if (ClassName == "TIFuzzyLogic") return TModelKind::Ref;
    if (ClassName == "TFuzzyLogic") return TModelKind::Class;
    return std::nullopt;
}

std::unique_ptr<TToolModel> TToolModel::Create(TModelKind Kind, const TModelSettings& Settings) {
    if (Kind == TModelKind::Ref) return std::make_unique<TRefToolModel>(Settings);
    return std::make_unique<TClassToolModel>(Settings);
}

}  // namespace fzl::tool
