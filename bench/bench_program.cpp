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

// One parameter change end to end, as a slider drag produces it: the panel's
// slot, the wave's synthesis and five transforms, then both plots painted
// in full at 800 x 600.
void parameterChange(benchmark::State& state) {
    bench::ensureApplication();
    Session session;
    ChiK& window = *session.main();
    AWave* wave = window.waves.first();
    DispArea* surfaces[] = {window.DispA, window.chiR->DispA};
    QImage images[] = {QImage(800, 600, QImage::Format_ARGB32_Premultiplied),
                       QImage(800, 600, QImage::Format_ARGB32_Premultiplied)};
    for (DispArea* s : surfaces)
        s->resize(800, 600);

    std::vector<double> samples;
    int step = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // 2.0 and 2.1 in turn, so that every iteration is a real change.
        wave->ctrl->RBar->setValue(20 + (step++ & 1));
        for (int i = 0; i < 2; ++i)
            surfaces[i]->render(&images[i]);
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
