// `fzl save`, and a saved stream standing in for a model file.

#include <gtest/gtest.h>

#include "RunProcess.h"

namespace fzl {
namespace {

using testing::ReadAll;
using testing::RunProcess;
using testing::TempFileName;
using testing::TProcessResult;
using testing::WriteAll;

const std::string Model = FZL_TEST_SOURCE_DIR "/../examples/fan_controller.fzl";
const std::string Rules = FZL_TEST_SOURCE_DIR "/../examples/fan_controller.rules";

TProcessResult Fzl(const std::vector<std::string>& Args) { return RunProcess(FZL_TOOL_PATH, Args, ""); }

TEST(FzlSave, SavedStreamWorksWhereTheModelFileDoes) {
    const std::vector<std::string> Infer{"infer",          "--rules", Rules,         "--input",
                                         "temperature=30", "--input", "humidity=85", "--json"};
    const std::string SavedClass = TempFileName("saved-class.fzm");
    for (const std::string Kind : {"class", "ref"}) {
        SCOPED_TRACE(Kind);
        const std::string Saved = Kind == "class" ? SavedClass : TempFileName("saved-ref.fzm");
        const TProcessResult Save =
            Fzl({"save", "--model", Kind, "--correlation", "product", Model, "-o", Saved});
        ASSERT_EQ(Save.Status, 0) << Save.Err;
        EXPECT_TRUE(Save.Out.empty());
        const std::string Stream = ReadAll(Saved);
        // The stream names its model, which does the work whatever --model says.
        EXPECT_EQ(Stream.rfind(Kind == "ref" ? "object TIFuzzyLogic\n" : "object TFuzzyLogic\n", 0), 0U);
        EXPECT_EQ(Fzl({"save", "--model", "class", Saved}).Out, Stream);
        EXPECT_EQ(Fzl({"save", "--model", "ref", Saved}).Out, Stream);

        std::vector<std::string> FromModel = Infer, FromStream = Infer;
        FromModel.insert(FromModel.begin() + 1, {Model, "--correlation", "product", "--model", Kind});
        FromStream.insert(FromStream.begin() + 1, Saved);
        const TProcessResult Expected = Fzl(FromModel);
        ASSERT_EQ(Expected.Status, 0) << Expected.Err;
        EXPECT_EQ(Fzl(FromStream).Out, Expected.Out);
        EXPECT_EQ(Fzl({"dom", Saved, "humidity", "normal", "25", "37.5"}).Out, "25  0.0000\n37.5  0.5000\n");
    }
    EXPECT_EQ(Fzl({"print", SavedClass}).Out, Fzl({"print", Model}).Out);
    // Settings given on the command line override those of the stream; the rest stay.
    const std::string Resaved = Fzl({"save", SavedClass, "--threshold", "0.5"}).Out;
    EXPECT_NE(Resaved.find("\n  CorrelationMethod = fcmProduct\n  Threshold = 0.5\n"), std::string::npos)
        << Resaved;
}

TEST(FzlSave, BrokenStreamIsAnErrorWithItsLine) {
    const std::string Broken = TempFileName("broken.fzm");
    WriteAll(Broken, "object TFuzzyLogic\n  Threshold = 0.5\n  Bogus = 1\nend\n");
    const TProcessResult Check = Fzl({"check", Broken});
    EXPECT_EQ(Check.Status, 1);
    EXPECT_EQ(Check.Err, Broken +
                             ":3: Parsing Error, Unknown property \"Bogus\" of TFuzzyLogic in LoadComponent "
                             "at line 3: \"Bogus = 1\"\n");
    const TProcessResult Usage = Fzl({"save", Model, Model});
    EXPECT_EQ(Usage.Status, 2);
    EXPECT_EQ(Usage.Err, "fzl save: unexpected argument \"" + Model + "\"; see 'fzl save --help'\n");
}

}  // namespace
}  // namespace fzl
