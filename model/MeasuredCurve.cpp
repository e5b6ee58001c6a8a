#include "MeasuredCurve.h"

#include "AWave.h"
#include "PhysicalUnits.h"
#include "RealFft.h"

#include <algorithm>
#include <cmath>
#include <utility>

MeasuredCurve::MeasuredCurve(QObject* parent) : QObject(parent) {}

MeasuredCurve::~MeasuredCurve() = default;

void MeasuredCurve::setData(const QVector<double>& k, const QVector<double>& chi,
                            const QString& file) {
    dataK = k;
    dataChi = chi;
    path = k.isEmpty() ? QString() : file;
    if (lastWave)
        process(lastWave);
    emit changed();
}

void MeasuredCurve::clear() {
    setData({}, {}, QString());
}

double MeasuredCurve::valueAt(double k) const {
    if (dataK.isEmpty() || k < dataK.first() || k > dataK.last())
        return 0;
    // The first point at or beyond k; the data's k increase strictly.
    const int i = int(std::lower_bound(dataK.begin(), dataK.end(), k) - dataK.begin());
    if (dataK[i] == k)
        return dataChi[i];
    const double x0 = dataK[i - 1], x1 = dataK[i];
    // The fraction first: it lies in [0, 1] however close or far apart the
    // neighbours are, so no step of it overflows.
    return dataChi[i - 1] + (dataChi[i] - dataChi[i - 1]) * ((k - x0) / (x1 - x0));
}

void MeasuredCurve::process(const AWave* wave) {
    lastWave = wave;
    values.clear();
    spectrum.reset();
    fftLength = 0;
    if (!wave || dataK.isEmpty())
        return;
    values = PhysicalUnits::weightedData(*this, *wave);
    if (values.isEmpty())
        return;
    const int N = wave->fftLength;
    if (!wave->physical) {
        double largest = 0;
        for (double v : std::as_const(values))
            largest = std::max(largest, std::abs(v));
        if (largest > 0)
            for (double& v : values)
                v /= largest;
    }
    fftLength = N;
    spectrum.reset(new double[N]);
    fft::RealFft<double>(N).forwardTransform(spectrum.get(), values.constData());
    if (wave->physical)
        PhysicalUnits::scaleSpectrum(spectrum.get(), N, wave->dk);
}
