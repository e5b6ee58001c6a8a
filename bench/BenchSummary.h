#ifndef TOVIK_BENCH_SUMMARY_H
#define TOVIK_BENCH_SUMMARY_H

#include <functional>
#include <map>
#include <string>

namespace bench {

// Real time per iteration in nanoseconds, by benchmark name (with the
// "_median" etc. suffix for aggregates of repeated runs).
using Results = std::map<std::string, double>;

// A summary runs after all benchmarks and prints what it can derive from the
// results, e.g. ratios between competitors; it must cope with missing entries
// when a filter skipped them.
using Summary = std::function<void(const Results&)>;

// Returns a dummy value so that a summary can be registered from a namespace
// scope initialiser.
bool addSummary(Summary summary);

// The time of a benchmark, preferring the median of repeated runs; negative
// when it did not run.
double timeOf(const Results& results, const std::string& name);

} // namespace bench

#endif
