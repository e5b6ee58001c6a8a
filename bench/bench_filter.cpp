#include "AWave.h"
#include "BenchApplication.h"
#include "BenchSummary.h"
#include "ChiDataReader.h"
#include "ChiK.h"
#include "ChiR.h"
#include "FileCommands.h"
#include "FilteredCurves.h"
#include "FourierFilter.h"
#include "PhysicalUnits.h"
#include "RatioMethod.h"
#include "RatioWindow.h"
#include "RealFft.h"
#include "Session.h"
#include "ViewOptions.h"

#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The two copper measurements on the program's grid (k_i = i 0.1 Å^-1,
// 1024 points, signal below 16 Å^-1), weighted by k² and the window
// [2, 3, 13, 14] of the copper example, transformed once: what a drag of
// the R window starts from.
struct Copper {
    Copper() {
        grid = {0, 0.1, 159, 1024};
        for (int i = 0; i < grid.kCount; ++i)
            window << hanningWindow({2, 3, 13, 14}, grid.k(i));
        for (const char* name : {"/copper-10K.chi", "/copper-150K.chi"}) {
            QVector<double> k, chi;
            QString why;
            if (!ChiDataReader::readFile(QStringLiteral(TOVIK_EXAMPLES) + name, &k, &chi, &why)) {
                error = why.toStdString();
                return;
            }
            const QVector<double> x = PhysicalUnits::weightedData(k, chi, grid, 2, &window);
            std::vector<double> spectrum(grid.length);
            fft::RealFft<double>(grid.length).forwardTransform(spectrum.data(), x.constData());
            PhysicalUnits::scaleSpectrum(spectrum.data(), grid.length, grid.dk);
            spectra.push_back(spectrum);
        }
    }
    FilterInput input(int which) const {
        FilterInput in;
        in.spectrum = spectra[which].data();
        in.spectrumFactor = PhysicalUnits::transformFactor(grid.dk);
        in.grid = grid;
        in.n = 2;
        in.kWindow = window;
        in.rWindow = {1.6, 1.9, 2.7, 3.0}; // copper's first shell
        return in;
    }
    WaveGrid grid;
    QVector<double> window;
    std::vector<std::vector<double>> spectra;
    std::string error;
};

fit::ValueWithError deltaSigma2;

const Copper& copper() {
    static const Copper c;
    return c;
}

// One spectrum filtered back to q.
void filterOne(benchmark::State& state) {
    const Copper& c = copper();
    if (!c.error.empty()) {
        state.SkipWithError(c.error.c_str());
        return;
    }
    FourierFilter filter;
    FilteredSpectrum out;
    const FilterInput in = c.input(0);
    for (auto _ : state) {
        filter.filter(in, &out, nullptr);
        benchmark::DoNotOptimize(out.phase.data());
    }
}

// What one step of a drag of the R window in the Ratio window costs: both
// spectra filtered again and both straight lines fitted over 4 to 12 Å^-1.
void filterBothAndRatio(benchmark::State& state) {
    const Copper& c = copper();
    if (!c.error.empty()) {
        state.SkipWithError(c.error.c_str());
        return;
    }
    FourierFilter filter;
    FilteredSpectrum first, second;
    fit::RatioResult ratio;
    const FilterInput a = c.input(0), b = c.input(1);
    QString why;
    if (!filter.filter(a, &first, &why) || !filter.filter(b, &second, &why) ||
        !fit::RatioMethod::compute(first, second, 4, 12, &ratio, &why)) {
        state.SkipWithError(why.toStdString().c_str());
        return;
    }
    deltaSigma2 = ratio.deltaSigma2;
    for (auto _ : state) {
        filter.filter(a, &first, nullptr);
        filter.filter(b, &second, nullptr);
        fit::RatioMethod::compute(first, second, 4, 12, &ratio, nullptr);
        benchmark::DoNotOptimize(ratio.deltaSigma2.value);
    }
}

double medianDragMicroseconds = -1;
double medianDragPaintedMicroseconds = -1;

// The program as a user has it for the ratio method: copper's path on the
// main shell, the 10 K copper held, the 150 K copper loaded, physical
// amplitude, the filtered chi(q) shown and the Ratio window open on the
// held data. A step of a drag of the R window's inner edge then redoes
// what follows it: the Ratio window's two filtered spectra and its lines
// (at once, on rWindowChanged), and the chi(k) plot's filtered traces of
// the model, the data and the held curve's model and data. With `paint`
// the chi(k) plot and the Ratio window are painted too, at 800 x 600.
void rWindowDrag(benchmark::State& state, bool paint) {
    bench::ensureApplication();
    Session session;
    ChiK& main = *session.main();
    ChiR& chiR = *main.chiR;
    const QString examples = QStringLiteral(TOVIK_EXAMPLES);
    if (!main.files->openPathFile(QStringLiteral(TOVIK_LESSONS "/feff0001.dat")) ||
        !main.files->openDataFile(examples + "/copper-10K.chi")) {
        state.SkipWithError("the copper files cannot be read");
        return;
    }
    main.view->setPhysical(true);
    main.actionHold->trigger();
    if (!main.files->openDataFile(examples + "/copper-150K.chi")) {
        state.SkipWithError("the copper files cannot be read");
        return;
    }
    main.view->setFiltered(true);
    main.actionRatio->trigger();
    RatioWindow& ratio = *main.ratioWindow;
    QComboBox* source = ratio.Source;
    source->setCurrentIndex(source->count() - 1); // the held data
    ratio.recompute();
    AWave& wave = *main.waves.first();
    FilteredCurves filter;
    QImage chiK(800, 600, QImage::Format_ARGB32_Premultiplied);
    QImage ratioImage(800, 600, QImage::Format_ARGB32_Premultiplied);
    main.DispA->resize(800, 600);
    ratio.resize(800, 600);

    std::vector<double> samples;
    int step = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // 1.90 and 1.95 Å in turn, so that every step is a real change.
        chiR.setRWindow(1, (step++ & 1) ? 1.95 : 1.9);
        if (paint) {
            main.DispA->render(&chiK);
            ratio.render(&ratioImage);
            benchmark::DoNotOptimize(chiK.constBits());
        } else {
            const QVector<PlotTrace> traces =
                filter.traces(wave, main.measured, main.held, chiR.rWindow);
            benchmark::DoNotOptimize(traces.constData());
        }
        samples.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    (paint ? medianDragPaintedMicroseconds : medianDragMicroseconds) = samples[samples.size() / 2];
    state.counters["median_us"] = samples[samples.size() / 2];
}

void rWindowDragComputed(benchmark::State& state) {
    rWindowDrag(state, false);
}

void rWindowDragPainted(benchmark::State& state) {
    rWindowDrag(state, true);
}

const bool summary = bench::addSummary([](const bench::Results& results) {
    const double one = bench::timeOf(results, "filterOne");
    const double both = bench::timeOf(results, "filterBothAndRatio");
    if (one < 0 || both < 0)
        return;
    std::printf("\nFourier filter on 1024 points: %.1f us; both copper spectra and the ratio "
                "fit: %.1f us (a drag allows 5000 us)\n  Delta sigma^2, 10 K minus 150 K: "
                "%.5f +- %.1e A^2\n",
                one / 1000, both / 1000, deltaSigma2.value, deltaSigma2.error);
    if (medianDragMicroseconds >= 0)
        std::printf("One step of an R window drag in the program (the Ratio window's filters "
                    "and lines, the chi(k) plot's four filtered curves): median %.0f us; with "
                    "the chi(k) plot and the Ratio window painted at 800 x 600: %.0f us "
                    "(a drag allows 5000 us)\n",
                    medianDragMicroseconds, medianDragPaintedMicroseconds);
});

} // namespace

BENCHMARK(filterOne)->Unit(benchmark::kMicrosecond);
BENCHMARK(filterBothAndRatio)->Unit(benchmark::kMicrosecond);
BENCHMARK(rWindowDragComputed)->Unit(benchmark::kMicrosecond);
BENCHMARK(rWindowDragPainted)->Unit(benchmark::kMicrosecond);
