#pragma once

#include <QVector>

#include <array>
#include <limits>
#include <optional>

// What the user sets for the way from mu(E) to chi(k). Energy ranges are in
// eV relative to E0, k in 1/Å, R in Å.
struct AbsorptionSettings {
    // None: the energy of the largest derivative of mu(E).
    std::optional<double> e0;
    std::array<double, 2> preEdge{{-150, -30}};
    // An infinite end reaches to the last energy.
    std::array<double, 2> normalization{{150, std::numeric_limits<double>::infinity()}};
    double rbkg = 1.0;
    int kWeight = 1;
    double kMin = 0;
    // None: the data's last k.
    std::optional<double> kMax;
};

// Everything a plot or an export of the processing needs. The curves on the
// energy grid have one value per measured energy; the background is NaN
// where the spline is not defined (below E0 + kMin and beyond kMax in k).
struct AbsorptionResult {
    QVector<double> energy;     // eV
    QVector<double> mu;         // as read
    QVector<double> derivative; // d mu / dE, 1/eV
    QVector<double> preEdge;    // the pre-edge line
    QVector<double> postEdge;   // the post-edge quadratic
    QVector<double> normalized; // (mu - pre) / step
    QVector<double> background; // the spline, in mu's units
    double e0 = 0;              // eV
    double step = 0;            // post(E0) - pre(E0)
    // The ranges used, relative to E0 (eV), the ends clipped to the data.
    std::array<double, 2> preEdgeRange{};
    std::array<double, 2> normalizationRange{};
    // pre(E) = c0 + c1 (E - E0); post(E) = c0 + c1 (E - E0) + c2 (E - E0)^2.
    std::array<double, 2> preEdgeLine{};
    std::array<double, 3> postEdgeQuadratic{};
    double rbkg = 0;
    int kWeight = 0;
    double kMin = 0;
    double kMax = 0;
    // The spline's knots: their k (1/Å) and the background there.
    QVector<double> knotK;
    QVector<double> knotValue;
    // chi(k) on the uniform grid 0, 0.05, ... up to kMax; 0 below kMin.
    QVector<double> k;
    QVector<double> chi;
    int evaluations = 0; // of the residuals by the least-squares search
};
