#pragma once

#include "Shell.h"

#include <QVector>

// Everything chi(k) is made of, as plain values: the synthesis below reads
// no widget, so whatever evaluates the model (the wave that is drawn, a fit
// to measured data) gets the very same numbers.
struct WaveParameters {
    int n = 2;
    double r = 2.0;
    double phi0 = 0.0;
    double phi1 = 0.0;      // linear phase, in Å: the phase gains phi1 * k
    double phi2 = 0.0;      // quadratic phase, in Å²
    double amplitude = 1.0; // N * S0^2 of the main shell; extra shells are relative to it
    double sigma = 0.05;
    double deltaE0 = 0.0; // eV: the E0 shift of the main shell's path
    // The main shell's scattering path; null for the hand-drawn envelope.
    ShellPathPtr path;
    QVector<Shell> shells; // extra shells, summed in this order
};

// The switches that multiply the bare oscillation by a factor.
struct WaveFactors {
    bool envelope = true;
    bool window = true;
    bool debyeWaller = true;
};

// The k grid: k_i = kMin + i * dk for i < length; only i < kCount carry the
// signal, the rest hold 0.
struct WaveGrid {
    double kMin = 0;
    double dk = 0;
    int kCount = 0;
    int length = 0;
    double k(int i) const { return kMin + i * dk; }
};

// The k arrays of a synthesis and the value range of what was tracked.
struct WaveArrays {
    QVector<double> kValues;
    QVector<double> oscillation;
    QVector<double> chi;
    QVector<double> envelopeValues;
    QVector<double> debyeWallerValues;
    QVector<double> windowValues;
    double valueMin = 0;
    double valueMax = 0;
    double valueScale = 0;
    // What chi and the oscillation were divided by (1 in physical mode):
    // measured data are divided by the same, so that both share one scale.
    double divisor = 1;
};

// Whether a shell at distance r takes part in the sum (1/r^2 is finite).
bool shellInSum(double r);

// Fills `out` with chi(k) and its factors on `grid`. `envelope` holds F at
// the first kCount grid points, or is empty when there is no envelope (then
// F is 0 and never applied); with a path on the main shell F is instead the
// path's amplitude mag·red·exp(−2 reff/λ) at the shifted k. A shell with a
// path adds k^n times its path's chi(k), the Debye-Waller factor inside it
// and the envelope switch taking its amplitude factor out; `window` holds W there. Without
// `physical`, chi and the oscillation are divided by the largest tracked value. When the main shell
// is at R = 0 (not in the sum) chi and the oscillation keep what `out` held, so a caller that keeps
// `out` keeps the last finite curve.
void synthesizeWave(const WaveParameters& p, const WaveFactors& factors, const WaveGrid& grid,
                    const QVector<double>& envelope, const QVector<double>& window, bool physical,
                    WaveArrays* out);
