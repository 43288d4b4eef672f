#pragma once
// The root interface of the reference-counted model and the 128-bit identifiers
// interfaces are queried by.
//
// An interface is an abstract class derived (singly) from IInterface that
// declares three names: IID, its own fixed identifier; TInherited, its parent
// interface (void for IInterface); and TInterface, the interface itself (a
// bridge class that implements part of an interface inherits it, so queries
// still answer with the interface). Objects are reached only through TIntfPtr
// (IntfPtr.h), which counts the references; the counting operations are
// protected so that user code cannot call them.

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace fzl {

namespace Detail {

consteval std::uint8_t HexDigit(char C) {
    if (C >= '0' && C <= '9') return static_cast<std::uint8_t>(C - '0');
    if (C >= 'A' && C <= 'F') return static_cast<std::uint8_t>(C - 'A' + 10);
    if (C >= 'a' && C <= 'f') return static_cast<std::uint8_t>(C - 'a' + 10);
    throw "TGUID::Parse: not a hexadecimal digit";  // only ever evaluated at compile time
}

consteval std::uint64_t HexValue(const char* Text, int Start, int Digits) {
    std::uint64_t Value = 0;
    for (int I = 0; I < Digits; ++I) Value = (Value << 4U) | HexDigit(Text[Start + I]);
    return Value;
}

}  // namespace Detail

/// A 128-bit interface identifier in the usual 8-4-4-4-12 hexadecimal layout.
struct TGUID {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0;
    std::uint16_t D3 = 0;
    std::array<std::uint8_t, 8> D4{};

    /// Parses "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (braces optional) at compile time;
    /// a malformed text does not compile.
    [[nodiscard]] static consteval TGUID Parse(const char* Text) {
        const int Skip = Text[0] == '{' ? 1 : 0;
        const char* T = Text + Skip;
        for (const int Dash : {8, 13, 18, 23})
            if (T[Dash] != '-') throw "TGUID::Parse: expected 8-4-4-4-12 digits";
        if (T[36] != (Skip != 0 ? '}' : '\0') || (Skip != 0 && T[37] != '\0'))
            throw "TGUID::Parse: wrong length";
        TGUID Result;
        Result.D1 = static_cast<std::uint32_t>(Detail::HexValue(T, 0, 8));
        Result.D2 = static_cast<std::uint16_t>(Detail::HexValue(T, 9, 4));
        Result.D3 = static_cast<std::uint16_t>(Detail::HexValue(T, 14, 4));
        Result.D4[0] = static_cast<std::uint8_t>(Detail::HexValue(T, 19, 2));
        Result.D4[1] = static_cast<std::uint8_t>(Detail::HexValue(T, 21, 2));
        for (std::size_t I = 0; I < 6; ++I)
            Result.D4[2 + I] =
                static_cast<std::uint8_t>(Detail::HexValue(T, 24 + 2 * static_cast<int>(I), 2));
        return Result;
    }
    /// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
    [[nodiscard]] std::string ToString() const;

    friend constexpr bool operator==(const TGUID&, const TGUID&) = default;
};

/// Result of QueryInterface.
using THResult = std::int32_t;
/// The object implements the requested interface.
inline constexpr THResult S_OK = 0;
/// The object does not implement the requested interface.
inline constexpr THResult E_NOINTERFACE = static_cast<THResult>(0x80004002U);

template <class I>
class TIntfPtr;

/// An interface type: it declares itself as TInterface (a bridge class does not).
template <class I>
concept CInterface = requires {
    typename I::TInterface;
}
&&std::same_as<typename I::TInterface, I>;

/// The root interface: query by identifier and reference counting. Only TIntfPtr
/// (and the implementation templates of Interfaced.h) use these operations.
class IInterface {
public:
    using TInterface = IInterface;
    using TInherited = void;
    static constexpr TGUID IID = TGUID::Parse("{00000000-0000-0000-C000-000000000046}");

protected:
    IInterface() = default;
    IInterface(const IInterface&) = default;
    IInterface& operator=(const IInterface&) = default;
    ~IInterface() = default;

    /// S_OK with Obj pointing at the requested interface (one reference taken for
    /// the caller), or E_NOINTERFACE with Obj null.
    virtual THResult QueryInterface(const TGUID& IID, void*& Obj) noexcept = 0;
    /// Takes a reference; returns the new count.
    virtual int _AddRef() noexcept = 0;  // NOLINT(bugprone-reserved-identifier)
    /// Drops a reference; the object goes when the count reaches 0. Returns the new count.
    virtual int _Release() noexcept = 0;  // NOLINT(bugprone-reserved-identifier)

    template <class>
    friend class TIntfPtr;
};

}  // namespace fzl
