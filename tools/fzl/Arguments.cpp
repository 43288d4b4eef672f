#include "Arguments.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/support/Format.h>

namespace fzl::tool {
namespace {

enum TOptionId : unsigned {
    OptModel,
    OptNoAutoTerms,
    OptNumFunctionValues,
    OptVar,
    OptJson,
    OptHelp,
    OptDefuzz,
    OptRules,
    OptInput,
    OptFact,
    OptExplain,
    OptDefault,
    OptCorrelation,
    OptInference,
    OptThreshold,
    OptCsv,
    OptPlot,
    OptOutput,
};

constexpr unsigned Bit(TOptionId Id) { return 1U << Id; }
constexpr unsigned CommonOptions = Bit(OptModel) | Bit(OptNoAutoTerms) | Bit(OptNumFunctionValues) |
                                   Bit(OptVar) | Bit(OptJson) | Bit(OptHelp);

struct TOptionInfo {
    std::string_view Name;  // without the leading "--"
    TOptionId Id;
    std::string_view Value;  // "" for a flag
    std::string_view Help;
};

constexpr std::array<TOptionInfo, 18> OptionTable{{
    {"model", OptModel, "class|ref", "the object model that does the work (default: class)"},
    {"no-auto-terms", OptNoAutoTerms, "", "no automatic terms low, medium and high for new variables"},
    {"num-function-values", OptNumFunctionValues, "N",
     "points of the built-in curves pi, s, z, beta (default 7)"},
    {"var", OptVar, "NAME=TEXT", "a named expression, used as ?NAME in expressions (repeatable)"},
    {"json", OptJson, "", "machine-readable output; numbers read back exactly"},
    {"help", OptHelp, "", "this text"},
    {"defuzz", OptDefuzz, "cog|mom", "centre of gravity (the default) or mean of maxima"},
    {"rules", OptRules, "RULES", "the rules file: IF var IS expr {AND var IS expr} THEN var IS expr"},
    {"input", OptInput, "VAR=NUMBER", "a crisp input (repeatable)"},
    {"fact", OptFact, "VAR=EXPRESSION", "a fuzzy input, an expression in VAR (repeatable)"},
    {"explain", OptExplain, "", "print each rule with its strength and whether it fired"},
    {"default", OptDefault, "VAR=NUMBER", "the value of output VAR when no rule fires for it (repeatable)"},
    {"correlation", OptCorrelation, "minimum|product", "how a conclusion is shaped by the rule's strength"},
    {"inference", OptInference, "min-max|sum|mean|product|bounded-sum", "how fired rules are united"},
    {"threshold", OptThreshold, "T",
     "the least strength that fires a rule, clamped into [0, 1] (default 0.01)"},
    {"csv", OptCsv, "FILE", "batch: a header of input names, one row of numbers per line"},
    {"plot", OptPlot, "OUT.svg", "draw each output's sets, conclusion and crisp value"},
    {"output", OptOutput, "OUT", "the file written, also -o (default: standard output)"},
}};

struct TCommandInfo {
    TCommand Command;
    std::string_view Name;
    std::string_view Synopsis;
    std::string_view Summary;
    std::string_view Description;
    int MinArgs;
    int MaxArgs;  // -1: no limit
    unsigned Options;
};

constexpr std::array<TCommandInfo, 8> CommandTable{{
    {TCommand::Example, "", "fzl [--model class|ref] [--json]", "run the bundled example",
     "Runs the bundled example, the fan controller of examples/fan_controller.fzl and\n"
     "examples/fan_controller.rules (product correlation, every rule that holds at all fires),\n"
     "and prints the fan speed for a table of temperatures and humidities.\n",
     0, 0, CommonOptions},
    {TCommand::Check, "check", "fzl check FILE...", "parse each model file; print nothing when all are valid",
     "Parses each model file. Prints nothing and exits with 0 when all are valid; reports each\n"
     "error as FILE:LINE: message and exits with 1 otherwise.\n",
     1, -1, CommonOptions},
    {TCommand::Print, "print", "fzl print FILE", "print the model's definition text, regenerated",
     "Parses FILE and prints the definition text the printer regenerates from the model, one\n"
     "variable after another. With --json, the variables, their ranges and their sets' points.\n",
     1, 1, CommonOptions},
    {TCommand::Eval, "eval", "fzl eval FILE VARIABLE EXPRESSION [--defuzz cog|mom]",
     "evaluate a fuzzy expression in a variable",
     "Evaluates EXPRESSION (the remaining arguments, joined by blanks) in VARIABLE and prints\n"
     "the resulting set: its short form, its expression, its points, its centre of gravity,\n"
     "its mean of maxima and its crisp value.\n",
     3, -1, CommonOptions | Bit(OptDefuzz)},
    {TCommand::Dom, "dom", "fzl dom FILE VARIABLE SET X...", "degree of membership of a set at each X",
     "Prints the degree of membership of the set SET of VARIABLE at each X.\n", 4, -1, CommonOptions},
    {TCommand::Infer, "infer",
     "fzl infer FILE --rules RULES [--input VAR=NUMBER]... [--fact VAR=EXPRESSION]...",
     "run a rule base and print each output's crisp value",
     "Reads the rules, fires them for the inputs and prints each output variable's crisp value.\n"
     "An output for which no rule fired shows \"no rule fired\" unless --default gives it a value.\n"
     "Every variable the premises use needs an --input or a --fact (or a column with --csv).\n"
     "With --csv, reads one input row per line and writes the inputs and outputs as CSV; an\n"
     "output with no value is an empty cell.\n",
     1, 1,
     CommonOptions | Bit(OptRules) | Bit(OptInput) | Bit(OptFact) | Bit(OptExplain) | Bit(OptDefault) |
         Bit(OptCorrelation) | Bit(OptInference) | Bit(OptDefuzz) | Bit(OptThreshold) | Bit(OptCsv) |
         Bit(OptPlot)},
    {TCommand::Plot, "plot", "fzl plot FILE [VARIABLE...] -o OUT.svg", "draw the variables' sets as SVG",
     "Draws the defined sets of each VARIABLE (all variables by default) over its range as an SVG\n"
     "picture: one polyline per set, a legend, axes with ticks and the units.\n",
     1, -1, CommonOptions | Bit(OptOutput)},
    {TCommand::Save, "save", "fzl save FILE -o MODEL.fzm", "write the model as a component stream",
     "Parses FILE and writes the component's stream: its settings (with those given here) and,\n"
     "in the class model, its variables with their sets and points; the reference-counted model\n"
     "keeps its definition text. Every command accepts a saved stream wherever it accepts a\n"
     "model file. The stream states its model, which does the work whatever --model says, and\n"
     "settings given on the command line override those it holds.\n",
     1, 1,
     CommonOptions | Bit(OptOutput) | Bit(OptCorrelation) | Bit(OptInference) | Bit(OptDefuzz) |
         Bit(OptThreshold)},
}};

const TCommandInfo& InfoOf(TCommand Command) {
    for (const TCommandInfo& Info : CommandTable)
        if (Info.Command == Command) return Info;
    return CommandTable.front();
}

const TOptionInfo* FindOption(std::string_view Name) {
    for (const TOptionInfo& Info : OptionTable)
        if (Info.Name == Name) return &Info;
    return nullptr;
}

/// A negative number or a lone "-" is an argument, not an option.
bool IsOption(std::string_view Arg) {
    if (Arg.size() < 2 || Arg[0] != '-') return false;
    double Number = 0;
    return !TryStrToFloat(Arg, Number);
}

[[noreturn]] void Usage(TCommand Command, std::string Message) {
    throw TUsageError{std::move(Message), Command};
}

std::pair<std::string, std::string> SplitNamed(TCommand Command, std::string_view Option,
                                               const std::string& Value) {
    const std::size_t Equals = Value.find('=');
    if (Equals == std::string::npos || Equals == 0)
        Usage(Command, "--" + std::string(Option) + " expects NAME=VALUE, not \"" + Value + "\"");
    return {Value.substr(0, Equals), Value.substr(Equals + 1)};
}

/// Adds NAME=VALUE to Named; a name given twice is refused rather than one value silently winning.
void AddNamed(TCommand Command, std::string_view Option, const std::string& Value, TNamedTexts& Named) {
    std::pair<std::string, std::string> Entry = SplitNamed(Command, Option, Value);
    for (const auto& [Name, Text] : Named) {
        if (Name != Entry.first) continue;
        std::string Message = "--";
        Message += Option;
        Message += " gives \"" + Name + "\" twice";
        Usage(Command, std::move(Message));
    }
    Named.push_back(std::move(Entry));
}

void Apply(TArguments& Arguments, const TOptionInfo& Info, const std::string& Value) {
    const TCommand Command = Arguments.Command;
    TModelSettings& Settings = Arguments.Settings;
    const auto Bad = [&](std::string_view Expected) {
        Usage(Command, "--" + std::string(Info.Name) + " expects " + std::string(Expected) + ", not \"" +
                           Value + "\"");
    };
    switch (Info.Id) {
        case OptModel:
            if (Value != "class" && Value != "ref") Bad("class or ref");
            Arguments.Model = Value == "ref" ? TModelKind::Ref : TModelKind::Class;
            break;
        case OptNoAutoTerms:
            Settings.AutoTerms = false;
            Settings.Given |= TModelSettings::GivenAutoTerms;
            break;
        case OptNumFunctionValues: {
            Settings.Given |= TModelSettings::GivenNumFunctionValues;
            const auto [End, Error] =
                std::from_chars(Value.data(), Value.data() + Value.size(), Settings.NumFunctionValues);
            if (Error != std::errc{} || End != Value.data() + Value.size()) Bad("a whole number");
            break;
        }
        case OptVar: {
            const auto [Name, Text] = SplitNamed(Command, Info.Name, Value);
            Settings.Variables.push_back(Name + "=" + Text);
            Settings.Given |= TModelSettings::GivenVariables;
            break;
        }
        case OptJson: Arguments.Json = true; break;
        case OptHelp: Arguments.Help = true; break;
        case OptDefuzz:
            if (Value != "cog" && Value != "mom") Bad("cog or mom");
            Settings.Defuzzification = Value == "mom" ? dmMeanOfMaxima : dmCenterOfGravity;
            Settings.Given |= TModelSettings::GivenDefuzzification;
            break;
        case OptRules: Arguments.Rules = Value; break;
        case OptInput: AddNamed(Command, Info.Name, Value, Arguments.Inputs); break;
        case OptFact: AddNamed(Command, Info.Name, Value, Arguments.Facts); break;
        case OptExplain: Arguments.Explain = true; break;
        case OptDefault: AddNamed(Command, Info.Name, Value, Arguments.Defaults); break;
        case OptCorrelation:
            if (!IsFuzzyCorrelation(Value, Settings.Correlation)) Bad("minimum or product");
            Settings.Given |= TModelSettings::GivenCorrelation;
            break;
        case OptInference:
            if (!IsFuzzyInference(Value, Settings.Inference))
                Bad("min-max, sum, mean, product or bounded-sum");
            Settings.Given |= TModelSettings::GivenInference;
            break;
        case OptThreshold:
            if (!TryStrToFloat(Value, Settings.Threshold) || !std::isfinite(Settings.Threshold))
                Bad("a number");
            Settings.Given |= TModelSettings::GivenThreshold;
            break;
        case OptCsv: Arguments.Csv = Value; break;
        case OptPlot: Arguments.Plot = Value; break;
        case OptOutput: Arguments.Output = Value; break;
    }
}

TCommand CommandOf(const std::string& Word) {
    for (const TCommandInfo& Info : CommandTable)
        if (!Info.Name.empty() && Info.Name == Word) return Info.Command;
    if (Word == "help") return TCommand::Help;
    Usage(TCommand::Help, "unknown command \"" + Word + "\"");
}

void CheckCombination(const TArguments& Arguments) {
    const TCommandInfo& Info = InfoOf(Arguments.Command);
    const int Count = static_cast<int>(Arguments.Positional.size());
    if (Count < Info.MinArgs) Usage(Arguments.Command, "missing arguments");
    if (Info.MaxArgs >= 0 && Count > Info.MaxArgs)
        Usage(Arguments.Command,
              "unexpected argument \"" + Arguments.Positional[static_cast<std::size_t>(Info.MaxArgs)] + "\"");
    if (Arguments.Command != TCommand::Infer) return;
    if (Arguments.Rules.empty()) Usage(Arguments.Command, "--rules RULES is required");
    if (!Arguments.Csv.empty() && (Arguments.Json || Arguments.Explain || !Arguments.Plot.empty()))
        Usage(Arguments.Command, "--csv writes CSV: it does not combine with --json, --explain or --plot");
}

}  // namespace

TArguments ParseArguments(const std::vector<std::string>& Args) {
    TArguments Arguments;
    std::size_t Next = 0;
    if (!Args.empty()) {
        const std::string& First = Args.front();
        if (First == "--help" || First == "-h") {
            Arguments.Command = TCommand::Help;
            return Arguments;
        }
        if (First == "--version") {
            Arguments.Command = TCommand::Version;
            return Arguments;
        }
        if (!IsOption(First)) {
            Arguments.Command = CommandOf(First);
            Next = 1;
        }
    }
    if (Arguments.Command == TCommand::Help) {
        // "fzl help COMMAND" is "fzl COMMAND --help".
        if (Next < Args.size()) {
            Arguments.Command = CommandOf(Args[Next]);
            if (Arguments.Command == TCommand::Help) return Arguments;
            Arguments.Help = true;
        }
        return Arguments;
    }
    const unsigned Allowed = InfoOf(Arguments.Command).Options;
    bool OptionsEnded = false;
    for (; Next < Args.size(); ++Next) {
        const std::string& Arg = Args[Next];
        if (OptionsEnded || !IsOption(Arg)) {
            Arguments.Positional.push_back(Arg);
            continue;
        }
        if (Arg == "--") {
            OptionsEnded = true;
            continue;
        }
        std::string Name;
        std::optional<std::string> Value;
        if (Arg == "-o") {
            Name = "output";
        } else if (Arg == "-h") {
            Name = "help";
        } else if (Arg.starts_with("--")) {
            const std::size_t Equals = Arg.find('=');
            Name = Arg.substr(2, Equals == std::string::npos ? std::string::npos : Equals - 2);
            if (Equals != std::string::npos) Value = Arg.substr(Equals + 1);
        }
        const TOptionInfo* Info = FindOption(Name);
        if (Info == nullptr || (Allowed & Bit(Info->Id)) == 0)
            Usage(Arguments.Command, "unknown option \"" + Arg + "\"");
        if (Info->Value.empty()) {
            if (Value) Usage(Arguments.Command, "--" + Name + " takes no value");
        } else if (!Value) {
            if (++Next >= Args.size())
                Usage(Arguments.Command, "--" + Name + " needs a value: " + std::string(Info->Value));
            Value = Args[Next];
        }
        Apply(Arguments, *Info, Value.value_or(""));
    }
    if (!Arguments.Help) CheckCombination(Arguments);
    return Arguments;
}

std::string CommandName(TCommand Command) {
    if (Command == TCommand::Help || Command == TCommand::Version || Command == TCommand::Example)
        return "fzl";
    return "fzl " + std::string(InfoOf(Command).Name);
}

std::string HelpText(TCommand Command) {
    const auto OptionLines = [](unsigned Options) {
        std::string Text;
        for (const TOptionInfo& Info : OptionTable) {
            if ((Options & Bit(Info.Id)) == 0) continue;
            std::string Left = "  --";  // appended: g++ -O3 misreads "literal" + string as -Wrestrict
            Left += Info.Name;
            if (!Info.Value.empty()) {
                Left += ' ';
                Left += Info.Value;
            }
            Left.resize(std::max<std::size_t>(Left.size() + 2, 34), ' ');
            Text += Left + std::string(Info.Help) + "\n";
        }
        return Text;
    };
    if (Command == TCommand::Help || Command == TCommand::Version) {
        std::string Text =
            "fzl: fuzzy models from the command line\n\n"
            "usage: fzl COMMAND [ARGUMENTS] [OPTIONS]\n\n"
            "Commands:\n";
        for (const TCommandInfo& Info : CommandTable) {
            if (Info.Name.empty()) continue;
            std::string Left = "  " + std::string(Info.Name);
            Left.resize(10, ' ');
            Text += Left + std::string(Info.Summary) + "\n";
        }
        Text +=
            "\nWith no command, fzl runs its bundled example, the fan controller of\n"
            "examples/fan_controller.fzl and examples/fan_controller.rules, and prints its table.\n\n"
            "Options of every command:\n" +
            OptionLines(CommonOptions) +
            "\nA model file holds variables in the definition language, for example\n"
            "  (deffuzzy temperature (range 0 40) (values (term warm (tri 18 25 32))))\n"
            "Errors go to standard error as FILE:LINE: message. Exit status: 0 on success, 1 on an\n"
            "error in a model, rules or input file or value, 2 on wrong usage.\n"
            "'fzl COMMAND --help' describes a command; 'fzl --version' prints the version.\n";
        return Text;
    }
    const TCommandInfo& Info = InfoOf(Command);
    std::string Text = "usage: " + std::string(Info.Synopsis) + "\n\n" + std::string(Info.Description);
    if ((Info.Options & ~CommonOptions) != 0)
        Text += "\nOptions:\n" + OptionLines(Info.Options & ~CommonOptions);
    Text += "\nOptions of every command:\n" + OptionLines(CommonOptions);
    if (Command == TCommand::Infer)
        Text +=
            "\nExample:\n"
            "  fzl infer examples/fan_controller.fzl --rules examples/fan_controller.rules \\\n"
            "      --correlation product --input temperature=22 --input humidity=50 --explain\n";
    return Text;
}

}  // namespace fzl::tool
