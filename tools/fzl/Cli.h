#pragma once
// The `fzl` command line as a library function: arguments in, standard output, standard
// error and the exit status out. main() gives it the real files and streams; the tests
// and the fuzzer give it texts in memory.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fzl::tool {

/// Exit statuses.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitError = 1;  // an error in a model, rules or input file, or in an input value
inline constexpr int ExitUsage = 2;  // wrong usage: unknown command or option, missing argument

/// Where a run reads and writes. ReadFile decides what the path "-" (standard input) is;
/// output to "-" goes to Out.
struct TFzlIo {
    /// The whole content of Path, or nothing when it cannot be read.
    std::function<std::optional<std::string>(const std::string& Path)> ReadFile;
    /// Writes Text to Path; false when it cannot.
    std::function<bool(const std::string& Path, const std::string& Text)> WriteFile;
    std::ostream& Out;
    std::ostream& Err;
};

/// Runs the command line Args (without the program name) and returns the exit status.
/// Never throws: every error is reported on Io.Err.
int RunFzl(const std::vector<std::string>& Args, TFzlIo& Io);

}  // namespace fzl::tool
