#include "Fitter.h"

#include <cminpack.h>

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace fit {
namespace {

// Bounds as MINUIT and lmfit keep them: the optimiser moves an unbounded
// internal u, and the parameter is x = lo + (hi - lo) (sin u + 1) / 2.
double toExternal(const Parameter& p, double u) {
    return p.minimum + (p.maximum - p.minimum) * (std::sin(u) + 1) / 2;
}

double toInternal(const Parameter& p, double x) {
    const double span = p.maximum - p.minimum;
    double t = 2 * (x - p.minimum) / span - 1;
    // At a bound dx/du is zero and the finite-difference Jacobian would
    // see no slope at all, so a start there would stay there: start a
    // little inside, where the slope is 4 % of its largest.
    t = std::max(-1 + 1e-3, std::min(1 - 1e-3, t));
    return std::asin(t);
}

double slope(const Parameter& p, double u) {
    return (p.maximum - p.minimum) * std::cos(u) / 2;
}

struct Problem {
    const std::vector<Parameter>* parameters;
    std::vector<int> varied;
    const ResidualFunction* residuals;
    std::vector<double> values;
    std::vector<double> buffer;
    int evaluations = 0;
};

int evaluate(void* p, int m, int n, const double* u, double* fvec, int) {
    auto* problem = static_cast<Problem*>(p);
    for (int j = 0; j < n; ++j) {
        const int i = problem->varied[j];
        problem->values[i] = toExternal((*problem->parameters)[i], u[j]);
    }
    ++problem->evaluations;
    problem->buffer.assign(m, 0);
    if (!(*problem->residuals)(problem->values, problem->buffer))
        return -1;
    for (int i = 0; i < m; ++i) {
        if (!std::isfinite(problem->buffer[i]))
            return -1;
        fvec[i] = problem->buffer[i];
    }
    return 0;
}

} // namespace

namespace {
// MINPACK's info codes 0 to 8, then "stopped by the model" (a negative info).
const char* const terminations[] = {
    QT_TRANSLATE_NOOP("Fitter", "improper input parameters"),
    QT_TRANSLATE_NOOP("Fitter", "relative reduction of the sum of squares is at most ftol"),
    QT_TRANSLATE_NOOP("Fitter", "relative change of the parameters is at most xtol"),
    QT_TRANSLATE_NOOP("Fitter", "relative reduction of the sum of squares is at most ftol and "
                                "relative change of the parameters is at most xtol"),
    QT_TRANSLATE_NOOP("Fitter", "the residuals are orthogonal to the Jacobian's columns to "
                                "machine precision (gtol)"),
    QT_TRANSLATE_NOOP("Fitter", "the number of model evaluations reached its limit"),
    QT_TRANSLATE_NOOP("Fitter", "ftol is too small: no further reduction of the sum of squares "
                                "is possible"),
    QT_TRANSLATE_NOOP("Fitter", "xtol is too small: no further improvement of the parameters is "
                                "possible"),
    QT_TRANSLATE_NOOP("Fitter", "gtol is too small: the residuals are orthogonal to the "
                                "Jacobian's columns to machine precision"),
    QT_TRANSLATE_NOOP("Fitter", "the model could not be evaluated (a non-finite value)")};

const char* termination(int info) {
    return terminations[info >= 0 && info <= 8 ? info : 9];
}
} // namespace

QString terminationMessage(int info) {
    return QString::fromLatin1(termination(info));
}

QString translatedTerminationMessage(int info) {
    return QCoreApplication::translate("Fitter", termination(info));
}

QString Message::text() const {
    if (!source)
        return QString();
    QString out = QCoreApplication::translate(context, source);
    for (const QString& a : arguments)
        out = out.arg(translatedArguments ? QCoreApplication::translate(context, a.toUtf8()) : a);
    for (const Message& m : parts)
        out = out.arg(m.text());
    return out;
}

QString Message::english() const {
    if (!source)
        return QString();
    QString out = QString::fromUtf8(source);
    for (const QString& a : arguments)
        out = out.arg(a);
    for (const Message& m : parts)
        out = out.arg(m.english());
    return out;
}

namespace {
Message fitterMessage(const char* source, const QStringList& arguments = {}) {
    return Message{"Fitter", source, arguments, false};
}
} // namespace

Result leastSquares(const std::vector<Parameter>& parameters, int m,
                    const ResidualFunction& residuals, double independentPoints,
                    double dataSumOfSquares, double noise) {
    Result result;
    result.best = parameters;
    Problem problem{&parameters, {}, &residuals, {}, {}, 0};
    for (int i = 0; i < int(parameters.size()); ++i) {
        problem.values.push_back(parameters[i].value);
        if (parameters[i].varied)
            problem.varied.push_back(i);
    }
    const int n = int(problem.varied.size());
    result.degreesOfFreedom = 0;
    if (n == 0) {
        result.error = fitterMessage(QT_TRANSLATE_NOOP("Fitter", "No parameter is varied."));
        return result;
    }
    if (!(independentPoints > n)) {
        result.error = fitterMessage(
            QT_TRANSLATE_NOOP("Fitter",
                              "%1 parameters are varied, but the data hold only %2 "
                              "independent points: widen the k or R range, or vary fewer."),
            {QString::number(n), QString::number(independentPoints, 'f', 1)});
        return result;
    }
    if (m < n) {
        result.error =
            fitterMessage(QT_TRANSLATE_NOOP("Fitter", "Fewer residuals than parameters."));
        return result;
    }
    const Message nonFinite = fitterMessage(
        QT_TRANSLATE_NOOP("Fitter", "The model gave a non-finite value during the fit."));

    std::vector<double> u(n), fvec(m), diag(n), fjac(size_t(m) * n), qtf(n), wa1(n), wa2(n), wa3(n),
        wa4(m);
    std::vector<int> ipvt(n);
    for (int j = 0; j < n; ++j)
        u[j] = toInternal(parameters[problem.varied[j]], parameters[problem.varied[j]].value);
    const double tolerance = 1.5e-8; // MINPACK's own suggestion: about sqrt(epsilon)
    int nfev = 0;
    const int info = lmdif(evaluate, &problem, m, n, u.data(), fvec.data(), tolerance, tolerance,
                           0.0, 200 * (n + 1), 0.0, diag.data(), 1, 100.0, 0, &nfev, fjac.data(), m,
                           ipvt.data(), qtf.data(), wa1.data(), wa2.data(), wa3.data(), wa4.data());
    result.info = info;
    result.message = terminationMessage(info);
    result.evaluations = problem.evaluations;
    const Message notConverged{
        "Fitter",
        QT_TRANSLATE_NOOP("Fitter", "The fit did not converge (MINPACK: %1). Start nearer a fit, "
                                    "vary fewer parameters or choose another R range."),
        {QString::fromLatin1(termination(info))},
        true};
    if (info < 0) {
        result.error = nonFinite;
        return result;
    }
    if (info == 0 || info == 5) {
        result.error = notConverged;
        return result;
    }

    // The residuals at the minimum, evaluated again: lmdif's last call may
    // have been a Jacobian column.
    if (evaluate(&problem, m, n, u.data(), fvec.data(), 1) < 0) {
        result.error = nonFinite;
        return result;
    }
    double sumOfSquares = 0;
    for (const double r : fvec)
        sumOfSquares += r * r;
    if ((info == 4 || info == 8) && !(sumOfSquares <= exactFit * dataSumOfSquares)) {
        result.error = notConverged;
        return result;
    }

    const double nu = independentPoints - n;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    result.degreesOfFreedom = int(std::floor(nu));
    result.chiSquare = noise > 0 ? independentPoints / m * sumOfSquares / (noise * noise) : nan;
    result.reducedChiSquare = result.chiSquare / nu;
    result.rFactor = dataSumOfSquares > 0 ? sumOfSquares / dataSumOfSquares : nan;

    // (J_u^T J_u)^-1 from lmdif's triangular factor, then to the external
    // parameters through dx/du.
    covar(n, fjac.data(), m, ipvt.data(), tolerance, wa1.data());
    std::vector<double> cov(size_t(n) * n);
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            const Parameter& pa = parameters[problem.varied[a]];
            const Parameter& pb = parameters[problem.varied[b]];
            cov[a * n + b] = fjac[a + size_t(b) * m] * slope(pa, u[a]) * slope(pb, u[b]);
        }
    const double scale = sumOfSquares / nu;
    const size_t all = parameters.size();
    result.covariance.assign(all * all, 0.0);
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b)
            result.covariance[size_t(problem.varied[a]) * all + size_t(problem.varied[b])] =
                cov[a * n + b] * scale;
    result.errors.assign(parameters.size(), nan);
    for (int j = 0; j < n; ++j) {
        const int i = problem.varied[j];
        Parameter& p = result.best[i];
        p.value = problem.values[i];
        const double margin = boundTolerance * (p.maximum - p.minimum);
        p.atBound = p.value - p.minimum <= margin || p.maximum - p.value <= margin;
        if (!p.atBound && cov[j * n + j] > 0)
            result.errors[i] = std::sqrt(cov[j * n + j] * scale);
    }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const int ia = problem.varied[a], ib = problem.varied[b];
            const double d = std::sqrt(cov[a * n + a] * cov[b * n + b]);
            if (!(d > 0) || result.best[ia].atBound || result.best[ib].atBound)
                continue;
            const double c = cov[a * n + b] / d;
            if (std::abs(c) > correlationLimit)
                result.correlations.push_back({parameters[ia].name, parameters[ib].name, c});
        }
    result.ok = true;
    return result;
}

} // namespace fit
