#ifndef TOVIK_BENCH_PROGRAM_H
#define TOVIK_BENCH_PROGRAM_H

#include "AWave.h"
#include "BenchApplication.h"
#include "ChiK.h"
#include "ChiR.h"
#include "Envelope.h"
#include "FitRun.h"
#include "Scenario.h"
#include "Session.h"
#include "WaveCtrl.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QSlider>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// The middle of the samples: one slow iteration (a page fault, another
// process) does not move it.
inline double median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// Wall-clock time of `work`, in the unit of Duration (std::micro, std::milli).
template <typename Duration, typename Work> double timed(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, Duration>(std::chrono::steady_clock::now() - start)
        .count();
}

// One parameter change: the slider's new value, then both plots painted in
// full. Out of line so that a profile can count it alone:
// valgrind --tool=callgrind --toggle-collect='*changeOnce*'.
[[gnu::noinline]] inline void changeOnce(QSlider* bar, int value, DispArea* const* surfaces,
                                         QImage* images) {
    bar->setValue(value);
    for (int i = 0; i < 2; ++i)
        surfaces[i]->render(&images[i]);
}

// The program as main builds it, both plots painted at 800 x 600.
class PaintedProgram {
public:
    PaintedProgram() {
        for (DispArea* s : surfaces)
            s->resize(800, 600);
        // The first paint polishes the widgets and loads the fonts: no part
        // of a change.
        for (int i = 0; i < 2; ++i)
            surfaces[i]->render(&images[i]);
    }
    ChiK& main() { return window; }
    AWave* wave() const { return window.waves.first(); }

    // One parameter change end to end, as a slider drag produces it: the
    // panel's slot, the wave's synthesis and five transforms, then both
    // plots painted in full. Microseconds.
    double change(int rPosition) {
        return timed<std::micro>([&] {
            changeOnce(wave()->ctrl->RBar, rPosition, surfaces, images);
            benchmark::DoNotOptimize(images[0].constBits());
            benchmark::DoNotOptimize(images[1].constBits());
        });
    }

private:
    const bool applicationMade = (ensureApplication(), true);
    Session session;
    ChiK& window = *session.main();
    DispArea* surfaces[2] = {window.DispA, window.chiR->DispA};
    // The window's format (RGB32, as the offscreen and the 24-bit X11
    // backing stores have it).
    QImage images[2] = {QImage(800, 600, QImage::Format_RGB32),
                        QImage(800, 600, QImage::Format_RGB32)};
};

// A wave on the main window's k grid with a flat envelope, built as the
// main window builds it.
struct StartupWave {
    StartupWave(double r, double phi0, double amplitude) : wave(r, phi0, amplitude) {
        for (int i = 0; i <= 16; ++i)
            envelope.points << QPointF(i, 1.0);
        wave.envelope = &envelope;
        wave.setKGrid(0, 16, 0.1, 1024);
    }
    const bool applicationMade = (ensureApplication(), true);
    Envelope envelope;
    AWave wave;
};

// The Fit window's fit of the window's first wave to its data, over the
// scenario's R range and varied names, once an iteration: the median in
// milliseconds, the last fit's model evaluations into *evaluations.
inline double medianFit(benchmark::State& state, ChiK& window, const Scenario& scenario,
                        int* evaluations) {
    std::vector<double> samples;
    for (auto _ : state)
        samples.push_back(timed<std::milli>([&] {
            const FitRun run = runFit(*window.waves.first(), *window.measured, scenario.fitVary,
                                      scenario.fitRMin, scenario.fitRMax);
            *evaluations = run.result.evaluations;
            benchmark::DoNotOptimize(run.result.chiSquare);
        }));
    return median(samples);
}

} // namespace bench

#endif
