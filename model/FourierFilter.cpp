#include "FourierFilter.h"

#include "PackedTransform.h"
#include "RealFft.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;
} // namespace

FourierFilter::FourierFilter() = default;

FourierFilter::~FourierFilter() = default;

bool FourierFilter::filter(const FilterInput& in, FilteredSpectrum* out, QString* error) {
    const WaveGrid& grid = in.grid;
    const long N = grid.length;
    const auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (N < 4 || (N & (N - 1)) != 0 || N > (1L << fft::RealFft<double>::maxBitDepth))
        return refuse(
            tr("The transform needs a length that is a power of two, at least 4; it is %1.")
                .arg(N));
    if (!(grid.dk > 0) || !std::isfinite(grid.dk) || !std::isfinite(grid.kMin))
        return refuse(tr("The k grid needs a finite start and a positive step; the step is %1 Å⁻¹.")
                          .arg(grid.dk));
    const int count = std::min(grid.kCount, grid.length);
    if (count <= 0)
        return refuse(tr("The k grid holds no signal to filter."));
    if (!in.spectrum)
        return refuse(tr("There is no spectrum to filter."));
    if (!std::isfinite(in.spectrumFactor) || in.spectrumFactor == 0)
        return refuse(tr("The spectrum's factor must be a finite number other than 0; it is %1.")
                          .arg(in.spectrumFactor));
    if (!in.kWindow.isEmpty() && in.kWindow.size() < count)
        return refuse(tr("The k window has %1 values for %2 points of signal.")
                          .arg(in.kWindow.size())
                          .arg(count));
    if (!(in.minimumWeight >= 0 && in.minimumWeight <= 1))
        return refuse(
            tr("The least weight must be a number from 0 to 1; it is %1.").arg(in.minimumWeight));
    for (double p : in.rWindow) {
        if (!std::isfinite(p))
            return refuse(tr("The R window's positions must be finite numbers."));
    }
    WindowPositions rWindow = in.rWindow;
    std::sort(rWindow.begin(), rWindow.end());

    if (!engine || engineLength != N) {
        engine.reset(new fft::RealFft<double>(N));
        engineLength = N;
    }
    for (std::vector<double>* v : {&realBins, &imagBins, &realSums, &imagSums})
        v->assign(N, 0.0);

    // The bins 0 ... N/2 of the packed spectrum, windowed; all but the two
    // ends stand for their negative partners too.
    const long half = N / 2;
    const double dR = spectrumBinWidth(grid.dk, int(N));
    for (long m = 0; m <= half; ++m) {
        const bool end = m == 0 || m == half;
        const double w = hanningWindow(rWindow, m * dR) * (end ? 1 : 2);
        realBins[m] = w * in.spectrum[m];
        imagBins[m] = end ? 0 : w * in.spectrum[half + m];
    }
    // The sums over m of the bins times cos and sin(2 pi m t / N), for every
    // t at once: the forward transform of the bins as if they were samples.
    engine->forwardTransform(realSums.data(), realBins.data());
    engine->forwardTransform(imagSums.data(), imagBins.data());
    const auto cosSum = [&](const std::vector<double>& sums, long t) {
        return t <= half ? sums[t] : sums[N - t];
    };
    const auto sinSum = [&](const std::vector<double>& sums, long t) {
        if (t == 0 || t == half)
            return 0.0;
        return t < half ? sums[half + t] : -sums[half + N - t];
    };

    weights.resize(count);
    double largest = 0;
    for (int t = 0; t < count; ++t) {
        const double k = grid.k(t);
        weights[t] = std::pow(k, double(in.n)) * (in.kWindow.isEmpty() ? 1.0 : in.kWindow[t]);
        largest = std::max(largest, std::abs(weights[t]));
    }
    const double least = in.minimumWeight * largest;

    // (a + i b) exp(-i theta) = a cos + b sin + i (b cos - a sin).
    const double scale = 1 / (in.spectrumFactor * double(N));
    for (QVector<double>* v : {&out->q, &out->real, &out->imag, &out->amplitude, &out->phase})
        v->resize(0);
    out->firstIndex = 0;
    for (long t = 0; t < count; ++t) {
        const double k = grid.k(int(t));
        const double weight = weights[t];
        if (weight == 0 || std::abs(weight) < least)
            continue;
        const double re = (cosSum(realSums, t) + sinSum(imagSums, t)) * scale / weight;
        const double im = (cosSum(imagSums, t) - sinSum(realSums, t)) * scale / weight;
        if (!std::isfinite(re) || !std::isfinite(im))
            continue;
        if (out->q.isEmpty())
            out->firstIndex = int(t);
        out->q.append(k);
        out->real.append(re);
        out->imag.append(im);
        out->amplitude.append(std::hypot(re, im));
        // The nearest value to the previous one, so the phase runs on
        // through each turn.
        double phase = std::atan2(re, im);
        if (!out->phase.isEmpty())
            phase += 2 * Pi * std::round((out->phase.last() - phase) / (2 * Pi));
        out->phase.append(phase);
    }
    return true;
}
