#pragma once

#include "AbsorptionResult.h"
#include "MuReader.h"

#include <QCoreApplication>
#include <QString>

// The smooth atomic background of mu(E) and what remains of it, chi(k).
//
// The background is a cubic spline in k = sqrt(energyToK (E - E0)) with
// knotCount() knots spread evenly over [kMin, kMax] (the cubic B-splines on
// them are knotCount() + 2). Its coefficients are
// chosen by MINPACK's Levenberg-Marquardt so that the transform of
// k^w * window * chi(k) holds as little as possible below Rbkg: a smooth
// background cannot make structure at larger R, and real neighbours sit
// beyond it. chi(k) = (mu - background) / step on a uniform grid.
class Background {
    Q_DECLARE_TR_FUNCTIONS(Background)

public:
    // 2 m_e / hbar^2 in 1/(eV Å^2).
    static constexpr double energyToK = 0.2624682917;
    // The k grid of chi(k), 1/Å.
    static constexpr double gridStep = 0.05;
    // The transform's grid: zero-padded to at least this many points.
    static constexpr int minTransformLength = 2048;
    static constexpr double minRbkg = 0.3;
    static constexpr double maxRbkg = 3.0;
    static constexpr int minKnots = 5;
    static constexpr int maxKnots = 128;
    static constexpr int maxKWeight = 3;
    // The narrowest k range a background can be drawn through, 1/Å.
    static constexpr double minKRange = 1.0;
    // The largest k, 1/Å (E - E0 about 9.5 keV), far past any EXAFS: by
    // default the range ends here when the data reach further, so that a
    // file's absurd energies cannot ask for an absurd grid.
    static constexpr double maxK = 50.0;

    // 1 + int(2 rbkg (kMax - kMin) / pi), clamped to minKnots ... maxKnots:
    // about the number of independent points below Rbkg.
    static int knotCount(double rbkg, double kMin, double kMax);

    // Reads the energy-grid part of `result`, which Normalization::run must
    // have filled (asserted), and fills the rest. On a fault returns false, leaves `result`
    // alone and puts one translated sentence into `error`: Rbkg outside
    // minRbkg ... maxRbkg, k weight outside 0 ... maxKWeight, a k range
    // outside the data or beyond maxK or narrower than minKRange.
    static bool remove(const AbsorptionSettings& settings, AbsorptionResult* result,
                       QString* error);
    // The whole way: Normalization::run, then remove().
    static bool process(const MuData& data, const AbsorptionSettings& settings,
                        AbsorptionResult* result, QString* error);
};
