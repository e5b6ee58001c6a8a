#pragma once

#include "WaveSynthesis.h"

#include <QVector>

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
    // Measured chi at k: linear between neighbours (dataK increasing
    // strictly), 0 outside their range.
    static double dataAt(const QVector<double>& dataK, const QVector<double>& dataChi, double k);
    // The measured chi(k) on `grid` in the model's units: at each
    // synthesised k_i (i < kCount) dataAt(k_i) times k_i^n, times
    // (*windowAtK)[i] when a window is given; 0 from kCount on. grid.length
    // values, or none without a grid.
    static QVector<double> weightedData(const QVector<double>& dataK,
                                        const QVector<double>& dataChi, const WaveGrid& grid, int n,
                                        const QVector<double>* windowAtK);
};
