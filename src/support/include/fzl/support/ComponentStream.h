#pragma once
// The text form of a component and everything it owns: one property a line,
// nested objects and collections indented, written and read through the
// objects' property lists (TPersistent::DefineProperties).
//
//     object TFuzzyLogic
//       Threshold = 0.05
//       Items = <
//         item TFuzzyVariable
//           Name = 'speed'
//           ...
//         end
//       >
//     end
//
// Values: True / False; integers; numbers in the shortest form that reads back as
// the same double; enumeration identifiers; strings in single quotes (a quote
// doubled, a control character as #n outside the quotes: 'a'#10'b'); string
// lists as "(" with one quoted line per stream line and ")"; collections as "<"
// with "item [class]" ... "end" per item and ">" (an empty one "<>"). Indentation
// and blank lines are not significant to the reader.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include <fzl/support/Exceptions.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/PropertyReader.h>

namespace fzl {

class TPersistent;

// Messages of the stream reader and writer (Format patterns).
inline constexpr const char* SStreamUnexpectedEnd = "Unexpected end of the stream";
inline constexpr const char* SStreamObjectExpected = "Expected \"object\" and a class name";
/// The class the stream names and the class of the object read into.
inline constexpr const char* SStreamClassMismatch = "The stream holds a %s; the component is a %s";
inline constexpr const char* SStreamPropertyExpected = "Expected \"Name = value\" or \"end\"";
inline constexpr const char* SStreamItemExpected = "Expected \"item\" or \">\"";
/// The property name and the class of the object.
inline constexpr const char* SStreamUnknownProperty = "Unknown property \"%s\" of %s";
/// The property name and what its value must be.
inline constexpr const char* SStreamInvalidValue = "Invalid value for property \"%s\": expected %s";
/// The property name and the value.
inline constexpr const char* SStreamValueOutOfRange = "Value out of range for property \"%s\": %s";
inline constexpr const char* SStreamUnknownClass = "Unknown class \"%s\"";
inline constexpr const char* SStreamTooDeep = "Objects nested too deeply: more than %d levels";
inline constexpr const char* SStreamTrailingText = "Text after the end of the component";
/// The property name and its value.
inline constexpr const char* SStreamCannotWrite =
    "Cannot write property \"%s\": no stream can hold the value %s";

/// A stream that cannot be read: what is wrong, and on which line (1-based).
class EReadError : public EVXException {
public:
    EReadError(std::string Message, int LineNumber, std::string LineText)
        : EVXException(std::move(Message)), FLineNumber(LineNumber), FLineText(std::move(LineText)) {}
    [[nodiscard]] int LineNumber() const noexcept { return FLineNumber; }
    /// The line as the stream holds it, without its indentation.
    [[nodiscard]] const std::string& LineText() const noexcept { return FLineText; }

private:
    int FLineNumber;
    std::string FLineText;
};

/// Writes a component's text.
class TComponentWriter {
public:
    /// "object <class>", the properties of Root that are stored and not at their default
    /// (those of its collections' items and owned objects with them), "end". Raises
    /// EConvertError for a value no stream can hold (a number that is not finite, an
    /// enumeration value outside its type).
    [[nodiscard]] static std::string Write(TPersistent& Root);
};

/// Reads a component's text into an existing object of the class it names.
class TComponentReader final : public TPropertyReader {
public:
    /// Objects nested deeper than this (collections in items, owned objects) are refused.
    static constexpr int MaxDepth = 32;

    explicit TComponentReader(std::string_view Text);

    /// The class the text's first line names ("object <class>"), or "" when it names none.
    [[nodiscard]] static std::string ClassNameOf(std::string_view Text);
    /// Reads the first line; raises unless it names Root's class.
    void ReadHeader(const TPersistent& Root);
    /// Assigns the properties that follow, through their setters and in the stream's
    /// order, to Root and the objects it owns; items of a collection are created in it
    /// (by the class a line states, looked up with FindClass, else by the collection's
    /// item class). Raises EReadError with the line for anything the stream or a setter
    /// refuses; text after the final "end" is refused too.
    void ReadBody(TPersistent& Root);

    /// The value of the legacy property being read, as a number or a 64-bit integer.
    double ReadFloat() override;
    std::int64_t ReadInt64() override;

private:
    bool NextLine();
    [[noreturn]] void Error(std::string Message) const;
    [[noreturn]] void Error(std::string Message, int LineNumber, std::string_view LineText) const;
    TPropertyList& ListAt(int Depth);
    void ReadProperties(TPersistent& Object, int Depth);
    void Assign(const TPropertyList& Properties, const TPersistent& Owner, std::string_view Name,
                std::string_view Value, int Depth);
    void AssignValue(const TPropertyInfo& Property, std::string_view Value, int Depth);
    void ReadStrings(const TPropertyInfo& Property, std::string_view Value);
    void ReadCollection(const TPropertyInfo& Property, std::string_view Value, int Depth);

    std::string_view FText;
    std::size_t FPosition = 0;
    int FLineNumber = 0;
    std::string_view FLine;         // the current line without its indentation
    std::string_view FLegacyValue;  // the value ReadFloat / ReadInt64 read
    std::string_view FLegacyName;
    std::deque<TPropertyList> FLists;  // one per depth, reused
};

}  // namespace fzl
