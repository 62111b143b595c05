// Runs a program to its end and reports what it used, for rows that compare whole
// processes: wall-clock time, CPU time (user and system) and peak resident memory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace RQ540::Bench {

struct ProcessUsage {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
};

// Starts program without arguments, with this process's environment and its standard
// output going to output, and waits for it. The peak memory is the one the program prints
// as a "VmHWM:" line. Answers nothing when it cannot be started, does not exit with
// status 0 or prints no such line.
std::optional<ProcessUsage> RunProcess(const std::filesystem::path& program,
                                       const std::filesystem::path& output);

// Prints two rows of the ratio table, the medians of the CPU time and of the peak memory
// of ours against the floor's runs, each with the goal maxRatio. Prints nothing when
// either side has no runs (a filter left it out).
void PrintUsageRows(const std::string& measure, const std::string& floorName, double maxRatio,
                    std::vector<ProcessUsage> ours, std::vector<ProcessUsage> floor);

}  // namespace RQ540::Bench
