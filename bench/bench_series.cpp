#include "BenchProgram.h"
#include "BenchSummary.h"
#include "ChiDataReader.h"
#include "ChiK.h"
#include "DataSetFit.h"
#include "FitRun.h"
#include "Scenario.h"
#include "Session.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double medianSeriesMilliseconds = -1;
int seriesEvaluations = 0;
double seriesTheta = 0;

// The problem bench/peer_series.py solves too: three copper-like data sets
// at 10, 150 and 300 K written by the closed form
//   chi(k) = A sin(2kR + P0) exp(-2 sigma²(T) k²) / (k R²) + 0.01 sin(1000 (s+1) k),
// (the last term a deterministic stand-in for noise), k 1 ... 15 in steps of
// 0.05, sigma² from the Einstein model at theta_E = 233 K, mu = 63.546 / 2 u.
// Fitted on the 0.1 1/Å grid of 1024 points, flat F and window on
// k 1 ... 15, k², R 1 ... 3 Å; A, R, P0 and theta_E varied from 8, 2.5,
// 0.6 and 300 K.
std::vector<fit::DataSet> copperLikeSeries() {
    const double temperatures[] = {10, 150, 300};
    const double mass = 63.546 / 2, theta = 233;
    std::vector<fit::DataSet> sets;
    for (int s = 0; s < 3; ++s) {
        const double t = temperatures[s];
        const double x = theta / (2 * t);
        const double sigma2 = fit::Einstein::constant / (mass * theta) / std::tanh(x);
        fit::FitInputs in;
        in.grid.kMin = 0;
        in.grid.dk = 0.1;
        in.grid.kCount = 160;
        in.grid.length = 1024;
        in.windowPositions = {1, 1, 15, 15};
        in.envelopeAtK = QVector<double>(160, 1.0);
        in.windowAtK = QVector<double>(160, 0.0);
        for (int i = 10; i <= 150; ++i)
            in.windowAtK[i] = 1;
        in.parameters.n = 2;
        in.parameters.amplitude = 8;
        in.parameters.r = 2.5;
        in.parameters.phi0 = 0.6;
        for (int i = 0; i <= 280; ++i) {
            const double k = 1 + i * 0.05;
            in.dataK << k;
            in.dataChi << 10.8 * std::sin(2 * k * 2.55 + 1.0) * std::exp(-2 * sigma2 * k * k) /
                                  (k * 2.55 * 2.55) +
                              0.01 * std::sin(1000 * (s + 1) * k);
        }
        sets.push_back({QString("%1 K").arg(t), t, in});
    }
    return sets;
}

// DataSetFit(sets, options).run() once an iteration, as a fit button would
// (the problem made from the inputs, then run): the median in
// milliseconds and the last result. False where a fit failed, the
// benchmark then skipped.
bool timeSeries(benchmark::State& state, const std::vector<fit::DataSet>& sets,
                const fit::DataSetFitOptions& options, fit::SeriesResult* last, double* median) {
    std::vector<double> samples;
    for (auto _ : state) {
        samples.push_back(
            bench::timed<std::milli>([&] { *last = fit::DataSetFit(sets, options).run(); }));
        if (!last->result.ok) {
            state.SkipWithError(qPrintable(last->result.error.english()));
            return false;
        }
        benchmark::DoNotOptimize(last->result.chiSquare);
    }
    *median = bench::median(samples);
    return true;
}

void fitSeries(benchmark::State& state) {
    fit::DataSetFitOptions options;
    options.varied = QStringList{"amplitude", "R", "P0", fit::DataSetFit::thetaEName};
    options.sigmaModel = fit::SigmaModel::Einstein;
    options.reducedMass = 63.546 / 2;
    options.thetaE = 300;
    const std::vector<fit::DataSet> sets = copperLikeSeries();
    fit::SeriesResult series;
    if (!timeSeries(state, sets, options, &series, &medianSeriesMilliseconds))
        return;
    seriesEvaluations = series.result.evaluations;
    seriesTheta = series.result.best[series.result.best.size() - 2].value;
    state.counters["median_ms"] = medianSeriesMilliseconds;
}

// The copper examples at 10 and 150 K, from the 10 K example's model, with
// the Einstein model for Cu-Cu: real data, for the figures beside the time.
QString copperReport;
double medianCopperMilliseconds = -1;

void fitCopperSeries(benchmark::State& state) {
    bench::ensureApplication();
    const QString folder = QStringLiteral(TOVIK_EXAMPLES);
    Scenario scenario;
    QString error;
    QVector<double> k10, chi10, k150, chi150;
    if (!Scenario::readFile(folder + "/fit-copper-10K.tovik.json", scenario, &scenario, &error) ||
        !ChiDataReader::readFile(folder + "/copper-10K.chi", &k10, &chi10, &error) ||
        !ChiDataReader::readFile(folder + "/copper-150K.chi", &k150, &chi150, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    Session session;
    ChiK& window = *session.main();
    window.applyScenario(scenario, k10, chi10);
    std::vector<fit::DataSet> sets;
    sets.push_back({"copper-10K.chi", 10, fitInputs(*window.waves.first(), *window.measured)});
    window.applyScenario(scenario, k150, chi150);
    sets.push_back({"copper-150K.chi", 150, fitInputs(*window.waves.first(), *window.measured)});
    fit::DataSetFitOptions options;
    options.rMin = scenario.fitRMin;
    options.rMax = scenario.fitRMax;
    options.varied = scenario.fitVary;
    options.varied.removeAll("sigma");
    options.varied << fit::DataSetFit::thetaEName;
    options.sigmaModel = fit::SigmaModel::Einstein;
    options.reducedMass = 63.546 / 2;
    fit::SeriesResult series;
    if (!timeSeries(state, sets, options, &series, &medianCopperMilliseconds))
        return;
    const fit::Result& r = series.result;
    const size_t t = r.best.size() - 2;
    copperReport = QString("  varied %1; theta_E %2 +- %3 K, reduced chi-square %4, %5 "
                           "evaluations\n")
                       .arg(options.varied.join(' '))
                       .arg(r.best[t].value, 0, 'f', 1)
                       .arg(r.errors[t], 0, 'f', 1)
                       .arg(r.reducedChiSquare, 0, 'g', 3)
                       .arg(r.evaluations);
    for (const fit::DataSetResult& d : series.dataSets)
        copperReport += QString("  %1: sigma2 %2 +- %3 A^2, R-factor %4\n")
                            .arg(d.file)
                            .arg(d.sigma2, 0, 'f', 5)
                            .arg(d.sigma2Error, 0, 'f', 5)
                            .arg(d.rFactor, 0, 'g', 3);
    state.counters["median_ms"] = medianCopperMilliseconds;
}

const bool summary = bench::addSummary([](const bench::Results&) {
    if (medianCopperMilliseconds >= 0)
        std::printf("\nThe copper examples at 10 and 150 K with the Einstein model (median %.2f "
                    "ms):\n%s",
                    medianCopperMilliseconds, qPrintable(copperReport));
    if (medianSeriesMilliseconds < 0)
        return;
    std::printf("\nOne Einstein fit of three data sets (theta_E %.3f K, %d model evaluations):\n"
                "  median %.2f ms (target <= 50 ms); the scipy peer: bench/peer_series.py\n",
                seriesTheta, seriesEvaluations, medianSeriesMilliseconds);
});

} // namespace

BENCHMARK(fitSeries)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(fitCopperSeries)->Unit(benchmark::kMillisecond)->Iterations(10);
