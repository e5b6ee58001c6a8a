#include "PhysicalUnits.h"

#include "RealFft.h"

#include <algorithm>
#include <cmath>

double PhysicalUnits::transformFactor(double dk) {
    return fft::exafsScale(dk);
}

void PhysicalUnits::scaleSpectrum(double* spectrum, int length, double dk) {
    const double f = transformFactor(dk);
    for (int i = 0; i < length; ++i)
        spectrum[i] *= f;
}

double PhysicalUnits::dataAt(const QVector<double>& dataK, const QVector<double>& dataChi,
                             double k) {
    if (dataK.isEmpty() || k < dataK.first() || k > dataK.last())
        return 0;
    // The first point at or beyond k.
    const int i = int(std::lower_bound(dataK.begin(), dataK.end(), k) - dataK.begin());
    if (dataK[i] == k)
        return dataChi[i];
    const double x0 = dataK[i - 1], x1 = dataK[i];
    // The fraction first: it lies in [0, 1] however close or far apart the
    // neighbours are, so no step of it overflows.
    return dataChi[i - 1] + (dataChi[i] - dataChi[i - 1]) * ((k - x0) / (x1 - x0));
}

QVector<double> PhysicalUnits::weightedData(const QVector<double>& dataK,
                                            const QVector<double>& dataChi, const WaveGrid& grid,
                                            int n, const QVector<double>* windowAtK) {
    const int N = grid.length;
    if (N <= 0)
        return {};
    QVector<double> values(N, 0.0);
    for (int i = 0; i < std::min(grid.kCount, N); ++i) {
        const double k = grid.k(i);
        double v = dataAt(dataK, dataChi, k) * std::pow(k, double(n));
        if (windowAtK)
            v *= windowAtK->at(i);
        values[i] = v;
    }
    return values;
}
