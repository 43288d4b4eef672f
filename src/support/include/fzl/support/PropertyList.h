#pragma once
// The published properties of a persistent object: what a stream holds of it.
//
// A class lists its properties in TPersistent::DefineProperties, after those of its
// base, in the order a stream writes them (and a reader assigns them):
//
//     void TMySet::DefineProperties(TPropertyList& Properties) {
//         TFuzzySet::DefineProperties(Properties);
//         Properties.Float<&TMySet::GetWeight, &TMySet::SetWeight>("Weight", this, 1.0);
//     }
//
// A property with a default is written only when its value differs from it; one
// without ("always stored") is always written. Getters and setters are named by
// member pointers (or captureless lambdas taking the object first), resolved at
// compile time: the list holds plain function pointers and allocates nothing
// beyond its own vector.

#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <fzl/support/EnumInfo.h>

namespace fzl {

class TCollection;
class TCollectionItem;
class TPersistent;
class TPropertyReader;
class TStrings;

/// What a property holds, and so how a stream writes it.
enum class TPropertyKind : std::uint8_t {
    Boolean,      ///< True or False
    Integer,      ///< a whole number within [Minimum, Maximum]
    Float,        ///< a finite double
    String,       ///< text, quoted
    Enumeration,  ///< one identifier of Names
    Strings,      ///< a string list, one line per stream line
    Collection,   ///< the items of an owned collection, each with its properties
    Object,       ///< an owned persistent object; its properties are written as Name.Property
    Legacy        ///< read and dropped, never written
};

/// One property of one object: its name, kind, default and accessors.
struct TPropertyInfo {
    std::string_view Name;
    TPropertyKind Kind = TPropertyKind::Integer;
    void* Object = nullptr;
    /// False for a property without a default: it is always written.
    bool HasDefault = true;
    /// The value of a new object (Boolean, Integer, Enumeration as ordinals), which the
    /// reader starts a component from; with HasDefault also the value left unwritten.
    std::int64_t OrdinalDefault = 0;
    double FloatDefault = 0;
    std::int64_t Minimum = std::numeric_limits<std::int64_t>::min();
    std::int64_t Maximum = std::numeric_limits<std::int64_t>::max();
    /// Identifiers of an enumeration, in ordinal order.
    std::span<const std::string_view> Names;
    /// A collection: whether each item's class is written (items a class reference creates).
    bool ItemClassStated = false;

    std::int64_t (*GetOrdinal)(void*) = nullptr;
    void (*SetOrdinal)(void*, std::int64_t) = nullptr;
    double (*GetFloat)(void*) = nullptr;
    void (*SetFloat)(void*, double) = nullptr;
    std::string (*GetString)(void*) = nullptr;
    void (*SetString)(void*, const std::string&) = nullptr;
    const TStrings& (*GetStrings)(void*) = nullptr;
    void (*SetStrings)(void*, const TStrings&) = nullptr;
    /// Optional: false when the value is not to be written at all (the "stored" test).
    bool (*IsStored)(void*) = nullptr;
    TCollection& (*GetCollection)(void*) = nullptr;
    /// Optional: checks an item once its properties are read (raises to refuse it).
    void (*ItemRead)(TCollectionItem&) = nullptr;
    TPersistent& (*GetObject)(void*) = nullptr;
    void (*ReadLegacy)(void*, std::string_view, TPropertyReader&) = nullptr;

    /// True when the writer leaves the property out.
    [[nodiscard]] bool IsDefault() const;
};

/// The properties an object lists in DefineProperties.
class TPropertyList {
public:
    void Clear() noexcept { FItems.clear(); }
    [[nodiscard]] std::span<const TPropertyInfo> Items() const noexcept { return FItems; }
    /// The property named Name, or nullptr.
    [[nodiscard]] const TPropertyInfo* Find(std::string_view Name) const noexcept;

    // ---- Scalars: with a default (left out when equal) or without (always written) ------------
    template <auto Get, auto Set, class T>
    void Boolean(std::string_view Name, T* Object, bool Default) {
        Add(OrdinalOf<Get, Set>(Name, TPropertyKind::Boolean, Object, Default, true)).Names = BooleanNames;
    }
    template <auto Get, auto Set, class T>
    void BooleanStored(std::string_view Name, T* Object, bool Initial) {
        Add(OrdinalOf<Get, Set>(Name, TPropertyKind::Boolean, Object, Initial, false)).Names = BooleanNames;
    }
    /// An integer; values outside the range of the setter's type are refused by readers.
    template <auto Get, auto Set, class T>
    void Integer(std::string_view Name, T* Object, std::int64_t Default) {
        AddInteger<Get, Set>(Name, Object, Default, true);
    }
    template <auto Get, auto Set, class T>
    void IntegerStored(std::string_view Name, T* Object, std::int64_t Initial) {
        AddInteger<Get, Set>(Name, Object, Initial, false);
    }
    template <auto Get, auto Set, class T>
    void Float(std::string_view Name, T* Object, double Default) {
        Add(FloatOf<Get, Set>(Name, Object, Default, true));
    }
    template <auto Get, auto Set, class T>
    void FloatStored(std::string_view Name, T* Object, double Initial) {
        Add(FloatOf<Get, Set>(Name, Object, Initial, false));
    }
    /// Text; the default is the empty string.
    template <auto Get, auto Set, class T>
    void String(std::string_view Name, T* Object) {
        TPropertyInfo& Info = Add(Base(Name, TPropertyKind::String, Object));
        Info.GetString = [](void* O) -> std::string {
            return std::string(std::invoke(Get, *static_cast<T*>(O)));
        };
        Info.SetString = [](void* O, const std::string& V) { std::invoke(Set, *static_cast<T*>(O), V); };
    }
    /// An enumeration of TEnumInfo<E>; its identifiers are written.
    template <auto Get, auto Set, class T>
    void Enumeration(std::string_view Name, T* Object, auto Default) {
        AddEnumeration<Get, Set>(Name, Object, Default, true);
    }
    template <auto Get, auto Set, class T>
    void EnumerationStored(std::string_view Name, T* Object, auto Initial) {
        AddEnumeration<Get, Set>(Name, Object, Initial, false);
    }

    // ---- Structured values ------------------------------------------------------------------------
    /// A string list; the default is the empty list. Stored (optional) may leave it unwritten.
    template <auto Get, auto Set, auto Stored = nullptr, class T>
    void Strings(std::string_view Name, T* Object) {
        TPropertyInfo& Info = Add(Base(Name, TPropertyKind::Strings, Object));
        Info.GetStrings = [](void* O) -> const TStrings& { return std::invoke(Get, *static_cast<T*>(O)); };
        Info.SetStrings = [](void* O, const TStrings& V) { std::invoke(Set, *static_cast<T*>(O), V); };
        if constexpr (!std::is_null_pointer_v<decltype(Stored)>)
            Info.IsStored = [](void* O) -> bool { return std::invoke(Stored, *static_cast<T*>(O)); };
    }
    /// The items of an owned collection: always written (an empty one as "<>"), and read by
    /// clearing the collection and creating the items in one bulk update. ItemRead (optional)
    /// checks each item once read.
    void Collection(std::string_view Name, TCollection& Items, bool ItemClassStated,
                    void (*ItemRead)(TCollectionItem&) = nullptr);
    /// An owned persistent object whose own properties appear as Name.Property.
    void Object(std::string_view Name, TPersistent& Object);
    /// A property older streams hold: Read (a member taking the name and a TPropertyReader)
    /// reads its value and drops it; it is never written.
    template <auto Read, class T>
    void Legacy(std::string_view Name, T* Object) {
        TPropertyInfo& Info = Add(Base(Name, TPropertyKind::Legacy, Object));
        Info.ReadLegacy = [](void* O, std::string_view N, TPropertyReader& Reader) {
            std::invoke(Read, *static_cast<T*>(O), N, Reader);
        };
    }

private:
    static constexpr std::string_view BooleanNamesArray[] = {"False", "True"};
    static constexpr std::span<const std::string_view> BooleanNames{BooleanNamesArray};

    template <class T>
    static TPropertyInfo Base(std::string_view Name, TPropertyKind Kind, T* Object) {
        TPropertyInfo Info;
        Info.Name = Name;
        Info.Kind = Kind;
        Info.Object = const_cast<void*>(static_cast<const void*>(Object));
        return Info;
    }
    template <auto Get, auto Set, class T>
    static TPropertyInfo OrdinalOf(std::string_view Name, TPropertyKind Kind, T* Object, std::int64_t Default,
                                   bool HasDefault) {
        using TValue = std::remove_cvref_t<std::invoke_result_t<decltype(Get), T&>>;
        TPropertyInfo Info = Base(Name, Kind, Object);
        Info.HasDefault = HasDefault;
        Info.OrdinalDefault = Default;
        Info.GetOrdinal = [](void* O) -> std::int64_t {
            return static_cast<std::int64_t>(std::invoke(Get, *static_cast<T*>(O)));
        };
        Info.SetOrdinal = [](void* O, std::int64_t V) {
            std::invoke(Set, *static_cast<T*>(O), static_cast<TValue>(V));
        };
        return Info;
    }
    template <auto Get, auto Set, class T>
    void AddInteger(std::string_view Name, T* Object, std::int64_t Default, bool HasDefault) {
        using TValue = std::remove_cvref_t<std::invoke_result_t<decltype(Get), T&>>;
        static_assert(std::is_integral_v<TValue> && !std::is_same_v<TValue, bool>);
        TPropertyInfo& Info =
            Add(OrdinalOf<Get, Set>(Name, TPropertyKind::Integer, Object, Default, HasDefault));
        Info.Minimum = static_cast<std::int64_t>(std::numeric_limits<TValue>::min());
        Info.Maximum = static_cast<std::int64_t>(std::numeric_limits<TValue>::max());
    }
    template <auto Get, auto Set, class T, class E>
    void AddEnumeration(std::string_view Name, T* Object, E Default, bool HasDefault) {
        static_assert(std::is_enum_v<E>);
        Add(OrdinalOf<Get, Set>(Name, TPropertyKind::Enumeration, Object, static_cast<std::int64_t>(Default),
                                HasDefault))
            .Names = TEnumInfo<E>::Names;
    }
    template <auto Get, auto Set, class T>
    static TPropertyInfo FloatOf(std::string_view Name, T* Object, double Default, bool HasDefault) {
        TPropertyInfo Info = Base(Name, TPropertyKind::Float, Object);
        Info.HasDefault = HasDefault;
        Info.FloatDefault = Default;
        Info.GetFloat = [](void* O) -> double { return std::invoke(Get, *static_cast<T*>(O)); };
        Info.SetFloat = [](void* O, double V) { std::invoke(Set, *static_cast<T*>(O), V); };
        return Info;
    }
    TPropertyInfo& Add(TPropertyInfo Info) { return FItems.emplace_back(std::move(Info)); }

    std::vector<TPropertyInfo> FItems;
};

}  // namespace fzl
