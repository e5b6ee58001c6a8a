#include "BenchProgram.h"

#include <benchmark/benchmark.h>

namespace {

// One full synthesis (six arrays and five transforms) at the start-up state,
// the wave built as the main window builds it.
void waveSynthesize(benchmark::State& state) {
    bench::StartupWave startup(2.0, 0.0, 1.0);
    AWave& wave = startup.wave;
    wave.synthesize();
    for (auto _ : state) {
        wave.synthesize();
        benchmark::DoNotOptimize(wave.chiSpectrum.get());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(waveSynthesize)->Unit(benchmark::kMicrosecond);
