#include "ProcessStart.h"

#include "RatioBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace RQ540::Bench {

namespace {

template <typename Value>
Value Median(std::vector<ProcessUsage>& runs, Value ProcessUsage::*field)
{
    std::sort(runs.begin(), runs.end(),
              [field](const ProcessUsage& a, const ProcessUsage& b) { return a.*field < b.*field; });
    return runs[runs.size() / 2].*field;
}

void PrintRow(const std::string& measure, const std::string& ours, const std::string& floor,
              double ratio, double maxRatio)
{
    std::printf("row|%s|%s|%s|%.2fx|<= %.2fx|%s\n", measure.c_str(), ours.c_str(), floor.c_str(),
                ratio, maxRatio, ratio <= maxRatio ? "met" : "not met");
}

}  // namespace

std::optional<ProcessUsage> RunProcess(const std::filesystem::path& program,
                                       const std::filesystem::path& output)
{
    const auto start = std::chrono::steady_clock::now();
    std::string path = program.string();
    char* arguments[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    ProcessUsage result;
    result.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    // The rusage's peak would be at least this process's own: a spawned child keeps the
    // peak of the memory it shared before it started the program.
    std::ifstream printed(output);
    std::string word;
    while (printed >> word) {
        if (word == "VmHWM:" && printed >> result.peakKiB)
            return result;
    }
    return std::nullopt;
}

void PrintUsageRows(const std::string& measure, const std::string& floorName, double maxRatio,
                    std::vector<ProcessUsage> ours, std::vector<ProcessUsage> floor)
{
    if (ours.empty() || floor.empty())
        return;
    const double oursCpu = Median(ours, &ProcessUsage::cpuSeconds);
    const double floorCpu = Median(floor, &ProcessUsage::cpuSeconds);
    PrintRow(measure + ", CPU", FormatSeconds(oursCpu), floorName + ' ' + FormatSeconds(floorCpu),
             oursCpu / floorCpu, maxRatio);
    const long oursPeak = Median(ours, &ProcessUsage::peakKiB);
    const long floorPeak = Median(floor, &ProcessUsage::peakKiB);
    PrintRow(measure + ", peak memory", std::to_string(oursPeak) + " KiB",
             floorName + ' ' + std::to_string(floorPeak) + " KiB",
             static_cast<double>(oursPeak) / static_cast<double>(floorPeak), maxRatio);
}

}  // namespace RQ540::Bench
