#pragma once

#include "Fitter.h"

#include <QJsonObject>

namespace fit {

// What a report states besides the result itself.
struct ReportContext {
    double rMin = 0;
    double rMax = 0;
    double kMin = 0;
    double kMax = 0;
    int n = 0;
    double independentPoints = 0;
    // The data's noise: rms |chi(R)| far from the shells, and the same in k.
    double epsilonR = 0;
    double epsilonK = 0;
};

// A number as a report states it: null when it is not finite.
QJsonValue jsonNumber(double v);

// The machine-readable report: {"format": "tovik-fit", "version": 1, ...}.
// Errors of fixed parameters and of those at a bound are null.
QJsonObject reportJson(const Result& result, const ReportContext& context);

struct SeriesResult;
// The report of several data sets fitted together: the fields above for the
// global parameters (those given per data set named "R[1]", "R[2]", ...;
// the R-factor and chi-square combined, N_idp summed, the k range and noise
// the first set's), "sigmaModel" ("free" or "einstein"), and "datasets":
// per set its file, temperature (K, null when not given), sigma2 {value,
// error} (Å²), rFactor, kRange, independentPoints, epsilonR.
QJsonObject reportJson(const SeriesResult& series);

} // namespace fit
