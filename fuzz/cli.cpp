// libFuzzer target: the fzl command line called as a library function (RunFzl) on fuzzed
// arguments, with every file in memory. The input is split at NUL bytes: the first part
// holds the arguments, one a line; the next parts are the files "a", "b" and "c" (and "-",
// standard input, is "a"). "m" and "r" are the bundled example's model and rules. Every run
// ends with status 0, 1 or 2; a failure writes at least one line to standard error and a
// success none.

#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "FuzzCheck.h"

namespace {

constexpr const char* Model = R"((deffuzzy temperature (range 0 40) (units degC)
  (values (term cold (tri 0 0 12)) (term warm (tri 18 25 32)) (term hot (tri 28 40 40))))
(deffuzzy fan (range 0 100) (values (term low (tri 5 25 45)) (term high (pi 20 75)))))";
constexpr const char* Rules = "IF temperature IS cold THEN fan IS low\nIF temperature IS very hot THEN fan IS high\n";

std::vector<std::string> Split(const std::string& Text, char Separator, std::size_t Limit) {
    std::vector<std::string> Parts;
    std::size_t Begin = 0;
    while (Parts.size() + 1 < Limit) {
        const std::size_t End = Text.find(Separator, Begin);
        if (End == std::string::npos) break;
        Parts.push_back(Text.substr(Begin, End - Begin));
        Begin = End + 1;
    }
    Parts.push_back(Text.substr(Begin));
    return Parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size > 8192) return 0;
    const std::vector<std::string> Parts = Split(std::string(reinterpret_cast<const char*>(Data), Size), '\0', 4);
    std::vector<std::string> Args = Split(Parts[0], '\n', 24);
    if (Args.size() == 1 && Args[0].empty()) Args.clear();
    std::map<std::string, std::string> Files{{"m", Model}, {"r", Rules}};
    for (std::size_t I = 1; I < Parts.size(); ++I) Files[std::string(1, static_cast<char>('a' + I - 1))] = Parts[I];
    std::ostringstream Out, Err;
    fzl::tool::TFzlIo Io{[&](const std::string& Path) -> std::optional<std::string> {
                             const auto Found = Files.find(Path == "-" ? "a" : Path);
                             if (Found == Files.end()) return std::nullopt;
                             return Found->second;
                         },
                         [&](const std::string& Path, const std::string& Text) {
                             if (Path.size() != 1) return false;  // only one-letter files can be written
                             Files[Path] = Text;
                             return true;
                         },
                         Out, Err};
    const int Status = fzl::tool::RunFzl(Args, Io);
    FZL_FUZZ_CHECK(Status == 0 || Status == 1 || Status == 2);
    const std::string Errors = Err.str();
    if (Status == 0) FZL_FUZZ_CHECK(Errors.empty());
    if (Status != 0) FZL_FUZZ_CHECK(!Errors.empty() && Errors.back() == '\n');
    if (Status == 2) FZL_FUZZ_CHECK(Errors.find('\n') == Errors.size() - 1);
    return 0;
}
