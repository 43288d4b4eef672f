#include <fzl/IFuzzyLogic/FuzzyParserLink.h>

namespace fzl {

TIntfPtr<IFuzzyParser> TFuzzyParserLink::Get() const {
    if (FComponentParser != nullptr)
        return FComponent.Get() != nullptr ? TIntfPtr<IFuzzyParser>::Retain(FComponentParser) : nullptr;
    return FCounted;
}

void TFuzzyParserLink::Set(const TIntfPtr<IFuzzyParser>& Parser) {
    // Cross-cast: the object behind the interface may also be a component.
    auto* Component = dynamic_cast<TComponent*>(Parser.Get());
    FComponentParser = Component != nullptr ? Parser.Get() : nullptr;
    FComponent = TComponentRef<TComponent>(Component);
    FCounted = Component != nullptr ? nullptr : Parser;
}

}  // namespace fzl
