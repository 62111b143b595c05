#include "RatioBench.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <set>
#include <vector>

namespace RQ540::Bench {

namespace {

struct Row {
    std::string key;
    std::string measure;
    std::string floorName;
    double maxRatio;
};

std::vector<Row>& Rows()
{
    static std::vector<Row> rows;
    return rows;
}

// The console report as usual, and the time of each benchmark kept for the table: the
// median when there are repetitions, else the single run.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.error_occurred) {
                m_failed = true;
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!median && run.run_type == Run::RT_Aggregate)
                continue;
            const std::string name = run.run_name.function_name;
            if (median || !m_medians.count(name))
                m_seconds[name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (median)
                m_medians.insert(name);
        }
    }

    bool Failed() const { return m_failed; }
    const double* Find(const std::string& name) const
    {
        const auto found = m_seconds.find(name);
        return found == m_seconds.end() ? nullptr : &found->second;
    }

private:
    std::map<std::string, double> m_seconds;
    std::set<std::string> m_medians;
    bool m_failed = false;
};

std::string FormatRatio(double ratio)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

}  // namespace

void AddRatioRow(const std::string& key, const std::string& measure, const std::string& floorName,
                 double maxRatio, BenchFunction ours, BenchFunction floor)
{
    Rows().push_back({key, measure, floorName, maxRatio});
    benchmark::RegisterBenchmark((key + "/ours").c_str(), std::move(ours))->UseRealTime();
    benchmark::RegisterBenchmark((key + "/floor").c_str(), std::move(floor))->UseRealTime();
}

std::string FormatSeconds(double seconds)
{
    static const struct {
        double scale;
        const char* unit;
    } units[] = {{1e9, "ns"}, {1e6, "us"}, {1e3, "ms"}, {1, "s"}};
    std::size_t index = 0;
    while (index + 1 < std::size(units) && seconds * units[index].scale >= 1000)
        ++index;
    const double value = seconds * units[index].scale;
    char text[32];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f %s" : value >= 10 ? "%.1f %s" : "%.2f %s",
                  value, units[index].unit);
    return text;
}

int RunRatioBenchmarks(int argc, char** argv)
{
    // Defaults first, so that the same flags given on the command line win.
    std::vector<char*> arguments{argv[0]};
    std::string defaults[] = {"--benchmark_repetitions=15",
                              "--benchmark_enable_random_interleaving=true",
                              "--benchmark_report_aggregates_only=true"};
    for (std::string& flag : defaults)
        arguments.push_back(flag.data());
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 2;

    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // The console report ends inside a colour escape; the rows start on lines of their own.
    std::cout << '\n';
    for (const Row& row : Rows()) {
        // A filter may leave either half out; such a row has no ratio.
        const double* ours = reporter.Find(row.key + "/ours");
        const double* floor = reporter.Find(row.key + "/floor");
        if (!ours || !floor)
            continue;
        const double ratio = *ours / *floor;
        std::cout << "row|" << row.measure << '|' << FormatSeconds(*ours) << '|' << row.floorName
                  << ' ' << FormatSeconds(*floor) << '|' << FormatRatio(ratio) << "x|<= "
                  << FormatRatio(row.maxRatio) << "x|"
                  << (ratio <= row.maxRatio ? "met" : "not met") << '\n';
    }
    return reporter.Failed() ? 1 : 0;
}

}  // namespace RQ540::Bench
