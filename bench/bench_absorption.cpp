#include "Background.h"
#include "BenchSummary.h"
#include "MuReader.h"
#include "Normalization.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

// The 10 K copper foil, read and normalised once, at the defaults.
struct Copper {
    Copper() {
        QString why;
        if (!MuReader::readFile(QStringLiteral(TOVIK_PATH_DATA "/cu_10k.xmu"), &data, &why) ||
            !Normalization::run(data, settings, &normalized, &why))
            error = why.toStdString();
    }
    MuData data;
    AbsorptionSettings settings;
    AbsorptionResult normalized;
    std::string error;
};

const Copper& copper() {
    static const Copper c;
    return c;
}

// One background refinement, what a change of Rbkg costs: the spline's
// basis, the least-squares search, chi(k) and the background on the energies.
void backgroundCopper(benchmark::State& state) {
    const Copper& c = copper();
    if (!c.error.empty()) {
        state.SkipWithError(c.error.c_str());
        return;
    }
    int evaluations = 0;
    for (auto _ : state) {
        AbsorptionResult r = c.normalized;
        QString why;
        if (!Background::remove(c.settings, &r, &why)) {
            state.SkipWithError(qPrintable(why));
            return;
        }
        evaluations = r.evaluations;
        benchmark::DoNotOptimize(r.chi.data());
    }
    state.counters["evaluations"] = evaluations;
}

// The whole way from mu(E): E0, both edge fits and the background, what a
// drag of E0 costs before the plots.
void absorptionCopper(benchmark::State& state) {
    const Copper& c = copper();
    if (!c.error.empty()) {
        state.SkipWithError(c.error.c_str());
        return;
    }
    for (auto _ : state) {
        AbsorptionResult r;
        Background::process(c.data, c.settings, &r, nullptr);
        benchmark::DoNotOptimize(r.chi.data());
    }
}

const bool summary = bench::addSummary([](const bench::Results& results) {
    const double one = bench::timeOf(results, "backgroundCopper");
    if (one < 0)
        return;
    std::printf("\nOne background refinement on cu_10k: %.2f ms (target at most 10 ms)\n",
                one / 1e6);
});

} // namespace

BENCHMARK(backgroundCopper)->Unit(benchmark::kMillisecond);
BENCHMARK(absorptionCopper)->Unit(benchmark::kMillisecond);
