#pragma once

#include "HanningWindow.h"
#include "WaveSynthesis.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

namespace fft {
template <typename T> class RealFft;
}

// What the filter is given: a real signal x_i = k_i^n W(k_i) chi(k_i) on the
// grid (model/WaveSynthesis), transformed forward into a packed spectrum
// (model/PackedTransform) as the model's and the measured data's spectra are.
struct FilterInput {
    const double* spectrum = nullptr; // packed, grid.length values
    // The factor the spectrum carries over the plain sum: dk / sqrt(pi)
    // (PhysicalUnits::transformFactor) for the field's chi(R), 1 for a
    // spectrum left unscaled.
    double spectrumFactor = 1;
    WaveGrid grid;
    int n = 0; // the k weight x carries
    // W(k_i) that x carries at the first kCount points; empty when no window
    // was applied.
    QVector<double> kWindow;
    // The R window's four positions, Å, in any order.
    WindowPositions rWindow{};
    // The least k^n W(k), relative to its largest value on the grid, that
    // chi(q) is divided by. Near a zero of the weight the division turns the
    // filter's leakage (and, where W is 0 but for rounding, the rounding
    // itself) into spikes at the window's edges; there chi(q) is not given.
    double minimumWeight = 1e-2;
};

// chi(q) on the k grid, at the points where k^n W(k) is not negligible
// (FilterInput::minimumWeight): there the filtered signal is divided by it. q is in Å^-1, the parts
// and the amplitude in the units of chi(k). The phase Φ is the oscillation's, Re chi(q) = |chi(q)|
// sin Φ and Im chi(q) = |chi(q)| cos Φ, so that a shell A(k) sin(2kR + δ(k)) has Φ = 2kR + δ(k); it
// is unwrapped along q, its first value in (-pi, pi].
struct FilteredSpectrum {
    QVector<double> q;
    QVector<double> real;
    QVector<double> imag;
    QVector<double> amplitude;
    QVector<double> phase;
    int firstIndex = 0; // the grid index of q[0]
};

// Fourier filtering: chi(R) multiplied by the R window and transformed back
// to k (called q there).
//
// The forward transform is the field's, chi(R) = dk/sqrt(pi) sum_i x_i
// exp(2 i k_i R), at R_m = m dR with dR = pi / (dk N). Its inverse over all
// R bins, positive and negative, is x_i = dR/sqrt(pi) sum_m chi(R_m)
// exp(-2 i k_i R_m) = 1/(N c) sum_m ... for the spectrum's factor c. The R
// window weighs the bins 0 < R < pi/(2 dk) of the packed spectrum; the
// negative ones, conjugates of the positive ones for a real x, are left out
// and the positive ones counted twice instead (R = 0 and the last bin once).
// What comes back is the analytic signal: its real part is the filtered x
// the two-sided window |R| would give, its imaginary part the quadrature,
// so that |.| is the envelope and the argument the phase. Divided by k^n W(k)
// it is chi(q).
//
// One filter keeps its transform engine and work arrays between calls, so
// repeated filtering on one grid allocates nothing; a filter must not be
// used by two threads at once.
class FourierFilter {
    Q_DECLARE_TR_FUNCTIONS(FourierFilter)

public:
    FourierFilter();
    ~FourierFilter();
    FourierFilter(const FourierFilter&) = delete;
    FourierFilter& operator=(const FourierFilter&) = delete;

    // Refuses, with a one-line reason in `error`: a grid length that is no
    // power of two of at least 4, a step dk that is not positive and finite,
    // no signal points, a missing spectrum, a spectrum factor of 0 or not
    // finite, fewer window values than signal points, a least weight outside
    // 0 ... 1, and R window positions that are not finite. `out` is
    // untouched then.
    bool filter(const FilterInput& in, FilteredSpectrum* out, QString* error);

private:
    std::unique_ptr<fft::RealFft<double>> engine;
    long engineLength = 0;
    // The windowed bins, real and imaginary parts, and their transforms.
    std::vector<double> realBins, imagBins, realSums, imagSums;
    std::vector<double> weights; // k^n W(k) at the signal's points
};
