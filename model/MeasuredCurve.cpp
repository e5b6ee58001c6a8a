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
    return PhysicalUnits::dataAt(dataK, dataChi, k);
}

void MeasuredCurve::process(const AWave* wave) {
    lastWave = wave;
    values.clear();
    spectrum.reset();
    fftLength = 0;
    if (!wave || dataK.isEmpty())
        return;
    const int N = wave->fftLength;
    // Not before the wave has synthesised its grid.
    if (N <= 0 || wave->kValues.size() < N)
        return;
    QVector<double> envelopeAtK, windowAtK;
    wave->factorInputs(&envelopeAtK, &windowAtK);
    values = PhysicalUnits::weightedData(dataK, dataChi, wave->grid(), wave->n,
                                         wave->factors().window ? &windowAtK : nullptr);
    // Normalised: on the model's scale, divided by what the model was
    // divided by, so that data and model can be compared.
    if (!wave->physical && wave->divisor > 0 && std::isfinite(wave->divisor))
        for (double& v : values)
            v /= wave->divisor;
    fftLength = N;
    spectrum.reset(new double[N]);
    fft::RealFft<double>(N).forwardTransform(spectrum.get(), values.constData());
    if (wave->physical)
        PhysicalUnits::scaleSpectrum(spectrum.get(), N, wave->dk);
}
