// fzl: the command line of the fzl library. See `fzl --help`.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "Cli.h"

namespace {

std::optional<std::string> ReadFile(const std::string& Path) {
    if (Path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::error_code Error;
    if (std::filesystem::is_directory(Path, Error)) return std::nullopt;
    std::ifstream File(Path, std::ios::binary);
    if (!File) return std::nullopt;
    std::ostringstream Text;
    Text << File.rdbuf();
    if (File.bad()) return std::nullopt;
    return std::move(Text).str();
}

bool WriteFile(const std::string& Path, const std::string& Text) {
    std::ofstream File(Path, std::ios::binary);
    File << Text;
    File.close();
    return !File.fail();
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> Args(argv + (argc > 0 ? 1 : 0), argv + argc);
    fzl::tool::TFzlIo Io{ReadFile, WriteFile, std::cout, std::cerr};
    const int Status = fzl::tool::RunFzl(Args, Io);
    std::cout.flush();
    return Status;
}
