#include "BenchProgram.h"
#include "BenchSummary.h"
#include "ChiDataReader.h"

#include <benchmark/benchmark.h>

#include <cstdio>

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
    medianFitMilliseconds = bench::medianFit(state, window, scenario, &evaluations);
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
