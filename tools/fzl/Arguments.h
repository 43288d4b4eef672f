#pragma once
// The command line of `fzl`: its commands, their options, the parsed arguments and the
// help texts.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ToolModel.h"

namespace fzl::tool {

enum class TCommand { Example, Check, Print, Eval, Dom, Infer, Plot, Save, Help, Version };

/// Wrong usage (exit status 2): the message, and the command whose usage it breaks.
struct TUsageError {
    std::string Message;
    TCommand Command = TCommand::Help;
};

using TNamedTexts = std::vector<std::pair<std::string, std::string>>;

/// Everything the command line said.
struct TArguments {
    TCommand Command = TCommand::Example;
    std::vector<std::string> Positional;
    TModelKind Model = TModelKind::Class;
    TModelSettings Settings;
    bool Json = false;
    bool Help = false;
    bool Explain = false;
    std::string Rules;
    /// --input VAR=NUMBER, --fact VAR=EXPRESSION, --default VAR=NUMBER, as written.
    TNamedTexts Inputs;
    TNamedTexts Facts;
    TNamedTexts Defaults;
    std::string Csv;
    std::string Plot;
    std::optional<std::string> Output;
};

/// Parses Args (without the program name). Raises TUsageError.
[[nodiscard]] TArguments ParseArguments(const std::vector<std::string>& Args);

/// The help text of Command (TCommand::Help: the overview).
[[nodiscard]] std::string HelpText(TCommand Command);
/// The command's name as typed ("eval"); "fzl" for the overview.
[[nodiscard]] std::string CommandName(TCommand Command);

}  // namespace fzl::tool
