#include "BenchSummary.h"
#include "RealFft.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

void fillRandom(double* x, long n) {
    std::mt19937_64 engine(42);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    for (long i = 0; i < n; ++i)
        x[i] = uniform(engine);
}

// Our transform on the same cache-line-aligned arrays FFTW gets; the argument
// shift moves input and output by that many doubles, as the arrays of a caller
// that allocates with new[] or QVector may be.
void ourForward(benchmark::State& state) {
    const long n = state.range(0);
    const long shift = state.range(1);
    fft::RealFft<double> engine(n);
    double* xStorage = fftw_alloc_real(size_t(n + shift));
    double* fStorage = fftw_alloc_real(size_t(n + shift));
    double* x = xStorage + shift;
    double* f = fStorage + shift;
    fillRandom(x, n);
    for (auto _ : state) {
        engine.forwardTransform(f, x);
        benchmark::DoNotOptimize(f);
        benchmark::ClobberMemory();
    }
    fftw_free(fStorage);
    fftw_free(xStorage);
}

void ourConstruction(benchmark::State& state) {
    const long n = state.range(0);
    for (auto _ : state) {
        fft::RealFft<double> engine(n);
        benchmark::DoNotOptimize(engine.buffer());
        benchmark::ClobberMemory();
    }
}

// FFTW's planner overwrites the arrays while measuring, so the input is filled
// after planning.
void fftwRealToComplex(benchmark::State& state) {
    const int n = int(state.range(0));
    double* in = fftw_alloc_real(size_t(n));
    fftw_complex* out = fftw_alloc_complex(size_t(n / 2 + 1));
    const fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
    fillRandom(in, n);
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

void fftwRealToHalfcomplex(benchmark::State& state) {
    const int n = int(state.range(0));
    double* in = fftw_alloc_real(size_t(n));
    double* out = fftw_alloc_real(size_t(n));
    const fftw_plan plan = fftw_plan_r2r_1d(n, in, out, FFTW_R2HC, FFTW_MEASURE);
    fillRandom(in, n);
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

BENCHMARK(ourForward)->Args({1024, 0})->Args({16384, 0})->Args({1024, 1})->Args({1024, 2});
BENCHMARK(fftwRealToComplex)->Arg(1024)->Arg(16384);
BENCHMARK(fftwRealToHalfcomplex)->Arg(1024)->Arg(16384);
BENCHMARK(ourConstruction)->Arg(1024);

void printRatio(const char* label, double numerator, double denominator) {
    if (numerator > 0 && denominator > 0)
        std::printf("  %-44s %6.2f\n", label, numerator / denominator);
}

const bool summaryAdded = bench::addSummary([](const bench::Results& results) {
    std::printf("\nReal FFT ratios (lower is better for ours; target at N = 1024: r2c <= 4):\n");
    for (const char* n : {"1024", "16384"}) {
        const std::string size = std::string("/") + n;
        const double ours = bench::timeOf(results, "ourForward" + size + "/0");
        const double r2c = bench::timeOf(results, "fftwRealToComplex" + size);
        const double r2hc = bench::timeOf(results, "fftwRealToHalfcomplex" + size);
        printRatio(("N = " + std::string(n) + ": ours / FFTW r2c").c_str(), ours, r2c);
        printRatio(("N = " + std::string(n) + ": ours / FFTW r2hc").c_str(), ours, r2hc);
    }
    printRatio("N = 1024: construction / one transform",
               bench::timeOf(results, "ourConstruction/1024"),
               bench::timeOf(results, "ourForward/1024/0"));
});

} // namespace
