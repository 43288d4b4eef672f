#pragma once
// Runs a program as a process: arguments and standard input in; standard output,
// standard error and the exit status out.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace fzl::testing {

struct TProcessResult {
    int Status = -1;  // the exit status, or -1 when the process did not exit normally (a crash)
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

inline TProcessResult RunProcess(const std::string& Program, const std::vector<std::string>& Args,
                                 const std::string& Input = "") {
    const std::string In = TempFileName("in"), Out = TempFileName("out"), Err = TempFileName("err");
    WriteAll(In, Input);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, In.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 1, Out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&Actions, 2, Err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> Words{Program};
    Words.insert(Words.end(), Args.begin(), Args.end());
    std::vector<char*> Argv;
    for (std::string& Word : Words) Argv.push_back(Word.data());
    Argv.push_back(nullptr);
    pid_t Pid = 0;
    TProcessResult Result;
    if (posix_spawn(&Pid, Program.c_str(), &Actions, nullptr, Argv.data(), environ) == 0) {
        int WaitStatus = 0;
        waitpid(Pid, &WaitStatus, 0);
        if (WIFEXITED(WaitStatus)) Result.Status = WEXITSTATUS(WaitStatus);
    }
    posix_spawn_file_actions_destroy(&Actions);
    Result.Out = ReadAll(Out);
    Result.Err = ReadAll(Err);
    for (const std::string& Path : {In, Out, Err}) std::remove(Path.c_str());
    return Result;
}

}  // namespace fzl::testing
