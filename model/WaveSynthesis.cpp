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
            double v = shellTerm(p, p.r, p.amplitude, k);
            for (const Shell& s : p.shells) {
                if (shellInSum(s.r))
                    v += shellTerm(p, s.r, p.amplitude * s.amplitude, k);
            }
            if (shellDefined)
                out->oscillation.append(v);

            if (hasEnvelope) {
                const double f = envelope.at(i);
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
