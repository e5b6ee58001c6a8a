#include "PathChi.h"

#include <gsl/gsl_interp.h>

#include <cassert>
#include <cmath>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

// A phase column made continuous: a step of more than π between rows is a
// 2π wrap, not physics, and a spline across it would ring.
std::vector<double> unwrapped(const QVector<double>& phase) {
    std::vector<double> out(phase.begin(), phase.end());
    double offset = 0;
    for (size_t i = 1; i < out.size(); ++i) {
        const double step = phase[int(i)] - phase[int(i) - 1];
        offset -= 2 * Pi * std::round(step / (2 * Pi));
        out[i] = phase[int(i)] + offset;
    }
    return out;
}

} // namespace

struct PathChi::Tables {
    enum Column { Pha, Mag, Red, Lambda, RealP, Columns };

    explicit Tables(const PathData& data) : path(data), k(data.k.begin(), data.k.end()) {
        assert(data.rows() >= PathFile::minRows);
        for (const QVector<double>* column :
             {&data.realPhc, &data.mag, &data.phase, &data.red, &data.lambda, &data.realP})
            assert(column->size() == data.rows());
        const std::vector<double> phc = unwrapped(data.realPhc);
        const std::vector<double> feff = unwrapped(data.phase);
        y[Pha].resize(k.size());
        for (size_t i = 0; i < k.size(); ++i)
            y[Pha][i] = phc[i] + feff[i];
        y[Mag].assign(data.mag.begin(), data.mag.end());
        y[Red].assign(data.red.begin(), data.red.end());
        y[Lambda].assign(data.lambda.begin(), data.lambda.end());
        y[RealP].assign(data.realP.begin(), data.realP.end());
        for (int c = 0; c < Columns; ++c) {
            spline[c] = gsl_interp_alloc(gsl_interp_cspline, k.size());
            gsl_interp_init(spline[c], k.data(), y[c].data(), k.size());
        }
    }
    ~Tables() {
        for (gsl_interp* s : spline)
            gsl_interp_free(s);
    }
    Tables(const Tables&) = delete;
    Tables& operator=(const Tables&) = delete;

    double at(Column c, double x, gsl_interp_accel* accel) const {
        return gsl_interp_eval(spline[c], k.data(), y[c].data(), x, accel);
    }

    const PathData path;
    const std::vector<double> k;
    std::vector<double> y[Columns];
    gsl_interp* spline[Columns] = {};
};

namespace {

// One accelerator per evaluation: the splines share it, as they share k.
class Accel {
public:
    Accel() : accel(gsl_interp_accel_alloc()) {}
    ~Accel() { gsl_interp_accel_free(accel); }
    Accel(const Accel&) = delete;
    Accel& operator=(const Accel&) = delete;
    operator gsl_interp_accel*() const { return accel; }

private:
    gsl_interp_accel* accel;
};

} // namespace

PathChi::PathChi(const PathData& path) : tables(std::make_shared<const Tables>(path)) {}

const PathData& PathChi::path() const {
    return tables->path;
}

PathParameters PathChi::defaults() const {
    PathParameters p;
    p.amplitude = tables->path.degeneracy * defaultS02;
    return p;
}

double PathChi::kFirst() const {
    return tables->k.front();
}

double PathChi::kLast() const {
    return tables->k.back();
}

double PathChi::shiftedK(double k, double deltaE0) {
    const double e = k * k - energyToK2 * deltaE0;
    return std::copysign(std::sqrt(std::abs(e)), e);
}

bool PathChi::checkRange(const double* k, int n, double deltaE0, QString* error) const {
    for (int i = 0; i < n; ++i) {
        const double q = std::abs(shiftedK(k[i], deltaE0));
        if (q >= kFirst() && q <= kLast())
            continue;
        if (error) {
            const bool beyond = !(q < kFirst());
            const double edge = beyond ? kLast() : kFirst();
            if (!std::isfinite(k[i]))
                *error = tr("k = %1 is not a finite number.").arg(k[i]);
            else if (deltaE0 == 0)
                *error = (beyond ? tr("k = %1 Å⁻¹ lies beyond the path's last k, %2 Å⁻¹.")
                                 : tr("k = %1 Å⁻¹ lies below the path's first k, %2 Å⁻¹."))
                             .arg(k[i])
                             .arg(edge);
            else
                *error = (beyond ? tr("k = %1 Å⁻¹ with an E0 shift of %2 eV reads the path at "
                                      "%3 Å⁻¹, beyond its last k, %4 Å⁻¹.")
                                 : tr("k = %1 Å⁻¹ with an E0 shift of %2 eV reads the path at "
                                      "%3 Å⁻¹, below its first k, %4 Å⁻¹."))
                             .arg(k[i])
                             .arg(deltaE0)
                             .arg(q)
                             .arg(edge);
        }
        return false;
    }
    return true;
}

bool PathChi::evaluate(const QVector<double>& k, const PathParameters& parameters, PathCurve* curve,
                       QString* error) const {
    PathCurve out;
    out.chi.resize(k.size());
    out.envelope.resize(k.size());
    out.phase.resize(k.size());
    if (!evaluate(k.constData(), k.size(), parameters, out.chi.data(), out.envelope.data(),
                  out.phase.data(), error))
        return false;
    *curve = out;
    return true;
}

bool PathChi::evaluate(const double* k, int n, const PathParameters& parameters, double* chi,
                       double* envelope, double* phase, QString* error) const {
    const PathParameters& p = parameters;
    for (double v : {p.amplitude, p.deltaR, p.sigma2, p.deltaE0, p.phase0, p.phase1, p.phase2}) {
        if (!std::isfinite(v)) {
            if (error)
                *error = tr("The path's parameters must be finite numbers.");
            return false;
        }
    }
    const double reff = tables->path.reff;
    const double r = reff + p.deltaR;
    if (!(r > 0)) {
        if (error)
            *error = tr("R = reff + ΔR must be positive; it is %1 Å.").arg(r);
        return false;
    }
    if (!checkRange(k, n, p.deltaE0, error))
        return false;
    const double shiftR = p.deltaR - 2 * p.sigma2 / reff;
    const Accel accel;
    for (int i = 0; i < n; ++i) {
        const double q = shiftedK(k[i], p.deltaE0);
        double c = 0, m = 0, ph = 0;
        if (q != 0) {
            const double aq = std::abs(q);
            const double amp =
                tables->at(Tables::Mag, aq, accel) * tables->at(Tables::Red, aq, accel);
            const double pr = tables->at(Tables::RealP, aq, accel);
            const double pi = 1 / tables->at(Tables::Lambda, aq, accel);
            // exp of (−2 reff p_i − 2 p² σ² + 2 i p shiftR), split into parts:
            // p² = pr² − pi² + 2 i pr pi, i p = i pr − pi.
            const double logModulus =
                -2 * reff * pi - 2 * p.sigma2 * (pr * pr - pi * pi) - 2 * pi * shiftR;
            ph = 2 * q * reff + tables->at(Tables::Pha, aq, accel) - 4 * p.sigma2 * pr * pi +
                 2 * pr * shiftR + p.phase0 + p.phase1 * k[i] + p.phase2 * k[i] * k[i];
            const double factor = p.amplitude * amp / (q * r * r);
            m = std::abs(factor) * std::exp(logModulus);
            c = factor * std::exp(logModulus) * std::sin(ph);
            if (factor < 0)
                ph += Pi; // so that chi = envelope · sin(phase) holds for either sign
        }
        if (chi)
            chi[i] = c;
        if (envelope)
            envelope[i] = m;
        if (phase)
            phase[i] = ph;
    }
    return true;
}

bool PathChi::amplitude(const QVector<double>& k, double deltaE0, QVector<double>* out,
                        QString* error) const {
    if (!std::isfinite(deltaE0)) {
        if (error)
            *error = tr("The path's parameters must be finite numbers.");
        return false;
    }
    if (!checkRange(k.constData(), k.size(), deltaE0, error))
        return false;
    QVector<double> a(k.size());
    const Accel accel;
    const double reff = tables->path.reff;
    for (int i = 0; i < k.size(); ++i) {
        const double q = std::abs(shiftedK(k[i], deltaE0));
        a[i] = tables->at(Tables::Mag, q, accel) * tables->at(Tables::Red, q, accel) *
               std::exp(-2 * reff / tables->at(Tables::Lambda, q, accel));
    }
    *out = a;
    return true;
}
