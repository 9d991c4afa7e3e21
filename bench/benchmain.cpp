// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

struct Result
{
    std::string name;
    // One entry per repetition.
    std::vector<double> bytesPerSecond; // 0 when the benchmark counts no bytes
    std::vector<double> seconds;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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
            Result &result = find(run.benchmark_name());
            result.bytesPerSecond.push_back(
                bytes != run.counters.end() ? double(bytes->second) : 0.0);
            result.seconds.push_back(run.real_accumulated_time / double(run.iterations));
        }
    }

    const Result *lookUp(const std::string &name) const
    {
        for (const Result &result : results)
            if (result.name == name)
                return &result;
        return nullptr;
    }

    std::vector<Result> results;

private:
    Result &find(const std::string &name)
    {
        for (Result &result : results)
            if (result.name == name)
                return result;
        results.push_back({ name, {}, {} });
        return results.back();
    }
};

} // namespace

int GlyphmorphBench::runWithRatios(
    int argc, char **argv, const std::string &baselineName, const std::vector<std::string> &peers)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::vector<std::string> references { baselineName };
    references.insert(references.end(), peers.begin(), peers.end());
    for (const std::string &name : references) {
        const Result *reference = reporter.lookUp(name);
        if (!reference)
            continue;
        const char *runs = reference->seconds.size() > 1 ? "medians, " : "";
        if (median(reference->bytesPerSecond) > 0) {
            const double base = median(reference->bytesPerSecond);
            std::printf("\nThroughput against %s (%ssame run):\n", name.c_str(), runs);
            for (const Result &result : reporter.results)
                std::printf("  %-50s %9.1f%%  %8.2fx\n", result.name.c_str(),
                    100.0 * median(result.bytesPerSecond) / base,
                    median(result.bytesPerSecond) / base);
        } else {
            const double base = median(reference->seconds);
            std::printf("\nTime per iteration against %s (%ssame run):\n", name.c_str(), runs);
            for (const Result &result : reporter.results)
                std::printf("  %-50s %7.2fx\n", result.name.c_str(), median(result.seconds) / base);
        }
    }
    return 0;
}
