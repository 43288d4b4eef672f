#pragma once
// Named collection items and lookup by name.

#include <string>
#include <string_view>

#include <fzl/support/Collection.h>

namespace fzl {

/// A collection item that has a name (empty unless a descendant provides one).
class TGCollectionItem : public TCollectionItem {
public:
    /// The name IndexOf compares; descendants return their own name.
    [[nodiscard]] virtual std::string GetName() const { return {}; }
    /// Whether the name equals Name; descendants that hold their name compare it without a copy.
    [[nodiscard]] virtual bool HasName(std::string_view Name) const { return GetName() == Name; }
    [[nodiscard]] std::string ClassName() const override { return "TGCollectionItem"; }

protected:
    ~TGCollectionItem() override = default;
};

/// An owned collection of named items.
class TGCollection : public TCollection {
public:
    using TCollection::TCollection;

    /// Index of the first item whose name equals Name exactly (case-sensitive), or -1.
    [[nodiscard]] int IndexOf(std::string_view Name) const;
    [[nodiscard]] std::string ClassName() const override { return "TGCollection"; }

protected:
    ~TGCollection() override = default;
};

}  // namespace fzl
