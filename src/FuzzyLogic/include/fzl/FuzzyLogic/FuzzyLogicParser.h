#pragma once
// The abstract parser component a logic component delegates its text work to.

#include <string>

#include <fzl/FuzzyLogic/FuzzyEvents.h>
#include <fzl/FuzzyLogic/FuzzySetSettings.h>
#include <fzl/support/Component.h>

namespace fzl {

class TCustomFuzzyLogic;
class TFuzzySet;
class TFuzzyVariable;

/// Parses definition text into a linked logic component and prints sets and
/// variables back as text. Concrete parsers implement the abstract operations. The
/// sets of a linked component print through it (their settings' printer).
class TCustomFuzzyLogicParser : public TComponent, public TFuzzySetPrinter {
public:
    explicit TCustomFuzzyLogicParser(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    [[nodiscard]] TCustomFuzzyLogic* GetFuzzyLogic() const noexcept { return FFuzzyLogic; }
    /// Links the component parsed into (not owned); dropped when that component is freed.
    void SetFuzzyLogic(TCustomFuzzyLogic* Value);

    /// Parses a whole definition text (UTF-8) into the linked component.
    virtual void Parse(const std::string& AString);
    /// The parsing proper, run by Parse between OnParsing and OnParsed.
    virtual void ParseFuzzyLogic(const std::string& AString) = 0;
    /// A set's text: its definition (AsDefinition) or its short form (name or expression).
    [[nodiscard]] std::string PrettyPrint(const TFuzzySet& FuzzySet, bool AsDefinition) override = 0;
    /// A variable's definition text with its sets.
    [[nodiscard]] virtual std::string PrettyPrint(const TFuzzyVariable& FuzzyVariable) = 0;

    TNotifyEvent OnParsing;
    TNotifyEvent OnParsed;
    TFuzzySetEvent OnParseFuzzySet;
    TFuzzyVariableEvent OnParseFuzzyVariable;

    [[nodiscard]] std::string ClassName() const override { return "TCustomFuzzyLogicParser"; }

protected:
    ~TCustomFuzzyLogicParser() override = default;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

private:
    TCustomFuzzyLogic* FFuzzyLogic = nullptr;
};

}  // namespace fzl
