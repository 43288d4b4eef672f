#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <fzl/support/PostFix.h>
#include <fzl/support/TextStream.h>

namespace fzl {
namespace {

/// Postfix order of the blank-separated words of Infix with the expression priorities:
/// hedges (very, not) bind tighter than the binary keywords, brackets group.
std::string PostFixOf(const std::string& Infix) {
    std::vector<std::string> Words;
    std::istringstream Stream(Infix);
    for (std::string Word; Stream >> Word;) Words.push_back(Word);
    auto IsHedge = [](const std::string& W) { return W == "very" || W == "not"; };
    auto IsKeyword = [](const std::string& W) { return W == "and" || W == "or"; };
    auto InStack = [&](const std::string& W) { return W == "[" ? 4 : IsKeyword(W) ? 3 : IsHedge(W) ? 2 : 1; };
    auto Incoming = [&](const std::string& W) { return W == "[" ? 0 : IsKeyword(W) ? 3 : 1; };
    const std::vector<std::string> Result = PostFix<std::string>(
        Words, [](const std::string& W) { return W == "["; }, [](const std::string& W) { return W == "]"; },
        [&](const std::string& W) { return !IsHedge(W) && !IsKeyword(W) && W != "[" && W != "]"; }, InStack,
        Incoming);
    std::string Joined;
    for (const std::string& Word : Result) Joined += (Joined.empty() ? "" : " ") + Word;
    return Joined;
}

TEST(PostFix, PrioritiesBracketsAndLeftGrouping) {
    EXPECT_EQ(PostFixOf("a and b or c"), "a b and c or");  // equal priority groups from the left
    EXPECT_EQ(PostFixOf("very not hot"), "hot not very");  // nested hedges from the inside out
    EXPECT_EQ(PostFixOf("very hot and cold"), "hot very cold and");
    EXPECT_EQ(PostFixOf("very [ hot and cold ]"), "hot cold and very");
    EXPECT_EQ(PostFixOf("a and [ b or c ]"), "a b c or and");
    EXPECT_EQ(PostFixOf("a ] and b"), "a ] b and");  // unpaired brackets reach the output
    EXPECT_EQ(PostFixOf("[ a and b"), "a b and [");
    EXPECT_EQ(PostFixOf(""), "");
}

TEST(TextStream, PutBackOnlyWhatWasRead) {
    auto Stream = Make<TGTextStream>("a\r");
    char C = '\0';
    EXPECT_FALSE(Stream->PutBack());  // nothing read yet
    ASSERT_TRUE(Stream->GetChar(C));
    EXPECT_TRUE(Stream->PutBack());
    EXPECT_FALSE(Stream->PutBack());  // one byte only
    EXPECT_EQ(Stream->GetLine(), "a");
    EXPECT_FALSE(Stream->GetChar(C));
    EXPECT_FALSE(Stream->PutBack());  // a failed read gives nothing back: the CR is not read again
    EXPECT_TRUE(Stream->IsEof());
}

}  // namespace
}  // namespace fzl
