// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

struct Result
{
    std::string name;
    double bytesPerSecond; // 0 when the benchmark counts no bytes
    double seconds;
};

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
            results.push_back(
                { run.benchmark_name(), bytes != run.counters.end() ? double(bytes->second) : 0.0,
                    run.real_accumulated_time / double(run.iterations) });
        }
    }

    std::vector<Result> results;
};

} // namespace

int GlyphmorphBench::runWithRatios(int argc, char **argv, const std::string &baselineName)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const Result *baseline = nullptr;
    for (const Result &result : reporter.results)
        if (result.name == baselineName)
            baseline = &result;
    if (!baseline)
        return 0;
    if (baseline->bytesPerSecond > 0) {
        std::printf("\nThroughput as a share of %s (same run):\n", baselineName.c_str());
        for (const Result &result : reporter.results)
            std::printf("  %-50s %7.1f%%\n", result.name.c_str(),
                100.0 * result.bytesPerSecond / baseline->bytesPerSecond);
    } else {
        std::printf("\nTime per iteration against %s (same run):\n", baselineName.c_str());
        for (const Result &result : reporter.results)
            std::printf(
                "  %-50s %7.2fx\n", result.name.c_str(), result.seconds / baseline->seconds);
    }
    return 0;
}
