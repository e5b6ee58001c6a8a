#pragma once

#include "FourierFilter.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QVector>

namespace fit {

// A straight line y = intercept + slope x fitted by least squares, with the
// standard errors of both coefficients.
struct StraightLine {
    double slope = 0;
    double intercept = 0;
    double slopeError = 0;
    double interceptError = 0;
    double residualSquares = 0; // sum of the squared residuals
};

struct ValueWithError {
    double value = 0;
    double error = 0;
};

// The ratio method on one shell filtered out of two spectra, "first" and
// "second". Every difference is the first minus the second: with
//   A(k) = N S0² F(k) exp(-2 k² sigma²) / (k R²),  Φ(k) = 2kR + δ(k)
// and the same scatterer in both, so that F and δ cancel,
//   ln(A1/A2) = ln(N1/N2) + 2 ln(R2/R1) - 2 k² (sigma1² - sigma2²),
//   Φ1 - Φ2   = 2 k (R1 - R2),
// so deltaSigma2 = sigma1² - sigma2² = -slope/2 of the first line,
// lnAmplitudeRatio = its intercept (ln(N1/N2) when the distances agree;
// otherwise 2 ln(R2/R1), about -2 ΔR / R, is in it too), and
// deltaR = R1 - R2 = slope/2 of the second. For the command line's files,
// the first is --data and the second --data2.
struct RatioResult {
    // The points the lines were fitted to, k within the range.
    QVector<double> k;
    QVector<double> kSquared;        // Å^-2
    QVector<double> lnRatio;         // ln(A1/A2)
    QVector<double> phaseDifference; // Φ1 - Φ2, rad, unwrapped
    StraightLine amplitudeLine;      // lnRatio against kSquared
    StraightLine phaseLine;          // phaseDifference against k
    ValueWithError deltaSigma2;      // Å²
    ValueWithError lnAmplitudeRatio; // dimensionless
    ValueWithError deltaR;           // Å
};

class RatioMethod {
    Q_DECLARE_TR_FUNCTIONS(RatioMethod)

public:
    // Fits both lines over kMin <= k <= kMax (Å^-1) at the points the two
    // spectra share. Refuses, with a one-line reason: a range that is not
    // finite, empty or reversed, or that reaches beyond either spectrum;
    // spectra whose q values differ inside it; fewer than 3 points in it;
    // an amplitude that is not positive and finite inside it.
    static bool compute(const FilteredSpectrum& first, const FilteredSpectrum& second, double kMin,
                        double kMax, RatioResult* result, QString* error);
};

// The points of a filtered spectrum are not independent: an R window of
// width ΔR over a k range Δk carries about N_idp = 2 Δk ΔR / pi independent
// values (the field's count of independent points). The straight lines'
// errors, which take every point as independent, are widened by
// sqrt(points / N_idp) so that they are not understated; never narrowed.
double independentPoints(double deltaK, double deltaR);
// The width ΔR of an R window that N_idp counts: between the middles of its
// rise and its fall, where it is 1/2.
double windowWidth(const WindowPositions& r);
// Multiplies every error of `result` by sqrt(points / independent) when
// that is above 1; returns the factor used.
double widenErrors(RatioResult* result, double independent);

// What a ratio report states besides the result: the ranges it used.
struct RatioContext {
    double kMin = 0; // the fitted k range, Å^-1
    double kMax = 0;
    WindowPositions kWindow{}; // Å^-1
    WindowPositions rWindow{}; // Å
    int n = 0;                 // the k weight of the transform
};

// The machine-readable report: {"format": "tovik-ratio", "version": 1,
// "deltaSigma2": {"value", "error"}, "lnAmplitudeRatio": ..., "deltaR": ...,
// "kRange", "kWindow", "Rwindow", "n", "points"}. Numbers that are not
// finite are null.
QJsonObject ratioReportJson(const RatioResult& result, const RatioContext& context);

} // namespace fit
