#include "AWave.h"
#include "BenchApplication.h"
#include "BenchSummary.h"
#include "ChiK.h"
#include "ChiR.h"
#include "Envelope.h"
#include "Session.h"
#include "WaveCtrl.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QSlider>

#include <algorithm>
#include <chrono>
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
    bench::ensureApplication();
    Session session;
    ChiK& window = *session.main();
    AWave* wave = window.waves.first();
    DispArea* surfaces[] = {window.DispA, window.chiR->DispA};
    QImage images[] = {QImage(800, 600, QImage::Format_RGB32),
                       QImage(800, 600, QImage::Format_RGB32)};
    for (DispArea* s : surfaces)
        s->resize(800, 600);
    // The first paint polishes the widgets and loads the fonts: no part of a
    // change.
    for (int i = 0; i < 2; ++i)
        surfaces[i]->render(&images[i]);

    std::vector<double> samples;
    int step = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // 2.0 and 2.1 in turn, so that every iteration is a real change.
        changeOnce(wave->ctrl->RBar, 20 + (step++ & 1), surfaces, images);
        benchmark::DoNotOptimize(images[0].constBits());
        benchmark::DoNotOptimize(images[1].constBits());
        samples.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    medianChangeMicroseconds = samples[samples.size() / 2];
    state.counters["median_us"] = medianChangeMicroseconds;
    // The session owns the wave, its envelope and both windows.
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
