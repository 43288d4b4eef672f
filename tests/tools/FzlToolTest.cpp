// The fzl program end to end, as a process: arguments in; standard output, standard error
// and exit status out.

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <tuple>

#include "../../examples/FanController.h"
#include "RunProcess.h"
#include "SvgPlot.h"
#include "XmlCheck.h"

namespace fzl {
namespace {

using testing::RunProcess;
using testing::TempFileName;
using testing::TProcessResult;
using testing::WriteAll;

const std::string Examples = FZL_TEST_SOURCE_DIR "/../examples/";
const std::string Model = Examples + "fan_controller.fzl";
const std::string Rules = Examples + "fan_controller.rules";

TProcessResult Fzl(const std::vector<std::string>& Args, const std::string& Input = "") {
    return RunProcess(FZL_TOOL_PATH, Args, Input);
}

// The program's default run is the bundled example, whose every input the rule-base tests check
// against the C++ controller.
TEST(FzlTool, BundledExampleIsTheCppFanController) {
    const TProcessResult Class = Fzl({});
    ASSERT_EQ(Class.Status, 0) << Class.Err;
    char Speed[32];
    std::snprintf(Speed, sizeof Speed, "%8.4f %%\n", examples::TFanController().Speed(22, 50));
    EXPECT_NE(Class.Out.find(Speed), std::string::npos) << Class.Out;
    EXPECT_EQ(Fzl({"--model", "ref"}).Out, Class.Out);
    EXPECT_TRUE(Class.Err.empty());
}

TEST(FzlTool, EveryCommandGivesTheSameOutputInBothModels) {
    const std::string Csv = "temperature, humidity\n# a comment\n22,50\n\n38,85\n";
    const std::vector<std::vector<std::string>> Commands{
        {"check", Model},
        {"print", Model},
        {"print", "--json", "--no-auto-terms", Model},
        {"eval", Model, "temperature", "very", "warm", "or", "cold"},
        {"eval", "--json", "--defuzz", "mom", "--var", "w=warm", Model, "temperature", "somewhat ?w"},
        {"dom", Model, "humidity", "normal", "25", "37.5", "-3", "50"},
        {"infer", Model, "--rules", Rules, "--input", "temperature=22", "--fact", "humidity=(tri 40 50 60)",
         "--explain", "--correlation", "product", "--inference", "sum", "--threshold", "0.2"},
        {"infer", "--json", Model, "--rules", Rules, "--input=temperature=5", "--input=humidity=20",
         "--explain"},
        {"infer", Model, "--rules", Rules, "--csv", "-"},
        {"plot", Model, "fan"},
    };
    for (const auto& Command : Commands) {
        std::vector<std::string> Ref = Command;
        Ref.insert(Ref.begin() + 1, {"--model", "ref"});
        const TProcessResult Class = Fzl(Command, Csv), Counted = Fzl(Ref, Csv);
        EXPECT_EQ(Class.Status, 0) << Command[0] << Class.Err;
        EXPECT_EQ(Class.Err, "");
        EXPECT_EQ(Class.Out, Counted.Out) << Command[0];
        EXPECT_EQ(Counted.Err, "");
    }
    EXPECT_EQ(Fzl(Commands[0]).Out, "");
    EXPECT_EQ(Fzl(Commands[5]).Out, "25  0.0000\n37.5  0.5000\n-3  0.0000\n50  1.0000\n");
    const std::string Json = Fzl(Commands[4]).Out;
    EXPECT_TRUE(std::regex_search(
        Json, std::regex(R"(^\{"name":".*","expression":".*","points":\[\[.*\]\],)"
                         R"("centerOfGravity":[-0-9.e+]+,"meanOfMaxima":25,"crisp":25\}\n$)")))
        << Json;
    EXPECT_NE(Fzl(Commands[7])
                  .Out.find(R"({"line":4,"rule":"IF temperature IS cold AND humidity IS dry    THEN )"
                            R"(fan IS off","strength":0.5555555555555556,"fired":true})"),
              std::string::npos);
    const std::string Batch = Fzl(Commands[8], Csv).Out;
    EXPECT_TRUE(Batch.starts_with("temperature,humidity,fan\n22,50,")) << Batch;
}

TEST(FzlTool, NoRuleFiredAndDefaults) {
    const std::vector<std::string> Infer{"infer",          Model,     "--rules",    Rules,         "--input",
                                         "temperature=40", "--input", "humidity=0", "--threshold", "1"};
    EXPECT_EQ(Fzl(Infer).Out, "fan = 50.0000\n");  // hot and dry at full strength: medium
    std::vector<std::string> None = Infer;
    None[5] = "temperature=35";
    EXPECT_EQ(Fzl(None).Out, "fan: no rule fired\n");
    None.insert(None.end(), {"--default", "fan=10", "--json"});
    EXPECT_EQ(Fzl(None).Out, R"({"outputs":[{"variable":"fan","value":10,"fired":false,"defaulted":true}]})"
                             "\n");
}

TEST(FzlTool, BrokenInputsGiveOneLineErrors) {
    const std::string Broken = TempFileName("broken.fzl"), BadRules = TempFileName("bad.rules"),
                      BadCsv = TempFileName("bad.csv");
    WriteAll(Broken, "(deffuzzy t (range 0 10)\n  (values\n    (term a ((0 x)))))\n");
    WriteAll(BadRules, "\nIF temperature warm THEN fan IS low");
    WriteAll(BadCsv, "temperature,humidity\n20,30\n20,wet\n");
    const std::vector<std::string> Infer{"infer", Model, "--rules", Rules};
    const auto With = [&](std::vector<std::string> Tail) {
        Tail.insert(Tail.begin(), Infer.begin(), Infer.end());
        return Tail;
    };
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> Cases{
        // exit status 1 and the start of the one line on standard error
        {{"check", Model, Broken}, 1, Broken + ":3: Parsing Error, "},
        {{"infer", Model, "--rules", BadRules},
         1,
         BadRules + ":2: Parsing Error, Expected \"IS\" after the variable name \"temperature\""},
        {With({"--input", "temperature=warm", "--input", "humidity=5"}), 1,
         "fzl infer: invalid number for input \"temperature\": \"warm\""},
        {With({"--csv", BadCsv}), 1, BadCsv + ":3: invalid number for column \"humidity\": \"wet\""},
        {{"eval", Model, "fan", "very", "frost"}, 1, "fzl eval: Parsing Error, Invalid item"},
        {{"dom", Model, "fan", "fast", "1"}, 1, "fzl dom: Unknown Fuzzy Set name: \"fast\""},
        {{"dom", Model, "fan", "low", "1,5"}, 1, "fzl dom: invalid number for X: \"1,5\""},
        {{"plot", Model, "speed"}, 1, "fzl plot: Unknown Fuzzy Variable name: \"speed\""},
        {{"print", "/nonexistent/model.fzl"}, 1, "/nonexistent/model.fzl: cannot be read"},
        // usage errors: exit status 2
        {{"frobnicate"}, 2, "fzl: unknown command \"frobnicate\"; see 'fzl --help'"},
        {{"eval", Model, "fan"}, 2, "fzl eval: missing arguments"},
        {{"print", Model, "--rules", Rules}, 2, "fzl print: unknown option \"--rules\""},
        {{"print", "--model", "counted", Model}, 2, "fzl print: --model expects class or ref"},
        {{"infer", Model}, 2, "fzl infer: --rules RULES is required"},
        {With({"--input", "temperature"}), 2, "fzl infer: --input expects NAME=VALUE"},
        {{"infer", Model, "--rules"}, 2, "fzl infer: --rules needs a value"},
        {With({"--input", "humidity=5", "--input", "humidity=6"}), 2,
         "fzl infer: --input gives \"humidity\" twice"},
    };
    for (const auto& [Args, Status, Prefix] : Cases) {
        const TProcessResult Result = Fzl(Args);
        EXPECT_EQ(Result.Status, Status) << Prefix << "\n" << Result.Err;
        EXPECT_TRUE(Result.Err.starts_with(Prefix)) << Result.Err;
        EXPECT_EQ(std::count(Result.Err.begin(), Result.Err.end(), '\n'), 1) << Result.Err;
    }
    for (const std::string& Path : {Broken, BadRules, BadCsv}) std::remove(Path.c_str());
}

TEST(FzlTool, PlotsAreWellFormedSvgWithOnePolylinePerSet) {
    const std::string Svg = TempFileName("fan.svg"), Conclusion = TempFileName("conclusion.svg");
    ASSERT_EQ(Fzl({"plot", "--no-auto-terms", Model, "-o", Svg}).Status, 0);
    const std::string Text = testing::ReadAll(Svg);
    EXPECT_EQ(testing::XmlError(Text), "");
    EXPECT_EQ(testing::Count(Text, "<polyline "), 12);  // 4 + 3 + 5 sets
    for (const char* Name :
         {"cold", "cool", "warm", "hot", "dry", "normal", "humid", "off", "low", "medium", "high", "max"})
        EXPECT_NE(Text.find(std::string(">") + Name + "</text>"), std::string::npos) << Name;
    EXPECT_NE(Text.find(">temperature (degC)</text>"), std::string::npos);
    // The picture in the README is this one: redraw it when the example or the plot changes.
    EXPECT_EQ(testing::ReadAll(FZL_TEST_SOURCE_DIR "/../docs/fan_controller.svg"), Text);
    ASSERT_EQ(Fzl({"infer", "--no-auto-terms", Model, "--rules", Rules, "--input", "temperature=22",
                   "--input", "humidity=50", "--plot", Conclusion})
                  .Status,
              0);
    const std::string Inferred = testing::ReadAll(Conclusion);
    EXPECT_EQ(testing::XmlError(Inferred), "");
    EXPECT_EQ(testing::Count(Inferred, "<polyline "), 6);  // the fan's five sets and the conclusion
    EXPECT_NE(Inferred.find(">fan = "), std::string::npos);
    EXPECT_EQ(testing::XmlError("<a><b x=\"1\"></a>"), "closing </a> does not match <b>");
    EXPECT_NE(testing::XmlError("<t x=\"a&b\">a < b</t>"), "");  // names written unescaped
    EXPECT_EQ(tool::NiceTicks(0, 40, 8).first, (std::vector<double>{0, 5, 10, 15, 20, 25, 30, 35, 40}));
    EXPECT_EQ(tool::NiceTicks(0, 1, 4), (std::pair<std::vector<double>, int>{{0, 0.25, 0.5, 0.75, 1}, 2}));
    for (const std::string& Path : {Svg, Conclusion}) std::remove(Path.c_str());
}

}  // namespace
}  // namespace fzl
