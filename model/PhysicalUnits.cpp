#include "PhysicalUnits.h"

#include "AWave.h"
#include "MeasuredCurve.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QAbstractButton>

#include <algorithm>
#include <cmath>

double PhysicalUnits::transformFactor(double dk) {
    // The full-precision pi: this factor is the field's, not the R axis's.
    return dk / std::sqrt(3.14159265358979323846);
}

void PhysicalUnits::scaleSpectrum(double* spectrum, int length, double dk) {
    const double f = transformFactor(dk);
    for (int i = 0; i < length; ++i)
        spectrum[i] *= f;
}

QVector<double> PhysicalUnits::weightedData(const MeasuredCurve& data, const AWave& wave) {
    const int N = wave.fftLength;
    if (N <= 0 || wave.kValues.size() < N)
        return {};
    const bool useWindow = wave.ctrl->SelWindowF->isChecked();
    const WindowFunc* window = wave.ctrl->WindowCtrl;
    QVector<double> values(N, 0.0);
    for (int i = 0; i < std::min(wave.kCount, N); ++i) {
        const double k = wave.kValues[i];
        double v = data.valueAt(k) * std::pow(k, double(wave.n));
        if (useWindow)
            v *= window->valueAt(k);
        values[i] = v;
    }
    return values;
}
