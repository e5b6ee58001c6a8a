#include "BenchSummary.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace bench {

namespace {

std::vector<Summary>& summaries() {
    static std::vector<Summary> all;
    return all;
}

// Prints as usual and keeps every result for the summaries.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double toNs = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            results[run.benchmark_name()] = run.GetAdjustedRealTime() * toNs;
        }
    }

    Results results;
};

} // namespace

bool addSummary(Summary summary) {
    summaries().push_back(std::move(summary));
    return true;
}

double timeOf(const Results& results, const std::string& name) {
    for (const std::string& key : {name + "_median", name}) {
        const auto found = results.find(key);
        if (found != results.end())
            return found->second;
    }
    return -1;
}

} // namespace bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const bench::Summary& summary : bench::summaries())
        summary(reporter.results);
    return 0;
}
