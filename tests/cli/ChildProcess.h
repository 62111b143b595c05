// Runs a program as a child process with its standard streams taken from and given to
// files, the way the shell runs rqfs from a script: on POSIX by fork and exec, on Windows
// by CreateProcess with a command line quoted as the C runtime splits it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ChildRun {
    std::filesystem::path program;
    std::vector<std::string> args;  // UTF-8, without the program itself
    std::filesystem::path dir;      // the child's working folder
    std::filesystem::path in;
    std::filesystem::path out;
    std::filesystem::path err;
    // POSIX only: the most bytes any file the child writes may hold (0 for no limit), and
    // whether a child of root runs as the user nobody.
    long fileSizeLimit = 0;
    bool ordinaryUser = false;
};

// The child's exit status; -1 when it could not start or did not exit by itself.
int RunChild(const ChildRun& run);
