#include "AWave.h"
#include "Envelope.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

// The wave's panel is a widget, so a widget application must exist. The
// shared benchmark main has none; one is made on first use, offscreen unless
// a platform was chosen, and kept until the process ends.
void ensureApplication() {
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tovik_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// One full synthesis (six arrays and five transforms) at the start-up state,
// the wave built as the main window builds it.
void waveSynthesize(benchmark::State& state) {
    ensureApplication();
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
