// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A main for the benchmarks that, after Google Benchmark's own table, prints each benchmark's
// throughput as a ratio of the baseline measured in the same run. Absolute figures on a shared,
// noisy machine say little; ratios within one run do.
#ifndef GLYPHMORPH_BENCHMAIN_H
#define GLYPHMORPH_BENCHMAIN_H

#include <string>
#include <vector>

namespace GlyphmorphBench {
/** Runs every registered benchmark and compares each with the one named @p baselineName, and
 *  with each of @p peers that ran. With repetitions, each figure is the median of its runs. */
int runWithRatios(int argc, char **argv, const std::string &baselineName,
    const std::vector<std::string> &peers = {});
} // namespace GlyphmorphBench

#endif
