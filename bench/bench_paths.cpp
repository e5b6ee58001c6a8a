#include "BenchSummary.h"
#include "PathChi.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

// Copper's first shell at the defaults the program starts a path with,
// a fit's typical sigma² and a small E0 shift.
struct Copper {
    Copper() {
        PathData data;
        QString why;
        if (!PathFile::readFile(QStringLiteral(TOVIK_PATH_DATA "/feff0001.dat"), &data, &why))
            error = why.toStdString();
        else
            path = std::make_unique<PathChi>(data);
        for (int i = 0; i < points; ++i)
            k.push_back(2 + i * 0.1);
        parameters = path ? path->defaults() : PathParameters{};
        parameters.sigma2 = 0.003;
        parameters.deltaE0 = 2.5;
    }
    static constexpr int points = 160;
    std::unique_ptr<PathChi> path;
    std::vector<double> k;
    PathParameters parameters;
    std::string error;
};

const Copper& copper() {
    static const Copper c;
    return c;
}

// chi(k), envelope and phase on 160 points into arrays the caller owns.
void pathChi160(benchmark::State& state) {
    const Copper& c = copper();
    if (!c.path) {
        state.SkipWithError(c.error.c_str());
        return;
    }
    std::vector<double> chi(Copper::points), envelope(Copper::points), phase(Copper::points);
    for (auto _ : state) {
        c.path->evaluate(c.k.data(), Copper::points, c.parameters, chi.data(), envelope.data(),
                         phase.data(), nullptr);
        benchmark::DoNotOptimize(chi.data());
    }
}

// The same into a new PathCurve, as a caller that keeps the curve does it.
void pathCurve160(benchmark::State& state) {
    const Copper& c = copper();
    if (!c.path) {
        state.SkipWithError(c.error.c_str());
        return;
    }
    const QVector<double> k(c.k.begin(), c.k.end());
    PathCurve curve;
    for (auto _ : state) {
        c.path->evaluate(k, c.parameters, &curve, nullptr);
        benchmark::DoNotOptimize(curve.chi.data());
    }
}

// Reading the path file and building its splines, once per path a panel shows.
void pathLoad(benchmark::State& state) {
    for (auto _ : state) {
        PathData data;
        PathFile::readFile(QStringLiteral(TOVIK_PATH_DATA "/feff0001.dat"), &data, nullptr);
        PathChi path(data);
        benchmark::DoNotOptimize(&path);
    }
}

const bool summary = bench::addSummary([](const bench::Results& results) {
    const double chi = bench::timeOf(results, "pathChi160");
    if (chi < 0)
        return;
    std::printf("\nOne path's chi(k) on %d points: %.2f us\n", Copper::points, chi / 1000);
});

} // namespace

BENCHMARK(pathChi160)->Unit(benchmark::kMicrosecond);
BENCHMARK(pathCurve160)->Unit(benchmark::kMicrosecond);
BENCHMARK(pathLoad)->Unit(benchmark::kMicrosecond);
