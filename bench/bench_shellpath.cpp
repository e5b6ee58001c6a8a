#include "BenchProgram.h"
#include "BenchSummary.h"
#include "ChiDataReader.h"
#include "ProgramState.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

// Medians in microseconds: [0] without a path, [1] with copper's.
double changeMedian[2] = {-1, -1};
double synthesisMedian[2] = {-1, -1};
double fitMedian = -1;
int fitEvaluations = 0;

ShellPathPtr copperPath() {
    return ShellPath::load(QStringLiteral(TOVIK_LESSONS "/feff0001.dat"), nullptr);
}

// One parameter change end to end as bench_program.cpp times it (slot,
// synthesis, five transforms, both plots at 800 x 600), without and with
// a path on the main shell.
void parameterChangePath(benchmark::State& state) {
    const int withPath = int(state.range(0));
    bench::PaintedProgram program;
    if (withPath)
        program.wave()->setPath(copperPath());
    std::vector<double> samples;
    int step = 0;
    for (auto _ : state)
        samples.push_back(program.change(25 + (step++ & 1)));
    changeMedian[withPath] = bench::median(samples);
    state.counters["median_us"] = changeMedian[withPath];
}

// The wave's synthesis and transforms alone, without and with the path.
void synthesisPath(benchmark::State& state) {
    const int withPath = int(state.range(0));
    bench::StartupWave startup(2.55, 0.0, 10.8);
    AWave& wave = startup.wave;
    if (withPath)
        wave.setPath(copperPath());
    std::vector<double> samples;
    for (auto _ : state)
        samples.push_back(bench::timed<std::micro>([&] {
            wave.synthesize();
            benchmark::DoNotOptimize(wave.chiSpectrum.get());
        }));
    synthesisMedian[withPath] = bench::median(samples);
    state.counters["median_us"] = synthesisMedian[withPath];
}

// Lesson 11's first-shell fit of copper at 10 K with the path: N·S0², R,
// sigma and dE0 over 1.7 to 3 Å, as the Fit window's button runs it.
void fitCopperPath(benchmark::State& state) {
    bench::ensureApplication();
    Scenario scenario;
    QString error;
    QVector<double> k, chi;
    ProgramState::Paths paths;
    if (!Scenario::readFile(QStringLiteral(TOVIK_LESSONS "/11-fitting-copper.tovik.json"), scenario,
                            &scenario, &error) ||
        !ChiDataReader::readFile(scenario.dataFile, &k, &chi, &error) ||
        !ProgramState::readPaths(scenario, &paths, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    Session session;
    ChiK& window = *session.main();
    window.applyScenario(scenario, k, chi, paths);
    fitMedian = bench::medianFit(state, window, scenario, &fitEvaluations);
    state.counters["median_ms"] = fitMedian;
}

const bool summary = bench::addSummary([](const bench::Results&) {
    if (changeMedian[0] > 0 && changeMedian[1] > 0)
        std::printf("\nA parameter change end to end: %.3f ms without a path, %.3f ms with "
                    "copper's (%.2f times; target: at most 1.5)\n",
                    changeMedian[0] / 1000, changeMedian[1] / 1000,
                    changeMedian[1] / changeMedian[0]);
    if (synthesisMedian[0] > 0 && synthesisMedian[1] > 0)
        std::printf("The synthesis and transforms alone: %.1f us without, %.1f us with (%.2f "
                    "times)\n",
                    synthesisMedian[0], synthesisMedian[1],
                    synthesisMedian[1] / synthesisMedian[0]);
    if (fitMedian > 0)
        std::printf("Lesson 11's fit of copper at 10 K with the path (%d model evaluations): "
                    "median %.2f ms (target: at most 10 ms)\n",
                    fitEvaluations, fitMedian);
});

} // namespace

BENCHMARK(parameterChangePath)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(synthesisPath)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(fitCopperPath)->Unit(benchmark::kMillisecond)->Iterations(20);
