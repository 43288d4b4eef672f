#pragma once
// How the reference-counted sets and variables hold their parser.

#include <fzl/FuzzyInterfaces/IFuzzyParser.h>
#include <fzl/support/Component.h>
#include <fzl/support/IntfPtr.h>

namespace fzl {

/// A link to a parser that cannot dangle. A parser component (the usual kind) is not
/// kept alive by references, so it is linked weakly and reads nil once it is freed;
/// any other implementation of IFuzzyParser is held by a counted reference.
class TFuzzyParserLink {
public:
    TFuzzyParserLink() = default;
    explicit TFuzzyParserLink(const TIntfPtr<IFuzzyParser>& Parser) { Set(Parser); }

    /// The parser, or nil when none is linked or the linked component has been freed.
    [[nodiscard]] TIntfPtr<IFuzzyParser> Get() const;
    void Set(const TIntfPtr<IFuzzyParser>& Parser);

private:
    IFuzzyParser* FComponentParser = nullptr;  // valid while FComponent reads non-null
    TComponentRef<TComponent> FComponent;
    TIntfPtr<IFuzzyParser> FCounted;  // a parser that is not a component
};

}  // namespace fzl
