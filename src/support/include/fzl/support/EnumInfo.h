#pragma once
// Identifiers of enumeration values and sets of enumeration values.
//
// An enumeration takes part by specialising TEnumInfo with a constexpr array
// `Names` of its identifiers in ordinal order.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>

namespace fzl {

template <class E>
struct TEnumInfo;  // specialised next to each enumeration

/// The identifier of an enumeration value ("fhVery"); empty for an invalid ordinal.
template <class E>
[[nodiscard]] constexpr std::string_view GetEnumName(E Value) noexcept {
    const auto Ordinal = static_cast<std::size_t>(Value);
    return Ordinal < TEnumInfo<E>::Names.size() ? TEnumInfo<E>::Names[Ordinal] : std::string_view{};
}

/// A set of values of an enumeration with at most 64 members (a bit mask).
template <class E>
class TEnumSet {
public:
    constexpr TEnumSet() noexcept = default;
    constexpr TEnumSet(std::initializer_list<E> Values) noexcept {
        for (E Value : Values) Include(Value);
    }

    [[nodiscard]] constexpr bool Contains(E Value) const noexcept { return (FBits & Bit(Value)) != 0; }
    constexpr void Include(E Value) noexcept { FBits |= Bit(Value); }
    constexpr void Exclude(E Value) noexcept { FBits &= ~Bit(Value); }
    [[nodiscard]] constexpr bool Empty() const noexcept { return FBits == 0; }
    friend constexpr bool operator==(TEnumSet, TEnumSet) noexcept = default;

private:
    static constexpr std::uint64_t Bit(E Value) noexcept {
        return std::uint64_t{1} << static_cast<unsigned>(Value);
    }
    std::uint64_t FBits = 0;
};

}  // namespace fzl
