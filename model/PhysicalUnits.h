#pragma once

#include <QVector>

class AWave;
class MeasuredCurve;

// Absolute units, the one place that defines them. In physical amplitude
// mode every transform is the field's: for k-weighted values x_i on a grid
// of step dk,
//     chi(R_j) = dk / sqrt(pi) * sum_i x_i exp(2 i k_i R_j),
// in Å^-(n+1) when x = k^n chi(k) is in Å^-n. Measured chi(k) enters as the
// model's own chi does, chi(k_i) k_i^n W(k_i), and is not normalised, so
// data and model share one scale (and a fit can compare them directly).
class PhysicalUnits {
public:
    // dk / sqrt(pi): the field's transform over the plain sum.
    static double transformFactor(double dk);
    // Multiplies a packed spectrum of `length` values by transformFactor(dk).
    static void scaleSpectrum(double* spectrum, int length, double dk);
    // The measured chi(k) on the wave's grid in the model's units: at each
    // synthesised k_i (i < kCount) the data interpolated linearly (0 outside
    // their range) times k_i^n, times W(k_i) when the wave's window factor
    // is selected; 0 from kCount on. fftLength values, or none without a grid.
    static QVector<double> weightedData(const MeasuredCurve& data, const AWave& wave);
};
