#include <charconv>
#include <cmath>
#include <system_error>

#include <fzl/support/ClassRegistry.h>
#include <fzl/support/Collection.h>
#include <fzl/support/ComponentStream.h>
#include <fzl/support/Format.h>
#include <fzl/support/Persistent.h>
#include <fzl/support/StringList.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {

namespace {

constexpr std::string_view IndentUnit = "  ";
constexpr std::string_view ObjectKeyword = "object";
constexpr std::string_view ItemKeyword = "item";
constexpr std::string_view EndKeyword = "end";

// ---- Text of values ------------------------------------------------------------------------------

[[nodiscard]] bool IsControl(unsigned char C) noexcept { return C < 32 || C == 127; }

/// 'text' with quotes doubled; control characters as #n between quoted runs.
void AppendQuoted(std::string& Out, std::string_view Text) {
    if (Text.empty()) {
        Out += "''";
        return;
    }
    bool Quoted = false;
    for (const char C : Text) {
        if (IsControl(static_cast<unsigned char>(C))) {
            if (Quoted) Out += '\'';
            Quoted = false;
            Out += '#';
            Out += IntToStr(static_cast<unsigned char>(C));
            continue;
        }
        if (!Quoted) Out += '\'';
        Quoted = true;
        Out += C;
        if (C == '\'') Out += '\'';
    }
    if (Quoted) Out += '\'';
}

/// Reads the whole of Text as a quoted string into Out.
[[nodiscard]] bool ParseQuoted(std::string_view Text, std::string& Out) {
    Out.clear();
    if (Text.empty()) return false;
    std::size_t I = 0;
    while (I < Text.size()) {
        if (Text[I] == '#') {
            int Code = 0;
            const std::size_t Start = ++I;
            while (I < Text.size() && Text[I] >= '0' && Text[I] <= '9') {
                Code = Code * 10 + (Text[I] - '0');
                if (Code > 255) return false;
                ++I;
            }
            if (I == Start) return false;
            Out += static_cast<char>(Code);
        } else if (Text[I] == '\'') {
            for (++I;; ++I) {
                if (I >= Text.size()) return false;  // no closing quote
                if (Text[I] != '\'') {
                    Out += Text[I];
                } else if (I + 1 < Text.size() && Text[I + 1] == '\'') {
                    Out += '\'';
                    ++I;
                } else {
                    ++I;
                    break;
                }
            }
        } else {
            return false;
        }
    }
    return true;
}

enum class TNumberStatus { Ok, Invalid, OutOfRange };

[[nodiscard]] bool IsDigit(char C) noexcept { return C >= '0' && C <= '9'; }

/// [+-]? digits: a 64-bit integer.
[[nodiscard]] TNumberStatus ParseInteger(std::string_view Text, std::int64_t& Value) {
    if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
    const std::size_t Digits = !Text.empty() && Text.front() == '-' ? 1 : 0;
    if (Text.size() == Digits) return TNumberStatus::Invalid;
    for (std::size_t I = Digits; I < Text.size(); ++I)
        if (!IsDigit(Text[I])) return TNumberStatus::Invalid;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Error == std::errc::result_out_of_range) return TNumberStatus::OutOfRange;
    return Error == std::errc{} && End == Text.data() + Text.size() ? TNumberStatus::Ok
                                                                    : TNumberStatus::Invalid;
}

/// [+-]? (d+ (. d*)? | . d+) ([eE] [+-]? d+)?: a finite double (no inf, nan or hex).
[[nodiscard]] TNumberStatus ParseNumber(std::string_view Text, double& Value) {
    if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
    std::size_t I = !Text.empty() && Text.front() == '-' ? 1 : 0;
    std::size_t Mantissa = 0;
    while (I < Text.size() && IsDigit(Text[I])) ++I, ++Mantissa;
    if (I < Text.size() && Text[I] == '.')
        for (++I; I < Text.size() && IsDigit(Text[I]); ++I) ++Mantissa;
    if (Mantissa == 0) return TNumberStatus::Invalid;
    if (I < Text.size() && (Text[I] == 'e' || Text[I] == 'E')) {
        ++I;
        if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) ++I;
        const std::size_t Start = I;
        while (I < Text.size() && IsDigit(Text[I])) ++I;
        if (I == Start) return TNumberStatus::Invalid;
    }
    if (I != Text.size()) return TNumberStatus::Invalid;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Error == std::errc::result_out_of_range) return TNumberStatus::OutOfRange;
    if (Error != std::errc{} || End != Text.data() + Text.size()) return TNumberStatus::Invalid;
    return std::isfinite(Value) ? TNumberStatus::Ok : TNumberStatus::OutOfRange;
}

[[nodiscard]] bool IsBlank(char C) noexcept { return C == ' ' || C == '\t'; }

[[nodiscard]] std::string_view Trimmed(std::string_view Text) noexcept {
    while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);
    return Text;
}

[[nodiscard]] bool IsIdentifier(std::string_view Text) noexcept {
    if (Text.empty() || IsDigit(Text.front())) return false;
    for (const char C : Text)
        if (!(IsDigit(C) || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_')) return false;
    return true;
}

/// "Keyword" or "Keyword Name": Name into Name ("" when absent); false for anything else.
[[nodiscard]] bool SplitKeywordLine(std::string_view Line, std::string_view Keyword, std::string_view& Name) {
    if (Line.substr(0, Keyword.size()) != Keyword) return false;
    const std::string_view Rest = Line.substr(Keyword.size());
    if (Rest.empty()) {
        Name = {};
        return true;
    }
    if (!IsBlank(Rest.front())) return false;
    Name = Trimmed(Rest);
    return IsIdentifier(Name);
}

[[nodiscard]] std::string JoinNames(std::span<const std::string_view> Names) {
    std::string Text = "one of ";
    for (std::size_t I = 0; I < Names.size(); ++I) {
        if (I > 0) Text += ", ";
        Text += Names[I];
    }
    return Text;
}

// ---- Writer ------------------------------------------------------------------------------------------

class TTextWriter {
public:
    std::string Text;

    void WriteObject(TPersistent& Object, int Depth, const std::string& Prefix) {
        TPropertyList& Properties = ListAt(Depth);
        Properties.Clear();
        Object.DefineProperties(Properties);
        for (const TPropertyInfo& Property : Properties.Items()) WriteProperty(Property, Depth, Prefix);
    }

    void Line(int Depth, std::string_view Content) {
        for (int I = 0; I < Depth; ++I) Text += IndentUnit;
        Text += Content;
        Text += '\n';
    }

private:
    TPropertyList& ListAt(int Depth) {
        while (static_cast<int>(FLists.size()) <= Depth) FLists.emplace_back();
        return FLists[static_cast<std::size_t>(Depth)];
    }

    void WriteProperty(const TPropertyInfo& Property, int Depth, const std::string& Prefix) {
        if (Property.Kind == TPropertyKind::Legacy) return;
        if (Property.IsStored != nullptr && !Property.IsStored(Property.Object)) return;
        if (Property.IsDefault()) return;
        const std::string Name = Prefix + std::string(Property.Name);
        switch (Property.Kind) {
            case TPropertyKind::Collection: WriteCollection(Property, Name, Depth); return;
            case TPropertyKind::Object:
                WriteObject(Property.GetObject(Property.Object), Depth + 1, Name + ".");
                return;
            case TPropertyKind::Strings: WriteStrings(Property, Name, Depth); return;
            default: Line(Depth, Name + " = " + ScalarText(Property, Name)); return;
        }
    }

    static std::string ScalarText(const TPropertyInfo& Property, const std::string& Name) {
        switch (Property.Kind) {
            case TPropertyKind::Boolean:
            case TPropertyKind::Enumeration: {
                const std::int64_t Ordinal = Property.GetOrdinal(Property.Object);
                if (Ordinal < 0 || Ordinal >= static_cast<std::int64_t>(Property.Names.size()))
                    throw EConvertError(Format(SStreamCannotWrite, {Name, IntToStr(Ordinal)}));
                return std::string(Property.Names[static_cast<std::size_t>(Ordinal)]);
            }
            case TPropertyKind::Integer: return IntToStr(Property.GetOrdinal(Property.Object));
            case TPropertyKind::Float: {
                const double Value = Property.GetFloat(Property.Object);
                if (!std::isfinite(Value))
                    throw EConvertError(Format(SStreamCannotWrite, {Name, FloatToStr(Value)}));
                return FloatToStr(Value);
            }
            default: {
                std::string Quoted;
                AppendQuoted(Quoted, Property.GetString(Property.Object));
                return Quoted;
            }
        }
    }

    /// One line of the text per stream line, so that the text reads as it is.
    void WriteStrings(const TPropertyInfo& Property, const std::string& Name, int Depth) {
        const std::string Lines = Property.GetStrings(Property.Object).GetText();
        Line(Depth, Name + " = (");
        std::string Quoted;
        for (std::size_t Start = 0; Start < Lines.size();) {
            const std::size_t End = Lines.find('\n', Start);
            Quoted.clear();
            AppendQuoted(Quoted, std::string_view(Lines).substr(Start, End - Start));
            Line(Depth + 1, Quoted);
            Start = End + 1;
        }
        Line(Depth, ")");
    }

    void WriteCollection(const TPropertyInfo& Property, const std::string& Name, int Depth) {
        const TCollection& Items = Property.GetCollection(Property.Object);
        if (Items.Count() == 0) {
            Line(Depth, Name + " = <>");
            return;
        }
        Line(Depth, Name + " = <");
        for (int Index = 0; Index < Items.Count(); ++Index) {
            TCollectionItem* Item = Items.GetItem(Index);
            Line(Depth + 1, Property.ItemClassStated ? std::string(ItemKeyword) + " " + Item->ClassName()
                                                     : std::string(ItemKeyword));
            WriteObject(*Item, Depth + 2, {});
            Line(Depth + 1, EndKeyword);
        }
        Line(Depth, ">");
    }

    std::deque<TPropertyList> FLists;  // one per depth, reused
};

}  // namespace

// ---- TComponentWriter --------------------------------------------------------------------------------

std::string TComponentWriter::Write(TPersistent& Root) {
    TTextWriter Writer;
    Writer.Line(0, std::string(ObjectKeyword) + " " + Root.ClassName());
    Writer.WriteObject(Root, 1, {});
    Writer.Line(0, EndKeyword);
    return std::move(Writer.Text);
}

// ---- TComponentReader --------------------------------------------------------------------------------

TComponentReader::TComponentReader(std::string_view Text) : FText(Text) {
    if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPosition = 3;  // a byte-order mark
}

std::string TComponentReader::ClassNameOf(std::string_view Text) {
    TComponentReader Reader(Text);
    std::string_view Name;
    if (!Reader.NextLine() || !SplitKeywordLine(Reader.FLine, ObjectKeyword, Name)) return {};
    return std::string(Name);
}

bool TComponentReader::NextLine() {
    while (FPosition < FText.size()) {
        const std::size_t End = FText.find_first_of("\r\n", FPosition);
        const std::size_t Stop = End == std::string_view::npos ? FText.size() : End;
        const std::string_view Raw = FText.substr(FPosition, Stop - FPosition);
        FPosition = Stop;
        if (FPosition < FText.size()) {  // LF, CR LF or a lone CR ends the line
            if (FText[FPosition] == '\r' && FPosition + 1 < FText.size() && FText[FPosition + 1] == '\n')
                ++FPosition;
            ++FPosition;
        }
        ++FLineNumber;
        FLine = Trimmed(Raw);
        if (!FLine.empty()) return true;
    }
    return false;
}

void TComponentReader::Error(std::string Message) const { Error(std::move(Message), FLineNumber, FLine); }

void TComponentReader::Error(std::string Message, int LineNumber, std::string_view LineText) const {
    throw EReadError(std::move(Message), LineNumber > 0 ? LineNumber : 1, std::string(LineText));
}

TPropertyList& TComponentReader::ListAt(int Depth) {
    while (static_cast<int>(FLists.size()) <= Depth) FLists.emplace_back();
    return FLists[static_cast<std::size_t>(Depth)];
}

void TComponentReader::ReadHeader(const TPersistent& Root) {
    if (!NextLine()) Error(SStreamUnexpectedEnd);
    std::string_view Name;
    if (!SplitKeywordLine(FLine, ObjectKeyword, Name) || Name.empty()) Error(SStreamObjectExpected);
    if (Name != Root.ClassName()) Error(Format(SStreamClassMismatch, {Name, Root.ClassName()}));
}

void TComponentReader::ReadBody(TPersistent& Root) {
    ReadProperties(Root, 0);
    if (NextLine()) Error(SStreamTrailingText);
}

void TComponentReader::ReadProperties(TPersistent& Object, int Depth) {
    if (Depth > MaxDepth) Error(Format(SStreamTooDeep, {MaxDepth}));
    TPropertyList& Properties = ListAt(Depth);
    Properties.Clear();
    Object.DefineProperties(Properties);
    for (;;) {
        if (!NextLine()) Error(SStreamUnexpectedEnd);
        if (FLine == EndKeyword) return;
        const std::size_t Equals = FLine.find('=');
        if (Equals == std::string_view::npos) Error(SStreamPropertyExpected);
        const std::string_view Name = Trimmed(FLine.substr(0, Equals));
        const std::string_view Value = Trimmed(FLine.substr(Equals + 1));
        Assign(Properties, Object, Name, Value, Depth);
    }
}

void TComponentReader::Assign(const TPropertyList& Properties, const TPersistent& Owner,
                              std::string_view Name, std::string_view Value, int Depth) {
    const std::size_t Dot = Name.find('.');
    const TPropertyInfo* Property = Properties.Find(Name.substr(0, Dot));
    if (Property == nullptr || (Dot != std::string_view::npos && Property->Kind != TPropertyKind::Object))
        Error(Format(SStreamUnknownProperty, {Name, Owner.ClassName()}));
    if (Dot != std::string_view::npos) {
        if (Depth + 1 > MaxDepth) Error(Format(SStreamTooDeep, {MaxDepth}));
        TPersistent& Object = Property->GetObject(Property->Object);
        TPropertyList& Inner = ListAt(Depth + 1);
        Inner.Clear();
        Object.DefineProperties(Inner);
        Assign(Inner, Object, Name.substr(Dot + 1), Value, Depth + 1);
        return;
    }
    try {
        AssignValue(*Property, Value, Depth);
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& E) {  // refused by a setter: the stream's error, on this line
        Error(E.Message());
    }
}

void TComponentReader::AssignValue(const TPropertyInfo& Property, std::string_view Value, int Depth) {
    const std::string Name(Property.Name);
    switch (Property.Kind) {
        case TPropertyKind::Boolean:
        case TPropertyKind::Enumeration: {
            for (std::size_t I = 0; I < Property.Names.size(); ++I) {
                if (Property.Names[I] != Value) continue;
                Property.SetOrdinal(Property.Object, static_cast<std::int64_t>(I));
                return;
            }
            Error(Format(SStreamInvalidValue, {Name, JoinNames(Property.Names)}));
        }
        case TPropertyKind::Integer: {
            std::int64_t Number = 0;
            const TNumberStatus Status = ParseInteger(Value, Number);
            if (Status == TNumberStatus::Invalid) Error(Format(SStreamInvalidValue, {Name, "an integer"}));
            if (Status == TNumberStatus::OutOfRange || Number < Property.Minimum || Number > Property.Maximum)
                Error(Format(SStreamValueOutOfRange, {Name, Value}));
            Property.SetOrdinal(Property.Object, Number);
            return;
        }
        case TPropertyKind::Float: {
            double Number = 0;
            const TNumberStatus Status = ParseNumber(Value, Number);
            if (Status == TNumberStatus::Invalid) Error(Format(SStreamInvalidValue, {Name, "a number"}));
            if (Status == TNumberStatus::OutOfRange) Error(Format(SStreamValueOutOfRange, {Name, Value}));
            Property.SetFloat(Property.Object, Number);
            return;
        }
        case TPropertyKind::String: {
            std::string Text;
            if (!ParseQuoted(Value, Text)) Error(Format(SStreamInvalidValue, {Name, "a quoted string"}));
            Property.SetString(Property.Object, Text);
            return;
        }
        case TPropertyKind::Strings: ReadStrings(Property, Value); return;
        case TPropertyKind::Collection: ReadCollection(Property, Value, Depth); return;
        case TPropertyKind::Object: Error(Format(SStreamInvalidValue, {Name, Name + ".<property>"}));
        case TPropertyKind::Legacy:
            FLegacyName = Property.Name;
            FLegacyValue = Value;
            Property.ReadLegacy(Property.Object, Property.Name, *this);
            return;
    }
}

void TComponentReader::ReadStrings(const TPropertyInfo& Property, std::string_view Value) {
    const TOwned<TStringList> Lines = Make<TStringList>();
    if (Value != "()") {
        if (Value != "(") Error(Format(SStreamInvalidValue, {Property.Name, "\"(\" or \"()\""}));
        std::string Text;
        for (;;) {
            if (!NextLine()) Error(SStreamUnexpectedEnd);
            if (FLine == ")") break;
            if (!ParseQuoted(FLine, Text))
                Error(Format(SStreamInvalidValue, {Property.Name, "a quoted line or \")\""}));
            Lines->Add(Text);
        }
    }
    Property.SetStrings(Property.Object, *Lines);
}

void TComponentReader::ReadCollection(const TPropertyInfo& Property, std::string_view Value, int Depth) {
    if (Value != "<" && Value != "<>") Error(Format(SStreamInvalidValue, {Property.Name, "\"<\" or \"<>\""}));
    TCollection& Items = Property.GetCollection(Property.Object);
    const TUpdateGuard Update(Items);
    Items.Clear();
    if (Value == "<>") return;
    for (;;) {
        if (!NextLine()) Error(SStreamUnexpectedEnd);
        if (FLine == ">") return;
        std::string_view ClassName;
        if (!SplitKeywordLine(FLine, ItemKeyword, ClassName)) Error(SStreamItemExpected);
        const int ItemLine = FLineNumber;
        const std::string ItemText(FLine);
        TCollectionItem* Item = nullptr;
        if (ClassName.empty()) {
            Item = Items.Add();
        } else {
            const std::optional<TCollectionItemClass> Class = FindClass(ClassName);
            if (!Class) Error(Format(SStreamUnknownClass, {ClassName}));
            Item = Class->Create(&Items);
        }
        ReadProperties(*Item, Depth + 1);
        if (Property.ItemRead == nullptr) continue;
        try {
            Property.ItemRead(*Item);
        } catch (const Exception& E) {
            Error(E.Message(), ItemLine, ItemText);
        }
    }
}

double TComponentReader::ReadFloat() {
    double Number = 0;
    const TNumberStatus Status = ParseNumber(FLegacyValue, Number);
    if (Status == TNumberStatus::Invalid) Error(Format(SStreamInvalidValue, {FLegacyName, "a number"}));
    if (Status == TNumberStatus::OutOfRange)
        Error(Format(SStreamValueOutOfRange, {FLegacyName, FLegacyValue}));
    return Number;
}

std::int64_t TComponentReader::ReadInt64() {
    std::int64_t Number = 0;
    const TNumberStatus Status = ParseInteger(FLegacyValue, Number);
    if (Status == TNumberStatus::Invalid) Error(Format(SStreamInvalidValue, {FLegacyName, "an integer"}));
    if (Status == TNumberStatus::OutOfRange)
        Error(Format(SStreamValueOutOfRange, {FLegacyName, FLegacyValue}));
    return Number;
}

}  // namespace fzl
