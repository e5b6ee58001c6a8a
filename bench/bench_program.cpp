#include "BenchProgram.h"
#include "BenchSummary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

double medianChangeMicroseconds = -1;

// One parameter change: the slider's new value, then both plots painted in
// full into images of the window's format (RGB32, as the offscreen and the
// 24-bit X11 backing stores have it). Out of line so that a profile can count
// it alone: valgrind --tool=callgrind --toggle-collect='*changeOnce*'.
[[gnu::noinline]] void changeOnce(QSlider* bar, int value, DispArea* const* surfaces,
                                  QImage* images) {
    bar->setValue(value);
    for (int i = 0; i < 2; ++i)
        surfaces[i]->render(&images[i]);
}

// One parameter change end to end, as a slider drag produces it: the panel's
// slot, the wave's synthesis and five transforms, then both plots painted
// in full at 800 x 600.
void parameterChange(benchmark::State& state) {
    bench::PaintedProgram program;
    std::vector<double> samples;
    int step = 0;
    // 2.0 and 2.1 in turn, so that every iteration is a real change.
    for (auto _ : state)
        samples.push_back(program.change(20 + (step++ & 1)));
    medianChangeMicroseconds = bench::median(samples);
    state.counters["median_us"] = medianChangeMicroseconds;
}

const bool summary = bench::addSummary([](const bench::Results&) {
    if (medianChangeMicroseconds < 0)
        return;
    std::printf("\nOne parameter change end to end (slot, synthesis, five transforms, both "
                "plots at 800 x 600):\n  median %.3f ms per change (target: at most 1.2 ms)\n",
                medianChangeMicroseconds / 1000.0);
});

} // namespace

BENCHMARK(parameterChange)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
