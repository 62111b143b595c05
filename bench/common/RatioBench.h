// Benchmarks that measure one of our operations against its floor (the least any
// program must do for the same result) in the same process, with the repetitions of all
// of them interleaved so that a busy machine slows both sides alike. Each pair becomes
// one row of the ratio table that `make bench` prints.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace RQ540::Bench {

using BenchFunction = std::function<void(benchmark::State&)>;

// Registers key/ours and key/floor. measure and floorName label the row; the goal is met
// when the median time of ours is at most maxRatio times the floor's.
void AddRatioRow(const std::string& key, const std::string& measure, const std::string& floorName,
                 double maxRatio, BenchFunction ours, BenchFunction floor);

// Runs the registered benchmarks (by default 15 repetitions, randomly interleaved, medians
// reported; Google Benchmark's own flags override that), then prints one line per row:
// "row|measure|ours|floor|ratio|goal|verdict". Answers 1 when a benchmark reported an
// error, else 0: a goal that is not met is a finding, not a failure.
int RunRatioBenchmarks(int argc, char** argv);

// How to print a time given in seconds: three significant digits in ns, us or ms.
std::string FormatSeconds(double seconds);

}  // namespace RQ540::Bench
