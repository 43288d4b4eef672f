#pragma once
// Runs a program as a process: arguments and standard input in; standard output,
// standard error and the exit status out.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fzl::testing {

struct TProcessResult {
    int Status = -1;  // the exit status (128 + the signal after a crash), or -1 when none came
    std::string Out;
    std::string Err;
};

/// A fresh file name in the test's temporary directory.
inline std::string TempFileName(const std::string& Stem) {
    static int Counter = 0;
    return ::testing::TempDir() + "fzl_" + std::to_string(getpid()) + "_" + std::to_string(++Counter) + "_" +
           Stem;
}

inline std::string ReadAll(const std::string& Path) {
    std::ifstream File(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), {}};
}

inline void WriteAll(const std::string& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
}

/// Word in single quotes for the shell.
inline std::string ShellQuoted(const std::string& Word) {
    std::string Quoted = "'";
    for (const char C : Word) Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
    return Quoted + "'";
}

inline TProcessResult RunProcess(const std::string& Program, const std::vector<std::string>& Args,
                                 const std::string& Input = "") {
    const std::string In = TempFileName("in"), Out = TempFileName("out"), Err = TempFileName("err");
    WriteAll(In, Input);
    std::string Command = ShellQuoted(Program);
    for (const std::string& Arg : Args) Command += " " + ShellQuoted(Arg);
    Command += " <" + ShellQuoted(In) + " >" + ShellQuoted(Out) + " 2>" + ShellQuoted(Err);
    const int WaitStatus = std::system(Command.c_str());
    TProcessResult Result;
    if (WaitStatus != -1 && WIFEXITED(WaitStatus)) Result.Status = WEXITSTATUS(WaitStatus);
    Result.Out = ReadAll(Out);
    Result.Err = ReadAll(Err);
    for (const std::string& Path : {In, Out, Err}) std::remove(Path.c_str());
    return Result;
}

}  // namespace fzl::testing
