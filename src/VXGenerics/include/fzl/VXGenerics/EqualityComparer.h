#pragma once
// Equality comparers of dictionary keys: equality plus a hash consistent with it.
// The default hashes are fixed functions of the key's bytes (FNV-1a, 32 bits),
// so a table lays its keys out the same way on every platform.

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fzl {

/// Equality of keys and a hash that equal keys share.
template <class K>
class TEqualityComparer {
public:
    TEqualityComparer() = default;
    TEqualityComparer(const TEqualityComparer&) = delete;
    TEqualityComparer& operator=(const TEqualityComparer&) = delete;
    TEqualityComparer(TEqualityComparer&&) = delete;
    TEqualityComparer& operator=(TEqualityComparer&&) = delete;
    virtual ~TEqualityComparer() = default;

    [[nodiscard]] virtual bool Equals(const K& Left, const K& Right) const = 0;
    [[nodiscard]] virtual std::int32_t GetHashCode(const K& Value) const = 0;
};

/// Shared, immutable comparer as the dictionaries hold it.
template <class K>
using TComparerPtr = std::shared_ptr<const TEqualityComparer<K>>;

/// 32-bit FNV-1a hash of Bytes.
[[nodiscard]] constexpr std::uint32_t HashFNV1a(std::string_view Bytes) noexcept {
    std::uint32_t Hash = 2166136261U;
    for (const char C : Bytes) {
        Hash ^= static_cast<std::uint8_t>(C);
        Hash *= 16777619U;
    }
    return Hash;
}

/// Exact, case-sensitive string equality; the hash is FNV-1a of the UTF-8 bytes.
class TStringComparer final : public TEqualityComparer<std::string> {
public:
    [[nodiscard]] bool Equals(const std::string& Left, const std::string& Right) const override {
        return Left == Right;
    }
    [[nodiscard]] std::int32_t GetHashCode(const std::string& Value) const override {
        return static_cast<std::int32_t>(HashFNV1a(Value));
    }
};

/// Integer equality; the hash is FNV-1a of the value's bytes, least significant first.
template <std::integral K>
class TIntegerComparer final : public TEqualityComparer<K> {
public:
    [[nodiscard]] bool Equals(const K& Left, const K& Right) const override { return Left == Right; }
    [[nodiscard]] std::int32_t GetHashCode(const K& Value) const override {
        std::uint32_t Hash = 2166136261U;
        auto Bits = static_cast<std::uint64_t>(Value);
        for (std::size_t Byte = 0; Byte < sizeof(K); ++Byte, Bits >>= 8U) {
            Hash ^= static_cast<std::uint8_t>(Bits & 0xFFU);
            Hash *= 16777619U;
        }
        return static_cast<std::int32_t>(Hash);
    }
};

/// The comparer a dictionary uses when it is given none (strings and integers);
/// null for other key types, which must be given a comparer.
template <class K>
[[nodiscard]] TComparerPtr<K> DefaultComparer() {
    if constexpr (std::same_as<K, std::string>) {
        static const TComparerPtr<K> Comparer = std::make_shared<const TStringComparer>();
        return Comparer;
    } else if constexpr (std::integral<K>) {
        static const TComparerPtr<K> Comparer = std::make_shared<const TIntegerComparer<K>>();
        return Comparer;
    } else {
        return nullptr;
    }
}

}  // namespace fzl
