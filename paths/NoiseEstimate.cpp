#include "NoiseEstimate.h"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

} // namespace

QString NoiseEstimate::outsideTransform(double rMin, double rMax, double first, double last) {
    return tr("The noise range %1 to %2 Å must lie within the transform, %3 to %4 Å.")
        .arg(rMin)
        .arg(rMax)
        .arg(first)
        .arg(last);
}

bool NoiseEstimate::rmsOverR(const QVector<double>& r, const QVector<double>& re,
                             const QVector<double>& im, double rMin, double rMax, double* rms,
                             int* samples, QString* error) {
    if (r.size() != re.size() || r.size() != im.size() || r.isEmpty()) {
        if (error)
            *error = tr("The transform needs as many real and imaginary parts as R values, and at "
                        "least one.");
        return false;
    }
    if (!(rMin < rMax) || rMin < r.first() || rMax > r.last()) {
        if (error)
            *error = outsideTransform(rMin, rMax, r.first(), r.last());
        return false;
    }
    double sum = 0;
    int count = 0;
    for (int i = 0; i < r.size(); ++i) {
        if (r[i] >= rMin && r[i] <= rMax) {
            sum += re[i] * re[i] + im[i] * im[i];
            ++count;
        }
    }
    if (count == 0) {
        if (error)
            *error = tr("The transform has no value between %1 and %2 Å.").arg(rMin).arg(rMax);
        return false;
    }
    *rms = std::sqrt(sum / count);
    if (samples)
        *samples = count;
    return true;
}

double NoiseEstimate::kFromR(double epsilonR, double dk, const QVector<double>& weights) {
    double squares = 0;
    for (double w : weights)
        squares += w * w;
    return epsilonR * std::sqrt(Pi) / (dk * std::sqrt(squares));
}

bool NoiseEstimate::fromChi(const QVector<double>& k, const QVector<double>& x,
                            const QVector<double>& weights, double rMin, double rMax,
                            Result* result, QString* error) {
    const int n = k.size();
    if (n < 2 || x.size() != n || weights.size() != n) {
        if (error)
            *error = tr("k, chi and the weights must be equally many, at least two.");
        return false;
    }
    const double dk = (k.last() - k.first()) / (n - 1);
    for (int i = 1; i < n; ++i) {
        if (!(std::abs(k[i] - k[i - 1] - dk) <= 1e-6 * dk)) {
            if (error)
                *error = tr("The noise needs a uniform k grid; the step at k = %1 Å⁻¹ differs.")
                             .arg(k[i]);
            return false;
        }
    }
    const double rLimit = Pi / (2 * dk);
    if (!(rMin >= 0 && rMin < rMax && rMax <= rLimit)) {
        if (error)
            *error = outsideTransform(rMin, rMax, 0, rLimit);
        return false;
    }
    double squares = 0;
    for (double w : weights)
        squares += w * w;
    if (!(squares > 0)) {
        if (error)
            *error = tr("The weights are all zero: nothing is transformed.");
        return false;
    }
    const double step = Pi / (4 * n * dk);
    const int steps = int(std::floor((rMax - rMin) / step)) + 1;
    const double scale = dk / std::sqrt(Pi);
    double sum = 0;
    for (int j = 0; j < steps; ++j) {
        const double r = rMin + j * step;
        double re = 0, im = 0;
        for (int i = 0; i < n; ++i) {
            const double wx = weights[i] * x[i];
            re += wx * std::cos(2 * k[i] * r);
            im += wx * std::sin(2 * k[i] * r);
        }
        sum += (re * re + im * im) * scale * scale;
    }
    Result out;
    out.samples = steps;
    out.epsilonR = std::sqrt(sum / steps);
    out.epsilonK = kFromR(out.epsilonR, dk, weights);
    *result = out;
    return true;
}
