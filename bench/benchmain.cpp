// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            const auto bytes = run.counters.find("bytes_per_second");
            const double rate = bytes != run.counters.end() ? double(bytes->second)
                                                            : 1.0 / run.GetAdjustedRealTime();
            results.emplace_back(run.benchmark_name(), rate);
        }
    }

    std::vector<std::pair<std::string, double>> results;
};

} // namespace

int GlyphmorphBench::runWithRatios(int argc, char **argv, const std::string &baselinePrefix)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    double baseline = 0;
    for (const auto &result : reporter.results)
        if (result.first.rfind(baselinePrefix, 0) == 0)
            baseline = result.second;
    if (baseline <= 0)
        return 0;
    std::printf("\nThroughput against %s (same run):\n", baselinePrefix.c_str());
    for (const auto &result : reporter.results)
        std::printf("  %-50s %7.1f%%\n", result.first.c_str(), 100.0 * result.second / baseline);
    return 0;
}
