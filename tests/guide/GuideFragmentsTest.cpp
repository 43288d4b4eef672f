// The code blocks of the user guide and the README are copies of source regions that the
// build compiles (and the tests run), so they cannot rot. A block is tied to its region by
// the line just above its opening fence:
//
//     <!-- fragment: tests/guide/GuideTest.cpp#rules -->
//
// names the lines between "[guide:rules]" and "[/guide:rules]" in that file (paths from
// the repository root, under examples/ or tests/). The block must equal those lines less
// their common indentation. Every ```cpp block needs such a line; other blocks are
// checked when they have one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using TLines = std::vector<std::string>;

const fs::path RepositoryRoot = fs::path(FZL_TEST_SOURCE_DIR).parent_path();

TLines ReadLines(const fs::path& Path) {
    std::ifstream File(Path);
    TLines Lines;
    for (std::string Line; std::getline(File, Line);) Lines.push_back(Line);
    return Lines;
}

std::string Join(const TLines& Lines) {
    std::string Text;
    for (const std::string& Line : Lines) Text += Line + "\n";
    return Text;
}

bool StartsWith(const std::string& Text, const std::string& Prefix) { return Text.rfind(Prefix, 0) == 0; }

// The lines less the indentation they all share (blank lines do not count).
TLines Dedent(TLines Lines) {
    std::size_t Common = std::string::npos;
    for (const std::string& Line : Lines)
        if (Line.find_first_not_of(' ') != std::string::npos)
            Common = std::min(Common, Line.find_first_not_of(' '));
    for (std::string& Line : Lines) Line = Line.size() > Common ? Line.substr(Common) : "";
    return Lines;
}

// Reads the region NAME of the file at Path into Region; returns why there is none, or "".
std::string ReadRegion(const std::string& Path, const std::string& Name, TLines& Region) {
    if (!StartsWith(Path, "examples/") && !StartsWith(Path, "tests/"))
        return Path + " is not compiled by the build (fragments come from examples/ or tests/)";
    const TLines Lines = ReadLines(RepositoryRoot / Path);
    const std::string Begin = "[guide:" + Name + "]", End = "[/guide:" + Name + "]";
    const auto Marked = [](const std::string& Marker) {
        return [&Marker](const std::string& Line) { return Line.find(Marker) != std::string::npos; };
    };
    const auto First = std::find_if(Lines.begin(), Lines.end(), Marked(Begin));
    const auto Last = std::find_if(First, Lines.end(), Marked(End));
    if (Last == Lines.end()) return "no region " + Begin + " ... " + End + " in " + Path;
    if (std::count_if(Lines.begin(), Lines.end(), Marked(Begin)) != 1)
        return Begin + " is marked more than once in " + Path;
    Region = Dedent(TLines(First + 1, Last));
    return "";
}

struct TBlock {
    int Line;  // of the opening fence, from 1
    std::string Language;
    std::string Fragment;  // "path#name", or empty
    TLines Body;
};

// The fenced blocks of a Markdown file.
std::vector<TBlock> ReadBlocks(const TLines& Lines) {
    static const std::string Marker = "<!-- fragment: ";
    std::vector<TBlock> Blocks;
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        if (!StartsWith(Lines[I], "```")) continue;
        TBlock Block{static_cast<int>(I) + 1, Lines[I].substr(3), "", {}};
        if (I > 0 && StartsWith(Lines[I - 1], Marker)) {
            const std::string& Above = Lines[I - 1];
            Block.Fragment = Above.substr(Marker.size(), Above.rfind(" -->") - Marker.size());
        }
        while (++I < Lines.size() && !StartsWith(Lines[I], "```")) Block.Body.push_back(Lines[I]);
        Blocks.push_back(std::move(Block));
    }
    return Blocks;
}

// Checks every block of the Markdown file Document; returns the number of fragments.
int CheckDocument(const std::string& Document) {
    const TLines Lines = ReadLines(RepositoryRoot / Document);
    EXPECT_FALSE(Lines.empty()) << Document << " is missing";
    int Fragments = 0;
    for (const TBlock& Block : ReadBlocks(Lines)) {
        const std::string Where = Document + ":" + std::to_string(Block.Line);
        if (Block.Fragment.empty()) {
            EXPECT_NE(Block.Language, "cpp") << Where << ": a cpp block without a fragment line above it";
            continue;
        }
        const std::size_t Hash = Block.Fragment.find('#');
        TLines Region;
        const std::string Error =
            Hash == std::string::npos
                ? "'" + Block.Fragment + "' is not path#name"
                : ReadRegion(Block.Fragment.substr(0, Hash), Block.Fragment.substr(Hash + 1), Region);
        if (!Error.empty()) {
            ADD_FAILURE() << Where << ": " << Error;
            continue;
        }
        EXPECT_EQ(Join(Block.Body), Join(Region))
            << Where << ": the block differs from " << Block.Fragment << " (copy the region into the block)";
        ++Fragments;
    }
    return Fragments;
}

TEST(Guide, CodeBlocksAreCopiesOfCompiledSources) {
    EXPECT_GE(CheckDocument("docs/guide.md"), 10);
    EXPECT_GE(CheckDocument("README.md"), 1);
}

// The checker itself: a block that drifted from its region, a missing region, an
// unmarked cpp block and a region outside the compiled folders are all reported.
TEST(Guide, FragmentCheckerCatchesDrift) {
    const auto Blocks = ReadBlocks({"text", "<!-- fragment: tests/guide/GuideTest.cpp#sets -->", "```cpp",
                                    "a", "  b", "```", "```cpp", "c", "```"});
    ASSERT_EQ(Blocks.size(), 2u);
    EXPECT_EQ(Blocks[0].Line, 3);
    EXPECT_EQ(Blocks[0].Fragment, "tests/guide/GuideTest.cpp#sets");
    EXPECT_EQ(Join(Blocks[0].Body), "a\n  b\n");
    EXPECT_EQ(Blocks[1].Fragment, "");
    EXPECT_EQ(Join(Dedent({"    x", "", "      y"})), "x\n\n  y\n");

    TLines Region;
    EXPECT_EQ(ReadRegion("tests/guide/GuideTest.cpp", "sets", Region), "");
    EXPECT_TRUE(StartsWith(Region.front(), "TFuzzySet* Warm"));
    EXPECT_NE(ReadRegion("tests/guide/GuideTest.cpp", "no-such-region", Region), "");
    EXPECT_NE(ReadRegion("src/FuzzyLogic/FuzzySet.cpp", "sets", Region).find("not compiled"),
              std::string::npos);
}

}  // namespace
