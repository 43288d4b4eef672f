#pragma once
// The reading side of property streaming, as far as objects that read legacy
// properties need it: a reader hands out the value of the property it has met.

#include <cstdint>

namespace fzl {

/// The value source a stream reader offers for one property.
class TPropertyReader {
public:
    TPropertyReader() = default;
    TPropertyReader(const TPropertyReader&) = delete;
    TPropertyReader& operator=(const TPropertyReader&) = delete;
    TPropertyReader(TPropertyReader&&) = delete;
    TPropertyReader& operator=(TPropertyReader&&) = delete;

    /// Reads the property's value as a floating-point number.
    virtual double ReadFloat() = 0;
    /// Reads the property's value as a 64-bit integer.
    virtual std::int64_t ReadInt64() = 0;

protected:
    ~TPropertyReader() = default;
};

}  // namespace fzl
