#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <fzl/support/EnumInfo.h>

#include "VXFuzzyLogicParser/ParserTestModel.h"

namespace fzl {
namespace {

using TToken = TIntfPtr<IFuzzyStreamToken>;

TOwned<TFuzzyLogicTokenStream> StreamOf(std::string Text) {
    return Make<TFuzzyLogicTokenStream>(std::move(Text));
}

/// "Kind:printed form@line", punctuation kinds by their character.
std::string Describe(const TToken& Token) {
    const int Kind = Token->GetDataType();
    const std::string Name =
        Kind >= fstNone && Kind <= fstFuzzySet
            ? std::string(GetEnumName(static_cast<TFuzzyStreamTokenType>(Kind)).substr(3))
            : std::string(1, static_cast<char>(Kind));
    return Name + ":" + Token->ToString() + "@" + std::to_string(Token->GetLineNumber());
}

/// Every token of Text up to the end token, described and joined by " | ".
std::string Tokens(std::string Text) {
    auto Stream = StreamOf(std::move(Text));
    std::string Result;
    for (;;) {
        const TToken Token = Stream->NextToken();
        Result += Describe(Token);
        if (Token->GetDataType() == fstNone) return Result;
        Result += " | ";
    }
}

std::string ErrorReading(std::string Text) {
    return test::ParseErrorOf([&] { (void)Tokens(std::move(Text)); });
}

TEST(FuzzyLogicTokenStream, KindsNumbersAndWordEnds) {
    EXPECT_EQ(Tokens(""), "None:EOF@1");
    EXPECT_EQ(Tokens("(deffuzzy températur \"a \\\"q\\\" b\\\\c\")"),
              "(:(@1 | Atom:deffuzzy@1 | Atom:températur@1 | String:a \"q\" b\\c@1 | ):)@1 | None:EOF@1");
    // Numbers: [+-]?(D+(.D*)?|.D+)([eE][+-]?D+)?; integers within 32 bits; nothing else.
    EXPECT_EQ(Tokens("12 -3 +7 08 2147483647 -2147483648 2147483648 1.5e2 .5 1. -.5e-3 1E+2"),
              "Integer:12@1 | Integer:-3@1 | Integer:7@1 | Integer:8@1 | Integer:2147483647@1 | "
              "Integer:-2147483648@1 | Float:2147483648@1 | Float:150@1 | Float:0.5@1 | Float:1@1 | "
              "Float:-5e-04@1 | Float:100@1 | None:EOF@1");
    EXPECT_EQ(
        Tokens("1e400 1e-400 -1e-400 0x1A inf nan 12abc 1e 1e+ +-1 -x . - + e"),
        "Atom:1e400@1 | Float:0@1 | Float:-0@1 | Atom:0x1A@1 | Atom:inf@1 | Atom:nan@1 | Atom:12abc@1 | "
        "Atom:1e@1 | Atom:1e+@1 | Atom:+-1@1 | Atom:-x@1 | Atom:.@1 | Atom:-@1 | Atom:+@1 | Atom:e@1 | "
        "None:EOF@1");
    // Variables, punctuation, and where words end: "<" ends a word, "=" and ">" do not.
    EXPECT_EQ(
        Tokens("?x ? x<y <= a=b x>y = & [ ] | ~ a\\(b a\"s\" a;c\nz"),
        "Variable:x@1 | Variable:@1 | Atom:x@1 | Atom:<y@1 | Atom:<=@1 | Atom:a=b@1 | Atom:x>y@1 | =:=@1 | "
        "&:&@1 | [:[@1 | ]:]@1 | |:|@1 | ~:~@1 | Atom:a(b@1 | Atom:a@1 | String:s@1 | Atom:a@1 | Atom:z@2 | "
        "None:EOF@2");

    // Number tokens keep an empty text; white space and comments before a token are its own only.
    auto Stream = StreamOf("  ; note\n  ?a  -  12");
    const TToken Variable = Stream->NextToken();
    EXPECT_EQ(Variable->GetWhitespace(), "  ; note\r\n  ");
    EXPECT_EQ(Stream->NextToken()->GetWhitespace(), "  ");
    const TToken Number = Stream->NextToken();
    EXPECT_EQ(Number->GetText(), "");
    EXPECT_EQ(Number->GetWhitespace(), "  ");
    EXPECT_EQ(Stream->ToString(), "12 ");  // the echo of the current construct
}

TEST(FuzzyLogicTokenStream, WordsStringsAndBlanksEndOnTheirLastByte) {
    // A word ends at an escape, a line end or the end of the text, its last byte included.
    EXPECT_EQ(Tokens("ab\\"), "Atom:ab@1 | None:EOF@1");  // an escape with nothing left to escape
    EXPECT_EQ(Tokens("ab\\ c\\\\"), "Atom:ab c\\@1 | None:EOF@1");
    EXPECT_EQ(Tokens("ab\r\ncd\\\r\ne"), "Atom:ab@1 | Atom:cd\r\ne@3 | None:EOF@3");
    // Another escape character: the usual one is then a plain byte.
    auto Percent = StreamOf("a\\b%;c%");
    Percent->SetEscapeChar('%');
    EXPECT_EQ(Describe(Percent->NextToken()), "Atom:a\\b;c@1");
    // Another closing quote: a double quote inside a string is then a plain byte.
    auto Quote = StreamOf("\"a\"b' c");
    Quote->SetQuoteChar('\'');
    EXPECT_EQ(Describe(Quote->NextToken()), "String:a\"b@1");
    // Changed between constructs, they hold from the next construct read on.
    auto Changed = StreamOf("a%b\n(c%d 'e\"f' ) \"g'h\"");
    EXPECT_EQ(Describe(Changed->NextToken()), "Atom:a%b@1");
    Changed->SetEscapeChar('%');
    Changed->SetQuoteChar('\'');
    EXPECT_EQ(Describe(Changed->NextToken()), "(:(@2");
    EXPECT_EQ(Describe(Changed->NextToken()), "Atom:cd@2");
    EXPECT_EQ(Describe(Changed->NextToken()), "Atom:'e@2");
    EXPECT_EQ(Describe(Changed->NextToken()), "String:f@2");
    EXPECT_EQ(Describe(Changed->NextToken()), "):)@2");
    Changed->SetQuoteChar('"');
    EXPECT_EQ(Describe(Changed->NextToken()), "String:g'h@2");
    // White space keeps every blank and control byte up to and including one line end.
    auto Stream = StreamOf(std::string("a \t\0 b\t\r\n\t c", 12));
    EXPECT_EQ(Stream->NextToken()->GetWhitespace(), "");
    EXPECT_EQ(Stream->NextToken()->GetWhitespace(), std::string(" \t\0 ", 4));
    const TToken Last = Stream->NextToken();
    EXPECT_EQ(Last->GetWhitespace(), "\t\r\n\t ");
    EXPECT_EQ(Describe(Last), "Atom:c@2");
}

TEST(FuzzyLogicTokenStream, LinesAsAnEditorShowsThem) {
    struct TCase {
        std::string Text;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"a\nb\r\nc\rd", "Atom:a@1 | Atom:b@2 | Atom:c@3 | Atom:d@4 | None:EOF@4"},
        {"a\r\n\r\n\rb\n", "Atom:a@1 | Atom:b@4 | None:EOF@5"},
        // A string carries the line it ends on; its line ends count once each.
        {"\"x\ny\" z", "String:x\ny@2 | Atom:z@2 | None:EOF@2"},
        {"\"x\r\ny\rw\" z", "String:x\r\ny\rw@3 | Atom:z@3 | None:EOF@3"},
        // Escaped line ends: in a string and in a word, CR LF still one line.
        {"\"a\\\r\nb\" c", "String:a\r\nb@2 | Atom:c@2 | None:EOF@2"},
        {"a\\\nb c\nd", "Atom:a\nb@2 | Atom:c@2 | Atom:d@3 | None:EOF@3"},
        // Comments: to the end of their line, which is counted; one at the end has none to count.
        {"; one\r\n;two\ra ;three\rb ;end", "Atom:a@3 | Atom:b@4 | None:EOF@4"},
        // The end of input: a last line end counts, a missing one does not.
        {"a", "Atom:a@1 | None:EOF@1"},
        {"a\r", "Atom:a@1 | None:EOF@2"},
        {"\n\n", "None:EOF@3"},
        // NUL is white space outside strings; a byte-order mark is skipped.
        {std::string("a\0b\0\nc", 7), "Atom:a@1 | Atom:b@1 | Atom:c@2 | None:EOF@2"},
        {"\xEF\xBB\xBFx", "Atom:x@1 | None:EOF@1"},
    };
    for (const TCase& Case : Cases) EXPECT_EQ(Tokens(Case.Text), Case.Expected) << Case.Text;

    // Skipping a line at the end adds no line; after the end every call gives the end token.
    auto Stream = StreamOf("a ; rest");
    (void)Stream->NextToken();
    for (int Call = 0; Call < 3; ++Call) Stream->DiscardUntilEOL();
    EXPECT_EQ(Stream->GetLineNumber(), 1);
    EXPECT_EQ(Describe(Stream->NextToken()), "None:EOF@1");
    EXPECT_EQ(Describe(Stream->NextToken()), "None:EOF@1");
}

TEST(FuzzyLogicTokenStream, ErrorsCarryTheirLine) {
    const std::string Unbalanced = "Unbalanced string: the text ends before its closing quote";
    EXPECT_EQ(ErrorReading("(a\n\"open\nmore\n"), Unbalanced + " @2");  // the opening quote's line
    EXPECT_EQ(ErrorReading("\"ab\\"), Unbalanced + " @1");
    const std::string Nul = "Invalid character #0 in a string or after an escape character";
    EXPECT_EQ(ErrorReading(std::string("\n\"a\0\"", 5)), Nul + " @2");
    EXPECT_EQ(ErrorReading(std::string("a\\\0", 3)), Nul + " @1");
    EXPECT_EQ(ErrorReading(std::string(256, '(')), "none");
    EXPECT_EQ(ErrorReading("\n" + std::string(257, '(')),
              "Parentheses nested too deeply: more than 256 levels @2");
    EXPECT_EQ(test::ParseErrorOf([] { (void)StreamOf("x")->FinishToken(7, "x"); }),
              "Invalid token type hint: 7 @1");
}

TEST(FuzzyLogicTokenStream, ReadAheadPutBackAndTheEcho) {
    // One whole construct is read ahead: the broken string inside it fails the first call.
    EXPECT_EQ(ErrorReading("(a \"open"), "Unbalanced string: the text ends before its closing quote @1");
    auto Single = StreamOf("a \"open");
    EXPECT_EQ(Describe(Single->NextToken()), "Atom:a@1");  // a construct of one token
    EXPECT_THROW((void)Single->NextToken(), EFzyParseException);

    auto Stream = StreamOf("(a\n(b c)) ) d");
    EXPECT_EQ(Stream->GetCurrentToken()->ToString(), "(");
    (void)Stream->NextToken();
    const TToken Inner = Stream->NextToken();
    EXPECT_EQ(Stream->ToString(), "( a \r\n( ");
    EXPECT_EQ(Stream->GetParenthesisLevel(), 2);
    // Putting back restores the echo and the level exactly, also two tokens in a row.
    const TToken B = Stream->NextToken();
    Stream->PutBackToken(B);
    Stream->PutBackToken(Inner);
    EXPECT_EQ(Stream->ToString(), "( a ");
    EXPECT_EQ(Stream->GetParenthesisLevel(), 1);
    EXPECT_EQ(Stream->GetCurrentToken(), Inner);
    EXPECT_EQ(Stream->NextToken(), Inner);
    EXPECT_EQ(Stream->NextToken(), B);
    EXPECT_EQ(Stream->ToString(), "( a \r\n( b ");
    EXPECT_EQ(Stream->GetParenthesisLevel(), 2);
    // Skipping the rest of the construct stops at level 0; a lone ")" is a construct of its own.
    Stream->MoveToNextConstruct();
    EXPECT_EQ(Stream->ToString(), "( a \r\n( b c ) ) ");
    EXPECT_EQ(Describe(Stream->NextToken()), "):)@2");
    EXPECT_EQ(Stream->GetParenthesisLevel(), 0);
    EXPECT_EQ(Stream->ToString(), ") ");  // each construct's echo starts afresh
    EXPECT_EQ(Describe(Stream->NextToken()), "Atom:d@2");

    // A token that was not handed out last comes off the end of the echo by its printed form.
    auto Other = StreamOf("(ab cd)");
    (void)Other->NextToken();
    (void)Other->NextToken();
    Other->PutBackToken(Other->FinishToken(0, "x"));
    EXPECT_EQ(Other->ToString(), "( a ");
    EXPECT_EQ(Describe(Other->NextToken()), "Atom:x@1");

    // More put back than was read ahead: the tokens come back last put back first, then the text's.
    auto Many = StreamOf("a b");
    const TToken A = Many->NextToken();
    Many->PutBackToken(A);
    for (const char* Word : {"x", "y"}) Many->PutBackToken(Many->FinishToken(0, Word));
    EXPECT_EQ(Describe(Many->NextToken()), "Atom:y@1");
    EXPECT_EQ(Describe(Many->NextToken()), "Atom:x@1");
    EXPECT_EQ(Many->NextToken(), A);
    EXPECT_EQ(Many->ToString(), " y x a ");
    EXPECT_EQ(Describe(Many->NextToken()), "Atom:b@1");

    // A construct read ahead while tokens are pending comes before them.
    auto Pending = StreamOf("(a b) c");
    (void)Pending->NextToken();
    Pending->PrepareSExp();
    EXPECT_EQ(Describe(Pending->NextToken()), "Atom:c@1");
    EXPECT_EQ(Describe(Pending->NextToken()), "Atom:a@1");
    EXPECT_EQ(Pending->ToString(), "c a ");

    // Head names the word after "(" and leaves the "(" to be read again; after anything else
    // it names nothing and the token stays taken.
    auto Heads = StreamOf("(term x) y");
    EXPECT_EQ(Heads->Head(), "term");
    EXPECT_EQ(Heads->NextToken()->ToString(), "(");
    Heads->MoveToNextConstruct();
    EXPECT_EQ(Heads->Head(), "");
    EXPECT_EQ(Heads->NextToken()->GetDataType(), fstNone);
}

/// A tokenizer whose hand-outs the parser has to see one by one.
class TOwnTokens : public TFuzzyLogicTokenStream {
public:
    using TFuzzyLogicTokenStream::TFuzzyLogicTokenStream;

protected:
    ~TOwnTokens() override = default;
};

TEST(FuzzyLogicTokenStream, PeekLeavesAllAsReadingAndPuttingBack) {
    // Compared with a second tokenizer over the same text that reads and puts back: at the
    // start (nothing read ahead yet), after a token, and at a handed-in token object.
    auto Peeked = StreamOf("(a\n b) c");
    auto Read = StreamOf("(a\n b) c");
    const auto Same = [&](const char* Step) {
        const TLexeme* Ahead = Peeked->PeekLexeme();
        ASSERT_NE(Ahead, nullptr) << Step;
        const std::string Text = Ahead->Object ? Ahead->Object->GetText() : std::string(Ahead->Text);
        const TLexeme Token = Read->NextLexeme();
        Read->PutBackLexeme(Token);
        EXPECT_EQ(Text, Token.Object ? Token.Object->GetText() : std::string(Token.Text)) << Step;
        EXPECT_EQ(Peeked->ToString(), Read->ToString()) << Step;
        EXPECT_EQ(Peeked->GetParenthesisLevel(), Read->GetParenthesisLevel()) << Step;
        EXPECT_EQ(Peeked->CurrentLine(), Read->CurrentLine()) << Step;
        EXPECT_EQ(Describe(Peeked->NextToken()), Describe(Read->NextToken())) << Step;
        EXPECT_EQ(Peeked->ToString(), Read->ToString()) << Step;
    };
    Same("start");
    Same("after a token");
    Peeked->PutBackToken(Peeked->FinishToken(0, "x"));
    Read->PutBackToken(Read->FinishToken(0, "x"));
    Same("handed in");

    // A descendant's NextToken and PutBackToken see every step: no look, nothing done.
    auto Own = Make<TOwnTokens>("a b");
    EXPECT_EQ(Own->PeekLexeme(), nullptr);
    EXPECT_EQ(Own->Ahead(), nullptr);
    EXPECT_EQ(Own->GetParenthesisLevel(), 0);
    EXPECT_EQ(Describe(Own->NextToken()), "Atom:a@1");
}

}  // namespace
}  // namespace fzl
