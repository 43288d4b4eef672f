#pragma once
// Shared pieces of the generic collections: key-value pairs, the notification
// actions of dictionaries, the hash table's error and the circular-range test
// of its backward-shift deletion.

#include <cstdint>
#include <functional>

#include <fzl/support/Exceptions.h>

namespace fzl {

class TObject;

/// A key with its value.
template <class K, class V>
struct TPair {
    K Key{};
    V Value{};
};

/// What happened to a key or value of a dictionary.
enum TDictionaryNotification : std::uint8_t { dnAdded, dnRemoved, dnExtracted };

/// A key of the dictionary Sender was added, removed or extracted.
template <class K>
using TKeyNotifyEvent = std::function<void(TObject* Sender, const K& Key, TDictionaryNotification Action)>;
/// A value of the dictionary Sender was added, removed or extracted.
template <class V>
using TValueNotifyEvent =
    std::function<void(TObject* Sender, const V& Value, TDictionaryNotification Action)>;

/// Errors of the hash tables.
class EGHashtableError : public EVXException {
public:
    using EVXException::EVXException;
};

/// Message of removing from a hash table that holds nothing.
inline constexpr const char* STableEmpty = "Hash table is empty";
/// Message of putting a nil reference into a table of references; "%s" is the key.
inline constexpr const char* SNilTableValue = "A hash table cannot hold a nil value (key \"%s\")";

/// True when Item lies in the circular range (Bottom, Top]: after Bottom, up to
/// and including Top, wrapping past the end of the bucket array.
[[nodiscard]] constexpr bool InCircularRange(int Bottom, int Item, int Top) noexcept {
    if (Bottom <= Top) return Bottom < Item && Item <= Top;
    return Bottom < Item || Item <= Top;
}

}  // namespace fzl
