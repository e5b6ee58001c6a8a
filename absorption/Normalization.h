#pragma once

#include "AbsorptionResult.h"
#include "MuReader.h"

#include <QCoreApplication>
#include <QString>

// The edge of mu(E): its energy E0, the pre-edge line fitted over
// [E0 + preEdge[0], E0 + preEdge[1]], the post-edge quadratic over
// [E0 + normalization[0], E0 + normalization[1]], the edge step
// post(E0) - pre(E0) and the normalised (mu - pre) / step.
class Normalization {
    Q_DECLARE_TR_FUNCTIONS(Normalization)

public:
    // Fills the energy-grid part of `result` (energy ... normalized, e0, step,
    // the ranges and the coefficients). On a fault returns false, leaves
    // `result` alone and puts one translated sentence into `error`: E0
    // outside the data, a range empty or reversed or beyond the data, too
    // few points in a range, no edge (no positive step).
    static bool run(const MuData& data, const AbsorptionSettings& settings,
                    AbsorptionResult* result, QString* error);

    // d mu / dE: central differences on the uneven grid, one-sided at the
    // ends. At least two points.
    static QVector<double> derivative(const QVector<double>& energy, const QVector<double>& mu);
    // The energy where the derivative is largest.
    static double edgeEnergy(const QVector<double>& energy, const QVector<double>& mu);
};
