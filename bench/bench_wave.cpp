#include "AWave.h"
#include "Envelope.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

namespace {

// One full synthesis (six arrays and five transforms) at the start-up state,
// the wave built as the main window builds it.
void waveSynthesize(benchmark::State& state) {
    bench::ensureApplication();
    AWave wave(2.0, 0.0, 1.0);
    Envelope envelope;
    for (int i = 0; i <= 16; ++i)
        envelope.points << QPointF(i, 1.0);
    wave.envelope = &envelope;
    wave.setKGrid(0, 16, 0.1, 1024);
    wave.synthesize();
    for (auto _ : state) {
        wave.synthesize();
        benchmark::DoNotOptimize(wave.chiSpectrum.get());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(waveSynthesize)->Unit(benchmark::kMicrosecond);
