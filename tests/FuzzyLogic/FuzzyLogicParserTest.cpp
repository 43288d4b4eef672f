#include <gtest/gtest.h>

#include <string>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>

#include "TestParser.h"

namespace fzl {
namespace {

// Reports a fixed parsed text and line, as a parser in the middle of a text would.
struct TTextParser final : test::TStubParser {
    std::string Text;
    int Line = 0;
    std::string GetParsedText() const override { return Text; }
    int GetLineNumber() const override { return Line; }
};

/// The message and line of the parse error Call raises.
template <typename F>
std::pair<std::string, int> ParseErrorOf(F Call) {
    try {
        Call();
    } catch (const EFzyException& Error) {  // parse errors are model errors too
        const auto* Parse = dynamic_cast<const EFzyParseException*>(&Error);
        return {Error.Message(), Parse != nullptr ? Parse->LineNumber() : -1};
    }
    return {"no exception", -1};
}

TEST(FuzzyLogicParser, ParseErrorFormShorteningAndQuoting) {
    auto Parser = Make<TTextParser>();
    Parser->Text = "( term x ";
    Parser->Line = 3;
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseError("ParseFuzzySet", "Expected \")\""); }),
              std::make_pair(
                  std::string("Parsing Error, Expected \")\" in ParseFuzzySet at line 3: \"( term x \""), 3));

    // 255 characters are quoted whole; 256 become the first 128, "... ", CR LF and the 128
    // before the last, counted in characters (here two-byte ones), never splitting one.
    auto Quoted = [&](const std::string& Text) {
        Parser->Text = Text;
        const std::string Message = ParseErrorOf([&] { Parser->ParseError("W", "M"); }).first;
        const std::string Prefix = "Parsing Error, M in W at line 3: \"";
        return Message.substr(Prefix.size(), Message.size() - Prefix.size() - 1);
    };
    std::string Letters;
    for (int Index = 0; Index < 256; ++Index) Letters += static_cast<char>('a' + Index % 26);
    EXPECT_EQ(Quoted(Letters.substr(0, 255)), Letters.substr(0, 255));
    const std::string Short = Quoted(Letters);
    EXPECT_EQ(Short.size(), 262U);
    EXPECT_EQ(Short, Letters.substr(0, 128) + "... \r\n" + Letters.substr(127, 128));
    std::string Wide;
    for (int Index = 0; Index < 255; ++Index) Wide += "é";
    EXPECT_EQ(Quoted(Wide), Wide);
    Wide += "ü";
    std::string Half;
    for (int Index = 0; Index < 128; ++Index) Half += "é";
    EXPECT_EQ(Quoted(Wide), Half + "... \r\n" + Half);

    // Message, text and arguments are quoted, never formatted again.
    Parser->Text = "%d";
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseError("W", "%s%n"); }).first,
              "Parsing Error, %s%n in W at line 3: \"%d\"");
    EXPECT_EQ(ParseErrorOf([&] { Parser->ParseError("W", "Unknown function name: \"%s\"", {"%s%n"}); }).first,
              "Parsing Error, Unknown function name: \"%s%n\" in W at line 3: \"%d\"");
}

}  // namespace
}  // namespace fzl
