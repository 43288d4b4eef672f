#pragma once
// The values of an object's properties, kept to be put back: what a component
// sets aside while a stream is read into it, restored when the read fails.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include <fzl/support/Object.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/StringList.h>

namespace fzl {

/// The values of the scalar and string-list properties of one object (collections,
/// owned objects and legacy properties are not part of it).
class TPropertySnapshot {
public:
    /// Takes the current values of Object's properties.
    explicit TPropertySnapshot(TPersistent& Object);

    /// Assigns the values taken back to the object, through the setters, in listing order.
    void Restore() const;
    /// Assigns each scalar property of Object the value of a new object and empties its
    /// string lists, through the setters, in listing order.
    static void ResetToNew(TPersistent& Object);

private:
    using TValue = std::variant<std::int64_t, double, std::string, TOwned<TStringList>>;

    TPropertyList FProperties;
    std::vector<TValue> FValues;  // one per property of FProperties
};

}  // namespace fzl
