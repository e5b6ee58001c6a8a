#pragma once

#include "PathFile.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <memory>

// What a fit or the panel varies for one path.
struct PathParameters {
    double amplitude = 0; // N·S0², the number of such paths times the reduction S0²
    double deltaR = 0;    // Å, added to reff: the shell sits at R = reff + deltaR
    // σ², Å²: the mean-square relative displacement itself. A slider that
    // shows sigma (Å) passes sigma * sigma.
    double sigma2 = 0;
    double deltaE0 = 0; // eV, the shift of the edge energy E0
    // Extra phase P0 + P1·k + P2·k² (rad, rad·Å, rad·Å²) in the grid's k.
    double phase0 = 0;
    double phase1 = 0;
    double phase2 = 0;
};

// chi(k) of one path on the caller's k grid, and its split into modulus and
// phase: chi = envelope · sin(phase) at every point.
struct PathCurve {
    QVector<double> chi;
    QVector<double> envelope; // ≥ 0, the modulus of the complex term whose Im is chi
    QVector<double> phase;    // rad, continuous in k, not reduced to (−π, π]
};

// The EXAFS equation of one scattering path from its columns:
//
//   chi(k) = Im{ A amp(q) / (q R²) · exp(−2 reff p_i − 2 p² σ²
//                  + i (2 q reff + pha(q) + 2 p (ΔR − 2 σ² / reff) + P(k))) }
//
// with A = N·S0², R = reff + ΔR, q = sign(e) √|e|, e = k² − c ΔE0
// (c = energyToK2), amp = mag[feff] · red factor, pha = real[2*phc] +
// phase[feff], p = real[p] + i/lambda (p_i = 1/lambda) and
// P(k) = P0 + P1 k + P2 k². The columns are natural cubic splines through
// FEFF's rows, read at |q| (FEFF tabulates k ≥ 0; q < 0 only below a
// shifted edge); a phase column's jumps by more than π between rows are
// taken as 2π wraps and removed first. At q = 0, where 1/q has no value,
// chi, envelope and phase are 0.
//
// A PathChi is an immutable value: copies share the splines, and evaluate()
// may run in several threads at once.
class PathChi {
    Q_DECLARE_TR_FUNCTIONS(PathChi)

public:
    // e = k² − c ΔE0: c = 2 m_e / ħ² in Å⁻² per eV.
    static constexpr double energyToK2 = 0.2624682917;
    // The amplitude reduction S0² of the default amplitude.
    static constexpr double defaultS02 = 0.9;

    // `path` as PathFile reads it: at least PathFile::minRows rows, k
    // strictly increasing, seven columns of equal length.
    explicit PathChi(const PathData& path);

    const PathData& path() const;
    // amplitude = degeneracy × defaultS02, everything else 0.
    PathParameters defaults() const;
    double kFirst() const;
    double kLast() const;

    // The wavenumber q at which the path is read for the grid's k.
    static double shiftedK(double k, double deltaE0);

    // chi(k), its envelope and phase at every k (Å⁻¹). Refuses, with one
    // translated sentence, a k whose q lies outside the path's rows (naming
    // both), a non-finite parameter and R = reff + ΔR ≤ 0.
    bool evaluate(const QVector<double>& k, const PathParameters& parameters, PathCurve* curve,
                  QString* error) const;
    // The same into the caller's arrays of n values; any output may be null.
    bool evaluate(const double* k, int n, const PathParameters& parameters, double* chi,
                  double* envelope, double* phase, QString* error) const;

    // The path's own amplitude factor mag(q) · red(q) · exp(−2 reff / lambda(q))
    // (Å) at every k: no N·S0², no 1/(k R²), no σ². The envelope of the
    // equation above at ΔR = σ² = 0 is A · amplitude(k) / (|q| reff²).
    bool amplitude(const QVector<double>& k, double deltaE0, QVector<double>* out,
                   QString* error) const;

private:
    struct Tables;
    bool checkRange(const double* k, int n, double deltaE0, QString* error) const;

    std::shared_ptr<const Tables> tables;
};
