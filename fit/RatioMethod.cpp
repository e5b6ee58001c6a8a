#include "RatioMethod.h"

#include "FitReport.h"

#include <QJsonArray>

#include <gsl/gsl_fit.h>

#include <algorithm>
#include <cmath>

namespace fit {
namespace {

constexpr double Pi = 3.14159265358979323846;

// gsl_fit_linear estimates the covariance of the two coefficients from the
// scatter of the points about the line: s² (XᵀX)⁻¹ with s² the sum of the
// squared residuals over n - 2. The points of a filtered spectrum are not
// independent (neighbours share the same few Fourier components), so these
// errors say how straight the line is, not what noise in the measurement
// would do to it.
StraightLine fitLine(const QVector<double>& x, const QVector<double>& y) {
    StraightLine line;
    double cov00 = 0, cov01 = 0, cov11 = 0;
    gsl_fit_linear(x.constData(), 1, y.constData(), 1, size_t(x.size()), &line.intercept,
                   &line.slope, &cov00, &cov01, &cov11, &line.residualSquares);
    line.interceptError = std::sqrt(cov00);
    line.slopeError = std::sqrt(cov11);
    return line;
}

bool consistent(const FilteredSpectrum& s) {
    return s.amplitude.size() == s.q.size() && s.phase.size() == s.q.size();
}

} // namespace

bool RatioMethod::compute(const FilteredSpectrum& first, const FilteredSpectrum& second,
                          double kMin, double kMax, RatioResult* result, QString* error) {
    const auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!(std::isfinite(kMin) && std::isfinite(kMax) && kMin < kMax))
        return refuse(tr("The k range %1 to %2 Å⁻¹ needs two finite numbers, the first below "
                         "the second.")
                          .arg(kMin)
                          .arg(kMax));
    for (const FilteredSpectrum* s : {&first, &second}) {
        if (!consistent(*s))
            return refuse(tr("A filtered spectrum needs as many amplitudes and phases as q "
                             "values."));
        if (s->q.isEmpty())
            return refuse(tr("A filtered spectrum holds no points."));
        if (kMin < s->q.first() || kMax > s->q.last())
            return refuse(
                tr("The k range %1 to %2 Å⁻¹ reaches beyond a filtered spectrum, which spans "
                   "%3 to %4 Å⁻¹.")
                    .arg(kMin)
                    .arg(kMax)
                    .arg(s->q.first())
                    .arg(s->q.last()));
    }

    // The points of each inside the range; both must be the same q values.
    const auto inside = [kMin, kMax](const FilteredSpectrum& s, int* from, int* to) {
        *from = int(std::lower_bound(s.q.begin(), s.q.end(), kMin) - s.q.begin());
        *to = int(std::upper_bound(s.q.begin(), s.q.end(), kMax) - s.q.begin());
    };
    int from1 = 0, to1 = 0, from2 = 0, to2 = 0;
    inside(first, &from1, &to1);
    inside(second, &from2, &to2);
    const int count = to1 - from1;
    bool common = count == to2 - from2;
    for (int i = 0; common && i < count; ++i) {
        const double a = first.q[from1 + i], b = second.q[from2 + i];
        common = std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(a));
    }
    if (!common)
        return refuse(tr("The two filtered spectra do not share their q values between %1 and "
                         "%2 Å⁻¹.")
                          .arg(kMin)
                          .arg(kMax));
    if (count < 3)
        return refuse(tr("The k range %1 to %2 Å⁻¹ holds %3 points; a straight line with "
                         "errors needs at least 3.")
                          .arg(kMin)
                          .arg(kMax)
                          .arg(count));

    RatioResult r;
    double previous = 0;
    for (int i = 0; i < count; ++i) {
        const double k = first.q[from1 + i];
        const double a1 = first.amplitude[from1 + i], a2 = second.amplitude[from2 + i];
        for (double a : {a1, a2}) {
            if (!(a > 0 && std::isfinite(a)))
                return refuse(tr("The amplitude at k = %1 Å⁻¹ is %2; the ratio needs it "
                                 "positive.")
                                  .arg(k)
                                  .arg(a));
        }
        double d = first.phase[from1 + i] - second.phase[from2 + i];
        if (!std::isfinite(d))
            return refuse(tr("The phase at k = %1 Å⁻¹ is not a finite number.").arg(k));
        // The first difference in (-pi, pi], each next one the nearest to
        // the one before: the two phases may have been unwrapped from
        // different starting turns.
        const double reference = i == 0 ? 0 : previous;
        d += 2 * Pi * std::round((reference - d) / (2 * Pi));
        previous = d;
        r.k.append(k);
        r.kSquared.append(k * k);
        r.lnRatio.append(std::log(a1 / a2));
        r.phaseDifference.append(d);
    }

    r.amplitudeLine = fitLine(r.kSquared, r.lnRatio);
    r.phaseLine = fitLine(r.k, r.phaseDifference);
    r.deltaSigma2 = {-r.amplitudeLine.slope / 2, r.amplitudeLine.slopeError / 2};
    r.lnAmplitudeRatio = {r.amplitudeLine.intercept, r.amplitudeLine.interceptError};
    r.deltaR = {r.phaseLine.slope / 2, r.phaseLine.slopeError / 2};
    *result = r;
    return true;
}

double independentPoints(double deltaK, double deltaR) {
    return 2 * deltaK * deltaR / Pi;
}

double windowWidth(const WindowPositions& r) {
    return (r[2] + r[3]) / 2 - (r[0] + r[1]) / 2;
}

double widenErrors(RatioResult* result, double independent) {
    const double points = result->k.size();
    const double factor =
        independent > 0 && points > independent ? std::sqrt(points / independent) : 1;
    for (StraightLine* line : {&result->amplitudeLine, &result->phaseLine}) {
        line->slopeError *= factor;
        line->interceptError *= factor;
    }
    for (ValueWithError* v : {&result->deltaSigma2, &result->lnAmplitudeRatio, &result->deltaR})
        v->error *= factor;
    return factor;
}

QJsonObject ratioReportJson(const RatioResult& result, const RatioContext& c) {
    const auto pair = [](const ValueWithError& v) {
        return QJsonObject{{"value", jsonNumber(v.value)}, {"error", jsonNumber(v.error)}};
    };
    const auto positions = [](const WindowPositions& p) {
        QJsonArray a;
        for (double v : p)
            a.append(jsonNumber(v));
        return a;
    };
    return QJsonObject{{"format", "tovik-ratio"},
                       {"version", 1},
                       {"deltaSigma2", pair(result.deltaSigma2)},
                       {"lnAmplitudeRatio", pair(result.lnAmplitudeRatio)},
                       {"deltaR", pair(result.deltaR)},
                       {"kRange", QJsonArray{jsonNumber(c.kMin), jsonNumber(c.kMax)}},
                       {"kWindow", positions(c.kWindow)},
                       {"Rwindow", positions(c.rWindow)},
                       {"n", c.n},
                       {"points", result.k.size()}};
}

} // namespace fit
