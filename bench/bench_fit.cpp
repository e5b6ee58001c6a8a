#include "BenchApplication.h"
#include "BenchSummary.h"
#include "ChiDataReader.h"
#include "ChiK.h"
#include "ChiR.h"
#include "FitRun.h"
#include "Scenario.h"
#include "Session.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double medianFitMilliseconds = -1;
int evaluations = 0;

// One whole fit of the 10 K copper example (four parameters over 1.4 to
// 3 Å), as the Fit window's button runs it.
void fitCopper(benchmark::State& state) {
    bench::ensureApplication();
    const QString folder = QStringLiteral(TOVIK_EXAMPLES);
    Scenario scenario;
    QString error;
    QVector<double> k, chi;
    if (!Scenario::readFile(folder + "/fit-copper-10K.tovik.json", scenario, &scenario, &error) ||
        !ChiDataReader::readFile(folder + "/copper-10K.chi", &k, &chi, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    Session session;
    ChiK& window = *session.main();
    window.applyScenario(scenario, k, chi);
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const FitRun run = runFit(*window.waves.first(), *window.measured, scenario.fitVary,
                                  scenario.fitRMin, scenario.fitRMax);
        evaluations = run.result.evaluations;
        benchmark::DoNotOptimize(run.result.chiSquare);
        samples.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    medianFitMilliseconds = samples[samples.size() / 2];
    state.counters["median_ms"] = medianFitMilliseconds;
}

const bool summary = bench::addSummary([](const bench::Results&) {
    if (medianFitMilliseconds < 0)
        return;
    std::printf("\nOne fit of the 10 K copper example (%d model evaluations):\n  median %.2f ms\n",
                evaluations, medianFitMilliseconds);
});

} // namespace

BENCHMARK(fitCopper)->Unit(benchmark::kMillisecond)->Iterations(10);
