#include "WaveSynthesis.h"

#include <algorithm>
#include <cmath>

bool shellInSum(double r) {
    return std::isfinite(1 / (r * r));
}

namespace {
// One shell's term, a * k^(n-1) * sin(2kR + P0 + P1 k + P2 k^2) / R^2. The
// linear phase joins only where it is set, so that without it every bit is
// what the sum without that term gives.
double shellTerm(const WaveParameters& p, double r, double a, double k) {
    double phase = 2 * r * k + p.phi0;
    if (p.phi1 != 0)
        phase = phase + p.phi1 * k;
    phase = phase + p.phi2 * k * k;
    double v = std::sin(phase) * a;
    // A real exponent, so that k = 0 gives 0^0 = 1 for n = 1.
    return std::pow(k, p.n - 1.0) * v / (r * r);
}
// One shell's path term at the signal's points: k^n chi(k) of its path
// into `term` and k^(n-1) A sin(phase) / R^2 into `bare` (both added to),
// and the path's amplitude factor into `factor` when asked. A point whose
// shifted k lies outside the path's rows adds nothing: the window, which
// the path must cover, is zero there.
void addPathTerm(const ShellPath& path, const PathParameters& pp, int n, const WaveFactors& factors,
                 const QVector<double>& k, double* term, double* bare, QVector<double>* factor) {
    const PathChi& chi = path.chi;
    const int count = k.size();
    const double r = path.chi.path().reff + pp.deltaR;
    QVector<double> c(count, 0.0), phase(count, 0.0), f;
    const bool needFactor = factor || !factors.envelope;
    if (needFactor)
        f.fill(0.0, count);
    int i = 0;
    while (i < count) {
        auto inside = [&](int j) {
            const double q = std::abs(PathChi::shiftedK(k[j], pp.deltaE0));
            return q >= chi.kFirst() && q <= chi.kLast();
        };
        if (!inside(i)) {
            ++i;
            continue;
        }
        int end = i;
        while (end < count && inside(end))
            ++end;
        const QVector<double> run = k.mid(i, end - i);
        chi.evaluate(run.constData(), run.size(), pp, c.data() + i, nullptr, phase.data() + i,
                     nullptr);
        if (needFactor) {
            QVector<double> a;
            if (chi.amplitude(run, pp.deltaE0, &a, nullptr))
                std::copy(a.cbegin(), a.cend(), f.begin() + i);
        }
        i = end;
    }
    for (int j = 0; j < count; ++j) {
        const double kn1 = std::pow(k[j], n - 1.0);
        double v = c[j];
        if (!factors.envelope)
            v = f[j] > 0 ? v / f[j] : 0.0;
        term[j] += kn1 * k[j] * v;
        bare[j] += kn1 * pp.amplitude * std::sin(phase[j]) / (r * r);
    }
    if (factor)
        *factor = f;
}

PathParameters pathParameters(const ShellPath& path, double amplitude, double r, double sigma,
                              double deltaE0, const WaveFactors& factors) {
    PathParameters pp;
    pp.amplitude = amplitude;
    pp.deltaR = r - path.chi.path().reff;
    pp.sigma2 = factors.debyeWaller ? sigma * sigma : 0.0;
    pp.deltaE0 = deltaE0;
    return pp;
}
} // namespace

void synthesizeWave(const WaveParameters& p, const WaveFactors& factors, const WaveGrid& grid,
                    const QVector<double>& envelope, const QVector<double>& window, bool physical,
                    WaveArrays* out) {
    // The main shell's term carries 1/R^2: at R = 0 it is undefined, so chi
    // and the bare oscillation keep their last finite values while the grid
    // and the factors follow every change as usual.
    const bool shellDefined = shellInSum(p.r);
    const bool hasEnvelope = !envelope.isEmpty();

    for (QVector<double>* a :
         {&out->kValues, &out->envelopeValues, &out->debyeWallerValues, &out->windowValues})
        a->resize(0);
    if (shellDefined) {
        out->oscillation.resize(0);
        out->chi.resize(0);
    }
    if (grid.length <= 0)
        return;

    // The shells with a path, evaluated over the whole signal at once.
    const int count = std::max(0, std::min(grid.kCount, grid.length));
    bool withPaths = bool(p.path);
    for (const Shell& s : p.shells)
        withPaths = withPaths || (s.path && shellInSum(s.r));
    QVector<double> pathTerm, pathBare, pathFactor;
    if (withPaths) {
        QVector<double> k(count);
        for (int i = 0; i < count; ++i)
            k[i] = grid.k(i);
        pathTerm.fill(0.0, count);
        pathBare.fill(0.0, count);
        if (p.path) {
            PathParameters pp =
                pathParameters(*p.path, p.amplitude, p.r, p.sigma, p.deltaE0, factors);
            pp.phase0 = p.phi0;
            pp.phase1 = p.phi1;
            pp.phase2 = p.phi2;
            if (shellDefined)
                addPathTerm(*p.path, pp, p.n, factors, k, pathTerm.data(), pathBare.data(),
                            &pathFactor);
            else
                p.path->chi.amplitude(k, p.deltaE0, &pathFactor, nullptr);
            pathFactor.resize(count);
        }
        for (const Shell& s : p.shells) {
            if (s.path && shellInSum(s.r))
                addPathTerm(*s.path,
                            pathParameters(*s.path, p.amplitude * s.amplitude, s.r, s.sigma,
                                           s.deltaE0, factors),
                            p.n, factors, k, pathTerm.data(), pathBare.data(), nullptr);
        }
    }
    const bool hasFactor = hasEnvelope || p.path;

    double valueMin = 1e300;
    double valueMax = -1e300;
    auto track = [&](double v) {
        if (valueMin > v)
            valueMin = v;
        if (v > valueMax)
            valueMax = v;
    };

    for (int i = 0; i < grid.length; ++i) {
        const double k = grid.k(i);
        if (i < grid.kCount) {
            double v = p.path ? 0.0 : shellTerm(p, p.r, p.amplitude, k);
            for (const Shell& s : p.shells) {
                if (shellInSum(s.r) && !s.path)
                    v += shellTerm(p, s.r, p.amplitude * s.amplitude, k);
            }
            if (shellDefined)
                out->oscillation.append(withPaths ? v + pathBare.at(i) : v);

            if (hasFactor) {
                const double f = p.path ? pathFactor.at(i) : envelope.at(i);
                out->envelopeValues.append(f);
                if (factors.envelope) {
                    v = v * f;
                    track(f);
                }
            } else {
                out->envelopeValues.append(0.0);
            }

            const double w = window.at(i);
            out->windowValues.append(w);
            if (factors.window) {
                v = v * w;
                track(w);
            }

            const double d = std::exp(((k * (-2 * k)) * p.sigma) * p.sigma);
            out->debyeWallerValues.append(d);
            if (factors.debyeWaller) {
                v = v * d;
                track(d);
            }
            // A path's term carries its own amplitude and Debye-Waller
            // factor; only the window is common.
            if (withPaths)
                v += factors.window ? pathTerm.at(i) * w : pathTerm.at(i);

            if (shellDefined) {
                out->chi.append(v);
                track(v);
            }
        } else {
            if (shellDefined) {
                out->oscillation.append(0.0);
                out->chi.append(0.0);
            }
            out->envelopeValues.append(0.0);
            out->windowValues.append(0.0);
            out->debyeWallerValues.append(0.0);
        }
        out->kValues.append(k);
    }

    // Only an R = 0 before any other synthesis leaves nothing to keep.
    if (!shellDefined && out->chi.size() != grid.length) {
        out->chi.fill(0.0, grid.length);
        out->oscillation.fill(0.0, grid.length);
    }

    if (physical) {
        // The plot's range comes from the data: the largest tracked size.
        double scale = std::max(valueMax, -valueMin);
        if (!(scale > 0) || !std::isfinite(scale))
            scale = 1;
        out->valueScale = scale;
        out->valueMax = scale;
        out->valueMin = -scale;
        out->divisor = 1;
        return;
    }

    // Scaled by the largest signed value, not the largest magnitude. When
    // nothing tracked rises above 0 (only the window selected, all its
    // positions beyond the grid) the signal is all zeros: left as it is.
    // Values kept from R = 0 are already scaled.
    if (shellDefined && valueMax != 0) {
        for (double& v : out->chi)
            v /= valueMax;
        for (double& v : out->oscillation)
            v /= valueMax;
        out->divisor = valueMax;
    } else if (shellDefined) {
        out->divisor = 1;
    }
    out->valueMax = 1;
    out->valueScale = 1;
    out->valueMin = -1;
}
