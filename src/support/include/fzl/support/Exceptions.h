#pragma once
// The exception family of the framework: a message-carrying base and the
// errors the containers and persistent objects raise.

#include <exception>
#include <string>

namespace fzl {

/// Base of every exception the library raises; carries the formatted message.
class Exception : public std::exception {
public:
    explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
    [[nodiscard]] const char* what() const noexcept override { return FMessage.c_str(); }
    [[nodiscard]] const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

/// Exception base of the support layer; the fuzzy exceptions derive from it.
class EVXException : public Exception {
public:
    using Exception::Exception;
};

/// Index or lookup errors of lists and collections.
class EListError : public Exception {
public:
    using Exception::Exception;
};

/// An argument outside the range an operation accepts.
class EArgumentOutOfRangeException : public Exception {
public:
    using Exception::Exception;
};

/// Assign between two persistent classes that do not know each other, and
/// malformed format patterns.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

/// Message of a list index error; "%d" takes the index.
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
/// Message of an argument out of range error.
inline constexpr const char* SArgumentOutOfRange = "Argument out of range";
/// Message of the cannot-assign error; the source and destination class names.
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
/// Message of adding a key that a dictionary already holds.
inline constexpr const char* SDuplicateItem = "Duplicates not allowed";
/// Message of reading a key that a dictionary does not hold.
inline constexpr const char* SItemNotFound = "Item not found";
/// Message of adding a string that a sorted string list refuses as a duplicate.
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
/// Message of placing a string at a chosen position of a sorted string list.
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";

}  // namespace fzl
