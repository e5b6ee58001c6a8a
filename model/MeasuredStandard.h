#pragma once

#include "FourierFilter.h"
#include "ShellPath.h"

#include <QCoreApplication>
#include <QString>

// A measured standard: the filtered amplitude A(k) and phase Φ(k) of a
// reference with known N, R and sigma, made into a path the model uses as
// it uses a path file (model/WaveSynthesis, paths/PathChi). The path's
// columns are chosen so that its equation reads
//
//   chi(k) = A_m F(k) / (0.9 k R_m²) exp(−2 σ_m² k²)
//            sin(2 k R_m + δ(k) − 4 σ_m² k / R)
//
// for the model's N·S0² = A_m, R_m and σ_m: mag = F / 0.9, no reduction,
// no mean free path (λ huge), real[p] = k, and the phase δ in real[2*phc].
// With F(k) = A(k) k R² exp(2 σ² k²) / N and δ(k) = Φ(k) − 2kR + 4σ²k/R
// the model set back to N·S0² = 0.9 N, R and σ gives A(k) sin Φ(k), the
// reference's own filtered chi(q), at every point where the filter gave it.
// So N·S0² keeps its meaning with the reference's S0² taken as PathChi's
// default, and a fit on top of the standard returns the sample's sigma and
// R, whose differences from the typed ones are Δsigma² and ΔR.
class MeasuredStandard {
    Q_DECLARE_TR_FUNCTIONS(MeasuredStandard)

public:
    // The path for `origin` from its filtered chi(q) `f` on `grid`. The
    // rows are the filtered points; beyond them, out to the ends of
    // origin.kWindow (where the window weighs less than the filter's least
    // weight, or the filter gave nothing), rows on the same grid hold the
    // edge values, so that the path covers the window. Refuses, with one
    // translated sentence, N, R or sigma that are not finite or not
    // positive (sigma may be 0), and a filtered spectrum with fewer than
    // PathFile::minRows points or no amplitude.
    static ShellPathPtr fromFiltered(const FilteredSpectrum& f, const WaveGrid& grid,
                                     const StandardOrigin& origin, QString* error);
};
