#include "FitProblem.h"

#include "NoiseEstimate.h"
#include "PackedTransform.h"
#include "ParameterTable.h"
#include "PhysicalUnits.h"
#include "RealFft.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace fit {
namespace {

constexpr double pi = 3.14159265358979323846;

Message problemMessage(const char* source, const QStringList& arguments = {}) {
    return Message{"FitProblem", source, arguments, false};
}

// The value of a fit's parameter by its report name.
int indexOf(const char* name) {
    return FitProblem::names().indexOf(QLatin1String(name));
}

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

double FitProblem::wrappedPhase(double phase) {
    double w = std::remainder(phase, 2 * pi);
    if (w <= -pi)
        w += 2 * pi;
    return w;
}

const QStringList& FitProblem::names() {
    static const QStringList n = [] {
        QStringList out;
        for (const ParameterRow* row : fitOrder())
            out << QLatin1String(row->name);
        return out;
    }();
    return n;
}

QStringList FitProblem::defaultVaried(bool withPath) {
    QStringList out;
    for (const ParameterRow* row : fitOrder()) {
        const bool varied =
            withPath ? (row->id == ModelParameter::Amplitude || row->id == ModelParameter::R ||
                        row->id == ModelParameter::Sigma || row->id == ModelParameter::DeltaE0)
                     : row->variedByDefault;
        if (varied)
            out << QLatin1String(row->name);
    }
    return out;
}

bool FitProblem::comparedK(const FitInputs& in, double* low, double* high) {
    const WaveGrid& grid = in.grid;
    if (in.dataK.isEmpty() || grid.kCount <= 0)
        return false;
    // The window's outer positions when the window is applied, else the
    // synthesised grid, within the data: beyond their ends there is nothing
    // to compare the model with.
    double kLow = grid.kMin;
    double kHigh = grid.k(grid.kCount - 1);
    if (in.factors.window && !in.windowPositions.isEmpty()) {
        kLow = std::max(kLow, in.windowPositions.first());
        kHigh = std::min(kHigh, in.windowPositions.last());
    }
    *low = std::max(kLow, in.dataK.first());
    *high = std::min(kHigh, in.dataK.last());
    return *high > *low;
}

bool FitProblem::sameBasis(const FitInputs& a, const FitInputs& b, const QStringList& varied) {
    for (const ParameterRow* row : fitOrder())
        if (!varied.contains(QLatin1String(row->name)) &&
            a.parameters.*row->field != b.parameters.*row->field)
            return false;
    const WaveFactors& f = a.factors;
    const WaveFactors& g = b.factors;
    return a.parameters.n == b.parameters.n && a.parameters.shells == b.parameters.shells &&
           a.parameters.path == b.parameters.path && f.envelope == g.envelope &&
           f.window == g.window && f.debyeWaller == g.debyeWaller && a.grid.kMin == b.grid.kMin &&
           a.grid.dk == b.grid.dk && a.grid.kCount == b.grid.kCount &&
           a.grid.length == b.grid.length && a.windowPositions == b.windowPositions &&
           a.envelopeAtK == b.envelopeAtK && a.windowAtK == b.windowAtK && a.dataK == b.dataK &&
           a.dataChi == b.dataChi;
}

FitProblem::FitProblem(const FitInputs& in, double low, double high)
    : inputs(in), rMin(low), rMax(high) {
    const WaveGrid& grid = inputs.grid;
    if (inputs.dataK.isEmpty() || grid.length <= 0) {
        problemError =
            problemMessage(QT_TRANSLATE_NOOP("FitProblem", "No measured data are loaded."));
        return;
    }
    if (!(rMin >= 0 && rMax > rMin && std::isfinite(rMax))) {
        problemError = problemMessage(
            QT_TRANSLATE_NOOP("FitProblem", "The R range must have 0 <= Rmin < Rmax."));
        return;
    }
    const double binWidth = spectrumBinWidth(grid.dk, grid.length);
    const int half = grid.length / 2;
    // The transform ends at its last bin: a range beyond it is clipped, so
    // that the independent points count only R values that are compared.
    const double transformEnd = (half - 1) * binWidth;
    if (rMin > transformEnd) {
        problemError = problemMessage(
            QT_TRANSLATE_NOOP("FitProblem",
                              "The R range starts beyond the transform, which ends at %1 Å."),
            {QString::number(transformEnd, 'g', 4)});
        return;
    }
    rMax = std::min(rMax, transformEnd);
    for (int j = 0; j < half; ++j) {
        const double r = j * binWidth;
        if (r >= rMin && r <= rMax)
            bins.push_back(j);
    }
    if (bins.empty()) {
        problemError = problemMessage(
            QT_TRANSLATE_NOOP("FitProblem", "The R range holds no point of the transform."));
        return;
    }
    if (!comparedK(inputs, &kLow, &kHigh)) {
        problemError = problemMessage(
            QT_TRANSLATE_NOOP("FitProblem", "The k window and the data's k range do not overlap."));
        return;
    }
    nIdp = 2 * (kHigh - kLow) * (rMax - rMin) / pi;

    const QVector<double> weighted =
        PhysicalUnits::weightedData(inputs.dataK, inputs.dataChi, grid, inputs.parameters.n,
                                    inputs.factors.window ? &inputs.windowAtK : nullptr);
    dataSpectrum = transformed(weighted, grid.length, grid.dk);
    for (const int j : bins) {
        const double re = realPart(dataSpectrum.data(), grid.length, j);
        const double im = imagPart(dataSpectrum.data(), grid.length, j);
        dataSquares += re * re + im * im;
    }
    if (!std::isfinite(dataSquares)) {
        problemError = problemMessage(QT_TRANSLATE_NOOP(
            "FitProblem", "The data are too large: their transform overflows in the R range."));
        return;
    }
    // Also data so small that their squares underflow to zero.
    if (!(dataSquares > 0)) {
        problemError = problemMessage(
            QT_TRANSLATE_NOOP("FitProblem", "The data have no signal in the R range."));
        return;
    }

    // The noise: |chi(R)| of the data far above every shell, and the same
    // carried back to k by the transform's weights where the data exist.
    QVector<double> r, re, im;
    for (int j = 0; j < half; ++j) {
        r.append(j * binWidth);
        re.append(realPart(dataSpectrum.data(), grid.length, j));
        im.append(imagPart(dataSpectrum.data(), grid.length, j));
    }
    QVector<double> weights;
    for (int i = 0; i < std::min(grid.kCount, grid.length); ++i) {
        const double k = grid.k(i);
        const bool inData = k >= inputs.dataK.first() && k <= inputs.dataK.last();
        const double w = inputs.factors.window ? inputs.windowAtK.value(i) : 1.0;
        weights.append(inData ? std::pow(k, double(inputs.parameters.n)) * w : 0.0);
    }
    double rms = 0;
    if (NoiseEstimate::rmsOverR(r, re, im, noiseRMin, noiseRMax, &rms, nullptr, nullptr)) {
        epsilonR = rms;
        epsilonK = NoiseEstimate::kFromR(rms, grid.dk, weights);
    } else {
        epsilonR = epsilonK = std::numeric_limits<double>::quiet_NaN();
    }
}

ReportContext FitProblem::context() const {
    return {rMin, rMax, kLow, kHigh, inputs.parameters.n, nIdp, epsilonR, epsilonK};
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
    // Compared only where the data exist: beyond their ends the data's
    // array holds zeros, not measurements.
    for (int i = 0; i < arrays.chi.size(); ++i) {
        const double k = grid.k(i);
        if (k < inputs.dataK.first() || k > inputs.dataK.last())
            arrays.chi[i] = 0;
    }
    const std::vector<double> model = transformed(arrays.chi, grid.length, grid.dk);
    const int N = grid.length;
    for (size_t b = 0; b < bins.size(); ++b) {
        const int j = bins[b];
        out[2 * b] = realPart(model.data(), N, j) - realPart(dataSpectrum.data(), N, j);
        out[2 * b + 1] = imagPart(model.data(), N, j) - imagPart(dataSpectrum.data(), N, j);
    }
    return true;
}

Message FitProblem::refusal(const QStringList& varied) const {
    if (!problemError.isEmpty())
        return problemError;
    if (!varied.contains(QLatin1String(parameterRow(ModelParameter::R).name)) &&
        !shellInSum(inputs.parameters.r))
        return problemMessage(QT_TRANSLATE_NOOP(
            "FitProblem", "The main shell is at R = 0, where it has no signal (1/R²): set R "
                          "above 0 or vary it."));
    return Message();
}

Result FitProblem::run(const QStringList& varied) const {
    const Message refused = refusal(varied);
    if (!refused.isEmpty()) {
        Result r;
        r.error = refused;
        r.best = parameters(varied);
        return r;
    }
    if (varied.contains(QLatin1String(parameterRow(ModelParameter::DeltaE0).name)) &&
        !inputs.parameters.path) {
        Result r;
        r.error = problemMessage(QT_TRANSLATE_NOOP(
            "FitProblem", "dE0 moves only a shell with a scattering path: open a path for the "
                          "main shell or do not vary dE0."));
        r.best = parameters(varied);
        return r;
    }
    // Each residual is a real or an imaginary part; |chi(R)|^2 holds both,
    // so each carries half of epsilonR^2, and chi-square becomes
    // N_idp / N_R * sum |data - model|^2 / epsilonR^2 over the N_R bins.
    Result result = leastSquares(
        parameters(varied), residualCount(),
        [this](const std::vector<double>& v, std::vector<double>& r) { return residuals(v, r); },
        nIdp, dataSquares, epsilonR / std::sqrt(2.0));
    if (!result.ok)
        return result;
    // The phase as the field gives it: a negative amplitude is a positive
    // one with the phase turned by pi, and the phase is taken in (-pi, pi].
    Parameter& amplitude = result.best[size_t(indexOf("amplitude"))];
    Parameter& p0 = result.best[size_t(indexOf("P0"))];
    // A phase stopped on its limit is shown on it, where it stopped.
    if (p0.varied && !p0.atBound) {
        if (amplitude.varied && amplitude.value < 0) {
            amplitude.value = -amplitude.value;
            p0.value += pi;
        }
        p0.value = wrappedPhase(p0.value);
    }
    return result;
}

} // namespace fit
