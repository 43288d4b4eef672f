#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyStreaming/ComponentStreaming.h>
#include <fzl/support/ClassRegistry.h>
#include <fzl/support/ComponentStream.h>
#include <fzl/support/Format.h>

namespace fzl {

namespace {

constexpr const char* LoadWhere = "LoadComponent";
constexpr std::size_t MaxEchoLength = 255;

// The classes a stream of the class model states unless the application registers its own.
void RegisterModelClasses() {
    static const bool Registered = [] {
        RegisterClass<TFuzzySet>();
        RegisterClass<TFuzzyVariable>();
        return true;
    }();
    static_cast<void>(Registered);
}

// A long line is cut, on a character boundary of UTF-8, to keep the message readable.
std::string Echo(const std::string& Line) {
    if (Line.size() <= MaxEchoLength) return Line;
    std::size_t End = MaxEchoLength;
    while (End > 0 && (static_cast<unsigned char>(Line[End]) & 0xC0) == 0x80) --End;
    return Line.substr(0, End) + "...";
}

}  // namespace

std::string SaveComponent(TCustomFuzzyLogic& Component) { return TComponentWriter::Write(Component); }

void LoadComponent(std::string_view Text, TCustomFuzzyLogic& Component) {
    RegisterModelClasses();
    TComponentReader Reader(Text);
    try {
        Reader.ReadHeader(Component);
        Component.LoadFrom([&] { Reader.ReadBody(Component); });
    } catch (const EReadError& Error) {
        throw EFzyParseException(
            Format(SFzyParseError,
                   {Error.Message(), LoadWhere, IntToStr(Error.LineNumber()), Echo(Error.LineText())}),
            Error.LineNumber());
    }
}

std::string StreamClassName(std::string_view Text) { return TComponentReader::ClassNameOf(Text); }

}  // namespace fzl
