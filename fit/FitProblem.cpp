#include "FitProblem.h"

#include "PackedSpectrum.h"
#include "ParameterTable.h"
#include "PhysicalUnits.h"
#include "RealFft.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace fit {
namespace {

constexpr double pi = 3.14159265358979323846;

void setValues(WaveParameters* p, const std::vector<double>& v) {
    for (size_t i = 0; i < v.size(); ++i)
        p->*fitOrder()[i]->field = v[i];
}

// The field's transform of a k-weighted array of `length` values, packed.
std::vector<double> transformed(const QVector<double>& x, int length, double dk) {
    std::vector<double> spectrum(size_t(length), 0.0);
    fft::RealFft<double>(length).forwardTransform(spectrum.data(), x.constData());
    PhysicalUnits::scaleSpectrum(spectrum.data(), length, dk);
    return spectrum;
}

} // namespace

const QStringList& FitProblem::names() {
    static const QStringList n = [] {
        QStringList out;
        for (const ParameterRow* row : fitOrder())
            out << QLatin1String(row->name);
        return out;
    }();
    return n;
}

QStringList FitProblem::defaultVaried() {
    QStringList out;
    for (const ParameterRow* row : fitOrder())
        if (row->variedByDefault)
            out << QLatin1String(row->name);
    return out;
}

FitProblem::FitProblem(const FitInputs& in, double low, double high)
    : inputs(in), rMin(low), rMax(high) {
    const WaveGrid& grid = inputs.grid;
    if (inputs.dataK.isEmpty() || grid.length <= 0) {
        problemError = QCoreApplication::translate("FitProblem", "No measured data are loaded.");
        return;
    }
    if (!(rMin >= 0 && rMax > rMin && std::isfinite(rMax))) {
        problemError =
            QCoreApplication::translate("FitProblem", "The R range must have 0 <= Rmin < Rmax.");
        return;
    }
    const double binWidth = spectrumBinWidth(grid.dk, grid.length);
    for (int j = 0; j < grid.length / 2; ++j) {
        const double r = j * binWidth;
        if (r >= rMin && r <= rMax)
            bins.push_back(j);
    }
    if (bins.empty()) {
        problemError = QCoreApplication::translate("FitProblem",
                                                   "The R range holds no point of the transform.");
        return;
    }

    // The k range the data really constrain: the window's outer positions
    // when the window is applied, else the synthesised grid, within the data.
    kLow = grid.kMin;
    kHigh = grid.k(grid.kCount - 1);
    if (inputs.factors.window) {
        const QVector<double>& pos = inputs.windowPositions;
        kLow = std::max(kLow, pos.first());
        kHigh = std::min(kHigh, pos.last());
    }
    kLow = std::max(kLow, inputs.dataK.first());
    kHigh = std::min(kHigh, inputs.dataK.last());
    nIdp = kHigh > kLow ? 2 * (kHigh - kLow) * (rMax - rMin) / pi : 0;

    const QVector<double> weighted =
        PhysicalUnits::weightedData(inputs.dataK, inputs.dataChi, grid, inputs.parameters.n,
                                    inputs.factors.window ? &inputs.windowAtK : nullptr);
    dataSpectrum = transformed(weighted, grid.length, grid.dk);
    for (const int j : bins) {
        const double re = realPart(dataSpectrum.data(), grid.length, j);
        const double im = imagPart(dataSpectrum.data(), grid.length, j);
        dataSquares += re * re + im * im;
    }
}

ReportContext FitProblem::context() const {
    return {rMin, rMax, kLow, kHigh, inputs.parameters.n, nIdp};
}

std::vector<Parameter> FitProblem::parameters(const QStringList& varied) const {
    std::vector<Parameter> out;
    for (const ParameterRow* row : fitOrder()) {
        Parameter p;
        p.name = QLatin1String(row->name);
        p.value = inputs.parameters.*row->field;
        p.minimum = row->minimum;
        p.maximum = row->maximum;
        // 1/R^2: a shell at R = 0 has no signal to compare.
        if (row->id == ModelParameter::R)
            p.minimum = std::max(p.minimum, 0.1);
        p.varied = varied.contains(p.name);
        out.push_back(p);
    }
    return out;
}

bool FitProblem::residuals(const std::vector<double>& values, std::vector<double>& out) const {
    WaveParameters p = inputs.parameters;
    setValues(&p, values);
    if (!shellInSum(p.r))
        return false;
    const WaveGrid& grid = inputs.grid;
    WaveArrays arrays;
    synthesizeWave(p, inputs.factors, grid, inputs.envelopeAtK, inputs.windowAtK, true, &arrays);
    const std::vector<double> model = transformed(arrays.chi, grid.length, grid.dk);
    const int N = grid.length;
    for (size_t b = 0; b < bins.size(); ++b) {
        const int j = bins[b];
        out[2 * b] = realPart(model.data(), N, j) - realPart(dataSpectrum.data(), N, j);
        out[2 * b + 1] = imagPart(model.data(), N, j) - imagPart(dataSpectrum.data(), N, j);
    }
    return true;
}

Result FitProblem::run(const QStringList& varied) const {
    if (!problemError.isEmpty()) {
        Result r;
        r.error = problemError;
        r.best = parameters(varied);
        return r;
    }
    return leastSquares(
        parameters(varied), residualCount(),
        [this](const std::vector<double>& v, std::vector<double>& r) { return residuals(v, r); },
        nIdp, dataSquares);
}

} // namespace fit
